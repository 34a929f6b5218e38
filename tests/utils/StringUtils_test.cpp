#include "utils/StringUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

TEST(StringUtils, SplitKeepsEveryPiece) {
  const struct {
    std::string text, separator;
    Pieces pieces;
  } cases[] = {
      {"2.10.0", ".", {"2", "10", "0"}},
      {"a..b", ".", {"a", "", "b"}},
      {"", ".", {""}},
      {"nodot", ".", {"nodot"}},
      {".", ".", {"", ""}},
      {"x-cache: HIT", ":", {"x-cache", " HIT"}},
      {"a::b::", "::", {"a", "b", ""}},
      {"abc", "", {"abc"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(splitString(c.text, c.separator), c.pieces) << c.text;
  }
}

TEST(StringUtils, JoinIsTheInverseOfSplit) {
  EXPECT_EQ(joinStrings({}, "."), "");
  EXPECT_EQ(joinStrings({""}, "."), "");
  EXPECT_EQ(joinStrings({"2", "10", "0"}, "."), "2.10.0");
  for (const std::string text : {"1.2.3", "..", "", "a"}) {
    EXPECT_EQ(joinStrings(splitString(text, "."), "."), text);
  }
}

TEST(StringUtils, TrimRemovesOnlyTheSetAtTheEnds) {
  EXPECT_EQ(trimChars("  HIT from x  ", " "), "HIT from x");
  EXPECT_EQ(trimChars("    ", " "), "");
  EXPECT_EQ(trimChars("", " "), "");
  EXPECT_EQ(trimChars("\tvalue\r\n", " "), "\tvalue\r\n");
  EXPECT_EQ(trimChars("--a-b--", "-"), "a-b");
  EXPECT_EQ(trimRightChars(L"C:\\dir\\\\", L"\\"), L"C:\\dir");
  EXPECT_EQ(trimRightChars(L"\\\\", L"\\"), L"");
  EXPECT_EQ(trimRightChars(L"\\dir", L"\\"), L"\\dir");
}

TEST(StringUtils, LowerCaseMapsAsciiCapitalsOnly) {
  EXPECT_EQ(toLowerCase(std::string("X-Cache-REMOTE 09_Z")), "x-cache-remote 09_z");
  EXPECT_EQ(toLowerCase(std::string("\xC3\x84")), "\xC3\x84");
  EXPECT_EQ(toLowerCase(std::wstring(L"DE-De \u00C4\u0130")), L"de-de \u00C4\u0130");
}

} // namespace
