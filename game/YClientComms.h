#pragma once

#include <cstdint>
#include <vector>

#include "game/YCommsBase.h"
#include "game/ycOrderListQueue.h"

// The exchange of a player who joined a server: it writes each frame's own
// orders to the server and runs a frame only when its orders are known, or
// while it is fewer than latency frames past the last list received.
class YClientComms : public YCommsBase {
 public:
  explicit YClientComms(ConnectionData* connection);

  void Run(ycOrderCallBacks* callbacks) override;
  void Send(COrderPackage* package) override;
  bool Flush(uint32_t frame) override;
  bool Receive(ConnectionData* connection, ycOrderFrame& frame) override;

  void SetLatency(uint32_t latency);
  uint32_t Latency() const { return latency_; }
  uint32_t LastReceivedFrame() const { return lastReceived_; }
  ConnectionData* Connection() const { return connection_; }

 private:
  void FlushOutgoing(uint32_t frame);
  bool FlushIncomming(uint32_t frame);

  ConnectionData* connection_;
  std::vector<ycOrderNode> outgoing_;
  uint32_t outgoingSize_ = 0;
  uint32_t outgoingCount_ = 0;
  std::vector<uint8_t> sendBuffer_;
  uint32_t latency_ = 0;
  uint32_t lastReceived_ = 0;
  uint32_t nextFrame_ = 0;  // the frame the server must send next
  int64_t lastFlushed_ = -1;
  ycOrderListQueue incoming_;
};
