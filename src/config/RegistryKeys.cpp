#include "config/RegistryKeys.h"

#include "ProductNames.h"

namespace {

// The client setup's application identifier, lower case, as its uninstall entry is named.
const wchar_t* const kClientSetupAppId = L"5e1f0c3a-9b7d-4c2e-8a61-3f4d2b9c7e05";

} // namespace

namespace RegistryKeys {
const std::wstring mainKey =
    std::wstring(L"SOFTWARE\\") + kCompanyName + L"\\" + kProductKeyName + L"\\MainApp";
const std::wstring legacyKey =
    std::wstring(L"SOFTWARE\\") + kCompanyName + L"\\ZellClient\\MainApp";
const std::wstring uninstallKey =
    std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{") +
    kClientSetupAppId + L"}_is1";

const wchar_t* const installationIdValue = L"InstallationId";
const wchar_t* const googleClientIdValue = L"GoogleClientId";
const wchar_t* const installLocationValue = L"InstallLocation";
const wchar_t* const clientExecutableName = L"qmclient.exe";
} // namespace RegistryKeys
