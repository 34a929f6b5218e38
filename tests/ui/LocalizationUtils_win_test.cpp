#include "ui/LocalizationUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "MessageKeys.h"
#include "utils/TextConversion.h"

namespace {

// Wine takes the UI language from the POSIX locale it was started in. The test run starts this
// test in several locales (tests/CMakeLists.txt) and says what each must give in
// QM_EXPECTED_UI_LANGUAGE (the detected tag), QM_EXPECTED_TEXTS (the language of the texts) and
// QM_EXPECTED_RTL ("1" or "0").
TEST(UiLanguageOfTheSession, SelectsTheTextsAndTheReadingDirection) {
  const char* tag = std::getenv("QM_EXPECTED_UI_LANGUAGE");
  const char* texts = std::getenv("QM_EXPECTED_TEXTS");
  const char* rightToLeft = std::getenv("QM_EXPECTED_RTL");
  if (!tag || !texts || !rightToLeft) {
    GTEST_SKIP() << "run in a chosen locale by the test run only";
  }
  LocalizationUtils::destroyInstance();
  EXPECT_EQ(LocalizationUtils::detectUiLanguage(), toUtf16(tag));
  EXPECT_EQ(LocalizationUtils::instance().currentLanguage(), toUtf16(texts));
  EXPECT_EQ(LocalizationUtils::isRightToLeftUi(), std::string(rightToLeft) == "1");
  EXPECT_EQ(LocalizationUtils::translate(MessageKeys::UnknownError),
            LocalizationUtils::instance().table().at(toUtf16(texts)).at(MessageKeys::UnknownError));
}

} // namespace
