#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "game/YCommsBase.h"
#include "game/YCommsRecords.h"
#include "game/ycOrderListQueue.h"

struct ServerData;

// The exchange of the player who serves a network game: it collects every
// player's orders of a frame, multicasts the frame's list when all players
// have handed theirs in, and applies it latency frames later.
class YServerComms : public YCommsBase {
 public:
  static constexpr uint32_t kMostPlayers = 4;

  YServerComms(ServerData* server, uint32_t latency);

  void Run(ycOrderCallBacks* callbacks) override;
  void Send(COrderPackage* package) override;
  bool Flush(uint32_t frame) override;
  bool Receive(ConnectionData* connection, ycOrderFrame& frame) override;

  // Takes the player into the next table entry; false with four players.
  bool AddClient(ycPlayerRecord* record);
  // Removes the entry whose wire form equals the record's; no match
  // changes nothing.
  void RemoveClient(ycPlayerRecord* record);
  // Removes the entry of the connection (its player is gone) and copies it
  // out; false when the connection has none.
  bool RemoveClientOf(ConnectionData* connection, ycPlayerRecord* removed);
  // The connection's number on the wire: the server's own numbering, never
  // an address.
  uint32_t ConnectionId(ConnectionData* connection);
  // How the server learns which logic player a connection plays; null
  // checks nothing.
  void SetPlayerLookup(int32_t (*lookup)(ConnectionData* connection)) { playerLookup_ = lookup; }

  uint32_t PlayerCount() const { return playerCount_; }
  const ycPlayerRecord& Client(uint32_t index) const { return clients_[index]; }
  uint32_t Latency() const { return latency_; }
  uint32_t LastReceivedFrame() const { return lastReceived_; }

 private:
  void FlushOutgoing(uint32_t frame);
  bool FlushIncomming(uint32_t frame);
  void SendOrders();
  // False when a client's order names another player than the client's
  // own, or is too short to tell.
  bool OrderOfSender(ConnectionData* connection, const ycReceivedOrder& order);
  void RemoveEntry(uint32_t index);
  // Forgets what the connection handed in towards lists still waiting.
  void Withdraw(ConnectionData* connection);

  ServerData* server_;
  std::vector<ycOrderNode> outgoing_;
  ycOrderListQueue pending_;
  ycOrderListQueue incoming_;
  ycPlayerRecord clients_[kMostPlayers];
  uint32_t playerCount_ = 1;  // the server's own player
  std::vector<uint8_t> sendBuffer_;
  uint32_t latency_;
  uint32_t lastReceived_ = 0;
  int64_t lastFlushed_ = -1;
  // Looked up by connection only; never iterated for a decision.
  std::map<ConnectionData*, uint32_t> nextFrame_;
  std::map<ConnectionData*, uint32_t> connectionIds_;
  uint32_t nextConnectionId_ = 1;
  int32_t (*playerLookup_)(ConnectionData* connection) = nullptr;
};
