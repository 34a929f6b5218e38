#include "ui/LocalizationUtils.h"

#include <windows.h>

#include "utils/StringUtils.h"

namespace {

// One ISO name of `locale`; empty when the platform cannot give it.
std::wstring localeName(LCID locale, LCTYPE kind) {
  wchar_t buffer[10] = {};
  const int length = ::GetLocaleInfoW(locale, kind, buffer, 10);
  return length > 1 ? std::wstring(buffer, static_cast<std::size_t>(length - 1)) : std::wstring();
}

} // namespace

std::wstring LocalizationUtils::detectUiLanguage() {
  const LCID locale = MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT);
  const std::wstring language = localeName(locale, LOCALE_SISO639LANGNAME);
  const std::wstring country = localeName(locale, LOCALE_SISO3166CTRYNAME);
  if (language.empty() || country.empty()) {
    return {};
  }
  return toLowerCase(language + L"-" + country);
}
