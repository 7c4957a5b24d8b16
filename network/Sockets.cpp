#include "network/Sockets.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <set>

#include "network/NetworkLibrary.h"

namespace {

// Every socket the library has open.
struct OpenSockets {
  std::mutex mutex;
  std::set<tSocket> sockets;
};

OpenSockets& Open() {
  static OpenSockets open;
  return open;
}

// Without a started service no socket opens, as the service itself refuses.
constexpr int32_t kNotInitialised = 10093;

tSocket OpenKind(int type, const char* label) {
  if (!NetworkStarted()) {
    ReportSocketError(kNotInitialised, label);
    return kInvalidSocket;
  }
  const int socket = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
  if (socket < 0) {
    ReportLastSocketError(label);
    return kInvalidSocket;
  }
  return AdoptSocket(socket);
}

}  // namespace

tSocket OpenSocket() { return OpenKind(SOCK_STREAM, "OpenSocket"); }

tSocket OpenBCSocket() { return OpenKind(SOCK_DGRAM, "OpenBCSocket"); }

tSocket AdoptSocket(tSocket socket) {
  if (socket != kInvalidSocket) {
    std::lock_guard lock(Open().mutex);
    Open().sockets.insert(socket);
  }
  return socket;
}

bool DestroySocket(tSocket socket, bool hard) {
  if (socket == kInvalidSocket) {
    return false;
  }
  if (!hard) {
    shutdown(socket, SHUT_WR);
    return true;
  }
  {
    std::lock_guard lock(Open().mutex);
    Open().sockets.erase(socket);
  }
  const linger immediate = {1, 0};
  setsockopt(socket, SOL_SOCKET, SO_LINGER, &immediate, sizeof immediate);
  if (close(socket) != 0) {
    ReportLastSocketError("DestroySocket");
    return false;
  }
  return true;
}

void CloseAllSockets() {
  std::set<tSocket> sockets;
  {
    std::lock_guard lock(Open().mutex);
    sockets.swap(Open().sockets);
  }
  for (const tSocket socket : sockets) {
    close(socket);
  }
}

sockaddr_in NewAnyAddress() { return NewPortAddress(0); }

sockaddr_in NewPortAddress(uint16_t port) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(port);
  return address;
}

void CopyDottedAddress(const sockaddr_in& address, char* buffer) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
  std::memcpy(buffer, text, kDottedAddressLength);
  buffer[kDottedAddressLength] = '\0';
}

size_t OpenSocketCount() {
  std::lock_guard lock(Open().mutex);
  return Open().sockets.size();
}
