#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "DiscoveryFixture.h"
#include "network/Datagram.h"
#include "network/NetworkLibrary.h"
#include "runtime/RTSState.h"

namespace network_testing {
namespace {

using Clock = std::chrono::steady_clock;

// What the accept handler saw, and on which thread. It runs on the server
// thread, so the test reads it under the lock.
struct Accepted {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<ConnectionData*> connections;
  std::vector<std::thread::id> threads;
  std::atomic<bool> answer = true;
};
Accepted& TheAccepted() {
  static Accepted accepted;
  return accepted;
}

bool RecordAccept(ConnectionData* connection) {
  {
    std::lock_guard lock(TheAccepted().mutex);
    TheAccepted().connections.push_back(connection);
    TheAccepted().threads.push_back(std::this_thread::get_id());
  }
  TheAccepted().changed.notify_all();
  return TheAccepted().answer;
}

// The index-th accepted connection, once the accept handler has seen it.
ConnectionData* AcceptedAt(size_t index, std::chrono::milliseconds wait = 3s) {
  std::unique_lock lock(TheAccepted().mutex);
  TheAccepted().changed.wait_for(lock, wait, [&] { return TheAccepted().connections.size() > index; });
  return TheAccepted().connections.size() > index ? TheAccepted().connections[index] : nullptr;
}

// The names of the process's threads.
std::vector<std::string> ThreadNames() {
  std::vector<std::string> names;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    names.push_back(name);
  }
  return names;
}

std::vector<ConnectionData*> ConnectionsOf(ServerData* server) {
  std::lock_guard lock(server->lock);
  return server->connections;
}

class ServerTest : public DiscoveryTest {
 protected:
  void SetUp() override {
    DiscoveryTest::SetUp();
    std::lock_guard lock(TheAccepted().mutex);
    TheAccepted().connections.clear();
    TheAccepted().threads.clear();
    TheAccepted().answer = true;
  }
  ServerData* Server(const char* name, const char* info, int32_t port = 0) {
    ServerData* server = CreateServerEx(name, info, RecordAccept, RecordingHandlers(), port);
    servers_.push_back(server);
    return server;
  }
  NetworkData* Search(const char* address = nullptr, int32_t port = 0) {
    searches_.push_back(OpenNetwork(kSearchMode, 0, address, port));
    return searches_.back();
  }
  // Joins through a broadcast search that finds exactly one server.
  ConnectionData* JoinFound(const char* label) {
    const std::vector<HostData*> hosts = TakeAnswers(Search(), 1);
    if (hosts.size() != 1) {
      ADD_FAILURE() << hosts.size() << " servers found";
      return nullptr;
    }
    ConnectionData* client = OpenConnection(hosts[0], RecordingHandlers());
    Log().labels[client] = label;
    return client;
  }
};

TEST_F(ServerTest, AClientFindsAServerJoinsItAndTheyTalkBothWays) {
  ServerData* server = Server("Terrace", "4 players");
  ASSERT_NE(server, nullptr);
  const std::vector<std::string> names = ThreadNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "ServerThread"), names.end());
  const std::vector<HostData*> hosts = TakeAnswers(Search(), 1);
  ASSERT_EQ(hosts.size(), 1u);
  char text[256];
  int32_t number = -1;
  ASSERT_TRUE(GetHostName(hosts[0], text));
  EXPECT_STREQ(text, "Terrace");
  ASSERT_TRUE(GetHostInfo(hosts[0], text));
  EXPECT_STREQ(text, "4 players");
  ASSERT_TRUE(GetHostAddress(hosts[0], text));
  EXPECT_STREQ(text, "127.0.0.1");
  ASSERT_TRUE(GetHostPort(hosts[0], &number));
  EXPECT_EQ(number, PortBase());
  ASSERT_TRUE(GetHostPing(hosts[0], &number));
  EXPECT_GE(number, 0);
  EXPECT_LT(number, 1000);
  EXPECT_FALSE(GetHostName(hosts[0], nullptr));
  EXPECT_FALSE(GetHostPing(nullptr, &number));

  // The host taken stays valid after its search ended: the game joins with it.
  CloseNetwork(&searches_.back());
  ConnectionData* client = OpenConnection(hosts[0], RecordingHandlers());
  ASSERT_NE(client, nullptr);
  Log().labels[client] = "client";
  ConnectionData* accepted = AcceptedAt(0);
  ASSERT_NE(accepted, nullptr);
  Log().labels[accepted] = "accepted";
  {
    std::lock_guard lock(TheAccepted().mutex);
    EXPECT_NE(TheAccepted().threads[0], std::this_thread::get_id());
  }
  EXPECT_EQ(ConnectionsOf(server), std::vector<ConnectionData*>{accepted});

  // The server thread names the new record and its socket in the log.
  EXPECT_NE(DebugLog().find("++++ lConnectionData: 0x"), std::string::npos);
  EXPECT_NE(DebugLog().find("++++ Socket: 0x"), std::string::npos);
  ASSERT_TRUE(Write(client, "order", 5));
  ASSERT_TRUE(Write(accepted, "frame", 5));
  EXPECT_TRUE(PumpUntil([&] { return Log().received[accepted] == "order" && Log().received[client] == "frame"; }));
}

