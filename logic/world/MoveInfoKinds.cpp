#include "logic/world/MoveInfoKinds.h"

#include <cstring>

#include "logic/core/CLogic.h"
#include "logic/core/ThingInfo.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLThing.h"
#include "logic/world/Police.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

// A leader's or officer's gun is drawn.
constexpr uint32_t kStatusGunDrawn = 1u << 19;

// The move of a walking, running, turning or driving thing: it turns by the
// move's turn and steps by the move's displacement for its old facing; the
// logic moves its footprint and answers whether the map let it.
bool PerformMovingKind(const MoveInfo& move, YLThing* thing, CLogic* logic) {
  if (thing == nullptr || logic == nullptr || thing->Info == nullptr) {
    return false;
  }
  const ThingInfo& info = *thing->Info;
  const int32_t facing = info.GetFacing();
  const int32_t newFacing = WrapDirection(facing + move.turn);
  const int32_t targetX = info.X + move.GetDeltaX(facing);
  const int32_t targetY = info.Y + move.GetDeltaY(facing);
  return logic->UpdateThingOnMap(thing, targetX, targetY, static_cast<uint8_t>(newFacing));
}

// All times 1 except one type.
void TimesOneBut(MoveInfo& move, int32_t type, uint8_t frames) {
  move.SetAllTimes(1);
  move.SetTime(type, frames);
}

}  // namespace

#define MOVE_KIND_BASICS(Kind)                       \
  Kind::Kind() { Kind::SetDefaults(); }              \
  const char* Kind::GetClassName() const { return #Kind; }

// ---- Walking and turning ----

MOVE_KIND_BASICS(MoveInfoWalk)
void MoveInfoWalk::SetDefaults() {
  MoveInfoDiagonal::SetDefaults();
  name = "MoveWalk";
  code = 2;
  step = 1;
  stamina = -0.005f;
  SetTimes({8, 8, 8, 8, 9, 10, 8, 8, 8, 8, 8, 10, 8});
  SetDiagonalTimes({8, 9, 10, 8, 10, 11, 9, 9, 8, 10, 9, 12, 9});
}
bool MoveInfoWalk::Perform(YLThing* thing, CLogic* logic) { return PerformMovingKind(*this, thing, logic); }

MOVE_KIND_BASICS(MoveInfoRun)
void MoveInfoRun::SetDefaults() {
  MoveInfoWalk::SetDefaults();
  stamina = 0.01f;
  SetTimes({5, 3, 4, 5, 8, 6, 5, 6, 5, 6, 5, 7, 5});
  SetDiagonalTimes({6, 3, 4, 5, 8, 6, 5, 6, 6, 6, 5, 7, 5});
}

MOVE_KIND_BASICS(MoveInfoCW)
void MoveInfoCW::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveCW";
  code = 5;
  turn = 1;
  stamina = 0.0f;
  SetAllTimes(0);
}
bool MoveInfoCW::Perform(YLThing* thing, CLogic* logic) { return PerformMovingKind(*this, thing, logic); }

MOVE_KIND_BASICS(MoveInfoCCW)
void MoveInfoCCW::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveCCW";
  code = 6;
  turn = -1;
  stamina = 0.0f;
  SetAllTimes(0);
}
bool MoveInfoCCW::Perform(YLThing* thing, CLogic* logic) { return PerformMovingKind(*this, thing, logic); }

// ---- Car moves ----

namespace {

void SetCarMove(MoveInfo& move, const char* name, int32_t code, int8_t turn) {
  move.name = name;
  move.code = code;
  move.turn = turn;
  move.SetAllTimes(4);
}

int32_t DX(int32_t facing) { return kDirectionX[WrapDirection(facing)]; }
int32_t DY(int32_t facing) { return kDirectionY[WrapDirection(facing)]; }

}  // namespace

// Driving on takes three frames, the golf two.
MOVE_KIND_BASICS(CarDriveInfo)
void CarDriveInfo::SetDefaults() {
  MoveInfoCW::SetDefaults();
  SetCarMove(*this, "drive", 15, 0);
  step = 1;
  SetAllTimes(3);
  SetTime(1, 2);
}

// The reverse move's step is the stored byte 255: one cell backwards.
MOVE_KIND_BASICS(CarReverseInfo)
void CarReverseInfo::SetDefaults() {
  MoveInfoCW::SetDefaults();
  SetCarMove(*this, "reverse", 18, 0);
  step = -1;
}

MOVE_KIND_BASICS(CarMoveCWInfo)
void CarMoveCWInfo::SetDefaults() {
  MoveInfoCW::SetDefaults();
  SetCarMove(*this, "drive CW", 16, 1);
}
int32_t CarMoveCWInfo::GetDeltaX(int32_t facing) const {
  facing = WrapDirection(facing);
  return facing % 2 == 0 ? 2 * DX(facing) : DX(facing) + DX(facing + 1);
}
int32_t CarMoveCWInfo::GetDeltaY(int32_t facing) const {
  facing = WrapDirection(facing);
  return facing % 2 == 0 ? 2 * DY(facing) : DY(facing) + DY(facing + 1);
}

