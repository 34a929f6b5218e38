#include "utils/SocketBuffer.h"

#include <sys/socket.h>

bool setSocketReceiveBuffer(curl_socket_t socket, int bytes) {
  return ::setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof(bytes)) == 0;
}

int socketReceiveBuffer(curl_socket_t socket) {
  int bytes = 0;
  socklen_t length = sizeof(bytes);
  return ::getsockopt(socket, SOL_SOCKET, SO_RCVBUF, &bytes, &length) == 0 ? bytes : -1;
}
