// The response header callback of the download engine on arbitrary lines: it must take every line
// whole and leave the cache fields as single words.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "utils/DownloadCallbacks.h"

namespace {

void checkWord(const std::string& word) {
  QM_FUZZ_CHECK(word.find(' ') == std::string::npos, "a field is one word");
  QM_FUZZ_CHECK(word.find(':') == std::string::npos, "a field lies within its header's value");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // libcurl hands over lines that are not terminated: an exact-size copy lets AddressSanitizer see
  // every read past the end.
  std::vector<char> line(data, data + size);
  DownloadMetrics metrics;
  QM_FUZZ_CHECK(onHeaderLine(line.data(), 1, size, &metrics) == size, "the whole line is taken");
  for (const std::string* word : {&metrics.x_cache, &metrics.x_cache_type, &metrics.x_cache_remote,
                                  &metrics.x_cache_remote_type}) {
    checkWord(*word);
  }
  QM_FUZZ_CHECK(metrics.response_code == 0, "the status is not read from header lines");
  return 0;
}
