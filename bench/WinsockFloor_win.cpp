// The least a Windows program must do to download a file over plain HTTP: one GET on a winsock
// socket with the engine's kernel receive buffer (SO_RCVBUF), non-blocking reads of the engine's
// receive buffer size each after a select, as libcurl does, and every read written straight to
// the target with WriteFile. No TLS, no library, no progress. The benchmark runner (bench/run.py)
// times it under Wine beside native curl: its ratio is the floor that Wine's socket and file layers
// set for any program, ours included.
//
//   winsock_floor.exe PORT PATH TARGET
//
// Connects to 127.0.0.1:PORT, asks for PATH, writes the body to TARGET (NUL to discard it) and
// prints "seconds=S bytes=N" (N counts body bytes). Exits 0 when the server closed the connection
// after a 200 answer, 1 otherwise.
#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "utils/DownloadUtils.h"
#include "utils/Handles_win.h"
#include "utils/SocketBuffer.h"

namespace {

const int kReadBytes = static_cast<int>(DownloadLimits{}.receiveBufferBytes);

// A connected, non-blocking socket with the request sent; invalid when any step failed.
UniqueSocket sendRequest(unsigned short port, const std::string& path) {
  UniqueSocket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  const int socketBytes = DownloadLimits{}.receiveSocketBytes;
  if (socket && socketBytes > 0) {
    setSocketReceiveBuffer(socket.get(), socketBytes);
  }
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  if (!socket ||
      ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    return UniqueSocket();
  }
  const std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
  u_long nonBlocking = 1;
  if (::send(socket.get(), request.data(), static_cast<int>(request.size()), 0) !=
          static_cast<int>(request.size()) ||
      ::ioctlsocket(socket.get(), FIONBIO, &nonBlocking) != 0) {
    return UniqueSocket();
  }
  return socket;
}

// One read after the socket is readable: bytes read, 0 at the end, -1 on an error.
int readSome(SOCKET socket, char* buffer) {
  for (;;) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval wait = {5, 0};
    if (::select(0, &readable, nullptr, nullptr, &wait) <= 0) {
      return -1;
    }
    const int got = ::recv(socket, buffer, kReadBytes, 0);
    if (got >= 0 || ::WSAGetLastError() != WSAEWOULDBLOCK) {
      return got;
    }
  }
}

// Reads the answer to its end, writing the body to `file`. Body bytes written; -1 on a failure
// or an answer other than 200.
long long receiveBody(SOCKET socket, HANDLE file) {
  std::vector<char> buffer(kReadBytes);
  std::string head;
  bool inBody = false;
  long long written = 0;
  for (int got; (got = readSome(socket, buffer.data())) != 0;) {
    if (got < 0) {
      return -1;
    }
    const char* data = buffer.data();
    if (!inBody) {
      head.append(data, static_cast<size_t>(got));
      const size_t end = head.find("\r\n\r\n");
      if (end == std::string::npos) {
        continue;
      }
      if (head.compare(0, 12, "HTTP/1.1 200") != 0 && head.compare(0, 12, "HTTP/1.0 200") != 0) {
        return -1;
      }
      inBody = true;
      const size_t bodyInChunk = head.size() - (end + 4);
      data += got - static_cast<int>(bodyInChunk);
      got = static_cast<int>(bodyInChunk);
    }
    DWORD done = 0;
    if (got > 0 && (!::WriteFile(file, data, static_cast<DWORD>(got), &done, nullptr) ||
                    done != static_cast<DWORD>(got))) {
      return -1;
    }
    written += got;
  }
  return inBody ? written : -1;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: winsock_floor PORT PATH TARGET\n");
    return 2;
  }
  WSADATA winsock;
  if (::WSAStartup(MAKEWORD(2, 2), &winsock) != 0) {
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  const UniqueFileHandle file(::CreateFileA(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
  const UniqueSocket socket = sendRequest(static_cast<unsigned short>(std::atoi(argv[1])), argv[2]);
  const long long bytes = file && socket ? receiveBody(socket.get(), file.get()) : -1;
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("seconds=%.4f bytes=%lld\n", seconds.count(), bytes);
  return bytes >= 0 ? 0 : 1;
}
