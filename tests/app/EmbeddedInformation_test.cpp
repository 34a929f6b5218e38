#include "EmbeddedInformation.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include <nlohmann/json.hpp>

#include "InstallerApp.h"
#include "config/RegistryFactsFixture.h"
#include "events/EventDispatcher.h"
#include "omaha/PeFixture.h"
#include "qmtag/SignedImage.h"
#include "qmtag/TagText.h"
#include "utils/Paths.h"
#include "utils/Registry.h"
#include "utils/TextConversion.h"

using namespace pe_fixture;

namespace {

// `bytes` as lower-case hexadecimal digits.
std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (const char byte : bytes) {
    text += digits[static_cast<unsigned char>(byte) >> 4];
    text += digits[static_cast<unsigned char>(byte) & 0xF];
  }
  return text;
}

// A signed image whose tag text is `text`.
std::string taggedImage(const std::string& text) {
  return signedImage(unsignedImage(), tagBytes(text));
}

// The campaign record and what the step left behind.
struct Outcome {
  std::string gameId, googleClientId, gameLocale, injectionId;
  std::wstring storedClientId;
  // The campaign events handed to the dispatcher, parsed; their own four values only.
  std::vector<std::map<std::string, std::string>> events;
};

std::map<std::string, std::string> values(const std::string& serialized) {
  std::map<std::string, std::string> found;
  const nlohmann::json body = nlohmann::json::parse(serialized);
  EXPECT_EQ(body["type"], "STUB_INSTALLER_STARTED");
  EXPECT_EQ(body["qwevent"], "STUB_INSTALLER_STARTED");
  for (const char* key : {"game_id", "game_locale", "google_client_id", "injection_id"}) {
    if (body.contains(key)) {
      found[key] = body[key];
    }
  }
  return found;
}

class EmbeddedInformationTest : public RegistryFactsTest {
protected:
  void SetUp() override {
    RegistryFactsTest::SetUp();
    // The process's dispatcher is never initialized in the tests: its events stay held.
    EventDispatcher::instance().takeHeldEvents();
  }

  // Runs the step on the file `bytes` (none: a path where no file is).
  Outcome extract(const std::string* bytes) {
    const std::wstring path = joinPath(wideFolder(), L"tagged.exe");
    if (bytes) {
      writeFile(toUtf8(path), *bytes);
    }
    InstallerApp app;
    app.extractEmbeddedInformation(path);
    Outcome outcome{app.gameId,
                    app.googleClientId,
                    app.gameLocale,
                    app.injectionId,
                    readRegistryString(RegistryRoot::CurrentUser, RegistryKeys::mainKey,
                                       RegistryKeys::googleClientIdValue),
                    {}};
    for (const std::string& event : EventDispatcher::instance().takeHeldEvents()) {
      outcome.events.push_back(values(event));
    }
    return outcome;
  }
  Outcome extract(const std::string& bytes) { return extract(&bytes); }
};

const std::map<std::string, std::string> kPlaceholders = {{"game_id", "--none--"},
                                                          {"game_locale", "--none--"},
                                                          {"google_client_id", "--none--"},
                                                          {"injection_id", "--none--"}};

TEST_F(EmbeddedInformationTest, ACompleteRecordFromAQmtagStampFillsStoresAndReports) {
  const std::string text = qmtag::encodeTagText(
      {{"g", "123"}, {"l", "deu_deu"}, {"c", "1234567890.987"}, {"i", "spring"}});
  const Outcome outcome = extract(qmtag::withTag(signedImage(unsignedImage()), text));
  EXPECT_EQ(outcome.gameId, "123");
  EXPECT_EQ(outcome.gameLocale, "deu_deu");
  EXPECT_EQ(outcome.googleClientId, "1234567890.987");
  EXPECT_EQ(outcome.injectionId, "spring");
  EXPECT_EQ(outcome.storedClientId, L"1234567890.987");
  ASSERT_EQ(outcome.events.size(), 1u);
  EXPECT_EQ(outcome.events[0],
            (std::map<std::string, std::string>{{"game_id", "123"},
                                                {"game_locale", "deu_deu"},
                                                {"google_client_id", "1234567890.987"},
                                                {"injection_id", "spring"}}));
}

