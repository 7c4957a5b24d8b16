// The server's comms message reader over a socket pair: whatever a client
// sends, cut anywhere, the server reads it, closes on what no peer may send
// and delivers only packages within the caps.

#include <cstddef>
#include <cstdint>

#include "fuzz/CommsStreamFuzz.h"
#include "game/CommsFrontEnd.h"
#include "network/NetworkLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ycOrderCallBacks orders = {nullptr, CheckDeliveredPackage};
  // A server's comms object before its game starts, so joins are taken.
  CommsCreateServer(nullptr, 0);
  RunCommsStream(data, size, nullptr, CommsServerReceive, CommsServerClosed);
  // The game starts and runs: every list the client completed is delivered.
  CommsRun(&orders);
  for (uint32_t frame = 0; frame < 8; ++frame) {
    CommsFlush(frame);
  }
  CommsDestroy();
  WSA_Cleanup();
  return 0;
}
