#include <gtest/gtest.h>
#include <sys/socket.h>

#include <ostream>
#include <string>
#include <vector>

#include "NetworkFixture.h"
#include "network/SocketEventSlots.h"

namespace network_testing {
namespace {

// More than the connection's receive buffer holds, so the peer's end lies
// behind bytes the library has no room for.
constexpr size_t kMoreThanTheBuffer = platform::SocketChannel::kReceiveCapacity + 4096;

struct FullBufferCase {
  const char* name;
  bool reset;        // the peer resets instead of closing in order
  bool readHandler;  // the game has a read handler, which reads nothing
};

void PrintTo(const FullBufferCase& full, std::ostream* out) { *out << full.name; }

class FullBufferTest : public NetworkTest, public ::testing::WithParamInterface<FullBufferCase> {};

TEST_P(FullBufferTest, APeerThatLeavesBehindAFullBufferStillClosesTheConnection) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  const uint32_t slot = client->message - 1024;
  static ConnectionHandlers withoutRead = {{nullptr, RecordingHandlers()->handler[kCloseHandler], nullptr}};
  if (!GetParam().readHandler) {
    client->handlers = &withoutRead;
  }
  Log().onRead = [](ConnectionData*) {};

  const std::vector<char> flood(kMoreThanTheBuffer, 'x');
  SendAll(peer.Get(), flood.data(), flood.size());
  PumpFor(100ms);
  if (GetParam().reset) {
    const linger immediate = {1, 0};
    setsockopt(peer.Get(), SOL_SOCKET, SO_LINGER, &immediate, sizeof immediate);
  }
  peer.Reset();
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  EXPECT_TRUE(client->closed);
  EXPECT_EQ(SocketSlotSerial(slot), 0u);
}

INSTANTIATE_TEST_SUITE_P(Peers, FullBufferTest,
                         ::testing::Values(FullBufferCase{"FinToAHandlerReadingNothing", false, true},
                                           FullBufferCase{"ResetToAHandlerReadingNothing", true, true},
                                           FullBufferCase{"FinWithoutReadHandler", false, false},
                                           FullBufferCase{"ResetWithoutReadHandler", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NetworkTest, ATornDownConnectionGivesItsBuffersBackAndKeepsItsRecord) {
  ScopedFd peer;
  ConnectionData* client = JoinRaw(peer);
  ASSERT_NE(client, nullptr);
  size_t taken = 0;
  Log().onRead = [&](ConnectionData* connection) {
    char chunk[1024];
    while (Read(connection, chunk, sizeof chunk)) {
      taken += sizeof chunk;
    }
  };
  const std::vector<char> data(platform::SocketChannel::kReceiveCapacity, 'x');
  SendAll(peer.Get(), data.data(), data.size());
  ASSERT_TRUE(PumpUntil([&] { return taken == data.size(); }));
  // Room kept for the next bytes while the connection lives.
  EXPECT_GT(client->channel->BufferBytes(), 0u);

  peer.Reset();
  ASSERT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  EXPECT_EQ(client->channel->BufferBytes(), 0u);
  char address[16];
  EXPECT_TRUE(GetRemoteAddress(client, address));
  char byte = 0;
  EXPECT_FALSE(Read(client, &byte, 1));
  EXPECT_FALSE(Write(client, "x", 1));
}

}  // namespace
}  // namespace network_testing
