// The client's comms message reader over a socket pair: whatever a server
// sends, cut anywhere, the client reads it, closes on what no peer may send
// and delivers only packages within the caps.

#include <cstddef>
#include <cstdint>

#include "fuzz/CommsStreamFuzz.h"
#include "game/CommsFrontEnd.h"
#include "network/NetworkLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ycOrderCallBacks orders = {nullptr, CheckDeliveredPackage};
  ycPlayerRecord own;
  own.name[0] = 'f';
  CommsStartClient(nullptr, nullptr, &orders, &own);
  // A client that joined: its comms object waits for the server's latency.
  RunCommsStream(data, size, CommsCreateClient, CommsClientReceive, CommsServerDown);
  // The game, when the server started it, runs on what arrived.
  for (uint32_t frame = 0; frame < 8 && CommsObject() != nullptr && CommsObject()->Running(); ++frame) {
    CommsFlush(frame);
  }
  CommsCloseClient();
  CommsDestroy();
  WSA_Cleanup();
  return 0;
}
