#include "logic/world/YLTCup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/GroundMap.h"
#include "logic/core/RecordFields.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLTCup> classOfYLTCup(kVersion_1_6_0_6, "YLTCup", "YLThing");
LOGIC_FIELD_PROPERTY(YLTCup, PossesionTimer, PropertyInteger, "tInteger");
LumoClassOf<YLTBloemBollen> classOfYLTBloemBollen(kVersion_1_6_0_6, "YLTBloemBollen", "YLThing");

constexpr int32_t kCupKind = 7;
// Where a carried cup is: nowhere on the map.
constexpr int32_t kCarriedPosition = -1;
// How far around a container's entrance a dropped cup looks for a free
// cell, in rings of cells.
constexpr int32_t kDropSearchRings = 4;

struct Cell {
  int32_t dx;
  int32_t dy;
};

struct Field {
  const char* name;
  const Cell* cells;
  int32_t count;
};

constexpr Cell kField763[] = {{2, 1}, {1, 2}, {2, 2}, {3, 2}, {2, 3}};
constexpr Cell kField776[] = {{0, -1}, {0, -2}};
constexpr Cell kField777[] = {{0, -1}};
constexpr Field kFields[] = {{"Obst763_flowerfield", kField763, 5},
                             {"Obst776-flowerfield", kField776, 2},
                             {"Obst777-flowerfield", kField777, 1}};

// a + b as 32-bit values add, wrapping: a stored position may hold any value.
int32_t Wrapped(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// A unit of a player, not the police.
bool OfAPlayer(const YLUnit& unit) {
  const int32_t owner = unit.GetOwner();
  return owner != 0 && owner != CLogic::kPolicePlayer;
}

// Out cold or falling: such a unit can neither hold nor take the cup.
bool IsDown(const YLUnit& unit) {
  const int32_t move = unit.Info != nullptr ? unit.Info->MoveNumber : YLUnit::kMoveOut;
  return move == YLUnit::kMoveOut || move == YLUnit::kMoveFall;
}

}  // namespace

// ---- The cup ----

YLTCup::YLTCup(int32_t x, int32_t y) {
  Info.reset(new ThingInfo);
  Info->Hp = 1.0f;
  Info->Status = StatusAlive;
  Info->X = x;
  Info->Y = y;
  Info->Armor = 1.0f;
  Info->BuildingType = kCupKind;
}

YLTCup::YLTCup() : YLTCup(0, 0) {}

const char* YLTCup::GetClassName() const { return "YLTCup"; }

LUMO_GENERIC_FIELD(YLTCup, PossesionTimer)

YLUnit* YLTCup::GetCarrier() const {
  const CLogic* logic = GetLogic();
  if (Info == nullptr || Info->Owner == 0 || logic == nullptr) {
    return nullptr;
  }
  auto* unit = UnitOf(logic->GetThing(Info->Owner));
  return unit != nullptr && unit->CarriesCup() ? unit : nullptr;
}

bool YLTCup::SetCarrier(int32_t unitId) {
  const CLogic* logic = GetLogic();
  auto* unit = logic != nullptr ? UnitOf(logic->GetThing(unitId)) : nullptr;
  if (Info == nullptr || unit == nullptr || !OfAPlayer(*unit)) {
    return false;
  }
  YLUnit* previous = GetCarrier();
  unit->TakeCup();
  if (previous != nullptr && previous != unit) {
    previous->DropCup();
  }
  PossesionTimer = 0;
  Info->Owner = unitId;
  return true;
}

void YLTCup::Drop(YLUnit& carrier) {
  if (Info == nullptr || carrier.Info == nullptr) {
    return;
  }
  int32_t x = 0;
  int32_t y = 0;
  const bool onMap = FindDropCell(carrier, x, y);
  carrier.DropCup();
  Info->Owner = 0;
  PossesionTimer = 0;
  Info->X = x;
  Info->Y = y;
  Info->Status |= StatusAlive;
  CMap* map = GetMap();
  if (map != nullptr && onMap) {
    map->PlaceThing(this);
  }
  ReportAction();
}

bool YLTCup::FindDropCell(const YLUnit& carrier, int32_t& x, int32_t& y) const {
  const YLThing* container = carrier.GetContainer();
  if (container == nullptr) {
    x = carrier.Info->X;
    y = carrier.Info->Y;
    return true;
  }
  // The entrance cell itself belongs to the container: a cup written over
  // it would take the door away from the building.
  x = container->GetX();
  y = container->GetY();
  const CMap* map = GetMap();
  if (map == nullptr) {
    return false;
  }
  for (int32_t ring = 1; ring <= kDropSearchRings; ++ring) {
    for (int32_t dy = -ring; dy <= ring; ++dy) {
      for (int32_t dx = -ring; dx <= ring; ++dx) {
        if (std::max(std::abs(dx), std::abs(dy)) != ring) {
          continue;
        }
        const int32_t cellX = Wrapped(x, dx);
        const int32_t cellY = Wrapped(y, dy);
        if (map->IsWalkable(cellX, cellY) && map->GetThingIDAt(cellX, cellY) == 0) {
          x = cellX;
          y = cellY;
          return true;
        }
      }
    }
  }
  return false;
}

