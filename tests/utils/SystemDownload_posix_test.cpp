#include "utils/SystemDownload.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "utils/Paths.h"

namespace {

class SystemDownloadStandIn : public IsolatedTest {};

TEST_F(SystemDownloadStandIn, MapsWgetFailuresOntoTheSystemResults) {
  const std::wstring target = joinPath(wideFolder(), L"file.bin");
  EXPECT_EQ(systemAttempt(L"http://no-such-host.invalid/x", target, {}), kResourceNotFound);
  EXPECT_EQ(systemAttempt(L"http://127.0.0.1:9/x", target, {}), kDownloadFailure);
}

} // namespace
