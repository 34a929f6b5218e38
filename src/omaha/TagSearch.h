// The search for the download tag in the bytes of a mapped executable, apart from the mapping.
#pragma once

#include <cstdint>

namespace omaha {

// Where a tag lies inside a mapped image.
struct TagLocation {
  // The certificate table: its first byte and its size in bytes. Set once the PE headers have led
  // to a table that starts like a signature, even when no tag is found in it.
  const unsigned char* table = nullptr;
  std::uint32_t tableSize = 0;
  // The tag text (not terminated) and N, its length in bytes, 1 to 65535.
  const unsigned char* text = nullptr;
  std::uint32_t length = 0;
};

// Finds the tag in the image at `view`, of which `length` bytes may be read. Checks, without
// wrap-around: length >= 64, "MZ", e_lfanew + 248 <= length, "PE\0\0", a machine other than x64
// (0x8664; every other machine is read with the PE32 layout), a certificate table at a non-zero
// offset with offset + 12 < length whose first entry starts with 0x30 0x82 after its 8-byte
// header, offset + size <= length; then takes the first marker lying wholly inside the table and
// the N text bytes after its length, which must also lie inside the table. False, with `out`
// filled as far as the search came, when any of this fails or N is 0.
bool findTag(const unsigned char* view, std::uint32_t length, TagLocation& out);

} // namespace omaha
