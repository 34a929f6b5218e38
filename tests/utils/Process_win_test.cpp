#include "utils/Process.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

namespace {

TEST(ProcessOnWindows, ExitCodesAboveIntMaxStayUnsigned) {
  const std::wstring program = L"\"" + helperProgram(L"exit_with") + L"\"";
  EXPECT_EQ(runProcessAndWait(program + L" 2147483648"), 2147483648u);
  EXPECT_EQ(runProcessAndWait(program + L" 4294967295"), 4294967295u);
}

} // namespace
