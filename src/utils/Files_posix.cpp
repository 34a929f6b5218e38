// Stands in for the Windows file calls with stat, mkdir and unlink on UTF-8 paths.
#include "utils/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "utils/TextConversion.h"

namespace {

// The UTF-8 form of a wide path; false when it holds no valid text.
bool narrowPath(const std::wstring& path, std::string& out) {
  try {
    out = toUtf8(path);
    return true;
  } catch (const std::range_error&) {
    return false;
  }
}

int directoryState(const std::string& path) {
  struct stat attributes = {};
  if (::stat(path.c_str(), &attributes) == 0) {
    return S_ISDIR(attributes.st_mode) ? 1 : 0;
  }
  const int error = errno;
  return error == ENOENT || error == ENOTDIR ? 0 : -1;
}

// mkdir -p: creates each missing component from the top down.
bool makeFolders(const std::string& path) {
  for (std::size_t cut = path.find('/', 1);; cut = path.find('/', cut + 1)) {
    const std::string prefix = path.substr(0, cut);
    if (!prefix.empty() && ::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
      return false;
    }
    if (cut == std::string::npos) {
      break;
    }
  }
  return directoryState(path) == 1;
}

} // namespace

int isDirectory(const std::wstring& path) {
  std::string narrow;
  return narrowPath(path, narrow) ? directoryState(narrow) : 0;
}

bool createDirectories(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  if (directoryState(path) != 0) {
    return true;
  }
  return makeFolders(path);
}

bool fileExists(const std::wstring& path) {
  std::string narrow;
  return narrowPath(path, narrow) && ::access(narrow.c_str(), F_OK) == 0;
}

bool deleteFile(const std::wstring& path) {
  std::string narrow;
  return narrowPath(path, narrow) && ::unlink(narrow.c_str()) == 0;
}

std::FILE* openFileForWriting(const std::wstring& path) {
  std::string narrow;
  return narrowPath(path, narrow) ? std::fopen(narrow.c_str(), "wbe") : nullptr;
}

std::FILE* openTextFileForWriting(const std::wstring& path) { return openFileForWriting(path); }

std::FILE* openFileForReading(const std::wstring& path) {
  std::string narrow;
  return narrowPath(path, narrow) ? std::fopen(narrow.c_str(), "rbe") : nullptr;
}
