#include "utils/DownloadStatus_win.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Report = std::pair<std::uint32_t, std::uint32_t>;

struct Notification {
  ULONG progress, max, status;
};

TEST(DownloadStatus, CompletesOnlyWithAFullEndOfData) {
  const struct {
    std::vector<Notification> notifications;
    bool completed;
  } cases[] = {
      {{}, false},
      {{{10, 10, BINDSTATUS_DOWNLOADINGDATA}}, false},
      {{{10, 10, BINDSTATUS_ENDDOWNLOADDATA}}, true},
      {{{7, 10, BINDSTATUS_ENDDOWNLOADDATA}}, false},
      // The last end-of-data notification counts.
      {{{7, 10, BINDSTATUS_ENDDOWNLOADDATA}, {10, 10, BINDSTATUS_ENDDOWNLOADDATA}}, true},
      {{{10, 10, BINDSTATUS_ENDDOWNLOADDATA}, {5, 10, BINDSTATUS_ENDDOWNLOADDATA}}, false},
      // A server without a length reports 0 as the maximum.
      {{{0, 0, BINDSTATUS_ENDDOWNLOADDATA}}, true},
  };
  for (const auto& c : cases) {
    DownloadStatus status{ProgressCallback()};
    for (const Notification& n : c.notifications) {
      EXPECT_EQ(status.OnProgress(n.progress, n.max, n.status, L""), S_OK);
    }
    EXPECT_EQ(status.completed(), c.completed) << c.notifications.size();
  }
}

TEST(DownloadStatus, PassesEveryDataNotificationOnUnthrottled) {
  std::vector<Report> reports;
  DownloadStatus status(
      [&](std::uint32_t done, std::uint32_t total) { reports.emplace_back(done, total); });
  status.OnProgress(0, 0, BINDSTATUS_CONNECTING, L"host");
  status.OnProgress(1, 100, BINDSTATUS_DOWNLOADINGDATA, nullptr);
  status.OnProgress(2, 100, BINDSTATUS_DOWNLOADINGDATA, nullptr);
  status.OnProgress(100, 100, BINDSTATUS_ENDDOWNLOADDATA, nullptr);
  EXPECT_EQ(reports, (std::vector<Report>{{1, 100}, {2, 100}}));
  EXPECT_TRUE(status.completed());
}

TEST(DownloadStatus, AnswersNothingElse) {
  DownloadStatus status{ProgressCallback()};
  void* out = &status;
  EXPECT_EQ(status.QueryInterface(IID_IUnknown, &out), E_NOTIMPL);
  EXPECT_EQ(out, &status);
  EXPECT_EQ(status.AddRef(), 0u);
  EXPECT_EQ(status.Release(), 0u);
  EXPECT_EQ(status.OnStartBinding(0, nullptr), E_NOTIMPL);
  EXPECT_EQ(status.GetBindInfo(nullptr, nullptr), E_NOTIMPL);
}

} // namespace
