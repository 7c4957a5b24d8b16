#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "base/LumoExport.h"
#include "network/HostData.h"
#include "network/Sockets.h"
#include "platform/Net.h"

// ---- One host search ----
// The handle of the search calls, owned by the library. The search thread
// takes each answer as it arrives and keeps it, under the mutex, until
// ReadNetwork takes it.
struct NetworkData {
  int32_t mode = 0;  // 2 = search
  int32_t kind = 0;  // kept, of no effect
  bool hasAddress = false;
  std::string address;  // the one address searched, when hasAddress
  int32_t port = 0;     // the port searched at that address
  tSocket socket = kInvalidSocket;
  std::thread thread;
  platform::StopSignal stop;
  std::chrono::steady_clock::time_point start;  // answers are timed from here
  std::mutex mutex;
  std::deque<std::unique_ptr<HostData>> answers;  // in arrival order
};

// The mode that searches; any other makes a record without a search.
constexpr int32_t kSearchMode = 2;
// Answers waiting beyond this are dropped: a flood must not grow the list
// without end.
constexpr size_t kMostWaitingAnswers = 256;

extern "C" {

// Starts a search (mode 2): with a dotted address, one search datagram goes
// to that address and port; without one, it is broadcast to every server
// port. Answers arrive on the search's own thread. Any other mode gives a
// record without a search. Null when no record can be made.
LUMOCONNECTION_API NetworkData* OpenNetwork(int32_t mode, int32_t kind, const char* address, int32_t port);
// Starts the same search anew, closes the old one and stores the new
// handle through the pointer; answers it.
LUMOCONNECTION_API NetworkData* RefreshNetwork(NetworkData** network);
// The number of answers waiting (0 for no search).
LUMOCONNECTION_API int32_t NetworkCount(NetworkData* network);
// Takes the oldest answer waiting; false when there is none. The host stays
// valid until the library is unloaded.
LUMOCONNECTION_API bool ReadNetwork(NetworkData* network, HostData** host);
// Ends the search: stops and joins its thread, closes its socket, frees the
// answers not taken and the record, and clears the caller's pointer.
// Returns within about 200 ms. Always false.
LUMOCONNECTION_API bool CloseNetwork(NetworkData** network);

}  // extern "C"

// ---- Inside the library ----

// Ends every search and frees every host (the library's clean-up).
void CloseAllSearches();
// How many searches are open.
size_t SearchCount();
