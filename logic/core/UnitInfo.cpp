#include "logic/core/UnitInfo.h"

#include <algorithm>
#include <iterator>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/RecordFields.h"

namespace {

// Registration order is the stream order.
LumoClassOf<UnitInfo> classOfUnitInfo(kVersion_1_6_0_6, "UnitInfo", "ThingInfo");
LOGIC_FIELD_PROPERTY(UnitInfo, Anger, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Beer, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Boredom, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Carefulness, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Cons, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Dope, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Flirt, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Fear, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Leader, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(UnitInfo, Stamina, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Ammo, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(UnitInfo, Loyalty, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(UnitInfo, Situation, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(UnitInfo, Weapon, PropertyInteger, "tInteger");

LumoClassOf<LeaderInfo> classOfLeaderInfo(kVersion_1_6_0_6, "LeaderInfo", "UnitInfo");
LOGIC_FIELD_PROPERTY(LeaderInfo, DopeDoses, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LeaderInfo, GroupID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LeaderInfo, Leadership, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(LeaderInfo, LeaderName, PropertyCharStr, "tCharStr");
LOGIC_FIELD_PROPERTY(LeaderInfo, Group, PropertyPointer, "tPointer");

constexpr uint32_t kUnitStatus = StatusAlive | StatusUpright;

}  // namespace

// ---- UnitInfo ----

UnitInfo::UnitInfo() { Status = kUnitStatus; }

UnitInfo::UnitInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner) : ThingInfo(x, y, z, ori, owner) {
  Status = kUnitStatus;
}

const char* UnitInfo::GetClassName() const { return "UnitInfo"; }
bool UnitInfo::IsUnit() const { return true; }

void UnitInfo::DebugPrint(tString& text) const {
  ThingInfo::DebugPrint(text);
  AppendFormat(text, "unit: f=%.3f a=%.3f st=%.3f dope=%.3f dr=%.3f flirt=%f\n", Fear, Anger, Stamina, Dope, Beer,
               Flirt);
}

LUMO_GENERIC_FIELD(UnitInfo, Cons)
LUMO_GENERIC_FIELD(UnitInfo, Fear)
LUMO_GENERIC_FIELD(UnitInfo, Carefulness)
LUMO_GENERIC_FIELD(UnitInfo, Anger)
LUMO_GENERIC_FIELD(UnitInfo, Boredom)
LUMO_GENERIC_FIELD(UnitInfo, Loyalty)
LUMO_GENERIC_FIELD(UnitInfo, Beer)
LUMO_GENERIC_FIELD(UnitInfo, Dope)
LUMO_GENERIC_FIELD(UnitInfo, Flirt)
LUMO_GENERIC_FIELD(UnitInfo, Stamina)
LUMO_GENERIC_FIELD(UnitInfo, Weapon)
LUMO_GENERIC_FIELD(UnitInfo, Ammo)
LUMO_GENERIC_FIELD(UnitInfo, Leader)
LUMO_GENERIC_FIELD(UnitInfo, Situation)

// ---- LeaderInfo ----

LeaderInfo::LeaderInfo() {
  Leader = Tid;
  SetName("<name>");
}

LeaderInfo::LeaderInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner)
    : UnitInfo(x, y, z, ori, owner) {
  Leader = Tid;
  SetName("<name>");
}

LeaderInfo::~LeaderInfo() { FreeCharStr(LeaderName); }

const char* LeaderInfo::GetClassName() const { return "LeaderInfo"; }
bool LeaderInfo::IsLeader() const { return true; }

void LeaderInfo::DoFree() {
  FreeCharStr(LeaderName);
  UnitInfo::DoFree();
}

// SetCharStr keeps the block when the record's own name is passed back in.
void LeaderInfo::SetName(const char* name) { SetCharStr(LeaderName, name); }

void LeaderInfo::DebugPrint(tString& text) const {
  UnitInfo::DebugPrint(text);
  AppendFormat(text, "leader %s gsize=%d, dope=%d ammo=%d\n", DebugText(LeaderName), GroupSize, DopeDoses, Ammo);
}

LUMO_GENERIC_FIELD(LeaderInfo, Leadership)
LUMO_GENERIC_FIELD(LeaderInfo, LeaderName)
LOGIC_BYTE_AS_INTEGER_FIELD(LeaderInfo, GroupID)
LOGIC_BYTE_AS_INTEGER_FIELD(LeaderInfo, DopeDoses)

// The group travels as its size (one byte) and that many identifiers. Only
// 16 fit the record: a larger stored size fails the load.
bool LeaderInfo::LoadGroup(LumoStream* stream, const LumoProperty*) {
  uint8_t size = 0;
  if (!stream->ReadByte(size)) {
    return false;
  }
  if (size > kMaxGroupSize) {
    ::DebugPrint("LeaderInfo: leader %d stores a group of %d, more than %d\n", Tid, size, kMaxGroupSize);
    return false;
  }
  int32_t group[kMaxGroupSize] = {};
  for (int32_t index = 0; index < size; ++index) {
    if (!stream->ReadInteger(group[index])) {
      return false;
    }
  }
  std::copy(std::begin(group), std::end(group), std::begin(Group));
  GroupSize = size;
  return true;
}

bool LeaderInfo::SaveGroup(LumoStream* stream, const LumoProperty*) {
  if (GroupSize > kMaxGroupSize) {
    ::DebugPrint("LeaderInfo: leader %d has a group of %d, more than %d\n", Tid, GroupSize, kMaxGroupSize);
    return false;
  }
  if (!stream->WriteByte(GroupSize)) {
    return false;
  }
  for (int32_t index = 0; index < GroupSize; ++index) {
    if (!stream->WriteInteger(Group[index])) {
      return false;
    }
  }
  return true;
}
