#include "utils/Process.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/TestEnvironment.h"

namespace {

std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

TEST(Process, ReturnsTheExitCode) {
  const std::wstring program = quoted(helperProgram(L"exit_with"));
  EXPECT_EQ(runProcessAndWait(program + L" 0"), 0u);
  EXPECT_EQ(runProcessAndWait(program + L" 2"), 2u);
  EXPECT_EQ(runProcessAndWait(program + L" 99"), 99u);
}

TEST(Process, AProgramThatDoesNotExistGivesZero) {
  EXPECT_EQ(runProcessAndWait(L"/no/such/program/anywhere.exe /VERYSILENT"), 0u);
  EXPECT_EQ(runProcessAndWait(L""), 0u);
}

TEST(Process, ShellRefusalThrowsCouldNotStart) {
  try {
    shellOpen(L"qmnoscheme-unregistered://start");
    FAIL() << "the shell opened an unregistered scheme";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "CouldNotStart");
  }
}

TEST(CommandLine, SplitsByTheWindowsRules) {
  using Args = std::vector<std::wstring>;
  const struct {
    std::wstring line;
    Args arguments;
  } cases[] = {
      {L"", {}},
      {L"   ", {}},
      {L"C:\\Temp\\QuillmereLoginSetup.exe /VERYSILENT /SUPPRESSMSGBOXES",
       {L"C:\\Temp\\QuillmereLoginSetup.exe", L"/VERYSILENT", L"/SUPPRESSMSGBOXES"}},
      {L"\"C:\\Users\\First Last\\Temp\\setup.exe\"  /startedFromQsl\t/host=1312",
       {L"C:\\Users\\First Last\\Temp\\setup.exe", L"/startedFromQsl", L"/host=1312"}},
      {L"a\\\\b c\\", {L"a\\\\b", L"c\\"}},
      {L"\"a\\\\\" b", {L"a\\", L"b"}},
      {L"a\\\"b", {L"a\"b"}},
      {L"\"x \"\"y\"\" z\"", {L"x \"y\" z"}},
      {L"\"\"", {L""}},
      {L"one\"two three\"four", {L"onetwo threefour"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(splitCommandLine(c.line), c.arguments) << testing::PrintToString(c.line.size());
  }
}

} // namespace
