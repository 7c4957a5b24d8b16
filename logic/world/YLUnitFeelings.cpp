// A unit's feelings and supplies, what it makes of the units it perceives,
// the blows it takes and its consciousness cycle. Every value is a float of
// the unit record computed in float arithmetic, so every machine gets the
// same feelings.

#include <cstdint>
#include <iterator>

#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnit.h"
#include "navigation/YLKnowledgeMap.h"

namespace {

// What a frightened unit says (the message of the logic's speech event).
constexpr int32_t kSayFrightened = 5;
// A unit hit harder than this stops in its hurt move.
constexpr float kHurtThreshold = 0.02f;
// At or below this consciousness an upright unit is knocked out.
constexpr float kKnockedOut = 0.05f;
// From this consciousness on a unit lying down gets up.
constexpr float kGetsUp = 0.5f;
// Dope from here on is an overdose.
constexpr float kOverdose = 1.15f;
// The lying unit's height.
constexpr int32_t kLyingHeight = -1;

// The armour a released unit gets, by unit type; negative: unchanged.
constexpr float kArmorByType[] = {-1.0f, 0.0f, 0.05f, -1.0f, -1.0f, 0.3f, 0.35f, 0.15f, -1.0f, 0.25f, 0.2f, -1.0f, 0.1f};

void CountForOwner(int32_t owner, ParamEnum first, ParamEnum second) {
  // A civilian's owner 0 names no player: nobody counts its loss.
  CLogic* logic = YLThing::GetLogic();
  CPlayer* player = logic != nullptr && owner != 0 ? logic->GetPlayer(owner) : nullptr;
  if (player != nullptr) {
    player->AddParam(first, 1);
    player->AddParam(second, 1);
  }
}

}  // namespace

// ---- Exports that do nothing ----

void SetLogicRandomSeed() {}
void ChangeTeam(ThingInfo*, int32_t) {}

// ---- Blows ----

bool YLUnit::TakeDamage(float amount) {
  const UnitInfo* info = GetUnitInfo();
  if (info == nullptr) {
    return YLThing::TakeDamage(amount);
  }
  return YLThing::TakeDamage(amount * (1.0f - info->Armor) * (2.0f - info->Dope) * 0.5f);
}

void YLUnit::Frighten(float amount, int32_t sourceId) {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || !HasStatus(StatusUpright) || !HasStatus(StatusAlive)) {
    return;
  }
  info->Fear += GetFrightFactor() * (1.0f - info->Fear) * amount;
  if (sourceId != 0) {
    Speak(kSayFrightened, sourceId);
  }
}

void YLUnit::HitByThrow(float amount, int32_t, int32_t) {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || !HasStatus(StatusUpright) || !HasStatus(StatusAlive)) {
    return;
  }
  info->Fear += GetFrightFactor() * (1.0f - info->Fear) * amount;
}

void YLUnit::Stun(float amount) {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || info->Cons < 0.0f || HasStatus(kStatusArrested)) {
    return;
  }
  info->Cons -= (1.0f - info->Armor) * (1.0f - info->Dope) * amount;
  const int32_t move = info->MoveNumber;
  if (HasStatus(StatusUpright) && amount > kHurtThreshold && (move < kMoveWalk || move > kMoveRunOtherLeg)) {
    const int32_t frames = StartMove(GetMoveInfo(kMoveHurt));
    ReportAction();
    SetActive(static_cast<uint8_t>(frames));
  }
}

void YLUnit::WearOut() {
  UnitInfo* info = GetUnitInfo();
  if (info != nullptr && !HasStatus(kStatusArrested)) {
    info->Cons -= (1.0f - info->Dope) * 0.02f;
  }
}

void YLUnit::Reinitialise() {
  DestinationX = 0;
  DestinationY = 0;
  Frustration = 0.0f;
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr) {
    return;
  }
  info->Loyalty = 1.1f;
  ApplyTypeArmor(*info);
}

float YLUnit::GetTypeArmor(int32_t type) {
  return type >= 0 && type < static_cast<int32_t>(std::size(kArmorByType)) ? kArmorByType[type] : -1.0f;
}

void YLUnit::ApplyTypeArmor(UnitInfo& info) {
  const float armor = GetTypeArmor(info.Gfx);
  if (armor >= 0.0f) {
    info.Armor = armor;
  }
}

// ---- Supplies ----

void YLUnit::DrinkBeer(int32_t glasses) {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr) {
    return;
  }
  info->Beer += static_cast<float>(glasses) * 0.02f * GetBeerFactor();
  if (info->Beer > 1.0f) {
    info->Beer = 1.0f;
  }
}

// The counts wrap as 32-bit values do: a stored count may hold any value.
void YLUnit::AddAmmo(int32_t count) {
  if (UnitInfo* info = GetUnitInfo()) {
    info->Ammo = static_cast<int32_t>(static_cast<uint32_t>(info->Ammo) + static_cast<uint32_t>(count));
  }
}

void YLUnit::SetAmmo(int32_t count) {
  if (UnitInfo* info = GetUnitInfo()) {
    info->Ammo = count;
  }
}

bool YLUnit::UseAmmo() {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr || info->Ammo == 0) {
    return false;
  }
  info->Ammo = static_cast<int32_t>(static_cast<uint32_t>(info->Ammo) - 1u);
  return true;
}

void YLUnit::SetLeader(int32_t) {}
bool YLUnit::HasActivePlan() const { return false; }

bool YLUnit::IsOnBit22Cell() const {
  const CLogic* logic = GetLogic();
  const YLKnowledgeMap* knowledge = logic != nullptr && logic->Map != nullptr ? logic->Map->GetStratMap() : nullptr;
  return knowledge != nullptr && knowledge->HasBit22(GetX(), GetY());
}

