#include "utils/Paths.h"

#include "utils/StringUtils.h"

std::wstring directoryOf(const std::wstring& path) {
  const std::size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? path : path.substr(0, cut);
}

std::wstring moduleDirectory() { return directoryOf(modulePath()); }

std::wstring joinPath(const std::wstring& directory, const std::wstring& name) {
  return trimRightChars(directory, std::wstring(1, kPathSeparator)) + kPathSeparator + name;
}
