// The kernel's receive buffer of one connected socket (SO_RCVBUF).
#pragma once

#include <curl/curl.h>

// Asks the system for a receive buffer of `bytes` bytes on `socket` (which the caller keeps and
// closes). Returns false when the system refused (its error is not kept: the socket works on
// with the buffer it had). The system may round or cap the size: Linux doubles it for its own
// bookkeeping and caps it at net.core.rmem_max.
bool setSocketReceiveBuffer(curl_socket_t socket, int bytes);

// The receive buffer the system reports for `socket`, in bytes; -1 when it cannot tell.
int socketReceiveBuffer(curl_socket_t socket);
