#include "utils/SocketBuffer.h"

#include <winsock2.h>

bool setSocketReceiveBuffer(curl_socket_t socket, int bytes) {
  return ::setsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes),
                      sizeof(bytes)) == 0;
}

int socketReceiveBuffer(curl_socket_t socket) {
  int bytes = 0;
  int length = sizeof(bytes);
  return ::getsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&bytes), &length) == 0
             ? bytes
             : -1;
}
