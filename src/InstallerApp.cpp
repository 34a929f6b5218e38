#include "InstallerApp.h"

#include "log/Log.h"
#include "ui/LocalizationUtils.h"
#include "utils/Clock.h"

InstallerApp::InstallerApp() : startTime(systemTime100ns()) { LocalizationUtils::instance(); }

InstallerApp::~InstallerApp() {
  LocalizationUtils::destroyInstance();
  instanceMutex.reset();
  QM_LOG("Quitting");
}
