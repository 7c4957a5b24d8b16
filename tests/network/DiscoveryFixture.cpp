#include "DiscoveryFixture.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "network/NetworkSettings.h"

namespace network_testing {

namespace {

sockaddr_in Address(const char* dotted, uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  inet_pton(AF_INET, dotted, &address.sin_addr);
  return address;
}

bool RangeIsFree(uint16_t base) {
  for (int index = 0; index < kServerPortCount; ++index) {
    ScopedFd probe(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = Address("0.0.0.0", static_cast<uint16_t>(base + index));
    if (bind(probe.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

ScopedFd DatagramSocket(uint16_t port, const char* bound) {
  ScopedFd fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  const sockaddr_in address = Address(bound, port);
  EXPECT_EQ(bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  return fd;
}

void SendDatagram(int fd, const void* bytes, size_t size, uint16_t port, const char* to) {
  const sockaddr_in address = Address(to, port);
  EXPECT_EQ(sendto(fd, bytes, size, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address),
            static_cast<ssize_t>(size));
}

std::vector<uint8_t> ReceiveDatagram(int fd, std::chrono::milliseconds wait, sockaddr_in* sender) {
  pollfd polled = {fd, POLLIN, 0};
  if (poll(&polled, 1, static_cast<int>(wait.count())) != 1) {
    return {};
  }
  std::vector<uint8_t> bytes(2048);
  sockaddr_in from{};
  socklen_t length = sizeof from;
  const ssize_t size = recvfrom(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
  bytes.resize(size > 0 ? static_cast<size_t>(size) : 0);
  if (sender != nullptr) {
    *sender = from;
  }
  return bytes;
}

std::vector<uint8_t> Block(const std::string& text) {
  std::vector<uint8_t> block(256, 0);
  std::memcpy(block.data(), text.data(), std::min<size_t>(text.size(), 256));
  return block;
}

void DiscoveryTest::SetUp() {
  NetworkTest::SetUp();
  // Tests run side by side: each starts from a range picked by its name.
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const size_t blocks = (32768 - 20000) / kServerPortCount;
  size_t block = std::hash<std::string>{}(std::string(test->test_suite_name()) + "." + test->name()) % blocks;
  for (size_t tried = 0; tried < blocks && !RangeIsFree(static_cast<uint16_t>(20000 + block * kServerPortCount));
       ++tried) {
    block = (block + 1) % blocks;
  }
  portBase_ = static_cast<uint16_t>(20000 + block * kServerPortCount);
  ASSERT_TRUE(RangeIsFree(portBase_));
  setenv("YOB_NET_PORT_BASE", std::to_string(portBase_).c_str(), 1);
  setenv("YOB_NET_BROADCAST", "127.255.255.255", 1);
}

void DiscoveryTest::TearDown() {
  for (NetworkData*& search : searches_) {
    CloseNetwork(&search);
  }
  for (ServerData* server : servers_) {
    DestroyServer(server);
  }
  NetworkTest::TearDown();
  unsetenv("YOB_NET_PORT_BASE");
  unsetenv("YOB_NET_BROADCAST");
}

std::vector<HostData*> DiscoveryTest::TakeAnswers(NetworkData* network, int count, std::chrono::milliseconds limit) {
  PumpUntil([&] { return NetworkCount(network) >= count; }, limit);
  std::vector<HostData*> hosts;
  HostData* host = nullptr;
  while (ReadNetwork(network, &host)) {
    hosts.push_back(host);
  }
  return hosts;
}

}  // namespace network_testing
