#include "utils/DownloadUtils.h"

#include "events/EventDispatcher.h"
#include "ui/ProgressWindow.h"
#include "utils/SystemDownload.h"

DownloadResult downloadFile(const std::wstring& ident, const std::wstring& url,
                            const std::wstring& targetPath, ProgressCallback progress) {
  DownloadHooks hooks;
  hooks.closeRequested = &isCloseRequested;
  hooks.setProgressPercent = &setProgressPercent;
  hooks.systemAttempt = &systemAttempt;
  hooks.transferCompleted = [](const std::string& transferIdent, const TransferTimings& timings,
                               const DownloadMetrics& metrics) {
    EventDispatcher::instance().sendDownloadPerformed(transferIdent, timings.download_time,
                                                      timings.lookup_time, timings.connect_time,
                                                      timings.download_speed, metrics);
  };
  DownloadEngine engine(installerDownloadLimits(), std::move(hooks));
  return engine.downloadFile(ident, url, targetPath, std::move(progress));
}
