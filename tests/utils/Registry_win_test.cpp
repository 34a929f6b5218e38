#include "utils/Registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "utils/Handles_win.h"

namespace {

const std::wstring kKey = L"Software\\Quillworks\\RegistryViewTest";

// The stored type and byte count of a value, read from the given registry view.
bool queryStored(REGSAM view, DWORD& type, DWORD& bytes) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_READ | view, &opened) !=
      ERROR_SUCCESS) {
    return false;
  }
  const UniqueRegistryKey key(opened);
  return ::RegQueryValueExW(key.get(), L"Value", nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS;
}

TEST(RegistryOnWindows, WritesRegSzAndReadsValuesStoredWithoutAZero) {
  deleteRegistryTree(RegistryRoot::CurrentUser, kKey);
  writeRegistryString(RegistryRoot::CurrentUser, kKey, L"Value", L"abcd");
  DWORD type = 0, bytes = 0;
  ASSERT_TRUE(queryStored(KEY_WOW64_32KEY, type, bytes));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  // The length passed counts no terminating zero; NT appends one itself when the unit after the
  // data is zero, as it is after a string's text.
  EXPECT_TRUE(bytes == 8u || bytes == 10u) << bytes;
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, kKey, L"Value"), L"abcd");

  // A value truly stored without a zero (the unit after the data is not zero) reads the same.
  HKEY opened = nullptr;
  ASSERT_EQ(
      ::RegOpenKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_WRITE | KEY_WOW64_32KEY, &opened),
      ERROR_SUCCESS);
  const UniqueRegistryKey key(opened);
  const wchar_t unterminated[] = L"efghX";
  ::RegSetValueExW(key.get(), L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), 8);
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, kKey, L"Bare"), L"efgh");
  deleteRegistryTree(RegistryRoot::CurrentUser, kKey);
}

TEST(RegistryOnWindows, UsesThe32BitViewOfLocalMachineSoftware) {
  const std::wstring key = L"SOFTWARE\\Quillworks\\RegistryViewTest";
  deleteRegistryTree(RegistryRoot::LocalMachine, key);
  writeRegistryString(RegistryRoot::LocalMachine, key, L"Value", L"32");
  HKEY opened = nullptr;
  ASSERT_EQ(
      ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened),
      ERROR_SUCCESS);
  UniqueRegistryKey view32(opened);
  BOOL wow64 = FALSE;
  ::IsWow64Process(::GetCurrentProcess(), &wow64);
  if (wow64) {
    // On 64-bit Windows the 64-bit view must not see what was written to the 32-bit one.
    opened = nullptr;
    EXPECT_NE(
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened),
        ERROR_SUCCESS);
    UniqueRegistryKey view64(opened);
  }
  EXPECT_EQ(readRegistryString(RegistryRoot::LocalMachine, key, L"Value"), L"32");
  deleteRegistryTree(RegistryRoot::LocalMachine, key);
}

} // namespace
