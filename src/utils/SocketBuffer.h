// The kernel's receive buffer of one connected socket (SO_RCVBUF).
#pragma once

#include <curl/curl.h>

// Asks the system for a receive buffer of `bytes` bytes on `socket` (which the caller keeps and
// closes). Returns false when the system refused (its error is not kept: the socket works on
// with the buffer it had). Linux doubles a granted size for its own bookkeeping; a size above
// net.core.rmem_max, which Linux would cap while giving up its own growing of the buffer, is not
// asked for (false, the socket unchanged).
bool setSocketReceiveBuffer(curl_socket_t socket, int bytes);

// The receive buffer the system reports for `socket`, in bytes; -1 when it cannot tell.
int socketReceiveBuffer(curl_socket_t socket);
