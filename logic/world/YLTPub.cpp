#include "logic/world/YLTPub.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/core/YLConfig.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

LumoClassOf<YLTPub> classOfYLTPub(kVersion_1_6_0_6, "YLTPub", "YLTBuilding");
LOGIC_FIELD_PROPERTY(YLTPub, CountRatje, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTPub, CountGabber, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTPub, CountYobbozer, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTPub, CountBiker, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTPub, CountSkin, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTPub, CountRozav, PropertyInteger, "tInteger");

// What every supporter inside drinks when the pub is looted.
constexpr int32_t kLootBeer = 25;

// The unit types a pub recruits.
bool IsRecruitType(int32_t unitType) {
  switch (unitType) {
    case 1:
    case 2:
    case 7:
    case 8:
    case 9:
    case 12:
      return true;
    default:
      return false;
  }
}

int32_t UnitCost(int32_t unitType) {
  const CLogic* logic = YLThing::GetLogic();
  return logic != nullptr && logic->Config != nullptr ? logic->Config->GetUnitCost(unitType) : 0;
}

}  // namespace

YLTPub::YLTPub() = default;

const char* YLTPub::GetClassName() const { return "YLTPub"; }

ThingInfo* YLTPub::MakeInfo() const { return new PubInfo; }

PubInfo* YLTPub::GetPubInfo() const { return dynamic_cast<PubInfo*>(Info.get()); }

void YLTPub::CreateInfo(int32_t moveNumber) { YLTContainerThing::CreateInfo(moveNumber); }

// ---- The owner's count ----

void YLTPub::FollowOwnerCount() {
  const int32_t owner = GetOwner();
  if (!counting || owner == countedOwner) {
    return;
  }
  const CLogic* logic = GetLogic();
  if (logic == nullptr) {
    return;
  }
  if (CPlayer* old = logic->GetPlayer(countedOwner)) {
    old->AddParam(ParamPubs, -1);
  }
  countedOwner = 0;
  if (CPlayer* player = logic->GetPlayer(owner)) {
    player->AddParam(ParamPubs, 1);
    countedOwner = owner;
  }
}

void YLTPub::InitFromType() {
  YLTBuilding::InitFromType();
  counting = true;
  FollowOwnerCount();
}

void YLTPub::SetOwner(int32_t owner) {
  YLTBuilding::SetOwner(owner);
  FollowOwnerCount();
}

// ---- Entering ----

void YLTPub::Enter(YLUnit* unit) {
  if (unit != nullptr && GetState() == kStateNormal && GetOwner() == 0 && unit->GetOwner() != 0) {
    SetOwner(unit->GetOwner());
  }
  YLTContainerThing::Enter(unit);
}

void YLTPub::Leave(YLUnit* unit) { YLTContainerThing::Leave(unit); }

bool YLTPub::CanEnter(YLUnit* unit) const {
  if (unit == nullptr) {
    return false;
  }
  const int32_t state = GetState();
  if (state == kStateNormal && GetOwner() == 0) {
    return !IsFull();
  }
  if (state == kStateBroken || state == kStateTrashed) {
    for (int32_t index = 0; index < GetContainedCount(); ++index) {
      const YLUnit* inside = GetContainedThing(index);
      if (inside != nullptr && inside->GetOwner() != 0 && inside->GetOwner() != unit->GetOwner()) {
        return false;
      }
    }
    return !IsFull();
  }
  return BuildingCanEnter(unit);
}

int32_t YLTPub::TakeMoney() {
  for (int32_t index = 0; index < GetContainedCount(); ++index) {
    if (auto* supporter = dynamic_cast<YLUnitSupporter*>(GetContainedThing(index))) {
      supporter->DrinkBeer(kLootBeer);
    }
  }
  return YLTBuilding::TakeMoney();
}

void YLTPub::GetDebugText(tString& text) const {
  char line[64];
  std::snprintf(line, sizeof(line), "pub -- owned by player %d\n", static_cast<int>(GetOwner()));
  text = line;
}

// ---- Recruits and beer ----

void YLTPub::AddAvailableUnit(int32_t unitType) {
  if (PubInfo* info = GetPubInfo()) {
    info->AddAvailableHC(unitType);
  }
}

int32_t YLTPub::CountAvailableHC(int32_t unitType) const {
  const PubInfo* info = GetPubInfo();
  return info != nullptr ? info->CountAvailableHC(unitType) : 0;
}

void YLTPub::SellUnit(int32_t unitType, CPlayer* player) {
  PubInfo* info = GetPubInfo();
  if (player == nullptr || info == nullptr || player->ID != GetOwner() || GetState() != kStateNormal) {
    return;
  }
  if (!IsRecruitType(unitType)) {
    DebugPrint("YLTPub::SellUnit: pub %d sells no unit of type %d\n", GetTid(), unitType);
    return;
  }
  const int64_t price = UnitCost(unitType);
  if (price > player->GetMoney() || info->CountAvailableHC(unitType) == 0) {
    return;
  }
  CLogic* logic = GetLogic();
  if (logic == nullptr || logic->CreateUnit(unitType, GetOwner(), this) == nullptr) {
    return;
  }
  info->TakeAvailableHC(unitType);
  player->AddMoney(static_cast<int32_t>(-price));
  AddMoney(static_cast<int32_t>(price / 4));
}

void YLTPub::GiveBeer(int32_t amount, CPlayer* player) {
  PubInfo* info = GetPubInfo();
  if (player == nullptr || info == nullptr || player->ID != GetOwner() || GetState() != kStateNormal) {
    return;
  }
  if (amount <= 0) {
    DebugPrint("YLTPub::GiveBeer: pub %d refuses beer worth %d\n", GetTid(), amount);
    return;
  }
  if (player->GetMoney() < amount) {
    if (player->GetMoney() < 1) {
      return;
    }
    amount = player->GetMoney();
  }
  player->AddMoney(-amount);
  AddMoney(amount / 4);

  CLogic* logic = GetLogic();
  if (GetOwner() != 0 && logic != nullptr) {
    const int64_t price = UnitCost(kSupporterType);
    int64_t beer = int64_t{info->SupporterBeer} + amount;
    // Beer that can buy no more units (the thing table is full) stays in
    // the account.
    while (price > 0 && beer >= price && logic->CreateUnit(kSupporterType, GetOwner(), this) != nullptr) {
      beer -= price;
    }
    info->SupporterBeer = static_cast<int32_t>(beer < INT32_MAX ? beer : INT32_MAX);
  }

  const int32_t inside = GetContainedCount();
  if (inside == 0) {
    return;
  }
  const int32_t share = amount / inside;
  for (int32_t index = inside - 1; index >= 0; --index) {
    if (YLUnit* unit = GetContainedThing(index)) {
      unit->DrinkBeer(share);
    }
  }
}

LUMO_GENERIC_FIELD(YLTPub, CountRatje)
LUMO_GENERIC_FIELD(YLTPub, CountGabber)
LUMO_GENERIC_FIELD(YLTPub, CountYobbozer)
LUMO_GENERIC_FIELD(YLTPub, CountBiker)
LUMO_GENERIC_FIELD(YLTPub, CountSkin)
LUMO_GENERIC_FIELD(YLTPub, CountRozav)
