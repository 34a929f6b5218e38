#include "utils/SystemDownload.h"

#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

#include <memory>

#include "utils/DownloadStatus_win.h"

std::int32_t systemAttempt(const std::wstring& url, const std::wstring& targetPath,
                           ProgressCallback progress) {
  // Fetched anew from the server, not from WinINet's cache.
  ::DeleteUrlCacheEntryW(url.c_str());
  const auto status = std::make_unique<DownloadStatus>(std::move(progress));
  HRESULT result = ::URLDownloadToFileW(nullptr, url.c_str(), targetPath.c_str(), 0, status.get());
  if (result == S_OK && !status->completed()) {
    result = kDownloadFailure;
  }
  return static_cast<std::int32_t>(result);
}
