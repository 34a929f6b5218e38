// Stands in for UuidCreate and UuidToStringW: 16 bytes from the kernel's random source
// (getrandom), marked as a version 4, variant 1 UUID and written in lower case.
#include "config/InstallationId.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>

std::wstring newRandomUuid() {
  std::uint8_t bytes[16] = {};
  std::size_t filled = 0;
  while (filled < sizeof(bytes)) {
    const ssize_t got = ::getrandom(bytes + filled, sizeof(bytes) - filled, 0);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      return {};
    }
    filled += static_cast<std::size_t>(got);
  }
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring text;
  for (std::size_t i = 0; i < sizeof(bytes); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) {
      text += L'-';
    }
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}
