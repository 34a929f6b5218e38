#include "events/GenericEvent.h"

#include <gtest/gtest.h>

#include <regex>

#include "BuildInfo.h"
#include "config/RegistryFactsFixture.h"
#include "utils/Registry.h"

namespace {

// The wire text with the value of "localtime" (checked for its form) replaced by "LOCALTIME".
std::string withFixedLocaltime(const std::string& text) {
  static const std::regex localtime(R"("localtime":"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d{4}")");
  std::smatch found;
  EXPECT_TRUE(std::regex_search(text, found, localtime)) << text;
  return std::regex_replace(text, localtime, R"("localtime":"LOCALTIME")");
}

// The client_version_info object as the build's constants give it.
std::string versionInfo() {
  return std::string(R"({"branch":")") + BuildInfo::branch + R"(","commit_id":")" +
         BuildInfo::commit_id + R"(","version":")" + BuildInfo::version + R"("})";
}

class GenericEventTest : public RegistryFactsTest {
protected:
  void SetUp() override {
    RegistryFactsTest::SetUp();
    writeRegistryString(RegistryRoot::CurrentUser, RegistryKeys::mainKey,
                        RegistryKeys::installationIdValue, kId);
  }
  static constexpr const wchar_t* kId = L"0f8e7d6c-5b4a-4392-8170-6f5e4d3c2b1a";
};

TEST_F(GenericEventTest, TheEnvelopeInByteOrderOfItsKeys) {
  GenericEvent event("installer_started");
  event.addUpdateChannel(UpdateChannel::BETA);
  EXPECT_EQ(withFixedLocaltime(event.serialize()),
            R"({"client_installation_id":"0f8e7d6c-5b4a-4392-8170-6f5e4d3c2b1a",)"
            R"("client_version_info":)" +
                versionInfo() +
                R"(,"localtime":"LOCALTIME","type":"installer_started",)"
                R"("update_channel_string":"BETA"})");
}

TEST_F(GenericEventTest, OwnKeysAreSortedInAmongTheEnvelopeAndObjectsTooAreSorted) {
  GenericEvent event("x");
  event.addUpdateChannel(UpdateChannel::FINAL);
  event.addField("zeta", "1");
  event.addField("error", "2");
  event.addField("Upper", "3"); // 'U' sorts before every lower-case letter
  event.addObject("memoryinfo", {{"total", "9"}, {"available", "8"}, {"s_total", "7"}});
  EXPECT_EQ(withFixedLocaltime(event.serialize()),
            R"({"Upper":"3","client_installation_id":"0f8e7d6c-5b4a-4392-8170-6f5e4d3c2b1a",)"
            R"("client_version_info":)" +
                versionInfo() +
                R"(,"error":"2","localtime":"LOCALTIME",)"
                R"("memoryinfo":{"available":"8","s_total":"7","total":"9"},)"
                R"("type":"x","update_channel_string":"FINAL","zeta":"1"})");
}

TEST_F(GenericEventTest, WithoutAnIdentifierTheEnvelopeCarriesTheEmptyText) {
  writeRegistryString(RegistryRoot::CurrentUser, RegistryKeys::mainKey,
                      RegistryKeys::installationIdValue, L"");
  const std::string text = GenericEvent("e").serialize();
  EXPECT_EQ(text.rfind(R"({"client_installation_id":"","client_version_info":)", 0), 0u) << text;
}

TEST_F(GenericEventTest, EscapesOnlyQuotesBackslashesAndControlCharacters) {
  const struct {
    std::string value;
    std::string wire;
  } cases[] = {
      {"plain / text", "plain / text"},
      {"say \"hi\"", R"(say \"hi\")"},
      {"C:\\Temp\\", R"(C:\\Temp\\)"},
      {"\b\f\n\r\t", R"(\b\f\n\r\t)"},
      {std::string("\x00\x01\x1f", 3), R"(\u0000\u0001\u001f)"},
      {"\x0b\x1b", R"(\u000b\u001b)"},
      {"\x7f", "\x7f"},
      // Non-ASCII characters stay raw UTF-8, whatever their length.
      {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) {
    GenericEvent event("e");
    event.addField("value", c.value);
    const std::string text = event.serialize();
    EXPECT_NE(text.find(R"("value":")" + c.wire + R"(")"), std::string::npos) << text;
  }
  GenericEvent keyed("e");
  keyed.addField("a\"b\n", "v");
  EXPECT_NE(keyed.serialize().find(R"("a\"b\n":"v")"), std::string::npos);
}

TEST_F(GenericEventTest, AKeyAddedTwiceKeepsItsFirstValue) {
  GenericEvent event("installer_close");
  event.addField("type", "another");
  event.addUpdateChannel(UpdateChannel::QA1);
  event.addUpdateChannel(UpdateChannel::FINAL);
  event.addField("error", "first");
  event.addField("error", "second");
  event.addObject("error", {{"k", "v"}});
  event.addField("client_installation_id", "forged");
  event.addObject("client_version_info", {});
  const std::string text = withFixedLocaltime(event.serialize());
  EXPECT_EQ(text, R"({"client_installation_id":"0f8e7d6c-5b4a-4392-8170-6f5e4d3c2b1a",)"
                  R"("client_version_info":)" +
                      versionInfo() +
                      R"(,"error":"first","localtime":"LOCALTIME",)"
                      R"("type":"installer_close","update_channel_string":"QA1"})");
}

TEST_F(GenericEventTest, TextThatIsNoValidUtf8CannotBeSerialized) {
  const std::string invalid[] = {"\xC3", "\x80", "a\xFF", "\xED\xA0\x80", "\xC0\xAF"};
  for (const std::string& value : invalid) {
    GenericEvent inValue("e");
    inValue.addField("value", value);
    try {
      inValue.serialize();
      ADD_FAILURE() << "serialized an invalid value";
    } catch (const nlohmann::json::type_error& error) {
      EXPECT_EQ(error.id, 316);
    }
    GenericEvent inKey("e");
    inKey.addObject("object", {{value, "v"}});
    EXPECT_THROW(inKey.serialize(), nlohmann::json::type_error);
  }
}

} // namespace
