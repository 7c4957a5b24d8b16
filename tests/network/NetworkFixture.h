#pragma once

#include <gtest/gtest.h>
#include <netinet/in.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "network/ConnectionData.h"
#include "network/HostData.h"
#include "network/ServerData.h"

namespace network_testing {

using namespace std::chrono_literals;

// A descriptor the test owns.
class ScopedFd {
 public:
  explicit ScopedFd(int fd = -1) : fd_(fd) {}
  ~ScopedFd() { Reset(); }
  ScopedFd(ScopedFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  ScopedFd& operator=(ScopedFd&& other) noexcept;
  int Get() const { return fd_; }
  int Release();
  void Reset(int fd = -1);

 private:
  int fd_;
};

// What the handlers saw, per connection, in order.
struct HandlerLog {
  std::map<ConnectionData*, std::string> received;
  std::map<ConnectionData*, int> reads;   // read handler calls
  std::map<ConnectionData*, int> closes;  // close handler calls
  std::vector<std::string> order;         // "read" and "close" with the connection's label
  std::map<ConnectionData*, std::string> labels;
  // Replaces the default read handler, which reads one byte at a time
  // until nothing waits.
  std::function<void(ConnectionData*)> onRead;
  std::function<void(ConnectionData*)> onClose;
};
HandlerLog& Log();
ConnectionHandlers* RecordingHandlers();

// Reads what waits, one byte at a time, into the log.
void ReadAllWaiting(ConnectionData* connection);

// The server's side of the join, played by the test: a datagram socket on
// 127.0.0.1 that takes the connect request and connects back.
class FakeServer {
 public:
  FakeServer();
  HostData Host() const;
  // The client's listening port from its connect request, 0 when none came;
  // the request's 256 bytes are kept.
  int ReceiveRequest(std::chrono::milliseconds wait = 3000ms);
  const std::vector<uint8_t>& Request() const { return request_; }

 private:
  ScopedFd socket_;
  sockaddr_in address_{};
  std::vector<uint8_t> request_;
};

// A TCP connection to 127.0.0.1:port from the given source address.
ScopedFd ConnectTo(int port, const char* from = "127.0.0.1");
// The server's greeting block.
std::vector<uint8_t> Greeting();
// Sends all bytes on a raw socket.
void SendAll(int fd, const void* data, size_t size);
int LocalPort(int fd);
// Open descriptors and threads of the process.
int OpenDescriptorCount();
int ThreadCount();
// The thread count once it equals `expected`, or the last count after five
// seconds: a joined thread stays listed in /proc until the kernel has reaped
// it, which on a loaded machine can lag behind the join.
int ThreadCountSettlingAt(int expected);

// Each test runs the run-time system headless with the game's window title,
// the network started and its time limits shortened.
class NetworkTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Dispatches the window's messages through the run-time system until the
  // condition holds; false when the time ran out first.
  bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms);
  void PumpFor(std::chrono::milliseconds time);

  // Joins with the fake server playing the server side; the server's end is
  // registered as a connection of the library too (as its server thread
  // does) when serverEnd is given.
  ConnectionData* Join(ConnectionData** serverEnd = nullptr, ServerData* server = nullptr);
  // Joins and keeps the server's end as a raw socket.
  ConnectionData* JoinRaw(ScopedFd& serverEnd);

  std::string DebugLog();
};

}  // namespace network_testing
