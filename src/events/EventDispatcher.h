// Telemetry: the process-wide dispatcher that posts every event over mutually authenticated HTTPS
// to the events endpoint of the environment, each on a short-lived thread of its own, and waits
// for them at the end of the run. Best effort: no failure of it reaches its callers.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "config/Environment.h"
#include "config/UpdateChannel.h"
#include "utils/CurlHandles.h"
#include "utils/DownloadTypes.h"

class EventDispatcher {
public:
  // The one dispatcher of the program: made on first use (concurrent first callers wait for one
  // construction), destroyed at process exit.
  static EventDispatcher& instance();

  // A dispatcher of its own (tests); the program uses instance().
  EventDispatcher();
  // Joins any send thread still running, frees the transfer and, when this dispatcher
  // initialized libcurl, performs libcurl's global clean-up.
  virtual ~EventDispatcher();
  EventDispatcher(const EventDispatcher&) = delete;
  EventDispatcher& operator=(const EventDispatcher&) = delete;

  // Sets up the transfer once: loads the client credentials, initializes libcurl and configures
  // a POST of JSON to eventsEndpoint(environment) with the credentials' TLS context hook and a
  // limit of 30 seconds per transfer. `startTime` is the run's start in 100-nanosecond units
  // since 1970 (InstallerApp::startTime); `channel` is what every later event reports. True when
  // the transfer is fully configured; false otherwise, and every send then fails quietly. Then
  // sends the events dispatched so far. Later calls change nothing and return the first result.
  bool initialize(std::int64_t startTime, Environment environment, UpdateChannel channel);

  // Sets the run's start (100-nanosecond units since 1970) for the durations of events raised
  // before initialize, which sets it again.
  void setRunStart(std::int64_t startTime);
  // Records that this run installed the client; the closing event reports it as "1".
  void setInstalled(bool installed);

  // The wall clock in milliseconds since 1970-01-01 00:00 UTC.
  static std::int64_t currentTimeMs();
  // Store currentTimeMs as the installation start and the download start.
  void markInstallationStart();
  void markDownloadStart();
  // Milliseconds from `start` (currentTimeMs units) to now as decimal text, clamped to the
  // 32-bit signed range: a start never marked (0) gives "2147483647".
  static std::string elapsedMsText(std::int64_t start);

  // Hands an event's wire text over and returns at once; never fails. After initialize the event
  // is posted on a new thread; before it, it is held and posted once the dispatcher has been
  // initialized (by initialize, or by waitForEvents).
  void dispatch(std::string body);
  // Posts `body` (what a send thread runs), one transfer at a time. True when the server answered
  // 200, which is logged as "Sent event:" + body; false for any failure or other status.
  bool sendEvent(const std::string& body);
  // Logs "Waiting for events being sent." and returns when every event dispatched so far has been
  // sent or has given up. Events still held because initialize never ran are sent first, through
  // a transfer set up for the environment that installer.ini beside the program selects and the
  // channel FINAL.
  void waitForEvents();

  // The events held for want of initialization, in the order dispatched, which are forgotten
  // (tests: the event operations' output without a network).
  std::vector<std::string> takeHeldEvents();

  // The events. Each builds its event on the calling thread and dispatches it. A value that is
  // no valid UTF-8 makes it throw nlohmann::json::type_error (316) without dispatching anything.

  // "installer_started".
  void sendInstallerStarted();
  // "installer_system_information": the Windows version, the memory and the compatibility layer.
  void sendSystemInformation();
  // "STUB_INSTALLER_STARTED", the campaign event; nothing at all when `injectionId` is empty. The
  // game, locale and client identifier are reported only when not empty.
  void sendStubInstallerStarted(const std::string& gameId, const std::string& injectionId,
                                const std::string& gameLocale, const std::string& googleClientId);
  // "installer_unsupported_platform": the Windows version and the compatibility layer.
  void sendUnsupportedPlatform();
  // "installer_download_performed": one completed libcurl transfer of the download `ident`
  // ("clientversioninfo", "qmclient"); times in milliseconds, speed in bytes per second.
  void sendDownloadPerformed(const std::string& ident, const std::int64_t& downloadTime,
                             const std::int64_t& lookupTime, const std::int64_t& connectTime,
                             const std::int64_t& downloadSpeed, const DownloadMetrics& metrics);
  // "installer_client_download_start".
  void sendClientDownloadStart();
  // "installer_client_downloaded": who delivered the client setup, its results, and the
  // milliseconds since markDownloadStart.
  void sendClientDownloaded(const DownloadResult& result);
  // "installation_started".
  void sendInstallationStarted();
  // "installer_external": the exit code of the setup's interactive run.
  void sendInstallerExternal(std::uint32_t exitCode);
  // "installation_done": the milliseconds since markInstallationStart.
  void sendInstallationDone();
  // "installer_close": the run's outcome (its MessageKey, or "success"), its duration and whether
  // it installed the client.
  void sendInstallerClose(const std::wstring& closeReason);

private:
  // Steps 2 to 10 of initialize, under the init mutex.
  bool configureTransfer(std::int64_t startTime, Environment environment, UpdateChannel channel);
  // Starts the send thread of `body` and records it; an event whose thread cannot start is lost.
  void startSendThread(std::string body);
  // What a send thread runs: sendEvent, then the release of the thread's TLS library state.
  void runSendThread(std::string body);

  // The libcurl transfer shared by all sends (guarded by sendMutex) and its header list.
  UniqueCurl transfer;
  UniqueCurlList headers;
  // The events endpoint: scheme, host and, outside production, port; no path.
  std::string endpointUrl;
  // What every event reports as "update_channel_string".
  UpdateChannel updateChannel = UpdateChannel::FINAL;
  // Set once libcurl's global initialization has succeeded; the destructor reads it.
  std::atomic<bool> globalInitDone{false};
  // Whether this run installed the client.
  bool installed = false;
  // Held for the whole of initialize; never together with sendMutex.
  std::mutex initMutex;
  // Held for the whole of each transfer.
  std::mutex sendMutex;
  // Milliseconds since 1970; 0 until set or marked.
  std::atomic<std::int64_t> runStart{0};
  std::atomic<std::int64_t> installationStart{0};
  std::atomic<std::int64_t> downloadStart{0};
  // One per dispatched event not yet waited for. Touched by the main thread only.
  std::unordered_set<std::shared_ptr<std::thread>> pendingThreads;
  // Whether initialize has run, and what it returned. Main thread only.
  bool initializeCalled = false;
  bool initialized = false;
  // Events dispatched before initialize. Main thread only.
  std::vector<std::string> heldEvents;
};