TEST_F(ServerTest, MultiCastReachesEveryClientOnceAndAClosedClientLeavesTheArray) {
  ServerData* server = Server("Terrace", "");
  ASSERT_NE(server, nullptr);
  std::vector<ConnectionData*> clients;
  for (const char* label : {"first", "second", "third"}) {
    clients.push_back(JoinFound(label));
    ASSERT_NE(clients.back(), nullptr);
  }
  ASSERT_NE(AcceptedAt(2), nullptr);
  ASSERT_EQ(ConnectionsOf(server).size(), 3u);
  EXPECT_EQ(MultiCast(server, "tick", 4), 3u);
  EXPECT_TRUE(PumpUntil([&] {
    return Log().received[clients[0]] == "tick" && Log().received[clients[1]] == "tick" &&
           Log().received[clients[2]] == "tick";
  }));
  PumpFor(50ms);
  for (ConnectionData* client : clients) {
    EXPECT_EQ(Log().received[client], "tick");
  }

  CloseConnection(clients[1]);
  ConnectionData* secondAccepted = AcceptedAt(1);
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[secondAccepted] == 1; }));
  const std::vector<ConnectionData*> left = {AcceptedAt(0), AcceptedAt(2)};
  EXPECT_EQ(ConnectionsOf(server), left);
  EXPECT_EQ(MultiCast(server, "tock", 4), 2u);
  EXPECT_TRUE(PumpUntil([&] { return Log().received[clients[2]] == "ticktock"; }));
  EXPECT_EQ(Log().received[clients[1]], "tick");
}

TEST_F(ServerTest, DestroyingTheServerGivesEveryClientItsCloseHandler) {
  ServerData* server = Server("Terrace", "");
  ASSERT_NE(server, nullptr);
  std::vector<ConnectionData*> clients = {JoinFound("first"), JoinFound("second")};
  ASSERT_NE(clients[0], nullptr);
  ASSERT_NE(clients[1], nullptr);
  const std::vector<ConnectionData*> accepted = {AcceptedAt(0), AcceptedAt(1)};
  ASSERT_NE(accepted[1], nullptr);
  const auto start = Clock::now();
  DestroyServer(server);
  servers_.clear();
  EXPECT_LT(Clock::now() - start, 300ms);
  EXPECT_TRUE(PumpUntil([&] {
    return Log().closes[clients[0]] == 1 && Log().closes[clients[1]] == 1 &&
           Log().closes[accepted[0]] == 1 && Log().closes[accepted[1]] == 1;
  }));
  EXPECT_EQ(ServerCount(), 0u);
}

TEST_F(ServerTest, AnAcceptHandlerThatRefusesClosesTheConnection) {
  ServerData* server = Server("Terrace", "");
  ASSERT_NE(server, nullptr);
  TheAccepted().answer = false;
  ConnectionData* client = JoinFound("client");
  ASSERT_NE(client, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return Log().closes[client] == 1; }));
  ASSERT_NE(AcceptedAt(0), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return ConnectionsOf(server).empty(); }));
}

