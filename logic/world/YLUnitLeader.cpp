#include "logic/world/YLUnitLeader.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "base/tString.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/core/WeaponCatalog.h"

namespace {

LumoClassOf<YLUnitLeader> classOfYLUnitLeader(kVersion_1_6_0_6, "YLUnitLeader", "YLUnitHardCore");
LumoClassOf<YLUnitChick> classOfYLUnitChick(kVersion_1_6_0_6, "YLUnitChick", "YLUnitHardCore");
LOGIC_FIELD_PROPERTY(YLUnitChick, Flirt, PropertyPointer, "tPointer");
LumoClassOf<YLUnitSuit> classOfYLUnitSuit(kVersion_1_6_0_6, "YLUnitSuit", "YLUnitHardCore");
LOGIC_FIELD_PROPERTY(YLUnitSuit, Data, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLUnitSuit, Last, PropertyPointer, "tPointer");

constexpr float kLeaderArmor = 0.2f;
constexpr int32_t kSuitRounds = 1;
constexpr const char* kFlirtMarker = "flirt:";
constexpr const char* kDataMarker = "data:";
constexpr const char* kLastMarker = "last:";

}  // namespace

YLUnitLeader::YLUnitLeader() = default;
const char* YLUnitLeader::GetClassName() const { return "YLUnitLeader"; }

ThingInfo* YLUnitLeader::MakeInfo() const {
  auto* info = new LeaderInfo;
  info->Status = kStatusNewUnit;
  info->Armor = kLeaderArmor;
  info->SetName("<name>");
  return info;
}

LeaderInfo* YLUnitLeader::GetLeaderInfo() const { return dynamic_cast<LeaderInfo*>(Info.get()); }

void YLUnitLeader::SetLeaderName(const char* name) {
  if (LeaderInfo* info = GetLeaderInfo()) {
    info->SetName(name);
  }
}

bool YLUnitLeader::AddGroupMember(YLUnit* unit) {
  LeaderInfo* info = GetLeaderInfo();
  if (info == nullptr || unit == nullptr || unit->Info == nullptr || info->GroupSize >= kMaxMembers ||
      dynamic_cast<YLUnitHardCore*>(unit) == nullptr || dynamic_cast<YLUnitLeader*>(unit) != nullptr) {
    return false;
  }
  const int32_t id = unit->Info->Tid;
  for (int32_t index = 0; index < info->GroupSize; ++index) {
    if (info->Group[index] == id) {
      return true;
    }
  }
  info->Group[info->GroupSize] = id;
  ++info->GroupSize;
  unit->SetLeader(info->Tid);
  return true;
}

bool YLUnitLeader::RemoveGroupMember(const YLUnit* unit) {
  return unit != nullptr && unit->Info != nullptr && RemoveGroupMemberID(unit->Info->Tid);
}

bool YLUnitLeader::RemoveGroupMemberID(int32_t id) {
  LeaderInfo* info = GetLeaderInfo();
  if (info == nullptr) {
    return false;
  }
  int32_t kept = 0;
  const int32_t size = info->GroupSize < LeaderInfo::kMaxGroupSize ? info->GroupSize : LeaderInfo::kMaxGroupSize;
  for (int32_t index = 0; index < size; ++index) {
    if (info->Group[index] != id) {
      info->Group[kept++] = info->Group[index];
    }
  }
  for (int32_t index = kept; index < size; ++index) {
    info->Group[index] = 0;
  }
  info->GroupSize = static_cast<uint8_t>(kept);
  return true;
}

bool YLUnitLeader::AddDopeUnits(int32_t n) {
  LeaderInfo* info = GetLeaderInfo();
  if (info == nullptr) {
    return false;
  }
  if (n < 0) {
    DebugPrint("YLUnitLeader::AddDopeUnits(): refused to take away %d doses\n", static_cast<int>(n));
    return false;
  }
  // n may be as large as an int holds: compare before adding.
  const int32_t held = info->DopeDoses;
  if (n > kMaxDopeDoses - held) {
    DebugPrint("YLUnitLeader::AddDopeUnits(): too much dope: clipped to 99\n");
    info->DopeDoses = static_cast<uint8_t>(kMaxDopeDoses);
  } else {
    info->DopeDoses = static_cast<uint8_t>(held + n);
  }
  return true;
}

bool YLUnitLeader::UseDopeDose(const YLThing* caller) {
  LeaderInfo* info = GetLeaderInfo();
  if (info == nullptr || caller == nullptr || caller->Info == nullptr || caller->Info->Owner != info->Owner ||
      info->DopeDoses == 0) {
    return false;
  }
  --info->DopeDoses;
  return true;
}

Temperament YLUnitLeader::GetTemperament() const { return {1.0f, 1.0f, 1.0f, 1.0f, 1.0f}; }
int32_t YLUnitLeader::GetAttackMove(int32_t move) const { return move == 11 ? 12 : move; }

