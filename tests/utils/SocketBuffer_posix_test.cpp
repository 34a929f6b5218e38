#include "utils/SocketBuffer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TestSocket.h"

namespace {

// A size Linux would cap is not asked for: the socket keeps the system's own sizing.
TEST(SocketBufferPosix, SizeAboveTheSystemCapLeavesTheSocketAlone) {
  long cap = 0;
  std::ifstream("/proc/sys/net/core/rmem_max") >> cap;
  ASSERT_GT(cap, 0);
  const ScopedTestSocket test;
  ASSERT_NE(test.socket, CURL_SOCKET_BAD);
  const int before = socketReceiveBuffer(test.socket);
  EXPECT_FALSE(setSocketReceiveBuffer(test.socket, static_cast<int>(cap) + 1));
  EXPECT_EQ(socketReceiveBuffer(test.socket), before);
}

} // namespace
