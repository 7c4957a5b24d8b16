// A player hands unit orders to the units it has selected.

#include <vector>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/COrder.h"
#include "logic/core/CPlayer.h"
#include "logic/world/PsychicPlanItem.h"
#include "logic/world/YLUnit.h"

namespace {

std::vector<int32_t> SelectionCopy(const tCollection<int32_t>& selection) {
  return std::vector<int32_t>(selection.items, selection.items + selection.count);
}

YLUnit* UnitOf(int32_t id) {
  const CLogic* logic = YLThing::GetLogic();
  return logic != nullptr ? UnitOf(logic->GetThing(id)) : nullptr;
}

}  // namespace

void CPlayer::NewOrder(const COrder& order) {
  try {
    for (const int32_t id : SelectionCopy(Selection)) {
      if (YLUnit* unit = UnitOf(id)) {
        unit->ExecutePlan(order.BuildPlan());
      }
    }
  } catch (...) {
    DebugPrint("exception in CPlayer::neworder\n");
  }
}

void CPlayer::AddToOrderQueue(const COrder& order) {
  try {
    for (const int32_t id : SelectionCopy(Selection)) {
      if (YLUnit* unit = UnitOf(id)) {
        unit->InsertPlanItem(order.BuildPlan());
      }
    }
  } catch (...) {
    DebugPrint("exception in CPlayer::AddToOrderQueue\n");
    throw;
  }
}
