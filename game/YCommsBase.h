#pragma once

#include <cstdint>

#include "game/YCommsReader.h"

struct COrderPackage;
struct ConnectionData;

// The game's handlers of a running exchange: start runs once when the
// exchange starts; accept applies one order, with the frame in which it was
// issued.
struct ycOrderCallBacks {
  void (*start)() = nullptr;
  void (*accept)(COrderPackage* package, uint32_t frame) = nullptr;
};

// Every order of a game passes through one comms object: Send hands an
// order in, Flush answers once per frame whether the frame may run and
// delivers the orders due in it.
class YCommsBase {
 public:
  YCommsBase() = default;
  YCommsBase(const YCommsBase&) = delete;
  YCommsBase& operator=(const YCommsBase&) = delete;
  virtual ~YCommsBase() = default;

  // Stores the callbacks, calls start and marks the exchange running.
  virtual void Run(ycOrderCallBacks* callbacks);
  // Queues one order of this player; the package is the comms object's from
  // now on.
  virtual void Send(COrderPackage* package);
  // True when the frame may run now (its due orders were delivered); false:
  // wait and ask again with the same frame.
  virtual bool Flush(uint32_t frame);
  // An order frame that the connection's reader read whole. False when the
  // peer broke the order of frames: the caller closes the connection.
  virtual bool Receive(ConnectionData* connection, ycOrderFrame& frame);

  bool Running() const { return running != 0; }

 protected:
  // Hands the package to the game's accept callback, when there is one.
  void Deliver(COrderPackage* package, uint32_t frame);

  void (*start)() = nullptr;
  void (*accept)(COrderPackage* package, uint32_t frame) = nullptr;
  uint8_t running = 0;
};
