#include "network/NetworkLibrary.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>

#include "network/ConnectionData.h"
#include "network/NetworkData.h"
#include "network/ServerData.h"
#include "network/SocketEventSlots.h"
#include "network/Sockets.h"
#include "platform/Net.h"
#include "runtime/DebugLog.h"

namespace {

std::atomic<bool> started = false;

struct ErrorText {
  int32_t code;
  const char* format;
};

constexpr ErrorText kErrorTexts[] = {
    {10014, "LumoConnection (%s): Invalid WSAData pointer!"},
    {10024, "LumoConnection (%s): No more socket descriptors available!"},
    {10036, "LumoConnection (%s): Blocking in progress!"},
    {10047, "LumoConnection (%s): Specified address family not supported!"},
    {10050, "LumoConnection (%s): Network of service down!"},
    {10055, "LumoConnection (%s): No buffer space available!"},
    {10067, "LumoConnection (%s): Too many network tasks!"},
    {10091, "LumoConnection (%s): Network subsystem not ready!"},
    {10092, "LumoConnection (%s): Incompatible socket version!"},
    {10093, "LumoConnection (%s): Network not initialized!"},
};

}  // namespace

bool StartNetworkLibrary(bool attach) {
  if (attach) {
    WSA_Startup();
  } else {
    WSA_Cleanup();
  }
  return true;
}

void WSA_Startup() {
  if (started.exchange(true)) {
    return;
  }
  // The library's tables exist from its start, so a clean-up at unload
  // (after later-made objects are destroyed) still finds them.
  SocketEventThreadRunning();
  ConnectionCount();
  OpenSocketCount();
  SearchCount();
  ServerCount();
}

void WSA_Cleanup() {
  if (!started.exchange(false)) {
    return;
  }
  // The threads first: they register connections and use the sockets.
  CloseAllSearches();
  DestroyAllServers();
  ClearSocketEvents();
  FreeAllConnections();
  CloseAllSockets();
}

bool NetworkStarted() { return started; }

void ReportSocketError(int32_t code, const char* label) {
  const char* format = "LumoConnection (%s): General network error!";
  for (const ErrorText& text : kErrorTexts) {
    if (text.code == code) {
      format = text.format;
    }
  }
  PrintNetworkMessage(format, label != nullptr ? label : "");
}

void ReportLastSocketError(const char* label) { ReportSocketError(platform::SocketErrorCode(errno), label); }

int32_t PrintNetworkMessage(const char* format, ...) {
  const int32_t mode = GetDebugMode();
  if (mode == 0) {
    return mode;
  }
  char text[4096];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  DebugMessage(text);
  return mode;
}
