#include "config/ClientInstallation.h"

#include "config/RegistryKeys.h"
#include "utils/Files.h"
#include "utils/Paths.h"
#include "utils/Registry.h"

std::wstring clientInstallLocation() {
  return readRegistryString(RegistryRoot::LocalMachine, RegistryKeys::uninstallKey,
                            RegistryKeys::installLocationValue);
}

bool isClientInstalled() {
  const std::wstring location = clientInstallLocation();
  if (location.empty()) {
    return false;
  }
  return fileExists(joinPath(location, RegistryKeys::clientExecutableName));
}
