#include "network/ServerData.h"

#include <arpa/inet.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <list>
#include <memory>
#include <system_error>

#include "network/ConnectionData.h"
#include "network/Datagram.h"
#include "network/NetworkLibrary.h"
#include "network/NetworkSettings.h"
#include "network/RefusalLog.h"
#include "network/SocketEventSlots.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int32_t kAddressInUse = 10048;
constexpr int32_t kTimedOut = 10060;
// How long a connect-back may take.
constexpr auto kConnectBackLimit = 2000ms;
// Connect-backs under way at once; more requests are dropped until one ends.
constexpr size_t kMostConnectBacks = 16;
// Connect-backs under way towards one address: a host asking again and
// again for connections to a dead port must leave room for real joins.
constexpr size_t kMostConnectBacksPerHost = 2;

// The library owns every server.
struct ServerRecords {
  std::mutex mutex;
  std::list<std::unique_ptr<ServerData>> servers;
};

ServerRecords& Records() {
  static ServerRecords records;
  return records;
}

std::unique_ptr<ServerData> TakeServer(ServerData* server) {
  std::lock_guard lock(Records().mutex);
  auto& servers = Records().servers;
  const auto found =
      std::find_if(servers.begin(), servers.end(), [server](const auto& record) { return record.get() == server; });
  if (found == servers.end()) {
    return nullptr;
  }
  std::unique_ptr<ServerData> owned = std::move(*found);
  servers.erase(found);
  return owned;
}

// A connection the server thread is connecting back to a client.
struct ConnectBack {
  ConnectionData* connection;
  Clock::time_point deadline;
};

// Frees a connection that never became the game's, closing its socket.
void Abandon(ConnectionData* connection) {
  DestroySocket(connection->socket, true);
  FreeConnection(connection);
}

// The server thread's own state.
class ServerThreadState {
 public:
  explicit ServerThreadState(ServerData& server) : server_(server) {}
  ~ServerThreadState() {
    for (const ConnectBack& pending : connectBacks_) {
      Abandon(pending.connection);
    }
  }
  ServerThreadState(const ServerThreadState&) = delete;
  ServerThreadState& operator=(const ServerThreadState&) = delete;

  void Run();

 private:
  void ReceiveDatagrams();
  void HandleServerRequest(const sockaddr_in& sender, const uint8_t* bytes, size_t size);
  void Answer(const sockaddr_in& sender);
  void StartConnectBack(const sockaddr_in& sender, int32_t port);
  void FinishConnectBack(ConnectionData* connection);

  ServerData& server_;
  RefusalLog refusals_{"ServerThread"};
  std::vector<ConnectBack> connectBacks_;
};

void ServerThreadState::Run() {
  std::vector<pollfd> polled;
  while (!server_.stop.Raised()) {
    polled.assign({{server_.stop.Descriptor(), POLLIN, 0}, {server_.socket, POLLIN, 0}});
    Clock::time_point wake = Clock::now() + 200ms;
    for (const ConnectBack& pending : connectBacks_) {
      polled.push_back({pending.connection->socket, POLLOUT, 0});
      wake = std::min(wake, pending.deadline);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Clock::now()).count() + 1;
    const int ready = poll(polled.data(), polled.size(), static_cast<int>(std::clamp<long long>(left, 0, 200)));
    if (server_.stop.Raised()) {
      return;
    }
    if (ready < 0) {
      continue;
    }
    // The connect-backs polled, by their sockets: requests handled below
    // may add more.
    std::vector<ConnectBack> finished;
    const Clock::time_point now = Clock::now();
    for (size_t index = 0; index < connectBacks_.size();) {
      const ConnectBack pending = connectBacks_[index];
      const bool writable = index + 2 < polled.size() && polled[index + 2].revents != 0;
      if (writable || now >= pending.deadline) {
        connectBacks_.erase(connectBacks_.begin() + static_cast<std::ptrdiff_t>(index));
        polled.erase(polled.begin() + static_cast<std::ptrdiff_t>(index + 2));
        if (writable) {
          FinishConnectBack(pending.connection);
        } else {
          ReportSocketError(kTimedOut, "OpenConnection1");
          Abandon(pending.connection);
        }
      } else {
        ++index;
      }
    }
    if (polled[1].revents != 0) {
      ReceiveDatagrams();
    }
  }
}

void ServerThreadState::ReceiveDatagrams() {
  uint8_t block[kDatagramSize + 1];
  // Every datagram that waits, unless a stop comes in between.
  while (!server_.stop.Raised()) {
    sockaddr_in sender{};
    socklen_t length = sizeof sender;
    // With MSG_TRUNC the datagram's own length comes back, so a longer one
    // is seen as such.
    const ssize_t size = recvfrom(server_.socket, block, sizeof block, MSG_DONTWAIT | MSG_TRUNC,
                                  reinterpret_cast<sockaddr*>(&sender), &length);
    if (size < 0) {
      return;
    }
    HandleServerRequest(sender, block, std::min(static_cast<size_t>(size), sizeof block));
  }
}

