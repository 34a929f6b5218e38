#include "omaha/TagExtractor.h"

#include <cstring>

#include "omaha/TagSearch.h"

namespace omaha {

TagExtractor::TagExtractor() = default;

TagExtractor::~TagExtractor() { closeImage(); }

void TagExtractor::closeImage() {
  // The view goes before the mapping, the mapping before the file (Mapping's member order).
  mapping_.reset();
  view_ = nullptr;
  mappedLength_ = 0;
  tableSize_ = 0;
  table_ = nullptr;
}

bool TagExtractor::readTag(char* buffer, std::int32_t* count) {
  if (count == nullptr || view_ == nullptr) {
    return false;
  }
  TagLocation tag;
  const bool found = findTag(view_, mappedLength_, tag);
  table_ = tag.table;
  tableSize_ = tag.tableSize;
  if (!found) {
    return false;
  }
  // N is at most 65535, so N + 1 fits.
  const std::int32_t needed = static_cast<std::int32_t>(tag.length) + 1;
  if (buffer == nullptr) {
    *count = needed;
    return true;
  }
  if (*count < needed) {
    return false;
  }
  std::memcpy(buffer, tag.text, tag.length);
  buffer[tag.length] = '\0';
  return true;
}

} // namespace omaha