TEST_F(EmbeddedInformationTest, PartialRecords) {
  const struct {
    const char* name;
    std::string json;
    std::string gameId, googleClientId, gameLocale, injectionId;
    bool event;
  } cases[] = {
      {"no injection: no event", R"({"g":"7","c":"1.2","l":"fra_fra"})", "7", "1.2", "fra_fra", "",
       false},
      {"an empty injection: no event", R"({"g":"7","i":""})", "7", "", "", "", false},
      {"a number for the game", R"({"g":123,"i":"x","l":"deu_deu"})", "", "", "deu_deu", "x", true},
      {"members of other types and others ignored",
       R"({"g":null,"c":["1"],"l":{"a":"b"},"i":"x","z":"q"})", "", "", "", "x", true},
      {"a JSON value that is no object", R"(["g","123"])", "", "", "", "", false},
      {"a JSON string", R"("i")", "", "", "", "", false},
      {"non-ASCII values", "{\"g\":\"\xC3\xA4\",\"i\":\"\\u00e9\"}", "\xC3\xA4", "", "", "\xC3\xA9",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeRegistryString(RegistryRoot::CurrentUser, RegistryKeys::mainKey,
                        RegistryKeys::googleClientIdValue, L"");
    const Outcome outcome = extract(taggedImage(hex(c.json)));
    EXPECT_EQ(outcome.gameId, c.gameId);
    EXPECT_EQ(outcome.googleClientId, c.googleClientId);
    EXPECT_EQ(outcome.gameLocale, c.gameLocale);
    EXPECT_EQ(outcome.injectionId, c.injectionId);
    EXPECT_EQ(outcome.storedClientId, toUtf16(c.googleClientId));
    ASSERT_EQ(outcome.events.size(), c.event ? 1u : 0u);
    if (c.event) {
      EXPECT_EQ(outcome.events[0].at("injection_id"), c.injectionId);
      EXPECT_EQ(outcome.events[0].count("google_client_id"), c.googleClientId.empty() ? 0u : 1u);
      EXPECT_EQ(outcome.events[0].count("game_id"), c.gameId.empty() ? 0u : 1u);
    }
  }
}

TEST_F(EmbeddedInformationTest, NoUsableTagSendsThePlaceholderEventAndFillsNothing) {
  const std::string campaign = hex(R"({"g":"1","c":"2","l":"3","i":"4"})");
  const struct {
    const char* name;
    std::string image;
  } cases[] = {
      {"unsigned", unsignedImage()},
      {"signed without a tag", signedImage(unsignedImage())},
      {"no PE image at all", std::string(4096, 'x')},
      {"not JSON", taggedImage(hex("not json"))},
      {"JSON cut short", taggedImage(hex(R"({"g":"1","i":"4")"))},
      {"invalid UTF-8 inside a string", taggedImage(hex("{\"i\":\"\xFF\"}"))},
      {"a lone surrogate escape", taggedImage(hex(R"({"g":"5","i":"\ud800"})"))},
      {"a character that is no hexadecimal digit", taggedImage(campaign + "g")},
      {"a blank among the digits", taggedImage(" " + campaign)},
      {"a single digit", taggedImage("7")},
      {"a text beginning with a zero byte", taggedImage(std::string("\0", 1) + campaign)},
      {"8206 bytes of text", taggedImage(hex("{\"i\":\"" + std::string(4095, 'x') + "\"}"))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = extract(c.image);
    EXPECT_EQ(outcome.gameId + outcome.googleClientId + outcome.gameLocale + outcome.injectionId,
              "");
    EXPECT_EQ(outcome.storedClientId, L"");
    ASSERT_EQ(outcome.events.size(), 1u);
    EXPECT_EQ(outcome.events[0], kPlaceholders);
  }
}

TEST_F(EmbeddedInformationTest, TheTagTextIsReadUpTo8205BytesAndAZeroEndsIt) {
  // {"i":"xx...x"} is 8 bytes plus the value; an odd last digit is dropped.
  const std::string longest = hex("{\"i\":\"" + std::string(4094, 'x') + "\"}") + "0";
  ASSERT_EQ(longest.size(), kMaxEmbeddedTextBytes);
  const Outcome read = extract(taggedImage(longest));
  EXPECT_EQ(read.injectionId, std::string(4094, 'x'));
  ASSERT_EQ(read.events.size(), 1u);
  EXPECT_EQ(read.events[0].at("injection_id"), std::string(4094, 'x'));

  const Outcome cut = extract(taggedImage(hex(R"({"i":"abc"})") + std::string("\0zz", 3)));
  EXPECT_EQ(cut.injectionId, "abc");
  EXPECT_EQ(cut.events.size(), 1u);

  const Outcome upper = extract(taggedImage("7B2269223A22414243227D")); // {"i":"ABC"}
  EXPECT_EQ(upper.injectionId, "ABC");
}

TEST_F(EmbeddedInformationTest, AFileThatCannotBeOpenedSendsNoEvent) {
  const Outcome outcome = extract(nullptr);
  EXPECT_TRUE(outcome.events.empty());
  EXPECT_EQ(outcome.gameId, "");
}

TEST(HexDecode, TwoDigitsPerByteOfEitherCase) {
  const struct {
    std::string text;
    std::string bytes;
  } cases[] = {
      {"", ""},
      {"4a", "J"},
      {"4A", "J"},
      {"4a4", "J"},
      {"00ff7F", std::string("\0\xff\x7f", 3)},
      {"0123456789abcdefABCDEF", "\x01\x23\x45\x67\x89\xab\xcd\xef\xab\xcd\xef"},
      {"zz", ""},
      {"4g", ""},
      {"4a4g", ""},
      {"4a ", ""},
      {"-1", ""},
      // The neighbours of the digit ranges.
      {"/0", ""},
      {":0", ""},
      {"@0", ""},
      {"G0", ""},
      {"`0", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hexDecode(c.text), c.bytes) << c.text;
  }
}

} // namespace
