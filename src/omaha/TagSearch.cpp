#include "omaha/TagSearch.h"

#include <algorithm>
#include <iterator>

namespace omaha {

namespace {

const unsigned char kMarker[] = {'G', 'a', 'c', 't', '2', '.', '0', 'O', 'm', 'a', 'h', 'a'};
// The marker, then N in two bytes.
constexpr std::uint64_t kTagHeaderSize = sizeof kMarker + 2;

// From here on, offsets are 64-bit: sums of two 32-bit header values cannot wrap around.
std::uint64_t readLe16(const unsigned char* at) { return at[0] | std::uint64_t(at[1]) << 8; }
std::uint64_t readLe32(const unsigned char* at) { return readLe16(at) | readLe16(at + 2) << 16; }

// The certificate table's file offset and size from the PE headers; false when they do not lead
// to a table that starts like a signature.
bool findCertificateTable(const unsigned char* view, std::uint64_t length, std::uint64_t& offset,
                          std::uint64_t& size) {
  if (length < 64 || view[0] != 'M' || view[1] != 'Z') {
    return false;
  }
  const std::uint64_t pe = readLe32(view + 60);
  // 248 bytes: the signature, the file header and the 224-byte PE32 optional header.
  if (pe + 248 > length || readLe32(view + pe) != 0x4550 || readLe16(view + pe + 4) == 0x8664) {
    return false;
  }
  // Data directory entry 4 of the PE32 optional header.
  offset = readLe32(view + pe + 152);
  size = readLe32(view + pe + 156);
  if (offset == 0 || offset + 12 > length || offset + 12 == length) {
    return false;
  }
  // After the entry's length, revision and type: a DER SEQUENCE with a two-byte length.
  return view[offset + 8] == 0x30 && view[offset + 9] == 0x82;
}

} // namespace

bool findTag(const unsigned char* view, std::uint32_t length, TagLocation& out) {
  out = TagLocation();
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  if (view == nullptr || !findCertificateTable(view, length, offset, size)) {
    return false;
  }
  out.table = view + offset;
  out.tableSize = static_cast<std::uint32_t>(size);
  if (offset + size > length) {
    return false;
  }
  const unsigned char* end = out.table + size;
  const unsigned char* marker = std::search(out.table, end, std::begin(kMarker), std::end(kMarker));
  if (marker == end || std::uint64_t(end - marker) < kTagHeaderSize) {
    return false;
  }
  const std::uint32_t tagLength = std::uint32_t(marker[12]) << 8 | marker[13];
  if (tagLength == 0 || std::uint64_t(end - marker) - kTagHeaderSize < tagLength) {
    return false;
  }
  out.text = marker + kTagHeaderSize;
  out.length = tagLength;
  return true;
}

} // namespace omaha
