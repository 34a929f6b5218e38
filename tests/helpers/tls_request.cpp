// Requests URL over mutually authenticated TLS as telemetry does: the credential store loaded
// from the program's own resources, its hook installed on the libcurl transfer. Prints the
// response body and exits with the libcurl result code (0 on success, 99 when load fails).
// Stands in for the telemetry sender in the mutual-TLS tests.
#include <cstdio>
#include <string>

#include <curl/curl.h>

#include "credentials/CredentialStore.h"

namespace {

std::size_t collect(char* data, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tls_request URL\n", stderr);
    return 98;
  }
  curl_global_init(CURL_GLOBAL_DEFAULT);
  if (!CredentialStore::instance().load()) {
    std::fputs("load failed\n", stderr);
    return 99;
  }
  CURL* handle = curl_easy_init();
  std::string body;
  curl_easy_setopt(handle, CURLOPT_URL, argv[1]);
  curl_easy_setopt(handle, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(handle, CURLOPT_TIMEOUT, 60L);
  curl_easy_setopt(handle, CURLOPT_SSL_CTX_FUNCTION, &CredentialStore::installCredentials);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
  const CURLcode result = curl_easy_perform(handle);
  curl_easy_cleanup(handle);
  curl_global_cleanup();
  std::printf("%s", body.c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "result %d\n", static_cast<int>(result));
  return static_cast<int>(result);
}