void ServerThreadState::HandleServerRequest(const sockaddr_in& sender, const uint8_t* bytes, size_t size) {
  ServerRequest request;
  if (const char* refusal = ParseServerRequest(bytes, size, request)) {
    refusals_.Refuse(sender, refusal);
    return;
  }
  if (request.command == kSearchCommand) {
    Answer(sender);
  } else if (request.command == kConnectCommand) {
    StartConnectBack(sender, request.port);
  }
}

void ServerThreadState::Answer(const sockaddr_in& sender) {
  Datagram answer;
  {
    std::lock_guard lock(server_.lock);
    answer = FormatAnswer(server_.name.c_str(), server_.info.c_str());
  }
  if (sendto(server_.socket, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT,
             reinterpret_cast<const sockaddr*>(&sender), sizeof sender) < 0) {
    ReportLastSocketError("ServerThread");
  }
}

void ServerThreadState::StartConnectBack(const sockaddr_in& sender, int32_t port) {
  if (connectBacks_.size() >= kMostConnectBacks) {
    refusals_.Refuse(sender, "too many connections under way");
    return;
  }
  const auto fromSender = std::count_if(connectBacks_.begin(), connectBacks_.end(), [&](const ConnectBack& pending) {
    return pending.connection->peerAddress.sin_addr.s_addr == sender.sin_addr.s_addr;
  });
  if (static_cast<size_t>(fromSender) >= kMostConnectBacksPerHost) {
    refusals_.Refuse(sender, "too many connections under way from this host");
    return;
  }
  const tSocket socket = OpenSocket();
  if (socket == kInvalidSocket) {
    return;
  }
  sockaddr_in client = sender;
  client.sin_port = htons(static_cast<uint16_t>(port));
  ConnectionData* connection = MakeConnection(socket, client, server_.handlers, &server_);
  PrintNetworkMessage("++++ lConnectionData: %p\n", static_cast<void*>(connection));
  PrintNetworkMessage("++++ Socket: %p\n", reinterpret_cast<void*>(static_cast<intptr_t>(socket)));
  // Without blocking: the thread goes on answering while the client's end
  // is reached, for at most 2 s.
  if (!platform::SetSocketBlocking(socket, false)) {
    ReportLastSocketError("OpenConnection1");
    Abandon(connection);
    return;
  }
  if (connect(socket, reinterpret_cast<const sockaddr*>(&client), sizeof client) != 0 && errno != EINPROGRESS) {
    ReportLastSocketError("OpenConnection1");
    Abandon(connection);
    return;
  }
  connectBacks_.push_back({connection, Clock::now() + kConnectBackLimit});
}

void ServerThreadState::FinishConnectBack(ConnectionData* connection) {
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(connection->socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
    ReportSocketError(platform::SocketErrorCode(error != 0 ? error : errno), "OpenConnection1");
    Abandon(connection);
    return;
  }
  bool registered = false;
  {
    // Registered and appended together: a close event's removal waits.
    std::lock_guard lock(server_.lock);
    registered = SyncSelect(connection);
    if (registered) {
      server_.connections.push_back(connection);
    }
  }
  // Only a registered connection is greeted: a client greeted and then
  // closed would take its join for a success.
  if (!registered) {
    Abandon(connection);
    return;
  }
  const Datagram greeting = FormatGreeting();
  if (connection->channel->Send(greeting.data(), greeting.size()) != platform::SocketChannel::SendResult::Done) {
    // The failed channel raises its close event, which tears the
    // connection down; the game is never asked to accept it.
    ReportSocketError(static_cast<int32_t>(connection->channel->ErrorCode()), "OpenConnection1");
    return;
  }
  if (server_.accept != nullptr && !server_.accept(connection)) {
    CloseConnection(connection);
  }
}

void ServerThread(ServerData* server) {
  ServerThreadState state(*server);
  state.Run();
}

// Binds the datagram socket: to the port given, or to the first free one of
// the range. False when reported.
bool BindServerPort(tSocket socket, int32_t port) {
  if (port != 0) {
    const sockaddr_in address = NewPortAddress(static_cast<uint16_t>(port));
    if (bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      ReportLastSocketError("ServerThread");
      return false;
    }
    return true;
  }
  // No address reuse: a port another server holds is taken, and the next
  // one is tried.
  const NetworkSettings settings = ReadNetworkSettings();
  for (int32_t index = 0; index < kServerPortCount; ++index) {
    const sockaddr_in address = NewPortAddress(static_cast<uint16_t>(settings.portBase + index));
    if (bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      return true;
    }
    if (errno != EADDRINUSE) {
      ReportLastSocketError("ServerThread");
      return false;
    }
  }
  ReportSocketError(kAddressInUse, "ServerThread");
  return false;
}

void StopServer(ServerData& server) {
  server.stop.Raise();
  if (server.thread.joinable()) {
    server.thread.join();
  }
}

}  // namespace

