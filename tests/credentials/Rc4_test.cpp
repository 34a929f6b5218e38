#include "credentials/Rc4.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string rc4Of(const std::string& key, const std::string& text) {
  std::string out(text.size(), '\0');
  rc4(reinterpret_cast<const unsigned char*>(key.data()), key.size(),
      reinterpret_cast<const unsigned char*>(text.data()),
      reinterpret_cast<unsigned char*>(&out[0]), text.size());
  return out;
}

std::string hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    out += kDigits[static_cast<unsigned char>(c) >> 4];
    out += kDigits[static_cast<unsigned char>(c) & 0xF];
  }
  return out;
}

TEST(Rc4, MatchesThePublishedTestVectors) {
  EXPECT_EQ(hex(rc4Of("Key", "Plaintext")), "BBF316E8D940AF0AD3");
  EXPECT_EQ(hex(rc4Of("Wiki", "pedia")), "1021BF0420");
  EXPECT_EQ(hex(rc4Of("Secret", "Attack at dawn")), "45A01F645FC35B383552544B9BF5");
}

TEST(Rc4, DecryptsInPlace) {
  const std::string key = "QuillmereDevKey!";
  std::string data = rc4Of(key, "sixteen bytes!!!");
  rc4(reinterpret_cast<const unsigned char*>(key.data()), key.size(),
      reinterpret_cast<const unsigned char*>(data.data()),
      reinterpret_cast<unsigned char*>(&data[0]), data.size());
  EXPECT_EQ(data, "sixteen bytes!!!");
}

} // namespace
