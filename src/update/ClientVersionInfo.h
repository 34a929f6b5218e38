// The client version document of an update channel: the current client's version and the URL of
// its full setup program.
#pragma once

#include <istream>
#include <string>
#include <vector>

struct ClientVersionInfo {
  // The document's "version" split at every "." (all pieces kept, empty ones too).
  std::vector<std::string> version;
  // The document's "full"."url", resolved against the channel's base URL.
  std::wstring url;
};

// The pieces joined with "." (the empty text for none): the "version" value again.
std::string joinVersion(const std::vector<std::string>& version);

// `url` resolved against `base`, by these rules in order: an http or https URL (any letter case)
// stays as it is; "//host/..." takes the scheme of `base`; "/path" takes the origin of `base`;
// anything else is appended to `base` as a folder, with one "/" between. Throws
// std::out_of_range("invalid string position") for an empty `url`.
std::wstring resolveUrl(const std::wstring& url, const std::wstring& base);

// Reads a version document (UTF-8 JSON, one object with "version" and "full"."url" strings) and
// resolves its setup URL against `baseUrl`. Throws the JSON library's errors (nlohmann::json
// exceptions) for a text that is no JSON, a missing member or one of another type, and
// std::out_of_range for an empty "url"; none of them is a std::runtime_error.
ClientVersionInfo parseVersionDocument(std::istream& document, const std::wstring& baseUrl);
