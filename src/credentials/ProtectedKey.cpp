#include "credentials/ProtectedKey.h"

#include <openssl/bio.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstring>

#include "credentials/CredentialStore.h"
#include "credentials/OpenSslHandles.h"
#include "credentials/Rc4.h"

namespace {

// Wipes a buffer when it goes out of scope, whichever way that happens.
class Wipe {
public:
  Wipe(void* data, std::size_t size) : data_(data), size_(size) {}
  ~Wipe() { OPENSSL_cleanse(data_, size_); }
  Wipe(const Wipe&) = delete;
  Wipe& operator=(const Wipe&) = delete;

private:
  void* data_;
  std::size_t size_;
};

} // namespace

EVP_PKEY* readProtectedKey(const std::string& pem, const std::string& passPhraseText,
                           const unsigned char* rc4Key, std::size_t rc4KeySize,
                           unsigned char* buffer, std::size_t bufferSize) {
  const Wipe wipeBuffer(buffer, bufferSize);
  std::memset(buffer, 0, bufferSize);
  if (pem.empty()) {
    return nullptr;
  }
  // Up to the text's terminating zero.
  const UniqueBio source(BIO_new_mem_buf(pem.c_str(), -1));
  std::string encrypted = CredentialStore::base64Decode(passPhraseText);
  const Wipe wipeEncrypted(&encrypted[0], encrypted.size());
  if (!source || encrypted.size() + 1 > bufferSize || rc4KeySize == 0) {
    return nullptr;
  }
  rc4(rc4Key, rc4KeySize, reinterpret_cast<const unsigned char*>(encrypted.data()), buffer,
      encrypted.size());
  return PEM_read_bio_PrivateKey(source.get(), nullptr, nullptr, buffer);
}
