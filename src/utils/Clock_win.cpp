#include "utils/Clock.h"

#include <windows.h>

namespace {

// FILETIME counts from 1601-01-01; this many 100 ns units lie between that and 1970-01-01.
constexpr std::int64_t kUnixEpochIn100ns = 116444736000000000LL;

using PreciseTimeFunction = VOID(WINAPI*)(LPFILETIME);

// Looked up once: a static import would keep the program from loading on Windows 7.
PreciseTimeFunction preciseTimeFunction() {
  static const PreciseTimeFunction function = [] {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<PreciseTimeFunction>(reinterpret_cast<void*>(
                        ::GetProcAddress(kernel, "GetSystemTimePreciseAsFileTime")))
                  : nullptr;
  }();
  return function;
}

} // namespace

std::int64_t systemTime100ns() {
  FILETIME now = {};
  if (const PreciseTimeFunction precise = preciseTimeFunction()) {
    precise(&now);
  } else {
    ::GetSystemTimeAsFileTime(&now);
  }
  const auto ticks = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return ticks - kUnixEpochIn100ns;
}

std::uint32_t tickCountMs() { return ::GetTickCount(); }

bool localCalendarTime(std::time_t seconds, std::tm& out) {
  return ::localtime_s(&out, &seconds) == 0;
}

long utcOffsetMinutes(const std::tm& local) {
  TIME_ZONE_INFORMATION zone = {};
  const DWORD kind = ::GetTimeZoneInformation(&zone);
  if (kind == TIME_ZONE_ID_INVALID) {
    return 0;
  }
  // Bias is minutes west of UTC; the standard or daylight bias is added as `local` says.
  return -(zone.Bias + (local.tm_isdst > 0 ? zone.DaylightBias : zone.StandardBias));
}
