// Stands in for the Windows UI language with the POSIX locale variables: the first of LC_ALL,
// LC_MESSAGES and LANG that is set names it, as "language_COUNTRY[.codeset][@modifier]".
#include "ui/LocalizationUtils.h"

#include <cstdlib>
#include <string>

#include "utils/StringUtils.h"

namespace {

bool isAsciiLetters(const std::string& text) {
  for (const char c : text) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
      return false;
    }
  }
  return !text.empty();
}

} // namespace

std::wstring LocalizationUtils::detectUiLanguage() {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      locale = value;
      break;
    }
  }
  locale = locale.substr(0, locale.find_first_of(".@"));
  const std::size_t underscore = locale.find('_');
  const std::string language = locale.substr(0, underscore);
  // "C", "POSIX" and anything that is no language_COUNTRY pair name no language.
  if (underscore == std::string::npos || language.size() < 2 || language.size() > 3 ||
      !isAsciiLetters(language) || !isAsciiLetters(locale.substr(underscore + 1))) {
    return {};
  }
  std::wstring tag;
  for (const char c : toLowerCase(locale)) {
    tag += c == '_' ? L'-' : static_cast<wchar_t>(c);
  }
  return tag;
}
