#pragma once

#include <mutex>
#include <vector>

struct ConnectionData;

// One server: the connections it accepted, in order. The server thread
// appends while the game thread reads and removes, so the array has a lock.
struct ServerData {
  std::mutex connectionsLock;
  std::vector<ConnectionData*> connections;
};

// Removes the connection from its server's array, keeping the others' order.
// Takes the server's lock: the caller holds no lock of the library.
void RemoveServerConnection(ServerData* server, ConnectionData* connection);
