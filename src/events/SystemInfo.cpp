#include "events/SystemInfo.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "utils/Clock.h"

std::string windowsVersionName(const OsVersion& version) {
  struct Name {
    std::uint32_t major, minor;
    const char* workstation;
    const char* server;
  };
  static const Name names[] = {
      {10, 0, "Windows 10", "Windows Server 2016"},
      {6, 3, "Windows 8.1", "Windows Server 2012 R2"},
      {6, 2, "Windows 8", "Windows Server 2012"},
      {6, 1, "Windows 7", "Windows Server 2008 R2"},
      {6, 0, "Windows Vista", "Windows Server 2008"},
  };
  if (version.major == 5) {
    return "Windows XP";
  }
  for (const Name& name : names) {
    if (version.major == name.major && version.minor == name.minor) {
      return version.productType == 1 ? name.workstation : name.server;
    }
  }
  return "Unknown Windows";
}

std::string formatSize(std::uint64_t bytes) {
  static const char* const units[] = {"EiB", "PiB", "TiB", "GiB", "MiB", "KiB", "B"};
  std::size_t index = 0;
  std::uint64_t divisor = 1ull << 60;
  while (bytes < divisor) {
    divisor >>= 10;
    if (++index == 7) {
      return "0";
    }
  }
  char text[20] = {};
  if (bytes % divisor == 0) {
    std::snprintf(text, sizeof(text), "%llu %s", static_cast<unsigned long long>(bytes / divisor),
                  units[index]);
  } else {
    std::snprintf(text, sizeof(text), "%.1f %s",
                  static_cast<double>(bytes) / static_cast<double>(divisor), units[index]);
  }
  return text;
}

std::string localTimeText() {
  const auto seconds = static_cast<std::time_t>(systemTime100ns() / 10000000);
  std::tm local = {};
  if (!localCalendarTime(seconds, local)) {
    return "0000-00-00T00:00:00+0000";
  }
  // Formatted by hand: the Windows C runtime writes %z as the zone's name, not as an offset.
  const long offset = utcOffsetMinutes(local);
  char text[64] = {};
  std::snprintf(text, sizeof(text), "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld%02ld",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, offset < 0 ? '-' : '+', std::labs(offset) / 60,
                std::labs(offset) % 60);
  return text;
}
