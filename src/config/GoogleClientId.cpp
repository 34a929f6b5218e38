#include "config/GoogleClientId.h"

#include <stdexcept>

#include "config/RegistryKeys.h"
#include "utils/Registry.h"
#include "utils/TextConversion.h"

void storeGoogleClientId(const std::string& id) {
  std::wstring value;
  try {
    value = toUtf16(id);
  } catch (const std::range_error&) {
    return;
  }
  writeRegistryString(RegistryRoot::CurrentUser, RegistryKeys::mainKey,
                      RegistryKeys::googleClientIdValue, value);
}
