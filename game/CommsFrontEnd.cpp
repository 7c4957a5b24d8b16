#include "game/CommsFrontEnd.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "game/CommsBytes.h"
#include "game/CommsLog.h"
#include "game/YClientComms.h"
#include "game/YCommsJoinWatch.h"
#include "game/YCommsReader.h"
#include "game/YServerComms.h"
#include "game/YSinglePlayerComms.h"
#include "logic/core/COrderPackage.h"
#include "network/ConnectionData.h"
#include "network/HostData.h"
#include "network/NetworkData.h"
#include "network/ServerData.h"
#include "network/SocketEventSlots.h"
#include "runtime/GameWindow.h"

namespace {

// The message the join watch posts to the game window when a greeted
// connection's time to join is up; above the network library's socket
// messages.
constexpr uint32_t kJoinDeadlineMessage = kFirstSocketMessage + kSocketSlotCount + 16;
constexpr size_t kHostTextBuffer = 256;  // what the network library's text calls may write

struct ServerState {
  ServerData* server = nullptr;
  ycServerRecord record;
  ycCommsCallBacks callbacks;
  // The lobby's last text: replaced on the game thread, read by the server
  // thread when it greets a new connection.
  std::mutex textLock;
  std::vector<uint8_t> currentText;
  std::set<ConnectionData*> joined;  // looked up only
  std::unique_ptr<YCommsJoinWatch> joinWatch;
};

struct ClientState {
  ycSearchCallBacks search;
  ycCommsCallBacks callbacks;
  ycOrderCallBacks orders;
  ycPlayerRecord own;
  ConnectionData* connection = nullptr;
  std::vector<NetworkData*> searches;
};

struct FrontEnd {
  std::unique_ptr<YCommsBase> comms;
  ServerState server;
  ClientState client;
  std::map<ConnectionData*, YCommsReader> readers;  // looked up only
  std::chrono::milliseconds joinTimeLimit{10000};
  tWindowHandle window = 0;
  tWindowProcedure replacedProcedure = nullptr;
};

FrontEnd& State() {
  static FrontEnd state;
  return state;
}

ConnectionHandlers serverHandlers = {{nullptr, CommsServerClosed, CommsServerReceive}};
ConnectionHandlers clientHandlers = {{nullptr, CommsServerDown, CommsClientReceive}};

YServerComms* ServerComms() { return dynamic_cast<YServerComms*>(State().comms.get()); }
YClientComms* ClientComms() { return dynamic_cast<YClientComms*>(State().comms.get()); }

// A message of the type byte and a 37-byte record.
void WriteRecordMessage(uint8_t* message, uint8_t type, const ycPlayerRecord& record, uint32_t connectionId) {
  message[0] = type;
  EncodePlayerRecord(record, connectionId, message + 1);
}

std::vector<uint8_t> TextMessage(const void* bytes, uint32_t length) {
  std::vector<uint8_t> message(5 + size_t{length});
  message[0] = kCommsText;
  StoreU32(message.data() + 1, length);
  if (length > 0) {
    std::memcpy(message.data() + 5, bytes, length);
  }
  return message;
}

// Hands received text bytes to a text callback as a block with a NUL after
// its bytes.
void DeliverText(void (*callback)(ycTextBlock*), std::vector<uint8_t>& bytes) {
  if (callback == nullptr) {
    return;
  }
  const auto length = static_cast<uint32_t>(bytes.size());
  bytes.push_back(0);
  ycTextBlock block{length, reinterpret_cast<char*>(bytes.data())};
  callback(&block);
}

void CloseSearches() {
  for (NetworkData*& search : State().client.searches) {
    CloseNetwork(&search);
  }
  State().client.searches.clear();
}

void KeepSearch(NetworkData* search) {
  if (search == nullptr) {
    return;
  }
  if (State().client.searches.size() >= kMostOpenSearches) {
    CommsFault("(INT) Comms: more than %zu host searches between two polls; the new one is closed\n",
               kMostOpenSearches);
    CloseNetwork(&search);
    return;
  }
  State().client.searches.push_back(search);
}

// Reads and handles every whole message waiting on the connection, as far
// as the event's byte budget goes. `handle` answers false when it closed or
// gave up the connection.
template <typename Handler>
void ReadMessages(ConnectionData* connection, const char* side, Handler handle) {
  YCommsReader& reader = State().readers[connection];
  reader.StartEvent();
  const YCommsReader::ByteSource next = [connection](uint8_t& byte) { return Read(connection, &byte, 1); };
  for (;;) {
    switch (reader.Pull(next)) {
      case YCommsReader::Status::Pending:
        return;
      case YCommsReader::Status::Fault:
        CommsFault("(INT) Comms: %s sent a %s; the connection is closed\n", side, reader.Fault());
        CloseConnection(connection);
        return;
      case YCommsReader::Status::Message:
        if (!handle(reader.Message())) {
          return;
        }
        break;
    }
  }
}

// ---- The server's messages ----

void RelayRecord(uint8_t type, const ycPlayerRecord& record) {
  uint8_t relay[1 + kPlayerRecordWireSize];
  YServerComms* comms = ServerComms();
  WriteRecordMessage(relay, type, record, comms != nullptr ? comms->ConnectionId(record.connection) : 0);
  MultiCast(State().server.server, relay, sizeof relay);
}

void ServerJoin(ConnectionData* connection, YCommsMessage& message) {
  ServerState& server = State().server;
  if (server.joined.count(connection) != 0) {
    // A second join would count the player twice.
    CommsFault("(INT) Comms: a second join from one connection is ignored\n");
    return;
  }
  ycPlayerRecord record = DecodePlayerRecord(message.record);
  record.connection = connection;
  int32_t port = 0;
  GetRemotePort(connection, &port);
  record.port = static_cast<uint32_t>(port);
  YServerComms* comms = ServerComms();
  if (comms == nullptr || comms->Running() || !comms->AddClient(&record)) {
    CloseConnection(connection);
    return;
  }
  server.joined.insert(connection);
  if (server.joinWatch != nullptr) {
    server.joinWatch->Forget(connection);
  }
  if (server.callbacks.join != nullptr) {
    server.callbacks.join(&record);
  }
  RelayRecord(kCommsJoin, record);
}

// The address and port of the connection's far end, as a player record
// names them.
bool IsSender(ConnectionData* connection, const ycPlayerRecord& record) {
  char address[16] = {};
  int32_t port = 0;
  return GetRemoteAddress(connection, address) && GetRemotePort(connection, &port) &&
         std::strcmp(address, record.address) == 0 && static_cast<uint32_t>(port) == record.port;
}

void ServerLeave(ConnectionData* connection, YCommsMessage& message) {
  ServerState& server = State().server;
  ycPlayerRecord record = DecodePlayerRecord(message.record);
  record.connection = connection;
  // A leave in another player's name would make that player's machine
  // close on its echo.
  if (!IsSender(connection, record)) {
    CommsFault("(INT) Comms: a leave naming %s:%u from another connection is ignored\n", record.address,
               record.port);
    return;
  }
  server.joined.erase(connection);
  if (server.callbacks.leave != nullptr) {
    server.callbacks.leave(&record);
  }
  if (YServerComms* comms = ServerComms()) {
    comms->RemoveClient(&record);
  }
  RelayRecord(kCommsLeave, record);
}

bool ServerMessage(ConnectionData* connection, YCommsMessage& message) {
  ServerState& server = State().server;
  const bool joined = server.joined.count(connection) != 0;
  switch (message.type) {
    case kCommsJoin:
      ServerJoin(connection, message);
      return true;
    case kCommsLeave:
    case kCommsText:
    case kCommsOrderFrame:
      if (!joined) {
        CommsFault("(INT) Comms: a message of type %u from a connection that has not joined is ignored\n",
                   message.type);
        return true;
      }
      break;
    case kCommsLatency:
      CommsFault("(INT) Comms: a latency message to the server is ignored\n");
      return true;
    default:
      return true;
  }
  if (message.type == kCommsLeave) {
    ServerLeave(connection, message);
  } else if (message.type == kCommsText) {
    DeliverText(server.callbacks.text, message.text);
  } else if (State().comms != nullptr && !State().comms->Receive(connection, message.frame)) {
    CloseConnection(connection);
    return false;
  }
  return true;
}

// ---- The client's messages ----

bool IsOwnRecord(const ycPlayerRecord& record) {
  const ycPlayerRecord& own = State().client.own;
  return std::strcmp(record.address, own.address) == 0 && record.port == own.port;
}

bool ClientMessage(ConnectionData* connection, YCommsMessage& message) {
  ClientState& client = State().client;
  switch (message.type) {
    case kCommsJoin: {
      ycPlayerRecord record = DecodePlayerRecord(message.record);
      if (!IsOwnRecord(record) && client.callbacks.join != nullptr) {
        client.callbacks.join(&record);
      }
      return true;
    }
    case kCommsLeave: {
      ycPlayerRecord record = DecodePlayerRecord(message.record);
      if (!IsOwnRecord(record)) {
        if (client.callbacks.leave != nullptr) {
          client.callbacks.leave(&record);
        }
        return true;
      }
      // The server confirmed the own leave.
      CommsCloseClient();
      CommsDestroy();
      return false;
    }
    case kCommsText:
      DeliverText(client.callbacks.text, message.text);
      return true;
    case kCommsLatency: {
      YClientComms* comms = ClientComms();
      if (comms == nullptr || comms->Running()) {
        CommsFault("(INT) Comms: a latency message with no client game waiting to start is ignored\n");
        return true;
      }
      CommsRun(&client.orders);
      comms->SetLatency(message.latency);
      return true;
    }
    case kCommsOrderFrame:
      if (State().comms != nullptr && !State().comms->Receive(connection, message.frame)) {
        CloseConnection(connection);
        return false;
      }
      return true;
    default:
      return true;
  }
}

// ---- The join deadline ----

void CloseSilentConnections() {
  ServerState& server = State().server;
  if (server.joinWatch == nullptr) {
    return;
  }
  for (ConnectionData* connection : server.joinWatch->TakeExpired(YCommsJoinWatch::Clock::now())) {
    if (server.joined.count(connection) == 0) {
      CommsFault("(INT) Comms: a connection that sent no join in time is closed\n");
      CloseConnection(connection);
    }
  }
}

intptr_t CommsWindowProc(tWindowHandle window, uint32_t message, uintptr_t wordParameter, intptr_t longParameter) {
  if (message == kJoinDeadlineMessage) {
    CloseSilentConnections();
    return 0;
  }
  return State().replacedProcedure(window, message, wordParameter, longParameter);
}

// The deadline message reaches the game thread through the game window;
// the procedure is put in once per window and passes everything else on.
void WatchGameWindow() {
  const tWindowHandle window = FindGameWindow(kGameWindowTitle);
  if (window == 0 || window == State().window) {
    return;
  }
  const tWindowProcedure replaced = ReplaceWindowProcedure(window, CommsWindowProc);
  if (replaced == nullptr) {
    return;
  }
  State().window = window;
  if (replaced != CommsWindowProc) {
    State().replacedProcedure = replaced;
  }
}

void PostJoinDeadline() { PostGameWindowMessage(State().window, kJoinDeadlineMessage, 0, 0); }

}  // namespace

