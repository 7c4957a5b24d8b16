#include "logic/world/PsychicPlanKinds.h"

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/RecordFields.h"
#include "logic/world/Police.h"
#include "logic/world/YLUnitBiker.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitShopOwner.h"
#include "logic/world/YLUnitSupporter.h"

// Registers a kind and defines its constructors, class name and the Clone
// of a kind without a field of its own.
#define PLAN_KIND_BASICS(Kind, action)                                                         \
  namespace {                                                                                  \
  LumoClassOf<Kind> classOf##Kind(kVersion_1_6_0_6, #Kind, "PsychicPlanItem");                 \
  }                                                                                            \
  Kind::Kind() { Action = action; }                                                            \
  Kind::Kind(int32_t param1, int32_t param2, float motivation, bool fast)                       \
      : PsychicPlanItem(param1, param2, motivation, fast) {                                    \
    Action = action;                                                                           \
  }                                                                                            \
  const char* Kind::GetClassName() const { return #Kind; }

#define PLAN_KIND_PLAIN(Kind, action) \
  PLAN_KIND_BASICS(Kind, action)      \
  PsychicPlanItem* Kind::Clone() const { \
    auto* copy = new Kind;               \
    CopyTo(*copy);                       \
    return copy;                         \
  }

namespace {

constexpr int32_t kReached = PsychicPlanItem::kReached;

}  // namespace

// ---- Steps of the base unit's actions ----

PLAN_KIND_PLAIN(PsychicPlanHold, OrderKind::kHold)
int32_t PsychicPlanHold::Execute(YLUnit*) { return YLUnit::kMoveRest; }

PLAN_KIND_BASICS(PsychicPlanGoto, OrderKind::kGoto)
PsychicPlanItem* PsychicPlanGoto::Clone() const {
  auto* copy = new PsychicPlanGoto;
  CopyTo(*copy);
  copy->ArrivalDistance = ArrivalDistance;
  return copy;
}
int32_t PsychicPlanGoto::Execute(YLUnit* unit) { return unit->DoGoto(Motivation, Param1, Param2, Fast, ArrivalDistance); }

PLAN_KIND_PLAIN(PsychicPlanFuckOff, OrderKind::kFuckOff)
int32_t PsychicPlanFuckOff::Execute(YLUnit* unit) { return unit->DoFuckOff(Motivation, Param1, Param2); }

PLAN_KIND_PLAIN(PsychicPlanGotoThing, OrderKind::kGotoThing)
int32_t PsychicPlanGotoThing::Execute(YLUnit* unit) { return unit->DoGotoThing(Motivation, Param1, Fast); }

PLAN_KIND_PLAIN(PsychicPlanAttack, OrderKind::kAttack)
int32_t PsychicPlanAttack::Execute(YLUnit* unit) { return unit->DoAttack(Motivation, Param1, Fast); }

PLAN_KIND_PLAIN(PsychicPlanThrowBrick, OrderKind::kThrow)
int32_t PsychicPlanThrowBrick::Execute(YLUnit* unit) { return unit->DoThrow(Motivation, Param1, Param2, Fast); }

PLAN_KIND_PLAIN(PsychicPlanPickUpBrick, OrderKind::kPickUp)
int32_t PsychicPlanPickUpBrick::Execute(YLUnit* unit) { return unit->DoPickUp(Motivation, Param1, Fast); }

PLAN_KIND_PLAIN(PsychicPlanShop, OrderKind::kPickUp)
int32_t PsychicPlanShop::Execute(YLUnit* unit) { return unit->DoShop(Param1); }

PLAN_KIND_PLAIN(PsychicPlanSubThrow, OrderKind::kSubThrow)
int32_t PsychicPlanSubThrow::Execute(YLUnit* unit) { return unit->DoThrow(Motivation, Param1, Param2, Fast); }

PLAN_KIND_PLAIN(PsychicPlanEnter, OrderKind::kEnter)
int32_t PsychicPlanEnter::Execute(YLUnit* unit) { return unit->DoEnter(Motivation, Param1, Fast); }

PLAN_KIND_PLAIN(PsychicPlanLoot, OrderKind::kLoot)
int32_t PsychicPlanLoot::Execute(YLUnit* unit) { return unit->DoLoot(Motivation, Param1, Fast); }

PLAN_KIND_PLAIN(PsychicPlanSubLoot, OrderKind::kGetMoney)
int32_t PsychicPlanSubLoot::Execute(YLUnit* unit) { return unit->DoSubLoot(Motivation, Param1); }

PLAN_KIND_PLAIN(PsychicPlanLeave, OrderKind::kLeave)
int32_t PsychicPlanLeave::Execute(YLUnit* unit) { return unit->DoLeave(Motivation, Param1, Fast); }

PLAN_KIND_BASICS(PsychicPlanChant, OrderKind::kChant)
// A property joins the class record made last, so each kind's field is
// registered right behind its class.
namespace {
LOGIC_FIELD_PROPERTY(PsychicPlanChant, Period, PropertyInteger, "tInteger");
}  // namespace
LUMO_GENERIC_FIELD(PsychicPlanChant, Period)
PsychicPlanItem* PsychicPlanChant::Clone() const {
  auto* copy = new PsychicPlanChant;
  CopyTo(*copy);
  copy->Period = Period;
  return copy;
}
int32_t PsychicPlanChant::Execute(YLUnit* unit) { return Period == 0 ? kReached : unit->DoChant(Motivation); }

PLAN_KIND_PLAIN(PsychicPlanBerserk, OrderKind::kBerserk)
int32_t PsychicPlanBerserk::Execute(YLUnit*) { return kReached; }

PLAN_KIND_BASICS(PsychicPlanPatroll, OrderKind::kPatroll)
PsychicPlanItem* PsychicPlanPatroll::Clone() const {
  auto* copy = new PsychicPlanPatroll;
  CopyTo(*copy);
  copy->ArrivalDistance = ArrivalDistance;
  return copy;
}
int32_t PsychicPlanPatroll::Execute(YLUnit* unit) {
  return unit->DoPatroll(Motivation, Param1, Param2, Fast, ArrivalDistance);
}

// A unit spawned inside a building or vehicle walks out of it.
PLAN_KIND_PLAIN(PsychicPlanSpawn, OrderKind::kSpawn)
int32_t PsychicPlanSpawn::Execute(YLUnit* unit) {
  const YLThing* container = unit->GetContainer();
  return container != nullptr ? unit->DoLeave(Motivation, container->GetTid(), Fast) : kReached;
}

PLAN_KIND_PLAIN(PsychicPlanGroup, OrderKind::kGroup)
int32_t PsychicPlanGroup::Execute(YLUnit*) { return YLUnit::kMoveRest; }

PLAN_KIND_PLAIN(PsychicPlanFlee, OrderKind::kFlee)
int32_t PsychicPlanFlee::Execute(YLUnit* unit) { return unit->DoFlee(Motivation, Param1, Fast); }

PLAN_KIND_PLAIN(PsychicPlanPanic, OrderKind::kPanic)
int32_t PsychicPlanPanic::Execute(YLUnit*) { return YLUnit::kMoveRest; }

PLAN_KIND_PLAIN(PsychicPlanBored, OrderKind::kBored)
int32_t PsychicPlanBored::Execute(YLUnit*) { return YLUnit::kMoveRest; }

// For any unit but a policeman, being arrested means being led away by the
// policeman Param1; the policeman's own arrest comes with the police.
PLAN_KIND_PLAIN(PsychicPlanArrest, OrderKind::kArrested)
int32_t PsychicPlanArrest::Execute(YLUnit* unit) {
  if (auto* officer = dynamic_cast<Police*>(unit)) {
    return officer->DoArrest(Motivation, Param1, Param2, Fast);
  }
  return unit->DoLedAway(Motivation, Param1, Fast);
}

PLAN_KIND_PLAIN(PsychicPlanJailed, OrderKind::kJailed)
int32_t PsychicPlanJailed::Execute(YLUnit* unit) { return unit->DoJailed(Motivation, Param1, Fast); }

PLAN_KIND_PLAIN(PsychicPlanAmbient, OrderKind::kAmbient)
int32_t PsychicPlanAmbient::Execute(YLUnit* unit) { return unit->DoIdle(); }

PLAN_KIND_PLAIN(PsychicPlanRunAway, OrderKind::kRunAway)
int32_t PsychicPlanRunAway::Execute(YLUnit* unit) { return unit->DoRunAway(Param1, Param2); }

// The copy carried out counts down the Period of the plan's own step (the
// innermost one), which is what stays in the plan.
PLAN_KIND_BASICS(PsychicPlanOut, OrderKind::kPassOut)
namespace {
LOGIC_FIELD_PROPERTY(PsychicPlanOut, Period, PropertyInteger, "tInteger");
}  // namespace
LUMO_GENERIC_FIELD(PsychicPlanOut, Period)
PsychicPlanItem* PsychicPlanOut::Clone() const {
  auto* copy = new PsychicPlanOut;
  CopyTo(*copy);
  copy->Period = Period;
  return copy;
}
int32_t PsychicPlanOut::Execute(YLUnit* unit) {
  if (Period < 0) {
    return kReached;
  }
  const ThingInfo* info = unit->Info.get();
  const int32_t move = info != nullptr && info->Move != nullptr ? info->Move->code : -1;
  if (move != YLUnit::kMoveFall && move != YLUnit::kMoveOut) {
    return YLUnit::kMoveFall;
  }
  if (auto* original = dynamic_cast<PsychicPlanOut*>(unit->GetPlanLeaf())) {
    --original->Period;
  }
  return YLUnit::kMoveOut;
}

// ---- Steps only one unit class carries out ----
// The unit classes that carry them out add their branch; every other unit
// ends such a step at once.

PLAN_KIND_PLAIN(PsychicPlanAttackShoot, OrderKind::kShoot)
PLAN_KIND_PLAIN(PsychicPlanThrowMolotov, OrderKind::kMolotov)
PLAN_KIND_PLAIN(PsychicPlanGetDope, OrderKind::kGetDope)
PLAN_KIND_PLAIN(PsychicPlanBurgle, OrderKind::kBurgle)
PLAN_KIND_PLAIN(PsychicPlanBomb, OrderKind::kBomb)
PLAN_KIND_PLAIN(PsychicPlanFlirt, OrderKind::kFlirt)
PLAN_KIND_PLAIN(PsychicPlanHijack, OrderKind::kHijack)
PLAN_KIND_PLAIN(PsychicPlanRave, OrderKind::kRave)
PLAN_KIND_PLAIN(PsychicPlanInvestigateAlarm, OrderKind::kInvestigate)
PLAN_KIND_PLAIN(PsychicPlanInvestigateUnit, OrderKind::kInvestigateUnit)
PLAN_KIND_PLAIN(PsychicPlanCordon, OrderKind::kCordon)
PLAN_KIND_PLAIN(PsychicPlanStandBy, OrderKind::kStandBy)
PLAN_KIND_PLAIN(PsychicPlanCharge, OrderKind::kCharge)
PLAN_KIND_PLAIN(PsychicPlanAssistance, OrderKind::kAssistance)
PLAN_KIND_PLAIN(PsychicPlanTearGas, OrderKind::kTearGas)
PLAN_KIND_PLAIN(PsychicPlanJoinRave, OrderKind::kJoinRave)
PLAN_KIND_PLAIN(PsychicPlanThrowMolotovPlace, OrderKind::kPositionedMolotov)
PLAN_KIND_PLAIN(PsychicPlanThrowTurret, OrderKind::kTurret)
PLAN_KIND_PLAIN(PsychicPlanBringIn, OrderKind::kBringIn)

// The barricade step, carried out by the rozav only.
PLAN_KIND_BASICS(PsychicPlanBaricade, OrderKind::kBaricade)
namespace {
LOGIC_FIELD_PROPERTY(PsychicPlanBaricade, Down, PropertyPointer, "tPointer");
constexpr const char* kDownMarker = "down:";
}  // namespace
PsychicPlanItem* PsychicPlanBaricade::Clone() const {
  auto* copy = new PsychicPlanBaricade;
  CopyTo(*copy);
  copy->Down = Down;
  return copy;
}
int32_t PsychicPlanBaricade::Execute(YLUnit* unit) {
  auto* rozav = dynamic_cast<YLUnitRozav*>(unit);
  return rozav != nullptr ? rozav->DoBaricade(Motivation, Param1, Param2, Fast, Down != 0) : kReached;
}

bool PsychicPlanBaricade::LoadDown(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kDownMarker)) {
    return true;
  }
  uint32_t value = 0;
  if (!stream->ReadCardinal(value)) {
    DebugPrint("PsychicPlanBaricade: cannot read the value behind \"%s\"\n", kDownMarker);
    return false;
  }
  if (value > UINT8_MAX) {
    DebugPrint("PsychicPlanBaricade: the stored flag %u does not fit its 8-bit field\n", value);
    return false;
  }
  Down = static_cast<uint8_t>(value);
  return true;
}

