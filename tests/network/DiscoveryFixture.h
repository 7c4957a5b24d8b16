#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "NetworkFixture.h"
#include "network/NetworkData.h"
#include "network/ServerData.h"

namespace network_testing {

// A datagram socket of the test on 127.0.0.1, or on another loopback
// address to play another host.
ScopedFd DatagramSocket(uint16_t port = 0, const char* address = "127.0.0.1");
void SendDatagram(int fd, const void* bytes, size_t size, uint16_t port, const char* to = "127.0.0.1");
// One datagram, empty when none came in time; the sender when asked.
std::vector<uint8_t> ReceiveDatagram(int fd, std::chrono::milliseconds wait, sockaddr_in* sender = nullptr);
// A 256-byte block holding the text, zeros after it.
std::vector<uint8_t> Block(const std::string& text);

// Searches and servers of each test meet on a port range of its own, below
// the ports the system hands out and away from the default range, with its
// 19 ports checked free; broadcasts go to 127.255.255.255.
class DiscoveryTest : public NetworkTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  uint16_t PortBase() const { return portBase_; }
  // Pumps until the search has at least count answers; takes them all.
  std::vector<HostData*> TakeAnswers(NetworkData* network, int count,
                                     std::chrono::milliseconds limit = 3000ms);
  // What the test made and has not ended itself; ended at its end.
  std::vector<ServerData*> servers_;
  std::vector<NetworkData*> searches_;

 private:
  uint16_t portBase_ = 0;
};

}  // namespace network_testing
