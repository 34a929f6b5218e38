// Facts about the machine that the telemetry events carry: the Windows product name, the
// physical memory, the compatibility layer set on the program, sizes as text and the local time.
#pragma once

#include <cstdint>
#include <string>

#include "utils/WindowsVersion.h"

// The fields of the platform's memory status record that the events report (MEMORYSTATUSEX on
// Windows).
struct MemoryStatus {
  std::uint32_t load = 0;              // percent of physical memory in use
  std::uint64_t totalPhysical = 0;     // bytes
  std::uint64_t availablePhysical = 0; // bytes
};

// The product name of a Windows version ("Windows 10", "Windows Server 2012 R2", ...) from its
// major and minor version and product type; "Unknown Windows" for versions it does not know.
std::string windowsVersionName(const OsVersion& version);

// The memory status now; zero figures when the platform cannot tell.
MemoryStatus queryMemoryStatus();

// The compatibility layers that the user or the system has set for this program's executable
// (for example "WIN7RTM"), as the registry holds them; empty when none is set or on failure.
std::wstring emulatedWindowsVersion();

// A byte count in the largest binary unit it reaches: "1 KiB", "1.5 KiB", "15.8 GiB"; an exact
// multiple without a decimal point, anything else with one digit after it; "0" for 0.
std::string formatSize(std::uint64_t bytes);

// The wall clock as local time, "YYYY-MM-DDThh:mm:ss" followed by the UTC offset as +hhmm or
// -hhmm (24 characters).
std::string localTimeText();
