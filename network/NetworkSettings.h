#pragma once

#include <netinet/in.h>

#include <cstdint>

// Where searches and servers look for each other: the broadcast address
// (YOB_NET_BROADCAST, default 255.255.255.255) and the first of the 19
// datagram ports (YOB_NET_PORT_BASE, default 13013). Read at each search
// and server start; a value that is not valid is logged and the default used.
struct NetworkSettings {
  in_addr broadcast;
  uint16_t portBase;
};

constexpr int32_t kServerPortCount = 19;
constexpr uint16_t kDefaultPortBase = 13013;

NetworkSettings ReadNetworkSettings();
