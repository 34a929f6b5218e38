// Downloads one URL into one file with the installer's download engine, a progress callback
// connected, and prints how long it took. The benchmark runner (bench/run.py) starts it beside
// the curl command-line tool; it measures the process from outside as well.
//
//   download_bench URL TARGET [RECEIVE_BUFFER_BYTES [SOCKET_BUFFER_BYTES]]
//   download_bench --limits
//
// Without a buffer size the installer's own downloadFile runs, with the installer's limits; with
// one, the same engine with only the receive buffer changed (the buffer-size sweep), and with a
// second one also the kernel's receive buffer of the connection (the socket sweep; 0 leaves the
// system's sizing). Prints one line "seconds=S bytes=N reports=R curl_result=C method=M" and exits
// 0 when the file arrived by libcurl, 1 otherwise. With --limits it prints the buffers the
// installer is built with ("buffer=BYTES socket=BYTES", 0 for the library's or system's own).
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "events/EventDispatcher.h"
#include "ui/ProgressWindow.h"
#include "utils/DownloadUtils.h"
#include "utils/SystemDownload.h"
#include "utils/TextConversion.h"

namespace {

// What the progress callback saw: how often it was called and the last bytes done.
struct ProgressSeen {
  std::uint64_t reports = 0;
  std::uint32_t done = 0;
};

// The engine as the installer wires it, but for the receive buffers.
DownloadResult downloadWithBuffers(const std::wstring& url, const std::wstring& target,
                                   ProgressCallback progress, long bufferBytes, int socketBytes) {
  DownloadHooks hooks;
  hooks.closeRequested = &isCloseRequested;
  hooks.setProgressPercent = &setProgressPercent;
  hooks.systemAttempt = &systemAttempt;
  hooks.transferCompleted = [](const std::string& ident, const TransferTimings& timings,
                               const DownloadMetrics& metrics) {
    EventDispatcher::instance().sendDownloadPerformed(ident, timings.download_time,
                                                      timings.lookup_time, timings.connect_time,
                                                      timings.download_speed, metrics);
  };
  DownloadLimits limits;
  limits.receiveBufferBytes = bufferBytes;
  limits.receiveSocketBytes = socketBytes;
  DownloadEngine engine(limits, std::move(hooks));
  return engine.downloadFile(L"qmclient", url, target, std::move(progress));
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--limits") {
    std::printf("buffer=%ld socket=%d\n", DownloadLimits{}.receiveBufferBytes,
                DownloadLimits{}.receiveSocketBytes);
    return 0;
  }
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: download_bench URL TARGET [RECEIVE_BUFFER_BYTES "
                         "[SOCKET_BUFFER_BYTES]] | --limits\n");
    return 2;
  }
  const std::wstring url = toUtf16(argv[1]);
  const std::wstring target = toUtf16(argv[2]);
  const long bufferBytes = argc >= 4 ? std::strtol(argv[3], nullptr, 10) : 0;
  const int socketBytes = argc == 5 ? static_cast<int>(std::strtol(argv[4], nullptr, 10))
                                    : DownloadLimits{}.receiveSocketBytes;
  ProgressSeen seen;
  // Stands in for the progress window's reportProgress: the same arithmetic, kept.
  volatile float percent = 0;
  const ProgressCallback progress = [&seen, &percent](std::uint32_t done, std::uint32_t total) {
    ++seen.reports;
    seen.done = done;
    percent = total == 0 ? 0.0f : 100.0f * static_cast<float>(done) / static_cast<float>(total);
  };
  const auto start = std::chrono::steady_clock::now();
  DownloadResult result;
  try {
    result = argc >= 4 ? downloadWithBuffers(url, target, progress, bufferBytes, socketBytes)
                       : downloadFile(L"qmclient", url, target, progress);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "download failed: %s\n", failure.what());
    return 1;
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("seconds=%.4f bytes=%lu reports=%llu curl_result=%d method=%s\n", seconds.count(),
              static_cast<unsigned long>(seen.done), static_cast<unsigned long long>(seen.reports),
              static_cast<int>(result.curl_result), toUtf8(result.download_method).c_str());
  return result.curl_result == 0 && result.download_method == L"curl" ? 0 : 1;
}