MOVE_KIND_BASICS(CarMoveCCWInfo)
void CarMoveCCWInfo::SetDefaults() {
  MoveInfoCW::SetDefaults();
  SetCarMove(*this, "drive CCW", 17, -1);
}
int32_t CarMoveCCWInfo::GetDeltaX(int32_t facing) const { return DX(facing); }
int32_t CarMoveCCWInfo::GetDeltaY(int32_t facing) const { return DY(facing); }

MOVE_KIND_BASICS(CarReverseCWInfo)
void CarReverseCWInfo::SetDefaults() {
  MoveInfoCW::SetDefaults();
  SetCarMove(*this, "reverse CW", 19, 1);
}
int32_t CarReverseCWInfo::GetDeltaX(int32_t facing) const { return -DX(facing + 1); }
int32_t CarReverseCWInfo::GetDeltaY(int32_t facing) const { return -DY(facing + 1); }

MOVE_KIND_BASICS(CarReverseCCWInfo)
void CarReverseCCWInfo::SetDefaults() {
  MoveInfoCW::SetDefaults();
  SetCarMove(*this, "reverse CCW", 20, -1);
}
int32_t CarReverseCCWInfo::GetDeltaX(int32_t facing) const {
  facing = WrapDirection(facing);
  return facing % 2 == 0 ? -(DX(facing - 1) + DX(facing)) : -2 * DX(facing - 1);
}
int32_t CarReverseCCWInfo::GetDeltaY(int32_t facing) const {
  facing = WrapDirection(facing);
  return facing % 2 == 0 ? -(DY(facing - 1) + DY(facing)) : -2 * DY(facing - 1);
}

// ---- Entering and leaving ----
// These act through the logic's container operations on a unit; every
// other thing is refused.

MOVE_KIND_BASICS(MoveInfoEnter)
void MoveInfoEnter::SetDefaults() {
  MoveInfoDiagonal::SetDefaults();
  name = "MoveEnter";
  code = 9;
  step = 1;
  stamina = -0.005f;
  SetAllTimes(6);
  SetAllDiagonalTimes(6);
}
// The unit steps into the container on the cell in front of it.
bool MoveInfoEnter::Perform(YLThing* thing, CLogic* logic) {
  auto* unit = UnitOf(thing);
  if (unit == nullptr || logic == nullptr || unit->Info == nullptr) {
    return false;
  }
  const int32_t facing = unit->Info->GetFacing();
  return logic->EnterContainer(unit, unit->Info->X + GetDeltaX(facing), unit->Info->Y + GetDeltaY(facing));
}

MOVE_KIND_BASICS(MoveInfoLeave)
void MoveInfoLeave::SetDefaults() {
  MoveInfoDiagonal::SetDefaults();
  name = "MoveExit";
  code = 10;
  step = 1;
  stamina = -0.005f;
  SetAllTimes(10);
  SetAllDiagonalTimes(10);
}
// A unit inside is kept off the map, so the cell it steps onto lies in its
// facing from the container's entrance.
bool MoveInfoLeave::Perform(YLThing* thing, CLogic* logic) {
  auto* unit = UnitOf(thing);
  const YLThing* container = unit != nullptr ? unit->GetContainer() : nullptr;
  if (container == nullptr || logic == nullptr || unit->Info == nullptr) {
    return false;
  }
  const int32_t facing = unit->Info->GetFacing();
  return logic->ExitContainer(unit, container->GetX() + GetDeltaX(facing), container->GetY() + GetDeltaY(facing));
}

// ---- Fighting ----
// Each fires a unit's weapon through the logic, or is a unit kind's own
// action; a thing that is neither is refused. The weapon, fist, kick and
// throw are performed in MoveInfoCombat.cpp.

MOVE_KIND_BASICS(MoveInfoWeapon)
void MoveInfoWeapon::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveWeapon";
  code = 11;
  stamina = 0.1f;
  SetTimes({13, 12, 8, 1, 8, 5, 8, 8, 1, 8, 15, 8, 1});
}

MOVE_KIND_BASICS(MoveInfoFist)
void MoveInfoFist::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveFist";
  code = 12;
  stamina = 0.1f;
  SetTimes({1, 6, 7, 7, 9, 8, 9, 8, 9, 7, 6, 1, 10});
}

MOVE_KIND_BASICS(MoveInfoKick)
void MoveInfoKick::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveKick";
  code = 13;
  stamina = 0.07f;
  SetTimes({1, 5, 6, 8, 8, 8, 7, 9, 7, 8, 6, 1, 8});
}

