#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "network/ConnectionData.h"
#include "network/Datagram.h"
#include "network/NetworkLibrary.h"
#include "network/SocketEventSlots.h"
#include "platform/MessageQueue.h"
#include "runtime/RTS.h"
#include "runtime/RTSState.h"
#include "runtime/RTSWindowProc.h"

// Messages through the socket events over loopback: a client and a server
// end of one connection, both registered, every byte reaching a read
// handler through the run-time system's dispatch.

namespace {

size_t messageSize = 0;
size_t receivedMessages = 0;
bool echo = false;
ConnectionData* serverEnd = nullptr;  // echoes when echo is on

void OnRead(ConnectionData* connection) {
  std::vector<char> message(messageSize);
  while (Read(connection, message.data(), static_cast<uint32_t>(messageSize))) {
    ++receivedMessages;
    if (echo && connection == serverEnd) {
      Write(connection, message.data(), static_cast<uint32_t>(messageSize));
    }
  }
}

ConnectionHandlers handlers = {{nullptr, nullptr, OnRead}};

void DispatchUntil(size_t messages) {
  while (receivedMessages < messages) {
    if (platform::GameQueue().Wait(100)) {
      platform::Message message;
      while (platform::GameQueue().Take(message)) {
        DispatchRTSMessage(message);
      }
    }
  }
}

struct Ends {
  ConnectionData* client = nullptr;
  ConnectionData* server = nullptr;
};

// Joins a server side played by a thread, as the server thread would.
Ends Join() {
  const int datagram = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(datagram, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  getsockname(datagram, reinterpret_cast<sockaddr*>(&address), &length);
  HostData host{};
  host.address = address;
  Ends ends;
  std::thread side([&] {
    char request[256];
    pollfd polled = {datagram, POLLIN, 0};
    if (poll(&polled, 1, 3000) != 1 || recv(datagram, request, sizeof request, 0) != 256) {
      return;
    }
    const std::vector<std::string> fields = SplitDatagram(reinterpret_cast<uint8_t*>(request), sizeof request);
    sockaddr_in client = address;
    client.sin_port = htons(static_cast<uint16_t>(std::stoi(fields.at(3))));
    const int stream = AdoptSocket(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    connect(stream, reinterpret_cast<const sockaddr*>(&client), sizeof client);
    const Datagram greeting = FormatDatagram("LumoConnection|0.01|%s", kGreetingField);
    send(stream, greeting.data(), greeting.size(), MSG_NOSIGNAL);
    ends.server = MakeConnection(stream, client, &handlers, nullptr);
    SyncSelect(ends.server);
  });
  ends.client = OpenConnection(&host, &handlers);
  side.join();
  close(datagram);
  serverEnd = ends.server;
  return ends;
}

// Messages a second by the wall clock. The game thread mostly waits for the
// event thread's messages, so its CPU time (which the items rate divides by)
// leaves out most of what a player waits for.
void ReportWallRate(benchmark::State& state, const char* name, size_t messages,
                    std::chrono::steady_clock::time_point start) {
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (elapsed.count() > 0) {
    state.counters[name] = benchmark::Counter(static_cast<double>(messages) / elapsed.count());
  }
}

class NetworkRun {
 public:
  NetworkRun() {
    static const tStartRecord startRecord = {
        nullptr, "", 1, "Yobbozers", "Yobbozers - Terrace rampage", "LumoYobbieDemo.ini", DebugModeOff,
    };
    setenv("YOB_HEADLESS", "1", 1);
    started_ = InitRTS(&startRecord, nullptr) == RTSSuccess;
    WSA_Startup();
  }
  ~NetworkRun() {
    WSA_Cleanup();
    if (started_) {
      ShutdownRTS("", RTSSuccess);
    }
  }
  bool Started() const { return started_; }

 private:
  bool started_ = false;
};

// Messages a second from client to server, the sender keeping a window of
// 64 messages in flight.
void MessageRate(benchmark::State& state) {
  NetworkRun run;
  const Ends ends = run.Started() ? Join() : Ends{};
  if (ends.client == nullptr || ends.server == nullptr) {
    state.SkipWithError("no connection");
    return;
  }
  messageSize = static_cast<size_t>(state.range(0));
  echo = false;
  receivedMessages = 0;
  const std::vector<char> message(messageSize, 'm');
  size_t sent = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    Write(ends.client, message.data(), static_cast<uint32_t>(messageSize));
    ++sent;
    if (sent % 64 == 0) {
      DispatchUntil(sent);
    }
  }
  DispatchUntil(sent);
  ReportWallRate(state, "wall_messages_per_second", sent, start);
  state.SetItemsProcessed(static_cast<int64_t>(sent));
  state.SetBytesProcessed(static_cast<int64_t>(sent * messageSize));
}

// One message to the server and its echo back, per iteration.
void RoundTrip(benchmark::State& state) {
  NetworkRun run;
  const Ends ends = run.Started() ? Join() : Ends{};
  if (ends.client == nullptr || ends.server == nullptr) {
    state.SkipWithError("no connection");
    return;
  }
  messageSize = static_cast<size_t>(state.range(0));
  echo = true;
  receivedMessages = 0;
  const std::vector<char> message(messageSize, 'r');
  size_t trips = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    const size_t before = receivedMessages;
    Write(ends.client, message.data(), static_cast<uint32_t>(messageSize));
    DispatchUntil(before + 2);  // the server's read and the client's read of the echo
    ++trips;
  }
  ReportWallRate(state, "wall_round_trips_per_second", trips, start);
  state.SetItemsProcessed(static_cast<int64_t>(trips));
}

}  // namespace

BENCHMARK(MessageRate)->Arg(38)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(RoundTrip)->Arg(38)->Arg(1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
