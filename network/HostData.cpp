#include "network/HostData.h"

#include <arpa/inet.h>

#include <cstring>

#include "network/Sockets.h"

namespace {

constexpr size_t kLongestText = 255;

}  // namespace

void CopyText(const char* text, char* buffer) {
  const size_t length = strnlen(text, kLongestText);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
}

bool GetHostName(HostData* host, char* buffer) {
  if (host == nullptr || buffer == nullptr) {
    return false;
  }
  CopyText(host->name, buffer);
  return true;
}

bool GetHostInfo(HostData* host, char* buffer) {
  if (host == nullptr || buffer == nullptr) {
    return false;
  }
  CopyText(host->info, buffer);
  return true;
}

bool GetHostPing(HostData* host, int32_t* ping) {
  if (host == nullptr || ping == nullptr) {
    return false;
  }
  *ping = host->ping;
  return true;
}

bool GetHostAddress(HostData* host, char* buffer) {
  if (host == nullptr || buffer == nullptr) {
    return false;
  }
  CopyDottedAddress(host->address, buffer);
  return true;
}

bool GetHostPort(HostData* host, int32_t* port) {
  if (host == nullptr || port == nullptr) {
    return false;
  }
  *port = ntohs(host->address.sin_port);
  return true;
}
