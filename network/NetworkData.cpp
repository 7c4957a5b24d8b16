#include "network/NetworkData.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <list>
#include <system_error>
#include <vector>

#include "network/Datagram.h"
#include "network/NetworkLibrary.h"
#include "network/NetworkSettings.h"
#include "network/RefusalLog.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The library owns every search and every answer the game took.
struct SearchRecords {
  std::mutex mutex;
  std::list<std::unique_ptr<NetworkData>> searches;
  std::list<std::unique_ptr<HostData>> taken;
};

SearchRecords& Records() {
  static SearchRecords records;
  return records;
}

std::unique_ptr<NetworkData> TakeSearch(NetworkData* network) {
  std::lock_guard lock(Records().mutex);
  auto& searches = Records().searches;
  const auto found =
      std::find_if(searches.begin(), searches.end(), [network](const auto& record) { return record.get() == network; });
  if (found == searches.end()) {
    return nullptr;
  }
  std::unique_ptr<NetworkData> owned = std::move(*found);
  searches.erase(found);
  return owned;
}

// Keeps one answer; false when too many wait already.
bool KeepAnswer(NetworkData& network, const sockaddr_in& sender, const HostAnswer& answer, Clock::time_point arrival) {
  auto host = std::make_unique<HostData>();
  std::snprintf(host->name, sizeof host->name, "%s", answer.name.c_str());
  std::snprintf(host->info, sizeof host->info, "%s", answer.info.c_str());
  host->address = sender;
  // Timed from this search's own start; the thread takes an answer as it
  // arrives, so nothing is deducted for a polling interval.
  const auto ping = std::chrono::duration_cast<std::chrono::milliseconds>(arrival - network.start).count();
  host->ping = static_cast<int32_t>(std::clamp<long long>(ping, 0, INT32_MAX));
  std::lock_guard lock(network.mutex);
  if (network.answers.size() >= kMostWaitingAnswers) {
    return false;
  }
  network.answers.push_back(std::move(host));
  return true;
}

void SearchThread(NetworkData* network) {
  RefusalLog refusals("OpenNetwork");
  uint8_t block[kDatagramSize + 1];
  for (;;) {
    const platform::SocketWait wait = platform::WaitForSocket(network->socket, POLLIN, network->stop, 200ms);
    if (wait == platform::SocketWait::Stopped) {
      return;
    }
    // Every datagram that waits, unless a stop comes in between.
    while (wait == platform::SocketWait::Ready && !network->stop.Raised()) {
      sockaddr_in sender{};
      socklen_t length = sizeof sender;
      // With MSG_TRUNC the datagram's own length comes back, so a longer one
      // is seen as such.
      const ssize_t size = recvfrom(network->socket, block, sizeof block, MSG_DONTWAIT | MSG_TRUNC,
                                    reinterpret_cast<sockaddr*>(&sender), &length);
      if (size < 0) {
        break;
      }
      const Clock::time_point arrival = Clock::now();
      HostAnswer answer;
      if (const char* refusal = ParseHostAnswer(block, std::min(static_cast<size_t>(size), sizeof block), answer)) {
        refusals.Refuse(sender, refusal);
      } else if (!KeepAnswer(*network, sender, answer, arrival)) {
        refusals.Refuse(sender, "256 answers wait already");
      }
    }
  }
}

