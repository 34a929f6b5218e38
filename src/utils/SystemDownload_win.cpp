#include "utils/SystemDownload.h"

#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

#include <memory>

#include "utils/DownloadStatus_win.h"
#include "utils/SystemLibrary_win.h"

namespace {

// urlmon and wininet are no KnownDLLs: their functions are taken from System32 only.
using DeleteUrlCacheEntryWFunction = BOOL(WINAPI*)(LPCWSTR);
using UrlDownloadToFileWFunction = HRESULT(WINAPI*)(LPUNKNOWN, LPCWSTR, LPCWSTR, DWORD,
                                                    LPBINDSTATUSCALLBACK);

} // namespace

std::int32_t systemAttempt(const std::wstring& url, const std::wstring& targetPath,
                           ProgressCallback progress) {
  static const auto deleteUrlCacheEntry =
      systemFunctionAs<DeleteUrlCacheEntryWFunction>(L"wininet.dll", "DeleteUrlCacheEntryW");
  static const auto urlDownloadToFile =
      systemFunctionAs<UrlDownloadToFileWFunction>(L"urlmon.dll", "URLDownloadToFileW");
  if (urlDownloadToFile == nullptr) {
    return kDownloadFailure;
  }
  // Fetched anew from the server, not from WinINet's cache.
  if (deleteUrlCacheEntry != nullptr) {
    deleteUrlCacheEntry(url.c_str());
  }
  const auto status = std::make_unique<DownloadStatus>(std::move(progress));
  HRESULT result = urlDownloadToFile(nullptr, url.c_str(), targetPath.c_str(), 0, status.get());
  if (result == S_OK && !status->completed()) {
    result = kDownloadFailure;
  }
  return static_cast<std::int32_t>(result);
}
