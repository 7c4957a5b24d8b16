#include "game/YClientComms.h"

#include "game/CommsLog.h"
#include "game/OrderFrameBytes.h"
#include "logic/core/COrderPackage.h"
#include "network/ConnectionData.h"

YClientComms::YClientComms(ConnectionData* connection)
    : connection_(connection), sendBuffer_(kInitialSendBuffer) {}

void YClientComms::Run(ycOrderCallBacks* callbacks) {
  CommsTrace("*MP* ClientComms::Run( ycOrderCallBacks* )\n");
  outgoing_.clear();
  outgoingSize_ = 0;
  outgoingCount_ = 0;
  sendBuffer_.assign(kInitialSendBuffer, 0);
  latency_ = 0;
  lastReceived_ = 0;
  lastFlushed_ = -1;
  YCommsBase::Run(callbacks);
}

void YClientComms::Send(COrderPackage* package) {
  if (package == nullptr) {
    return;
  }
  CommsTrace("*MP* ClientComms::Send() (COrderPackage*, type = %d, length = %d)\n", package->Kind, package->Length);
  outgoingSize_ += OrderBytes(package);
  ++outgoingCount_;
  outgoing_.push_back(ycOrderNode{ycPackagePointer(package, ycPackageRelease{1})});
  CommsTrace("*MP*            - Order added to outgoing list (listCount = %d, listSize = %d)\n", outgoingCount_,
             outgoingSize_);
}

bool YClientComms::Flush(uint32_t frame) {
  CommsTrace("*MP* ClientComms::Flush() (frame = %d, previousFrame = %d)\n", frame,
             static_cast<int32_t>(lastFlushed_));
  if (static_cast<int64_t>(frame) != lastFlushed_) {
    FlushOutgoing(frame);
    lastFlushed_ = frame;
  }
  return FlushIncomming(frame);
}

void YClientComms::FlushOutgoing(uint32_t frame) {
  CommsTrace("*MP* ClientComms::FlushOutgoing() (frame = %d)\n", frame);
  if (outgoingSize_ == 0 || outgoingCount_ == 0) {
    outgoingCount_ = 1;
    outgoingSize_ += kOrderHeaderSize;
    CommsTrace("*MP*            - NO ORDERS: list expanded!\n");
  }
  const uint32_t size = kOrderFrameHeaderSize + outgoingSize_;
  ReserveSendBuffer(sendBuffer_, size);
  uint8_t* to = sendBuffer_.data();
  WriteOrderFrameHeader(to, frame, outgoingCount_);
  to += kOrderFrameHeaderSize;
  if (outgoing_.empty()) {
    outgoing_.emplace_back();
    CommsTrace("*MP*            - NO ORDERS: null order created!\n");
  }
  for (ycOrderNode& node : outgoing_) {
    to += WriteOrder(to, node.package.get());
  }
  Write(connection_, sendBuffer_.data(), size);
  outgoing_.clear();
  outgoingSize_ = 0;
  outgoingCount_ = 0;
}

bool YClientComms::Receive(ConnectionData*, ycOrderFrame& frame) {
  CommsTrace("*MP* ClientComms::Receive()\n");
  // The server sends frame 0, then every next frame once; anything else
  // would deliver a frame twice or never.
  if (frame.frame != nextFrame_) {
    CommsFault("(INT) Comms: the server sent frame %u where frame %u was due; the connection is closed\n",
               frame.frame, nextFrame_);
    return false;
  }
  ++nextFrame_;
  incoming_.Select(frame.frame);
  lastReceived_ = frame.frame;
  for (const ycReceivedOrder& order : frame.orders) {
    ycOrderNode node{RebuildPackage(order)};
    if (node.package != nullptr) {
      CommsTrace("*MP*            - Adding order to incomming list (type = %d, length = %d)\n", node.package->Kind,
                 node.package->Length);
    } else {
      CommsTrace("*MP*            - Adding null order to incomming list\n");
    }
    incoming_.Append(std::move(node));
  }
  return true;
}

bool YClientComms::FlushIncomming(uint32_t frame) {
  CommsTrace("*MP* ClientComms::FlushIncomming() (frame = %d)\n", frame);
  ycOrderList* list = incoming_.First();
  if (list == nullptr) {
    if (latency_ == 0) {
      return true;
    }
    return frame < lastReceived_ + latency_;
  }
  if (list->frame + latency_ != frame) {
    return true;
  }
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

void YClientComms::SetLatency(uint32_t latency) {
  CommsTrace("*MP* ClientComms::SetLatency( %d )\n", latency);
  latency_ = latency;
}
