#include "game/YServerComms.h"

#include <cstring>

#include "game/CommsBytes.h"
#include "game/CommsLog.h"
#include "game/OrderFrameBytes.h"
#include "logic/core/COrderPackage.h"
#include "network/ServerData.h"

namespace {

constexpr uint16_t kFirstPlayerKind = 1;
constexpr uint16_t kLastPlayerKind = 62;

// The player an order names: the first word of the payload for kinds 1-62,
// the digit of a chat line for kind 0. Answers false when the payload is too
// short to tell; `named` false for an order that names nobody.
bool NamedPlayer(const ycReceivedOrder& order, bool& named, int32_t& player) {
  named = false;
  if (order.payload.empty()) {
    return true;  // a null order carries nothing
  }
  if (order.kind >= kFirstPlayerKind && order.kind <= kLastPlayerKind) {
    if (order.payload.size() < 4) {
      return false;
    }
    named = true;
    player = static_cast<int32_t>(LoadU32(order.payload.data()));
    return true;
  }
  if (order.kind == 0 && order.payload[0] == 'S') {
    if (order.payload.size() < 3) {
      return false;
    }
    named = true;
    player = order.payload[2] - '0';
  }
  return true;
}

}  // namespace

YServerComms::YServerComms(ServerData* server, uint32_t latency)
    : server_(server), sendBuffer_(kInitialSendBuffer), latency_(latency) {}

void YServerComms::Run(ycOrderCallBacks* callbacks) {
  CommsTrace("*MP* ServerComms::Run() (latency = %d)\n", latency_);
  outgoing_.clear();
  sendBuffer_.assign(kInitialSendBuffer, 0);
  lastReceived_ = 0;
  lastFlushed_ = -1;
  YCommsBase::Run(callbacks);
  uint8_t message[5];
  message[0] = kCommsLatency;
  StoreU32(message + 1, latency_);
  MultiCast(server_, message, sizeof message);
}

void YServerComms::Send(COrderPackage* package) {
  if (package == nullptr) {
    return;
  }
  CommsTrace("*MP* ServerComms::Send() (COrderPackage*, type = %d, length = %d)\n", package->Kind, package->Length);
  outgoing_.push_back(ycOrderNode{ycPackagePointer(package, ycPackageRelease{1})});
  CommsTrace("*MP*            - order added to outgoing list\n");
}

bool YServerComms::Flush(uint32_t frame) {
  CommsTrace("*MP* ServerComms::Flush() (frame = %d, previousFrame = %d)\n", frame,
             static_cast<int32_t>(lastFlushed_));
  if (static_cast<int64_t>(frame) != lastFlushed_) {
    CommsTrace("*MP*            - Flushing outgoing orders\n");
    FlushOutgoing(frame);
    lastFlushed_ = frame;
  }
  CommsTrace("*MP*            - Flushing incomming orders\n");
  return FlushIncomming(frame);
}

void YServerComms::FlushOutgoing(uint32_t frame) {
  CommsTrace("*MP* ServerComms::FlushOutgoing() (frame = %d)\n", frame);
  if (outgoing_.empty()) {
    // A player without orders still hands in the frame.
    outgoing_.emplace_back();
    CommsTrace("*MP*            - NO ORDERS: list expanded!\n");
  }
  pending_.Select(frame);
  for (ycOrderNode& node : outgoing_) {
    if (node.package != nullptr) {
      CommsTrace("*MP*            - order added to outgoing list (type = %d, length = %d)\n", node.package->Kind,
                 node.package->Length);
    } else {
      CommsTrace("*MP*            - null order added to outgoing list\n");
    }
    pending_.Append(std::move(node));
  }
  pending_.Contribute();
  outgoing_.clear();
  SendOrders();
}

bool YServerComms::Receive(ConnectionData* connection, ycOrderFrame& frame) {
  CommsTrace("*MP* ServerComms::Receive()\n");
  // Each player hands in frame 0, then every next frame once: a repeated
  // frame would complete a list without a player, a skipped or stale one
  // would hold up the queue.
  uint32_t& expected = nextFrame_[connection];
  if (frame.frame != expected) {
    CommsFault("(INT) Comms: a client sent frame %u where frame %u was due; its connection is closed\n", frame.frame,
               expected);
    return false;
  }
  ++expected;
  pending_.Select(frame.frame);
  lastReceived_ = frame.frame;
  for (const ycReceivedOrder& order : frame.orders) {
    if (!OrderOfSender(connection, order)) {
      continue;
    }
    CommsTrace("*MP*            - OrderReceived() (type = %d, length = %d)\n", order.kind,
               static_cast<int32_t>(order.payload.size()));
    ycOrderNode node{RebuildPackage(order)};
    if (node.package != nullptr) {
      CommsTrace("*MP*            - Adding order to outgoing list (type = %d, length = %d)\n", node.package->Kind,
                 node.package->Length);
    } else {
      CommsTrace("*MP*            - Adding null order to outgoing list\n");
    }
    pending_.Append(std::move(node));
  }
  pending_.Contribute();
  SendOrders();
  return true;
}

