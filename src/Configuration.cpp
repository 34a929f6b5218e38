#include "InstallerApp.h"

#include "config/Selectors.h"
#include "log/Log.h"
#include "utils/TextConversion.h"

void InstallerApp::readConfiguration() {
  QM_LOG("Reading configuration file");
  settings = readInstallerSettings(installerIniPath());
  // The raw values as they stand; one that is no valid UTF-16 ends the run with "bad conversion".
  QM_LOG("Update channel: " + toUtf8(settings.updateChannel));
  QM_LOG("Environment: " + toUtf8(settings.environment));
  updateChannel = matchUpdateChannel(settings.updateChannel);
  QM_LOG("Using update channel: " + updateChannelName(updateChannel));
  QM_LOG("Using environment : " + environmentName(matchEnvironment(settings.environment)));
}
