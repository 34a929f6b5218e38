#include "InstallerApp.h"

#include "utils/WindowsVersion.h"

prevent_start_on_xp_exception::prevent_start_on_xp_exception()
    : std::runtime_error("WinXPShutdown") {}

void InstallerApp::checkWindowsVersion() {
  if (!isOlderThanWindows7()) {
    return;
  }
  throw prevent_start_on_xp_exception();
}
