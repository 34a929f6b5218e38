#include "utils/Process.h"

#include <gtest/gtest.h>

namespace {

// POSIX exit statuses are 8 bits wide; a program ended by a signal reports 128 + the signal.
TEST(ProcessOnPosix, SignalsReadAsAShellReportsThem) {
  EXPECT_EQ(runProcessAndWait(L"sh -c \"kill -TERM $$\""), 128u + 15u);
  EXPECT_EQ(runProcessAndWait(L"sh -c \"exit 300\""), 300u % 256u);
}

} // namespace
