#include "ui/LocalizationUtils.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include <string>

#include "MessageKeys.h"
#include "utils/TextConversion.h"

namespace {

const char* const kVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

// Sets the three locale variables for one test and puts them back afterwards; the localization
// instance is rebuilt for the new values.
class UiLanguage : public ::testing::Test {
protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      const char* value = ::getenv(kVariables[i]);
      saved_[i] = value ? std::make_pair(true, std::string(value)) : std::make_pair(false, "");
    }
    LocalizationUtils::destroyInstance();
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) {
      set(kVariables[i], saved_[i].first ? saved_[i].second.c_str() : nullptr);
    }
    LocalizationUtils::destroyInstance();
  }
  static void set(const char* name, const char* value) {
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  static void setLocale(const char* all, const char* messages, const char* lang) {
    set("LC_ALL", all);
    set("LC_MESSAGES", messages);
    set("LANG", lang);
  }

private:
  std::pair<bool, std::string> saved_[3];
};

TEST_F(UiLanguage, TheFirstSetLocaleVariableNamesIt) {
  const struct {
    const char* all;
    const char* messages;
    const char* lang;
    const wchar_t* tag;
  } cases[] = {
      {nullptr, nullptr, "de_DE.UTF-8", L"de-de"},
      {nullptr, nullptr, "pt_BR", L"pt-br"},
      {nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", L"fr-fr"},
      {"ja_JP.eucJP", "fr_FR.UTF-8", "de_DE.UTF-8", L"ja-jp"},
      {"", "", "sv_SE.UTF-8", L"sv-se"}, // an empty variable counts as unset
      {nullptr, nullptr, "sr_RS@latin", L"sr-rs"},
      {nullptr, nullptr, "C", L""},
      {nullptr, nullptr, "POSIX", L""},
      {nullptr, nullptr, "C.UTF-8", L""},
      {nullptr, nullptr, "de", L""},
      {nullptr, nullptr, "_DE", L""},
      {nullptr, nullptr, "de_", L""},
      {nullptr, nullptr, "d\xC3\xA9_DE", L""},
      {nullptr, nullptr, nullptr, L""},
  };
  for (const auto& entry : cases) {
    setLocale(entry.all, entry.messages, entry.lang);
    EXPECT_EQ(LocalizationUtils::detectUiLanguage(), entry.tag)
        << (entry.all ? entry.all : "-") << " " << (entry.messages ? entry.messages : "-") << " "
        << (entry.lang ? entry.lang : "-");
  }
}

TEST_F(UiLanguage, ChoosesTheTextsAndTheReadingDirection) {
  const struct {
    const char* lang;
    const wchar_t* language;
    bool rightToLeft;
  } cases[] = {
      {"de_DE.UTF-8", L"de-de", false}, {"ar_AE.UTF-8", L"ar-ae", true},
      {"he_IL.UTF-8", L"he-il", true},  {"ar_SA.UTF-8", L"en-gb", false},
      {"en_US.UTF-8", L"en-us", false}, {"en_GB.UTF-8", L"en-gb", false},
      {"ko_KR.UTF-8", L"en-gb", false}, {"sr_RS.UTF-8", L"sr-latn", false},
      {"C", L"en-gb", false},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.lang);
    setLocale(nullptr, nullptr, entry.lang);
    LocalizationUtils::destroyInstance();
    EXPECT_EQ(LocalizationUtils::instance().currentLanguage(), entry.language);
    EXPECT_EQ(LocalizationUtils::isRightToLeftUi(), entry.rightToLeft);
    EXPECT_EQ(
        LocalizationUtils::translate(MessageKeys::UnknownError),
        LocalizationUtils::instance().table().at(entry.language).at(MessageKeys::UnknownError));
  }
}

} // namespace
