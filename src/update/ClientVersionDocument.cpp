#include "update/ClientVersionInfo.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "utils/DownloadUtils.h"
#include "utils/Files.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"

namespace {

const wchar_t* const kDocumentName = L"clientversioninfo.json";

} // namespace

std::wstring versionDocumentUrl(UpdateChannel channel) {
  std::wostringstream url;
  url << updateChannelBaseUrl(channel) << L"/" << kDocumentName;
  return url.str();
}

ClientVersionInfo parseClientVersionInfo(const std::wstring& path, UpdateChannel channel) {
  std::ifstream document(std::filesystem::u8path(toUtf8(path)));
  return parseVersionDocument(document, updateChannelBaseUrl(channel));
}

ClientVersionInfo fetchClientVersionInfo(UpdateChannel channel) {
  const std::wstring localPath = tempDirectory() + kDocumentName;
  downloadFile(L"clientversioninfo", versionDocumentUrl(channel), localPath, ProgressCallback());
  ClientVersionInfo info = parseClientVersionInfo(localPath, channel);
  deleteFile(localPath);
  return info;
}
