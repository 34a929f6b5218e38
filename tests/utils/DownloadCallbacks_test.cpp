#include "utils/DownloadCallbacks.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "utils/Clock.h"

namespace {

TEST(DownloadCallbacks, CacheHeadersGiveTheirFirstAndThirdWords) {
  const struct {
    std::vector<std::string> lines;
    DownloadMetrics expected;
  } cases[] = {
      {{"x-cache: TCP_HIT from a1-2-3-4.deploy.example (AkamaiGHost/10) (-)\r\n"},
       {"a1-2-3-4.deploy.example", "TCP_HIT", "", "", 0}},
      {{"X-Cache-Remote: TCP_MISS from edge.example (x)\r\n"},
       {"", "", "edge.example", "TCP_MISS", 0}},
      {{"X-CACHE:   HIT from srv   \r\n"}, {"srv", "HIT", "", "", 0}},
      // Fewer than three words leave the missing ones empty; the line end is no word.
      {{"x-cache: TCP_HIT\r\n"}, {"", "TCP_HIT", "", "", 0}},
      {{"x-cache: TCP_HIT from\r\n"}, {"", "TCP_HIT", "", "", 0}},
      {{"x-cache:\r\n"}, {"", "", "", "", 0}},
      // A value is cut at its first colon.
      {{"x-cache: MISS from host:8080 (x)\r\n"}, {"host", "MISS", "", "", 0}},
      // The status line, other headers and the blank line change nothing; a later header wins.
      {{"HTTP/1.1 200 OK\r\n", "Content-Length: 5\r\n", "x-cache: A from one\r\n",
        "x-cache: B from two\r\n", "\r\n"},
       {"two", "B", "", "", 0}},
      {{"x-cache-remotely: HIT from no\r\n", "xx-cache: HIT from no\r\n"}, {}},
  };
  for (const auto& c : cases) {
    DownloadMetrics metrics;
    for (const std::string& line : c.lines) {
      readCacheHeader(line, metrics);
    }
    EXPECT_EQ(metrics.x_cache, c.expected.x_cache) << c.lines.back();
    EXPECT_EQ(metrics.x_cache_type, c.expected.x_cache_type) << c.lines.back();
    EXPECT_EQ(metrics.x_cache_remote, c.expected.x_cache_remote) << c.lines.back();
    EXPECT_EQ(metrics.x_cache_remote_type, c.expected.x_cache_remote_type) << c.lines.back();
  }
}

TEST(DownloadCallbacks, HeaderCallbackAlwaysTakesTheWholeLine) {
  DownloadMetrics metrics;
  char line[] = "x-cache: HIT from srv\r\n";
  EXPECT_EQ(onHeaderLine(line, 1, sizeof(line) - 1, &metrics), sizeof(line) - 1);
  EXPECT_EQ(metrics.x_cache, "srv");
}

class TransferProgressTest : public ::testing::Test {
protected:
  TransferProgressTest() {
    hooks.closeRequested = [this] { return closeRequested; };
    hooks.setProgressPercent = [this](float percent) { percents.push_back(percent); };
    progress.callback = [this](std::uint32_t done, std::uint32_t total) {
      reports.emplace_back(done, total);
    };
    progress.limits = &limits;
    progress.hooks = &hooks;
    progress.lastReportTick = tickCountMs();
  }
  int report(curl_off_t total, curl_off_t now) {
    return onTransferProgress(&progress, total, now, 0, 0);
  }

  DownloadLimits limits;
  DownloadHooks hooks;
  TransferProgress progress;
  bool closeRequested = false;
  std::vector<float> percents;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> reports;
};

TEST_F(TransferProgressTest, ReportsAreThrottledButTheWholeFilePassesAtOnce) {
  limits.progressIntervalMs = 60000;
  EXPECT_EQ(report(100, 10), 0);
  EXPECT_EQ(report(100, 50), 0);
  EXPECT_TRUE(reports.empty());
  EXPECT_FALSE(progress.complete);
  EXPECT_EQ(report(100, 100), 0);
  EXPECT_EQ(reports, (decltype(reports){{100, 100}}));
  EXPECT_TRUE(progress.complete);
}

TEST_F(TransferProgressTest, EveryReportPassesOnceTheIntervalIsOver) {
  limits.progressIntervalMs = 0;
  report(0, 0);
  report(100, 10);
  EXPECT_EQ(reports, (decltype(reports){{0, 0}, {10, 100}}));
  // The last report passed on decides whether the file counts as whole.
  EXPECT_FALSE(progress.complete);
  // A body without a length: total 0, done above it.
  report(0, 300);
  EXPECT_FALSE(progress.complete);
}

TEST_F(TransferProgressTest, TheCloseRequestAbortsAndEmptiesTheBar) {
  closeRequested = true;
  EXPECT_EQ(report(100, 100), 1);
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(percents, std::vector<float>{0.0f});
}

} // namespace
