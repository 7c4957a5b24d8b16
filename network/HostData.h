#pragma once

#include <netinet/in.h>

#include <cstdint>

// One answer to a host search: the server that sent it and when.
struct HostData {
  char name[260];        // the server's name, preset "NETWORK ERROR"
  char info[260];        // the server's info, preset "NETWORK ERROR"
  int32_t ping;          // the answer time in milliseconds
  sockaddr_in address;   // the sender: the server's address and datagram port
};