// Sends the search and starts its thread; false when the search ends early
// (reported).
bool StartSearch(NetworkData& network) {
  const NetworkSettings settings = ReadNetworkSettings();
  std::vector<sockaddr_in> targets;
  if (network.hasAddress) {
    sockaddr_in target = NewPortAddress(0);
    if (inet_pton(AF_INET, network.address.c_str(), &target.sin_addr) != 1) {
      PrintNetworkMessage("LumoConnection (OpenNetwork): \"%.64s\" is not a dotted address\n", network.address.c_str());
      return false;
    }
    if (network.port < 1 || network.port > 65535) {
      PrintNetworkMessage("LumoConnection (OpenNetwork): %d is not a port\n", network.port);
      return false;
    }
    target.sin_port = htons(static_cast<uint16_t>(network.port));
    targets.push_back(target);
  } else {
    for (int32_t index = 0; index < kServerPortCount; ++index) {
      sockaddr_in target = NewPortAddress(static_cast<uint16_t>(settings.portBase + index));
      target.sin_addr = settings.broadcast;
      targets.push_back(target);
    }
  }
  network.socket = OpenBCSocket();
  if (network.socket == kInvalidSocket) {
    return false;
  }
  if (!platform::SetSocketBlocking(network.socket, false)) {
    ReportLastSocketError("FindLANHosts2\n");
    return false;
  }
  if (!network.stop.Valid()) {
    ReportLastSocketError("OpenNetwork");
    return false;
  }
  const int allowed = 1;
  if (!network.hasAddress &&
      setsockopt(network.socket, SOL_SOCKET, SO_BROADCAST, &allowed, sizeof allowed) != 0) {
    ReportLastSocketError("ServerThread");
    return false;
  }
  network.start = Clock::now();
  const Datagram search = FormatSearchRequest();
  for (const sockaddr_in& target : targets) {
    if (sendto(network.socket, search.data(), search.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&target),
               sizeof target) < 0) {
      ReportLastSocketError("OpenNetwork");
    }
  }
  try {
    network.thread = std::thread(SearchThread, &network);
  } catch (const std::system_error&) {
    PrintNetworkMessage("LumoConnection (OpenNetwork): no thread for the search\n");
    return false;
  }
  return true;
}

void EndSearch(NetworkData& network) {
  network.stop.Raise();
  if (network.thread.joinable()) {
    network.thread.join();
  }
  if (network.socket != kInvalidSocket) {
    DestroySocket(network.socket, true);
    network.socket = kInvalidSocket;
  }
}

}  // namespace

NetworkData* OpenNetwork(int32_t mode, int32_t kind, const char* address, int32_t port) {
  auto record = std::make_unique<NetworkData>();
  record->mode = mode;
  record->kind = kind;
  record->hasAddress = address != nullptr;
  record->address = address != nullptr ? address : "";
  record->port = port;
  NetworkData* network = record.get();
  if (mode == kSearchMode) {
    StartSearch(*network);
  }
  std::lock_guard lock(Records().mutex);
  Records().searches.push_back(std::move(record));
  return network;
}

NetworkData* RefreshNetwork(NetworkData** network) {
  if (network == nullptr || *network == nullptr) {
    return nullptr;
  }
  NetworkData* old = *network;
  NetworkData* fresh = OpenNetwork(old->mode, old->kind, old->hasAddress ? old->address.c_str() : nullptr, old->port);
  CloseNetwork(network);
  *network = fresh;
  return fresh;
}

int32_t NetworkCount(NetworkData* network) {
  if (network == nullptr) {
    return 0;
  }
  std::lock_guard lock(network->mutex);
  return static_cast<int32_t>(network->answers.size());
}

bool ReadNetwork(NetworkData* network, HostData** host) {
  if (network == nullptr || host == nullptr) {
    return false;
  }
  std::unique_ptr<HostData> oldest;
  {
    std::lock_guard lock(network->mutex);
    if (network->answers.empty()) {
      return false;
    }
    oldest = std::move(network->answers.front());
    network->answers.pop_front();
  }
  *host = oldest.get();
  std::lock_guard lock(Records().mutex);
  Records().taken.push_back(std::move(oldest));
  return true;
}

bool CloseNetwork(NetworkData** network) {
  if (network == nullptr || *network == nullptr) {
    return false;
  }
  std::unique_ptr<NetworkData> owned = TakeSearch(*network);
  *network = nullptr;
  if (owned == nullptr) {
    PrintNetworkMessage("LumoConnection (CloseNetwork): not an open search\n");
    return false;
  }
  // The thread is joined before anything it uses is freed.
  EndSearch(*owned);
  return false;
}

void CloseAllSearches() {
  std::list<std::unique_ptr<NetworkData>> searches;
  std::list<std::unique_ptr<HostData>> taken;
  {
    std::lock_guard lock(Records().mutex);
    searches.swap(Records().searches);
    taken.swap(Records().taken);
  }
  for (const auto& search : searches) {
    EndSearch(*search);
  }
}

size_t SearchCount() {
  std::lock_guard lock(Records().mutex);
  return Records().searches.size();
}
