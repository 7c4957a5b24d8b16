#include "logic/core/ContainerInfo.h"

#include "logic/core/RecordFields.h"

namespace {

// Registration order is the stream order.
LumoClassOf<ContainerInfo> classOfContainerInfo(kVersion_1_6_0_6, "ContainerInfo", "ThingInfo");
LOGIC_FIELD_PROPERTY(ContainerInfo, ExitX, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ContainerInfo, ExitY, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ContainerInfo, MaxCarry, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ContainerInfo, ContainedThing, PropertyPointer, "tPointer");

LumoClassOf<VehicleInfo> classOfVehicleInfo(kVersion_1_6_0_6, "VehicleInfo", "ContainerInfo");
LOGIC_FIELD_PROPERTY(VehicleInfo, DriverID, PropertyInteger, "tInteger");

LumoClassOf<ShackInfo> classOfShackInfo(kVersion_1_6_0_6, "ShackInfo", "ContainerInfo");
LOGIC_FIELD_PROPERTY(ShackInfo, WeaponGrade, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ShackInfo, WeaponCount, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ShackInfo, Guns, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ShackInfo, Molotovs, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ShackInfo, Ammo, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(ShackInfo, Dope, PropertyInteger, "tInteger");

constexpr int32_t kVehicleMaxCarry = 7;
constexpr float kVehicleArmor = 0.32f;

}  // namespace

// ---- ContainerInfo ----

ContainerInfo::ContainerInfo() = default;

ContainerInfo::ContainerInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner)
    : ThingInfo(x, y, z, ori, owner) {}

const char* ContainerInfo::GetClassName() const { return "ContainerInfo"; }
bool ContainerInfo::IsContainer() const { return true; }

int32_t ContainerInfo::GetMaxItems() const { return MaxCarry; }
void ContainerInfo::SetMaxItems(int32_t maxItems) { MaxCarry = maxItems; }
int32_t ContainerInfo::GetContainedCount() const { return ContainedThing.count; }

void ContainerInfo::SetEntranceRel(int32_t x, int32_t y) {
  ExitX = x;
  ExitY = y;
}

const tCollection<int32_t>& ContainerInfo::GetContainedIDs() const { return ContainedThing; }
int32_t ContainerInfo::GetContainedID(int32_t n) const { return ContainedThing.At(n); }
bool ContainerInfo::IsFull() const { return ContainedThing.count >= MaxCarry; }

void ContainerInfo::GetEntranceRel(int32_t& x, int32_t& y) const {
  x = ExitX;
  y = ExitY;
}

// A loaded record may hold any 32-bit position and offset: their sum wraps
// around as 32-bit arithmetic does instead of overflowing.
void ContainerInfo::GetEntrance(int32_t& x, int32_t& y) const {
  x = static_cast<int32_t>(static_cast<uint32_t>(X) + static_cast<uint32_t>(ExitX));
  y = static_cast<int32_t>(static_cast<uint32_t>(Y) + static_cast<uint32_t>(ExitY));
}

void ContainerInfo::AddContainedID(int32_t id) { ContainedThing.AppendInt(id); }

void ContainerInfo::RemoveContainedID(int32_t id) {
  const int32_t index = ContainedThing.IndexOf(id);
  if (index >= 0) {
    ContainedThing.DeleteAt(index);
  }
}

void ContainerInfo::DebugPrint(tString& text) const {
  ThingInfo::DebugPrint(text);
  AppendFormat(text, "door(%d,%d), cont(%dod%d) ", ExitX, ExitY, ContainedThing.count, MaxCarry);
  for (int32_t index = 0; index < ContainedThing.count; ++index) {
    AppendFormat(text, " %d", ContainedThing[index]);
  }
  text += "\n";
}

LUMO_GENERIC_FIELD(ContainerInfo, ExitX)
LUMO_GENERIC_FIELD(ContainerInfo, ExitY)
LUMO_GENERIC_FIELD(ContainerInfo, MaxCarry)

// The contained identifiers travel as their count and the identifiers.
bool ContainerInfo::LoadContainedThing(LumoStream* stream, const LumoProperty*) {
  int32_t count = 0;
  return ReadValueCount(stream, *this, "ContainedThing", false, count) && ReadValues(stream, ContainedThing, count);
}

bool ContainerInfo::SaveContainedThing(LumoStream* stream, const LumoProperty*) {
  return WriteCountedValues(stream, ContainedThing);
}

// ---- VehicleInfo ----

VehicleInfo::VehicleInfo() {
  MaxCarry = kVehicleMaxCarry;
  Armor = kVehicleArmor;
}

VehicleInfo::VehicleInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner)
    : ContainerInfo(x, y, z, ori, owner) {
  MaxCarry = kVehicleMaxCarry;
  Armor = kVehicleArmor;
}

const char* VehicleInfo::GetClassName() const { return "VehicleInfo"; }
bool VehicleInfo::IsVehicle() const { return true; }
bool VehicleInfo::IsVehicleContainer() const { return true; }

LUMO_GENERIC_FIELD(VehicleInfo, DriverID)

// ---- ShackInfo ----

ShackInfo::ShackInfo() = default;

ShackInfo::ShackInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner)
    : ContainerInfo(x, y, z, ori, owner) {}

const char* ShackInfo::GetClassName() const { return "ShackInfo"; }

void ShackInfo::DebugPrint(tString& text) const {
  ContainerInfo::DebugPrint(text);
  AppendFormat(text, "grade=%d weapons=%d, guns=%d ammo=%d molotovs=%d dope=%d\n", WeaponGrade, WeaponCount, Guns,
               Ammo, Molotovs, Dope);
}

LUMO_GENERIC_FIELD(ShackInfo, WeaponGrade)
LUMO_GENERIC_FIELD(ShackInfo, WeaponCount)
LUMO_GENERIC_FIELD(ShackInfo, Guns)
LUMO_GENERIC_FIELD(ShackInfo, Molotovs)
LUMO_GENERIC_FIELD(ShackInfo, Ammo)
LUMO_GENERIC_FIELD(ShackInfo, Dope)
