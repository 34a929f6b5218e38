#include "utils/Files.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "utils/TextConversion.h"

int isDirectory(const std::wstring& path) {
  struct _stat attributes = {};
  if (::_wstat(path.c_str(), &attributes) == 0) {
    return (attributes.st_mode & _S_IFDIR) != 0 ? 1 : 0;
  }
  const int error = errno;
  return error == ENOENT || error == ENOTDIR ? 0 : -1;
}

bool createDirectories(const std::string& path) {
  std::wstring widePath;
  try {
    widePath = toUtf16(path);
  } catch (const std::range_error&) {
    return false;
  }
  if (isDirectory(widePath) != 0) {
    return true;
  }
  // SHCreateDirectoryExW finds the parents to create at backslashes only; a path with forward
  // slashes in it (the log's folder is one) would never be created.
  std::replace(widePath.begin(), widePath.end(), L'/', L'\\');
  return ::SHCreateDirectoryExW(nullptr, widePath.c_str(), nullptr) == ERROR_SUCCESS;
}

bool fileExists(const std::wstring& path) { return ::PathFileExistsW(path.c_str()) != FALSE; }

bool deleteFile(const std::wstring& path) { return ::DeleteFileW(path.c_str()) != FALSE; }

std::FILE* openFileForWriting(const std::wstring& path) {
  // The wide form: the narrow one would read a UTF-8 path in the ANSI code page.
  return ::_wfopen(path.c_str(), L"wbN");
}

std::FILE* openTextFileForWriting(const std::wstring& path) {
  return ::_wfopen(path.c_str(), L"wtN");
}

std::FILE* openFileForReading(const std::wstring& path) { return ::_wfopen(path.c_str(), L"rbN"); }
