#pragma once

#include <deque>

#include "game/YCommsBase.h"
#include "game/ycOrderListQueue.h"

// The exchange of a game without other players: each order is applied at
// the next frame, in the order it was given.
class YSinglePlayerComms : public YCommsBase {
 public:
  void Send(COrderPackage* package) override;
  bool Flush(uint32_t frame) override;

 private:
  std::deque<ycPackagePointer> queue_;
};
