// Test support: a TCP socket to try socket options on.
#pragma once

#include <curl/curl.h>

// A new, unconnected TCP socket (IPv4), which the caller closes with closeTestSocket;
// CURL_SOCKET_BAD when the system gave none.
curl_socket_t openTestSocket();

// Closes a socket from openTestSocket; CURL_SOCKET_BAD is ignored.
void closeTestSocket(curl_socket_t socket);

// Owns a socket from openTestSocket for one scope.
struct ScopedTestSocket {
  ScopedTestSocket() = default;
  ScopedTestSocket(const ScopedTestSocket&) = delete;
  ScopedTestSocket& operator=(const ScopedTestSocket&) = delete;
  ~ScopedTestSocket() { closeTestSocket(socket); }
  curl_socket_t socket = openTestSocket();
};
