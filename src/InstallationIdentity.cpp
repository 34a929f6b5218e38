#include "InstallerApp.h"

#include "config/InstallationId.h"
#include "log/Log.h"

void InstallerApp::ensureInstallationId() {
  QM_LOG("Ensuring installation ID is set");
  // An identifier found anywhere is left where it is; a new one goes under HKEY_CURRENT_USER.
  if (readInstallationId().empty()) {
    createInstallationId();
  }
}
