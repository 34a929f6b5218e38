#include "ui/ProgressWindowPercent.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(ProgressWindowPercent, BarPositionIsClampedAndTruncated) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  const struct {
    float percent;
    int position;
  } cases[] = {
      {99.9f, 99},     {250.0f, 100},
      {-3.0f, 0},      {0.0f, 0},
      {100.0f, 100},   {50.99f, 50},
      {-0.5f, 0},      {kInfinity, 100},
      {-kInfinity, 0}, {std::numeric_limits<float>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(progressBarPosition(c.percent), c.position) << c.percent;
  }
}

TEST(ProgressWindowPercent, DownloadReportsDivideByAtLeastOne) {
  const struct {
    std::uint32_t done, total;
    int position;
  } cases[] = {
      {512, 1024, 50}, {5, 0, 100}, {5, 1, 100}, {0, 0, 0}, {1, 3, 33}, {1024, 1024, 100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(progressBarPosition(transferPercent(c.done, c.total)), c.position)
        << c.done << " of " << c.total;
  }
}

TEST(ProgressWindowPercent, SetupMessagesKeepTheBarInRange) {
  const struct {
    std::uint32_t done;
    std::int32_t total;
    int position;
  } cases[] = {
      {3, 4, 75}, {7, 0, 0}, {0, 0, 0}, {10, 10, 100}, {5, -10, 0}, {20, 10, 100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(progressBarPosition(setupMessagePercent(c.done, c.total)), c.position)
        << c.done << " of " << c.total;
  }
}

} // namespace
