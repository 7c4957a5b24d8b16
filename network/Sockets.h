#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>

// The sockets of the network library. Every socket it opens is known to the
// library until it is destroyed, so a clean-up closes what is left.

using tSocket = int32_t;
constexpr tSocket kInvalidSocket = -1;

// A TCP stream socket, or kInvalidSocket (reported as "OpenSocket").
tSocket OpenSocket();
// A UDP datagram socket, or kInvalidSocket (reported as "OpenBCSocket").
tSocket OpenBCSocket();
// Makes a socket that the system gave (an accepted one) the library's.
tSocket AdoptSocket(tSocket socket);
// Hard: closes at once, dropping unsent bytes (the peer sees a reset); a
// close error is reported as "DestroySocket" and gives false. Not hard: only
// shuts the sending side down; the socket stays open. False for an invalid
// socket.
bool DestroySocket(tSocket socket, bool hard);
// Closes every socket the library still has open.
void CloseAllSockets();
// How many sockets the library has open.
size_t OpenSocketCount();

// A zeroed IPv4 address: any address, and port 0 or the port given.
sockaddr_in NewAnyAddress();
sockaddr_in NewPortAddress(uint16_t port);

// Longest dotted IPv4 address ("255.255.255.255"); a buffer that receives
// one needs this and a NUL.
constexpr int kDottedAddressLength = 15;
// Writes the address as dotted text, at most 15 characters and a NUL.
void CopyDottedAddress(const sockaddr_in& address, char* buffer);

// Owns a socket of the library: destroys it hard unless released.
class OwnedSocket {
 public:
  explicit OwnedSocket(tSocket socket) : socket_(socket) {}
  ~OwnedSocket() { Destroy(); }
  OwnedSocket(const OwnedSocket&) = delete;
  OwnedSocket& operator=(const OwnedSocket&) = delete;

  tSocket Get() const { return socket_; }
  bool Valid() const { return socket_ != kInvalidSocket; }
  tSocket Release() {
    const tSocket socket = socket_;
    socket_ = kInvalidSocket;
    return socket;
  }
  void Destroy() {
    if (socket_ != kInvalidSocket) {
      DestroySocket(Release(), true);
    }
  }

 private:
  tSocket socket_;
};
