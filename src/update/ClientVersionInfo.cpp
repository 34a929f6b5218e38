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

// Whether `url` begins with `scheme` followed by "://", the scheme's letters in any case.
bool hasScheme(const std::wstring& url, const std::wstring& scheme) {
  const std::wstring prefix = scheme + L"://";
  if (url.size() < prefix.size()) {
    return false;
  }
  for (std::size_t at = 0; at < prefix.size(); ++at) {
    const wchar_t c = url[at];
    if ((c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c) != prefix[at]) {
      return false;
    }
  }
  return true;
}

} // namespace

std::string joinVersion(const std::vector<std::string>& version) {
  return joinStrings(version, ".");
}

std::wstring resolveUrl(const std::wstring& url, const std::wstring& base) {
  // A plain comparison, not a regular expression: the library's matcher recurses once per
  // character and overflows the stack on a long URL from the server.
  if (hasScheme(url, L"http") || hasScheme(url, L"https")) {
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

ClientVersionInfo parseVersionDocument(std::istream& document, const std::wstring& baseUrl) {
  const nlohmann::json json = nlohmann::json::parse(document);
  ClientVersionInfo info;
  // "version" is read before "full", so a document lacking both fails on "version".
  info.version = splitString(json.at("version").get<std::string>(), ".");
  info.url = resolveUrl(toUtf16(json.at("full").at("url").get<std::string>()), baseUrl);
  return info;
}
