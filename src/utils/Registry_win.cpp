#include "utils/Registry.h"

#include <windows.h>

#include "utils/Handles_win.h"

namespace {

HKEY rootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

} // namespace

std::wstring readRegistryString(RegistryRoot root, const std::wstring& keyPath,
                                const std::wstring& name) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(rootKey(root), keyPath.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &opened) !=
      ERROR_SUCCESS) {
    return {};
  }
  const UniqueRegistryKey key(opened);
  wchar_t buffer[kRegistryValueMaxChars + 1] = {};
  DWORD size = sizeof(buffer); // bytes
  if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS) {
    return {};
  }
  buffer[kRegistryValueMaxChars] = L'\0';
  return std::wstring(buffer);
}

void writeRegistryString(RegistryRoot root, const std::wstring& keyPath, const std::wstring& name,
                         const std::wstring& value) {
  HKEY created = nullptr;
  if (::RegCreateKeyExW(rootKey(root), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE | KEY_WOW64_32KEY, nullptr, &created, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const UniqueRegistryKey key(created);
  const auto bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   bytes);
}
