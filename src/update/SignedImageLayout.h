// Where the signature of a signed program file lies, and which of its bytes the signature covers:
// the Authenticode layout of a Windows program, and the appended detached signature that the
// POSIX build's setup program carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A run of bytes in a file: offset and length in bytes.
struct ByteRange {
  std::size_t offset = 0;
  std::size_t length = 0;
};

struct SignedImageLayout {
  // The ranges the file's digest is computed over, in file order.
  std::vector<ByteRange> covered;
  // The DER of the PKCS#7 SignedData, exactly as long as its encoding.
  ByteRange signature;
};

// Reads the Authenticode layout of the PE image in the `size` bytes at `data`. The digest covers
// every byte of the file except the optional header's checksum (4 bytes), the certificate table's
// directory entry (8 bytes) and the certificate table itself. The table must be one
// WIN_CERTIFICATE of revision 2.0 and type PKCS_SIGNED_DATA, 8-byte aligned, after the headers
// and after every section's raw data (so no byte that is loaded escapes the digest), inside the
// file; its SignedData may be followed by fewer than 8 zero bytes of padding and nothing else.
// Returns the empty string on success, else the reason in a few words (`layout` unspecified).
std::string readAuthenticodeLayout(const std::uint8_t* data, std::size_t size,
                                   SignedImageLayout& layout);

// The 8 bytes that end a file with an appended signature.
inline constexpr char kAppendedSignatureMagic[] = "QMCMSSIG";
// Bytes of the trailer: the signature's length (64 bits, little-endian), then the magic.
inline constexpr std::size_t kAppendedSignatureTrailer = 16;

// Reads the layout of a file that is its contents, then the DER of a detached PKCS#7 SignedData
// over them, then the trailer. The digest covers the contents. Returns the empty string on
// success, else the reason (`layout` unspecified).
std::string readAppendedSignatureLayout(const std::uint8_t* data, std::size_t size,
                                        SignedImageLayout& layout);