// ---- The comms object ----

void CommsRun(ycOrderCallBacks* callbacks) {
  if (State().comms == nullptr) {
    State().comms = std::make_unique<YSinglePlayerComms>();
  }
  State().comms->Run(callbacks);
}

void CommsDestroy() { State().comms.reset(); }

void CommsCreateServer(ServerData* server, uint32_t latency) {
  State().comms.reset();
  State().comms = std::make_unique<YServerComms>(server, latency);
  ServerComms()->SetPlayerLookup(State().server.callbacks.player);
}

void CommsCreateClient(ConnectionData* connection) {
  State().comms.reset();
  State().comms = std::make_unique<YClientComms>(connection);
}

void CommsSend(COrderPackage* package) {
  if (State().comms == nullptr) {
    DeleteOrderPackage(package);
    return;
  }
  State().comms->Send(package);
}

bool CommsFlush(uint32_t frame) { return State().comms != nullptr && State().comms->Flush(frame); }

// ---- Serving a game ----

bool CommsStartServer(ycCommsCallBacks* callbacks, ycServerRecord* record, uint32_t latency) {
  ServerState& server = State().server;
  // One server at a time: an earlier one's thread would still greet into
  // the state replaced here.
  if (server.server != nullptr) {
    CommsStopServer();
  }
  server.callbacks = callbacks != nullptr ? *callbacks : ycCommsCallBacks{};
  server.record = record != nullptr ? *record : ycServerRecord{};
  {
    std::lock_guard lock(server.textLock);
    server.currentText.clear();
  }
  server.joined.clear();
  WatchGameWindow();
  server.joinWatch = std::make_unique<YCommsJoinWatch>(PostJoinDeadline);
  server.server = CreateServerEx(server.record.name, server.record.info, CommsGreetClient, &serverHandlers, 0);
  if (server.server == nullptr) {
    CommsFault("(INT) Comms: the server could not be started\n");
    server.joinWatch.reset();
    return false;
  }
  CommsCreateServer(server.server, latency);
  return true;
}

