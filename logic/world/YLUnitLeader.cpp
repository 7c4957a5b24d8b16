#include "logic/world/YLUnitLeader.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YLUnitLeader> classOfYLUnitLeader(kVersion_1_6_0_6, "YLUnitLeader", "YLUnitHardCore");
LumoClassOf<YLUnitChick> classOfYLUnitChick(kVersion_1_6_0_6, "YLUnitChick", "YLUnitHardCore");
LumoClassOf<YLUnitSuit> classOfYLUnitSuit(kVersion_1_6_0_6, "YLUnitSuit", "YLUnitHardCore");

constexpr float kLeaderArmor = 0.2f;
constexpr int32_t kSuitRounds = 1;

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

YLUnitChick::YLUnitChick() = default;
const char* YLUnitChick::GetClassName() const { return "YLUnitChick"; }

YLUnitSuit::YLUnitSuit() = default;
const char* YLUnitSuit::GetClassName() const { return "YLUnitSuit"; }

ThingInfo* YLUnitSuit::MakeInfo() const {
  ThingInfo* info = YLUnitHardCore::MakeInfo();
  if (auto* unit = dynamic_cast<UnitInfo*>(info)) {
    unit->Ammo = kSuitRounds;
  }
  return info;
}
