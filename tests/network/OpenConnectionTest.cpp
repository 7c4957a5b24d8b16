#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "NetworkFixture.h"
#include "network/Datagram.h"
#include "network/Sockets.h"

namespace network_testing {
namespace {

// Nothing of a failed open stays behind: no descriptor, no socket, no record.
class OpenConnectionTest : public NetworkTest {
 protected:
  // Counts the descriptors open before a join (the fake server's included).
  void NoteDescriptors() { descriptorsBefore_ = OpenDescriptorCount(); }
  void ExpectNothingLeftOpen() {
    EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore_);
    EXPECT_EQ(OpenSocketCount(), 0u);
    EXPECT_EQ(ConnectionCount(), 0u);
  }
  int descriptorsBefore_ = 0;
};

TEST_F(OpenConnectionTest, NoConnectBackGivesNullInTime) {
  FakeServer fake;  // takes the request and never connects back
  HostData host = fake.Host();
  NoteDescriptors();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(OpenConnection(&host, RecordingHandlers()), nullptr);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 550ms);
  EXPECT_LT(took, 1500ms);
  EXPECT_NE(fake.ReceiveRequest(0ms), 0);
  ExpectNothingLeftOpen();
}

TEST_F(OpenConnectionTest, TheConnectRequestIsTwoHundredFiftySixBytesWithZerosAfterItsText) {
  FakeServer fake;
  HostData host = fake.Host();
  EXPECT_EQ(OpenConnection(&host, RecordingHandlers()), nullptr);
  const int port = fake.ReceiveRequest(0ms);
  ASSERT_NE(port, 0);
  const std::vector<uint8_t>& request = fake.Request();
  ASSERT_EQ(request.size(), 256u);
  const std::string text = "LumoConnection|0.01|1|" + std::to_string(port);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(request.data())), text);
  for (size_t index = text.size(); index < request.size(); ++index) {
    ASSERT_EQ(request[index], 0) << index;
  }
}

TEST_F(OpenConnectionTest, ABadGreetingGivesNullLeavingNothingOpen) {
  struct Case {
    const char* what;
    std::string text;
    size_t size;
  };
  const Case cases[] = {
      {"another third field", "LumoConnection|0.01|ServerToClient", 256},
      {"a longer third field", "LumoConnection|0.01|ServerToClientConnectX", 256},
      {"only two fields", "LumoConnection|ServerToClientConnect", 256},
      {"cut short", "LumoConnection|0.01|ServerToClientConnect", 100},
      {"nothing", "", 0},
  };
  for (const Case& one : cases) {
    SCOPED_TRACE(one.what);
    FakeServer fake;
    HostData host = fake.Host();
    NoteDescriptors();
    std::thread side([&] {
      const int port = fake.ReceiveRequest();
      ASSERT_NE(port, 0);
      ScopedFd fd = ConnectTo(port);
      std::vector<uint8_t> block(256, 0);
      std::memcpy(block.data(), one.text.data(), one.text.size());
      SendAll(fd.Get(), block.data(), one.size);
      shutdown(fd.Get(), SHUT_WR);
      char byte;
      recv(fd.Get(), &byte, 1, 0);  // until the client gave up
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(OpenConnection(&host, RecordingHandlers()), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    side.join();
    ExpectNothingLeftOpen();
  }
}

TEST_F(OpenConnectionTest, AGreetingThatNeverCompletesGivesNullInTime) {
  FakeServer fake;
  HostData host = fake.Host();
  NoteDescriptors();
  ScopedFd kept;
  std::thread side([&] {
    const int port = fake.ReceiveRequest();
    ASSERT_NE(port, 0);
    kept = ConnectTo(port);
    SendAll(kept.Get(), "LumoConnection|0.01|Serv", 24);
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(OpenConnection(&host, RecordingHandlers()), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
  side.join();
  kept.Reset();
  ExpectNothingLeftOpen();
}

TEST_F(OpenConnectionTest, AStrangerConnectingFirstIsClosedAndTheServerStillTaken) {
  FakeServer fake;
  HostData host = fake.Host();
  ScopedFd stranger;
  ScopedFd serverEnd;
  std::thread side([&] {
    const int port = fake.ReceiveRequest();
    ASSERT_NE(port, 0);
    stranger = ConnectTo(port, "127.0.0.2");
    // The stranger is turned away before the server is let in.
    char byte;
    EXPECT_LE(recv(stranger.Get(), &byte, 1, 0), 0);
    serverEnd = ConnectTo(port);
    const std::vector<uint8_t> greeting = Greeting();
    SendAll(serverEnd.Get(), greeting.data(), greeting.size());
  });
  ConnectionData* client = OpenConnection(&host, RecordingHandlers());
  side.join();
  ASSERT_NE(client, nullptr);
  int32_t remotePort = 0;
  ASSERT_TRUE(GetRemotePort(client, &remotePort));
  EXPECT_EQ(remotePort, LocalPort(serverEnd.Get()));
  SendAll(serverEnd.Get(), "hello", 5);
  EXPECT_TRUE(PumpUntil([&] { return Log().received[client] == "hello"; }));
  EXPECT_NE(DebugLog().find("not the server"), std::string::npos);
}

TEST_F(OpenConnectionTest, NoHostGivesNull) { EXPECT_EQ(OpenConnection(nullptr, RecordingHandlers()), nullptr); }

}  // namespace
}  // namespace network_testing
