#include "utils/DownloadCallbacks.h"

#include <vector>

#include "utils/Clock.h"
#include "utils/SocketBuffer.h"
#include "utils/StringUtils.h"

namespace {

// Word 1 and word 3 of a cache header's value ("TCP_HIT from a1-2-3-4.deploy... (...)"); a
// shorter value leaves the missing words empty.
void readWords(const std::string& value, std::string& first, std::string& third) {
  const std::vector<std::string> words = splitString(trimChars(value, " "), " ");
  first = words.empty() ? std::string() : words[0];
  third = words.size() < 3 ? std::string() : words[2];
}

} // namespace

std::size_t writeToFile(char* data, std::size_t size, std::size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<std::FILE*>(file));
}

void readCacheHeader(const std::string& line, DownloadMetrics& metrics) {
  // The line end is no part of the value.
  const std::vector<std::string> pieces = splitString(trimChars(line, "\r\n"), ":");
  if (pieces.size() < 2) {
    return;
  }
  const std::string name = toLowerCase(pieces[0]);
  if (name == "x-cache") {
    readWords(pieces[1], metrics.x_cache_type, metrics.x_cache);
  } else if (name == "x-cache-remote") {
    readWords(pieces[1], metrics.x_cache_remote_type, metrics.x_cache_remote);
  }
}

std::size_t onHeaderLine(char* line, std::size_t size, std::size_t count, void* metrics) {
  const std::size_t length = size * count;
  readCacheHeader(std::string(line, length), *static_cast<DownloadMetrics*>(metrics));
  return length;
}

int onTransferProgress(void* progress, curl_off_t downloadTotal, curl_off_t downloadNow, curl_off_t,
                       curl_off_t) {
  auto& transfer = *static_cast<TransferProgress*>(progress);
  const DownloadHooks& hooks = *transfer.hooks;
  if (hooks.closeRequested && hooks.closeRequested()) {
    if (hooks.setProgressPercent) {
      hooks.setProgressPercent(0.0f);
    }
    return 1;
  }
  const std::uint32_t now = tickCountMs();
  const bool whole = downloadTotal == downloadNow;
  // Unsigned difference: the tick counter may wrap between two reports.
  if (now - transfer.lastReportTick < transfer.limits->progressIntervalMs && !whole) {
    return 0;
  }
  transfer.complete = whole;
  transfer.lastReportTick = now;
  if (transfer.callback) {
    transfer.callback(static_cast<std::uint32_t>(downloadNow),
                      static_cast<std::uint32_t>(downloadTotal));
  }
  return 0;
}

int onSocketOpened(void* limits, curl_socket_t socket, curlsocktype purpose) {
  const int bytes = static_cast<const DownloadLimits*>(limits)->receiveSocketBytes;
  if (purpose == CURLSOCKTYPE_IPCXN && bytes > 0) {
    setSocketReceiveBuffer(socket, bytes);
  }
  return CURL_SOCKOPT_OK;
}
