// Stands in for the Windows clocks with clock_gettime and localtime_r.
#include "utils/Clock.h"

#include <time.h>

std::int64_t systemTime100ns() {
  timespec now = {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 10000000 + now.tv_nsec / 100;
}

std::uint32_t tickCountMs() {
  timespec now = {};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000 +
                            static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
  return static_cast<std::uint32_t>(milliseconds);
}

bool localCalendarTime(std::time_t seconds, std::tm& out) {
  return ::localtime_r(&seconds, &out) != nullptr;
}

long utcOffsetMinutes(const std::tm& local) { return local.tm_gmtoff / 60; }
