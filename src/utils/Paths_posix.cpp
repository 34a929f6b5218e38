// Stands in for the Windows folder queries: the executable from /proc/self/exe, the temporary
// folder from $TMPDIR or /tmp/, local application data from $XDG_DATA_HOME or ~/.local/share.
#include "utils/Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "utils/Files.h"
#include "utils/TextConversion.h"

const wchar_t kPathSeparator = L'/';

namespace {

// A file-system path as UTF-16; empty when its bytes are not UTF-8 (a path the installer could not
// hand back to the system unchanged).
std::wstring widePath(const std::string& path) {
  try {
    return toUtf16(path);
  } catch (const std::range_error&) {
    return {};
  }
}

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string homeDirectory() {
  std::string home = environmentValue("HOME");
  if (home.empty()) {
    if (const passwd* entry = ::getpwuid(::getuid())) {
      home = entry->pw_dir ? entry->pw_dir : "";
    }
  }
  return home;
}

} // namespace

std::wstring modulePath() {
  std::vector<char> buffer(4096);
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
    return {};
  }
  return widePath(std::string(buffer.data(), static_cast<std::size_t>(length)));
}

std::wstring tempDirectory() {
  std::string folder = environmentValue("TMPDIR");
  if (folder.empty()) {
    folder = "/tmp";
  }
  if (folder.back() != '/') {
    folder += '/';
  }
  return widePath(folder);
}

std::wstring localAppDataDirectory() {
  std::string folder = environmentValue("XDG_DATA_HOME");
  if (folder.empty()) {
    const std::string home = homeDirectory();
    if (home.empty()) {
      return {};
    }
    folder = home + "/.local/share";
  }
  while (folder.size() > 1 && folder.back() == '/') {
    folder.pop_back();
  }
  return createDirectories(folder) ? widePath(folder) : std::wstring();
}

std::wstring currentDirectory() {
  for (std::size_t size = 256; size <= (1u << 20); size *= 2) {
    std::vector<char> buffer(size);
    if (::getcwd(buffer.data(), buffer.size())) {
      return widePath(buffer.data());
    }
    if (errno != ERANGE) {
      return {};
    }
  }
  return {};
}

std::string toNativeSeparators(std::string path) { return path; }
