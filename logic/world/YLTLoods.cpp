#include "logic/world/YLTLoods.h"

#include <algorithm>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/GroundMap.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

LumoClassOf<YLTLoods> classOfYLTLoods(kVersion_1_6_0_6, "YLTLoods", "YLTContainerThing");

constexpr int32_t kLeaderType = 10;
constexpr int32_t kYobbozerType = 12;
constexpr int32_t kMaxDopeSale = 99;

// The fans that take their weapon from the shack's weapon stock.
bool TakesStockWeapon(int32_t type) { return type == 1 || type == 2 || type == 7 || type == 9; }

}  // namespace

YLTLoods::YLTLoods() = default;

const char* YLTLoods::GetClassName() const { return "YLTLoods"; }

ThingInfo* YLTLoods::MakeInfo() const { return new ShackInfo; }

ShackInfo* YLTLoods::GetShackInfo() const { return dynamic_cast<ShackInfo*>(Info.get()); }

void YLTLoods::CreateInfo(int32_t moveNumber) {
  YLTContainerThing::CreateInfo(moveNumber);
  Info->Ground.reset(new GroundMap);
}

bool YLTLoods::PlaceKindB() const { return true; }

void YLTLoods::GetDebugText(tString& text) const { text = "shack"; }

void YLTLoods::Destroy() {
  YLTContainerThing::Destroy();
  if (ShackInfo* stock = GetShackInfo()) {
    stock->Ammo = 0;
    stock->Dope = 0;
    stock->Guns = 0;
    stock->Molotovs = 0;
    stock->WeaponCount = 0;
    stock->WeaponGrade = 0;
  }
}

bool YLTLoods::Holds(const YLUnit* unit) const { return unit != nullptr && unit->GetContainer() == this; }

void YLTLoods::ReportOwnerMoney(const YLUnit& unit) const {
  CLogic* logic = GetLogic();
  const CPlayer* player = logic != nullptr && unit.GetOwner() != 0 ? logic->GetPlayer(unit.GetOwner()) : nullptr;
  // The player reports only changes of its parameters; here the unchanged
  // value goes out again.
  if (player != nullptr) {
    logic->NotifyParameter(player->ID, ParamMoney, player->GetMoney());
  }
}

void YLTLoods::SellDopeToLeader(YLUnitLeader* leader, int32_t amount) {
  ShackInfo* stock = GetShackInfo();
  if (stock == nullptr || !Holds(leader)) {
    return;
  }
  if (amount < 1 || amount > kMaxDopeSale) {
    DebugPrint("YLTLoods::SellDopeToLeader: shack %d refuses %d doses\n", GetTid(), amount);
    return;
  }
  const int32_t taken = std::min(amount, stock->Dope);
  if (taken > 0) {
    stock->Dope -= taken;
    leader->AddDopeUnits(taken);
  }
  ReportOwnerMoney(*leader);
}

void YLTLoods::SellDopeToSelection(YLUnit* unit) {
  ShackInfo* stock = GetShackInfo();
  auto* fan = dynamic_cast<YLUnitHardCore*>(unit);
  if (stock == nullptr || fan == nullptr || !fan->IsSelectable() || !Holds(fan) || stock->Dope <= 0) {
    return;
  }
  --stock->Dope;
  fan->TakeDope(1);
  ReportOwnerMoney(*fan);
}

void YLTLoods::Upgrade(YLUnit* unit) {
  ShackInfo* stock = GetShackInfo();
  const auto* record = unit != nullptr ? dynamic_cast<const UnitInfo*>(unit->Info.get()) : nullptr;
  if (stock == nullptr || record == nullptr || !Holds(unit) || record->Weapon > stock->WeaponGrade) {
    return;
  }
  const int32_t type = record->Gfx;
  if (TakesStockWeapon(type)) {
    if (stock->WeaponCount < 1) {
      return;
    }
    --stock->WeaponCount;
  } else if (type == kLeaderType) {
    if (stock->Guns < 1) {
      return;
    }
    --stock->Guns;
    unit->SetAmmo(kLeaderGunRounds);
  } else if (type == kYobbozerType) {
    if (stock->Molotovs < 1) {
      return;
    }
    if (stock->Molotovs < kYobbozerRounds) {
      unit->SetAmmo(stock->Molotovs);
      stock->Molotovs = 0;
    } else {
      stock->Molotovs -= kYobbozerRounds;
      unit->SetAmmo(kYobbozerRounds);
    }
  } else {
    return;
  }
  unit->SetWeaponGrade(stock->WeaponGrade);
  ReportOwnerMoney(*unit);
}

void YLTLoods::SellAmmo(YLUnit* unit) {
  ShackInfo* stock = GetShackInfo();
  const auto* record = unit != nullptr ? dynamic_cast<const UnitInfo*>(unit->Info.get()) : nullptr;
  if (stock == nullptr || record == nullptr || !Holds(unit)) {
    return;
  }
  if (dynamic_cast<YLUnitLeader*>(unit) != nullptr) {
    // A leader carrying more than it may hold takes nothing (and gives
    // nothing back to the stock).
    const int32_t rounds = std::min(kLeaderRounds - record->Ammo, stock->Ammo);
    if (rounds > 0) {
      stock->Ammo -= rounds;
      unit->AddAmmo(rounds);
    }
  } else if (record->Gfx == kYobbozerType && record->Weapon >= stock->WeaponGrade) {
    const int32_t rounds = std::min(kYobbozerRounds - record->Ammo, stock->Molotovs);
    if (rounds > 0) {
      stock->Molotovs -= rounds;
      unit->SetWeaponGrade(stock->WeaponGrade);
      unit->SetAmmo(kYobbozerRounds);
    }
  } else {
    return;
  }
  ReportOwnerMoney(*unit);
}
