#include "credentials/ProtectedKey.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "credentials/CredentialConstants.h"
#include "credentials/CredentialFixtures.h"
#include "credentials/CredentialStore.h"
#include "credentials/TextResource.h"

namespace {

struct KeyCase {
  const char* name;
  std::string pem;
  std::string passPhraseText;
  std::size_t bufferSize;
  bool read;
};

TEST(ProtectedKey, LeavesOnlyZerosInThePassPhraseBufferOnEveryPath) {
  const CredentialStore store(moduleTextResource);
  const std::string pem = store.loadTextResource(L"ID_DATA_2", true);
  const CredentialStore fixtures(credentialFixture);
  const std::string otherPem = fixtures.loadTextResource(L"ID_DATA_2.other", true);
  const std::string text = credential_constants::kPassPhraseText;
  const std::vector<KeyCase> cases = {
      {"the program's key", pem, text, kPassPhraseBufferSize, true},
      {"a larger buffer", pem, text, 64, true},
      {"a key under another pass phrase", otherPem, text, kPassPhraseBufferSize, false},
      {"another pass-phrase text", pem, "AAAAAAAAAAAAAAAAAAAAAA==", kPassPhraseBufferSize, false},
      {"a buffer one byte short", pem, text, kPassPhraseBufferSize - 1, false},
      {"no key text", "", text, kPassPhraseBufferSize, false},
      {"a text that is no PEM", "garbage", text, kPassPhraseBufferSize, false},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<unsigned char> buffer(c.bufferSize, 0xAA);
    EVP_PKEY* key =
        readProtectedKey(c.pem, c.passPhraseText, credential_constants::kPassPhraseKey,
                         sizeof credential_constants::kPassPhraseKey, buffer.data(), buffer.size());
    EXPECT_EQ(key != nullptr, c.read);
    EVP_PKEY_free(key);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](unsigned char b) { return b == 0; }));
  }
}

} // namespace
