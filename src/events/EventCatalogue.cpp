// The eleven events of a run: each builds its body on the calling thread and dispatches it.
#include "events/EventDispatcher.h"

#include "events/GenericEvent.h"
#include "events/SystemInfo.h"
#include "utils/TextConversion.h"
#include "utils/WindowsVersion.h"

namespace {

// The envelope of `name` with the update channel.
GenericEvent newEvent(const std::string& name, UpdateChannel channel) {
  GenericEvent event(name);
  event.addUpdateChannel(channel);
  return event;
}

// major.minor.build of `version`.
std::string versionText(const OsVersion& version) {
  return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.build);
}

// The compatibility layer as UTF-8; a registry text of broken UTF-16 is reported leniently rather
// than costing the event.
std::string emulatedVersionText() { return toUtf8Lenient(emulatedWindowsVersion()); }

} // namespace

void EventDispatcher::sendInstallerStarted() {
  dispatch(newEvent("installer_started", updateChannel).serialize());
}

void EventDispatcher::sendSystemInformation() {
  GenericEvent event = newEvent("installer_system_information", updateChannel);
  const MemoryStatus memory = queryMemoryStatus();
  event.addObject("memoryinfo", {
                                    {"load", std::to_string(memory.load)},
                                    {"total", std::to_string(memory.totalPhysical)},
                                    {"available", std::to_string(memory.availablePhysical)},
                                    {"s_total", formatSize(memory.totalPhysical)},
                                    {"s_available", formatSize(memory.availablePhysical)},
                                });
  const OsVersion version = queryOsVersion();
  event.addObject("osinfo", {
                                {"build", std::to_string(version.build)},
                                {"major", std::to_string(version.major)},
                                {"minor", std::to_string(version.minor)},
                                {"sp_major", std::to_string(version.servicePackMajor)},
                                {"sp_minor", std::to_string(version.servicePackMinor)},
                                {"name", windowsVersionName(version)},
                                {"version_name", versionText(version)},
                            });
  event.addField("emulated_windows_version", emulatedVersionText());
  dispatch(event.serialize());
}

void EventDispatcher::sendStubInstallerStarted(const std::string& gameId,
                                               const std::string& injectionId,
                                               const std::string& gameLocale,
                                               const std::string& googleClientId) {
  if (injectionId.empty()) {
    return;
  }
  GenericEvent event = newEvent("STUB_INSTALLER_STARTED", updateChannel);
  event.addField("qwevent", "STUB_INSTALLER_STARTED");
  const std::pair<const char*, const std::string*> optional[] = {
      {"game_id", &gameId}, {"game_locale", &gameLocale}, {"google_client_id", &googleClientId}};
  for (const auto& field : optional) {
    if (!field.second->empty()) {
      event.addField(field.first, *field.second);
    }
  }
  event.addField("injection_id", injectionId);
  dispatch(event.serialize());
}

void EventDispatcher::sendUnsupportedPlatform() {
  GenericEvent event = newEvent("installer_unsupported_platform", updateChannel);
  const OsVersion version = queryOsVersion();
  event.addField("sys_identifier", versionText(version));
  event.addField("sys_name", windowsVersionName(version));
  event.addField("emulated_windows_version", emulatedVersionText());
  dispatch(event.serialize());
}

void EventDispatcher::sendDownloadPerformed(const std::string& ident,
                                            const std::int64_t& downloadTime,
                                            const std::int64_t& lookupTime,
                                            const std::int64_t& connectTime,
                                            const std::int64_t& downloadSpeed,
                                            const DownloadMetrics& metrics) {
  GenericEvent event = newEvent("installer_download_performed", updateChannel);
  event.addField("ident", ident);
  event.addField("download_time", std::to_string(downloadTime));
  event.addField("lookup_time", std::to_string(lookupTime));
  event.addField("connect_time", std::to_string(connectTime));
  event.addField("download_speed", std::to_string(downloadSpeed));
  event.addField("response_code", std::to_string(metrics.response_code));
  event.addField("x_cache", metrics.x_cache);
  event.addField("x_cache_type", metrics.x_cache_type);
  event.addField("x_cache_remote", metrics.x_cache_remote);
  event.addField("x_cache_remote_type", metrics.x_cache_remote_type);
  dispatch(event.serialize());
}

void EventDispatcher::sendClientDownloadStart() {
  dispatch(newEvent("installer_client_download_start", updateChannel).serialize());
}

void EventDispatcher::sendClientDownloaded(const DownloadResult& result) {
  GenericEvent event = newEvent("installer_client_downloaded", updateChannel);
  event.addField("duration", elapsedMsText(downloadStart));
  event.addField("download_method", toUtf8Lenient(result.download_method));
  event.addField("curl_result", std::to_string(result.curl_result));
  event.addField("windows_result", std::to_string(result.windows_result));
  dispatch(event.serialize());
}

void EventDispatcher::sendInstallationStarted() {
  dispatch(newEvent("installation_started", updateChannel).serialize());
}

void EventDispatcher::sendInstallerExternal(std::uint32_t exitCode) {
  GenericEvent event = newEvent("installer_external", updateChannel);
  event.addField("exit_code", std::to_string(exitCode));
  dispatch(event.serialize());
}

void EventDispatcher::sendInstallationDone() {
  GenericEvent event = newEvent("installation_done", updateChannel);
  event.addField("duration", elapsedMsText(installationStart));
  dispatch(event.serialize());
}

void EventDispatcher::sendInstallerClose(const std::wstring& closeReason) {
  GenericEvent event = newEvent("installer_close", updateChannel);
  event.addField("duration", elapsedMsText(runStart));
  event.addField("error", toUtf8Lenient(closeReason));
  event.addField("installer_installed", std::to_string(installed ? 1 : 0));
  dispatch(event.serialize());
}
