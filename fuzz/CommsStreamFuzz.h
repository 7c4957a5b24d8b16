#pragma once

#include <cstddef>
#include <cstdint>

struct ConnectionData;

// Feeds fuzzer bytes to one of the game's comms connection handlers over a
// socket pair, as the network library's events deliver them: a peer thread
// sends the stream cut at the input's chosen points, and each read or close
// event runs the handler on this thread, until the close.
//
// Input: a byte n (cuts: n % 16 + 1), the cut lengths (1..256 each), then
// the bytes the peer sends.
using tCommsHandler = void (*)(ConnectionData* connection);
// `onOpen` (may be null) runs with the connection before the first event.
void RunCommsStream(const uint8_t* data, size_t size, tCommsHandler onOpen, tCommsHandler onRead,
                    tCommsHandler onClose);

// The accept callback of the fuzz targets: every delivered package is one
// a peer may send (a payload within the cap, its length the bytes held).
struct COrderPackage;
void CheckDeliveredPackage(COrderPackage* package, uint32_t frame);
