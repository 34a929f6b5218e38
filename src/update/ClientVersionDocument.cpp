#include "update/ClientVersionInfo.h"

#include "utils/DownloadUtils.h"
#include "utils/Files.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"

namespace {

const wchar_t* const kDocumentName = L"clientversioninfo.json";

} // namespace

std::wstring versionDocumentUrl(UpdateChannel channel) {
  return updateChannelBaseUrl(channel) + L"/" + kDocumentName;
}

ClientVersionInfo parseClientVersionInfo(const std::wstring& path, UpdateChannel channel) {
  std::string document;
  readWholeFile(path, document); // a file that does not open reads as empty: no JSON
  return parseVersionDocument(document, updateChannelBaseUrl(channel));
}

ClientVersionInfo fetchClientVersionInfo(UpdateChannel channel) {
  const std::wstring localPath = tempDirectory() + kDocumentName;
  downloadFile(L"clientversioninfo", versionDocumentUrl(channel), localPath, ProgressCallback());
  ClientVersionInfo info = parseClientVersionInfo(localPath, channel);
  deleteFile(localPath);
  return info;
}
