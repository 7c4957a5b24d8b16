#include "network/ConnectionData.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <list>
#include <mutex>

#include "network/ConnectionLimits.h"
#include "network/Datagram.h"
#include "network/NetworkLibrary.h"
#include "network/SocketEventSlots.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kTimedOut = 10060;

// The library owns every connection record it gave out.
struct ConnectionRecords {
  std::mutex mutex;
  std::list<std::unique_ptr<ConnectionData>> records;
};

ConnectionRecords& Records() {
  static ConnectionRecords records;
  return records;
}

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 60000));
}

// Waits until the socket is readable; false when the deadline passed first.
bool WaitReadable(tSocket socket, Clock::time_point deadline) {
  for (;;) {
    pollfd polled = {socket, POLLIN, 0};
    const int ready = poll(&polled, 1, MillisecondsLeft(deadline));
    if (ready > 0) {
      return true;
    }
    if (ready == 0 || errno != EINTR) {
      return false;
    }
  }
}

// Accepts the first connection from the host's address; others are closed.
tSocket AcceptFromHost(tSocket listening, const sockaddr_in& host, Clock::time_point deadline,
                       sockaddr_in& peer) {
  while (WaitReadable(listening, deadline)) {
    socklen_t length = sizeof peer;
    const int accepted =
        accept4(listening, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (accepted < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == ECONNABORTED) {
        continue;
      }
      ReportLastSocketError("OpenConnection3");
      return kInvalidSocket;
    }
    if (peer.sin_addr.s_addr == host.sin_addr.s_addr) {
      return AdoptSocket(accepted);
    }
    // Only the server that was asked may connect back.
    char address[kDottedAddressLength + 1];
    CopyDottedAddress(peer, address);
    PrintNetworkMessage("LumoConnection (OpenConnection): closed a connection from %s, not the server\n", address);
    DestroySocket(AdoptSocket(accepted), true);
  }
  ReportSocketError(kTimedOut, "OpenConnection3");
  return kInvalidSocket;
}

// Reads exactly the 256 bytes of the greeting, and only those.
bool ReadGreeting(tSocket socket, Clock::time_point deadline) {
  uint8_t greeting[kDatagramSize];
  size_t received = 0;
  while (received < sizeof greeting) {
    if (!WaitReadable(socket, deadline)) {
      ReportSocketError(kTimedOut, "OpenConnection3");
      return false;
    }
    const ssize_t result = recv(socket, greeting + received, sizeof greeting - received, MSG_DONTWAIT);
    if (result > 0) {
      received += static_cast<size_t>(result);
    } else if (result == 0) {
      PrintNetworkMessage("LumoConnection (OpenConnection): the server closed before its greeting\n");
      return false;
    } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
      ReportLastSocketError("OpenConnection3");
      return false;
    }
  }
  if (!IsGreeting(greeting, sizeof greeting)) {
    PrintNetworkMessage("LumoConnection (OpenConnection): the server's greeting is not valid\n");
    return false;
  }
  return true;
}

// The connection has not been torn down.
bool Usable(const ConnectionData* connection) {
  return connection != nullptr && !connection->closed && connection->channel != nullptr;
}

}  // namespace

tConnectionTimeLimits& ConnectionTimeLimits() {
  static tConnectionTimeLimits limits;
  return limits;
}

ConnectionData* MakeConnection(tSocket socket, const sockaddr_in& peer, ConnectionHandlers* handlers,
                               ServerData* server) {
  // Each write goes out at once: holding a small write back until the
  // previous one is acknowledged would let a message's tail wait for the
  // peer's delayed acknowledgement while its reader waits for that tail.
  const int noDelay = 1;
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  auto record = std::make_unique<ConnectionData>();
  record->socket = socket;
  record->handlers = handlers;
  record->peerAddress = peer;
  record->server = server;
  record->channel = std::make_shared<platform::SocketChannel>(socket);
  ConnectionData* connection = record.get();
  std::lock_guard lock(Records().mutex);
  Records().records.push_back(std::move(record));
  return connection;
}

void FreeConnection(ConnectionData* connection) {
  std::lock_guard lock(Records().mutex);
  Records().records.remove_if([connection](const auto& record) { return record.get() == connection; });
}

void FreeAllConnections() {
  std::list<std::unique_ptr<ConnectionData>> records;
  {
    std::lock_guard lock(Records().mutex);
    records.swap(Records().records);
  }
  for (const auto& record : records) {
    record->closed = true;
  }
}

size_t ConnectionCount() {
  std::lock_guard lock(Records().mutex);
  return Records().records.size();
}

