#pragma once

#include <cstdint>

#include "base/LumoNode.h"

class ThingInfo;
struct MoveStep;

// The player parameters (money, frags, score, ...), indexes 0-35.
using ParamEnum = int32_t;

// What the logic tells the game program and the computer players. Listeners
// are nodes of the logic's listener list, called in list order at the moment
// the event happens; the node name names the listener in fault reports. The
// order of these operations is part of the interface between the
// deliverables: they are reached only through this table. Every operation
// does nothing here. The class lives wholly in this header, so the game
// program and the computer player derive their listeners from it without
// linking the logic library's copy.
class YLEventListener : public LumoNode {
 public:
  const char* GetClassName() const override { return "YLEventListener"; }

  // The logic map's grid (a new or resized map).
  virtual void EventMap(const void* /*grid*/) {}
  // A thing appeared or changed; typeName is null for the name "0".
  virtual void EventThing(ThingInfo* /*info*/, const char* /*typeName*/) {}
  // A thing starts an action: where it stands, its facing and the move.
  virtual void EventAction(int32_t /*id*/, const MoveStep* /*action*/) {}
  virtual void EventEnter(int32_t /*unitId*/, int32_t /*containerId*/) {}
  virtual void EventExit(int32_t /*unitId*/, int32_t /*containerId*/) {}
  virtual void EventSpeech(int32_t /*kind*/, int32_t /*subjectId*/, int32_t /*message*/, int32_t /*value*/) {}
  virtual void EventSelection(int32_t /*player*/, int32_t /*id*/, int32_t /*selected*/) {}
  virtual void EventGore(int32_t /*x*/, int32_t /*y*/, float /*amount*/, int32_t /*kind*/) {}
  virtual void EventSplat(int32_t /*x*/, int32_t /*y*/, float /*amount*/, int32_t /*kind*/) {}
  virtual void EventParameter(int32_t /*player*/, ParamEnum /*parameter*/, int32_t /*value*/) {}
  virtual void EventProjectile(int32_t /*fromX*/, int32_t /*fromY*/, int32_t /*toX*/, int32_t /*toY*/, int32_t /*kind*/) {}
  // passThrough comes unchanged from the plan item that ended the game.
  virtual void EventGameOver(int32_t /*player*/, int32_t /*won*/, void* /*passThrough*/) {}
  virtual void EventTimer(int32_t /*player*/, int32_t /*framesLeft*/, const char* /*label*/) {}
  // An order package of kind 0 (a chat line, or the empty order of a
  // network frame): its payload's length and bytes, null for length 0. The
  // bytes are not NUL-terminated: read exactly length of them.
  virtual void EventUnknownOrder(int32_t /*length*/, const void* /*payload*/) {}
  // The objective and task events carry texts: an int cannot hold a
  // pointer on every machine.
  virtual void EventSetObjectiveValue(int32_t /*objective*/, int32_t /*value*/, const char* /*text*/) {}
  virtual void EventNewTask(int32_t /*task*/, const char* /*text*/) {}
};