void CommsStopServer() {
  ServerState& server = State().server;
  DestroyServer(server.server);
  server.server = nullptr;
  server.joinWatch.reset();
  server.joined.clear();
  CommsDestroy();
}

void CommsDropClient(ycPlayerRecord* record) {
  if (record == nullptr) {
    return;
  }
  if (YServerComms* comms = ServerComms()) {
    comms->RemoveClient(record);
  }
  // Its close is no leave of its own: the game dropped it.
  State().server.joined.erase(record->connection);
  CloseConnection(record->connection);
}

void CommsSetServerName(const char* name) { SetServerName(State().server.server, name); }

void CommsSendText(ycTextBlock* block) {
  if (block == nullptr || (block->length > 0 && block->text == nullptr)) {
    return;
  }
  ServerState& server = State().server;
  {
    std::lock_guard lock(server.textLock);
    server.currentText.assign(block->text, block->text + block->length);
  }
  const std::vector<uint8_t> message = TextMessage(block->text, block->length);
  MultiCast(server.server, message.data(), static_cast<uint32_t>(message.size()));
  if (server.callbacks.text != nullptr) {
    server.callbacks.text(block);
  }
}

bool CommsGreetClient(ConnectionData* connection) {
  ServerState& server = State().server;
  std::vector<uint8_t> message;
  {
    std::lock_guard lock(server.textLock);
    message = TextMessage(server.currentText.data(), static_cast<uint32_t>(server.currentText.size()));
    if (server.joinWatch != nullptr) {
      server.joinWatch->Greeted(connection, YCommsJoinWatch::Clock::now() + State().joinTimeLimit);
    }
  }
  Write(connection, message.data(), static_cast<uint32_t>(message.size()));
  return true;
}

