#include "logic/world/YLUnitLeader.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "base/tString.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<YLUnitLeader> classOfYLUnitLeader(kVersion_1_6_0_6, "YLUnitLeader", "YLUnitHardCore");
LumoClassOf<YLUnitChick> classOfYLUnitChick(kVersion_1_6_0_6, "YLUnitChick", "YLUnitHardCore");
LOGIC_FIELD_PROPERTY(YLUnitChick, Flirt, PropertyPointer, "tPointer");
LumoClassOf<YLUnitSuit> classOfYLUnitSuit(kVersion_1_6_0_6, "YLUnitSuit", "YLUnitHardCore");

constexpr float kLeaderArmor = 0.2f;
constexpr int32_t kSuitRounds = 1;
constexpr const char* kFlirtMarker = "flirt:";

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
