#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <ostream>
#include <string>

#include "NetworkFixture.h"
#include "network/SocketEventSlots.h"

namespace network_testing {
namespace {

struct DropCase {
  const char* name;
  bool reset;  // the peer resets instead of closing in order
};

void PrintTo(const DropCase& drop, std::ostream* out) { *out << drop.name; }

class PeerDropTest : public NetworkTest, public ::testing::WithParamInterface<DropCase> {};

// A peer that vanishes after part of a ten-byte message.
TEST_P(PeerDropTest, AMessageCutByTheDropIsNotReadAndTheCloseComesOnceAfterTheHandler) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  ScopedFd otherPeer;
  ConnectionData* other = JoinRaw(otherPeer);
  ASSERT_NE(other, nullptr);
  Log().labels[other] = "other";
  const uint32_t slot = client->message - 1024;

  bool readResult = true;
  bool handlerRan = false;
  Log().onRead = [&](ConnectionData* connection) {
    if (connection == client) {
      char message[10];
      readResult = Read(connection, message, sizeof message);
      handlerRan = true;
    } else {
      ReadAllWaiting(connection);
    }
  };
  SendAll(peer.Get(), "abc", 3);
  if (GetParam().reset) {
    const linger immediate = {1, 0};
    setsockopt(peer.Get(), SOL_SOCKET, SO_LINGER, &immediate, sizeof immediate);
  }
  peer.Reset();
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  EXPECT_TRUE(handlerRan);
  EXPECT_FALSE(readResult);
  ASSERT_FALSE(Log().order.empty());
  EXPECT_EQ(Log().order.front(), "read client");
  EXPECT_EQ(Log().order.back(), "close client");
  EXPECT_EQ(SocketSlotSerial(slot), 0u);
  EXPECT_TRUE(client->closed);

  // The other connection goes on.
  SendAll(otherPeer.Get(), "still here", 10);
  EXPECT_TRUE(PumpUntil([&] { return Log().received[other] == "still here"; }));
  PumpFor(100ms);
  EXPECT_EQ(Log().closes[client], 1);
  EXPECT_EQ(Log().closes[other], 0);
}

INSTANTIATE_TEST_SUITE_P(Drops, PeerDropTest, ::testing::Values(DropCase{"Fin", false}, DropCase{"Reset", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NetworkTest, AResetPeerIsReportedAndTheConnectionClosed) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  const linger immediate = {1, 0};
  setsockopt(peer.Get(), SOL_SOCKET, SO_LINGER, &immediate, sizeof immediate);
  peer.Reset();
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  EXPECT_TRUE(client->closed);
  EXPECT_NE(DebugLog().find("LumoConnection (SocketWinProc): General network error!"), std::string::npos);
}

TEST_F(NetworkTest, AFileThatGetsTheOldDescriptorIsNotTouched) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  const int oldSocket = client->socket;
  int32_t localPort = 0;
  ASSERT_TRUE(GetLocalPort(client, &localPort));
  peer.Reset();
  ASSERT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  EXPECT_EQ(client->socket, kInvalidSocket);

  // The file takes the socket's old number, as a file opened next may.
  ScopedFd opened(open("kept.txt", O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  ScopedFd file(fcntl(opened.Get(), F_DUPFD_CLOEXEC, oldSocket));
  opened.Reset();
  ASSERT_EQ(file.Get(), oldSocket);
  ASSERT_EQ(write(file.Get(), "content", 7), 7);
  lseek(file.Get(), 0, SEEK_SET);

  char buffer[4];
  EXPECT_FALSE(Write(client, "junk", 4));
  EXPECT_FALSE(Read(client, buffer, 4));
  CloseConnection(client);
  PumpFor(100ms);
  // The record keeps its addresses.
  int32_t keptPort = 0;
  EXPECT_TRUE(GetLocalPort(client, &keptPort));
  EXPECT_EQ(keptPort, localPort);
  char address[16];
  EXPECT_TRUE(GetRemoteAddress(client, address));
  EXPECT_STREQ(address, "127.0.0.1");

  EXPECT_EQ(lseek(file.Get(), 0, SEEK_CUR), 0);
  char content[16] = {};
  EXPECT_EQ(read(file.Get(), content, sizeof content), 7);
  EXPECT_STREQ(content, "content");
  EXPECT_EQ(Log().closes[client], 1);
}

}  // namespace
}  // namespace network_testing
