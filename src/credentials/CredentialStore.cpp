#include "credentials/CredentialStore.h"

#include <openssl/bio.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include "credentials/CredentialConstants.h"
#include "credentials/OpenSslHandles.h"
#include "credentials/ProtectedKey.h"
#include "credentials/TextResource.h"

namespace {

// The certificate of the PEM text `pem`; null when it is empty or holds none.
X509* readCertificate(const std::string& pem) {
  if (pem.empty()) {
    return nullptr;
  }
  const UniqueBio source(BIO_new_mem_buf(pem.c_str(), -1));
  return source ? PEM_read_bio_X509(source.get(), nullptr, nullptr, nullptr) : nullptr;
}

} // namespace

CredentialStore& CredentialStore::instance() {
  static CredentialStore store(moduleTextResource);
  return store;
}

CredentialStore::CredentialStore(ResourceReader reader) : readResource(std::move(reader)) {
  // Initialises OpenSSL (which loads its ciphers and digests on demand) before this store is
  // complete, so that OpenSSL's own clean-up at exit comes after this store's destructor.
  OPENSSL_init_crypto(OPENSSL_INIT_ADD_ALL_CIPHERS | OPENSSL_INIT_ADD_ALL_DIGESTS, nullptr);
}

CredentialStore::~CredentialStore() {
  X509_free(clientCertificate);
  X509_free(caCertificate);
  EVP_PKEY_free(privateKey);
}

std::string CredentialStore::loadTextResource(const std::wstring& name, bool descramble) const {
  std::string text = readResource ? readResource(name) : std::string();
  if (descramble) {
    const unsigned k = credential_constants::kScrambleKey;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const unsigned stored = static_cast<unsigned char>(text[i]);
      text[i] = static_cast<char>((stored + i - k) & 0xFF);
    }
  }
  return text.substr(0, text.find('\0'));
}

bool CredentialStore::load() {
  const std::lock_guard<std::mutex> lock(mutex);
  // Loaded once: transfers may be reading the objects already.
  if (privateKey && clientCertificate && caCertificate) {
    return true;
  }
  unsigned char passPhrase[kPassPhraseBufferSize];
  EVP_PKEY_free(privateKey);
  privateKey =
      readProtectedKey(loadTextResource(L"ID_DATA_2", true), credential_constants::kPassPhraseText,
                       credential_constants::kPassPhraseKey,
                       sizeof credential_constants::kPassPhraseKey, passPhrase, sizeof passPhrase);
  if (privateKey != nullptr) {
    X509_free(clientCertificate);
    clientCertificate = readCertificate(loadTextResource(L"ID_DATA_1", true));
  }
  if (privateKey != nullptr && clientCertificate != nullptr) {
    X509_free(caCertificate);
    caCertificate = readCertificate(loadTextResource(L"ID_DATA_3", true));
  }
  const bool loaded = privateKey && clientCertificate && caCertificate;
  if (!loaded) {
    // What the refusals left in this thread's error queue would only confuse later reports.
    ERR_clear_error();
  }
  return loaded;
}
