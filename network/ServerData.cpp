#include "network/ServerData.h"

#include <algorithm>

void RemoveServerConnection(ServerData* server, ConnectionData* connection) {
  if (server == nullptr) {
    return;
  }
  std::lock_guard lock(server->connectionsLock);
  auto& connections = server->connections;
  connections.erase(std::remove(connections.begin(), connections.end(), connection), connections.end());
}
