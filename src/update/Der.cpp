#include "update/Der.h"

bool readDerElement(const std::uint8_t* data, std::size_t size, std::size_t offset,
                    DerElement& element) {
  if (data == nullptr || offset >= size || size - offset < 2) {
    return false;
  }
  element.tag = data[offset];
  if ((element.tag & 0x1F) == 0x1F) {
    return false;
  }
  std::size_t position = offset + 1;
  const std::uint8_t first = data[position++];
  std::size_t length = first;
  if (first & 0x80) {
    const std::size_t count = first & 0x7F;
    if (count == 0 || count > 4 || size - position < count || data[position] == 0) {
      return false;
    }
    length = 0;
    for (std::size_t i = 0; i < count; ++i) {
      length = (length << 8) | data[position++];
    }
    if (length < 0x80) {
      return false;
    }
  }
  if (length > size - position) {
    return false;
  }
  element.start = offset;
  element.contents = position;
  element.length = length;
  return true;
}
