// Read over a socket pair: the input chooses how a peer cuts a byte stream
// into sends and which sizes the game's read handler asks for. Every Read
// that succeeds must give exactly the next bytes in order, and the
// connection must always come to its close event.
//
// Input: a byte n (cuts: n % 16 + 1), the cut lengths (1..256 each), a byte
// m (read sizes: m % 16 + 1), the read sizes (0..255 each), then the bytes
// the peer sends.

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "network/ConnectionData.h"
#include "network/ConnectionLimits.h"
#include "network/NetworkLibrary.h"
#include "platform/Net.h"

namespace {

using namespace std::chrono_literals;

struct Events {
  std::mutex mutex;
  std::condition_variable posted;
  std::deque<uint32_t> events;
};

Events& Posted() {
  static Events events;
  return events;
}

void PostEvent(uint32_t, uint32_t, uint32_t event, uint32_t) {
  {
    std::lock_guard lock(Posted().mutex);
    Posted().events.push_back(event);
  }
  Posted().posted.notify_all();
}

uint32_t NextEvent() {
  std::unique_lock lock(Posted().mutex);
  FuzzRequire(Posted().posted.wait_for(lock, 10s, [] { return !Posted().events.empty(); }),
              "no event came for the connection");
  const uint32_t event = Posted().events.front();
  Posted().events.pop_front();
  return event;
}

// Takes `count` sizes from the input, each at least `least`.
std::vector<size_t> TakeSizes(const uint8_t*& data, size_t& size, size_t least) {
  const size_t count = size > 0 ? data[0] % 16 + 1 : 1;
  if (size > 0) {
    ++data;
    --size;
  }
  std::vector<size_t> sizes;
  for (size_t index = 0; index < count; ++index) {
    sizes.push_back(size > 0 ? data[0] + least : least + 7);
    if (size > 0) {
      ++data;
      --size;
    }
  }
  return sizes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WSA_Startup();
  ConnectionTimeLimits().read = 100ms;
  {
    std::lock_guard lock(Posted().mutex);
    Posted().events.clear();
  }
  const std::vector<size_t> cuts = TakeSizes(data, size, 1);
  const std::vector<size_t> reads = TakeSizes(data, size, 0);
  const std::vector<uint8_t> stream(data, data + size);

  int ends[2];
  FuzzRequire(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0, "no socket pair");
  ConnectionData* connection = MakeConnection(AdoptSocket(ends[0]), sockaddr_in{}, nullptr, nullptr);
  platform::SocketEvents events;
  FuzzRequire(events.Register(connection->channel, 1024, 1, PostEvent), "registration failed");

  std::thread peer([&] {
    size_t sent = 0;
    for (size_t cut = 0; sent < stream.size(); ++cut) {
      const size_t length = std::min(cuts[cut % cuts.size()], stream.size() - sent);
      if (send(ends[1], stream.data() + sent, length, MSG_NOSIGNAL) <= 0) {
        break;
      }
      sent += length;
      std::this_thread::yield();
    }
    shutdown(ends[1], SHUT_WR);
  });

  // The game thread: each read event runs a handler that reads until a
  // Read fails.
  size_t offset = 0;
  size_t nextSize = 0;
  std::vector<uint8_t> buffer(256);
  for (uint32_t event = NextEvent(); event != platform::kSocketCloseEvent; event = NextEvent()) {
    for (;;) {
      const size_t asked = reads[nextSize++ % reads.size()];
      if (!Read(connection, buffer.data(), static_cast<uint32_t>(asked))) {
        break;
      }
      FuzzRequire(offset + asked <= stream.size(), "Read gave more bytes than were sent");
      FuzzRequire(std::memcmp(buffer.data(), stream.data() + offset, asked) == 0,
                  "Read gave bytes out of order");
      offset += asked;
      if (asked == 0 && nextSize > 4096) {
        break;
      }
    }
    events.HandlerDone(*connection->channel);
  }
  peer.join();
  events.Clear();
  close(ends[1]);
  WSA_Cleanup();
  return 0;
}
