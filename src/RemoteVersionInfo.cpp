#include "InstallerApp.h"

#include "MessageKeys.h"
#include "log/Log.h"
#include "ui/ProgressWindow.h"

void InstallerApp::downloadRemoteVersionInfo() {
  QM_LOG("Downloading remote version info");
  setStatusText(MessageKeys::CheckingForUpdates);
  clientVersionInfo = fetchClientVersionInfo(updateChannel);
  QM_LOG("Remote version: " + joinVersion(clientVersionInfo.version));
  validateRemoteVersionInfo();
  setStatusText(MessageKeys::ConfigurationFetched);
}

void InstallerApp::validateRemoteVersionInfo() {
  QM_LOG("Validating remote version info");
  if (clientVersionInfo.url.empty()) {
    raiseError(MessageKeys::RemoteVersionInfoValidationError);
  }
}
