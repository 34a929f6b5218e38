// The operating-system version and the two tests that refuse old Windows systems.
#pragma once

#include <cstdint>

// The fields of the platform's version record that the installer reads (on Windows those of
// OSVERSIONINFOEXW as RtlGetVersion fills it; on POSIX the kernel's release numbers).
struct OsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint16_t servicePackMajor = 0;
  std::uint16_t servicePackMinor = 0;
  std::uint8_t productType = 0; // 1: workstation (VER_NT_WORKSTATION); anything else: a server
};

// The running system's version; all fields 0 when it cannot be read.
OsVersion queryOsVersion();

// True when `version` is below major.minor (a record of zeros is below everything but 0.0).
bool isVersionBelow(const OsVersion& version, std::uint32_t major, std::uint32_t minor);

// True on Windows below 6.1, and when the version cannot be read. A POSIX system is never older.
bool isOlderThanWindows7();

// True on Windows below 6.0, and when the version cannot be read. A POSIX system is never older.
bool isOlderThanVista();
