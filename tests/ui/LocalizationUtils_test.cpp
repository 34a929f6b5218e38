#include "ui/LocalizationUtils.h"

#include <gtest/gtest.h>

#include <set>

#include "MessageKeys.h"
#include "config/BackendHosts.h"
#include "utils/TextConversion.h"

namespace {

const wchar_t* const kLanguages[] = {
    L"de-de", L"ar-ae", L"el-gr", L"en-gb", L"bg-bg",   L"cs-cz", L"da-dk", L"et-ee",
    L"fi-fi", L"he-il", L"hr-hr", L"hu-hu", L"ja-jp",   L"nb-no", L"nl-nl", L"pt-br",
    L"pt-pt", L"ro-ro", L"ru-ru", L"sk-sk", L"sr-latn", L"sv-se", L"zh-tw", L"en-us",
    L"es-es", L"fr-fr", L"it-it", L"pl-pl", L"tr-tr",
};

const LocalizationUtils::MessageTable& table() { return LocalizationUtils::instance().table(); }

const std::wstring& text(const wchar_t* language, const wchar_t* key) {
  return table().at(language).at(key);
}

std::wstring supportLink(const std::wstring& label) {
  return L"<a href=\"" + toUtf16(BackendHosts::supportUrl) + L"\">" + label + L"</a>";
}

bool containsAny(const std::wstring& text, wchar_t first, wchar_t last) {
  for (const wchar_t c : text) {
    if (c >= first && c <= last) {
      return true;
    }
  }
  return false;
}

TEST(MessageTable, EveryLanguageHasTheSixteenKeysWithTexts) {
  ASSERT_EQ(table().size(), std::size(kLanguages));
  const std::set<std::wstring> keys(std::begin(MessageKeys::All), std::end(MessageKeys::All));
  ASSERT_EQ(keys.size(), 16u);
  for (const wchar_t* language : kLanguages) {
    SCOPED_TRACE(toUtf8(language));
    ASSERT_EQ(table().count(language), 1u);
    const auto& texts = table().at(language);
    EXPECT_EQ(texts.size(), 16u);
    for (const std::wstring& key : keys) {
      ASSERT_EQ(texts.count(key), 1u) << toUtf8(key);
      EXPECT_FALSE(texts.at(key).empty()) << toUtf8(key);
      // A text ends as a sentence or is a display name; it never carries a stray blank.
      EXPECT_NE(texts.at(key).back(), L' ') << toUtf8(key);
      EXPECT_NE(texts.at(key).front(), L' ') << toUtf8(key);
    }
    EXPECT_NE(texts.at(MessageKeys::QuillmereClient).find(L"Quillmere"), std::wstring::npos);
    EXPECT_NE(texts.at(MessageKeys::QuillmereInstaller).find(L"Quillmere"), std::wstring::npos);
  }
}

TEST(MessageTable, OnlyTheValidationErrorHoldsTheSupportLink) {
  const std::wstring opening = L"<a href=\"" + toUtf16(BackendHosts::supportUrl) + L"\">";
  for (const wchar_t* language : kLanguages) {
    SCOPED_TRACE(toUtf8(language));
    for (const auto& [key, value] : table().at(language)) {
      const std::size_t at = value.find(opening);
      if (key != MessageKeys::RemoteVersionInfoValidationError) {
        EXPECT_EQ(value.find(L'<'), std::wstring::npos) << toUtf8(key);
        continue;
      }
      // Exactly one link, with a label, and no other markup.
      ASSERT_NE(at, std::wstring::npos);
      const std::size_t close = value.find(L"</a>", at);
      ASSERT_NE(close, std::wstring::npos);
      EXPECT_GT(close, at + opening.size());
      EXPECT_EQ(value.find(L'<', close + 1), std::wstring::npos);
      EXPECT_EQ(value.substr(0, at).find(L'<'), std::wstring::npos);
    }
  }
}

TEST(MessageTable, EnglishAndGermanAreTheProductsOwnTexts) {
  const std::wstring retry = L"\nPlease try again later or restart your computer.";
  const struct {
    const wchar_t* key;
    std::wstring english;
    std::wstring german;
  } cases[] = {
      {MessageKeys::QuillmereClient, L"Quillmere Client", L"Quillmere Client"},
      {MessageKeys::QuillmereInstaller, L"Quillmere Installer", L"Quillmere Installer"},
      {MessageKeys::CouldNotInstallUac,
       L"The Quillmere Client could not be installed.\nAdministrator rights are required for "
       L"installation.",
       L"Der Quillmere Client konnte nicht installiert werden.\nDu ben\u00f6tigst f\u00fcr die "
       L"Installation Administrator-Rechte."},
      {MessageKeys::CouldNotInstall, L"The Quillmere Client could not be installed." + retry,
       L"Der Quillmere Client konnte nicht installiert werden.\nBitte versuche es sp\u00e4ter noch "
       L"einmal oder starte deinen Computer neu."},
      {MessageKeys::CouldNotStart, L"Quillmere Client could not be started.",
       L"Der Quillmere Client konnte nicht gestartet werden."},
      {MessageKeys::UnknownError, L"Process cancelled. An unknown error has occurred.",
       L"Vorgang abgebrochen. Ein unbekannter Fehler ist aufgetreten."},
      {MessageKeys::SingleInstanceOnly,
       L"The Quillmere Installer has already been launched." + retry,
       L"Der Quillmere Installer wurde bereits gestartet.\nBitte versuche es sp\u00e4ter noch "
       L"einmal oder starte deinen Computer neu."},
      {MessageKeys::DownloadingInstaller, L"Downloading Quillmere Client.",
       L"Quillmere Client wird heruntergeladen."},
      {MessageKeys::NonStopableOperation,
       L"Installing the Quillmere Client now. This process cannot be cancelled, please be "
       L"patient.",
       L"Der Quillmere Client wird gerade installiert. Dieser Vorgang kann nicht abgebrochen "
       L"werden, daher hab bitte noch etwas Geduld."},
      {MessageKeys::RemoteVersionInfoValidationError,
       L"Unable to validate data for the Quillmere Client update.\nIf this error occurs "
       L"frequently, please contact our " +
           supportLink(L"Support") + L".",
       L"Die Daten f\u00fcr das Quillmere Client Update konnten nicht validiert werden.\nWenn "
       L"dieser Fehler h\u00e4ufiger auftritt, kontaktiere bitte unseren " +
           supportLink(L"Support") + L"."},
      // The German text with "Download" spelt right.
      {MessageKeys::DownloadFailed, L"Download of the Quillmere Client failed." + retry,
       L"Der Quillmere Client Download ist fehlgeschlagen.\nBitte versuche es sp\u00e4ter noch "
       L"einmal oder starte deinen Computer neu."},
      {MessageKeys::ConnectionError,
       L"A connection error occurred. Please check your internet connection and proxy settings.",
       L"Ein Verbindungsfehler ist aufgetreten. Bitte \u00fcberpr\u00fcfe deine "
       L"Internetverbindung und Proxy-Einstellungen."},
      {MessageKeys::WinXPShutdown,
       L"The Quillmere Client supports Windows 7 and newer Windows versions.",
       L"Der Quillmere Client unterst\u00fctzt Windows 7 und neuere Windows-Versionen."},
      {MessageKeys::InstallingInstaller, L"Updating the Quillmere Client.",
       L"Quillmere Client wird aktualisiert."},
      {MessageKeys::CheckingForUpdates, L"Checking for updates.", L"Suche nach Updates."},
      {MessageKeys::ConfigurationFetched, L"Downloaded update manifest.",
       L"Das Update-Manifest wurde erfolgreich heruntergeladen."},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(toUtf8(entry.key));
    EXPECT_EQ(text(L"en-gb", entry.key), entry.english);
    EXPECT_EQ(text(L"de-de", entry.key), entry.german);
    // American English differs only in "canceled".
    std::wstring american = entry.english;
    const std::size_t at = american.find(L"cancelled");
    if (at != std::wstring::npos) {
      american.replace(at, 9, L"canceled");
    }
    EXPECT_EQ(text(L"en-us", entry.key), american);
  }
}

TEST(MessageTable, EachLanguageIsInItsOwnScript) {
  for (const auto& [key, value] : table().at(L"he-il")) {
    EXPECT_TRUE(containsAny(value, 0x05D0, 0x05EA)) << toUtf8(key); // Hebrew letters
  }
  for (const auto& [key, value] : table().at(L"ar-ae")) {
    EXPECT_TRUE(containsAny(value, 0x0621, 0x064A)) << toUtf8(key); // Arabic letters
  }
  for (const wchar_t* language : {L"ru-ru", L"bg-bg"}) {
    for (const auto& [key, value] : table().at(language)) {
      EXPECT_TRUE(containsAny(value, 0x0410, 0x044F)) << toUtf8(key); // Cyrillic letters
    }
  }
  for (const auto& [key, value] : table().at(L"sr-latn")) {
    EXPECT_FALSE(containsAny(value, 0x0400, 0x04FF)) << toUtf8(key); // no Cyrillic
  }
  // Traditional Chinese: none of the simplified forms of characters the texts use (user, load,
  // install, open, move, none, please, connect, error).
  const std::wstring onlySimplified = L"\u6237\u8f7d\u88c5\u542f\u52a8\u65e0\u8bf7\u8fde\u9519";
  for (const auto& [key, value] : table().at(L"zh-tw")) {
    for (const wchar_t c : onlySimplified) {
      EXPECT_EQ(value.find(c), std::wstring::npos) << toUtf8(key);
    }
  }
  for (const wchar_t* language : kLanguages) {
    for (const auto& [key, value] : table().at(language)) {
      EXPECT_EQ(value.find(L"Downdload"), std::wstring::npos) << toUtf8(language);
    }
  }
}

TEST(Localization, TheLanguageServingAUiLanguage) {
  const struct {
    const wchar_t* ui;
    const wchar_t* language;
  } cases[] = {
      {L"de-de", L"de-de"},   {L"en-us", L"en-us"}, {L"en-gb", L"en-gb"},  {L"ar-ae", L"ar-ae"},
      {L"he-il", L"he-il"},   {L"zh-tw", L"zh-tw"}, {L"ar-sa", L"en-gb"},  {L"ko-kr", L"en-gb"},
      {L"de-at", L"en-gb"},   {L"DE-DE", L"en-gb"}, {L"", L"en-gb"},       {L"sr-rs", L"sr-latn"},
      {L"sr-me", L"sr-latn"}, {L"sr-", L"en-gb"},   {L"srb-rs", L"en-gb"}, {L"sr-latn", L"sr-latn"},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(LocalizationUtils::languageFor(table(), entry.ui), entry.language)
        << toUtf8(entry.ui);
  }
}

TEST(Localization, TranslatesKeysAndPassesOtherTextsThrough) {
  const std::wstring language = LocalizationUtils::instance().currentLanguage();
  EXPECT_EQ(LocalizationUtils::translate(MessageKeys::CouldNotStart),
            text(language.c_str(), MessageKeys::CouldNotStart));
  EXPECT_EQ(LocalizationUtils::translate(L"bad conversion"), L"bad conversion");
  EXPECT_EQ(LocalizationUtils::translate(L""), L"");
  EXPECT_EQ(LocalizationUtils::translate(L"couldnotstart"), L"couldnotstart");
  // After the instance is gone, translate builds a fresh one.
  LocalizationUtils::destroyInstance();
  EXPECT_EQ(LocalizationUtils::translate(MessageKeys::CheckingForUpdates),
            text(language.c_str(), MessageKeys::CheckingForUpdates));
}

TEST(Localization, ClientRegionCodes) {
  const struct {
    const wchar_t* code;
    const wchar_t* region;
  } cases[] = {
      {L"deu_deu", L"de-DE"},
      {L"DEU_DEU", L"de-DE"},
      {L"De_dE", L"de-DE"},
      {L"dEu_DeU", L"de-DE"},
      {L"pt_pt", L"pt_PT"},
      {L"PRT_POR", L"pt_PT"},
      {L"bra_por", L"pt-BR"},
      {L"usa_eng", L"en-US"},
      {L"en_gb", L"en-GB"},
      {L"srb_srp", L"sr-RS"},
      {L"JA_JP", L"ja-JP"},
      {L"ar_ae", L"ar-AE"},
      // In no row: returned as given, letter case untouched.
      {L"Kor_KOR", L"Kor_KOR"},
      {L"de-DE", L"de-DE"},
      {L"deu_deu ", L"deu_deu "},
      {L"", L""},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(LocalizationUtils::clientRegionCode(entry.code), entry.region) << toUtf8(entry.code);
  }
}

} // namespace
