#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "network/HostData.h"

namespace comms_testing {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

// The run-time system headless with the game window's title and the network
// started, as the game runs them; searches and servers on a port base of
// these tests' own.
void StartRuntime();
void StopRuntime();
// Dispatches the game window's messages until the condition holds; false
// when the time ran out first.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms);
void PumpFor(std::chrono::milliseconds time);

// A found host for the server on 127.0.0.1 at the datagram port.
HostData LoopbackHost(int port);

// A peer that joins a server by the connect-back handshake and then speaks
// raw bytes, as a hostile or broken client would.
class RawPeer {
 public:
  RawPeer() = default;
  ~RawPeer();
  RawPeer(const RawPeer&) = delete;
  RawPeer& operator=(const RawPeer&) = delete;

  // True once the server connected back and greeted.
  bool Connect(int serverPort);
  void Send(const Bytes& bytes);
  // One byte at a time with a pause after each.
  void SendSlowly(const Bytes& bytes, std::chrono::milliseconds pause);
  // What arrives within the time (stops early at the end of the stream).
  Bytes Receive(std::chrono::milliseconds time);
  // True when the server closed the connection within the time (bytes that
  // come first are read and dropped).
  bool ClosedWithin(std::chrono::milliseconds time);
  int LocalPort() const;
  // Closes the connection as a peer that drops out does.
  void Close();
  int Socket() const { return socket_; }

 private:
  int socket_ = -1;
};

// The server's side of the handshake played by the test: it takes a
// client's connect request, connects back and greets; then raw bytes.
class RawServer {
 public:
  RawServer();
  ~RawServer();
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int Port() const { return port_; }
  // True once a client asked and was connected back and greeted.
  bool AcceptClient(std::chrono::milliseconds limit = 5000ms);
  void Send(const Bytes& bytes);
  Bytes Receive(std::chrono::milliseconds time);

 private:
  int datagram_ = -1;
  int port_ = 0;
  int connection_ = -1;
};

// Message bytes as a peer writes them.
Bytes JoinMessage(uint8_t type, const std::string& name, const std::string& address, uint32_t port);
Bytes TextMessageBytes(const std::string& text);
Bytes FrameBytes(uint32_t frame, const std::vector<std::pair<uint16_t, std::string>>& orders);
Bytes LengthFieldMessage(uint8_t type, uint32_t value);

}  // namespace comms_testing
