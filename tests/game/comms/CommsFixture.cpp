#include "CommsFixture.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "game/CommsBytes.h"
#include "network/ConnectionLimits.h"
#include "network/Datagram.h"
#include "network/NetworkLibrary.h"
#include "platform/MessageQueue.h"
#include "platform/Testing.h"
#include "runtime/DebugLog.h"
#include "runtime/RTS.h"
#include "runtime/RTSState.h"
#include "runtime/RTSWindowProc.h"

namespace comms_testing {

namespace {

const tStartRecord kStartRecord = {
    nullptr, "", 1, "Yobbozers", "Yobbozers - Terrace rampage", "LumoYobbieDemo.ini", DebugModeOverwrite,
};

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool WaitFor(int fd, short events, std::chrono::milliseconds limit) {
  pollfd polled = {fd, events, 0};
  return poll(&polled, 1, static_cast<int>(limit.count())) == 1;
}

}  // namespace

void StartRuntime() {
  // These tests' servers take ports of their own, clear of the network
  // library's tests running beside them.
  setenv("YOB_NET_PORT_BASE", "23613", 1);
  setenv("YOB_NET_BROADCAST", "127.255.255.255", 1);
  platform::testing::Reset();
  platform::testing::UseBackend("headless");
  platform::testing::ReleaseClock();
  ASSERT_EQ(InitRTS(&kStartRecord, nullptr), RTSSuccess);
  SetDebugLevel(DebugLevelMaximum);
  WSA_Startup();
}

void StopRuntime() {
  WSA_Cleanup();
  ConnectionTimeLimits() = {};
  if (RTS().mainWindow || RTS().instanceLock) {
    ShutdownRTS("", RTSSuccess);
  }
  platform::testing::Reset();
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    if (platform::GameQueue().Wait(5)) {
      platform::Message message;
      while (platform::GameQueue().Take(message)) {
        DispatchRTSMessage(message);
      }
    }
  }
  return true;
}

void PumpFor(std::chrono::milliseconds time) {
  const auto deadline = std::chrono::steady_clock::now() + time;
  PumpUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, time + 1000ms);
}

HostData LoopbackHost(int port) {
  HostData host{};
  std::strcpy(host.name, "NETWORK ERROR");
  std::strcpy(host.info, "NETWORK ERROR");
  host.address = Loopback(port);
  return host;
}

RawPeer::~RawPeer() {
  if (socket_ >= 0) {
    close(socket_);
  }
}

bool RawPeer::Connect(int serverPort) {
  const int listening = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in local = Loopback(0);
  socklen_t length = sizeof local;
  if (bind(listening, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || listen(listening, 1) != 0 ||
      getsockname(listening, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
    close(listening);
    return false;
  }
  const int datagram = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const Datagram request = FormatConnectRequest(ntohs(local.sin_port));
  const sockaddr_in server = Loopback(serverPort);
  sendto(datagram, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&server), sizeof server);
  close(datagram);
  if (!WaitFor(listening, POLLIN, 3000ms)) {
    close(listening);
    return false;
  }
  socket_ = accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
  close(listening);
  if (socket_ < 0) {
    return false;
  }
  size_t greeted = 0;
  char greeting[kDatagramSize];
  while (greeted < sizeof greeting && WaitFor(socket_, POLLIN, 3000ms)) {
    const ssize_t got = recv(socket_, greeting + greeted, sizeof greeting - greeted, 0);
    if (got <= 0) {
      return false;
    }
    greeted += static_cast<size_t>(got);
  }
  return greeted == sizeof greeting;
}

void RawPeer::Send(const Bytes& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t result = send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (result <= 0) {
      return;
    }
    sent += static_cast<size_t>(result);
  }
}

void RawPeer::SendSlowly(const Bytes& bytes, std::chrono::milliseconds pause) {
  for (const uint8_t byte : bytes) {
    send(socket_, &byte, 1, MSG_NOSIGNAL);
    std::this_thread::sleep_for(pause);
  }
}

