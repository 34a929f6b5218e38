// The callbacks the download engine hands to libcurl, and the records they work on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <curl/curl.h>

#include "utils/DownloadTypes.h"
#include "utils/DownloadUtils.h"

// The per-attempt state of the progress callback.
struct TransferProgress {
  // Whether the last report passed on had equal "done" and "total"; false when an attempt starts.
  bool complete = false;
  // The millisecond tick (tickCountMs) of the last report passed on, or of the attempt's start.
  std::uint32_t lastReportTick = 0;
  ProgressCallback callback;
  const DownloadLimits* limits = nullptr; // for the interval between reports
  const DownloadHooks* hooks = nullptr;   // for the close request and the bar
};

// libcurl's write callback: writes `size` * `count` bytes to the FILE* `file`; returns what
// fwrite wrote (a short count ends the transfer with a write error).
std::size_t writeToFile(char* data, std::size_t size, std::size_t count, void* file);

// libcurl's header callback: reads the "x-cache" and "x-cache-remote" headers into the
// DownloadMetrics `metrics`; always returns the whole length so the transfer goes on.
std::size_t onHeaderLine(char* line, std::size_t size, std::size_t count, void* metrics);

// The header parser behind onHeaderLine, for one line (with or without its CR LF).
void readCacheHeader(const std::string& line, DownloadMetrics& metrics);

// libcurl's progress callback (`progress` is the TransferProgress). Returns 1, which aborts the
// transfer, when the user asked to close the window; otherwise passes the report on to the
// callback at most once per interval, or at once when done equals total, and returns 0.
int onTransferProgress(void* progress, curl_off_t downloadTotal, curl_off_t downloadNow,
                       curl_off_t uploadTotal, curl_off_t uploadNow);

// libcurl's socket option callback (`limits` is the engine's DownloadLimits): gives a new
// connection's socket the receive buffer of DownloadLimits::receiveSocketBytes (none when 0).
// Always returns CURL_SOCKOPT_OK: a size the system refuses is no reason to fail the download.
int onSocketOpened(void* limits, curl_socket_t socket, curlsocktype purpose);
