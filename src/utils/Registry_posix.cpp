// Stands in for the Windows registry with files: one folder per root under
// ${XDG_CONFIG_HOME:-~/.config}/quillmere/registry, one folder per key, one file per value holding
// the value's UTF-16LE units as REG_SZ stores them (NT appends the zero that a string written
// without one lacks). Names compare without regard to ASCII case, as
// the registry's do; a path with an empty component (a leading, doubled or trailing backslash) is
// refused, as RegOpenKeyExW and RegCreateKeyExW refuse it.
#include "utils/Registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "utils/Files.h"
#include "utils/Handles_posix.h"
#include "utils/StringUtils.h"
#include "utils/TextConversion.h"

namespace {

std::string registryFolder(RegistryRoot root) {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::string(home) + "/.config";
  } else {
    return {};
  }
  return base + "/quillmere/registry/" +
         (root == RegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER");
}

// One name as a file name: lower-cased, with every byte outside [a-z0-9._-] as %XX.
std::string fileName(const std::wstring& name) {
  static const char* const digits = "0123456789ABCDEF";
  std::string out;
  for (const char c : toLowerCase(toUtf8(name))) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || c == '.' || c == '_' ||
        c == '-') {
      out += c;
    } else {
      out += '%';
      out += digits[byte >> 4];
      out += digits[byte & 15];
    }
  }
  return out;
}

// The folder of a key; empty when the path is not a valid key path or names cannot be converted.
std::string keyFolder(RegistryRoot root, const std::wstring& keyPath) {
  std::string folder = registryFolder(root);
  if (folder.empty() || keyPath.empty()) {
    return {};
  }
  std::size_t start = 0;
  for (std::size_t cut = 0; cut != std::wstring::npos; start = cut + 1) {
    cut = keyPath.find(L'\\', start);
    const std::wstring component = keyPath.substr(start, cut - start);
    if (component.empty()) {
      return {};
    }
    folder += '/' + fileName(component);
  }
  return folder;
}

std::string valueFile(RegistryRoot root, const std::wstring& keyPath, const std::wstring& name) {
  const std::string folder = keyFolder(root, keyPath);
  // Value files begin with '=', which no encoded name holds, so a value never meets a subkey.
  return folder.empty() ? folder : folder + "/=" + fileName(name);
}

std::wstring decodeUnits(const unsigned char* bytes, std::size_t count) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < count; i += 2) {
    const auto unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == L'\0') {
      break;
    }
    text.push_back(unit);
  }
  return text;
}

} // namespace

std::wstring readRegistryString(RegistryRoot root, const std::wstring& keyPath,
                                const std::wstring& name) {
  try {
    const std::string path = valueFile(root, keyPath, name);
    const UniqueFd file(path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file) {
      return {};
    }
    // As RegQueryValueExW into 520 bytes: a longer value does not fit and reads as empty; the
    // last unit of a value that fills the buffer gives way to the terminating zero.
    constexpr std::size_t kBufferBytes = (kRegistryValueMaxChars + 1) * 2;
    unsigned char bytes[kBufferBytes + 1] = {};
    std::size_t count = 0;
    while (count < sizeof(bytes)) {
      const ssize_t got = ::read(file.get(), bytes + count, sizeof(bytes) - count);
      if (got <= 0) {
        break;
      }
      count += static_cast<std::size_t>(got);
    }
    return count > kBufferBytes ? std::wstring()
                                : decodeUnits(bytes, std::min(count, kBufferBytes - 2));
  } catch (const std::range_error&) {
    return {};
  }
}

void writeRegistryString(RegistryRoot root, const std::wstring& keyPath, const std::wstring& name,
                         const std::wstring& value) {
  try {
    const std::string folder = keyFolder(root, keyPath);
    if (folder.empty() || !createDirectories(folder)) {
      return;
    }
    std::string bytes;
    for (const wchar_t unit : value) {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>((unit >> 8) & 0xFF);
    }
    if (!value.empty() && value.back() != L'\0') {
      bytes.append(2, '\0');
    }
    // Written beside the value and renamed over it, so a reader sees the old or the new value.
    const std::string path = valueFile(root, keyPath, name);
    const std::string staging = path + ".new." + std::to_string(::getpid());
    const UniqueFd file(::open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file) {
      return;
    }
    const bool written =
        ::write(file.get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    if (!written || std::rename(staging.c_str(), path.c_str()) != 0) {
      ::unlink(staging.c_str());
    }
  } catch (const std::range_error&) {
    // A name that is no valid UTF-16 cannot be stored; writes fail silently.
  }
}
