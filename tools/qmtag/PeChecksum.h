// The checksum field of a PE image's optional header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qmtag {

// The PE checksum of `image`: the 16-bit little-endian words of the file summed with the carries
// folded back in, the 4 bytes at `checksumOffset` (the field itself) left out, a last odd byte
// counted as a word of its own, plus the file size in bytes.
std::uint32_t peChecksum(const std::string& image, std::size_t checksumOffset);

} // namespace qmtag
