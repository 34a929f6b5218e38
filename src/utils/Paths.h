// The folders and paths the installer works with, as the platform names them.
#pragma once

#include <string>

// The platform's folder separator: '\' on Windows, '/' on POSIX.
extern const wchar_t kPathSeparator;

// Full path of the program's own executable; empty when the platform cannot tell. Windows cuts it
// at 259 characters (GetModuleFileNameW into 260).
std::wstring modulePath();

// modulePath() up to, not including, its last '\' or '/'; the whole path when it has neither.
std::wstring moduleDirectory();
// The same cut for any path (exposed for tests).
std::wstring directoryOf(const std::wstring& path);

// `directory` without its trailing separators, then one separator, then `name`. On Windows only
// backslashes count as trailing separators; a directory of separators only gives "\" + name.
std::wstring joinPath(const std::wstring& directory, const std::wstring& name);

// The user's temporary folder with its trailing separator; empty on failure.
std::wstring tempDirectory();

// The user's local application data folder without a trailing separator, created when missing;
// empty on failure.
std::wstring localAppDataDirectory();

// The process's current directory, of any length; empty on failure.
std::wstring currentDirectory();

// A compiler-given source path written with the platform's separators ('/' becomes '\' on
// Windows, as a Windows compiler writes it; unchanged on POSIX). Bytes, not characters.
std::string toNativeSeparators(std::string path);
