#include "support/TestSocket.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include "utils/Handles_posix.h"

curl_socket_t openTestSocket() {
  const int socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  return socket >= 0 ? socket : CURL_SOCKET_BAD;
}

void closeTestSocket(curl_socket_t socket) { UniqueFd owner(socket); }
