#pragma once

// The logic's one way of calling an event on its listeners, shared by the
// files that hold its dispatchers.

#include <exception>

#include "base/DebugFormat.h"
#include "base/LumoList.h"
#include "logic/core/CLogic.h"
#include "logic/core/YLEventListener.h"

// The list holds only listeners (AddListener takes nothing else), and a
// listener may come from another deliverable, so it is reached through its
// table of operations alone, without a run-time type test.
//
// A listener that throws is logged with its name and the event, and the
// event goes on to the next listener: a display or sound fault must not cut
// one machine's frame short, which would break the lock step of a network
// game. Nothing passes into the logic.
template <typename Call>
void CLogic::Dispatch(const char* faultFormat, Call&& call) {
  if (Listeners == nullptr) {
    return;
  }
  for (LumoNode* node = Listeners->first; node != nullptr; node = node->next) {
    auto* listener = static_cast<YLEventListener*>(node);
    try {
      call(*listener);
    } catch (const std::exception& fault) {
      DebugPrint(faultFormat, DebugText(listener->Name));
      DebugPrint("-->%s\n", fault.what());
    } catch (...) {
      DebugPrint(faultFormat, DebugText(listener->Name));
    }
  }
}
