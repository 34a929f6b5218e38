// The application object: one per process, built by the entry point, whose run performs the
// installer's fixed sequence of steps on the main thread.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "config/InstallerSettings.h"
#include "config/UpdateChannel.h"
#include "update/ClientVersionInfo.h"
#include "utils/ModuleInstance.h"
#include "utils/NamedMutex.h"

// Thrown by checkWindowsVersion on systems older than Windows 7, with the message
// "WinXPShutdown". A runtime error, so its handler must come before the general one.
class prevent_start_on_xp_exception : public std::runtime_error {
public:
  prevent_start_on_xp_exception();
};

class InstallerApp {
public:
  // Takes the start time from the clock and creates the process-wide localization.
  InstallerApp();
  // Deletes the localization, closes the single-instance mutex if held, then logs "Quitting".
  ~InstallerApp();
  InstallerApp(const InstallerApp&) = delete;
  InstallerApp& operator=(const InstallerApp&) = delete;

  // Performs the run sequence once. Lets no exception out; the outcome is logged, shown to the
  // user and reported, and the call returns when the user has seen it.
  void run(ModuleInstance instance);

  // The steps of the run sequence, in the order run calls them. Each returns or throws a
  // std::runtime_error whose message is a MessageKey.

  // Refuses systems older than Windows 7: sends "installer_unsupported_platform", then throws
  // prevent_start_on_xp_exception.
  void checkWindowsVersion();
  // Takes the machine-wide single-instance mutex; throws "SingleInstanceOnly" when another copy
  // holds it. A mutex that cannot be created for another reason is no error.
  void lockInstanceMutex();
  // Finds the installation identifier in the registry, or creates one under HKEY_CURRENT_USER
  // when there is none anywhere.
  void ensureInstallationId();
  // Reads installer.ini beside the program into `settings`, matches `updateChannel` and logs the
  // raw values and the matched channel and environment.
  void readConfiguration();
  // Sets telemetry up for the environment that `settings` selects and `updateChannel`, then
  // sends "installer_started" and "installer_system_information".
  void initMonitoring();
  // Reads the campaign record from the download tag of the program's own file into the four
  // campaign fields and `embeddedInfo`, stores the analytics client identifier and sends the
  // campaign event (with "--none--" values when no usable tag was found). Never throws.
  void extractEmbeddedInformation();
  // The same with the image at `imagePath` instead of the program's own file (tests).
  void extractEmbeddedInformation(const std::wstring& imagePath);
  // Fetches the update channel's version document into `clientVersionInfo` and validates it,
  // showing "CheckingForUpdates" before and "ConfigurationFetched" after. Throws what the fetch
  // throws and "RemoteVersionInfoValidationError".
  void downloadRemoteVersionInfo();
  // Throws "RemoteVersionInfoValidationError" when `clientVersionInfo` names no setup URL.
  void validateRemoteVersionInfo();
  // Unless the client is installed: downloads and runs its setup, and removes the setup file
  // before and after. Throws what installClient throws.
  void prepareClientInstallation();
  // Deletes the downloaded setup program; never throws.
  void removeInstallationFiles();
  // Downloads the setup unless a file is already there, runs it, and returns true when the client
  // is installed afterwards; throws "CouldNotInstall" when it is not, and what the download and
  // the setup's run throw.
  bool installClient();
  // Downloads the setup program to installerPath() with the progress bar moving; throws
  // "ConnectionError" or "DownloadFailed".
  void downloadClientInstaller();
  // Runs the setup silently (a second time interactively when it asks with exit code 99) while
  // the window cannot be closed; throws "CouldNotInstallUac" for exit code 2. Before each run the
  // file is held and its signature verified against the pinned code-signing CA; a file that
  // fails is deleted, "Setup program signature rejected: " + the reason is logged and
  // "CouldNotInstall" thrown.
  void executeInstaller();
  // Opens the client's start URL with the shell (clientStartUrl); throws "CouldNotStart" when
  // the shell refuses it.
  void startClient();
  // "qmclient://game-login?game=" + gameId (+ "&region=" + the region code of gameLocale, when
  // there is one) for a campaign with a game; "qmclient://start" otherwise. The values are
  // inserted unescaped.
  std::wstring clientStartUrl() const;

  // The run's state. Public so that the steps' tests can prepare and inspect it.

  // The single-instance mutex while this process owns it.
  NamedMutexHandle instanceMutex;
  // The campaign record of the download tag (UTF-8), empty when there is none.
  std::string googleClientId;
  std::string gameId;
  std::string gameLocale;
  std::string injectionId;
  // The campaign record as parsed from the tag; null when none was parsed.
  nlohmann::json embeddedInfo;
  // The raw "updateChannel" and "environment" values of installer.ini; empty until read.
  InstallerSettings settings;
  // The current client's version and the resolved URL of its setup; empty until fetched.
  ClientVersionInfo clientVersionInfo;
  // The matched update channel; FINAL until the configuration has been read.
  UpdateChannel updateChannel = UpdateChannel::FINAL;
  // The clock at construction: 100-nanosecond units since 1970-01-01 00:00 UTC.
  std::int64_t startTime;

private:
  // Runs the steps in order; the first throw ends them. `windowThread` receives the progress
  // window's thread as soon as the window has been started.
  void runSteps(ModuleInstance instance, std::shared_ptr<std::thread>& windowThread);
};
