#include "bot/YBCrewAssignment.h"

#include "base/LumoClass.h"
#include "bot/BotSupport.h"
#include "bot/YBCrew.h"
#include "bot/YBIdentifierList.h"
#include "bot/YBMasterMind.h"
#include "bot/YBSector.h"
#include "bot/YBTask.h"
#include "bot/YBThing.h"
#include "logic/core/LogicQueries.h"
#include "logic/core/ThingInfo.h"
#include "logic/world/PsychicPlanItem.h"

namespace {

LumoClassOf<YBCrewAssignment> classOfYBCrewAssignment(kVersion_1_6_0_6, "YBCrewAssignment", "LumoObjects");

enum class MoveAim { None, Point, Thing, Here };

// What a unit's current move aims at, by the move's kind.
MoveAim AimOf(int32_t kind) {
  switch (kind) {
    case 5: case 22: case 27: case 50: case 54:
      return MoveAim::Point;
    case 18: case 26:
      return MoveAim::Here;
    case 28: case 48: case 49: case 52: case 53: case 55: case 56:
      return MoveAim::Thing;
    default:
      break;
  }
  if ((kind >= 7 && kind <= 17) || (kind >= 19 && kind <= 21) || (kind >= 23 && kind <= 25)) {
    return MoveAim::Thing;
  }
  return MoveAim::None;
}

}  // namespace

void YBCrewAssignment::OnFree() {
  for (int32_t index = 0; index < count; ++index) {
    YBUnit* unit = GetUnit(index);
    if (unit != nullptr && unit->Assignment == this) {
      unit->Assignment = nullptr;
    }
  }
  Clear();
  SetTask(nullptr);
  SetCrew(nullptr);
  Objective = nullptr;
}

void YBCrewAssignment::DoAbortReferenceTo(LumoObject* other) {
  if (other == Crew) {
    Crew = nullptr;
  }
  if (other == Task) {
    Task = nullptr;
  }
  LumoObjects::DoAbortReferenceTo(other);
}

void YBCrewAssignment::SetCrew(YBCrew* crew) {
  if (crew == Crew) {
    return;
  }
  YBCrew* old = Crew;
  Crew = crew;
  if (old != nullptr) {
    RemoveReference(old);
    if (old->Situation == nullptr) {
      DestroyObject(old);
    }
  }
  AddReference(crew);
}

void YBCrewAssignment::SetTask(YBTask* task) {
  if (task == Task) {
    return;
  }
  RemoveReference(Task);
  Task = task;
  AddReference(task);
}

int32_t YBCrewAssignment::GetPlayer() const { return Crew != nullptr ? Crew->Player : 0; }
int32_t YBCrewAssignment::GetCrewID() const { return Crew != nullptr ? static_cast<int32_t>(Crew->ID) : -1; }

bool YBCrewAssignment::HasUnit(const YBUnit* unit) const {
  return IndexOf(const_cast<YBUnit*>(unit)) >= 0;
}

void YBCrewAssignment::AddUnit(YBUnit* unit) {
  if (unit == nullptr) {
    return;
  }
  Append(unit);
  unit->Assignment = this;
}

void YBCrewAssignment::Drop(YBUnit* unit) {
  for (int32_t index = count - 1; index >= 0; --index) {
    if (GetUnit(index) == unit) {
      DeleteAt(index);
    }
  }
}

void YBCrewAssignment::RemoveUnit(YBUnit* unit) {
  if (unit == nullptr || unit->Assignment != this) {
    return;
  }
  Drop(unit);
  unit->Assignment = nullptr;
}

void YBCrewAssignment::TakeUnits(YBCrewAssignment* other) {
  if (other == nullptr || other == this) {
    return;
  }
  for (int32_t index = 0; index < other->count; ++index) {
    AddUnit(other->GetUnit(index));
  }
}

void YBCrewAssignment::SetUnits(const YBIdentifierList* list) {
  while (count > 0) {
    YBUnit* unit = GetUnit(count - 1);
    DeleteAt(count - 1);
    if (unit != nullptr && unit->Assignment == this) {
      unit->Assignment = nullptr;
    }
  }
  const YBMasterMind* controller = YBMasterMind::GetCurrent();
  if (list != nullptr && controller != nullptr) {
    for (int32_t id : list->Values) {
      AddUnit(controller->GetUnit(id));
    }
  }
  if (Crew != nullptr) {
    Crew->UpdateFrom(this);
  }
}

bool YBCrewAssignment::Update() {
  return BotGuard("(BOT) Unhandled exception in YBCrewAssignment::Update()\n", [&] {
    const YBMasterMind* controller = YBMasterMind::GetCurrent();
    int64_t sumX = 0;
    int64_t sumY = 0;
    int64_t destinationX = 0;
    int64_t destinationY = 0;
    int32_t counted = 0;
    int32_t destinations = 0;
    for (int32_t index = 0; index < count;) {
      YBUnit* unit = GetUnit(index);
      if (unit->IsGone() || (unit->Info->Status & kStatusArrested) != 0) {
        RemoveUnit(unit);
        continue;
      }
      ++index;
      sumX += unit->GetX();
      sumY += unit->GetY();
      ++counted;
      const PsychicPlanItem* move = GetCurrMove(unit->GetID());
      if (move == nullptr) {
        continue;
      }
      switch (AimOf(move->Action)) {
        case MoveAim::Point:
          destinationX += move->Param1;
          destinationY += move->Param2;
          ++destinations;
          break;
        case MoveAim::Thing:
          if (const YBThing* target = controller != nullptr ? controller->GetThing(move->Param1) : nullptr) {
            destinationX += target->GetX();
            destinationY += target->GetY();
          } else {
            DebugPrint("YBCrewAssignment::Update found a plan of type %d with no Thing in Param1=%d\n", move->Action,
                       move->Param1);
          }
          break;
        case MoveAim::Here:
          destinationX += sumX;
          destinationY += sumY;
          break;
        case MoveAim::None:
          break;
      }
    }
    if (counted > 0 && controller != nullptr) {
      const int32_t averageX = static_cast<int32_t>(sumX / counted);
      const int32_t averageY = static_cast<int32_t>(sumY / counted);
      if (const YBSector* nearest = controller->GetSectorNearestCentre(averageX, averageY)) {
        Sector = static_cast<int16_t>(nearest->GetID());
      }
      if (Objective == nullptr && (Task == nullptr || Task->AllowsSplitting())) {
        const int32_t limit = kStrayDistance - kStrayShrink / counted;
        for (int32_t index = 0; index < count;) {
          YBUnit* unit = GetUnit(index);
          const YBSector* sector = controller->GetSector(unit);
          if (sector == nullptr ||
              (sector->GetID() != Sector && controller->GetSectorDistance(sector->GetID(), Sector) > limit)) {
            RemoveUnit(unit);
            continue;
          }
          ++index;
        }
      }
    }
    DestinationSector = Sector;
    if (destinations > 0 && controller != nullptr) {
      const YBSector* nearest = controller->GetSectorNearestCentre(static_cast<int32_t>(destinationX / destinations),
                                                                   static_cast<int32_t>(destinationY / destinations));
      if (nearest != nullptr) {
        DestinationSector = static_cast<int16_t>(nearest->GetID());
      }
    }
    return true;
  });
}
