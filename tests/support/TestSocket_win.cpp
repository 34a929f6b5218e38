#include "support/TestSocket.h"

#include "utils/Handles_win.h"

curl_socket_t openTestSocket() {
  // Winsock is started once for the test process and left running.
  static const bool started = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started ? ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : CURL_SOCKET_BAD;
}

void closeTestSocket(curl_socket_t socket) { UniqueSocket owner(socket); }
