#include "logic/core/ThingInfo.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/RecordFields.h"
#include "logic/core/UnitInfo.h"

namespace {

// Registration order is the stream order.
LumoClassOf<ThingInfo> classOfThingInfo(kVersion_1_6_0_6, "ThingInfo", "LumoObject");
LOGIC_FIELD_PROPERTY(ThingInfo, X, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ThingInfo, Y, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ThingInfo, Z, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ThingInfo, Status, PropertyInteger, "tCardinal");
LOGIC_FIELD_PROPERTY(ThingInfo, Ori, PropertySignedByte, "tByte");
LOGIC_FIELD_PROPERTY(ThingInfo, Hp, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(ThingInfo, Armor, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(ThingInfo, Tid, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ThingInfo, Owner, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ThingInfo, Gfx, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ThingInfo, Time, PropertySignedByte, "tSignedByte");
LOGIC_FIELD_PROPERTY(ThingInfo, BuildingType, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ThingInfo, References, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(ThingInfo, GroundMap, PropertyObject, "tUnknown");

const ThingInfoDebugSource* debugSource = nullptr;

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

template <typename Record>
ThingInfo* MakeRecord(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner) {
  return new Record(x, y, z, ori, owner);
}

using RecordFactory = ThingInfo* (*)(int32_t, int32_t, int32_t, uint8_t, int32_t);

// The record class of each keyword prefix, tested in this order. "Unit"
// comes after "UnitLeader" so that the longer prefix wins.
struct KindPrefix {
  const char* prefix;
  RecordFactory make;
};
constexpr KindPrefix kKindPrefixes[] = {
    {"UnitLeader", MakeRecord<LeaderInfo>},    {"Unit", MakeRecord<UnitInfo>},
    {"Shop", MakeRecord<BuildingInfo>},        {"Home", MakeRecord<BuildingInfo>},
    {"Pub", MakeRecord<PubInfo>},              {"Weapon", MakeRecord<BuildingInfo>},
    {"Dope", MakeRecord<BuildingInfo>},        {"Girls", MakeRecord<BuildingInfo>},
    {"SuitHangout", MakeRecord<BuildingInfo>}, {"Vehicle", MakeRecord<VehicleInfo>},
    {"Shack", MakeRecord<ShackInfo>},
};

}  // namespace

// ---- Life ----

ThingInfo::ThingInfo() = default;

ThingInfo::ThingInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner)
    : X(x), Y(y), Z(z), Ori(ori), Owner(owner) {}

const char* ThingInfo::GetClassName() const { return "ThingInfo"; }

void ThingInfo::DoFree() {
  Ground.reset();
  SetMove(nullptr, 0);
  LumoObject::DoFree();
}

void ThingInfo::SetMove(const MoveInfo* move, int32_t number) {
  Move = move;
  MoveNumber = number;
}

// ---- Type tests ----

bool ThingInfo::IsUnit() const { return false; }
UnitInfo* ThingInfo::AsUnitInfo() { return nullptr; }
bool ThingInfo::IsLeader() const { return false; }
bool ThingInfo::IsContainer() const { return false; }
bool ThingInfo::IsVehicle() const { return false; }
bool ThingInfo::IsBuilding() const { return false; }
bool ThingInfo::IsShop() const { return false; }
bool ThingInfo::IsVehicleContainer() const { return false; }

// ---- Footprint ----

void ThingInfo::AddWall(int32_t x, int32_t y, bool remove) {
  const int32_t relativeX = x - X;
  const int32_t relativeY = y - Y;
  const int32_t facing = GetFacing();
  if (remove) {
    if (Ground != nullptr) {
      Ground->RemovePoint(facing, relativeX, relativeY);
    }
    return;
  }
  if (Ground == nullptr) {
    Ground.reset(new GroundMap);
    Ground->AddPoint(facing, 0, 0);
  }
  if (!Ground->HasPoint(facing, relativeX, relativeY)) {
    Ground->AddPoint(facing, relativeX, relativeY);
  }
}

// ---- Debug text ----

void ThingInfo::SetDebugSource(const ThingInfoDebugSource* source) { debugSource = source; }
const ThingInfoDebugSource* ThingInfo::GetDebugSource() { return debugSource; }

void ThingInfo::AppendFormat(tString& text, const char* format, ...) {
  char buffer[kFormatBufferSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  va_end(arguments);
  text += buffer;
}

void ThingInfo::DebugPrint(tString& text) const {
  const char* typeName = "";
  const char* moveName = "";
  int32_t moveLength = 0;
  if (debugSource != nullptr) {
    debugSource->AppendThingText(*this, text);
    typeName = DebugText(debugSource->GetTypeName(Gfx));
    moveName = DebugText(debugSource->GetMoveName(*this));
    moveLength = debugSource->GetMoveLength(*this);
  }
  AppendFormat(text, "thing%d, %s(%d) hp=%.3f, (%d,%d,%d,%d) 0x%08x\naction=%s %d/%d, type=%d armor=%.3f\n", Tid,
               typeName, Gfx, Hp, X, Y, Z, Ori, Status, moveName, Time, moveLength, BuildingType, Armor);
}

// ---- Fields in their stream forms ----

LUMO_GENERIC_FIELD(ThingInfo, X)
LUMO_GENERIC_FIELD(ThingInfo, Y)
LUMO_GENERIC_FIELD(ThingInfo, Z)
LUMO_GENERIC_FIELD(ThingInfo, Status)
LUMO_GENERIC_FIELD(ThingInfo, Ori)
LUMO_GENERIC_FIELD(ThingInfo, Hp)
LUMO_GENERIC_FIELD(ThingInfo, Armor)
LUMO_GENERIC_FIELD(ThingInfo, Tid)
LUMO_GENERIC_FIELD(ThingInfo, Owner)
LUMO_GENERIC_FIELD(ThingInfo, Gfx)
LUMO_GENERIC_FIELD(ThingInfo, Time)
LUMO_GENERIC_FIELD(ThingInfo, BuildingType)

// The current move travels as its number; the thing turns the number back
// into its move once it is initialised after loading.
bool ThingInfo::LoadReferences(LumoStream* stream, const LumoProperty*) {
  int32_t number = 0;
  if (!stream->ReadInteger(number)) {
    return false;
  }
  SetMove(nullptr, number);
  return true;
}

bool ThingInfo::SaveReferences(LumoStream* stream, const LumoProperty*) { return stream->WriteInteger(MoveNumber); }

bool ThingInfo::LoadGroundMap(LumoStream* stream, const LumoProperty*) {
  LumoObject* loaded = nullptr;
  if (!stream->ReadObject(loaded)) {
    ::DebugPrint("ThingInfo: cannot read the ground map of thing %d\n", Tid);
    return false;
  }
  auto* map = dynamic_cast<GroundMap*>(loaded);
  if (loaded != nullptr && map == nullptr) {
    ::DebugPrint("ThingInfo: thing %d holds a %s where its ground map belongs\n", Tid, loaded->GetClassName());
    DestroyObject(loaded);
    return false;
  }
  Ground.reset(map);
  return true;
}

bool ThingInfo::SaveGroundMap(LumoStream* stream, const LumoProperty*) { return stream->WriteObject(Ground.get()); }

// ---- Exports ----

ThingInfo* CreateThingInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner, const char* kind) {
  if (kind != nullptr) {
    for (const KindPrefix& entry : kKindPrefixes) {
      if (StartsWith(kind, entry.prefix)) {
        return entry.make(x, y, z, ori, owner);
      }
    }
  }
  return new ThingInfo(x, y, z, ori, owner);
}

void DestroyThingInfo(ThingInfo* info) { DestroyObject(info); }
