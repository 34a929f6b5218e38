#include "qmtag/TagText.h"

#include <gtest/gtest.h>

#include "qmtag/TagError.h"

namespace {

TEST(QmtagTagText, IsTheHexadecimalFormOfTheCompactJsonObject) {
  const std::string text = qmtag::encodeTagText({{"g", "123"}, {"l", "deu_deu"}});
  EXPECT_EQ(qmtag::decodeTagText(text), R"({"g":"123","l":"deu_deu"})");
  EXPECT_EQ(qmtag::encodeTagText({{"g", "1"}}), "7b2267223a2231227d");
  EXPECT_EQ(qmtag::decodeTagText("7B7d"), "{}");
}

TEST(QmtagTagText, RefusesWhatItCannotRepresent) {
  EXPECT_THROW(qmtag::encodeTagText({{"g", "\xff"}}), qmtag::TagError);
  EXPECT_THROW(qmtag::decodeTagText("7b7"), qmtag::TagError);
  EXPECT_THROW(qmtag::decodeTagText("7g"), qmtag::TagError);
}

} // namespace
