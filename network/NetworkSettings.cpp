#include "network/NetworkSettings.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <string>

#include "network/NetworkLibrary.h"

NetworkSettings ReadNetworkSettings() {
  NetworkSettings settings{};
  settings.broadcast.s_addr = htonl(INADDR_BROADCAST);
  settings.portBase = kDefaultPortBase;
  if (const char* broadcast = std::getenv("YOB_NET_BROADCAST"); broadcast != nullptr && *broadcast != '\0') {
    in_addr address{};
    if (inet_pton(AF_INET, broadcast, &address) == 1) {
      settings.broadcast = address;
    } else {
      PrintNetworkMessage("LumoConnection: YOB_NET_BROADCAST \"%.64s\" is not a dotted address\n", broadcast);
    }
  }
  if (const char* base = std::getenv("YOB_NET_PORT_BASE"); base != nullptr && *base != '\0') {
    // The whole range must be ports: 1 .. 65535 - 18.
    char* end = nullptr;
    const long port = std::strtol(base, &end, 10);
    if (*end == '\0' && port >= 1 && port <= 65535 - (kServerPortCount - 1)) {
      settings.portBase = static_cast<uint16_t>(port);
    } else {
      PrintNetworkMessage("LumoConnection: YOB_NET_PORT_BASE \"%.64s\" is not a port of a whole range\n", base);
    }
  }
  return settings;
}
