#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <string>
#include <vector>

#include "DiscoveryFixture.h"
#include "network/Datagram.h"

namespace network_testing {
namespace {

using Clock = std::chrono::steady_clock;

// A TCP port of the test that a wrongful connect-back would reach.
class Listener {
 public:
  explicit Listener(int backlog = 5, const char* bound = "127.0.0.1")
      : socket_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    EXPECT_EQ(inet_pton(AF_INET, bound, &address.sin_addr), 1);
    EXPECT_EQ(bind(socket_.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(socket_.Get(), backlog), 0);
  }
  int Port() const { return LocalPort(socket_.Get()); }
  bool ConnectionWaits(std::chrono::milliseconds wait) const {
    pollfd polled = {socket_.Get(), POLLIN, 0};
    return poll(&polled, 1, static_cast<int>(wait.count())) == 1;
  }

 private:
  ScopedFd socket_;
};

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> Resized(std::vector<uint8_t> bytes, size_t size) {
  bytes.resize(size, 0);
  return bytes;
}

// Datagrams no server answers and no search keeps; "P" stands for a port
// where the test listens, which no connect-back may reach.
struct Hostile {
  const char* what;
  std::vector<uint8_t> bytes;
};

std::vector<Hostile> HostileDatagrams(int listeningPort) {
  const std::string port = std::to_string(listeningPort);
  const auto text = [&](const std::string& fields) { return "LumoConnection|0.01|" + fields; };
  std::string noEnd = text("0|" + port + "|");
  noEnd.resize(256, 'x');
  return {
      {"no NUL", Bytes(noEnd)},
      {"0 bytes", {}},
      {"255 bytes", Resized(Block(text("1|" + port)), 255)},
      {"257 bytes", Resized(Block(text("1|" + port)), 257)},
      {"1000 bytes", Resized(Block(text("1|" + port)), 1000)},
      {"no command", Block("LumoConnection|0.01")},
      {"empty command", Block(text("|" + port))},
      {"non-numeric command", Block(text("x|" + port))},
      {"command with a tail", Block(text("1x|" + port))},
      {"negative command", Block(text("-1|" + port))},
      {"command past 32 bits", Block(text("4294967297|" + port))},
      {"huge command", Block(text("99999999999999999999|" + port))},
      {"format directives", Block(text("%s%n|%s%n"))},
      {"connect without a port", Block(text("1"))},
      {"connect to port 0", Block(text("1|0"))},
      {"connect to port -1", Block(text("1|-1"))},
      {"connect to port 65536", Block(text("1|65536"))},
      {"connect to the port past 16 bits", Block(text("1|" + std::to_string(listeningPort + 65536)))},
      {"connect to the port past 32 bits", Block(text("1|" + std::to_string(listeningPort + 4294967296LL)))},
      {"connect to a non-numeric port", Block(text("1|" + port + "x"))},
      {"another command", Block(text("2|" + port))},
  };
}

class HostileDatagramTest : public DiscoveryTest {};

TEST_F(HostileDatagramTest, AServerAnswersNoneAndConnectsBackToNone) {
  ServerData* server = CreateServerEx("Terrace", "", nullptr, RecordingHandlers(), 0);
  servers_.push_back(server);
  ASSERT_NE(server, nullptr);
  Listener listener;
  ScopedFd asker = DatagramSocket();
  for (const Hostile& hostile : HostileDatagrams(listener.Port())) {
    SCOPED_TRACE(hostile.what);
    SendDatagram(asker.Get(), hostile.bytes.data(), hostile.bytes.size(), server->port);
    EXPECT_TRUE(ReceiveDatagram(asker.Get(), 30ms).empty());
  }
  EXPECT_TRUE(ReceiveDatagram(asker.Get(), 200ms).empty());
  EXPECT_FALSE(listener.ConnectionWaits(0ms));
  EXPECT_NE(DebugLog().find("dropped a datagram"), std::string::npos);

  // The server still answers, and connects back when asked rightly.
  const Datagram search = FormatSearchRequest();
  SendDatagram(asker.Get(), search.data(), search.size(), server->port);
  EXPECT_EQ(ReceiveDatagram(asker.Get(), 2000ms), Block("LumoConnection|0.01|Terrace|"));
  const Datagram request = FormatConnectRequest(listener.Port());
  SendDatagram(asker.Get(), request.data(), request.size(), server->port);
  EXPECT_TRUE(listener.ConnectionWaits(2000ms));
}

TEST_F(HostileDatagramTest, ASearchKeepsNoDatagramThatIsNotAWholeText) {
  ScopedFd server = DatagramSocket();
  searches_.push_back(OpenNetwork(kSearchMode, 0, "127.0.0.1", LocalPort(server.Get())));
  sockaddr_in searcher{};
  ASSERT_FALSE(ReceiveDatagram(server.Get(), 2000ms, &searcher).empty());
  for (const Hostile& hostile : HostileDatagrams(1)) {
    // What a search keeps is any whole text; here only the broken blocks.
    if (hostile.bytes.size() == 256 && hostile.bytes.back() == 0) {
      continue;
    }
    SCOPED_TRACE(hostile.what);
    sendto(server.Get(), hostile.bytes.data(), hostile.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&searcher),
           sizeof searcher);
  }
  const std::vector<uint8_t> answer = Block("LumoConnection|0.01|after|all");
  sendto(server.Get(), answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&searcher), sizeof searcher);
  const std::vector<HostData*> hosts = TakeAnswers(searches_.back(), 1);
  PumpFor(100ms);
  EXPECT_EQ(NetworkCount(searches_.back()), 0);
  ASSERT_EQ(hosts.size(), 1u);
  EXPECT_STREQ(hosts[0]->name, "after");
}

