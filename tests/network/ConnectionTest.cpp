#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "NetworkFixture.h"
#include "network/SocketEventSlots.h"

namespace network_testing {
namespace {

TEST_F(NetworkTest, BytesSentOneByOneWithPausesArriveWholeAndInOrder) {
  ConnectionData* server = nullptr;
  ConnectionData* client = Join(&server);
  ASSERT_NE(client, nullptr);
  ASSERT_NE(server, nullptr);
  const std::string text = "Terrace chant, one byte at a time";
  for (const char byte : text) {
    ASSERT_TRUE(Write(client, &byte, 1));
    PumpFor(3ms);
  }
  EXPECT_TRUE(PumpUntil([&] { return Log().received[server].size() >= text.size(); }));
  EXPECT_EQ(Log().received[server], text);
  EXPECT_EQ(Log().received[client], "");
}

TEST_F(NetworkTest, HalfAMegabyteToASlowReaderArrivesWhole) {
  ConnectionData* server = nullptr;
  ConnectionData* client = Join(&server);
  ASSERT_NE(client, nullptr);
  std::string sent(512 * 1024, '\0');
  for (size_t index = 0; index < sent.size(); ++index) {
    sent[index] = static_cast<char>(index * 7 + index / 251);
  }
  // One block per event: the rest raises further events.
  Log().onRead = [](ConnectionData* connection) {
    char block[4096];
    if (Read(connection, block, sizeof block)) {
      Log().received[connection].append(block, sizeof block);
    }
  };
  ASSERT_TRUE(Write(server, sent.data(), static_cast<uint32_t>(sent.size())));
  EXPECT_TRUE(PumpUntil([&] { return Log().received[client].size() >= sent.size(); }, 20000ms));
  EXPECT_TRUE(Log().received[client] == sent);
  EXPECT_GE(Log().reads[client], 128);
}

TEST_F(NetworkTest, WritesOfTwoThreadsNeverInterleave) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  // More than the socket takes while nobody reads, so blocks are cut and queued.
  const int sendBuffer = 16 * 1024;
  setsockopt(client->socket, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
  constexpr size_t kBlockSize = 48 * 1024;
  constexpr int kBlocksEach = 8;
  auto writer = [&](char fill) {
    const std::string block(kBlockSize, fill);
    for (int index = 0; index < kBlocksEach; ++index) {
      EXPECT_TRUE(Write(client, block.data(), static_cast<uint32_t>(block.size())));
    }
  };
  std::thread first(writer, 'a');
  std::thread second(writer, 'b');
  first.join();
  second.join();
  // Read only now: the socket took what fit and the rest waited in the queue.
  std::string received;
  std::vector<char> chunk(64 * 1024);
  while (received.size() < 2 * kBlocksEach * kBlockSize) {
    const ssize_t size = recv(peer.Get(), chunk.data(), chunk.size(), 0);
    ASSERT_GT(size, 0);
    received.append(chunk.data(), static_cast<size_t>(size));
  }
  ASSERT_EQ(received.size(), 2 * kBlocksEach * kBlockSize);
  // Each block arrives whole: every byte of it is its writer's.
  for (size_t start = 0; start < received.size(); start += kBlockSize) {
    const std::string block = received.substr(start, kBlockSize);
    ASSERT_EQ(block, std::string(kBlockSize, block[0])) << "block at " << start;
  }
}

TEST_F(NetworkTest, MessagesWrittenInABurstArriveWithoutWaitingForAcknowledgements) {
  ConnectionData* server = nullptr;
  ConnectionData* client = Join(&server);
  ASSERT_NE(client, nullptr);
  constexpr uint32_t kMessageSize = 1024;
  int messages = 0;
  Log().onRead = [&](ConnectionData* connection) {
    char message[kMessageSize];
    while (Read(connection, message, sizeof message)) {
      ++messages;
    }
  };
  // A write that is not held back until the peer acknowledged the one
  // before it; the peer may delay its acknowledgement by tens of
  // milliseconds.
  const std::string message(kMessageSize, 'm');
  int slowBursts = 0;
  for (int burst = 1; burst <= 20; ++burst) {
    const auto start = std::chrono::steady_clock::now();
    for (int index = 0; index < 64; ++index) {
      ASSERT_TRUE(Write(client, message.data(), kMessageSize));
    }
    ASSERT_TRUE(PumpUntil([&] { return messages == burst * 64; }));
    const auto took = std::chrono::steady_clock::now() - start;
    slowBursts += took >= 35ms ? 1 : 0;
  }
  // A burst held back waits at least the 40 ms the peer may delay; a busy
  // machine may stall one now and then.
  EXPECT_LE(slowBursts, 2);
}

TEST_F(NetworkTest, BytesRightAfterTheGreetingReachTheReadHandler) {
  FakeServer fake;
  HostData host = fake.Host();
  std::thread side([&] {
    const int port = fake.ReceiveRequest();
    ASSERT_NE(port, 0);
    ScopedFd fd = ConnectTo(port);
    std::vector<uint8_t> bytes = Greeting();
    const std::string first = "first message";
    bytes.insert(bytes.end(), first.begin(), first.end());
    SendAll(fd.Get(), bytes.data(), bytes.size());
    // Keep the connection open until the client has read.
    char byte;
    recv(fd.Get(), &byte, 1, 0);
  });
  ConnectionData* client = OpenConnection(&host, RecordingHandlers());
  ASSERT_NE(client, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return Log().received[client] == "first message"; }));
  Write(client, "!", 1);
  side.join();
}

