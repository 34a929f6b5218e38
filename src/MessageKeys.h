// The names of every text the installer shows: errors, a notice, statuses and two titles. A
// failure of the run is a std::runtime_error whose message is its key and nothing else.
#pragma once

#include <string>

// A key: ASCII letters naming one localized text, compared by exact text.
using MessageKey = std::wstring;

namespace MessageKeys {
// Errors.
inline constexpr const wchar_t* ConnectionError = L"ConnectionError";
inline constexpr const wchar_t* DownloadFailed = L"DownloadFailed";
inline constexpr const wchar_t* CouldNotInstall = L"CouldNotInstall";
inline constexpr const wchar_t* CouldNotInstallUac = L"CouldNotInstallUac";
inline constexpr const wchar_t* SingleInstanceOnly = L"SingleInstanceOnly";
inline constexpr const wchar_t* CouldNotStart = L"CouldNotStart";
inline constexpr const wchar_t* UnknownError = L"UnknownError";
inline constexpr const wchar_t* RemoteVersionInfoValidationError =
    L"RemoteVersionInfoValidationError";
inline constexpr const wchar_t* WinXPShutdown = L"WinXPShutdown";
// The notice shown when the user tries to close the window while the client setup runs.
inline constexpr const wchar_t* NonStopableOperation = L"NonStopableOperation";
// Statuses.
inline constexpr const wchar_t* CheckingForUpdates = L"CheckingForUpdates";
inline constexpr const wchar_t* ConfigurationFetched = L"ConfigurationFetched";
inline constexpr const wchar_t* DownloadingInstaller = L"DownloadingInstaller";
inline constexpr const wchar_t* InstallingInstaller = L"InstallingInstaller";
// Titles: the window's heading and its title.
inline constexpr const wchar_t* QuillmereClient = L"QuillmereClient";
inline constexpr const wchar_t* QuillmereInstaller = L"QuillmereInstaller";

// All sixteen, in the order above.
inline constexpr const wchar_t* All[] = {
    ConnectionError,      DownloadFailed,
    CouldNotInstall,      CouldNotInstallUac,
    SingleInstanceOnly,   CouldNotStart,
    UnknownError,         RemoteVersionInfoValidationError,
    WinXPShutdown,        NonStopableOperation,
    CheckingForUpdates,   ConfigurationFetched,
    DownloadingInstaller, InstallingInstaller,
    QuillmereClient,      QuillmereInstaller,
};
} // namespace MessageKeys

// Fails the current step: throws std::runtime_error whose message is `key` as ASCII.
[[noreturn]] void raiseError(const MessageKey& key);
