#include "config/Selectors.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/sha.h>

#include <string>

#include "config/BackendHosts.h"
#include "config/SettingDigest.h"
#include "utils/TextConversion.h"

namespace {

// The selector words as docs/installer-ini.md gives them to the testers.
template <typename Value> struct Word {
  const char* word;
  Value value;
};
const Word<UpdateChannel> kChannelWords[] = {
    {"inkwell-team-k7q2", UpdateChannel::TEAM},
    {"inkwell-team1-r4m8", UpdateChannel::TEAM1},
    {"inkwell-team2-w9d3", UpdateChannel::TEAM2},
    {"inkwell-experimental-p6z1", UpdateChannel::EXPERIMENTAL},
    {"inkwell-qa1-t8n4", UpdateChannel::QA1},
    {"inkwell-qa2-c3j7", UpdateChannel::QA2},
    {"inkwell-beta-x5f9", UpdateChannel::BETA},
    {"inkwell-dailybuild-h2v5", UpdateChannel::DAILYBUILD},
};
const Word<Environment> kEnvironmentWords[] = {
    {"nib-dev-g4s8", Environment::DEV},
    {"nib-integration-b7l2", Environment::INTEGRATION},
    {"nib-sandbox-m1y6", Environment::SANDBOX},
};

// Both text forms of the SHA-1 of `word`, computed with OpenSSL alone.
void opensslForms(const std::string& word, std::wstring& hex, std::wstring& base64) {
  unsigned char digest[SHA_DIGEST_LENGTH] = {};
  SHA1(reinterpret_cast<const unsigned char*>(word.data()), word.size(), digest);
  char hexText[2 * SHA_DIGEST_LENGTH + 1] = {};
  for (int i = 0; i < SHA_DIGEST_LENGTH; ++i) {
    std::snprintf(hexText + 2 * i, 3, "%02x", digest[i]);
  }
  unsigned char base64Text[64] = {};
  EVP_EncodeBlock(base64Text, digest, SHA_DIGEST_LENGTH);
  hex = toUtf16(hexText);
  base64 = toUtf16(reinterpret_cast<const char*>(base64Text));
}

// Each stored selector, in matching order, is the word's value with both forms of its digest.
template <typename Value, std::size_t Count, std::size_t SelectorCount>
void expectStoredDigests(const Word<Value> (&words)[Count],
                         const Selector<Value> (&selectors)[SelectorCount]) {
  ASSERT_EQ(Count, SelectorCount);
  for (std::size_t i = 0; i < Count; ++i) {
    SCOPED_TRACE(words[i].word);
    std::wstring hex, base64;
    opensslForms(words[i].word, hex, base64);
    EXPECT_EQ(selectors[i].value, words[i].value);
    EXPECT_EQ(selectors[i].hex, hex);
    EXPECT_EQ(selectors[i].base64, base64);
  }
}

TEST(Selectors, EveryStoredDigestIsThatOfItsWordInBothForms) {
  expectStoredDigests(kChannelWords, kUpdateChannelSelectors);
  expectStoredDigests(kEnvironmentWords, kEnvironmentSelectors);
}

TEST(Selectors, EveryWordSelectsItsValue) {
  for (const auto& entry : kChannelWords) {
    EXPECT_EQ(matchUpdateChannel(toUtf16(entry.word)), entry.value) << entry.word;
    EXPECT_EQ(matchEnvironment(toUtf16(entry.word)), Environment::PRODUCTION) << entry.word;
  }
  for (const auto& entry : kEnvironmentWords) {
    EXPECT_EQ(matchEnvironment(toUtf16(entry.word)), entry.value) << entry.word;
    EXPECT_EQ(matchUpdateChannel(toUtf16(entry.word)), UpdateChannel::FINAL) << entry.word;
  }
  // DAILYBUILD is tested eighth, after BETA, but is the enumerator 4.
  EXPECT_EQ(static_cast<std::uint32_t>(matchUpdateChannel(L"inkwell-dailybuild-h2v5")), 4u);
}

TEST(Selectors, AnythingElseGivesFinalAndProduction) {
  const std::wstring values[] = {
      L"",
      L"final",
      L"FINAL",
      L"PRODUCTION",
      L"INKWELL-TEAM-K7Q2",  // a selector word in another letter case
      L"inkwell-team-k7q2 ", // with a blank the profile reader would have trimmed
      L"nib-dev-g4s8\n",
      std::wstring(1023, L'x'),
      L"6ec118716b330a9be6dec41bc8054a2e62a2a0d8", // a digest is no selector word
  };
  for (const std::wstring& value : values) {
    EXPECT_EQ(matchUpdateChannel(value), UpdateChannel::FINAL) << toUtf8(value);
    EXPECT_EQ(matchEnvironment(value), Environment::PRODUCTION) << toUtf8(value);
  }
}

TEST(Selectors, BothDigestFormsSelectTheirValue) {
  for (const auto& selector : kUpdateChannelSelectors) {
    EXPECT_EQ(matchUpdateChannelDigest(selector.hex), selector.value);
    EXPECT_EQ(matchUpdateChannelDigest(selector.base64), selector.value);
    EXPECT_EQ(matchEnvironmentDigest(selector.hex), Environment::PRODUCTION);
  }
  for (const auto& selector : kEnvironmentSelectors) {
    EXPECT_EQ(matchEnvironmentDigest(selector.hex), selector.value);
    EXPECT_EQ(matchEnvironmentDigest(selector.base64), selector.value);
    EXPECT_EQ(matchUpdateChannelDigest(selector.base64), UpdateChannel::FINAL);
  }
  // The comparison is exact: an upper-case or shortened form matches nothing.
  EXPECT_EQ(matchUpdateChannelDigest(L"6EC118716B330A9BE6DEC41BC8054A2E62A2A0D8"),
            UpdateChannel::FINAL);
  EXPECT_EQ(matchUpdateChannelDigest(L"bsEYcWszCpvm3sQbyAVKLmKioNg"), UpdateChannel::FINAL);
  EXPECT_EQ(matchEnvironmentDigest(L""), Environment::PRODUCTION);
}

TEST(Selectors, AValueThatIsNoValidUtf16IsRefused) {
  EXPECT_THROW(matchUpdateChannel(std::wstring(1, static_cast<wchar_t>(0xD800))), std::range_error);
  EXPECT_THROW(matchEnvironment(std::wstring(1, static_cast<wchar_t>(0xDC00))), std::range_error);
}

TEST(Channels, NamesAndBaseUrls) {
  const std::wstring internal = L"http://" + toUtf16(BackendHosts::updateIntegration);
  const std::wstring public_ = L"http://" + toUtf16(BackendHosts::download);
  const struct {
    std::uint32_t value;
    const char* name;
    std::wstring url;
  } cases[] = {
      {0, "TEAM", internal + L"/team-ms3"},
      {1, "TEAM1", internal + L"/team1-ms3"},
      {2, "TEAM2", internal + L"/team2-ms3"},
      {3, "EXPERIMENTAL", internal + L"/experimental-ms3"},
      {4, "DAILYBUILD", internal + L"/dailybuild-ms3"},
      {5, "QA1", public_ + L"/zell/qa1-ms3"},
      {6, "QA2", public_ + L"/zell/qa2-ms3"},
      {7, "BETA", public_ + L"/zell/beta-ms3"},
      {8, "FINAL", public_ + L"/zell/final-ms3"},
      {9, "Unknown", public_ + L"/zell/final-ms3"},
      {0xFFFFFFFFu, "Unknown", public_ + L"/zell/final-ms3"},
  };
  for (const auto& entry : cases) {
    const auto channel = static_cast<UpdateChannel>(entry.value);
    EXPECT_EQ(updateChannelName(channel), entry.name) << entry.value;
    EXPECT_EQ(updateChannelBaseUrl(channel), entry.url) << entry.value;
  }
}

TEST(Environments, NamesAndEventsEndpoints) {
  const std::wstring production = L"https://" + toUtf16(BackendHosts::eventsProduction);
  const struct {
    std::uint32_t value;
    const char* name;
    std::wstring endpoint;
  } cases[] = {
      {0, "DEV", L"https://" + toUtf16(BackendHosts::eventsDev) + L":8443"},
      {1, "INTEGRATION", L"https://" + toUtf16(BackendHosts::eventsIntegration) + L":8443"},
      {2, "SANDBOX", L"https://" + toUtf16(BackendHosts::eventsSandbox) + L":8443"},
      {3, "PRODUCTION", production},
      {4, "Unknown", production},
      {0xFFFFFFFFu, "Unknown", production},
  };
  for (const auto& entry : cases) {
    const auto environment = static_cast<Environment>(entry.value);
    EXPECT_EQ(environmentName(environment), entry.name) << entry.value;
    EXPECT_EQ(eventsEndpoint(environment), entry.endpoint) << entry.value;
    EXPECT_NE(entry.endpoint.back(), L'/');
  }
}

} // namespace
