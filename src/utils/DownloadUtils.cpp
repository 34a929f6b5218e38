#include "utils/DownloadUtils.h"

#include <utility>

#include <curl/curl.h>

#include "MessageKeys.h"
#include "log/Log.h"
#include "utils/SystemDownload.h"

DownloadEngine::DownloadEngine(DownloadLimits limits, DownloadHooks hooks)
    : limits_(limits), hooks_(std::move(hooks)) {}

DownloadResult DownloadEngine::downloadFile(const std::wstring& ident, const std::wstring& url,
                                            const std::wstring& targetPath,
                                            ProgressCallback progress) {
  QM_LOG(L"Downloading " + url + L" to " + targetPath);
  DownloadResult result;
  for (int attempt = 1; attempt <= limits_.curlAttempts; ++attempt) {
    result.curl_result = curlAttempt(ident, url, targetPath, progress);
    if (result.curl_result == CURLE_OK) {
      return result;
    }
    if (result.curl_result == CURLE_COULDNT_RESOLVE_HOST) {
      raiseError(MessageKeys::ConnectionError);
    }
    if (result.curl_result == CURLE_FILE_COULDNT_READ_FILE ||
        result.curl_result == CURLE_REMOTE_FILE_NOT_FOUND) {
      break;
    }
  }
  result.download_method = L"windows";
  if (systemFallback(url, targetPath, progress) != 0) {
    raiseError(MessageKeys::DownloadFailed);
  }
  result.windows_result = 0;
  return result;
}

std::int32_t DownloadEngine::systemFallback(const std::wstring& url, const std::wstring& targetPath,
                                            ProgressCallback progress) {
  QM_LOG(L"Downloading " + url + L" with fallback system to " + targetPath);
  std::int32_t result = kDownloadFailure;
  for (int attempt = 1; attempt <= limits_.systemAttempts; ++attempt) {
    result = hooks_.systemAttempt ? hooks_.systemAttempt(url, targetPath, progress)
                                  : systemAttempt(url, targetPath, progress);
    if (result == 0) {
      return 0;
    }
    if (result == kResourceNotFound || result == kObjectNotFound) {
      raiseError(MessageKeys::ConnectionError);
    }
  }
  return result;
}