TEST_F(HostileDatagramTest, AConnectBackToADeadPortOrAFullBacklogDoesNotStopTheAnswers) {
  ServerData* server = CreateServerEx("Terrace", "", nullptr, RecordingHandlers(), 0);
  ASSERT_NE(server, nullptr);
  int deadPort = 0;
  {
    Listener closedAgain;
    deadPort = closedAgain.Port();
  }
  // A listener whose queue is full: further connections are not taken.
  Listener full(0);
  std::vector<ScopedFd> waiting;
  for (int index = 0; index < 4; ++index) {
    ScopedFd client(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(full.Port()));
    connect(client.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    waiting.push_back(std::move(client));
  }
  ScopedFd asker = DatagramSocket();
  for (const int port : {deadPort, full.Port()}) {
    const Datagram request = FormatConnectRequest(port);
    SendDatagram(asker.Get(), request.data(), request.size(), server->port);
  }
  const Datagram search = FormatSearchRequest();
  const auto start = Clock::now();
  SendDatagram(asker.Get(), search.data(), search.size(), server->port);
  EXPECT_EQ(ReceiveDatagram(asker.Get(), 1000ms), Block("LumoConnection|0.01|Terrace|"));
  EXPECT_LT(Clock::now() - start, 500ms);
  // The dead port refused; the full backlog keeps its connect-back waiting.
  EXPECT_TRUE(PumpUntil([&] { return DebugLog().find("LumoConnection (OpenConnection1)") != std::string::npos; },
                        1500ms));
  const auto destroyStart = Clock::now();
  DestroyServer(server);
  EXPECT_LT(Clock::now() - destroyStart, 300ms);
}

// A listener on the address whose queue is full: connections towards it
// are neither taken nor refused, so a connect-back to it waits its whole
// time limit.
struct FullListener {
  explicit FullListener(const char* bound) : listener(0, bound) {
    for (int index = 0; index < 4; ++index) {
      ScopedFd client(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
      sockaddr_in address{};
      address.sin_family = AF_INET;
      inet_pton(AF_INET, bound, &address.sin_addr);
      address.sin_port = htons(static_cast<uint16_t>(listener.Port()));
      connect(client.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
      waiting.push_back(std::move(client));
    }
  }
  Listener listener;
  std::vector<ScopedFd> waiting;
};

TEST_F(HostileDatagramTest, OneHostAskingForManyConnectBacksLeavesRoomForOthersToJoin) {
  ServerData* server = CreateServerEx("Terrace", "", nullptr, RecordingHandlers(), 0);
  ASSERT_NE(server, nullptr);
  servers_.push_back(server);
  // Another host asks for as many connect-backs as the server runs at once,
  // each towards a port that never answers.
  const char* hostile = "127.0.0.2";
  FullListener stalled(hostile);
  ScopedFd asker = DatagramSocket(0, hostile);
  const Datagram request = FormatConnectRequest(stalled.listener.Port());
  for (int index = 0; index < 16; ++index) {
    SendDatagram(asker.Get(), request.data(), request.size(), server->port);
  }
  // The server answers in the order the datagrams came: once this answer
  // is here, every request above was handled.
  const Datagram search = FormatSearchRequest();
  SendDatagram(asker.Get(), search.data(), search.size(), server->port);
  ASSERT_FALSE(ReceiveDatagram(asker.Get(), 1000ms).empty());

  searches_.push_back(OpenNetwork(kSearchMode, 0, nullptr, 0));
  const std::vector<HostData*> hosts = TakeAnswers(searches_.back(), 1);
  ASSERT_EQ(hosts.size(), 1u);
  ConnectionData* client = OpenConnection(hosts[0], RecordingHandlers());
  EXPECT_NE(client, nullptr);
  EXPECT_NE(DebugLog().find("too many connections under way from this host"), std::string::npos);
}

}  // namespace
}  // namespace network_testing
