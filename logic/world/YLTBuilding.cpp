#include "logic/world/YLTBuilding.h"

#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/GroundMap.h"
#include "logic/core/RecordFields.h"
#include "logic/core/YLConfig.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitShopOwner.h"

namespace {

LumoClassOf<YLTBuilding> classOfYLTBuilding(kVersion_1_6_0_6, "YLTBuilding", "YLTContainerThing");
LOGIC_FIELD_PROPERTY(YLTBuilding, WallX, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTBuilding, WallY, PropertyPointer, "tPointer");
LumoClassOf<YLTBank> classOfYLTBank(kVersion_1_6_0_6, "YLTBank", "YLTBuilding");
LumoClassOf<YLTPoliceDept> classOfYLTPoliceDept(kVersion_1_6_0_6, "YLTPoliceDept", "YLTBuilding");
LumoClassOf<YLTPublicBuilding> classOfYLTPublicBuilding(kVersion_1_6_0_6, "YLTPublicBuilding", "YLTBuilding");

constexpr float kNewBuildingArmor = 0.85f;
// The wall a building stands on, for the facings that have one.
constexpr int32_t kWallLength = 4;
constexpr int32_t kWallGrowth = 16;

// Mending per tick by state, and where each stops.
constexpr float kNormalMend = 0.0001f;
constexpr float kBrokenMend = 0.0001f;
constexpr float kBrokenMendedAt = 0.95f;
constexpr float kTrashedMend = 0.0005f;
constexpr float kTrashedMendedAt = 0.03f;
constexpr float kRepairMend = 0.0007f;

constexpr const char* kMoveNames[YLTBuilding::kMoveCount] = {
    "BuildingStateNormal", "BuildingStateBroken",    "BuildingStateTrashed",   "BuildingStateRepair",
    "BuildingAnimBroken",  "BuildingAnimTrashed",    "BuildingAnimBeginRepair", "BuildingAnimEndRepair",
};

bool IsShopOwner(const YLUnit* unit) { return dynamic_cast<const YLUnitShopOwner*>(unit) != nullptr; }

}  // namespace

YLTBuilding::YLTBuilding() : WallX(nullptr, nullptr, nullptr, kWallGrowth), WallY(nullptr, nullptr, nullptr, kWallGrowth) {}

const char* YLTBuilding::GetClassName() const { return "YLTBuilding"; }

ThingInfo* YLTBuilding::MakeInfo() const { return new BuildingInfo; }

BuildingInfo* YLTBuilding::GetBuildingInfo() const { return dynamic_cast<BuildingInfo*>(Info.get()); }

// ---- The move table ----

std::unique_ptr<LumoObjects, tObjectDestroyer>& YLTBuilding::MoveTableSlot() {
  static std::unique_ptr<LumoObjects, tObjectDestroyer> table;
  return table;
}

void YLTBuilding::InitMoveTable() {
  auto& table = MoveTableSlot();
  if (table == nullptr) {
    table.reset(new LumoObjects(true));
  }
  if (table->count < kMoveCount) {
    table->SetCount(kMoveCount);
  }
  for (int32_t number = 0; number < kMoveCount; ++number) {
    auto* move = dynamic_cast<MoveInfo*>(table->At(number));
    if (move == nullptr) {
      DestroyObject(table->At(number));
      move = new MoveInfo;
      (*table)[number] = move;
    }
    move->SetDefaults();
    move->name = kMoveNames[number];
    move->code = number;
  }
}

LumoObjects* YLTBuilding::GetBuildingMoveTable() { return MoveTableSlot().get(); }

MoveInfo* YLTBuilding::GetMoveInfo(int32_t number) const {
  const LumoObjects* table = GetBuildingMoveTable();
  return table != nullptr ? dynamic_cast<MoveInfo*>(table->At(number)) : nullptr;
}

int32_t YLTBuilding::GetState() const { return Info != nullptr ? Info->MoveNumber : kStateNormal; }

void YLTBuilding::EnterState(int32_t state) {
  StartMove(GetMoveInfo(state));
  ReportAction();
}

// ---- Set-up ----

void YLTBuilding::CreateInfo(int32_t moveNumber) {
  YLTContainerThing::CreateInfo(moveNumber);
  Info->Armor = kNewBuildingArmor;
}

