#include "support/TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "utils/Paths.h"
#include "utils/TextConversion.h"

std::wstring IsolatedTest::wideFolder() const { return toUtf16(folder_); }

std::wstring helperProgram(const std::wstring& name) {
  const std::wstring suffix = kPathSeparator == L'\\' ? L".exe" : L"";
  return joinPath(moduleDirectory(), name + suffix);
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
  file << bytes;
}

std::string readFile(const std::string& path) {
  std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
