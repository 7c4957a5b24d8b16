#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/LumoExport.h"
#include "network/Sockets.h"
#include "platform/Net.h"

struct ConnectionData;
struct ConnectionHandlers;

// The game's accept handler: called on the server thread with each new
// connection; false closes it again.
using tAcceptHandler = bool (*)(ConnectionData* connection);

// ---- One server ----
// The handle of the server calls, owned by the library. Its thread
// ("ServerThread") answers searches and connects back to joining clients.
// One lock guards the name, the info and the connection array: the server
// thread answers and appends while the game thread sets texts, multicasts
// and removes.
struct ServerData {
  tSocket socket = kInvalidSocket;  // the datagram socket
  uint16_t port = 0;                // its port
  tAcceptHandler accept = nullptr;
  ConnectionHandlers* handlers = nullptr;  // given to each accepted connection
  platform::StopSignal stop;
  std::thread thread;
  std::mutex lock;
  std::string name = "<noname>";
  std::string info;
  std::vector<ConnectionData*> connections;  // accepted, in order
};

extern "C" {

// A server answering searches on a datagram port: the port given, or with 0
// the first free one of the 19 from the port base. The accept handler runs
// on the server's thread. Null on failure.
LUMOCONNECTION_API ServerData* CreateServer(tAcceptHandler accept, ConnectionHandlers* handlers, int32_t port);
// CreateServer, then the name and info set.
LUMOCONNECTION_API ServerData* CreateServerEx(const char* name, const char* info, tAcceptHandler accept,
                                              ConnectionHandlers* handlers, int32_t port);
// Stops and joins the server's thread (within about 200 ms, plus an accept
// handler that is running), closes every accepted connection in order and
// frees the server. The connections' close events come later and no longer
// refer to it.
LUMOCONNECTION_API void DestroyServer(ServerData* server);
// Writes the bytes to every accepted connection in order; answers how many
// there are.
LUMOCONNECTION_API uint32_t MultiCast(ServerData* server, const void* data, uint32_t length);
// Replace the name or info by a copy of the text; false without one.
LUMOCONNECTION_API bool SetServerName(ServerData* server, const char* text);
LUMOCONNECTION_API bool SetServerInfo(ServerData* server, const char* text);
// Copy the name or info out: at most 255 characters and a NUL (the buffer
// needs 256 bytes). False without a buffer.
LUMOCONNECTION_API bool GetServerName(ServerData* server, char* buffer);
LUMOCONNECTION_API bool GetServerInfo(ServerData* server, char* buffer);

}  // extern "C"

// ---- Inside the library ----

// Removes the connection from its server's array, keeping the others' order.
// Takes the server's lock: the caller holds no lock of the library.
void RemoveServerConnection(ServerData* server, ConnectionData* connection);
// Stops every server and frees it, calling no handler (the library's
// clean-up).
void DestroyAllServers();
// How many servers run.
size_t ServerCount();
