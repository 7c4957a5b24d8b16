#include "NetworkFixture.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "network/ConnectionLimits.h"
#include "network/Datagram.h"
#include "network/NetworkLibrary.h"
#include "network/SocketEventSlots.h"
#include "platform/MessageQueue.h"
#include "platform/Testing.h"
#include "runtime/RTS.h"
#include "runtime/RTSState.h"
#include "runtime/RTSWindowProc.h"

namespace network_testing {

ScopedFd& ScopedFd::operator=(ScopedFd&& other) noexcept {
  if (this != &other) {
    Reset(other.Release());
  }
  return *this;
}

int ScopedFd::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void ScopedFd::Reset(int fd) {
  if (fd_ >= 0) {
    close(fd_);
  }
  fd_ = fd;
}

HandlerLog& Log() {
  static HandlerLog log;
  return log;
}

namespace {

std::string Label(ConnectionData* connection) {
  const auto found = Log().labels.find(connection);
  return found != Log().labels.end() ? found->second : "?";
}

void RecordRead(ConnectionData* connection) {
  ++Log().reads[connection];
  Log().order.push_back("read " + Label(connection));
  if (Log().onRead) {
    Log().onRead(connection);
  } else {
    ReadAllWaiting(connection);
  }
}

void RecordClose(ConnectionData* connection) {
  ++Log().closes[connection];
  Log().order.push_back("close " + Label(connection));
  if (Log().onClose) {
    Log().onClose(connection);
  }
}

sockaddr_in LoopbackAddress(const char* dotted, int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, dotted, &address.sin_addr);
  return address;
}

}  // namespace

ConnectionHandlers* RecordingHandlers() {
  static ConnectionHandlers handlers = {{nullptr, RecordClose, RecordRead}};
  return &handlers;
}

void ReadAllWaiting(ConnectionData* connection) {
  char byte = 0;
  while (Read(connection, &byte, 1)) {
    Log().received[connection] += byte;
  }
}

FakeServer::FakeServer() : socket_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
  address_ = LoopbackAddress("127.0.0.1", 0);
  EXPECT_EQ(bind(socket_.Get(), reinterpret_cast<const sockaddr*>(&address_), sizeof address_), 0);
  socklen_t length = sizeof address_;
  getsockname(socket_.Get(), reinterpret_cast<sockaddr*>(&address_), &length);
}

HostData FakeServer::Host() const {
  HostData host{};
  std::strcpy(host.name, "NETWORK ERROR");
  std::strcpy(host.info, "NETWORK ERROR");
  host.address = address_;
  return host;
}

int FakeServer::ReceiveRequest(std::chrono::milliseconds wait) {
  pollfd polled = {socket_.Get(), POLLIN, 0};
  if (poll(&polled, 1, static_cast<int>(wait.count())) != 1) {
    return 0;
  }
  request_.assign(1024, 0);
  const ssize_t size = recv(socket_.Get(), request_.data(), request_.size(), 0);
  request_.resize(size > 0 ? static_cast<size_t>(size) : 0);
  const std::vector<std::string> fields = SplitDatagram(request_.data(), request_.size());
  return fields.size() >= 4 && fields[2] == "1" ? std::stoi(fields[3]) : 0;
}

ScopedFd ConnectTo(int port, const char* from) {
  ScopedFd fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const sockaddr_in source = LoopbackAddress(from, 0);
  EXPECT_EQ(bind(fd.Get(), reinterpret_cast<const sockaddr*>(&source), sizeof source), 0);
  const sockaddr_in target = LoopbackAddress("127.0.0.1", port);
  EXPECT_EQ(connect(fd.Get(), reinterpret_cast<const sockaddr*>(&target), sizeof target), 0);
  return fd;
}

std::vector<uint8_t> Greeting() {
  const Datagram greeting = FormatDatagram("LumoConnection|0.01|%s", kGreetingField);
  return {greeting.begin(), greeting.end()};
}

void SendAll(int fd, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t sent = send(fd, bytes, size, MSG_NOSIGNAL);
    ASSERT_GT(sent, 0);
    bytes += sent;
    size -= static_cast<size_t>(sent);
  }
}

int LocalPort(int fd) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

int OpenDescriptorCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

int ThreadCountSettlingAt(int expected) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int count = ThreadCount();
  while (count != expected && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    count = ThreadCount();
  }
  return count;
}

int ThreadCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    ++count;
  }
  return count;
}

namespace {

const tStartRecord kStartRecord = {
    nullptr, "", 1, "Yobbozers", "Yobbozers - Terrace rampage", "LumoYobbieDemo.ini", DebugModeOverwrite,
};

}  // namespace

void NetworkTest::SetUp() {
  platform::testing::Reset();
  platform::testing::UseBackend("headless");
  platform::testing::ReleaseClock();
  Log() = HandlerLog{};
  ASSERT_EQ(InitRTS(&kStartRecord, nullptr), RTSSuccess);
  WSA_Startup();
  ConnectionTimeLimits() = {600ms, 300ms, 300ms};
}

void NetworkTest::TearDown() {
  WSA_Cleanup();
  ConnectionTimeLimits() = {};
  if (RTS().mainWindow || RTS().instanceLock) {
    ShutdownRTS("", RTSSuccess);
  }
  Log() = HandlerLog{};
  platform::testing::Reset();
}

bool NetworkTest::PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    if (platform::GameQueue().Wait(10)) {
      platform::Message message;
      while (platform::GameQueue().Take(message)) {
        DispatchRTSMessage(message);
      }
    }
  }
  return true;
}

void NetworkTest::PumpFor(std::chrono::milliseconds time) {
  const auto deadline = std::chrono::steady_clock::now() + time;
  PumpUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, time + 1000ms);
}

ConnectionData* NetworkTest::Join(ConnectionData** serverEnd, ServerData* server) {
  FakeServer fake;
  HostData host = fake.Host();
  ConnectionData* accepted = nullptr;
  std::thread side([&] {
    const int port = fake.ReceiveRequest();
    if (port == 0) {
      return;
    }
    ScopedFd fd = ConnectTo(port);
    const std::vector<uint8_t> greeting = Greeting();
    SendAll(fd.Get(), greeting.data(), greeting.size());
    if (serverEnd == nullptr) {
      return;
    }
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    getpeername(fd.Get(), reinterpret_cast<sockaddr*>(&peer), &length);
    accepted = MakeConnection(AdoptSocket(fd.Release()), peer, RecordingHandlers(), server);
    if (server != nullptr) {
      std::lock_guard lock(server->lock);
      server->connections.push_back(accepted);
    }
    EXPECT_TRUE(SyncSelect(accepted));
  });
  ConnectionData* client = OpenConnection(&host, RecordingHandlers());
  side.join();
  Log().labels[client] = "client";
  if (serverEnd != nullptr) {
    *serverEnd = accepted;
    Log().labels[accepted] = "server";
  }
  return client;
}

ConnectionData* NetworkTest::JoinRaw(ScopedFd& serverEnd) {
  FakeServer fake;
  HostData host = fake.Host();
  std::thread side([&] {
    const int port = fake.ReceiveRequest();
    if (port == 0) {
      return;
    }
    serverEnd = ConnectTo(port);
    const std::vector<uint8_t> greeting = Greeting();
    SendAll(serverEnd.Get(), greeting.data(), greeting.size());
  });
  ConnectionData* client = OpenConnection(&host, RecordingHandlers());
  side.join();
  Log().labels[client] = "client";
  return client;
}

std::string NetworkTest::DebugLog() {
  std::ifstream file("Debug.txt", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace network_testing
