// Checks a program file's signature against the code-signing CA pinned in the build: the file's
// digest matches what the signature signs, the signature verifies with the signer's certificate,
// and that certificate is for code signing and chains to the pinned CA, and to nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "update/SignedImageLayout.h"

// What a signature signs.
enum class SignedContent {
  // Authenticode: an SpcIndirectDataContent holding the digest of the PE image, which the
  // SignedData carries (a Windows program).
  AuthenticodeImage,
  // A detached signature over the covered bytes themselves (the POSIX build's setup program).
  DetachedData,
};

// Verifies the `size` bytes at `data`, whose signature lies where `layout` says, as `content`,
// against the PEM certificates in `trustedCaPem` (one or more; the only trust anchors: neither
// the system's stores nor certificates in the signature are trusted). Exactly one signer, with
// signed attributes, a SHA-256, SHA-384 or SHA-512 digest, a certificate carrying the
// code-signing extended key usage, valid now. Returns the empty string when the file passes,
// else the reason in a few words. Reads only inside the buffer; keeps nothing.
std::string verifySignedImage(const std::uint8_t* data, std::size_t size,
                              const SignedImageLayout& layout, SignedContent content,
                              const std::string& trustedCaPem);
