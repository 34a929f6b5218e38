#include "config/SettingDigest.h"

#include <algorithm>

std::wstring hexDigestText(const Sha1Digest& digest) {
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring text;
  for (const std::uint8_t byte : digest) {
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

std::wstring base64DigestText(const Sha1Digest& digest) {
  static const wchar_t alphabet[] =
      L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::wstring text;
  // 20 bytes: six groups of three, then two bytes that give three characters and one "=".
  for (std::size_t at = 0; at < digest.size(); at += 3) {
    const std::size_t count = std::min<std::size_t>(3, digest.size() - at);
    std::uint32_t group = static_cast<std::uint32_t>(digest[at]) << 16;
    if (count > 1) {
      group |= static_cast<std::uint32_t>(digest[at + 1]) << 8;
    }
    if (count > 2) {
      group |= digest[at + 2];
    }
    for (std::size_t i = 0; i < 4; ++i) {
      text += i <= count ? alphabet[(group >> (18 - 6 * i)) & 63] : L'=';
    }
  }
  return text;
}

std::wstring digestText(const std::wstring& rendering, const Sha1Digest& digest) {
  std::wstring compact;
  for (const wchar_t c : rendering) {
    if (c != L' ' && c != L'\t' && c != L'\n' && c != L'\r' && c != L'\v' && c != L'\f') {
      compact += c;
    }
  }
  const std::wstring hex = hexDigestText(digest);
  if (compact == hex || compact == base64DigestText(digest)) {
    return compact;
  }
  return hex;
}
