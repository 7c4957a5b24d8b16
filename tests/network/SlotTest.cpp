#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NetworkFixture.h"
#include "network/SocketEventSlots.h"
#include "runtime/GameWindow.h"
#include "runtime/RTSState.h"

namespace network_testing {
namespace {

TEST_F(NetworkTest, SixtyFourConnectionsUseMessages1024To1087AndTheSixtyFifthIsRefused) {
  std::vector<ScopedFd> peers(65);
  std::vector<ConnectionData*> clients;
  for (int index = 0; index < 64; ++index) {
    ConnectionData* client = JoinRaw(peers[index]);
    ASSERT_NE(client, nullptr) << index;
    EXPECT_EQ(client->message, 1024u + index);
    clients.push_back(client);
  }
  const int descriptors = OpenDescriptorCount();
  EXPECT_EQ(JoinRaw(peers[64]), nullptr);
  EXPECT_NE(DebugLog().find("LumoConnection (SyncSelect): No more socket descriptors available!"),
            std::string::npos);
  // The refused connection was closed: its server sees the end.
  char byte;
  EXPECT_LE(recv(peers[64].Get(), &byte, 1, 0), 0);
  peers[64].Reset();
  EXPECT_EQ(OpenDescriptorCount(), descriptors);

  // The last slot's connection gets its events as message 1087.
  SendAll(peers[63].Get(), "63", 2);
  EXPECT_TRUE(PumpUntil([&] { return Log().received[clients[63]] == "63"; }));
}

TEST_F(NetworkTest, AReusedSlotGetsNoStaleEvent) {
  ScopedFd firstPeer;
  ConnectionData* first = JoinRaw(firstPeer);
  ASSERT_NE(first, nullptr);
  const uint32_t message = first->message;
  const uint32_t staleSerial = first->serial;
  firstPeer.Reset();
  ASSERT_TRUE(PumpUntil([&] { return Log().closes[first] == 1; }));

  ScopedFd secondPeer;
  ConnectionData* second = JoinRaw(secondPeer);
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(second->message, message);
  ASSERT_NE(second->serial, staleSerial);
  // Events of the first registration that were still on their way.
  const tWindowHandle window = FindGameWindow("Yobbozers - Terrace rampage");
  ASSERT_TRUE(PostGameWindowMessage(window, message, staleSerial, 1));
  ASSERT_TRUE(PostGameWindowMessage(window, message, staleSerial, 32));
  PumpFor(100ms);
  EXPECT_EQ(Log().reads[second], 0);
  EXPECT_EQ(Log().closes[second], 0);
  EXPECT_FALSE(second->closed);
  SendAll(secondPeer.Get(), "fresh", 5);
  EXPECT_TRUE(PumpUntil([&] { return Log().received[second] == "fresh"; }));
}

TEST_F(NetworkTest, WithoutTheGameWindowRegistrationFailsAndTheNextLooksAgain) {
  RTS().mainWindow->SetTitle("Another game");
  ScopedFd peer;
  EXPECT_EQ(JoinRaw(peer), nullptr);
  EXPECT_NE(DebugLog().find("LumoConnection (SyncSelect)"), std::string::npos);
  RTS().mainWindow->SetTitle("Yobbozers - Terrace rampage");
  ScopedFd secondPeer;
  ConnectionData* client = JoinRaw(secondPeer);
  ASSERT_NE(client, nullptr);
  SendAll(secondPeer.Get(), "found", 5);
  EXPECT_TRUE(PumpUntil([&] { return Log().received[client] == "found"; }));
}

TEST_F(NetworkTest, ATornDownServerConnectionLeavesItsServerKeepingTheOthersInOrder) {
  ServerData server;
  std::vector<ConnectionData*> serverEnds(3);
  std::vector<ConnectionData*> clients(3);
  for (int index = 0; index < 3; ++index) {
    clients[index] = Join(&serverEnds[index], &server);
    ASSERT_NE(clients[index], nullptr);
  }
  ASSERT_EQ(server.connections, serverEnds);
  CloseConnection(clients[1]);
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[serverEnds[1]] == 1; }));
  const std::vector<ConnectionData*> left = {serverEnds[0], serverEnds[2]};
  EXPECT_EQ(server.connections, left);
}

}  // namespace
}  // namespace network_testing
