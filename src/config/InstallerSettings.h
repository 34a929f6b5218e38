// The optional installer.ini beside the program: the raw values that switch the update channel and
// the back-end environment.
#pragma once

#include <string>

// The two raw values of the file's section "INSTALLER", each empty when absent.
struct InstallerSettings {
  std::wstring updateChannel; // key "updateChannel"
  std::wstring environment;   // key "environment"
};

// The longest value a read returns, in UTF-16 units (a buffer of 1024 with its terminating zero);
// longer values are cut to this many.
constexpr std::size_t kInstallerSettingMaxChars = 1023;

// "installer.ini" beside the program's own executable: joinPath(moduleDirectory(), ...). Never the
// current directory.
std::wstring installerIniPath();
// "installer.ini" in `programDirectory`, whose trailing separators are dropped (joinPath).
std::wstring installerIniPath(const std::wstring& programDirectory);

// Reads "updateChannel" and then "environment" from section "INSTALLER" of the file at `path`
// (GetPrivateProfileStringW without a default). A missing file, section or key gives an empty
// value; nothing is reported.
InstallerSettings readInstallerSettings(const std::wstring& path);