void CommsServerReceive(ConnectionData* connection) {
  ReadMessages(connection, "client", [connection](YCommsMessage& message) {
    return ServerMessage(connection, message);
  });
}

void CommsServerClosed(ConnectionData* connection) {
  ServerState& server = State().server;
  State().readers.erase(connection);
  if (server.joinWatch != nullptr) {
    server.joinWatch->Forget(connection);
  }
  const bool joined = server.joined.erase(connection) != 0;
  YServerComms* comms = ServerComms();
  ycPlayerRecord record;
  if (comms == nullptr || !comms->RemoveClientOf(connection, &record) || !joined) {
    return;
  }
  // A joined client that drops out has left: the game learns it once, the
  // others hear it, and the frames stop waiting for it.
  if (server.callbacks.leave != nullptr) {
    server.callbacks.leave(&record);
  }
  RelayRecord(kCommsLeave, record);
}

// ---- Joining a game ----

void CommsStartClient(ycSearchCallBacks* search, ycCommsCallBacks* callbacks, ycOrderCallBacks* orders,
                      ycPlayerRecord* own) {
  ClientState& client = State().client;
  client.search = search != nullptr ? *search : ycSearchCallBacks{};
  client.callbacks = callbacks != nullptr ? *callbacks : ycCommsCallBacks{};
  client.orders = orders != nullptr ? *orders : ycOrderCallBacks{};
  client.own = own != nullptr ? *own : ycPlayerRecord{};
  client.own.connection = nullptr;
  client.connection = nullptr;
  CloseSearches();
}

