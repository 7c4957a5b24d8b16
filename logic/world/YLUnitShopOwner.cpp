#include "logic/world/YLUnitShopOwner.h"

#include <algorithm>
#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/RecordFields.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLWeapon.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/UnitRoutes.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTContainerThing.h"

namespace {

LumoClassOf<YLUnitShopOwner> classOfYLUnitShopOwner(kVersion_1_6_0_6, "YLUnitShopOwner", "YLUnit");
LOGIC_FIELD_PROPERTY(YLUnitShopOwner, ShopID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLUnitShopOwner, Attackers, PropertyPointer, "tPointer");

constexpr const char* kAttackersMarker = "att:";
constexpr const char* kCountdownMarker = "countdown:";
constexpr int32_t kMoveWeapon = 11;
constexpr uint32_t kStatusGunDrawn = 1u << 19;
constexpr float kDefendMotivation = 1.0f;

YLUnit* LivingUnit(const CLogic* logic, int32_t id) {
  auto* unit = logic != nullptr && id > 0 && id < YLUnit::kDirectionCodes ? UnitOf(logic->GetThing(id))
                                                                          : nullptr;
  return unit != nullptr && unit->Info != nullptr && (unit->Info->Status & StatusAlive) != 0 ? unit : nullptr;
}

// The container whose door is the cell: the thing the map holds there, or
// one whose entrance is there.
YLTContainerThing* DoorAt(const CLogic& logic, const YLThing& self, int32_t x, int32_t y) {
  YLThing* there = logic.GetThingAt(x, y);
  if (there != &self) {
    if (auto* container = dynamic_cast<YLTContainerThing*>(there)) {
      return container;
    }
  }
  for (int32_t id = 1; logic.Things != nullptr && id < logic.Things->count; ++id) {
    auto* container = dynamic_cast<YLTContainerThing*>(logic.GetThing(id));
    if (container != nullptr && container->Info != nullptr && container->GetX() == x && container->GetY() == y) {
      return container;
    }
  }
  return nullptr;
}

}  // namespace

YLUnitShopOwner::YLUnitShopOwner() = default;
const char* YLUnitShopOwner::GetClassName() const { return "YLUnitShopOwner"; }

YLTContainerThing* YLUnitShopOwner::GetShop() const {
  const CLogic* logic = GetLogic();
  auto* shop = logic != nullptr && ShopID > 0 ? dynamic_cast<YLTContainerThing*>(logic->GetThing(ShopID)) : nullptr;
  return shop != nullptr && shop->Info != nullptr && (shop->Info->Status & StatusAlive) != 0 ? shop : nullptr;
}

bool YLUnitShopOwner::OnAddToMap(CMap*) {
  CLogic* logic = GetLogic();
  if (logic == nullptr || Info == nullptr) {
    return false;
  }
  // Off the old shop first.
  if (YLTContainerThing* old = GetShop(); old != nullptr && GetContainer() == old) {
    old->Leave(this);
    logic->NotifyExit(GetTid(), old->GetTid());
  }
  ShopID = 0;
  YLTContainerThing* shop = DoorAt(*logic, *this, Info->X, Info->Y);
  if (shop == nullptr) {
    DebugPrint("YLUnitShopOwner::OnAddToMap not on door of shop\n");
    return false;
  }
  ShopID = shop->GetTid();
  if (GetContainer() == nullptr && !logic->PlaceInside(Info.get(), shop->Info.get())) {
    // A full shop: the owner still guards it, from its door.
    DebugPrint("YLUnitShopOwner::OnAddToMap shop %d takes no one\n", ShopID);
  }
  DebugPrint("YLUnitShopOwner::OnAddToMap shop set to %d\n", ShopID);
  return true;
}

void YLUnitShopOwner::Hold() { ExecutePlan(new PsychicPlanHold(0, 0, kDefendMotivation, false)); }

void YLUnitShopOwner::EndDefence(YLTContainerThing* shop) {
  CLogic* logic = GetLogic();
  if (HasStatus(kStatusDefending) && logic != nullptr && shop != nullptr && GetContainer() == nullptr) {
    logic->PlaceInside(Info.get(), shop->Info.get());
  }
  ClearStatus(kStatusDefending);
  Countdown = -1;
}

void YLUnitShopOwner::ComputeReflexes() {
  CLogic* logic = GetLogic();
  YLTContainerThing* shop = GetShop();
  if (shop == nullptr || logic == nullptr) {
    YLUnit::ComputeReflexes();
    return;
  }
  if (shop->Info->Move != nullptr && shop->Info->Move->code != 0) {
    // A broken shop is not defended any more.
    Attackers.clear();
    EndDefence(shop);
    Hold();
    YLUnit::ComputeReflexes();
    return;
  }
  const auto note = [&](int32_t id) {
    const YLUnit* attacker = LivingUnit(logic, id);
    if (attacker == nullptr || attacker == this || attacker->GetOwner() == GetOwner()) {
      return;
    }
    if (std::find(Attackers.begin(), Attackers.end(), attacker->GetTid()) == Attackers.end()) {
      Attackers.push_back(attacker->GetTid());
    }
  };
  // Whoever damaged the shop since the last tick is an attacker too: the
  // owner inside hears no blow, the building remembers who struck it.
  if (auto* building = dynamic_cast<YLTBuilding*>(shop)) {
    note(building->TakeLastAttacker());
  }
  for (int32_t index = 0; index < GetStimulusCount(); ++index) {
    const Stimulus* stimulus = GetStimulus(index);
    if (stimulus != nullptr) {
      note(stimulus->source);
    }
  }
  // Attackers that are gone are forgotten.
  std::erase_if(Attackers, [&](int32_t id) { return LivingUnit(logic, id) == nullptr; });
  if (!Attackers.empty()) {
    if (!HasStatus(kStatusDefending)) {
      if (GetContainer() == shop) {
        const int32_t x = shop->GetX();
        const int32_t y = shop->GetY();
        if (!logic->LeaveThing(Info.get(), x, y, 0, Info->Ori)) {
          // The door is blocked: it defends from inside.
          DebugPrint("YLUnitShopOwner: the door of shop %d is blocked\n", ShopID);
        }
      }
      SetStatus(kStatusDefending);
    }
    const PsychicPlanItem* leaf = GetPlanLeaf();
    if (leaf->Action != OrderKind::kShoot || leaf->Param1 != Attackers.front()) {
      ExecutePlan(new PsychicPlanAttackShoot(Attackers.front(), 0, kDefendMotivation, false));
    }
    Countdown = kDefendSteps;
  } else if (Countdown >= 0) {
    --Countdown;
    if (Countdown <= 0 && HasStatus(kStatusDefending)) {
      EndDefence(shop);
      Hold();
    }
  }
  YLUnit::ComputeReflexes();
}

