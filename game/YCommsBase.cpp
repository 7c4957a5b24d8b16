#include "game/YCommsBase.h"

#include "logic/core/COrderPackage.h"

void YCommsBase::Run(ycOrderCallBacks* callbacks) {
  start = callbacks != nullptr ? callbacks->start : nullptr;
  accept = callbacks != nullptr ? callbacks->accept : nullptr;
  if (start != nullptr) {
    start();
  }
  running = 1;
}

void YCommsBase::Send(COrderPackage* package) {
  // Nothing carries the order on; it is still ours to free.
  DeleteOrderPackage(package);
}

bool YCommsBase::Flush(uint32_t) { return true; }

bool YCommsBase::Receive(ConnectionData*, ycOrderFrame&) { return true; }

void YCommsBase::Deliver(COrderPackage* package, uint32_t frame) {
  if (accept != nullptr && package != nullptr) {
    accept(package, frame);
  }
}