void CommsScanServers() { KeepSearch(OpenNetwork(kSearchMode, 0, nullptr, 0)); }

void CommsQueryServer(ycServerRecord* record) {
  if (record == nullptr) {
    return;
  }
  KeepSearch(OpenNetwork(kSearchMode, 0, record->address, static_cast<int32_t>(record->port)));
}

void CommsPollServers() {
  ClientState& client = State().client;
  for (NetworkData* search : client.searches) {
    HostData* host = nullptr;
    while (ReadNetwork(search, &host)) {
      ycServerRecord record;
      char text[kHostTextBuffer] = {};
      GetHostName(host, text);
      CopyField(record.name, sizeof record.name, text);
      std::memset(text, 0, sizeof text);
      GetHostInfo(host, text);
      CopyField(record.info, sizeof record.info, text);
      int32_t value = 0;
      GetHostPing(host, &value);
      record.ping = static_cast<uint32_t>(value);
      GetHostAddress(host, record.address);
      value = 0;
      GetHostPort(host, &value);
      record.port = static_cast<uint32_t>(value);
      record.host = host;
      if (client.search.found != nullptr) {
        client.search.found(&record);
      }
    }
  }
  // The searches are done with: their threads end here, not with the library.
  CloseSearches();
}

void CommsJoinServer(ycOrderCallBacks* orders, ycServerRecord* record) {
  ClientState& client = State().client;
  if (record == nullptr || record->host == nullptr) {
    CommsFault("(INT) Comms: join without a found server\n");
    return;
  }
  client.orders = orders != nullptr ? *orders : ycOrderCallBacks{};
  ConnectionData* connection = OpenConnection(record->host, &clientHandlers);
  if (connection == nullptr) {
    return;
  }
  client.connection = connection;
  char address[16] = {};
  GetLocalAddress(connection, address);
  CopyField(client.own.address, sizeof client.own.address, address);
  uint8_t join[1 + kPlayerRecordWireSize];
  WriteRecordMessage(join, kCommsJoin, client.own, 0);
  Write(connection, join, sizeof join);
  int32_t port = 0;
  GetLocalPort(connection, &port);
  client.own.port = static_cast<uint32_t>(port);
  CommsCreateClient(connection);
}

void CommsLeaveServer() {
  ClientState& client = State().client;
  if (client.connection != nullptr) {
    uint8_t leave[1 + kPlayerRecordWireSize];
    WriteRecordMessage(leave, kCommsLeave, client.own, 0);
    Write(client.connection, leave, sizeof leave);
  }
  CloseSearches();
}

void CommsCloseClient() {
  ClientState& client = State().client;
  CloseSearches();
  if (client.connection != nullptr) {
    CloseConnection(client.connection);
    State().readers.erase(client.connection);
  }
  client.connection = nullptr;
}

void CommsSendClientText(ycTextBlock* block) {
  ClientState& client = State().client;
  if (client.connection == nullptr || block == nullptr || (block->length > 0 && block->text == nullptr)) {
    return;
  }
  const std::vector<uint8_t> message = TextMessage(block->text, block->length);
  Write(client.connection, message.data(), static_cast<uint32_t>(message.size()));
}

void CommsServerDown(ConnectionData* connection) {
  State().readers.erase(connection);
  if (State().client.search.down != nullptr) {
    State().client.search.down(connection);
  }
}

void CommsClientReceive(ConnectionData* connection) {
  ReadMessages(connection, "the server", [connection](YCommsMessage& message) {
    return ClientMessage(connection, message);
  });
}

// ---- Limits and what tests look at ----

YCommsBase* CommsObject() { return State().comms.get(); }
ServerData* CommsServer() { return State().server.server; }
ConnectionData* CommsConnection() { return State().client.connection; }
const ycPlayerRecord& CommsOwnRecord() { return State().client.own; }
size_t CommsOpenSearchCount() { return State().client.searches.size(); }
std::chrono::milliseconds& CommsJoinTimeLimit() { return State().joinTimeLimit; }
