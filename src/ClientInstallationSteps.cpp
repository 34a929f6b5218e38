#include "InstallerApp.h"

#include "MessageKeys.h"
#include "SetupProgram.h"
#include "config/ClientInstallation.h"
#include "events/EventDispatcher.h"
#include "log/Log.h"
#include "ui/ProgressWindow.h"
#include "update/SetupSignature.h"
#include "utils/DownloadUtils.h"
#include "utils/Files.h"
#include "utils/HeldFile.h"
#include "utils/Process.h"

namespace {

// The setup's exit codes with a meaning: administrator rights were refused; run me again without
// the silent switches.
constexpr std::uint32_t kSetupNeedsAdministrator = 2;
constexpr std::uint32_t kSetupWantsInteractiveRun = 99;

// Holds the setup program at installerPath() and verifies its signature against the pinned CA
// through the held file, so that the bytes checked are the bytes that run. A file that fails
// (unsigned, tampered, signed by anyone else, unreadable) is released and deleted, the reason is
// logged, and "CouldNotInstall" is thrown: it is never run.
HeldFile holdVerifiedSetup() {
  HeldFile setup;
  std::string reason;
  if (!setup.open(installerPath())) {
    reason = "the file cannot be opened";
  } else if (!setup.mapView()) {
    reason = "the file cannot be read";
  } else {
    reason = verifySetupProgram(setup.view(), setup.size());
    setup.unmapView();
  }
  if (!reason.empty()) {
    setup.close();
    deleteFile(installerPath());
    QM_LOG("Setup program signature rejected: " + reason);
    raiseError(MessageKeys::CouldNotInstall);
  }
  return setup;
}

} // namespace

void InstallerApp::prepareClientInstallation() {
  if (isClientInstalled()) {
    return;
  }
  QM_LOG("Preparing client installation");
  removeInstallationFiles();
  installClient();
  removeInstallationFiles();
}

void InstallerApp::removeInstallationFiles() {
  QM_LOG("Removing installation files");
  deleteFile(installerPath());
}

bool InstallerApp::installClient() {
  QM_LOG("Installing client");
  if (localInstallerPath().empty()) {
    downloadClientInstaller();
  }
  executeInstaller();
  if (!isClientInstalled()) {
    raiseError(MessageKeys::CouldNotInstall);
  }
  // The client was not installed before this run and is now.
  EventDispatcher::instance().setInstalled(true);
  return true;
}

void InstallerApp::downloadClientInstaller() {
  QM_LOG("Downloading client installer");
  setStatusText(MessageKeys::DownloadingInstaller);
  EventDispatcher& events = EventDispatcher::instance();
  events.markDownloadStart();
  events.sendClientDownloadStart();
  const DownloadResult result =
      downloadFile(L"qmclient", clientVersionInfo.url, installerPath(), &reportProgress);
  events.sendClientDownloaded(result);
  if (localInstallerPath().empty()) {
    raiseError(MessageKeys::DownloadFailed);
  }
}

void InstallerApp::executeInstaller() {
  QM_LOG("Executing installer");
  HeldFile setup = holdVerifiedSetup();
  EventDispatcher& events = EventDispatcher::instance();
  events.sendInstallationStarted();
  events.markInstallationStart();
  setNonStoppable(true);
  showElevationIcon();
  setStatusText(MessageKeys::InstallingInstaller);
  const std::uint32_t exitCode = runHeldProgramAndWait(setup, installerCommandLine(true));
  if (exitCode == kSetupNeedsAdministrator) {
    // The window stays non-stoppable until the error display makes it closable again.
    raiseError(MessageKeys::CouldNotInstallUac);
  }
  if (exitCode == kSetupWantsInteractiveRun) {
    // The file was out of this program's hands while the setup ran: checked again.
    HeldFile again = holdVerifiedSetup();
    events.sendInstallerExternal(runHeldProgramAndWait(again, installerCommandLine(false)));
  }
  events.sendInstallationDone();
  setNonStoppable(false);
}
