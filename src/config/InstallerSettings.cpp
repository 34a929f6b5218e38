#include "config/InstallerSettings.h"

#include "utils/Paths.h"

std::wstring installerIniPath() { return installerIniPath(moduleDirectory()); }

std::wstring installerIniPath(const std::wstring& programDirectory) {
  return joinPath(programDirectory, L"installer.ini");
}
