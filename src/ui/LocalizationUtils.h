// Every text the installer shows, looked up by MessageKey in the user's UI language (29 languages,
// British English as the fallback), the right-to-left decision of the window, and the region code
// of a campaign locale.
#pragma once

#include <string>
#include <unordered_map>

class LocalizationUtils {
public:
  // Language tag -> MessageKey -> text.
  using MessageTable =
      std::unordered_map<std::wstring, std::unordered_map<std::wstring, std::wstring>>;

  virtual ~LocalizationUtils();
  LocalizationUtils(const LocalizationUtils&) = delete;
  LocalizationUtils& operator=(const LocalizationUtils&) = delete;

  // The process-wide instance, created (table built, language chosen) when there is none. Not
  // locked: the first call comes from the application's constructor before any other thread runs.
  static LocalizationUtils& instance();
  // Deletes the instance, if any; a later instance() builds a fresh one.
  static void destroyInstance();

  // The text of `key` in the current language; `key` itself when the table holds no text for it
  // (so any text that is no MessageKey comes back unchanged).
  static std::wstring translate(const std::wstring& key);

  // The lower-case language-country tag of the user's UI language ("de-de", "pt-br"); empty when
  // the platform cannot name it. Windows: GetUserDefaultUILanguage and GetLocaleInfoW. POSIX: the
  // language of LC_ALL, LC_MESSAGES or LANG, the first one set ("de_DE.UTF-8" gives "de-de").
  static std::wstring detectUiLanguage();

  // True when the UI language is one of the table's right-to-left languages, "ar-ae" or "he-il".
  static bool isRightToLeftUi();

  // The client's region code of a campaign locale such as "deu_deu" or "de_de" (compared in lower
  // case): "de-DE" and so on, "pt_PT" for Portugal. A code in no row comes back unchanged.
  static std::wstring clientRegionCode(const std::wstring& code);

  // The language whose texts translate() gives ("en-gb" when the UI language has none).
  const std::wstring& currentLanguage() const { return currentLanguage_; }
  const MessageTable& table() const { return table_; }

  // The language tag whose texts serve `uiLanguage`: itself when the table holds it, "sr-latn"
  // for any Serbian UI ("sr-" and a country), else "en-gb".
  static std::wstring languageFor(const MessageTable& table, const std::wstring& uiLanguage);

private:
  LocalizationUtils();

  MessageTable table_;
  std::wstring currentLanguage_;
};
