#include "utils/SystemDownload.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "utils/Paths.h"

namespace {

class SystemDownload : public IsolatedTest {};

TEST_F(SystemDownload, FailuresWithoutAServerAreReported) {
  const std::wstring target = joinPath(wideFolder(), L"file.bin");
  // Nothing listens on port 9 of the loopback address; nothing resolves under .invalid.
  EXPECT_NE(systemAttempt(L"http://127.0.0.1:9/x", target, {}), 0);
  EXPECT_NE(systemAttempt(L"http://no-such-host.invalid/x", target, {}), 0);
}

} // namespace
