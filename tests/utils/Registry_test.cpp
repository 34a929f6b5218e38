#include "utils/Registry.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

namespace {

const std::wstring kKey = L"Software\\Quillworks\\RegistryTest";

class Registry : public IsolatedTest {
protected:
  void SetUp() override {
    IsolatedTest::SetUp();
    deleteRegistryTree(RegistryRoot::CurrentUser, kKey);
  }
  void TearDown() override {
    deleteRegistryTree(RegistryRoot::CurrentUser, kKey);
    IsolatedTest::TearDown();
  }
};

TEST_F(Registry, ValuesReadBackUnchanged) {
  const std::wstring values[] = {
      L"0b6f1c3e-1f2a-4d5e-9c8b-7a6f5e4d3c2b",
      L"",
      L"\u00E4\u00F6\u00FC \u05E9\u05DC\u05D5\u05DD",
      std::wstring(259, L'x'),
  };
  for (const std::wstring& value : values) {
    writeRegistryString(RegistryRoot::CurrentUser, kKey, L"Value", value);
    EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, kKey, L"Value"), value);
  }
}

TEST_F(Registry, NamesCompareWithoutRegardToCase) {
  writeRegistryString(RegistryRoot::CurrentUser, kKey + L"\\Sub Key", L"InstallationId", L"id");
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser,
                               L"SOFTWARE\\quillworks\\registrytest\\SUB KEY", L"installationid"),
            L"id");
}

TEST_F(Registry, MissingKeysAndValuesReadAsEmpty) {
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, kKey, L"Value"), L"");
  writeRegistryString(RegistryRoot::CurrentUser, kKey, L"Other", L"x");
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, kKey, L"Value"), L"");
  EXPECT_EQ(readRegistryString(RegistryRoot::LocalMachine, kKey, L"Other"), L"");
}

TEST_F(Registry, ReadsStopAtTheBufferAndAtAZero) {
  // The 520-byte read buffer holds 259 characters and the zero that the registry stores after a
  // string written without one; a longer value does not fit and reads as empty.
  writeRegistryString(RegistryRoot::CurrentUser, kKey, L"Full", std::wstring(260, L'y'));
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, kKey, L"Full"), L"");
  writeRegistryString(RegistryRoot::CurrentUser, kKey, L"Long", std::wstring(300, L'z'));
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, kKey, L"Long"), L"");
  writeRegistryString(RegistryRoot::CurrentUser, kKey, L"Zero", std::wstring(L"ab\0cd", 5));
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, kKey, L"Zero"), L"ab");
}

TEST_F(Registry, KeyPathsWithEmptyComponentsAreRefused) {
  writeRegistryString(RegistryRoot::CurrentUser, L"\\" + kKey, L"Value", L"x");
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, kKey, L"Value"), L"");
  writeRegistryString(RegistryRoot::CurrentUser, kKey, L"Value", L"y");
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, L"\\" + kKey, L"Value"), L"");
}

} // namespace
