#include "ui/ProgressWindowPercent.h"

#include <algorithm>
#include <cmath>

int progressBarPosition(float percent) {
  if (std::isnan(percent)) {
    return 0;
  }
  return static_cast<int>(std::clamp(percent, 0.0f, 100.0f));
}

float transferPercent(std::uint32_t done, std::uint32_t total) {
  const std::int32_t divisor = std::max(static_cast<std::int32_t>(total), std::int32_t{1});
  return static_cast<float>(done) / static_cast<float>(divisor) * 100.0f;
}

float setupMessagePercent(std::uint32_t done, std::int32_t total) {
  if (total == 0) {
    return 0.0f;
  }
  return static_cast<float>(done) / static_cast<float>(total) * 100.0f;
}
