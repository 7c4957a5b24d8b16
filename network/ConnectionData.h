#pragma once

#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "base/LumoExport.h"
#include "network/HostData.h"
#include "network/Sockets.h"
#include "platform/Net.h"

struct ConnectionData;
struct ServerData;

// ---- The game's handlers ----

// Called on the game thread with the connection.
using tConnectionHandler = void (*)(ConnectionData* connection);

// The game's table of handlers; a null entry is skipped.
struct ConnectionHandlers {
  tConnectionHandler handler[3];  // [0] unused, [1] the connection closed, [2] bytes can be read
};
constexpr int kCloseHandler = 1;
constexpr int kReadHandler = 2;

// ---- One TCP connection ----
// The handle of the connection calls. The library owns the record: it stays
// valid after the connection was torn down (marked closed, keeping its
// addresses, every call on it failing cleanly) until the library is
// unloaded.
struct ConnectionData {
  tSocket socket = kInvalidSocket;
  ConnectionHandlers* handlers = nullptr;
  sockaddr_in peerAddress{};
  uint32_t message = 0;          // 1024 + event slot; 0 while not registered
  ServerData* server = nullptr;  // the accepting server; null on the client side
  uint32_t serial = 0;           // of the registration; every event carries it
  std::atomic<bool> closed = false;
  sockaddr_in localAddress{};    // kept when the connection is torn down
  std::shared_ptr<platform::SocketChannel> channel;
};

extern "C" {

// Joins the server that sent the answer: listens on a free port, asks the
// server by datagram to connect back, accepts only the server's address and
// checks its greeting, all within 3 s. Null on failure, leaving nothing open.
LUMOCONNECTION_API ConnectionData* OpenConnection(HostData* host, ConnectionHandlers* handlers);
// Closes the connection: sends what is queued, then shuts the sending side;
// no read event follows. The close handler runs when the peer has closed
// too, or 2 s later. Never waits.
LUMOCONNECTION_API void CloseConnection(ConnectionData* connection);
// Exactly size bytes, or false. Nothing waiting: false at once, nothing
// taken. Part of it waiting: waits at most 1 s for the rest, else the part
// is dropped and the connection closes after the handler.
LUMOCONNECTION_API bool Read(ConnectionData* connection, void* buffer, uint32_t size);
// Sends what fits and queues the rest, in order; never waits. True when all
// is sent or queued; false when the connection is closed or failed. A queue
// over 1 MiB closes the connection.
LUMOCONNECTION_API bool Write(ConnectionData* connection, const void* data, uint32_t length);
// The peer's and the local end's dotted address (at most 15 characters and a
// NUL: the buffer needs 16 bytes) and port in host byte order. False without
// a buffer or out pointer, or when the address cannot be had.
LUMOCONNECTION_API bool GetRemoteAddress(ConnectionData* connection, char* buffer);
LUMOCONNECTION_API bool GetRemotePort(ConnectionData* connection, int32_t* port);
LUMOCONNECTION_API bool GetLocalAddress(ConnectionData* connection, char* buffer);
LUMOCONNECTION_API bool GetLocalPort(ConnectionData* connection, int32_t* port);

}  // extern "C"

// ---- Inside the library ----

// A new record for a connected socket (which it takes over), owned by the
// library. Not yet registered for events.
ConnectionData* MakeConnection(tSocket socket, const sockaddr_in& peer, ConnectionHandlers* handlers,
                               ServerData* server);
// Frees a record that never became the game's (a failed open).
void FreeConnection(ConnectionData* connection);
// Marks every record closed and frees them all (the library's clean-up).
void FreeAllConnections();
// How many records the library holds.
size_t ConnectionCount();
