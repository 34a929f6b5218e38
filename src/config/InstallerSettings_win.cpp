#include "config/InstallerSettings.h"

#include <windows.h>

#include <algorithm>

namespace {

std::wstring readSetting(const std::wstring& path, const wchar_t* key) {
  wchar_t buffer[kInstallerSettingMaxChars + 1] = {};
  const DWORD length = ::GetPrivateProfileStringW(L"INSTALLER", key, nullptr, buffer,
                                                  kInstallerSettingMaxChars + 1, path.c_str());
  return std::wstring(buffer, std::min<std::size_t>(length, kInstallerSettingMaxChars));
}

} // namespace

InstallerSettings readInstallerSettings(const std::wstring& path) {
  InstallerSettings settings;
  settings.updateChannel = readSetting(path, L"updateChannel");
  settings.environment = readSetting(path, L"environment");
  return settings;
}