void YLTCup::LookForCarrier() {
  CLogic* logic = GetLogic();
  CMap* map = GetMap();
  if (logic == nullptr || map == nullptr) {
    return;
  }
  for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
    const int32_t x = Wrapped(Info->X, kDirectionX[direction]);
    const int32_t y = Wrapped(Info->Y, kDirectionY[direction]);
    auto* unit = UnitOf(logic->GetThing(map->GetThingIDAt(x, y)));
    if (unit == nullptr || !OfAPlayer(*unit) || IsDown(*unit) || (unit->Info->Status & YLUnit::kStatusArrested) != 0) {
      continue;
    }
    SetCarrier(unit->GetTid());
    map->RemoveThing(this);
    Info->X = kCarriedPosition;
    Info->Y = kCarriedPosition;
    Info->Status &= ~static_cast<uint32_t>(StatusAlive);
    ReportAction();
    return;
  }
}

bool YLTCup::Propagate() {
  if (Info == nullptr) {
    return true;
  }
  if (GetTime() != 255) {
    SetTime(static_cast<uint8_t>(GetTime() + 1));
  }
  if (Info->Owner == 0) {
    LookForCarrier();
    return true;
  }
  YLUnit* carrier = GetCarrier();
  if (carrier == nullptr) {
    return true;
  }
  // A dead carrier holds nothing: without this a carrier destroyed where
  // it was never knocked down would score for ever.
  if (IsDown(*carrier) || (carrier->Info->Status & StatusAlive) == 0) {
    Drop(*carrier);
    return true;
  }
  PossesionTimer = Wrapped(PossesionTimer, 1);
  if (PossesionTimer >= kTicksPerScore) {
    PossesionTimer = 0;
    const CLogic* logic = GetLogic();
    if (CPlayer* player = logic != nullptr ? logic->GetPlayer(carrier->GetOwner()) : nullptr) {
      player->AddParam(ParamScore, 1);
    }
  }
  return true;
}

void YLTCup::GetDebugText(tString& text) const {
  char line[64] = "";
  if (Info != nullptr && Info->Owner != 0) {
    std::snprintf(line, sizeof line, "cup carried by %d\n", static_cast<int>(Info->Owner));
  } else if (Info != nullptr) {
    std::snprintf(line, sizeof line, "cup on ground (%d,%d)\n", static_cast<int>(Info->X), static_cast<int>(Info->Y));
  }
  text = line;
}

// ---- The flower field ----

YLTBloemBollen::YLTBloemBollen() = default;

const char* YLTBloemBollen::GetClassName() const { return "YLTBloemBollen"; }

void YLTBloemBollen::BuildGroundMap() {
  if (Info == nullptr) {
    return;
  }
  Info->Ground.reset(new GroundMap);
  const CLogic* logic = GetLogic();
  const char* name = logic != nullptr ? logic->GetString(Info->Gfx) : nullptr;
  if (name == nullptr) {
    return;
  }
  for (const Field& field : kFields) {
    if (std::strcmp(name, field.name) != 0) {
      continue;
    }
    for (int32_t index = 0; index < field.count; ++index) {
      Info->Ground->AddPoint(0, field.cells[index].dx, field.cells[index].dy);
    }
  }
}

bool YLTBloemBollen::Propagate() {
  const bool alive = YLThing::Propagate();
  if (!alive || Info == nullptr || Info->Ground == nullptr) {
    return alive;
  }
  const CMap* map = GetMap();
  const YLKnowledgeMap* grid = map != nullptr ? map->GetStratMap() : nullptr;
  if (grid == nullptr) {
    return true;
  }
  const int32_t cells = Info->Ground->GetPointCount(0);
  // The first point is the field's own cell, where its own id stands.
  for (int32_t n = 1; n < cells; ++n) {
    int32_t dx = 0;
    int32_t dy = 0;
    Info->Ground->GetPoint(0, n, dx, dy);
    if (grid->GetUnit(Wrapped(Info->X, dx), Wrapped(Info->Y, dy)) != 0) {
      Info->Hp = 0.0f;
      Destroy();
      return false;
    }
  }
  return true;
}

bool YLTBloemBollen::TakeDamage(float) {
  if (Info == nullptr || (Info->Status & StatusAlive) == 0) {
    return false;
  }
  Info->Hp = 0.0f;
  Destroy();
  return true;
}

void YLTBloemBollen::GetDebugText(tString& text) const {
  const bool intact = Info != nullptr && (Info->Status & StatusAlive) != 0;
  text = intact ? "bloembollen intact\n" : "bloembollen trashed\n";
}
