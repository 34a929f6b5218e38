// The client version document of an update channel: the current client's version and the URL of
// its full setup program.
#pragma once

#include <string>
#include <vector>

#include "config/UpdateChannel.h"

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
ClientVersionInfo parseVersionDocument(const std::string& document, const std::wstring& baseUrl);

// The channel's remote version document: its base URL + "/" + "clientversioninfo.json".
std::wstring versionDocumentUrl(UpdateChannel channel);

// Reads the version document at `path` (a file that cannot be opened reads as empty, which is no
// JSON) and resolves its setup URL against the channel's base URL. Throws as
// parseVersionDocument.
ClientVersionInfo parseClientVersionInfo(const std::wstring& path, UpdateChannel channel);

// Downloads the channel's version document into the temporary folder, reads it and deletes it.
// Throws what the download throws (std::runtime_error "ConnectionError" or "DownloadFailed") and
// what the reading throws; after a failure the local file is not deleted.
ClientVersionInfo fetchClientVersionInfo(UpdateChannel channel);