bool YServerComms::OrderOfSender(ConnectionData* connection, const ycReceivedOrder& order) {
  if (playerLookup_ == nullptr) {
    return true;
  }
  bool named = false;
  int32_t player = 0;
  if (!NamedPlayer(order, named, player)) {
    CommsFault("(INT) Comms: dropped an order of kind %u too short to name its player\n", order.kind);
    return false;
  }
  if (!named) {
    return true;
  }
  const int32_t own = playerLookup_(connection);
  if (player != own) {
    CommsFault("(INT) Comms: dropped an order of kind %u for player %d from the connection of player %d\n",
               order.kind, player, own);
    return false;
  }
  return true;
}

void YServerComms::SendOrders() {
  CommsTrace("*MP* ServerComms::SendOrders()\n");
  // A player who left can complete several waiting lists at once, so every
  // complete list at the head goes out, not only the first.
  while (ycOrderList* list = pending_.FirstIfComplete(playerCount_)) {
    const uint32_t size = kOrderFrameHeaderSize + list->size;
    ReserveSendBuffer(sendBuffer_, size);
    uint8_t* to = sendBuffer_.data();
    WriteOrderFrameHeader(to, list->frame, list->Count());
    to += kOrderFrameHeaderSize;
    incoming_.Select(list->frame);
    for (ycOrderNode& node : list->nodes) {
      if (node.package != nullptr) {
        CommsTrace("*MP*            - order copied to buffer (type = %d, length = %d)\n", node.package->Kind,
                   node.package->Length);
      } else {
        CommsTrace("*MP*            - null order copied to buffer\n");
      }
      to += WriteOrder(to, node.package.get());
      incoming_.Append(std::move(node));
    }
    CommsTrace("*MP*            - writing order to stream (size = %d)\n", size);
    MultiCast(server_, sendBuffer_.data(), size);
    pending_.PopFirst();
  }
}

bool YServerComms::FlushIncomming(uint32_t frame) {
  CommsTrace("*MP* ServerComms::FlushIncomming() (frame = %d)\n", frame);
  ycOrderList* list = incoming_.First();
  if (list == nullptr) {
    CommsTrace("*MP*            - no order list!\n");
    return false;
  }
  if (list->frame + latency_ != frame) {
    CommsTrace("*MP*            - wait first list (frame = %d, list->Frame = %d, latency = %d)\n", frame, list->frame,
               latency_);
    return true;
  }
  CommsTrace("*MP*            - flush first list (frame = %d, list->Frame = %d, latency = %d)\n", frame, list->frame,
             latency_);
  const uint32_t issued = list->frame;
  std::vector<ycOrderNode> nodes;
  nodes.swap(list->nodes);
  incoming_.PopFirst();
  for (ycOrderNode& node : nodes) {
    Deliver(node.package.get(), issued);
    node.package.reset();
  }
  return true;
}

bool YServerComms::AddClient(ycPlayerRecord* record) {
  if (record == nullptr) {
    return false;
  }
  CommsTrace("*MP* ServerComms::AddClient(name = %s, ip = %s)\n", record->name, record->address);
  if (playerCount_ >= kMostPlayers) {
    return false;
  }
  clients_[playerCount_] = *record;
  ++playerCount_;
  return true;
}

uint32_t YServerComms::ConnectionId(ConnectionData* connection) {
  if (connection == nullptr) {
    return 0;
  }
  const auto [entry, added] = connectionIds_.try_emplace(connection, nextConnectionId_);
  if (added) {
    ++nextConnectionId_;
  }
  return entry->second;
}

void YServerComms::RemoveClient(ycPlayerRecord* record) {
  if (record == nullptr) {
    return;
  }
  CommsTrace("*MP* ServerComms::RemoveClient(name = %s, ip = %s)\n", record->name, record->address);
  uint8_t wanted[kPlayerRecordWireSize];
  EncodePlayerRecord(*record, ConnectionId(record->connection), wanted);
  // Entry 0 is the server's own player, whom no leave removes; entries past
  // the count are empty and match no one.
  for (uint32_t index = 1; index < playerCount_; ++index) {
    uint8_t entry[kPlayerRecordWireSize];
    EncodePlayerRecord(clients_[index], ConnectionId(clients_[index].connection), entry);
    if (std::memcmp(entry, wanted, sizeof entry) == 0) {
      CommsTrace("*MP*            - client found (index = %d)\n", index);
      RemoveEntry(index);
      return;
    }
  }
}

bool YServerComms::RemoveClientOf(ConnectionData* connection, ycPlayerRecord* removed) {
  for (uint32_t index = 1; index < playerCount_; ++index) {
    if (clients_[index].connection == connection) {
      if (removed != nullptr) {
        *removed = clients_[index];
      }
      RemoveEntry(index);
      return true;
    }
  }
  return false;
}

void YServerComms::Withdraw(ConnectionData* connection) {
  const auto handedIn = nextFrame_.find(connection);
  if (handedIn == nextFrame_.end()) {
    return;
  }
  // A player who ran ahead has parts in lists that still wait for others;
  // counted on, they would complete those lists without a remaining player.
  pending_.Withdraw(handedIn->second);
  nextFrame_.erase(handedIn);
}

void YServerComms::RemoveEntry(uint32_t index) {
  Withdraw(clients_[index].connection);
  for (uint32_t later = index; later + 1 < kMostPlayers; ++later) {
    clients_[later] = clients_[later + 1];
  }
  clients_[kMostPlayers - 1] = ycPlayerRecord{};
  if (playerCount_ > 1) {
    --playerCount_;
  }
  // The lists that waited only for the player who left can go out now.
  SendOrders();
}
