#include "logic/world/YLTCup.h"

#include <cstring>

#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/GroundMap.h"

namespace {

LumoClassOf<YLTCup> classOfYLTCup(kVersion_1_6_0_6, "YLTCup", "YLThing");
LumoClassOf<YLTBloemBollen> classOfYLTBloemBollen(kVersion_1_6_0_6, "YLTBloemBollen", "YLThing");

constexpr int32_t kCupKind = 7;

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

}  // namespace

YLTCup::YLTCup(int32_t x, int32_t y) {
  Info.reset(new ThingInfo);
  Info->Status = StatusAlive;
  Info->X = x;
  Info->Y = y;
  Info->Armor = 1.0f;
  Info->BuildingType = kCupKind;
}

YLTCup::YLTCup() : YLTCup(0, 0) {}

const char* YLTCup::GetClassName() const { return "YLTCup"; }

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
