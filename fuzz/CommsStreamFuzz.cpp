#include "fuzz/CommsStreamFuzz.h"

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "game/YCommsReader.h"
#include "logic/core/COrderPackage.h"
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

}  // namespace

void CheckDeliveredPackage(COrderPackage* package, uint32_t) {
  FuzzRequire(package != nullptr && package->Length > 0, "a null order was delivered");
  FuzzRequire(static_cast<uint32_t>(package->Length) <= kMostPayloadBytes, "a payload beyond the cap was delivered");
  FuzzRequire(package->Data != nullptr, "a delivered package lost its payload");
}

void RunCommsStream(const uint8_t* data, size_t size, tCommsHandler onOpen, tCommsHandler onRead,
                    tCommsHandler onClose) {
  WSA_Startup();
  ConnectionTimeLimits().read = 100ms;
  ConnectionTimeLimits().close = 200ms;
  {
    std::lock_guard lock(Posted().mutex);
    Posted().events.clear();
  }
  const size_t cutCount = size > 0 ? data[0] % 16 + 1 : 1;
  if (size > 0) {
    ++data;
    --size;
  }
  std::vector<size_t> cuts;
  for (size_t index = 0; index < cutCount; ++index) {
    cuts.push_back(size > 0 ? size_t{data[0]} + 1 : 7);
    if (size > 0) {
      ++data;
      --size;
    }
  }
  const std::vector<uint8_t> stream(data, data + size);

  int ends[2];
  FuzzRequire(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0, "no socket pair");
  ConnectionData* connection = MakeConnection(AdoptSocket(ends[0]), sockaddr_in{}, nullptr, nullptr);
  if (onOpen != nullptr) {
    onOpen(connection);
  }
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

  for (uint32_t event = NextEvent();; event = NextEvent()) {
    if (event == platform::kSocketCloseEvent) {
      onClose(connection);
      break;
    }
    onRead(connection);
    events.HandlerDone(*connection->channel);
  }
  peer.join();
  events.Clear();
  close(ends[1]);
}