MOVE_KIND_BASICS(MoveInfoThrow)
void MoveInfoThrow::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveThrow";
  code = 14;
  stamina = 0.02f;
  SetTimes({1, 8, 7, 10, 10, 1, 1, 10, 10, 8, 9, 1, 10});
}

MOVE_KIND_BASICS(MoveInfoMolotov)
void MoveInfoMolotov::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveMolotov";
  code = 14;
  stamina = 0.1f;
  TimesOneBut(*this, 12, 10);
}
// A yobb throws its molotov at its destination.
bool MoveInfoMolotov::Perform(YLThing* thing, CLogic* logic) {
  auto* yobb = dynamic_cast<YLUnitYobb*>(thing);
  YLWeapon* weapon = yobb != nullptr ? yobb->GetMolotovWeapon() : nullptr;
  if (weapon == nullptr || logic == nullptr) {
    return false;
  }
  int32_t x = 0;
  int32_t y = 0;
  yobb->GetDestination(x, y);
  return logic->UseWeapon(yobb, weapon, x, y);
}

MOVE_KIND_BASICS(MoveInfoBomb)
void MoveInfoBomb::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveBomb";
  code = 25;
  stamina = 0.0f;
  TimesOneBut(*this, 4, 34);
}
// A suit sets off its bomb where it stands, once.
bool MoveInfoBomb::Perform(YLThing* thing, CLogic* logic) {
  auto* suit = dynamic_cast<YLUnitSuit*>(thing);
  if (suit == nullptr || suit->Info == nullptr || logic == nullptr) {
    return false;
  }
  return suit->FireBombWeapon(logic, suit->Info->X, suit->Info->Y);
}

MOVE_KIND_BASICS(MoveInfoDrawGun)
void MoveInfoDrawGun::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveDrawGun";
  code = 29;
  stamina = -0.01f;
  SetAllTimes(1);
  SetTime(5, 20);
  SetTime(6, 20);
  SetTime(10, 12);
}
// A leader or an officer draws its gun (status bit 19).
bool MoveInfoDrawGun::Perform(YLThing* thing, CLogic*) {
  if (thing == nullptr || thing->Info == nullptr ||
      (dynamic_cast<YLUnitLeader*>(thing) == nullptr && dynamic_cast<Police*>(thing) == nullptr)) {
    return false;
  }
  thing->Info->Status |= kStatusGunDrawn;
  return true;
}

MOVE_KIND_BASICS(MoveInfoArrest)
void MoveInfoArrest::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "Arrest";
  code = 30;
  stamina = 0.1f;
  SetAllTimes(0);
  SetTime(5, 20);
}
// Only an officer arrests.
bool MoveInfoArrest::Perform(YLThing* thing, CLogic*) { return dynamic_cast<Police*>(thing) != nullptr; }

// ---- The kinds' own actions ----

MOVE_KIND_BASICS(MoveInfoChant)
void MoveInfoChant::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveChant";
  code = 16;
  stamina = 0.0f;
  SetTimes({1, 10, 7, 11, 1, 1, 1, 11, 8, 12, 9, 1, 9});
}
// A leader's chant reaches the units around it; the move always succeeds.
bool MoveInfoChant::Perform(YLThing* thing, CLogic* logic) {
  if (logic != nullptr && dynamic_cast<YLUnitLeader*>(thing) != nullptr) {
    logic->DoChant(thing);
  }
  return true;
}

MOVE_KIND_BASICS(MoveInfoPickUp)
void MoveInfoPickUp::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MovePickUp";
  code = 19;
  stamina = 0.02f;
  SetTimes({1, 7, 8, 3, 1, 1, 1, 9, 1, 8, 7, 1, 9});
}
// A fan takes a brick in hand.
bool MoveInfoPickUp::Perform(YLThing* thing, CLogic*) {
  auto* fan = dynamic_cast<YLUnitSupporter*>(thing);
  if (fan == nullptr) {
    return false;
  }
  fan->PickUp();
  return true;
}

MOVE_KIND_BASICS(MoveInfoFlirt)
void MoveInfoFlirt::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveFlirt";
  code = 21;
  stamina = 0.24f;
  TimesOneBut(*this, 11, 46);
}
// A chick flirts with the units around it.
bool MoveInfoFlirt::Perform(YLThing* thing, CLogic* logic) {
  return logic != nullptr && dynamic_cast<YLUnitChick*>(thing) != nullptr && logic->DoFlirt(thing);
}