bool PsychicPlanBaricade::SaveDown(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kDownMarker) && stream->WriteCardinal(Down);
}

// ---- The gang kinds' own steps ----

int32_t PsychicPlanThrowMolotovPlace::Execute(YLUnit* unit) {
  auto* yobb = dynamic_cast<YLUnitYobb*>(unit);
  return yobb != nullptr ? yobb->DoMolotovPlace(Motivation, Param1, Param2, Fast) : kReached;
}
int32_t PsychicPlanJoinRave::Execute(YLUnit* unit) {
  auto* raver = dynamic_cast<YLUnitRaver*>(unit);
  return raver != nullptr ? raver->DoJoinRave(Motivation, Param1) : kReached;
}
int32_t PsychicPlanRave::Execute(YLUnit* unit) {
  auto* raver = dynamic_cast<YLUnitRaver*>(unit);
  return raver != nullptr ? raver->DoRaveStep(Motivation) : kReached;
}
int32_t PsychicPlanGetDope::Execute(YLUnit* unit) {
  auto* fan = dynamic_cast<YLUnitHardCore*>(unit);
  return fan != nullptr ? fan->DoGetDope(Motivation, Param1, Fast) : kReached;
}
int32_t PsychicPlanThrowTurret::Execute(YLUnit* unit) {
  auto* fan = dynamic_cast<YLUnitHardCore*>(unit);
  return fan != nullptr ? fan->DoThrowTurret(Motivation, Param1, Fast) : kReached;
}
int32_t PsychicPlanThrowMolotov::Execute(YLUnit* unit) {
  auto* yobb = dynamic_cast<YLUnitYobb*>(unit);
  return yobb != nullptr ? yobb->DoMolotovThing(Motivation, Param1, Fast) : kReached;
}
int32_t PsychicPlanBurgle::Execute(YLUnit* unit) {
  auto* rat = dynamic_cast<YLUnitRat*>(unit);
  return rat != nullptr ? rat->DoBurgle(Motivation, Param1, Fast) : kReached;
}

