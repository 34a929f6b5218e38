#include "config/ProfileFile.h"

#include <algorithm>

#include "utils/StringUtils.h"
#include "utils/TextConversion.h"

namespace {

// The blanks the profile reader trims: ASCII white space and the DOS end-of-file mark ^Z.
bool isProfileBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' ||
         c == L'\x1a';
}

std::wstring trimBlanks(const std::wstring& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isProfileBlank(text[begin])) {
    ++begin;
  }
  while (end > begin && isProfileBlank(text[end - 1])) {
    --end;
  }
  return text.substr(begin, end - begin);
}

bool sameName(const std::wstring& a, const std::wstring& b) {
  return toLowerCase(a) == toLowerCase(b);
}

// True when `line` (trimmed) is a section header; its name then goes to `name`.
bool sectionHeader(const std::wstring& line, std::wstring& name) {
  if (line.empty() || line[0] != L'[') {
    return false;
  }
  const std::size_t close = line.rfind(L']');
  if (close == std::wstring::npos || close == 0) {
    return false;
  }
  name = trimBlanks(line.substr(1, close - 1));
  return true;
}

std::wstring unquoted(const std::wstring& value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

} // namespace

std::wstring decodeProfileText(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::wstring text;
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
      text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[at]) |
                                          (static_cast<unsigned char>(bytes[at + 1]) << 8)));
    }
    return text;
  }
  const bool utf8Mark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
  return toUtf16Lenient(utf8Mark ? bytes.substr(3) : bytes);
}

std::wstring profileString(const std::wstring& text, const std::wstring& section,
                           const std::wstring& key, std::size_t maxChars) {
  const std::wstring wantedSection = trimBlanks(section);
  const std::wstring wantedKey = trimBlanks(key);
  bool inSection = false;
  bool sectionSeen = false;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find_first_of(L"\r\n", start), text.size());
    const std::wstring line = trimBlanks(text.substr(start, end - start));
    start = end + 1;
    std::wstring name;
    if (sectionHeader(line, name)) {
      // Only the first section of that name is consulted, as the platform's reader does.
      if (sectionSeen) {
        return {};
      }
      inSection = sameName(name, wantedSection);
      sectionSeen = inSection;
      continue;
    }
    const std::size_t equals = line.find(L'=');
    if (!inSection || line.empty() || !sameName(trimBlanks(line.substr(0, equals)), wantedKey)) {
      continue;
    }
    const std::wstring value = equals == std::wstring::npos
                                   ? std::wstring()
                                   : unquoted(trimBlanks(line.substr(equals + 1)));
    return value.substr(0, maxChars);
  }
  return {};
}