YLUnitChick::YLUnitChick() = default;
const char* YLUnitChick::GetClassName() const { return "YLUnitChick"; }
Temperament YLUnitChick::GetTemperament() const { return {0.8f, 1.2f, 2.0f, 0.5f, 0.6f}; }
int32_t YLUnitChick::GetAttackMove(int32_t move) const { return move == 12 || move == 13 ? 11 : move; }

void YLUnitChick::SetGrade(int32_t grade) {
  Grade = grade;
  SetWeaponGrade(grade);
  FlirtsAllowed = grade == 0 ? 2 : grade == 1 ? 4 : 8;
}

bool YLUnitChick::MayFlirt() {
  if (FlirtsUsed >= FlirtsAllowed) {
    return false;
  }
  ++FlirtsUsed;
  return true;
}

float YLUnitChick::GetCharm() const { return Grade == 2 ? 1.03f : Grade == 1 ? 1.0225f : 1.015f; }

void YLUnitChick::GetDebugText(tString& text) const {
  char line[96];
  std::snprintf(line, sizeof(line), "chick grade%d flirted %d of %d\n", static_cast<int>(Grade),
                static_cast<int>(FlirtsUsed), static_cast<int>(FlirtsAllowed));
  text = line;
}

bool YLUnitChick::LoadFlirt(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kFlirtMarker)) {
    return true;
  }
  if (!stream->ReadInteger(Grade) || !stream->ReadInteger(FlirtsUsed) || !stream->ReadInteger(FlirtsAllowed)) {
    DebugPrint("YLUnitChick: cannot read the values behind \"%s\"\n", kFlirtMarker);
    return false;
  }
  return true;
}

bool YLUnitChick::SaveFlirt(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kFlirtMarker) && stream->WriteInteger(Grade) && stream->WriteInteger(FlirtsUsed) &&
         stream->WriteInteger(FlirtsAllowed);
}

YLUnitSuit::YLUnitSuit() = default;
const char* YLUnitSuit::GetClassName() const { return "YLUnitSuit"; }
Temperament YLUnitSuit::GetTemperament() const { return {1.2f, 0.6f, 1.25f, 1.0f, 0.6f}; }
int32_t YLUnitSuit::GetAttackMove(int32_t move) const { return move == 12 || move == 13 ? 11 : move; }

ThingInfo* YLUnitSuit::MakeInfo() const {
  ThingInfo* info = YLUnitHardCore::MakeInfo();
  if (auto* unit = dynamic_cast<UnitInfo*>(info)) {
    unit->Ammo = kSuitRounds;
  }
  return info;
}

YLWeapon* YLUnitSuit::TakeBombWeapon(const CLogic* logic) {
  if (logic == nullptr || logic->Weapons == nullptr || BombFlag != kArmed) {
    return nullptr;
  }
  BombFlag = kBombUsed;
  return logic->Weapons->GetSlot(WeaponSlot::kBomb);
}

YLWeapon* YLUnitSuit::TakeBankWeapon(const CLogic* logic) {
  if (logic == nullptr || logic->Weapons == nullptr || BombFlag != kArmed) {
    return nullptr;
  }
  BombFlag = kBankWeaponUsed;
  return logic->Weapons->GetSlot(WeaponSlot::kSafeCracker);
}

bool YLUnitSuit::FireBombWeapon(CLogic* logic, int32_t x, int32_t y) {
  return FireOnce(logic, TakeBombWeapon(logic), x, y);
}

bool YLUnitSuit::FireBankWeapon(CLogic* logic, int32_t x, int32_t y) {
  return FireOnce(logic, TakeBankWeapon(logic), x, y);
}

bool YLUnitSuit::FireOnce(CLogic* logic, YLWeapon* weapon, int32_t x, int32_t y) {
  if (logic == nullptr || weapon == nullptr) {
    return false;
  }
  if (logic->UseWeapon(this, weapon, x, y)) {
    return true;
  }
  // Refused (out of reach, no round): nothing was fired, so the weapon is
  // the suit's again.
  BombFlag = kArmed;
  return false;
}

void YLUnitSuit::Rearm(int32_t playerId) {
  Last = playerId;
  BombFlag = kArmed;
  if (UnitInfo* info = GetUnitInfo()) {
    info->Ammo = kSuitRounds;
    info->Hp = 1.0f;
    info->Cons = 1.0f;
  }
}

bool YLUnitSuit::LoadData(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kDataMarker)) {
    return true;
  }
  if (!stream->ReadInteger(BankID) || !stream->ReadByte(BombFlag)) {
    DebugPrint("YLUnitSuit: cannot read the values behind \"%s\"\n", kDataMarker);
    return false;
  }
  return true;
}

bool YLUnitSuit::SaveData(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kDataMarker) && stream->WriteInteger(BankID) && stream->WriteByte(BombFlag);
}

bool YLUnitSuit::LoadLast(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kLastMarker)) {
    return true;
  }
  if (!stream->ReadInteger(Last)) {
    DebugPrint("YLUnitSuit: cannot read the value behind \"%s\"\n", kLastMarker);
    return false;
  }
  return true;
}

bool YLUnitSuit::SaveLast(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kLastMarker) && stream->WriteInteger(Last);
}
