#include "InstallerApp.h"

#include "log/Log.h"
#include "utils/Clock.h"

InstallerApp::InstallerApp() : startTime(systemTime100ns()) {}

InstallerApp::~InstallerApp() {
  instanceMutex.reset();
  QM_LOG("Quitting");
}
