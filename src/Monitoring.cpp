#include "InstallerApp.h"

#include "config/Selectors.h"
#include "events/EventDispatcher.h"
#include "log/Log.h"

void InstallerApp::initMonitoring() {
  QM_LOG("Initializing monitoring system");
  const Environment environment = matchEnvironment(settings.environment);
  EventDispatcher& events = EventDispatcher::instance();
  // Whatever the set-up gives, the two first events are handed over: telemetry is best effort.
  events.initialize(startTime, environment, updateChannel);
  events.sendInstallerStarted();
  events.sendSystemInformation();
}
