// Stands in for the Windows memory status with sysinfo; Linux has no compatibility layers.
#include "events/SystemInfo.h"

#include <sys/sysinfo.h>

MemoryStatus queryMemoryStatus() {
  MemoryStatus status;
  struct sysinfo facts = {};
  if (::sysinfo(&facts) == 0 && facts.totalram > 0) {
    const std::uint64_t unit = facts.mem_unit ? facts.mem_unit : 1;
    status.totalPhysical = static_cast<std::uint64_t>(facts.totalram) * unit;
    status.availablePhysical = static_cast<std::uint64_t>(facts.freeram + facts.bufferram) * unit;
    status.load =
        static_cast<std::uint32_t>(100 - status.availablePhysical * 100 / status.totalPhysical);
  }
  return status;
}

std::wstring emulatedWindowsVersion() { return {}; }
