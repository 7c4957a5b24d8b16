#include "logic/core/BuildingInfo.h"

#include <cstring>

#include "base/LumoStream.h"
#include "logic/core/RecordFields.h"

namespace {

// Registration order is the stream order.
LumoClassOf<BuildingInfo> classOfBuildingInfo(kVersion_1_6_0_6, "BuildingInfo", "ContainerInfo");
LOGIC_FIELD_PROPERTY(BuildingInfo, Money, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(BuildingInfo, SuitChick, PropertyPointer, "tPointer");

LumoClassOf<PubInfo> classOfPubInfo(kVersion_1_6_0_6, "PubInfo", "BuildingInfo");
LOGIC_FIELD_PROPERTY(PubInfo, SupporterBeer, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PubInfo, HCRatjes, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PubInfo, HCGabbers, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PubInfo, HCYobbozers, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PubInfo, HCBikers, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PubInfo, HCSkins, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PubInfo, HCBulches, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(PubInfo, Name, PropertyCharStr, "tCharStr");

constexpr float kBuildingArmor = 0.9f;

// The text "suit:" as the stream stores it: its length, then its bytes.
constexpr uint8_t kSuitMarker[] = {0, 0, 0, 5, 's', 'u', 'i', 't', ':'};

// Unit types that pubs recruit.
constexpr int32_t kUnitRat = 1;
constexpr int32_t kUnitRaver = 2;
constexpr int32_t kUnitBiker = 7;
constexpr int32_t kUnitSkin = 8;
constexpr int32_t kUnitRozav = 9;
constexpr int32_t kUnitYobbozer = 12;

}  // namespace

// ---- BuildingInfo ----

BuildingInfo::BuildingInfo() {
  BuildingType = kDefaultBuildingType;
  Armor = kBuildingArmor;
}

BuildingInfo::BuildingInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner)
    : ContainerInfo(x, y, z, ori, owner) {
  BuildingType = kDefaultBuildingType;
  Armor = kBuildingArmor;
}

const char* BuildingInfo::GetClassName() const { return "BuildingInfo"; }
bool BuildingInfo::IsBuilding() const { return true; }
bool BuildingInfo::IsShop() const { return (Status & StatusSellsToUnits) != 0; }

void BuildingInfo::DebugPrint(tString& text) const {
  ContainerInfo::DebugPrint(text);
  AppendFormat(text, "building: money=%d\n", Money);
}

LUMO_GENERIC_FIELD(BuildingInfo, Money)

// The field stands behind the text "suit:" (a length-prefixed text). Older
// streams lack both: the reader peeks, finds something else (or nothing),
// stays where it was and keeps the field's value.
bool BuildingInfo::LoadSuitChick(LumoStream* stream, const LumoProperty*) {
  uint8_t marker[sizeof kSuitMarker] = {};
  if (!stream->Peek(marker, sizeof marker) || std::memcmp(marker, kSuitMarker, sizeof marker) != 0) {
    return true;
  }
  return stream->ReadBlock(marker, sizeof marker) && stream->ReadInteger(SuitChick);
}

bool BuildingInfo::SaveSuitChick(LumoStream* stream, const LumoProperty*) {
  return stream->WriteCharStr("suit:") && stream->WriteInteger(SuitChick);
}

// ---- PubInfo ----

// A pub sells to units and belongs to nobody when it is made.
PubInfo::PubInfo() {
  Status |= StatusSellsToUnits;
  SetName("bla");
}

PubInfo::PubInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner)
    : BuildingInfo(x, y, z, ori, owner) {
  Status |= StatusSellsToUnits;
  Owner = 0;
  SetName("bla");
}

PubInfo::~PubInfo() { FreeCharStr(Name); }

const char* PubInfo::GetClassName() const { return "PubInfo"; }
bool PubInfo::IsShop() const { return true; }

void PubInfo::DoFree() {
  FreeCharStr(Name);
  BuildingInfo::DoFree();
}

void PubInfo::SetName(const char* name) { SetCharStr(Name, name); }

uint8_t* PubInfo::RecruitCounter(int32_t unitType) {
  return const_cast<uint8_t*>(static_cast<const PubInfo*>(this)->RecruitCounter(unitType));
}

const uint8_t* PubInfo::RecruitCounter(int32_t unitType) const {
  switch (unitType) {
    case kUnitRat:
      return &HCRatjes;
    case kUnitRaver:
      return &HCGabbers;
    case kUnitYobbozer:
      return &HCYobbozers;
    case kUnitBiker:
      return &HCBikers;
    case kUnitSkin:
      return &HCSkins;
    case kUnitRozav:
      return &HCBulches;
    default:
      return nullptr;
  }
}

unsigned char PubInfo::CountAvailableHC(int32_t unitType) const {
  const uint8_t* counter = RecruitCounter(unitType);
  return counter != nullptr ? *counter : 0;
}

bool PubInfo::TakeAvailableHC(int32_t unitType) {
  uint8_t* counter = RecruitCounter(unitType);
  if (counter == nullptr || *counter == 0) {
    return false;
  }
  --*counter;
  return true;
}

void PubInfo::AddAvailableHC(int32_t unitType) {
  uint8_t* counter = RecruitCounter(unitType);
  if (counter != nullptr && *counter < kMaxRecruits) {
    ++*counter;
  }
}

// The counters are printed under their own labels: rats, ravers ("gabs"),
// yobbozers, then skins, bikers and bulches ("fats").
void PubInfo::DebugPrint(tString& text) const {
  BuildingInfo::DebugPrint(text);
  AppendFormat(text, "PUB %s\n: owner=%d beer=%d\n %d rats, %d gabs, %d yobbs\n %d skins, %d biks, %d fats",
               DebugText(Name), Owner, SupporterBeer, HCRatjes, HCGabbers, HCYobbozers, HCSkins, HCBikers,
               HCBulches);
}

LUMO_GENERIC_FIELD(PubInfo, SupporterBeer)
LUMO_GENERIC_FIELD(PubInfo, Name)

LOGIC_BYTE_AS_INTEGER_FIELD(PubInfo, HCRatjes)
LOGIC_BYTE_AS_INTEGER_FIELD(PubInfo, HCGabbers)
LOGIC_BYTE_AS_INTEGER_FIELD(PubInfo, HCYobbozers)
LOGIC_BYTE_AS_INTEGER_FIELD(PubInfo, HCBikers)
LOGIC_BYTE_AS_INTEGER_FIELD(PubInfo, HCSkins)
LOGIC_BYTE_AS_INTEGER_FIELD(PubInfo, HCBulches)
