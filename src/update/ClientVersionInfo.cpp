#include "update/ClientVersionInfo.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

#include "utils/StringUtils.h"
#include "utils/TextConversion.h"

namespace {

// `base` up to, not including, the first "/" after its "://" (or after its start, without one).
std::wstring originOf(const std::wstring& base) {
  const std::size_t scheme = base.find(L"://");
  const std::size_t path = base.find(L'/', scheme == std::wstring::npos ? 0 : scheme + 3);
  return path == std::wstring::npos ? base : base.substr(0, path);
}

// Whether `url` begins with "http://" or "https://" in any letter case and holds no line
// terminator after that (what the pattern "^https?://.*" matches, ECMAScript's "." taking no line
// terminator). Compared by hand: a regular expression would bring the locale machinery along.
bool isHttpUrl(const std::wstring& url) {
  std::size_t at = 0;
  for (const wchar_t expected : std::wstring(L"http")) {
    if (at >= url.size() || (url[at] | 0x20) != expected) {
      return false;
    }
    ++at;
  }
  if (at < url.size() && (url[at] | 0x20) == L's') {
    ++at;
  }
  if (url.compare(at, 3, L"://") != 0) {
    return false;
  }
  return url.find_first_of(L"\n\r\u2028\u2029", at + 3) == std::wstring::npos;
}

} // namespace

std::string joinVersion(const std::vector<std::string>& version) {
  return joinStrings(version, ".");
}

std::wstring resolveUrl(const std::wstring& url, const std::wstring& base) {
  // Compared by hand, not by a regular expression: the library's matcher also recurses once per
  // character and would overflow the stack on a long URL from the server.
  if (isHttpUrl(url)) {
    return url;
  }
  if (url.compare(0, 2, L"//") == 0) {
    const std::size_t colon = base.find(L':');
    return (colon == std::wstring::npos ? std::wstring() : base.substr(0, colon)) + L":" + url;
  }
  if (url.empty()) {
    throw std::out_of_range("invalid string position");
  }
  if (url.front() == L'/') {
    return originOf(base) + url;
  }
  const bool slash = base.empty() || base.back() == L'/';
  return base + (slash ? L"" : L"/") + url;
}

ClientVersionInfo parseVersionDocument(const std::string& document, const std::wstring& baseUrl) {
  const nlohmann::json json = nlohmann::json::parse(document);
  ClientVersionInfo info;
  // "version" is read before "full", so a document lacking both fails on "version".
  info.version = splitString(json.at("version").get<std::string>(), ".");
  info.url = resolveUrl(toUtf16(json.at("full").at("url").get<std::string>()), baseUrl);
  return info;
}
