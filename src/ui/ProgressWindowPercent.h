// The arithmetic of the progress bar, shared by both platforms' windows: percentages from the two
// kinds of progress report, and the bar position of a percentage.
#pragma once

#include <cstdint>

// The bar position (0..100) of `percent`: clamped to 0..100, then truncated toward zero. A NaN
// gives 0.
int progressBarPosition(float percent);

// The percentage of a download's report, `done` of `total` bytes, in 32-bit floating point: the
// total is taken as signed and at least 1, so 0 and 1 both divide by 1.
float transferPercent(std::uint32_t done, std::uint32_t total);

// The percentage of the client setup's progress message: `done` (wParam) of `total` (lParam,
// signed). A total of 0 gives 0 rather than dividing by zero.
float setupMessagePercent(std::uint32_t done, std::int32_t total);
