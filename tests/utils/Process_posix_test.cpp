#include "utils/Process.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "utils/TextConversion.h"

namespace {

// POSIX exit statuses are 8 bits wide; a program ended by a signal reports 128 + the signal.
TEST(ProcessOnPosix, SignalsReadAsAShellReportsThem) {
  EXPECT_EQ(runProcessAndWait(L"sh -c \"kill -TERM $$\""), 128u + 15u);
  EXPECT_EQ(runProcessAndWait(L"sh -c \"exit 300\""), 300u % 256u);
}

} // namespace

namespace {

class ProcessStandIn : public IsolatedTest {};

// A downloaded program has no execute bit; Windows would run it all the same.
TEST_F(ProcessStandIn, RunsAProgramFileWithoutItsExecuteBit) {
  const std::string copy = folder() + "/setup with blanks.exe";
  writeFile(copy, readFile(toUtf8(helperProgram(L"exit_with"))));
  EXPECT_EQ(runProcessAndWait(L"\"" + toUtf16(copy) + L"\" 42"), 42u);
}

} // namespace
