#include "utils/StringUtils.h"

namespace {

template <typename Char> std::basic_string<Char> asciiLower(std::basic_string<Char> text) {
  for (Char& c : text) {
    if (c >= Char('A') && c <= Char('Z')) {
      c = static_cast<Char>(c - Char('A') + Char('a'));
    }
  }
  return text;
}

} // namespace

std::vector<std::string> splitString(const std::string& text, const std::string& separator) {
  if (separator.empty()) {
    return {text};
  }
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t found = text.find(separator); found != std::string::npos;
       found = text.find(separator, start)) {
    pieces.push_back(text.substr(start, found - start));
    start = found + separator.size();
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::string joinStrings(const std::vector<std::string>& pieces, const std::string& separator) {
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) {
      joined += separator;
    }
    joined += pieces[i];
  }
  return joined;
}

std::string trimChars(const std::string& text, const std::string& set) {
  const std::size_t last = text.find_last_not_of(set);
  if (last == std::string::npos) {
    return {};
  }
  const std::size_t first = text.find_first_not_of(set);
  return text.substr(first, last - first + 1);
}

std::wstring trimRightChars(const std::wstring& text, const std::wstring& set) {
  const std::size_t last = text.find_last_not_of(set);
  return last == std::wstring::npos ? std::wstring() : text.substr(0, last + 1);
}

std::string toLowerCase(const std::string& text) { return asciiLower(text); }

std::wstring toLowerCase(const std::wstring& text) { return asciiLower(text); }

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}
