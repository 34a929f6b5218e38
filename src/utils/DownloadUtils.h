// The download engine: one URL into one local file, with libcurl first (retried, measured) and
// the system downloader as the fallback. Runs on the calling thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "utils/DownloadTypes.h"

// The engine's limits. The defaults are the installer's; tests make them smaller.
struct DownloadLimits {
  int curlAttempts = 5;
  int systemAttempts = 5;
  long lowSpeedLimit = 30; // bytes per second, below which for lowSpeedTime a transfer is abandoned
  long lowSpeedTime = 60;  // seconds
  std::uint32_t progressIntervalMs = 500; // progress reports reach the callback at most this often
  // libcurl's receive buffer (CURLOPT_BUFFERSIZE), in bytes; 0 keeps the library's default of
  // 16 KiB. 512 KiB, the most libcurl 7.88 takes, was the fastest in the download benchmark
  // (scripts/bench) natively and under Wine, where each read from the socket costs the most.
  long receiveBufferBytes = 512 * 1024;
  // The kernel's receive buffer of the connection (SO_RCVBUF), in bytes; 0 leaves the system's own
  // sizing. Under Wine every read from the socket is expensive, and with the system's automatic
  // sizing the kernel seldom holds a whole receiveBufferBytes: a minimal winsock program's reads
  // of 512 KiB took 93 KiB on average, and with a fixed 4 MiB each took the whole 512 KiB
  // (bench/WinsockFloor_win.cpp; the download took half the time).
  int receiveSocketBytes = 4 * 1024 * 1024;
};

// The four timings of one completed libcurl transfer.
struct TransferTimings {
  std::int64_t download_time = 0;  // milliseconds
  std::int64_t lookup_time = 0;    // milliseconds
  std::int64_t connect_time = 0;   // milliseconds
  std::int64_t download_speed = 0; // bytes per second
};

// What the engine asks of the rest of the installer. Empty members are not called.
struct DownloadHooks {
  // Whether the user asked to close the progress window (a libcurl transfer then gives up).
  std::function<bool()> closeRequested;
  // Moves the progress bar (percent).
  std::function<void(float)> setProgressPercent;
  // Reports one completed libcurl transfer (the "installer_download_performed" event).
  std::function<void(const std::string& ident, const TransferTimings&, const DownloadMetrics&)>
      transferCompleted;
  // One try of the system downloader (systemAttempt); replaceable for tests.
  std::function<std::int32_t(const std::wstring& url, const std::wstring& target,
                             ProgressCallback progress)>
      systemAttempt;
};

class DownloadEngine {
public:
  DownloadEngine(DownloadLimits limits, DownloadHooks hooks);

  // Writes `url` to the file `targetPath` (whose folder must exist). `ident` names the download
  // in telemetry only. Returns who delivered the file and the last results; throws
  // std::runtime_error("ConnectionError") when the host does not resolve or the system
  // downloader finds nothing there, std::runtime_error("DownloadFailed") when every attempt
  // failed. A partial file may remain after a failure.
  DownloadResult downloadFile(const std::wstring& ident, const std::wstring& url,
                              const std::wstring& targetPath, ProgressCallback progress);

  // One libcurl attempt: 0 when the whole file arrived with a 2xx status, otherwise a libcurl
  // code (6: host not resolved, 37: target not opened, 78: status outside 2xx, 56: the body
  // ended early, 42: the user's close request, 28: too slow, ...).
  int curlAttempt(const std::wstring& ident, const std::wstring& url,
                  const std::wstring& targetPath, ProgressCallback progress);

  // Up to the limit of system attempts: returns 0 or the last failure's HRESULT; throws
  // std::runtime_error("ConnectionError") when the downloader reports nothing found.
  std::int32_t systemFallback(const std::wstring& url, const std::wstring& targetPath,
                              ProgressCallback progress);

private:
  DownloadLimits limits_;
  DownloadHooks hooks_;
};

// The limits of the installer's own downloads: the DownloadLimits defaults. Defined alone in
// InstallerDownloadLimits.cpp, so that a test program can link a definition of its own in its
// place and run the whole installer with smaller limits; the installer has no switch for them.
DownloadLimits installerDownloadLimits();

// The installer's download: the engine with the installer's limits, the progress window's close
// request and bar, the telemetry event and the system downloader. Throws as
// DownloadEngine::downloadFile does.
DownloadResult downloadFile(const std::wstring& ident, const std::wstring& url,
                            const std::wstring& targetPath, ProgressCallback progress);
