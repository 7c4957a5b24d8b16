#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "NetworkFixture.h"

namespace network_testing {
namespace {

using Clock = std::chrono::steady_clock;

TEST_F(NetworkTest, ASlowLorisPeerHoldsTheGameThreadNoLongerThanTheReadLimit) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  Clock::duration longestRead{};
  int falseReads = 0;
  Log().onRead = [&](ConnectionData* connection) {
    char message[100];
    const auto start = Clock::now();
    if (!Read(connection, message, sizeof message)) {
      ++falseReads;
    }
    longestRead = std::max(longestRead, Clock::now() - start);
  };
  // A few bytes, then a byte now and then, never the whole message.
  SendAll(peer.Get(), "12345", 5);
  std::thread dripper([&] {
    for (int drip = 0; drip < 8; ++drip) {
      std::this_thread::sleep_for(50ms);
      send(peer.Get(), "x", 1, MSG_NOSIGNAL);
    }
  });
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  dripper.join();
  EXPECT_EQ(falseReads, 1);
  EXPECT_LT(longestRead, 500ms);
  EXPECT_NE(DebugLog().find("did not arrive"), std::string::npos);
}

TEST_F(NetworkTest, APeerThatNeverReadsOverflowsTheQueueAndIsClosedWithoutBlocking) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  const std::vector<char> block(64 * 1024, 'q');
  Clock::duration longestWrite{};
  int writes = 0;
  bool written = true;
  while (written && writes < 1000) {
    const auto start = Clock::now();
    written = Write(client, block.data(), static_cast<uint32_t>(block.size()));
    longestWrite = std::max(longestWrite, Clock::now() - start);
    ++writes;
  }
  EXPECT_FALSE(written);
  EXPECT_LT(writes, 1000);
  EXPECT_LT(longestWrite, 200ms);
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  EXPECT_FALSE(Write(client, "x", 1));
  EXPECT_NE(DebugLog().find("wait to be sent"), std::string::npos);
}

TEST_F(NetworkTest, WritesToAClosedPeerFailWithoutASignal) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  peer.Reset();
  // The first writes may still be taken; a broken pipe never ends the process.
  bool written = true;
  for (int attempt = 0; attempt < 200 && written; ++attempt) {
    written = Write(client, "data", 4);
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_FALSE(written);
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  PumpFor(100ms);
  EXPECT_EQ(Log().closes[client], 1);
}

}  // namespace
}  // namespace network_testing
