#include "credentials/CredentialStore.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

CURLcode CredentialStore::installCredentials(CURL*, void* sslContext, void*) {
  return instance().installInto(static_cast<SSL_CTX*>(sslContext));
}

CURLcode CredentialStore::installInto(SSL_CTX* context) const {
  // Only this call's refusal is looked at below.
  ERR_clear_error();
  if (X509_STORE_add_cert(SSL_CTX_get_cert_store(context), caCertificate) != 1) {
    // OpenSSL 3 takes a certificate that the store holds already without complaint; older ones
    // refused it with "cert already in hash table", which is no failure either.
    const unsigned long error = ERR_peek_last_error();
    if (ERR_GET_LIB(error) != ERR_LIB_X509 ||
        ERR_GET_REASON(error) != X509_R_CERT_ALREADY_IN_HASH_TABLE) {
      return CURLE_PEER_FAILED_VERIFICATION;
    }
    ERR_clear_error();
  }
  if (SSL_CTX_use_certificate(context, clientCertificate) != 1) {
    return CURLE_SSL_CERTPROBLEM;
  }
  if (SSL_CTX_use_PrivateKey(context, privateKey) != 1) {
    return CURLE_FAILED_INIT;
  }
  return CURLE_OK;
}