// ---- The leader's, the chick's and the suit's steps ----

int32_t PsychicPlanAttackShoot::Execute(YLUnit* unit) {
  if (auto* leader = dynamic_cast<YLUnitLeader*>(unit)) {
    return leader->DoShoot(Motivation, Param1, Fast);
  }
  if (auto* owner = dynamic_cast<YLUnitShopOwner*>(unit)) {
    return owner->DoShoot(Motivation, Param1, Fast);
  }
  if (auto* officer = dynamic_cast<Police*>(unit)) {
    return officer->DoShoot(Motivation, Param1, Fast);
  }
  return kReached;
}
int32_t PsychicPlanHijack::Execute(YLUnit* unit) {
  auto* biker = dynamic_cast<YLUnitBiker*>(unit);
  return biker != nullptr ? biker->DoHijack(Motivation, Param1, Fast) : kReached;
}
int32_t PsychicPlanFlirt::Execute(YLUnit* unit) {
  auto* chick = dynamic_cast<YLUnitChick*>(unit);
  return chick != nullptr ? chick->DoFlirt(Motivation, Param1, Fast) : kReached;
}
int32_t PsychicPlanBomb::Execute(YLUnit* unit) {
  auto* suit = dynamic_cast<YLUnitSuit*>(unit);
  return suit != nullptr ? suit->DoBomb(Motivation, Param1, Param2, Fast) : kReached;
}

