// The registry keys and values that the installer shares with the client. Keys are relative to
// the root named where they are used; every access goes through utils/Registry.h (32-bit view).
#pragma once

#include <string>

namespace RegistryKeys {
// "SOFTWARE\Quillworks\QuillmereClient\MainApp": the client's own key.
extern const std::wstring mainKey;
// "SOFTWARE\Quillworks\ZellClient\MainApp": the key of the client's earlier name, read only.
extern const std::wstring legacyKey;
// The uninstall entry that the client setup creates under HKEY_LOCAL_MACHINE, read only.
extern const std::wstring uninstallKey;

extern const wchar_t* const installationIdValue;  // "InstallationId"
extern const wchar_t* const googleClientIdValue;  // "GoogleClientId"
extern const wchar_t* const installLocationValue; // "InstallLocation"

// The client's executable in its installation directory.
extern const wchar_t* const clientExecutableName; // "qmclient.exe"
} // namespace RegistryKeys
