// Writing, replacing and removing the download tag inside the Authenticode signature of a signed
// 32-bit Windows executable (its bytes in memory).
#pragma once

#include <cstddef>
#include <string>

namespace qmtag {

// The most tag text the installer reads, in bytes.
constexpr std::size_t kMaxTagTextSize = 8205;

// `image` with its download tag set to `text` (1 to kMaxTagTextSize bytes; an older tag is
// replaced): the marker "Gact2.0Omaha", N as two big-endian bytes and the text go right after the
// signature's DER data, inside the certificate table's one entry, which is then padded with zeros
// to a multiple of 8 bytes. The entry's length, the certificate directory's size and a non-zero
// PE checksum are updated. None of these is covered by the Authenticode digest, so the signature
// stays valid. Throws TagError for an image that is not a signed PE32 executable (unsigned, x64,
// PE32+, truncated, a certificate table that is not the file's last part or holds more than one
// entry, unknown data after the signature) and for a text that is empty or too long.
std::string withTag(const std::string& image, const std::string& text);

// `image` without a download tag: the entry holds the signature's DER data and zero padding to a
// multiple of 8 bytes, as the signing tool wrote it. An image without a tag comes back unchanged.
// Throws TagError like withTag.
std::string withoutTag(const std::string& image);

} // namespace qmtag
