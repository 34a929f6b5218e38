#include "events/SystemInfo.h"

#include <windows.h>

#include "utils/Paths.h"
#include "utils/Registry.h"

MemoryStatus queryMemoryStatus() {
  MEMORYSTATUSEX record = {};
  record.dwLength = sizeof(record);
  MemoryStatus status;
  if (::GlobalMemoryStatusEx(&record)) {
    status.load = record.dwMemoryLoad;
    status.totalPhysical = record.ullTotalPhys;
    status.availablePhysical = record.ullAvailPhys;
  }
  return status;
}

std::wstring emulatedWindowsVersion() {
  // Without a leading backslash: the registry refuses a key path that begins with one.
  return readRegistryString(
      RegistryRoot::CurrentUser,
      L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers", modulePath());
}
