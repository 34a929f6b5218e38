#include "utils/Files.h"

#include "utils/CurlHandles.h"

bool readWholeFile(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  const UniqueFile file(openFileForReading(path));
  if (!file) {
    return false;
  }
  char block[4096];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof(block), file.get())) > 0) {
    bytes.append(block, got);
  }
  if (std::ferror(file.get()) != 0) {
    bytes.clear();
    return false;
  }
  return true;
}