ServerData* CreateServer(tAcceptHandler accept, ConnectionHandlers* handlers, int32_t port) {
  if (port < 0 || port > 65535) {
    PrintNetworkMessage("LumoConnection (CreateServer): %d is not a port\n", port);
    return nullptr;
  }
  OwnedSocket socket(OpenBCSocket());
  if (!socket.Valid() || !BindServerPort(socket.Get(), port)) {
    return nullptr;
  }
  if (!platform::SetSocketBlocking(socket.Get(), false)) {
    ReportLastSocketError("FindLANHosts2\n");
    return nullptr;
  }
  auto record = std::make_unique<ServerData>();
  sockaddr_in bound{};
  socklen_t length = sizeof bound;
  getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&bound), &length);
  record->port = ntohs(bound.sin_port);
  record->accept = accept;
  record->handlers = handlers;
  if (!record->stop.Valid()) {
    ReportLastSocketError("ServerThread");
    return nullptr;
  }
  record->socket = socket.Get();
  try {
    record->thread = std::thread(ServerThread, record.get());
    // Named so a debugger or the system's thread list shows it.
    pthread_setname_np(record->thread.native_handle(), "ServerThread");
  } catch (const std::system_error&) {
    PrintNetworkMessage("LumoConnection (ServerThread): no thread for the server\n");
    return nullptr;
  }
  socket.Release();
  ServerData* server = record.get();
  std::lock_guard lock(Records().mutex);
  Records().servers.push_back(std::move(record));
  return server;
}

ServerData* CreateServerEx(const char* name, const char* info, tAcceptHandler accept, ConnectionHandlers* handlers,
                           int32_t port) {
  ServerData* server = CreateServer(accept, handlers, port);
  SetServerName(server, name);
  SetServerInfo(server, info);
  return server;
}

void DestroyServer(ServerData* server) {
  if (server == nullptr) {
    return;
  }
  std::unique_ptr<ServerData> owned = TakeServer(server);
  if (owned == nullptr) {
    PrintNetworkMessage("LumoConnection (DestroyServer): not a running server\n");
    return;
  }
  // An accept handler cannot wait for its own thread to end.
  if (owned->thread.get_id() == std::this_thread::get_id()) {
    PrintNetworkMessage("LumoConnection (DestroyServer): not from the server's own thread\n");
    std::lock_guard lock(Records().mutex);
    Records().servers.push_back(std::move(owned));
    return;
  }
  StopServer(*owned);
  // The connections forget the server before it is freed: their close
  // events come later.
  std::vector<ConnectionData*> connections;
  {
    std::lock_guard lock(owned->lock);
    connections.swap(owned->connections);
    for (ConnectionData* connection : connections) {
      connection->server = nullptr;
    }
  }
  for (ConnectionData* connection : connections) {
    CloseConnection(connection);
  }
  DestroySocket(owned->socket, true);
}

uint32_t MultiCast(ServerData* server, const void* data, uint32_t length) {
  if (server == nullptr) {
    return 0;
  }
  std::lock_guard lock(server->lock);
  for (ConnectionData* connection : server->connections) {
    Write(connection, data, length);
  }
  return static_cast<uint32_t>(server->connections.size());
}

bool SetServerName(ServerData* server, const char* text) {
  if (server == nullptr || text == nullptr) {
    return false;
  }
  std::lock_guard lock(server->lock);
  server->name = text;
  return true;
}

bool SetServerInfo(ServerData* server, const char* text) {
  if (server == nullptr || text == nullptr) {
    return false;
  }
  std::lock_guard lock(server->lock);
  server->info = text;
  return true;
}

bool GetServerName(ServerData* server, char* buffer) {
  if (server == nullptr || buffer == nullptr) {
    return false;
  }
  std::lock_guard lock(server->lock);
  CopyText(server->name.c_str(), buffer);
  return true;
}

bool GetServerInfo(ServerData* server, char* buffer) {
  if (server == nullptr || buffer == nullptr) {
    return false;
  }
  std::lock_guard lock(server->lock);
  CopyText(server->info.c_str(), buffer);
  return true;
}

void RemoveServerConnection(ServerData* server, ConnectionData* connection) {
  if (server == nullptr) {
    return;
  }
  std::lock_guard lock(server->lock);
  auto& connections = server->connections;
  connections.erase(std::remove(connections.begin(), connections.end(), connection), connections.end());
}

void DestroyAllServers() {
  std::list<std::unique_ptr<ServerData>> servers;
  {
    std::lock_guard lock(Records().mutex);
    servers.swap(Records().servers);
  }
  for (const auto& server : servers) {
    StopServer(*server);
    std::lock_guard lock(server->lock);
    for (ConnectionData* connection : server->connections) {
      connection->server = nullptr;
    }
    DestroySocket(server->socket, true);
  }
}

size_t ServerCount() {
  std::lock_guard lock(Records().mutex);
  return Records().servers.size();
}
