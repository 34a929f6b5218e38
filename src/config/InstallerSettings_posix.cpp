// Stands in for GetPrivateProfileStringW: the file is read whole and looked up by ProfileFile.
#include "config/InstallerSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "config/ProfileFile.h"
#include "utils/Handles_posix.h"
#include "utils/TextConversion.h"

namespace {

// The bytes of the regular file at `path`; empty when there is none or it cannot be read.
std::string fileBytes(const std::wstring& path) {
  std::string narrowPath;
  try {
    narrowPath = toUtf8(path);
  } catch (const std::range_error&) {
    return {};
  }
  const UniqueFd file(::open(narrowPath.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat attributes = {};
  if (!file || ::fstat(file.get(), &attributes) != 0 || !S_ISREG(attributes.st_mode)) {
    return {};
  }
  std::string bytes;
  char buffer[4096];
  while (true) {
    const ssize_t got = ::read(file.get(), buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return {};
    }
    if (got == 0) {
      return bytes;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

} // namespace

InstallerSettings readInstallerSettings(const std::wstring& path) {
  const std::wstring text = decodeProfileText(fileBytes(path));
  InstallerSettings settings;
  settings.updateChannel =
      profileString(text, L"INSTALLER", L"updateChannel", kInstallerSettingMaxChars);
  settings.environment =
      profileString(text, L"INSTALLER", L"environment", kInstallerSettingMaxChars);
  return settings;
}
