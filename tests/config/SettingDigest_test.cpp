#include "config/SettingDigest.h"

#include <gtest/gtest.h>

#include "utils/TextConversion.h"

namespace {

// SHA-1("abc"), the standard test vector.
const Sha1Digest kAbc = {0xa9, 0x99, 0x3e, 0x36, 0x47, 0x06, 0x81, 0x6a, 0xba, 0x3e,
                         0x25, 0x71, 0x78, 0x50, 0xc2, 0x6c, 0x9c, 0xd0, 0xd8, 0x9d};
const wchar_t* const kAbcHex = L"a9993e364706816aba3e25717850c26c9cd0d89d";
const wchar_t* const kAbcBase64 = L"qZk+NkcGgWq6PiVxeFDCbJzQ2J0=";

TEST(SettingDigest, HashesTheUtf8BytesOfTheValue) {
  const struct {
    std::wstring value;
    const wchar_t* hex;
    const wchar_t* base64;
  } cases[] = {
      {L"", L"da39a3ee5e6b4b0d3255bfef95601890afd80709", L"2jmj7l5rSw0yVb/vlWAYkK/YBwk="},
      {L"abc", kAbcHex, kAbcBase64},
      // U+00E4 U+00F6 U+00FC as UTF-8 (c3 a4 c3 b6 c3 bc), not as UTF-16 or Latin-1 bytes.
      {L"\u00e4\u00f6\u00fc", L"d19dbe94aed5c1961946988ef753e4690c5b60e8",
       L"0Z2+lK7VwZYZRpiO91PkaQxbYOg="},
  };
  for (const auto& entry : cases) {
    // One of the two forms of the digest, whichever the platform renders.
    const std::wstring digest = settingDigest(entry.value);
    EXPECT_TRUE(digest == entry.hex || digest == entry.base64)
        << toUtf8(entry.value) << " -> " << toUtf8(digest);
  }
}

TEST(SettingDigest, TextFormsOfADigest) {
  EXPECT_EQ(hexDigestText(kAbc), kAbcHex);
  EXPECT_EQ(base64DigestText(kAbc), kAbcBase64);
  Sha1Digest zeros = {};
  EXPECT_EQ(hexDigestText(zeros), std::wstring(40, L'0'));
  EXPECT_EQ(base64DigestText(zeros), std::wstring(27, L'A') + L"=");
}

TEST(SettingDigest, ARenderingIsKeptOnlyWhenItIsAFormOfTheDigest) {
  const struct {
    std::wstring rendering;
    std::wstring expected;
  } cases[] = {
      {L"", kAbcHex}, // the rendering failed
      {kAbcHex, kAbcHex},
      {kAbcBase64, kAbcBase64},
      {L"qZk+NkcGgWq6PiVxeFDCbJzQ2J0=\r\n", kAbcBase64},
      {L"a9 99 3e 36 47 06 81 6a ba 3e 25 71 78 50 c2 6c\r\n9c d0 d8 9d\r\n", kAbcHex},
      {L" \t\v\fa9993e364706816aba3e25717850c26c9cd0d89d\n", kAbcHex},
      {L"A9993E364706816ABA3E25717850C26C9CD0D89D", kAbcHex}, // upper case is neither form
      {L"0000  a9 99 3e 36 47 06 81 6a  ba 3e 25 71 78 50 c2 6c   ..>6G..j.>%qxP.l", kAbcHex},
      {L"da39a3ee5e6b4b0d3255bfef95601890afd80709", kAbcHex}, // a form of another digest
      {L"qZk+NkcGgWq6PiVxeFDCbJzQ2J0", kAbcHex},              // Base64 without its padding
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(digestText(entry.rendering, kAbc), entry.expected) << toUtf8(entry.rendering);
  }
}

TEST(SettingDigest, AValueThatIsNoValidUtf16IsRefused) {
  EXPECT_THROW(settingDigest(std::wstring(L"a\xD800") + L"b"), std::range_error);
}

} // namespace