int32_t YLUnitShopOwner::DoShoot(float, int32_t targetId, bool) {
  CLogic* logic = GetLogic();
  const YLUnit* target = LivingUnit(logic, targetId);
  if (logic == nullptr || logic->Weapons == nullptr || dynamic_cast<YLTBuilding*>(GetShop()) == nullptr ||
      target == nullptr || target->GetContainer() != nullptr || Info == nullptr) {
    return kReached;
  }
  const YLWeapon* gun = logic->Weapons->GetSlot(WeaponSlot::kGun);
  int32_t x = 0;
  int32_t y = 0;
  GetNearestPoint(target, GetX(), GetY(), x, y);
  if (gun == nullptr || IntDistance(GetX(), GetY(), x, y) > gun->GetAttackRange()) {
    return kReached;
  }
  const int32_t turn = GetDirection(GetX(), GetY(), Info->GetFacing(), x, y);
  if (turn != 0) {
    Info->Ori = static_cast<uint8_t>(WrapDirection(Info->GetFacing() + (turn > 0 ? 1 : -1)));
  }
  DestinationX = x;
  DestinationY = y;
  SetStatus(kStatusGunDrawn);
  return kMoveWeapon;
}

bool YLUnitShopOwner::MakePlan() {
  if (YLUnit::MakePlan()) {
    return true;
  }
  // The owner shoots from where it stands.
  PsychicPlanItem* step = GetPlanLeaf();
  if (step == &Plan || step->Action != OrderKind::kShoot) {
    return false;
  }
  step->Expandable = false;
  return true;
}

void YLUnitShopOwner::PlanReached(PsychicPlanItem* item) {
  if (item != nullptr && item->Action == OrderKind::kShoot && !Attackers.empty() && item->Param1 == Attackers.front()) {
    Attackers.erase(Attackers.begin());
  }
  YLUnit::PlanReached(item);
}

bool YLUnitShopOwner::TakeDamage(float amount) {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || amount < 0.0f) {
    return false;
  }
  info->Cons -= (1.0f - info->Armor) * amount;
  return true;
}

bool YLUnitShopOwner::LoadShopID(LumoStream* stream, const LumoProperty*) { return stream->ReadInteger(ShopID); }
bool YLUnitShopOwner::SaveShopID(LumoStream* stream, const LumoProperty*) { return stream->WriteInteger(ShopID); }

bool YLUnitShopOwner::LoadAttackers(LumoStream* stream, const LumoProperty*) {
  Attackers.clear();
  if (!ReadMarker(stream, kAttackersMarker)) {
    return true;
  }
  int32_t count = 0;
  if (!stream->ReadInteger(count)) {
    DebugPrint("YLUnitShopOwner: cannot read the attacker count\n");
    return false;
  }
  const int64_t remaining = stream->GetBytesRemaining();
  if (count < 0 || count > kMaxAttackers || static_cast<int64_t>(count) * 4 > remaining) {
    DebugPrint("YLUnitShopOwner: attacker count %d is more than the stream or the thing ids hold\n", count);
    return false;
  }
  Attackers.reserve(static_cast<size_t>(count));
  for (int32_t index = 0; index < count; ++index) {
    int32_t id = 0;
    if (!stream->ReadInteger(id)) {
      DebugPrint("YLUnitShopOwner: cannot read attacker %d\n", index);
      return false;
    }
    Attackers.push_back(id);
  }
  return true;
}

bool YLUnitShopOwner::SaveAttackers(LumoStream* stream, const LumoProperty*) {
  if (!WriteMarker(stream, kAttackersMarker) || !stream->WriteInteger(static_cast<int32_t>(Attackers.size()))) {
    return false;
  }
  for (const int32_t id : Attackers) {
    if (!stream->WriteInteger(id)) {
      return false;
    }
  }
  return true;
}

bool YLUnitShopOwner::OnLoadFrom(LumoStream* stream) {
  Countdown = -1;
  if (!YLUnit::OnLoadFrom(stream)) {
    return false;
  }
  if (!ReadMarker(stream, kCountdownMarker)) {
    return true;
  }
  if (!stream->ReadInteger(Countdown)) {
    DebugPrint("YLUnitShopOwner: cannot read the value behind \"%s\"\n", kCountdownMarker);
    return false;
  }
  return true;
}

bool YLUnitShopOwner::OnSaveTo(LumoStream* stream) {
  return YLUnit::OnSaveTo(stream) && WriteMarker(stream, kCountdownMarker) && stream->WriteInteger(Countdown);
}
