#include "utils/SocketBuffer.h"

#include <sys/socket.h>

#include "utils/CurlHandles.h"
#include "utils/Files.h"

namespace {

// The most a program may ask for (net.core.rmem_max), in bytes; 0 when it cannot be read.
long receiveBufferCap() {
  const UniqueFile file(openFileForReading(L"/proc/sys/net/core/rmem_max"));
  long bytes = 0;
  return file && std::fscanf(file.get(), "%ld", &bytes) == 1 && bytes > 0 ? bytes : 0;
}

} // namespace

bool setSocketReceiveBuffer(curl_socket_t socket, int bytes) {
  // Linux would cap the size and stop growing the buffer by itself: the system's own sizing,
  // which grows up to net.ipv4.tcp_rmem's maximum, is better then.
  if (bytes > receiveBufferCap()) {
    return false;
  }
  return ::setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof(bytes)) == 0;
}

int socketReceiveBuffer(curl_socket_t socket) {
  int bytes = 0;
  socklen_t length = sizeof(bytes);
  return ::getsockopt(socket, SOL_SOCKET, SO_RCVBUF, &bytes, &length) == 0 ? bytes : -1;
}
