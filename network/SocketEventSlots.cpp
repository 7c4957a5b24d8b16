#include "network/SocketEventSlots.h"

#include <sys/socket.h>

#include <array>
#include <atomic>
#include <mutex>

#include "network/ConnectionData.h"
#include "network/NetworkLibrary.h"
#include "network/ServerData.h"
#include "platform/Net.h"

namespace {

// Error numbers of a refused registration: no free slot, no game window.
constexpr int32_t kNoFreeSlot = 10024;
constexpr int32_t kNoWindow = 10022;

struct Slot {
  ConnectionData* connection = nullptr;
  uint32_t serial = 0;
};

// The slot table and the game window. The server thread registers while the
// game thread handles events, so both go through the lock.
struct SlotTable {
  std::mutex mutex;
  std::array<Slot, kSocketSlotCount> slots{};
  tWindowHandle window = 0;
  tWindowProcedure replaced = nullptr;
  uint32_t lastSerial = 0;
  platform::SocketEvents events;
};

SlotTable& Table() {
  static SlotTable table;
  return table;
}

// Posting reads the window without the table's lock: the event thread must
// never wait for a handler.
std::atomic<tWindowHandle> postWindow = 0;

void PostSocketEvent(uint32_t message, uint32_t serial, uint32_t event, uint32_t error) {
  PostGameWindowMessage(postWindow.load(), message, serial, static_cast<intptr_t>(event | (error << 16)));
}

// Finds the game window and makes SocketWinProc its procedure; looks again
// on every registration, so a window opened later (or anew) is found.
bool FindWindowLocked(SlotTable& table) {
  const tWindowHandle window = FindGameWindow(kGameWindowTitle);
  if (window == 0) {
    return false;
  }
  if (window != table.window) {
    const tWindowProcedure replaced = ReplaceWindowProcedure(window, SocketWinProc);
    if (replaced == nullptr) {
      return false;
    }
    table.window = window;
    table.replaced = replaced;
    postWindow = window;
  }
  return true;
}

ConnectionData* ConnectionOfMessage(uint32_t slot, uintptr_t serial) {
  SlotTable& table = Table();
  std::lock_guard lock(table.mutex);
  const Slot& entry = table.slots[slot];
  // An event of an earlier registration of this slot is stale.
  return entry.connection != nullptr && entry.serial == serial ? entry.connection : nullptr;
}

void HandleRead(ConnectionData* connection) {
  ConnectionHandlers* handlers = connection->handlers;
  // After CloseConnection no read event reaches the game.
  if (handlers != nullptr && handlers->handler[kReadHandler] != nullptr && !connection->channel->Closing()) {
    handlers->handler[kReadHandler](connection);
  }
  if (!connection->closed) {
    Table().events.HandlerDone(*connection->channel);
  }
}

void HandleClose(ConnectionData* connection, uint32_t error) {
  // A reset peer is reported; the connection then closes as any other.
  if (error != 0) {
    ReportSocketError(static_cast<int32_t>(error), "SocketWinProc");
  }
  ConnectionHandlers* handlers = connection->handlers;
  if (handlers != nullptr && handlers->handler[kCloseHandler] != nullptr) {
    handlers->handler[kCloseHandler](connection);
  }
  TearDownConnection(connection);
}

}  // namespace

bool SyncSelect(ConnectionData* connection) {
  if (connection == nullptr || connection->closed) {
    return false;
  }
  SlotTable& table = Table();
  std::lock_guard lock(table.mutex);
  if (!FindWindowLocked(table)) {
    ReportSocketError(kNoWindow, "SyncSelect");
    return false;
  }
  uint32_t slot = 0;
  while (slot < kSocketSlotCount && table.slots[slot].connection != nullptr) {
    ++slot;
  }
  if (slot == kSocketSlotCount) {
    ReportSocketError(kNoFreeSlot, "SyncSelect");
    return false;
  }
  const uint32_t serial = ++table.lastSerial == 0 ? ++table.lastSerial : table.lastSerial;
  const uint32_t message = kFirstSocketMessage + slot;
  if (!table.events.Register(connection->channel, message, serial, PostSocketEvent)) {
    ReportLastSocketError("SyncSelect");
    return false;
  }
  table.slots[slot] = {connection, serial};
  connection->serial = serial;
  connection->message = message;
  return true;
}

void UnselectSocket(ConnectionData* connection) {
  if (connection == nullptr || connection->message == 0) {
    return;
  }
  Table().events.Unregister(connection->serial);
  connection->message = 0;
  if (!platform::SetSocketBlocking(connection->socket, true)) {
    ReportLastSocketError("OpenConnection4\n");
  }
}

void TearDownConnection(ConnectionData* connection) {
  if (connection == nullptr || connection->closed) {
    return;
  }
  const uint32_t message = connection->message;
  const uint32_t serial = connection->serial;
  UnselectSocket(connection);
  // The record stays the game's handle, but what its buffers held is no
  // use to anyone now.
  connection->channel->Release();
  // The local end is kept: once the socket is closed it cannot be asked.
  socklen_t length = sizeof connection->localAddress;
  getsockname(connection->socket, reinterpret_cast<sockaddr*>(&connection->localAddress), &length);
  connection->closed = true;
  RemoveServerConnection(connection->server, connection);
  // The number is free once closed and the system gives it to the next
  // file at once: the record must not keep it.
  DestroySocket(connection->socket, true);
  connection->socket = kInvalidSocket;
  if (message != 0) {
    SlotTable& table = Table();
    std::lock_guard lock(table.mutex);
    Slot& entry = table.slots[message - kFirstSocketMessage];
    if (entry.serial == serial) {
      entry = {};
    }
  }
}

intptr_t SocketWinProc(tWindowHandle window, uint32_t message, uintptr_t wordParameter, intptr_t longParameter) {
  if (message < kFirstSocketMessage || message >= kFirstSocketMessage + kSocketSlotCount) {
    tWindowProcedure replaced = nullptr;
    {
      std::lock_guard lock(Table().mutex);
      replaced = Table().replaced;
    }
    return replaced != nullptr ? replaced(window, message, wordParameter, longParameter) : 0;
  }
  ConnectionData* connection = ConnectionOfMessage(message - kFirstSocketMessage, wordParameter);
  if (connection == nullptr) {
    return 0;
  }
  const auto parameter = static_cast<uint32_t>(longParameter);
  const uint32_t event = parameter & 0xFFFF;
  const uint32_t error = parameter >> 16;
  if (event == platform::kSocketReadEvent) {
    HandleRead(connection);
  } else if (event == platform::kSocketCloseEvent) {
    HandleClose(connection, error);
  }
  return 0;
}

void ClearSocketEvents() {
  SlotTable& table = Table();
  table.events.Clear();
  std::lock_guard lock(table.mutex);
  table.slots.fill({});
  // The window gets its procedure back: this library may be unloaded next.
  if (table.window != 0 && table.replaced != nullptr) {
    ReplaceWindowProcedure(table.window, table.replaced);
  }
  table.window = 0;
  table.replaced = nullptr;
  postWindow = 0;
}

bool SocketEventThreadRunning() { return Table().events.ThreadRunning(); }

uint32_t SocketSlotSerial(uint32_t slot) {
  std::lock_guard lock(Table().mutex);
  return slot < kSocketSlotCount ? Table().slots[slot].serial : 0;
}
