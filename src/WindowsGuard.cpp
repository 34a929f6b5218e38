#include "InstallerApp.h"

#include "events/EventDispatcher.h"
#include "utils/WindowsVersion.h"

prevent_start_on_xp_exception::prevent_start_on_xp_exception()
    : std::runtime_error("WinXPShutdown") {}

void InstallerApp::checkWindowsVersion() {
  if (!isOlderThanWindows7()) {
    return;
  }
  EventDispatcher::instance().sendUnsupportedPlatform();
  throw prevent_start_on_xp_exception();
}
