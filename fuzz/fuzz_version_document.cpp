// The remote version document: the parser with the channel's base, which may throw only the JSON
// library's errors and std::out_of_range for an empty URL, and the URL resolution on its own.
#include <cstdint>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "FuzzCheck.h"
#include "update/ClientVersionInfo.h"
#include "utils/TextConversion.h"

namespace {

const wchar_t* const kBase = L"http://127.0.0.1:8080/zell/final-ms3";

void checkDocument(const std::string& text) {
  try {
    const ClientVersionInfo info = parseVersionDocument(text, kBase);
    QM_FUZZ_CHECK(!info.url.empty(), "a read document has a URL");
  } catch (const nlohmann::json::exception&) {
  } catch (const std::out_of_range&) {
  }
}

// The first line is the URL, the rest the base.
void checkResolution(const std::string& text) {
  const std::size_t split = text.find('\n');
  std::wstring url, base;
  try {
    url = toUtf16(text.substr(0, split));
    base = split == std::string::npos ? std::wstring(kBase) : toUtf16(text.substr(split + 1));
  } catch (const std::range_error&) {
    return;
  }
  try {
    const std::wstring resolved = resolveUrl(url, base);
    QM_FUZZ_CHECK(resolved.size() >= url.size(), "the URL is kept whole");
    QM_FUZZ_CHECK(resolved.compare(resolved.size() - url.size(), url.size(), url) == 0,
                  "the URL ends the result");
  } catch (const std::out_of_range&) {
    QM_FUZZ_CHECK(url.empty(), "only an empty URL is out of range");
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  checkDocument(text);
  checkResolution(text);
  return 0;
}
