// The TLS client credentials of telemetry: the client certificate, its private key and the CA
// certificate trusted for the events server, kept scrambled in the program's "TEXT" resources
// "ID_DATA_1", "ID_DATA_2" and "ID_DATA_3".
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include <curl/curl.h>
#include <openssl/types.h>

// The process-wide holder of the three credential objects. It loads them once (load) and puts
// them into every TLS context that libcurl makes for a telemetry transfer (installCredentials, the
// CURLOPT_SSL_CTX_FUNCTION hook):
//
//   CredentialStore::instance().load();
//   curl_easy_setopt(handle, CURLOPT_SSL_CTX_FUNCTION, &CredentialStore::installCredentials);
//
// OpenSSL 3 locks its own shared state and releases it at process exit by itself, so the store
// installs no thread callbacks or lock table and makes no library clean-up calls; it frees only
// its own three objects.
class CredentialStore {
public:
  // The raw (still scrambled) bytes of the "TEXT" resource of a name; empty when there is none.
  using ResourceReader = std::function<std::string(const std::wstring& name)>;

  // The process-wide store, reading the program's own resources; made on first use (concurrent
  // first callers wait for one construction) and destroyed at normal process exit.
  static CredentialStore& instance();

  // A store of its own that reads its resources through `readResource` (tests).
  explicit CredentialStore(ResourceReader readResource);
  // Frees the three objects.
  ~CredentialStore();
  CredentialStore(const CredentialStore&) = delete;
  CredentialStore& operator=(const CredentialStore&) = delete;

  // Reads, in this order, the private key from "ID_DATA_2" (decrypted with the pass phrase that
  // the program assembles and wipes right after), the client certificate from "ID_DATA_1" and the
  // CA certificate from "ID_DATA_3", stopping at the first that is missing or unreadable. True
  // when all three are present afterwards; once they are, later calls return true at once. A
  // failure keeps what was read, and a later call reads again. Serialized by a mutex; logs nothing.
  bool load();

  // The libcurl TLS context hook: puts the process-wide store's credentials into `sslContext` (an
  // OpenSSL SSL_CTX); `curl` and `userData` are not used. Returns CURLE_OK (0), or
  // CURLE_PEER_FAILED_VERIFICATION (60) when the CA certificate is not taken into the context's
  // store (one that the store holds already counts as taken), CURLE_SSL_CERTPROBLEM (58) when the
  // client certificate is refused, CURLE_FAILED_INIT (2) when the private key is refused. Reads the
  // store without locking: load has finished before any transfer starts.
  static CURLcode installCredentials(CURL* curl, void* sslContext, void* userData);

  // installCredentials with this store's credentials.
  CURLcode installInto(SSL_CTX* context) const;

  // The bytes of the "TEXT" resource `name`, descrambled when `descramble` is set
  // (t[i] = (s[i] + i - K) mod 256), up to the first zero byte. Empty when the resource is
  // missing or empty.
  std::string loadTextResource(const std::wstring& name, bool descramble) const;

  // Decodes standard Base64 (letters, digits, "+", "/"). Stops at the first "=" or at the first
  // character outside the alphabet; each complete group of four characters gives three bytes, a
  // last group of two or three characters one or two bytes (a last single character none).
  static std::string base64Decode(const std::string& text);

private:
  EVP_PKEY* privateKey = nullptr;
  X509* clientCertificate = nullptr;
  X509* caCertificate = nullptr;
  // Guards load.
  std::mutex mutex;
  ResourceReader readResource;
};