// ---- The police steps ----

int32_t PsychicPlanInvestigateAlarm::Execute(YLUnit* unit) {
  auto* officer = dynamic_cast<Police*>(unit);
  return officer != nullptr ? officer->DoInvestigateAlarm(Motivation, Param1, Fast) : kReached;
}
int32_t PsychicPlanInvestigateUnit::Execute(YLUnit* unit) {
  auto* officer = dynamic_cast<Police*>(unit);
  return officer != nullptr ? officer->DoInvestigateUnit(Motivation, Param1, Fast) : kReached;
}
int32_t PsychicPlanAssistance::Execute(YLUnit* unit) {
  auto* officer = dynamic_cast<Police*>(unit);
  return officer != nullptr ? officer->DoAssistance(Motivation, Param1, Fast) : kReached;
}
int32_t PsychicPlanBringIn::Execute(YLUnit* unit) {
  auto* officer = dynamic_cast<Police*>(unit);
  return officer != nullptr ? officer->DoBringIn(Motivation, Param1, Param2, Fast) : kReached;
}

// ---- The riot police's steps ----

int32_t PsychicPlanCordon::Execute(YLUnit* unit) {
  return dynamic_cast<MEUnit*>(unit) != nullptr ? unit->DoGoto(Motivation, Param1, Param2, Fast, 0) : kReached;
}
int32_t PsychicPlanStandBy::Execute(YLUnit* unit) {
  return dynamic_cast<MEUnit*>(unit) != nullptr ? unit->DoGoto(Motivation, Param1, Param2, Fast, 0) : kReached;
}
int32_t PsychicPlanCharge::Execute(YLUnit* unit) {
  auto* riot = dynamic_cast<MEUnit*>(unit);
  return riot != nullptr ? riot->DoCharge(Motivation, Param1, Param2, Fast) : kReached;
}
int32_t PsychicPlanTearGas::Execute(YLUnit* unit) {
  auto* riot = dynamic_cast<MEUnit*>(unit);
  return riot != nullptr ? riot->DoTearGas(Motivation, Param1, Param2, Fast) : kReached;
}
