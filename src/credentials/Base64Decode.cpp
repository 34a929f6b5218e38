#include "credentials/CredentialStore.h"

namespace {

// The value of a standard Base64 digit; -1 for any other character ("=" included).
int digitValue(char c) {
  if (c >= 'A' && c <= 'Z') {
    return c - 'A';
  }
  if (c >= 'a' && c <= 'z') {
    return c - 'a' + 26;
  }
  if (c >= '0' && c <= '9') {
    return c - '0' + 52;
  }
  return c == '+' ? 62 : c == '/' ? 63 : -1;
}

} // namespace

std::string CredentialStore::base64Decode(const std::string& text) {
  std::string bytes;
  // Decoded bits not yet given out as a byte: `held` of them, at the low end of `bits`.
  unsigned bits = 0;
  int held = 0;
  for (const char c : text) {
    const int value = digitValue(c);
    if (value < 0) {
      break;
    }
    bits = bits << 6 | static_cast<unsigned>(value);
    held += 6;
    if (held >= 8) {
      held -= 8;
      bytes += static_cast<char>(bits >> held & 0xFF);
      bits &= (1u << held) - 1;
    }
  }
  return bytes;
}
