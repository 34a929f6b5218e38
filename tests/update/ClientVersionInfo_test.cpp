#include "update/ClientVersionInfo.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <nlohmann/json.hpp>

namespace {

const std::wstring kBase = L"http://download.example/zell/final-ms3";

TEST(ResolveUrl, FourFormsAgainstTheChannelBase) {
  const struct {
    std::wstring url, base, resolved;
  } cases[] = {
      {L"https://cdn.example/x/a.exe", kBase, L"https://cdn.example/x/a.exe"},
      {L"HTTPS://CDN.example/a.exe", kBase, L"HTTPS://CDN.example/a.exe"},
      {L"Http://cdn.example/a.exe", kBase, L"Http://cdn.example/a.exe"},
      {L"//cdn.example/a.exe", kBase, L"http://cdn.example/a.exe"},
      {L"/dl/a.exe", kBase, L"http://download.example/dl/a.exe"},
      {L"a.exe", kBase, L"http://download.example/zell/final-ms3/a.exe"},
      // Only http and https count as absolute.
      {L"ftp://cdn.example/a.exe", kBase,
       L"http://download.example/zell/final-ms3/ftp://cdn.example/a.exe"},
      {L"a.exe", L"http://download.example/zell/", L"http://download.example/zell/a.exe"},
      {L"a.exe", L"", L"a.exe"},
      // Bases without a scheme, a path or a colon.
      {L"/x", L"http://host.example", L"http://host.example/x"},
      {L"/x", L"host.example/base", L"host.example/x"},
      {L"//g/a", L"nocolon",
       L":"
       L"//g/a"},
      {L"/", kBase, L"http://download.example/"},
      // Absolute means the whole of "^https?://.*": no line terminator after the scheme, and
      // the scheme exactly (ECMAScript's "." takes neither CR, LF, U+2028 nor U+2029).
      {L"http://a.example/\nb", kBase, kBase + L"/http://a.example/\nb"},
      {L"https://a.example/\u2028", kBase, kBase + L"/https://a.example/\u2028"},
      {L"HtTpS://", kBase, L"HtTpS://"},
      {L"httpss://a.example/", kBase, kBase + L"/httpss://a.example/"},
      {L"http:/a.example/", kBase, kBase + L"/http:/a.example/"},
      {L"http", kBase, kBase + L"/http"},
      {L" http://a.example/", kBase, kBase + L"/ http://a.example/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(resolveUrl(c.url, c.base), c.resolved) << c.url.size();
  }
}

// Found by fuzzing: the absolute form was once matched by a regular expression, whose matcher
// recursed once per character and overflowed the stack on a long URL.
TEST(ResolveUrl, ALongUrlFromTheServerIsResolvedLikeAShortOne) {
  const std::wstring path(1000000, L'a');
  EXPECT_EQ(resolveUrl(L"hTTp://cdn.example/" + path, kBase), L"hTTp://cdn.example/" + path);
  EXPECT_EQ(resolveUrl(path, kBase), kBase + L"/" + path);
  // A line end after a long path is found as it is after a short one.
  EXPECT_EQ(resolveUrl(L"https://cdn.example/" + path + L"\n", kBase),
            kBase + L"/https://cdn.example/" + path + L"\n");
}

TEST(ResolveUrl, AnEmptyValueIsAnOutOfRangeError) {
  EXPECT_THROW(resolveUrl(L"", kBase), std::out_of_range);
}

ClientVersionInfo parse(const std::string& text) { return parseVersionDocument(text, kBase); }

TEST(VersionDocument, ReadsTheVersionAndResolvesTheSetupUrl) {
  const ClientVersionInfo info =
      parse(R"({"version": "2.10.0", "full": {"url": "setup.exe", "size": 5}, "delta": {}})");
  EXPECT_EQ(info.version, (std::vector<std::string>{"2", "10", "0"}));
  EXPECT_EQ(joinVersion(info.version), "2.10.0");
  EXPECT_EQ(info.url, kBase + L"/setup.exe");
  EXPECT_EQ(parse(R"({"version": "7", "full": {"url": "a"}})").version,
            std::vector<std::string>{"7"});
  const ClientVersionInfo empty = parse(R"({"version": "", "full": {"url": "a"}})");
  EXPECT_EQ(empty.version, std::vector<std::string>{""});
  EXPECT_EQ(joinVersion(empty.version), "");
  EXPECT_EQ(joinVersion({}), "");
}

TEST(VersionDocument, MalformedDocumentsRaiseTheJsonLibrarysErrors) {
  const std::string documents[] = {
      "",
      "this is not json",
      R"({"version": "2.10.0"})",
      R"({"full": {"url": "a"}})",
      R"({"version": 2, "full": {"url": "a"}})",
      R"({"version": "2", "full": "a"})",
      R"({"version": "2", "full": {"url": 5}})",
      R"({"version": "2", "full": {}})",
      R"(["version", "full"])",
      R"({"version": "2", "full": {"url": "a"})",
  };
  for (const std::string& document : documents) {
    try {
      parse(document);
      ADD_FAILURE() << "accepted " << document;
    } catch (const std::runtime_error& error) {
      ADD_FAILURE() << "a runtime error would carry no MessageKey: " << error.what();
    } catch (const nlohmann::json::exception&) {
    }
  }
  // An empty setup URL is an out-of-range error, no runtime error either.
  EXPECT_THROW(parse(R"({"version": "2", "full": {"url": ""}})"), std::out_of_range);
}

} // namespace

#include "support/TestEnvironment.h"
#include "utils/TextConversion.h"

namespace {

TEST(VersionDocument, LivesBesideTheChannelsBase) {
  EXPECT_EQ(versionDocumentUrl(UpdateChannel::FINAL),
            updateChannelBaseUrl(UpdateChannel::FINAL) + L"/clientversioninfo.json");
  EXPECT_EQ(versionDocumentUrl(UpdateChannel::TEAM),
            updateChannelBaseUrl(UpdateChannel::TEAM) + L"/clientversioninfo.json");
}

class VersionDocumentFile : public IsolatedTest {};

TEST_F(VersionDocumentFile, IsReadFromItsPathAgainstTheChannel) {
  const std::string path = folder() + "/clientversioninfo.json";
  writeFile(path, R"({"version": "3.1", "full": {"url": "/dl/setup.exe"}})");
  const ClientVersionInfo info = parseClientVersionInfo(toUtf16(path), UpdateChannel::BETA);
  EXPECT_EQ(joinVersion(info.version), "3.1");
  EXPECT_EQ(info.url, resolveUrl(L"/dl/setup.exe", updateChannelBaseUrl(UpdateChannel::BETA)));
  // A file that is not there reads as no JSON.
  EXPECT_THROW(parseClientVersionInfo(toUtf16(folder() + "/missing.json"), UpdateChannel::BETA),
               nlohmann::json::exception);
}

} // namespace
