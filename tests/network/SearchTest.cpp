#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "DiscoveryFixture.h"
#include "network/Datagram.h"
#include "network/NetworkLibrary.h"

namespace network_testing {
namespace {

using Clock = std::chrono::steady_clock;

// A server played by the test: it takes search datagrams and answers them
// when the test says.
class FakeAnswerer {
 public:
  FakeAnswerer() : socket_(DatagramSocket()) {}
  uint16_t Port() const { return static_cast<uint16_t>(LocalPort(socket_.Get())); }
  // The sender of the next search, or port 0 when none came.
  sockaddr_in TakeSearch() {
    sockaddr_in sender{};
    const std::vector<uint8_t> search = ReceiveDatagram(socket_.Get(), 2000ms, &sender);
    EXPECT_EQ(search, Block("LumoConnection|0.01|0"));
    return sender;
  }
  void Answer(const sockaddr_in& searcher, const std::vector<uint8_t>& bytes) {
    EXPECT_EQ(sendto(socket_.Get(), bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&searcher),
                     sizeof searcher),
              static_cast<ssize_t>(bytes.size()));
  }

 private:
  ScopedFd socket_;
};

class SearchTest : public DiscoveryTest {
 protected:
  NetworkData* Search(const char* address, int32_t port) {
    searches_.push_back(OpenNetwork(kSearchMode, 0, address, port));
    return searches_.back();
  }
};

TEST_F(SearchTest, TwoOverlappingSearchesEachTimeFromTheirOwnStart) {
  FakeAnswerer server;
  NetworkData* first = Search("127.0.0.1", server.Port());
  const sockaddr_in firstSearcher = server.TakeSearch();
  std::this_thread::sleep_for(300ms);
  NetworkData* second = Search("127.0.0.1", server.Port());
  const sockaddr_in secondSearcher = server.TakeSearch();
  std::this_thread::sleep_for(100ms);
  server.Answer(firstSearcher, Block("LumoConnection|0.01|name|info"));
  server.Answer(secondSearcher, Block("LumoConnection|0.01|name|info"));
  const std::vector<HostData*> firstHosts = TakeAnswers(first, 1);
  const std::vector<HostData*> secondHosts = TakeAnswers(second, 1);
  ASSERT_EQ(firstHosts.size(), 1u);
  ASSERT_EQ(secondHosts.size(), 1u);
  EXPECT_GE(firstHosts[0]->ping, 390);
  EXPECT_GE(secondHosts[0]->ping, 90);
  EXPECT_LT(secondHosts[0]->ping, 300);
}

TEST_F(SearchTest, AnswersAreSplitAtBarsWithMissingFieldsMarked) {
  struct Case {
    const char* text;
    const char* name;
    const char* info;
  };
  const Case cases[] = {
      {"LumoConnection|0.01|name|info", "name", "info"},
      {"LumoConnection|0.01|name", "name", "NETWORK ERROR"},
      {"LumoConnection|0.01", "NETWORK ERROR", "NETWORK ERROR"},
      {"", "NETWORK ERROR", "NETWORK ERROR"},
      {"LumoConnection|0.01|Terrace|Rampage|4 players|x", "Terrace", "Rampage"},
      {"other|9.99|||", "", ""},
      {"LumoConnection|0.01|%s%n|%s%n", "%s%n", "%s%n"},
  };
  FakeAnswerer server;
  NetworkData* search = Search("127.0.0.1", server.Port());
  const sockaddr_in searcher = server.TakeSearch();
  for (const Case& one : cases) {
    server.Answer(searcher, Block(one.text));
  }
  const std::vector<HostData*> hosts = TakeAnswers(search, std::size(cases));
  ASSERT_EQ(hosts.size(), std::size(cases));
  for (size_t index = 0; index < hosts.size(); ++index) {
    SCOPED_TRACE(cases[index].text);
    EXPECT_STREQ(hosts[index]->name, cases[index].name);
    EXPECT_STREQ(hosts[index]->info, cases[index].info);
    int32_t port = 0;
    ASSERT_TRUE(GetHostPort(hosts[index], &port));
    EXPECT_EQ(port, server.Port());
  }
}

TEST_F(SearchTest, AFloodOfAnswersIsCappedAndCloseNetworkReturnsInTime) {
  FakeAnswerer server;
  NetworkData* search = Search("127.0.0.1", server.Port());
  const sockaddr_in searcher = server.TakeSearch();
  std::atomic<bool> flooding = true;
  std::thread flood([&] {
    const std::vector<uint8_t> answer = Block("LumoConnection|0.01|flood|flood");
    while (flooding) {
      server.Answer(searcher, answer);
    }
  });
  EXPECT_TRUE(PumpUntil([&] { return NetworkCount(search) >= 256; }));
  PumpFor(100ms);
  EXPECT_EQ(NetworkCount(search), 256);
  const int threadsWithSearch = ThreadCount();
  const auto start = Clock::now();
  CloseNetwork(&searches_.back());
  EXPECT_LT(Clock::now() - start, 300ms);
  EXPECT_EQ(searches_.back(), nullptr);
  EXPECT_EQ(ThreadCountSettlingAt(threadsWithSearch - 1), threadsWithSearch - 1);
  flooding = false;
  flood.join();
  // The drops are logged, about one line a second, not one a datagram.
  const std::string log = DebugLog();
  size_t lines = 0;
  for (size_t at = log.find("256 answers wait already"); at != std::string::npos;
       at = log.find("256 answers wait already", at + 1)) {
    ++lines;
  }
  EXPECT_GE(lines, 1u);
  EXPECT_LE(lines, 3u);
}

TEST_F(SearchTest, RefreshNetworkSearchesAgainUnderANewHandle) {
  FakeAnswerer server;
  Search("127.0.0.1", server.Port());
  server.TakeSearch();
  NetworkData* fresh = RefreshNetwork(&searches_.back());
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(searches_.back(), fresh);
  EXPECT_EQ(SearchCount(), 1u);
  const sockaddr_in searcher = server.TakeSearch();
  server.Answer(searcher, Block("LumoConnection|0.01|again|"));
  const std::vector<HostData*> hosts = TakeAnswers(fresh, 1);
  ASSERT_EQ(hosts.size(), 1u);
  EXPECT_STREQ(hosts[0]->name, "again");
}

TEST_F(SearchTest, OtherModesAndBadTargetsGiveARecordWithoutASearch) {
  const int threadsBefore = ThreadCount();
  const int descriptorsBefore = OpenDescriptorCount();
  struct Case {
    int32_t mode;
    const char* address;
    int32_t port;
  };
  const Case cases[] = {{1, nullptr, 0}, {2, "not an address", 20000}, {2, "127.0.0.1", 0}, {2, "127.0.0.1", 65536}};
  for (const Case& one : cases) {
    NetworkData* record = OpenNetwork(one.mode, 7, one.address, one.port);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(ThreadCount(), threadsBefore);
    EXPECT_EQ(NetworkCount(record), 0);
    HostData* host = nullptr;
    EXPECT_FALSE(ReadNetwork(record, &host));
    EXPECT_FALSE(CloseNetwork(&record));
    EXPECT_EQ(record, nullptr);
  }
  EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore);
  EXPECT_EQ(NetworkCount(nullptr), 0);
  EXPECT_FALSE(CloseNetwork(nullptr));
}

