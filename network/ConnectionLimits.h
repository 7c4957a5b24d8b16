#pragma once

#include <chrono>

// How long the connection calls may wait. Tests shorten them.
struct tConnectionTimeLimits {
  std::chrono::milliseconds connect{3000};  // OpenConnection, for the whole handshake
  std::chrono::milliseconds read{1000};     // Read, for the rest of a message
  std::chrono::milliseconds close{2000};    // CloseConnection, until the connection is torn down
};

tConnectionTimeLimits& ConnectionTimeLimits();
