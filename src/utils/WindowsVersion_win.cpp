#include "utils/WindowsVersion.h"

#include <windows.h>

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);

} // namespace

OsVersion queryOsVersion() {
  OSVERSIONINFOEXW record = {};
  record.dwOSVersionInfoSize = sizeof(record);
  // ntdll is mapped into every process; its handle is only looked up, never loaded or freed.
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  const auto rtlGetVersion =
      ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                  reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
            : nullptr;
  if (rtlGetVersion) {
    rtlGetVersion(&record);
  }
  OsVersion version;
  version.major = record.dwMajorVersion;
  version.minor = record.dwMinorVersion;
  version.build = record.dwBuildNumber;
  version.servicePackMajor = record.wServicePackMajor;
  version.servicePackMinor = record.wServicePackMinor;
  version.productType = record.wProductType;
  return version;
}

bool isOlderThanWindows7() { return isVersionBelow(queryOsVersion(), 6, 1); }

bool isOlderThanVista() { return isVersionBelow(queryOsVersion(), 6, 0); }
