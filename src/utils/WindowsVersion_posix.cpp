// Stands in for RtlGetVersion with the kernel's release numbers from uname; a Linux system is
// never older than Windows 7.
#include "utils/WindowsVersion.h"

#include <sys/utsname.h>

#include <cstdio>

OsVersion queryOsVersion() {
  OsVersion version;
  utsname name = {};
  if (::uname(&name) == 0) {
    unsigned major = 0, minor = 0, build = 0;
    if (std::sscanf(name.release, "%u.%u.%u", &major, &minor, &build) >= 2) {
      version.major = major;
      version.minor = minor;
      version.build = build;
      version.productType = 1;
    }
  }
  return version;
}

bool isOlderThanWindows7() { return false; }

bool isOlderThanVista() { return false; }
