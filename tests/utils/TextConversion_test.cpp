#include "utils/TextConversion.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

struct Pair {
  std::string utf8;
  std::wstring utf16;
};

// Both directions convert these into each other, on every platform alike.
const Pair kPairs[] = {
    {"", L""},
    {"plain ASCII", L"plain ASCII"},
    {"\xC3\xA4\xC3\xB6\xC3\xBC \xC3\x9F", L"\u00E4\u00F6\u00FC \u00DF"},
    {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", L"\u05E9\u05DC\u05D5\u05DD"},
    {"\xE2\x82\xAC", L"\u20AC"},
    // A byte order mark converts like any other character.
    {"\xEF\xBB\xBFx", L"\uFEFFx"},
    // Beyond the Basic Multilingual Plane: a 4-byte sequence, a surrogate pair.
    {"\xF0\x9F\x98\x80", std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}},
    {"\xF4\x8F\xBF\xBF", std::wstring{wchar_t(0xDBFF), wchar_t(0xDFFF)}},
    {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
};

TEST(TextConversion, ConvertsBothWays) {
  for (const Pair& pair : kPairs) {
    EXPECT_EQ(toUtf16(pair.utf8), pair.utf16) << pair.utf8;
    EXPECT_EQ(toUtf8(pair.utf16), pair.utf8) << pair.utf8;
  }
}

void expectBadConversion(const std::string& utf8) {
  try {
    toUtf16(utf8);
    ADD_FAILURE() << "accepted " << testing::PrintToString(utf8);
  } catch (const std::range_error& error) {
    EXPECT_STREQ(error.what(), "bad conversion");
  }
}

TEST(TextConversion, RejectsMalformedUtf8) {
  const std::string malformed[] = {
      "\x80",             // a stray continuation byte
      "a\xC3",            // a truncated two-byte sequence at the end
      "\xE2\x82",         // a truncated three-byte sequence
      "\xE2\x28\xA1",     // a continuation byte missing in the middle
      "\xC0\xAF",         // an overlong encoding of "/"
      "\xE0\x80\xAF",     // overlong in three bytes
      "\xED\xA0\x80",     // an encoded high surrogate
      "\xED\xBF\xBF",     // an encoded low surrogate
      "\xF4\x90\x80\x80", // above U+10FFFF
      "\xF8\x88\x80\x80\x80",
      "\xFF",
  };
  for (const std::string& text : malformed) {
    expectBadConversion(text);
  }
}

TEST(TextConversion, RejectsUnpairedSurrogates) {
  const std::wstring malformed[] = {
      std::wstring{wchar_t(0xD800)},
      std::wstring{L'a', wchar_t(0xDC00), L'b'},
      std::wstring{wchar_t(0xD83D), L'x'},
      std::wstring{wchar_t(0xDE00), wchar_t(0xD83D)},
  };
  for (const std::wstring& text : malformed) {
    try {
      toUtf8(text);
      ADD_FAILURE() << "accepted a lone surrogate";
    } catch (const std::range_error& error) {
      EXPECT_STREQ(error.what(), "bad conversion");
    }
  }
}

TEST(TextConversion, LenientFormsReplaceWhatTheStrictOnesReject) {
  EXPECT_EQ(toUtf16Lenient("ok \xFF!"), L"ok \uFFFD!");
  EXPECT_EQ(toUtf16Lenient("\xE2\x82"), L"\uFFFD\uFFFD");
  EXPECT_EQ(toUtf8Lenient(std::wstring{L'a', wchar_t(0xD800)}), "a\xEF\xBF\xBD");
  EXPECT_EQ(toUtf16Lenient("\xC3\xA4"), L"\u00E4");
}

TEST(TextConversion, NullCStringIsEmpty) {
  EXPECT_EQ(toUtf16(static_cast<const char*>(nullptr)), L"");
  EXPECT_EQ(toUtf16("abc"), L"abc");
}

} // namespace
