#include "utils/DownloadUtils.h"

#include "utils/SystemDownload.h"

DownloadResult downloadFile(const std::wstring& ident, const std::wstring& url,
                            const std::wstring& targetPath, ProgressCallback progress) {
  DownloadHooks hooks;
  hooks.systemAttempt = &systemAttempt;
  DownloadEngine engine(DownloadLimits{}, std::move(hooks));
  return engine.downloadFile(ident, url, targetPath, std::move(progress));
}
