#pragma once

#include <netinet/in.h>

#include <cstdint>

#include "base/LumoExport.h"

// One answer to a host search: the server that sent it and when. Taken by
// ReadNetwork, it stays valid until the library is unloaded (the game keeps
// it to join the server).
struct HostData {
  char name[260];        // the server's name, preset "NETWORK ERROR"
  char info[260];        // the server's info, preset "NETWORK ERROR"
  int32_t ping;          // milliseconds from the search's start to the answer
  sockaddr_in address;   // the sender: the server's address and datagram port
};

extern "C" {

// The server's name or info: at most 255 characters and a NUL (the buffer
// needs 256 bytes). False without a host or buffer.
LUMOCONNECTION_API bool GetHostName(HostData* host, char* buffer);
LUMOCONNECTION_API bool GetHostInfo(HostData* host, char* buffer);
// Milliseconds from the start of the search to the answer, never below 0.
LUMOCONNECTION_API bool GetHostPing(HostData* host, int32_t* ping);
// The server's dotted address: at most 15 characters and a NUL (the buffer
// needs 16 bytes).
LUMOCONNECTION_API bool GetHostAddress(HostData* host, char* buffer);
// The server's datagram port in host byte order.
LUMOCONNECTION_API bool GetHostPort(HostData* host, int32_t* port);

}  // extern "C"

// ---- Inside the library ----

// Copies a text into a caller's buffer: at most 255 characters and a NUL.
void CopyText(const char* text, char* buffer);
