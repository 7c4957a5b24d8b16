// The network library: its functions come from the network subsystem's
// archive, linked whole. Loading the library starts the socket service and
// unloading it cleans up.

#include "network/NetworkLibrary.h"

namespace {

struct LibraryEntry {
  LibraryEntry() { StartNetworkLibrary(true); }
  ~LibraryEntry() { StartNetworkLibrary(false); }
  LibraryEntry(const LibraryEntry&) = delete;
  LibraryEntry& operator=(const LibraryEntry&) = delete;
};

const LibraryEntry entry;

}  // namespace