// ---- Feelings ----

void YLUnit::UpdateFeelings() {
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr) {
    return;
  }
  info->Fear *= 0.95f;
  info->Anger *= 0.95f;
  info->Beer -= 0.001f;
  if (info->Beer < 0.0f) {
    info->Beer = 0.0f;
  }
  info->Fear -= info->Beer * 0.1f;
  if (info->Fear < 0.0f) {
    info->Fear = 0.0f;
  }
  info->Anger += info->Beer * 0.08f;
  if (info->Anger > 1.0f) {
    info->Anger = 1.0f;
  }
  info->Cons -= info->Cons * info->Beer * 0.001f;
  info->Stamina += (1.0f - info->Stamina) * GetStaminaRate() * 0.01f;
  info->Stamina += info->Dope * 0.2f;
  if (info->Stamina > 1.0f) {
    info->Stamina = 1.0f;
  }
  if (info->Dope <= 0.001f) {
    info->Dope = 0.0f;
  } else {
    info->Dope -= 0.001f;
  }
  if (info->Dope >= kOverdose) {
    const int32_t owner = GetOwner();
    Destroy();
    CountForOwner(owner, ParamUnitsLost, ParamTeamKills);
    return;
  }
  if (info->Dope > 1.0f) {
    info->Dope = 1.0f;
  }
}

void YLUnit::UpdatePerception() {
  UnitInfo* info = GetUnitInfo();
  const CLogic* logic = GetLogic();
  if (info == nullptr || logic == nullptr || HasStatus(kStatusArrested | kStatusSwitchedOff)) {
    return;
  }
  const int32_t owner = GetOwner();
  float care = 0.0f;
  float fear = 0.0f;
  int32_t count = 0;
  float friends = GetDamage() * info->Hp;
  for (int32_t index = 0; index < GetNeighbourCount(); ++index) {
    const int32_t id = GetNeighbour(index);
    if (id >= kDirectionCodes) {
      continue;
    }
    const auto* other = UnitOf(logic->GetThing(id));
    if (other == nullptr || other->Info == nullptr) {
      continue;
    }
    int32_t x = 0;
    int32_t y = 0;
    GetNearestPoint(other, GetX(), GetY(), x, y);
    const int32_t distance = IntDistance(GetX(), GetY(), x, y);
    const float d = distance == 0 ? 0.1f : static_cast<float>(distance);
    const float w = other->GetDamage() * other->Info->Hp / d;
    const int32_t otherOwner = other->GetOwner();
    if (owner == 0) {
      if (otherOwner != 0 && otherOwner != CLogic::kPolicePlayer) {
        fear += 4.0f * w;
        care = care + (1.0f - care) * w;
        count += 1;
      }
      continue;
    }
    if (otherOwner == owner) {
      friends = friends + (1.0f - friends) * w;
      continue;
    }
    const UnitInfo* otherInfo = other->GetUnitInfo();
    const float anger = otherInfo != nullptr ? otherInfo->Anger : 0.0f;
    fear += anger * w * 5.0f;
    care = care + (1.0f - care) * w;
    count += 1;
    if (other->IsPolice()) {
      fear += anger * w * 2.0f;
      care = care + (1.0f - care) * (4.0f * w);
      count += 1;
    }
  }
  info->Carefulness = care - friends * 0.5f;
  if (info->Carefulness < 0.0f) {
    info->Carefulness = 0.0f;
  }
  const float average = count == 0 ? fear : fear / static_cast<float>(count);
  if (average > info->Fear) {
    info->Fear = average;
  }
  if (info->Fear > 1.0f) {
    info->Fear = 1.0f;
  }
}

// ---- The slow step and the frame ----

void YLUnit::Evolve() {
  if (HasStatus(kStatusSwitchedOff)) {
    return;
  }
  UpdateFeelings();
  UpdatePerception();
  LumoBrain::Evolve();
}

// A unit that goes down falls first, then lies (its lying move at height
// -1); each move start is announced. The plan goes when it starts falling.
void YLUnit::FallDown() {
  const int32_t move = Info->MoveNumber;
  if (move == kMoveOut) {
    return;
  }
  if (move != kMoveFall) {
    StartMove(GetMoveInfo(kMoveFall));
    ReportAction();
    ClearPlan();
    return;
  }
  const MoveInfo* fall = GetMoveInfo(kMoveFall);
  if (fall != nullptr && GetTime() >= fall->GetMoveTime(Info->Gfx, Info->Ori)) {
    StartMove(GetMoveInfo(kMoveOut));
    SetZ(kLyingHeight);
    ReportAction();
  }
}

bool YLUnit::Propagate() {
  if (!YLThing::Propagate()) {
    if (Info != nullptr) {
      FallDown();
    }
    return false;
  }
  UnitInfo* info = GetUnitInfo();
  if (info == nullptr) {
    return true;
  }
  if (info->Cons < 1.0f) {
    if (info->Cons < 0.0f) {
      info->Cons = 0.0003f;
    } else {
      info->Cons += 0.001f;
    }
  }
  if (HasStatus(StatusUpright)) {
    if (info->Cons > kKnockedOut) {
      if (Compute() == 0) {
        Compute();
      }
    } else {
      ClearStatus(StatusUpright);
    }
    return true;
  }
  if (info->Cons >= kGetsUp) {
    SetStatus(StatusUpright);
    StartMove(GetMoveInfo(kMoveRest));
    SetZ(0);
    ReportAction();
    return true;
  }
  FallDown();
  return true;
}
