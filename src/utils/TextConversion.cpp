#include "utils/TextConversion.h"

#include <cstdint>
#include <stdexcept>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

[[noreturn]] void badConversion() { throw std::range_error("bad conversion"); }

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the code point starting at text[at] and advances `at`. Returns false, with `at` moved
// past the first byte only, when the sequence is malformed.
bool decodeUtf8(const std::string& text, std::size_t& at, char32_t& out) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    out = lead;
    at += 1;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, out = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, out = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, out = lead & 0x07;
  } else {
    at += 1;
    return false;
  }
  if (text.size() - at < length) {
    at += 1;
    return false;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[at + i]);
    if (!isContinuation(byte)) {
      at += 1;
      return false;
    }
    out = (out << 6) | (byte & 0x3F);
  }
  const bool surrogate = out >= 0xD800 && out <= 0xDFFF;
  if (out < minimum || out > 0x10FFFF || surrogate) {
    at += 1;
    return false;
  }
  at += length;
  return true;
}

void appendUtf16(std::wstring& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<wchar_t>(codePoint));
    return;
  }
  const char32_t offset = codePoint - 0x10000;
  out.push_back(static_cast<wchar_t>(0xD800 + (offset >> 10)));
  out.push_back(static_cast<wchar_t>(0xDC00 + (offset & 0x3FF)));
}

// Decodes the code point starting at text[at] and advances `at`; false for an unpaired surrogate
// or a unit outside the 16-bit range, with `at` moved past that one unit.
bool decodeUtf16(const std::wstring& text, std::size_t& at, char32_t& out) {
  const auto unit = static_cast<std::uint32_t>(text[at]);
  at += 1;
  if (unit > 0xFFFF || (unit >= 0xDC00 && unit <= 0xDFFF)) {
    return false;
  }
  if (unit < 0xD800 || unit > 0xDBFF) {
    out = unit;
    return true;
  }
  if (at == text.size()) {
    return false;
  }
  const auto low = static_cast<std::uint32_t>(text[at]);
  if (low < 0xDC00 || low > 0xDFFF) {
    return false;
  }
  at += 1;
  out = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
  return true;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

std::wstring convertToUtf16(const std::string& text, bool lenient) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    char32_t codePoint = 0;
    if (!decodeUtf8(text, at, codePoint)) {
      if (!lenient) {
        badConversion();
      }
      codePoint = kReplacement;
    }
    appendUtf16(out, codePoint);
  }
  return out;
}

std::string convertToUtf8(const std::wstring& text, bool lenient) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    char32_t codePoint = 0;
    if (!decodeUtf16(text, at, codePoint)) {
      if (!lenient) {
        badConversion();
      }
      codePoint = kReplacement;
    }
    appendUtf8(out, codePoint);
  }
  return out;
}

} // namespace

std::string toUtf8(const std::wstring& text) { return convertToUtf8(text, false); }

std::wstring toUtf16(const std::string& text) { return convertToUtf16(text, false); }

std::wstring toUtf16(const char* text) { return toUtf16(std::string(text ? text : "")); }

std::wstring toUtf16Lenient(const std::string& text) { return convertToUtf16(text, true); }

std::string toUtf8Lenient(const std::wstring& text) { return convertToUtf8(text, true); }
