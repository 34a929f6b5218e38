#include "utils/WindowsVersion.h"

bool isVersionBelow(const OsVersion& version, std::uint32_t major, std::uint32_t minor) {
  return version.major < major || (version.major == major && version.minor < minor);
}