TEST_F(ServerTest, ARefusedRegistrationClosesTheConnectionWithoutTheAcceptHandler) {
  ServerData* server = Server("Terrace", "");
  ASSERT_NE(server, nullptr);
  const std::vector<HostData*> hosts = TakeAnswers(Search(), 1);
  ASSERT_EQ(hosts.size(), 1u);
  // Without the game window no connection can be registered.
  RTS().mainWindow->SetTitle("Another game");
  EXPECT_EQ(OpenConnection(hosts[0], RecordingHandlers()), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return DebugLog().find("LumoConnection (SyncSelect)") != std::string::npos; }));
  PumpFor(200ms);
  EXPECT_EQ(AcceptedAt(0, 0ms), nullptr);
  EXPECT_TRUE(ConnectionsOf(server).empty());
  EXPECT_EQ(ConnectionCount(), 0u);
}

// The client's side of a join, played by the test without the library:
// listens, asks the server to connect back, and keeps the connection.
ScopedFd RawJoin(uint16_t serverPort) {
  ScopedFd listener(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_EQ(bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  EXPECT_EQ(listen(listener.Get(), 1), 0);
  ScopedFd asker = DatagramSocket();
  const Datagram request = FormatConnectRequest(LocalPort(listener.Get()));
  SendDatagram(asker.Get(), request.data(), request.size(), serverPort);
  pollfd polled = {listener.Get(), POLLIN, 0};
  if (poll(&polled, 1, 3000) != 1) {
    return ScopedFd();
  }
  return ScopedFd(accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
}

// What the server sends until it closes, at most `most` bytes, waiting up
// to a second for each part.
std::vector<uint8_t> ReceiveUntilClosed(int fd, size_t most) {
  std::vector<uint8_t> received;
  uint8_t chunk[512];
  while (received.size() < most) {
    pollfd polled = {fd, POLLIN, 0};
    if (poll(&polled, 1, 1000) != 1) {
      break;
    }
    const ssize_t got = recv(fd, chunk, std::min(sizeof chunk, most - received.size()), 0);
    if (got <= 0) {
      break;
    }
    received.insert(received.end(), chunk, chunk + got);
  }
  return received;
}

TEST_F(ServerTest, AClientTheServerCannotRegisterIsNotGreeted) {
  ServerData* server = Server("Terrace", "");
  ASSERT_NE(server, nullptr);
  // Every event slot of the process is taken by the server's ends.
  std::vector<ScopedFd> clients;
  for (uint32_t index = 0; index < 64; ++index) {
    clients.push_back(RawJoin(server->port));
    ASSERT_GE(clients.back().Get(), 0) << index;
    ASSERT_EQ(ReceiveUntilClosed(clients.back().Get(), 256), Greeting()) << index;
  }
  ScopedFd refused = RawJoin(server->port);
  ASSERT_GE(refused.Get(), 0);
  // Without a greeting the client's join fails, instead of succeeding and
  // closing at once.
  EXPECT_TRUE(ReceiveUntilClosed(refused.Get(), 256).empty());
  EXPECT_NE(DebugLog().find("LumoConnection (SyncSelect)"), std::string::npos);
  EXPECT_EQ(ConnectionsOf(server).size(), 64u);
}

TEST_F(ServerTest, ThreeServersTakeTheFirstPortsAndOneBroadcastFindsThemAll) {
  const char* names[] = {"one", "two", "three"};
  for (const char* name : names) {
    ASSERT_NE(Server(name, "info"), nullptr);
  }
  for (int index = 0; index < 3; ++index) {
    EXPECT_EQ(servers_[index]->port, PortBase() + index);
  }
  std::vector<HostData*> hosts = TakeAnswers(Search(), 3);
  PumpFor(100ms);
  std::vector<HostData*> late = TakeAnswers(searches_.back(), 0, 0ms);
  hosts.insert(hosts.end(), late.begin(), late.end());
  ASSERT_EQ(hosts.size(), 3u);
  std::vector<std::string> found;
  for (HostData* host : hosts) {
    int32_t port = 0;
    GetHostPort(host, &port);
    found.push_back(std::string(host->name) + ":" + std::to_string(port - PortBase()));
  }
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"one:0", "three:2", "two:1"}));
}