Bytes RawPeer::Receive(std::chrono::milliseconds time) {
  Bytes received;
  const auto deadline = std::chrono::steady_clock::now() + time;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !WaitFor(socket_, POLLIN, left)) {
      return received;
    }
    uint8_t chunk[4096];
    const ssize_t got = recv(socket_, chunk, sizeof chunk, 0);
    if (got <= 0) {
      return received;
    }
    received.insert(received.end(), chunk, chunk + got);
  }
}

bool RawPeer::ClosedWithin(std::chrono::milliseconds time) {
  const auto deadline = std::chrono::steady_clock::now() + time;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !WaitFor(socket_, POLLIN, left)) {
      return false;
    }
    uint8_t chunk[4096];
    if (recv(socket_, chunk, sizeof chunk, 0) <= 0) {
      return true;
    }
  }
}

void RawPeer::Close() {
  if (socket_ >= 0) {
    close(socket_);
    socket_ = -1;
  }
}

int RawPeer::LocalPort() const {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

RawServer::RawServer() : datagram_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  bind(datagram_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  getsockname(datagram_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

RawServer::~RawServer() {
  close(datagram_);
  if (connection_ >= 0) {
    close(connection_);
  }
}

bool RawServer::AcceptClient(std::chrono::milliseconds limit) {
  if (!WaitFor(datagram_, POLLIN, limit)) {
    return false;
  }
  uint8_t request[1024] = {};
  const ssize_t size = recv(datagram_, request, sizeof request - 1, 0);
  const std::vector<std::string> fields = SplitDatagram(request, size > 0 ? static_cast<size_t>(size) : 0);
  if (fields.size() < 4 || fields[2] != "1") {
    return false;
  }
  connection_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in client = Loopback(std::stoi(fields[3]));
  if (connect(connection_, reinterpret_cast<const sockaddr*>(&client), sizeof client) != 0) {
    return false;
  }
  const Datagram greeting = FormatGreeting();
  Send(Bytes(greeting.begin(), greeting.end()));
  return true;
}

void RawServer::Send(const Bytes& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t result = send(connection_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (result <= 0) {
      return;
    }
    sent += static_cast<size_t>(result);
  }
}

Bytes RawServer::Receive(std::chrono::milliseconds time) {
  Bytes received;
  const auto deadline = std::chrono::steady_clock::now() + time;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !WaitFor(connection_, POLLIN, left)) {
      return received;
    }
    uint8_t chunk[4096];
    const ssize_t got = recv(connection_, chunk, sizeof chunk, 0);
    if (got <= 0) {
      return received;
    }
    received.insert(received.end(), chunk, chunk + got);
  }
}

Bytes JoinMessage(uint8_t type, const std::string& name, const std::string& address, uint32_t port) {
  Bytes bytes(38, 0);
  bytes[0] = type;
  std::memcpy(bytes.data() + 1, name.data(), std::min<size_t>(name.size(), 14));
  std::memcpy(bytes.data() + 15, address.data(), std::min<size_t>(address.size(), 15));
  StoreU32(bytes.data() + 30, port);
  return bytes;
}

Bytes TextMessageBytes(const std::string& text) {
  Bytes bytes = LengthFieldMessage(3, static_cast<uint32_t>(text.size()));
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

Bytes LengthFieldMessage(uint8_t type, uint32_t value) {
  Bytes bytes(5, type);
  StoreU32(bytes.data() + 1, value);
  return bytes;
}

Bytes FrameBytes(uint32_t frame, const std::vector<std::pair<uint16_t, std::string>>& orders) {
  Bytes bytes(9, 5);
  StoreU32(bytes.data() + 1, frame);
  StoreU32(bytes.data() + 5, static_cast<uint32_t>(orders.size()));
  for (const auto& [kind, payload] : orders) {
    uint8_t header[6];
    StoreU16(header, kind);
    StoreU32(header + 2, static_cast<uint32_t>(payload.size()));
    bytes.insert(bytes.end(), header, header + 6);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
  }
  return bytes;
}

}  // namespace comms_testing
