#include "credentials/CredentialStore.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>

#include <map>
#include <string>
#include <vector>

#include "credentials/CredentialConstants.h"
#include "credentials/CredentialFixtures.h"
#include "credentials/TextResource.h"

namespace {

using Names = std::vector<std::wstring>;

// The program's own resources, some of them replaced, recording each name asked for.
CredentialStore::ResourceReader readerWith(std::map<std::wstring, std::string> replaced,
                                           Names& asked) {
  return [replaced, &asked](const std::wstring& name) {
    asked.push_back(name);
    const auto found = replaced.find(name);
    return found != replaced.end() ? found->second : moduleTextResource(name);
  };
}

// The stored form of the text `text` (t[i] = (s[i] + i - K) mod 256 undone).
std::string scrambled(const std::string& text) {
  std::string out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const unsigned t = static_cast<unsigned char>(out[i]);
    out[i] = static_cast<char>((t - i + credential_constants::kScrambleKey) & 0xFF);
  }
  return out;
}

struct SslContext {
  SSL_CTX* context = SSL_CTX_new(TLS_client_method());
  ~SslContext() { SSL_CTX_free(context); }
};

TEST(CredentialStore, ResourcesHoldTheScrambledPemTexts) {
  const CredentialStore store(moduleTextResource);
  EXPECT_EQ(store.loadTextResource(L"ID_DATA_1", true).rfind("-----BEGIN CERTIFICATE-----", 0), 0u);
  EXPECT_NE(store.loadTextResource(L"ID_DATA_2", true).find("PRIVATE KEY-----"), std::string::npos);
  EXPECT_EQ(store.loadTextResource(L"ID_DATA_3", true).rfind("-----BEGIN CERTIFICATE-----", 0), 0u);
  EXPECT_EQ(store.loadTextResource(L"ID_DATA_1", false).rfind("-----BEGIN", 0), std::string::npos);
  EXPECT_EQ(store.loadTextResource(L"ID_DATA_4", true), "");
  EXPECT_EQ(moduleTextResource(L"ID_DATA_4"), "");
}

TEST(CredentialStore, AZeroByteEndsTheDescrambledText) {
  const CredentialStore store(
      [](const std::wstring&) { return scrambled(std::string("abc\0def", 7)); });
  EXPECT_EQ(store.loadTextResource(L"ID_DATA_1", true), "abc");
}

struct LoadCase {
  const char* name;
  std::map<std::wstring, std::string> replaced;
  bool loaded;
  Names asked;
};

TEST(CredentialStore, LoadReadsKeyCertificateAndCaAndStopsAtTheFirstFailure) {
  const std::vector<LoadCase> cases = {
      {"all present", {}, true, {L"ID_DATA_2", L"ID_DATA_1", L"ID_DATA_3"}},
      {"no ID_DATA_2", {{L"ID_DATA_2", ""}}, false, {L"ID_DATA_2"}},
      {"ID_DATA_2 under another pass phrase",
       {{L"ID_DATA_2", credentialFixture(L"ID_DATA_2.other")}},
       false,
       {L"ID_DATA_2"}},
      {"ID_DATA_2 not PEM", {{L"ID_DATA_2", scrambled("garbage")}}, false, {L"ID_DATA_2"}},
      {"no ID_DATA_1", {{L"ID_DATA_1", ""}}, false, {L"ID_DATA_2", L"ID_DATA_1"}},
      {"no ID_DATA_3", {{L"ID_DATA_3", ""}}, false, {L"ID_DATA_2", L"ID_DATA_1", L"ID_DATA_3"}},
  };
  ASSERT_FALSE(credentialFixture(L"ID_DATA_2.other").empty());
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    Names asked;
    CredentialStore store(readerWith(c.replaced, asked));
    EXPECT_EQ(store.load(), c.loaded);
    EXPECT_EQ(asked, c.asked);
  }
}

TEST(CredentialStore, ALoadedStoreDoesNotReadAgain) {
  Names asked;
  CredentialStore store(readerWith({}, asked));
  ASSERT_TRUE(store.load());
  asked.clear();
  EXPECT_TRUE(store.load());
  EXPECT_TRUE(asked.empty());
}

TEST(CredentialStore, TheHookInstallsTheProgramsCredentialsTwiceIntoOneContext) {
  ASSERT_TRUE(CredentialStore::instance().load());
  const SslContext tls;
  ASSERT_NE(tls.context, nullptr);
  EXPECT_EQ(CredentialStore::installCredentials(nullptr, tls.context, nullptr), CURLE_OK);
  EXPECT_EQ(CredentialStore::installCredentials(nullptr, tls.context, nullptr), CURLE_OK);
  EXPECT_EQ(sk_X509_OBJECT_num(X509_STORE_get0_objects(SSL_CTX_get_cert_store(tls.context))), 1);
  EXPECT_NE(SSL_CTX_get0_certificate(tls.context), nullptr);
  EXPECT_EQ(SSL_CTX_check_private_key(tls.context), 1);
  // OpenSSL 3 takes a certificate the store holds already and leaves no error behind.
  EXPECT_EQ(ERR_peek_error(), 0u);
}

TEST(CredentialStore, TheHookAcceptsAContextThatHoldsAnEqualCaCertificateAlready) {
  ASSERT_TRUE(CredentialStore::instance().load());
  const std::string pem = CredentialStore::instance().loadTextResource(L"ID_DATA_3", true);
  BIO* source = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
  X509* copy = PEM_read_bio_X509(source, nullptr, nullptr, nullptr);
  BIO_free(source);
  ASSERT_NE(copy, nullptr);
  const SslContext tls;
  ASSERT_EQ(X509_STORE_add_cert(SSL_CTX_get_cert_store(tls.context), copy), 1);
  X509_free(copy);
  EXPECT_EQ(CredentialStore::installCredentials(nullptr, tls.context, nullptr), CURLE_OK);
}

struct InstallCase {
  const char* name;
  std::map<std::wstring, std::string> replaced;
  CURLcode result;
};

TEST(CredentialStore, TheHookReportsWhichCredentialTheContextRefused) {
  const std::vector<InstallCase> cases = {
      {"a certificate the key does not belong to",
       {{L"ID_DATA_1", credentialFixture(L"ID_DATA_1.foreign")}},
       CURLE_FAILED_INIT},
      {"a certificate with a 512-bit key",
       {{L"ID_DATA_1", credentialFixture(L"ID_DATA_1.weak")}},
       CURLE_SSL_CERTPROBLEM},
  };
  for (const InstallCase& c : cases) {
    SCOPED_TRACE(c.name);
    Names asked;
    CredentialStore store(readerWith(c.replaced, asked));
    ASSERT_TRUE(store.load());
    const SslContext tls;
    EXPECT_EQ(store.installInto(tls.context), c.result);
  }
  // Nothing loaded: no CA certificate to add.
  const CredentialStore empty([](const std::wstring&) { return std::string(); });
  const SslContext tls;
  EXPECT_EQ(empty.installInto(tls.context), CURLE_PEER_FAILED_VERIFICATION);
}

} // namespace