MOVE_KIND_BASICS(MoveInfoBurgle)
void MoveInfoBurgle::SetDefaults() {
  MoveInfoDiagonal::SetDefaults();
  name = "MoveBurgle";
  code = 22;
  stamina = -0.005f;
  TimesOneBut(*this, 1, 80);
  SetAllDiagonalTimes(1);
  SetDiagonalTime(1, 80);
}
// A rat starts burgling the cell in front of it.
bool MoveInfoBurgle::Perform(YLThing* thing, CLogic* logic) {
  auto* rat = dynamic_cast<YLUnitRat*>(thing);
  if (rat == nullptr || logic == nullptr || rat->Info == nullptr) {
    return false;
  }
  const int32_t facing = rat->Info->GetFacing();
  return logic->StartBurgle(rat, rat->GetX() + kDirectionX[facing], rat->GetY() + kDirectionY[facing]);
}

MOVE_KIND_BASICS(MoveInfoBaricade)
void MoveInfoBaricade::SetDefaults() {
  MoveInfoDiagonal::SetDefaults();
  name = "MoveBaricade";
  code = 23;
  step = 1;
  stamina = 0.12f;
  TimesOneBut(*this, 9, 24);
  SetAllDiagonalTimes(1);
  SetDiagonalTime(9, 24);
}
uint8_t MoveInfoBaricade::GetMoveTime(int32_t type, int32_t flags) const {
  const CLogic* logic = YLThing::GetLogic();
  const char* typeName = logic != nullptr ? logic->GetString(type) : nullptr;
  if (typeName != nullptr && std::strncmp(typeName, "Move", 4) == 0) {
    constexpr int32_t kBuilderType = 9;
    return MoveInfoDiagonal::GetMoveTime(kBuilderType, flags);
  }
  return MoveInfoDiagonal::GetMoveTime(type, flags);
}
// A rozav works on what stands at its destination: a barricade is knocked
// over or stood up where the rozav stands; a pushable thing is pushed and
// the rozav follows it a cell. The move's settings change with what was
// worked on and stay until the next perform.
bool MoveInfoBaricade::Perform(YLThing* thing, CLogic* logic) {
  auto* rozav = dynamic_cast<YLUnitRozav*>(thing);
  if (rozav == nullptr || logic == nullptr || rozav->Info == nullptr) {
    return false;
  }
  int32_t x = 0;
  int32_t y = 0;
  rozav->GetDestination(x, y);
  YLThing* target = logic->GetThingAt(x, y);
  if (target == nullptr) {
    target = logic->FindThingAtPosition(x, y);
  }
  constexpr int32_t kBuilderType = 9;
  if (auto* barricade = dynamic_cast<YLTBaricade*>(target)) {
    barricade->Toggle(rozav);
    step = 0;
    SetTime(kBuilderType, 10);
    SetDiagonalTime(kBuilderType, 10);
    return true;
  }
  auto* pushable = dynamic_cast<YLTPushable*>(target);
  if (pushable == nullptr || !pushable->Push(rozav)) {
    return false;
  }
  step = 1;
  SetTime(kBuilderType, 24);
  SetDiagonalTime(kBuilderType, 24);
  return PerformMovingKind(*this, thing, logic);
}

MOVE_KIND_BASICS(MoveInfoRave)
void MoveInfoRave::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "MoveRave";
  code = 24;
  stamina = 0.0f;
  TimesOneBut(*this, 2, 31);
}
// A raver raves at the units around it.
bool MoveInfoRave::Perform(YLThing* thing, CLogic*) {
  auto* raver = dynamic_cast<YLUnitRaver*>(thing);
  return raver != nullptr && raver->Rave();
}

MOVE_KIND_BASICS(MoveInfoAmbient)
void MoveInfoAmbient::SetDefaults() {
  MoveInfo::SetDefaults();
  name = "Ambient";
  code = 1;
  stamina = 0.0f;
  SetTimes({19, 85, 54, 0, 77, 46, 35, 99, 1, 90, 99, 52, 78});
}
// A unit does what its ambient slot does; the move always succeeds.
bool MoveInfoAmbient::Perform(YLThing* thing, CLogic*) {
  if (auto* unit = UnitOf(thing)) {
    unit->DoAmbient();
  }
  return true;
}

// ---- Pushes ----

MoveInfoPush::MoveInfoPush(int32_t pushVariant) : variant(WrapDirection(pushVariant)) { MoveInfoPush::SetDefaults(); }

const char* MoveInfoPush::GetClassName() const { return "MoveInfoPush"; }

void MoveInfoPush::SetDefaults() {
  MoveInfo::SetDefaults();
  const char digit[2] = {static_cast<char>('0' + variant), '\0'};
  name = "ObjectMove";
  name += digit;
  code = variant + 2;
  step = 1;
  stamina = 0.12f;
  SetAllTimes(1);
  SetTime(0, 4);
  SetTime(9, 24);
}

int32_t MoveInfoPush::GetDeltaX(int32_t) const { return kDirectionX[variant]; }
int32_t MoveInfoPush::GetDeltaY(int32_t) const { return kDirectionY[variant]; }