TEST_F(ServerTest, ADirectedSearchFindsOnlyTheServerItNames) {
  for (const char* name : {"one", "two", "three"}) {
    ASSERT_NE(Server(name, ""), nullptr);
  }
  NetworkData* search = Search("127.0.0.1", PortBase() + 1);
  std::vector<HostData*> hosts = TakeAnswers(search, 1);
  PumpFor(100ms);
  EXPECT_EQ(NetworkCount(search), 0);
  ASSERT_EQ(hosts.size(), 1u);
  EXPECT_STREQ(hosts[0]->name, "two");
}

TEST_F(ServerTest, WithEveryPortOfTheRangeTakenNoServerStarts) {
  std::vector<ScopedFd> taken;
  for (int index = 0; index < 19; ++index) {
    taken.push_back(DatagramSocket(static_cast<uint16_t>(PortBase() + index)));
  }
  EXPECT_EQ(CreateServer(RecordAccept, RecordingHandlers(), 0), nullptr);
  EXPECT_NE(DebugLog().find("LumoConnection (ServerThread)"), std::string::npos);
  taken.pop_back();
  ServerData* last = Server("last", "");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->port, PortBase() + 18);
  // A port the game names is used as given, also outside the range.
  ScopedFd probe = DatagramSocket();
  const int named = LocalPort(probe.Get());
  probe.Reset();
  ServerData* namedServer = Server("named", "", named);
  ASSERT_NE(namedServer, nullptr);
  EXPECT_EQ(namedServer->port, named);
}

TEST_F(ServerTest, ALongNameAndInfoStillGiveAWholeAnswer) {
  const std::string name(300, 'n');
  const std::string info(300, 'i');
  ServerData* server = Server(name.c_str(), info.c_str());
  ASSERT_NE(server, nullptr);
  ScopedFd asker = DatagramSocket();
  const Datagram search = FormatSearchRequest();
  SendDatagram(asker.Get(), search.data(), search.size(), server->port);
  const std::vector<uint8_t> answer = ReceiveDatagram(asker.Get(), 2000ms);
  ASSERT_EQ(answer.size(), 256u);
  EXPECT_EQ(answer[255], 0);
  const std::string text(reinterpret_cast<const char*>(answer.data()));
  EXPECT_EQ(text, ("LumoConnection|0.01|" + name).substr(0, 255));
  char copied[256];
  ASSERT_TRUE(GetServerName(server, copied));
  EXPECT_EQ(std::string(copied), name.substr(0, 255));
  ASSERT_TRUE(GetServerInfo(server, copied));
  EXPECT_EQ(std::string(copied), info.substr(0, 255));
  EXPECT_FALSE(SetServerName(server, nullptr));
  EXPECT_FALSE(GetServerInfo(server, nullptr));
}

TEST_F(ServerTest, ANameSetWhileSearchesArriveIsAnsweredWhole) {
  ServerData* server = Server("start", "");
  ASSERT_NE(server, nullptr);
  ScopedFd asker = DatagramSocket();
  const Datagram search = FormatSearchRequest();
  std::thread renamer([&] {
    for (int round = 0; round < 200; ++round) {
      SetServerName(server, round % 2 == 0 ? "even name" : "odd");
      SetServerInfo(server, round % 2 == 0 ? "odd" : "even name");
    }
  });
  int answers = 0;
  for (int round = 0; round < 50; ++round) {
    SendDatagram(asker.Get(), search.data(), search.size(), server->port);
    const std::vector<uint8_t> answer = ReceiveDatagram(asker.Get(), 1000ms);
    const std::vector<std::string> fields = SplitDatagram(answer.data(), answer.size());
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_TRUE(fields[2] == "start" || fields[2] == "even name" || fields[2] == "odd") << fields[2];
    ++answers;
  }
  renamer.join();
  EXPECT_EQ(answers, 50);
}

}  // namespace
}  // namespace network_testing
