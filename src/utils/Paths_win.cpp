#include "utils/Paths.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

const wchar_t kPathSeparator = L'\\';

std::wstring modulePath() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::wstring(buffer, std::min<DWORD>(length, MAX_PATH));
}

std::wstring tempDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH, buffer);
  return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

std::wstring localAppDataDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  const HRESULT result = ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE,
                                            nullptr, SHGFP_TYPE_CURRENT, buffer);
  return SUCCEEDED(result) ? std::wstring(buffer) : std::wstring();
}

std::wstring currentDirectory() {
  const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) {
    return {};
  }
  std::vector<wchar_t> buffer(needed + 1);
  const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
  return length == 0 || length >= buffer.size() ? std::wstring()
                                                : std::wstring(buffer.data(), length);
}

std::string toNativeSeparators(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