void YLTBuilding::SetType(int32_t type) {
  YLTContainerThing::SetType(type);
  const CLogic* logic = GetLogic();
  BuildingInfo* info = GetBuildingInfo();
  if (info == nullptr || logic == nullptr || logic->Config == nullptr) {
    return;
  }
  info->Armor = logic->Config->GetBuildingArmor(type);
  info->Money = logic->Config->GetBuildingMoney(type);
}

void YLTBuilding::SetOrientation(uint8_t orientation) {
  if (Info == nullptr || Info->Ori == orientation) {
    return;
  }
  Info->Ori = orientation;
  BuildGroundMap();
}

void YLTBuilding::BuildGroundMap() {
  if (Info == nullptr) {
    return;
  }
  Info->Ground.reset(new GroundMap);
  const int32_t facing = Info->Ori;
  for (int32_t step = 0; step < kWallLength; ++step) {
    if (facing == 0) {
      Info->Ground->AddPoint(facing, step, 0);
    } else if (facing == 1) {
      Info->Ground->AddPoint(facing, step, step);
    } else if (facing == 7) {
      Info->Ground->AddPoint(facing, step - (kWallLength - 1), (kWallLength - 1) - step);
    }
  }
}

bool YLTBuilding::OnAddToMap(CMap*) { return true; }
bool YLTBuilding::PlaceKindA() const { return true; }
bool YLTBuilding::PlaceKindC() const { return true; }

void YLTBuilding::SetBuildingType(int32_t type) {
  if (Info != nullptr) {
    Info->BuildingType = type;
  }
}

void YLTBuilding::AddMoney(int32_t amount) {
  if (BuildingInfo* info = GetBuildingInfo()) {
    info->Money += amount;
  }
}

int32_t YLTBuilding::TakeMoney() {
  BuildingInfo* info = GetBuildingInfo();
  if (info == nullptr) {
    return 0;
  }
  const int32_t money = info->Money;
  info->Money = 0;
  return money;
}

// ---- Damage and the four states ----

bool YLTBuilding::HoldsOnlyItsShopOwner() const {
  const int32_t count = GetContainedCount();
  return count == 0 || (count == 1 && IsShopOwner(GetContainedThing(0)));
}

bool YLTBuilding::Propagate() {
  if (Info == nullptr) {
    return true;
  }
  ThingInfo& info = *Info;
  switch (GetState()) {
    case kStateNormal:
      if (info.Hp >= kBreakingPoint) {
        info.Hp = info.Hp + kNormalMend < 1.0f ? info.Hp + kNormalMend : 1.0f;
        break;
      }
      EnterState(kStateBroken);
      LastAttacker = 0;
      if (CLogic* logic = GetLogic()) {
        logic->SayBuildingMessage(info.Tid);
      }
      // A destroyed unit leaves the building, so the list shrinks behind
      // the walk.
      for (int32_t index = GetContainedCount() - 1; index >= 0; --index) {
        YLUnit* unit = GetContainedThing(index);
        if (unit != nullptr && !IsShopOwner(unit)) {
          unit->Destroy();
        }
      }
      break;
    case kStateBroken:
      if (info.Hp < 0.0f) {
        info.Hp = 0.0f;
        EnterState(kStateTrashed);
        SetOwner(0);
      } else if (info.Hp <= kBrokenMendedAt) {
        info.Hp += kBrokenMend;
      } else {
        EnterState(kStateNormal);
      }
      break;
    case kStateTrashed:
      if (!HoldsOnlyItsShopOwner()) {
        info.Hp = 0.0f;
      } else if (info.Hp <= kTrashedMendedAt) {
        info.Hp += kTrashedMend;
      } else {
        EnterState(kStateRepair);
      }
      break;
    case kStateRepair:
      info.Hp += kRepairMend;
      if (info.Hp >= 1.0f) {
        info.Hp = 1.0f;
        const CLogic* logic = GetLogic();
        if (BuildingInfo* building = GetBuildingInfo(); building != nullptr && logic != nullptr && logic->Config) {
          building->Money = logic->Config->GetBuildingMoney(info.Gfx);
        }
        info.Status &= ~static_cast<uint32_t>(StatusWrecked);
        EnterState(kStateNormal);
      }
      break;
    default:
      break;
  }
  return true;
}

bool YLTBuilding::TakeDamage(float amount) {
  if (Info == nullptr || Info->Hp <= kBreakingPoint) {
    return false;
  }
  Info->Hp -= (1.0f - Info->Armor) * amount;
  return Info->Hp < kBreakingPoint;
}

