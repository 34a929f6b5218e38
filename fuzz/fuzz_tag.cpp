// The download tag reader on arbitrary file bytes: the search on an exact-size copy (so that
// AddressSanitizer sees every read past the end), then TagExtractor on the bytes as a file, with
// both calls of readTag and their contract.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "omaha/TagExtractor.h"
#include "omaha/TagSearch.h"
#include "utils/TextConversion.h"

namespace {

// The file this process hands to TagExtractor, rewritten for every input.
const std::string& imagePath() {
  static const std::string path = [] {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/qm-fuzz-tag-" +
           std::to_string(::getpid()) + ".exe";
  }();
  return path;
}

void checkSearch(const std::uint8_t* data, std::size_t size) {
  std::vector<unsigned char> copy(data, data + size);
  omaha::TagLocation location;
  const unsigned char* begin = copy.data();
  const auto length = static_cast<std::uint32_t>(size);
  if (!omaha::findTag(begin, length, location)) {
    return;
  }
  QM_FUZZ_CHECK(location.length >= 1 && location.length <= 65535, "tag length");
  QM_FUZZ_CHECK(location.table >= begin && location.tableSize <= length &&
                    static_cast<std::size_t>(location.table - begin) <= length - location.tableSize,
                "table inside the image");
  QM_FUZZ_CHECK(location.text >= location.table &&
                    location.text + location.length <= location.table + location.tableSize,
                "text inside the table");
}

void checkExtractor(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(imagePath().c_str(), "wb");
  if (!file) {
    return;
  }
  const bool written = std::fwrite(data, 1, size, file) == size;
  std::fclose(file);
  omaha::TagExtractor extractor;
  if (!written || !extractor.openImage(toUtf16(imagePath()))) {
    return;
  }
  std::int32_t count = 0;
  if (!extractor.readTag(nullptr, &count)) {
    return;
  }
  QM_FUZZ_CHECK(count >= 2 && count <= 65536, "count is N + 1");
  std::vector<char> buffer(static_cast<std::size_t>(count), '\x7f');
  std::int32_t tooSmall = count - 1;
  QM_FUZZ_CHECK(!extractor.readTag(buffer.data(), &tooSmall), "a short buffer is refused");
  std::int32_t room = count;
  QM_FUZZ_CHECK(extractor.readTag(buffer.data(), &room), "the second call reads the tag");
  QM_FUZZ_CHECK(room == count && buffer[static_cast<std::size_t>(count) - 1] == '\0',
                "the text is terminated and the count stays");
  QM_FUZZ_CHECK(!extractor.readTag(buffer.data(), nullptr), "no count, no tag");
  extractor.closeImage();
  QM_FUZZ_CHECK(!extractor.readTag(nullptr, &count), "nothing open, no tag");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0xFFFFFFFFu) {
    return 0;
  }
  checkSearch(data, size);
  checkExtractor(data, size);
  return 0;
}
