#include "support/TestEnvironment.h"

#include <windows.h>

#include <filesystem>

#include "utils/Handles_win.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"

void IsolatedTest::SetUp() {
  static unsigned counter = 0;
  const std::wstring base = tempDirectory() + L"qm-test-" +
                            std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++counter);
  std::filesystem::create_directories(std::filesystem::path(base));
  folder_ = toUtf8(base);
}

void IsolatedTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::u8path(folder_), ignored);
}

void deleteRegistryTree(RegistryRoot root, const std::wstring& keyPath) {
  const HKEY rootKey = root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(rootKey, keyPath.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  {
    const UniqueRegistryKey owned(key);
    ::RegDeleteTreeW(owned.get(), nullptr);
  }
  ::RegDeleteKeyExW(rootKey, keyPath.c_str(), KEY_WOW64_32KEY, 0);
}