bool YLTBuilding::TakeHeavyDamage(float amount) {
  if (Info == nullptr || Info->Hp <= 0.0f) {
    return false;
  }
  Info->Hp -= (1.0f - Info->Armor) * amount;
  if (Info->Hp > 0.0f) {
    return false;
  }
  Info->Status |= StatusWrecked;
  return true;
}

void YLTBuilding::Frighten(float, int32_t sourceId) {
  if (GetState() == kStateNormal && sourceId != 0) {
    LastAttacker = sourceId;
  }
}

int32_t YLTBuilding::TakeLastAttacker() {
  const int32_t attacker = LastAttacker;
  LastAttacker = 0;
  return attacker;
}

// ---- Entering and leaving ----

void YLTBuilding::Enter(YLUnit* unit) {
  if (unit != nullptr && GetOwner() == 0) {
    SetOwner(unit->GetOwner());
  }
  YLTContainerThing::Enter(unit);
}

void YLTBuilding::Leave(YLUnit* unit) {
  const bool inside = unit != nullptr && unit->GetContainer() == this;
  YLTContainerThing::Leave(unit);
  const int32_t owner = GetOwner();
  if (!inside || owner == 0 || unit->GetOwner() != owner) {
    return;
  }
  for (int32_t index = 0; index < GetContainedCount(); ++index) {
    const YLUnit* other = GetContainedThing(index);
    if (other != nullptr && other->GetOwner() == owner) {
      return;
    }
  }
  SetOwner(0);
}

bool YLTBuilding::IsFull() const {
  const ContainerInfo* info = GetContainerInfo();
  return info == nullptr || info->IsFull();
}

bool YLTBuilding::BuildingCanEnter(const YLUnit* unit) const {
  if (unit == nullptr || Info == nullptr) {
    return false;
  }
  const int32_t state = GetState();
  if (state == kStateRepair) {
    return false;
  }
  if (Info->BuildingType == kPublic || unit->GetOwner() == 0) {
    return !IsFull();
  }
  const int32_t owner = GetOwner();
  if (state == kStateBroken || state == kStateTrashed) {
    return (owner == 0 || owner == unit->GetOwner()) && !IsFull();
  }
  if (state != kStateNormal) {
    return false;
  }
  if (owner != unit->GetOwner() && !unit->IsPolice()) {
    const YLUnit* first = GetContainedThing(0);
    if (first == nullptr || first->GetOwner() != unit->GetOwner()) {
      return false;
    }
  }
  return !IsFull();
}

bool YLTBuilding::CanEnter(YLUnit* unit) const { return BuildingCanEnter(unit); }

bool YLTBuilding::CanEnterHome(YLUnit*) const { return Info != nullptr && Info->BuildingType == kHome && !IsFull(); }

// ---- Stored form ----

bool YLTBuilding::LoadWallX(LumoStream*, const LumoProperty*) { return true; }
bool YLTBuilding::SaveWallX(LumoStream*, const LumoProperty*) { return true; }
bool YLTBuilding::LoadWallY(LumoStream*, const LumoProperty*) { return true; }
bool YLTBuilding::SaveWallY(LumoStream*, const LumoProperty*) { return true; }

// ---- The kinds ----

YLTBank::YLTBank() = default;
const char* YLTBank::GetClassName() const { return "YLTBank"; }

bool YLTBank::Propagate() { return true; }

bool YLTBank::CanEnter(YLUnit* unit) const {
  if (unit == nullptr || IsFull()) {
    return false;
  }
  if (unit->GetOwner() == 0 || unit->GetOwner() == CLogic::kPolicePlayer ||
      dynamic_cast<const YLUnitSuit*>(unit) != nullptr) {
    return true;
  }
  return BuildingCanEnter(unit);
}

void YLTBank::Burgle(YLUnit* unit) {
  TakeMoney();
  if (unit != nullptr && unit->Info != nullptr) {
    unit->Info->Status |= StatusBurgled;
  }
  EnterState(kStateTrashed);
}

YLTPoliceDept::YLTPoliceDept() = default;
const char* YLTPoliceDept::GetClassName() const { return "YLTPoliceDept"; }

bool YLTPoliceDept::CanEnter(YLUnit* unit) const {
  if (unit != nullptr && unit->Info != nullptr && (unit->Info->Status & YLUnit::kStatusArrested) != 0) {
    return GetState() != kStateRepair && !IsFull();
  }
  return BuildingCanEnter(unit);
}

YLTPublicBuilding::YLTPublicBuilding() = default;
const char* YLTPublicBuilding::GetClassName() const { return "YLTPublicBuilding"; }
