#include "config/InstallationId.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "InstallerApp.h"
#include "config/GoogleClientId.h"
#include "config/RegistryFactsFixture.h"
#include "utils/Registry.h"
#include "utils/TextConversion.h"

namespace {

struct Place {
  RegistryRoot root;
  const std::wstring& key;
};
// The four places in their read order.
const Place kPlaces[] = {
    {RegistryRoot::LocalMachine, RegistryKeys::mainKey},
    {RegistryRoot::CurrentUser, RegistryKeys::mainKey},
    {RegistryRoot::LocalMachine, RegistryKeys::legacyKey},
    {RegistryRoot::CurrentUser, RegistryKeys::legacyKey},
};

std::wstring storedId(const Place& place) {
  return readRegistryString(place.root, place.key, RegistryKeys::installationIdValue);
}

void storeId(const Place& place, const std::wstring& id) {
  writeRegistryString(place.root, place.key, RegistryKeys::installationIdValue, id);
}

// A version 4, variant 1 UUID in lower case, 8-4-4-4-12.
bool isRandomUuid(const std::wstring& id) {
  static const std::regex form(
      "[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
  return std::regex_match(toUtf8(id), form);
}

using InstallationId = RegistryFactsTest;

TEST_F(InstallationId, TheEarliestPlaceInTheReadOrderWins) {
  // Every combination of filled places; each place holds an identifier of its own.
  for (unsigned filled = 0; filled < 16; ++filled) {
    SCOPED_TRACE(filled);
    std::wstring expected;
    for (unsigned place = 0; place < 4; ++place) {
      const bool present = (filled & (1u << place)) != 0;
      storeId(kPlaces[place], present ? L"id-of-place-" + std::to_wstring(place) : L"");
      if (present && expected.empty()) {
        expected = L"id-of-place-" + std::to_wstring(place);
      }
    }
    EXPECT_EQ(readInstallationId(), expected);
  }
}

TEST_F(InstallationId, OneIdentifierIsCreatedUnderCurrentUserOnlyWhenNoneExists) {
  InstallerApp app;
  app.ensureInstallationId();
  const std::wstring created = storedId(kPlaces[1]);
  EXPECT_TRUE(isRandomUuid(created)) << toUtf8(created);
  EXPECT_EQ(storedId(kPlaces[0]), L"");
  EXPECT_EQ(storedId(kPlaces[2]), L"");
  EXPECT_EQ(storedId(kPlaces[3]), L"");
  EXPECT_EQ(readInstallationId(), created);
  // A second run finds it and leaves everything as it is.
  app.ensureInstallationId();
  EXPECT_EQ(storedId(kPlaces[1]), created);
  EXPECT_EQ(storedId(kPlaces[0]), L"");
}

TEST_F(InstallationId, AnIdentifierFoundAnywhereIsNeitherCopiedNorReplaced) {
  for (const std::size_t place : {0, 2, 3}) {
    SCOPED_TRACE(place);
    storeId(kPlaces[place], L"6f9619ff-8b86-d011-b42d-00c04fc964ff");
    InstallerApp().ensureInstallationId();
    EXPECT_EQ(storedId(kPlaces[1]), L"");
    EXPECT_EQ(readInstallationId(), L"6f9619ff-8b86-d011-b42d-00c04fc964ff");
    storeId(kPlaces[place], L"");
  }
}

TEST(NewRandomUuid, IsALowerCaseVersion4UuidAndNewEachTime) {
  std::set<std::wstring> seen;
  for (int i = 0; i < 50; ++i) {
    const std::wstring id = newRandomUuid();
    EXPECT_TRUE(isRandomUuid(id)) << toUtf8(id);
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 50u);
}

using GoogleClientId = RegistryFactsTest;

TEST_F(GoogleClientId, IsStoredAsUtf16UnderCurrentUser) {
  storeGoogleClientId("1234567890.0987654321");
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, RegistryKeys::mainKey, L"GoogleClientId"),
            L"1234567890.0987654321");
  storeGoogleClientId("gr\xC3\xBC\xC3\x9F");
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, RegistryKeys::mainKey, L"GoogleClientId"),
            L"gr\u00fc\u00df");
  // A text that is no UTF-8 leaves the stored one untouched.
  storeGoogleClientId("bad \xC3\x28");
  EXPECT_EQ(readRegistryString(RegistryRoot::CurrentUser, RegistryKeys::mainKey, L"GoogleClientId"),
            L"gr\u00fc\u00df");
  EXPECT_EQ(
      readRegistryString(RegistryRoot::LocalMachine, RegistryKeys::mainKey, L"GoogleClientId"),
      L"");
}

} // namespace