TEST_F(NetworkTest, AddressesAndPortsOfBothEndsAreRight) {
  ConnectionData* server = nullptr;
  ConnectionData* client = Join(&server);
  ASSERT_NE(client, nullptr);
  char address[16];
  int32_t clientLocal = 0;
  int32_t clientRemote = 0;
  int32_t serverLocal = 0;
  int32_t serverRemote = 0;
  ASSERT_TRUE(GetRemoteAddress(client, address));
  EXPECT_STREQ(address, "127.0.0.1");
  ASSERT_TRUE(GetLocalAddress(client, address));
  EXPECT_STREQ(address, "127.0.0.1");
  ASSERT_TRUE(GetLocalPort(client, &clientLocal));
  ASSERT_TRUE(GetRemotePort(client, &clientRemote));
  ASSERT_TRUE(GetLocalPort(server, &serverLocal));
  ASSERT_TRUE(GetRemotePort(server, &serverRemote));
  // The server identifies a player by the port it sees; the player reads
  // the same as its own.
  EXPECT_EQ(serverRemote, clientLocal);
  EXPECT_EQ(clientRemote, serverLocal);
  EXPECT_NE(clientLocal, 0);
  EXPECT_FALSE(GetRemoteAddress(client, nullptr));
  EXPECT_FALSE(GetLocalPort(client, nullptr));
  EXPECT_FALSE(GetRemotePort(nullptr, &clientLocal));
}

TEST_F(NetworkTest, ClosingOneEndClosesBothWithOneCloseHandlerEach) {
  ConnectionData* server = nullptr;
  ConnectionData* client = Join(&server);
  ASSERT_NE(client, nullptr);
  ASSERT_TRUE(Write(client, "last", 4));
  CloseConnection(client);
  // Nothing more goes out after the close.
  EXPECT_FALSE(Write(client, "more", 4));
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[client] == 1 && Log().closes[server] == 1; }));
  EXPECT_EQ(Log().received[server], "last");
  PumpFor(400ms);
  EXPECT_EQ(Log().closes[client], 1);
  EXPECT_EQ(Log().closes[server], 1);
  EXPECT_TRUE(client->closed);
  EXPECT_TRUE(server->closed);
}

TEST_F(NetworkTest, ClosingTowardsAPeerThatNeverClosesTearsDownAfterTheTimeLimit) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  const auto start = std::chrono::steady_clock::now();
  CloseConnection(client);
  // The peer sees the end of the stream at once; it keeps sending and never closes.
  char byte;
  EXPECT_EQ(recv(peer.Get(), &byte, 1, 0), 0);
  SendAll(peer.Get(), "unread", 6);
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 250ms);
  EXPECT_EQ(Log().reads[client], 0);
  EXPECT_TRUE(client->closed);
  EXPECT_EQ(client->message, 0u);
  PumpFor(200ms);
  EXPECT_EQ(Log().closes[client], 1);
}

}  // namespace
}  // namespace network_testing
