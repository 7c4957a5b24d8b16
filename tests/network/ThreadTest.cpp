#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "NetworkFixture.h"
#include "network/NetworkLibrary.h"
#include "network/SocketEventSlots.h"
#include "network/Sockets.h"

namespace network_testing {
namespace {

// The threads of the process once a first thread has run (a sanitizer may
// start a helper thread of its own at the first one) and has been reaped: a
// joined thread stays listed in /proc until the kernel lets it go.
int SettledThreadCount() {
  pid_t tid = 0;
  std::thread([&tid] { tid = gettid(); }).join();
  const std::string entry = "/proc/self/task/" + std::to_string(tid);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::filesystem::exists(entry) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return ThreadCount();
}

TEST_F(NetworkTest, NoLibraryThreadIsLeftAfterTheLastClose) {
  const int threadsBefore = SettledThreadCount();
  ConnectionData* server = nullptr;
  ConnectionData* client = Join(&server);
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(ThreadCountSettlingAt(threadsBefore + 1), threadsBefore + 1);
  CloseConnection(client);
  EXPECT_TRUE(PumpUntil([&] { return client->closed && server->closed; }));
  EXPECT_FALSE(SocketEventThreadRunning());
  EXPECT_EQ(ThreadCountSettlingAt(threadsBefore), threadsBefore);
}

TEST_F(NetworkTest, CleanUpJoinsTheThreadAndClosesEverySocket) {
  const int threadsBefore = SettledThreadCount();
  const int descriptorsBefore = OpenDescriptorCount();
  ConnectionData* server = nullptr;
  ASSERT_NE(Join(&server), nullptr);
  ASSERT_NE(Join(&server), nullptr);
  WSA_Cleanup();
  EXPECT_EQ(ThreadCountSettlingAt(threadsBefore), threadsBefore);
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
