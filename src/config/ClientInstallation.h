// Whether the client is installed, judged by its uninstall entry and its executable.
#pragma once

#include <string>

// "InstallLocation" of the client's uninstall entry under HKEY_LOCAL_MACHINE (HKEY_CURRENT_USER
// is not consulted); empty when there is none.
std::wstring clientInstallLocation();

// True exactly when clientInstallLocation() is not empty and "qmclient.exe" exists in it
// (joinPath, so a trailing separator of the location does not double).
bool isClientInstalled();