ConnectionData* OpenConnection(HostData* host, ConnectionHandlers* handlers) {
  if (host == nullptr) {
    PrintNetworkMessage("LumoConnection (OpenConnection): no host given\n");
    return nullptr;
  }
  const Clock::time_point deadline = Clock::now() + ConnectionTimeLimits().connect;
  OwnedSocket listening(OpenSocket());
  if (!listening.Valid()) {
    return nullptr;
  }
  sockaddr_in local = NewAnyAddress();
  if (bind(listening.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    ReportLastSocketError("OpenConnection1");
    return nullptr;
  }
  socklen_t length = sizeof local;
  if (listen(listening.Get(), 5) != 0 ||
      getsockname(listening.Get(), reinterpret_cast<sockaddr*>(&local), &length) != 0) {
    ReportLastSocketError("OpenConnection3");
    return nullptr;
  }
  {
    OwnedSocket datagram(OpenBCSocket());
    if (!datagram.Valid()) {
      return nullptr;
    }
    const Datagram request = FormatConnectRequest(ntohs(local.sin_port));
    if (sendto(datagram.Get(), request.data(), request.size(), MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&host->address), sizeof host->address) < 0) {
      ReportLastSocketError("OpenConnection2");
      return nullptr;
    }
  }
  sockaddr_in peer{};
  OwnedSocket connected(AcceptFromHost(listening.Get(), host->address, deadline, peer));
  if (!connected.Valid()) {
    return nullptr;
  }
  listening.Destroy();
  if (!ReadGreeting(connected.Get(), deadline)) {
    return nullptr;
  }
  ConnectionData* connection = MakeConnection(connected.Get(), peer, handlers, nullptr);
  if (!SyncSelect(connection)) {
    FreeConnection(connection);
    return nullptr;
  }
  connected.Release();
  return connection;
}

void CloseConnection(ConnectionData* connection) {
  if (!Usable(connection)) {
    return;
  }
  connection->channel->Shutdown(ConnectionTimeLimits().close);
}

bool Read(ConnectionData* connection, void* buffer, uint32_t size) {
  if (!Usable(connection) || (buffer == nullptr && size > 0)) {
    return false;
  }
  using Result = platform::SocketChannel::ReceiveResult;
  const Result result = connection->channel->Receive(buffer, size, ConnectionTimeLimits().read);
  if (result == Result::Dropped) {
    PrintNetworkMessage("LumoConnection (Read): the rest of %u bytes did not arrive; the connection closes\n", size);
  }
  return result == Result::Complete;
}

bool Write(ConnectionData* connection, const void* data, uint32_t length) {
  if (!Usable(connection) || (data == nullptr && length > 0)) {
    return false;
  }
  using Result = platform::SocketChannel::SendResult;
  switch (connection->channel->Send(data, length)) {
    case Result::Done:
      return true;
    case Result::Overflow:
      PrintNetworkMessage("LumoConnection (Write): more than %zu bytes wait to be sent; the connection closes\n",
                          platform::SocketChannel::kSendQueueLimit);
      return false;
    case Result::Failed:
      ReportSocketError(static_cast<int32_t>(connection->channel->ErrorCode()), "Write");
      return false;
    case Result::Closed:
      return false;
  }
  return false;
}

bool GetRemoteAddress(ConnectionData* connection, char* buffer) {
  if (connection == nullptr || buffer == nullptr) {
    return false;
  }
  CopyDottedAddress(connection->peerAddress, buffer);
  return true;
}

bool GetRemotePort(ConnectionData* connection, int32_t* port) {
  if (connection == nullptr || port == nullptr) {
    return false;
  }
  *port = ntohs(connection->peerAddress.sin_port);
  return true;
}

namespace {

// The local end, asked from the socket while it is open; afterwards the
// address it had.
bool LocalAddress(ConnectionData* connection, sockaddr_in& address) {
  if (connection->closed) {
    address = connection->localAddress;
    return true;
  }
  socklen_t length = sizeof address;
  if (getsockname(connection->socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ReportLastSocketError("GetLocalAddress");
    return false;
  }
  return true;
}

}  // namespace

bool GetLocalAddress(ConnectionData* connection, char* buffer) {
  sockaddr_in address{};
  if (connection == nullptr || buffer == nullptr || !LocalAddress(connection, address)) {
    return false;
  }
  CopyDottedAddress(address, buffer);
  return true;
}

bool GetLocalPort(ConnectionData* connection, int32_t* port) {
  sockaddr_in address{};
  if (connection == nullptr || port == nullptr || !LocalAddress(connection, address)) {
    return false;
  }
  *port = ntohs(address.sin_port);
  return true;
}
