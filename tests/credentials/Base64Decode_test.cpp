#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "credentials/CredentialStore.h"

namespace {

struct Base64Case {
  const char* text;
  std::string bytes;
};

TEST(Base64Decode, DecodesGroupsAndStopsAtPaddingOrAForeignCharacter) {
  const std::vector<Base64Case> cases = {
      {"", ""},
      {"TWFu", "Man"},
      {"TWFuTWFu", "ManMan"},
      {"TWE=", "Ma"},
      {"TQ==", "M"},
      {"TWFuTWE", "ManMa"}, // a last group of three characters
      {"TWFuTQ", "ManM"},   // of two
      {"TWFuT", "Man"},     // a single last character gives nothing
      {"TQ==TWFu", "M"},    // nothing after the first "="
      {"TWFu TWFu", "Man"}, // nor after a character outside the alphabet
      {"TWFu-_", "Man"},    // the URL-safe digits are outside it
      {"+/+/", "\xfb\xff\xbf"},
      {"AAAA", std::string(3, '\0')},
  };
  for (const Base64Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CredentialStore::base64Decode(c.text), c.bytes);
  }
}

} // namespace
