#include "config/InstallationId.h"

#include "config/RegistryKeys.h"
#include "utils/Registry.h"

std::wstring readInstallationId() {
  const struct {
    RegistryRoot root;
    const std::wstring& key;
  } places[] = {
      {RegistryRoot::LocalMachine, RegistryKeys::mainKey},
      {RegistryRoot::CurrentUser, RegistryKeys::mainKey},
      {RegistryRoot::LocalMachine, RegistryKeys::legacyKey},
      {RegistryRoot::CurrentUser, RegistryKeys::legacyKey},
  };
  for (const auto& place : places) {
    std::wstring id = readRegistryString(place.root, place.key, RegistryKeys::installationIdValue);
    if (!id.empty()) {
      return id;
    }
  }
  return {};
}

void createInstallationId() {
  const std::wstring id = newRandomUuid();
  if (id.empty()) {
    return;
  }
  writeRegistryString(RegistryRoot::CurrentUser, RegistryKeys::mainKey,
                      RegistryKeys::installationIdValue, id);
}
