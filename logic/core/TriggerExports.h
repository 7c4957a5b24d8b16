#pragma once

// The functions through which the game program puts its own triggers into
// the running logic's plan: it creates a trigger of a kind, sets its
// properties through the item's property interface, inserts it, and may
// remove or delete it later; the level editor reads the plan back through
// the short- and long-plan accessors. Thin wrappers around the logic's plan,
// exported with C linkage. Without a logic every one of them does nothing
// and answers null or 0.

#include <cstdint>

#include "base/LumoExport.h"

class LogicPlanItem;

// The kind of trigger to create (3-18 name trigger classes; any other a
// plain plan item).
using tTriggerType = int32_t;

extern "C" {

// A new trigger of the kind, due kCreatedTriggerDelay frames after the
// current frame; the caller owns it until it inserts it. Each kind is made
// by its class name through the class registry; a kind whose class is not
// in this library answers null with a log line.
COGITO_API LogicPlanItem* CreateTrigger(tTriggerType type);
// Plans the item for its due frame (its due frame less the current frame
// from now); the plan takes it over. Null is ignored.
COGITO_API void InsertTrigger(LogicPlanItem* item);
// Takes the item out of the plan, wherever it waits, without freeing it;
// an item that is not planned is left as it is. Null is ignored.
COGITO_API void RemoveTrigger(LogicPlanItem* item);
// Takes the item out of the plan and frees it (never the items behind it).
// Null, and an item linked into a list this logic does not hold, are
// ignored.
COGITO_API void DeleteTrigger(LogicPlanItem* item);
// The first item of a near bucket (0-29); null for any other number.
COGITO_API LogicPlanItem* GetShortPlan(int32_t bucket);
// The first item of the long list.
COGITO_API LogicPlanItem* GetLongPlan();
// The number of near buckets, 30.
COGITO_API int32_t GetLogicPlanSize();
// Releases the parked items: every item of the long list due at frame
// kParkedFrame or later becomes due (due - kParkedFrame + 1) frames from now,
// so the parked items keep their spacing; the countdown is sent again.
// Nothing happens once the frame counter is near the parking frame.
COGITO_API void PlanLvl1TrainTriggersNow();

}  // extern "C"

// A created trigger waits this many frames after the current frame.
constexpr uint32_t kCreatedTriggerDelay = 31;
// Items due at this frame or later wait in the long list until released.
constexpr uint32_t kParkedFrame = 100000000;
