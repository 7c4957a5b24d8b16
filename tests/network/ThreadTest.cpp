#include <gtest/gtest.h>

#include "NetworkFixture.h"
#include "network/NetworkLibrary.h"
#include "network/SocketEventSlots.h"
#include "network/Sockets.h"

namespace network_testing {
namespace {

TEST_F(NetworkTest, NoLibraryThreadIsLeftAfterTheLastClose) {
  const int threadsBefore = ThreadCount();
  ConnectionData* server = nullptr;
  ConnectionData* client = Join(&server);
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(ThreadCount(), threadsBefore + 1);
  CloseConnection(client);
  EXPECT_TRUE(PumpUntil([&] { return client->closed && server->closed; }));
  EXPECT_FALSE(SocketEventThreadRunning());
  EXPECT_EQ(ThreadCount(), threadsBefore);
}

TEST_F(NetworkTest, CleanUpJoinsTheThreadAndClosesEverySocket) {
  const int threadsBefore = ThreadCount();
  const int descriptorsBefore = OpenDescriptorCount();
  ConnectionData* server = nullptr;
  ASSERT_NE(Join(&server), nullptr);
  ASSERT_NE(Join(&server), nullptr);
  WSA_Cleanup();
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore);
  EXPECT_EQ(OpenSocketCount(), 0u);
  EXPECT_EQ(ConnectionCount(), 0u);
  // Without the service no socket opens.
  EXPECT_EQ(OpenSocket(), kInvalidSocket);
  EXPECT_NE(DebugLog().find("LumoConnection (OpenSocket): Network not initialized!"), std::string::npos);
  // It starts again.
  WSA_Startup();
  ConnectionData* again = Join(&server);
  ASSERT_NE(again, nullptr);
  Write(again, "x", 1);
  EXPECT_TRUE(PumpUntil([&] { return Log().received[server] == "x"; }));
}

}  // namespace
}  // namespace network_testing