TEST_F(SearchTest, NoLibraryThreadOrSocketIsLeftAfterTheLastCloseOrAfterCleanUp) {
  std::thread([] {}).join();  // a sanitizer's helper thread starts with the first one
  const int threadsBefore = ThreadCount();
  const int descriptorsBefore = OpenDescriptorCount();
  ServerData* server = CreateServerEx("Terrace", "", nullptr, RecordingHandlers(), 0);
  ASSERT_NE(server, nullptr);
  NetworkData* search = OpenNetwork(kSearchMode, 0, nullptr, 0);
  const std::vector<HostData*> hosts = TakeAnswers(search, 1);
  ASSERT_EQ(hosts.size(), 1u);
  ConnectionData* client = OpenConnection(hosts[0], RecordingHandlers());
  ASSERT_NE(client, nullptr);
  EXPECT_GT(ThreadCount(), threadsBefore);
  CloseNetwork(&search);
  DestroyServer(server);
  EXPECT_TRUE(PumpUntil([&] { return client->closed.load(); }));
  PumpFor(50ms);
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore);

  // The clean-up ends what the game left running.
  ASSERT_NE(CreateServer(nullptr, RecordingHandlers(), 0), nullptr);
  NetworkData* left = OpenNetwork(kSearchMode, 0, nullptr, 0);
  ASSERT_EQ(TakeAnswers(left, 1).size(), 1u);
  WSA_Cleanup();
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore);
  EXPECT_EQ(SearchCount(), 0u);
  EXPECT_EQ(ServerCount(), 0u);
}

}  // namespace
}  // namespace network_testing
