#include "utils/SocketBuffer.h"

#include <gtest/gtest.h>

#include "support/TestSocket.h"
#include "utils/DownloadCallbacks.h"

namespace {

// A size above any system's default and below Linux's usual cap (net.core.rmem_max).
constexpr int kAsked = 192 * 1024;

TEST(SocketBuffer, AskedReceiveBufferIsGrantedAtLeast) {
  const ScopedTestSocket test;
  ASSERT_NE(test.socket, CURL_SOCKET_BAD);
  ASSERT_GT(socketReceiveBuffer(test.socket), 0);
  ASSERT_TRUE(setSocketReceiveBuffer(test.socket, kAsked));
  // Linux doubles the size it grants; Windows keeps it as asked.
  EXPECT_GE(socketReceiveBuffer(test.socket), kAsked);
}

TEST(SocketBuffer, NoSocketIsRefusedInOrder) {
  EXPECT_FALSE(setSocketReceiveBuffer(CURL_SOCKET_BAD, kAsked));
  EXPECT_EQ(socketReceiveBuffer(CURL_SOCKET_BAD), -1);
}

// libcurl's socket option callback sets the buffer on connections only, and only when one is
// configured; it never fails the transfer.
TEST(SocketBuffer, OptionCallbackSetsTheBufferOfConnectionsOnly) {
  const struct {
    curlsocktype purpose;
    int bytes;
    bool changed;
  } cases[] = {
      {CURLSOCKTYPE_IPCXN, kAsked, true},
      {CURLSOCKTYPE_IPCXN, 0, false},
      {CURLSOCKTYPE_ACCEPT, kAsked, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "purpose " << c.purpose << ", bytes " << c.bytes);
    const ScopedTestSocket test;
    ASSERT_NE(test.socket, CURL_SOCKET_BAD);
    const int before = socketReceiveBuffer(test.socket);
    ASSERT_LT(before, kAsked);
    DownloadLimits limits;
    limits.receiveSocketBytes = c.bytes;
    EXPECT_EQ(onSocketOpened(&limits, test.socket, c.purpose), CURL_SOCKOPT_OK);
    if (c.changed) {
      EXPECT_GE(socketReceiveBuffer(test.socket), kAsked);
    } else {
      EXPECT_EQ(socketReceiveBuffer(test.socket), before);
    }
  }
  DownloadLimits limits;
  EXPECT_EQ(onSocketOpened(&limits, CURL_SOCKET_BAD, CURLSOCKTYPE_IPCXN), CURL_SOCKOPT_OK);
}

} // namespace
