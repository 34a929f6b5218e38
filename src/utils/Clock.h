// The clocks the installer reads: the wall clock, a millisecond tick and local calendar time.
#pragma once

#include <cstdint>
#include <ctime>

// The wall clock in 100-nanosecond units since 1970-01-01 00:00 UTC, as precise as the platform
// offers (GetSystemTimePreciseAsFileTime where it exists, which is Windows 8 and later).
std::int64_t systemTime100ns();

// A millisecond tick that starts at an arbitrary point and wraps at 2^32 (GetTickCount).
std::uint32_t tickCountMs();

// `seconds` since 1970 as local calendar time with the machine's time zone and daylight saving
// rules; false when the platform cannot convert it.
bool localCalendarTime(std::time_t seconds, std::tm& out);

// The offset of `local` (from localCalendarTime) from UTC in minutes, east positive.
long utcOffsetMinutes(const std::tm& local);
