#include "logic/triggers/YLTriggerActionVehicleSpawn.h"

#include <cstdio>
#include <memory>

#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/ActionPropertyLines.h"
#include "logic/triggers/LogicPlanWarpZ.h"
#include "logic/triggers/SpawnActionSupport.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTBusDriver.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLTriggerActionVehicleSpawn> classOfYLTriggerActionVehicleSpawn(kVersion_1_6_0_6,
                                                                            "YLTriggerActionVehicleSpawn",
                                                                            "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, ResourceName, PropertyCharStr, "tCharStr");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, DriverType, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, DriverOwner, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, SrcX, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, SrcY, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, Ori, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, DestX, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, DestY, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, ObjectiveID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, Xtra, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawn, WeaponLvl, PropertyPointer, "tPointer");

LumoClassOf<YLTriggerActionVehicleSpawnLvl5> classOfYLTriggerActionVehicleSpawnLvl5(
    kVersion_1_6_0_6, "YLTriggerActionVehicleSpawnLvl5", "YLTriggerActionVehicleSpawn");
LOGIC_FIELD_PROPERTY(YLTriggerActionVehicleSpawnLvl5, Units, PropertyPointer, "tPointer");

constexpr const char* kXtraTag = "xtra:";
constexpr const char* kWeaponTag = "weap:";
constexpr int32_t kWeaponGrades = 4;

// Where the level's car is put on the road, and the player it then
// belongs to.
constexpr int32_t kRoadX = -3;
constexpr int32_t kRoadY = 40;
constexpr uint8_t kRoadOrientation = 1;
constexpr int32_t kLevelPlayer = 1;
// The route of a bus driver leaving the car's place.
constexpr int32_t kBusDriverMode = 6;

void WriteRecord(char* buffer, size_t size, const char* text) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%s", text);
  }
}

// One editor setting of a trigger the level plans; kCar stands for the
// car's thing id.
struct TriggerSetting {
  int32_t index;
  const char* text;
};
constexpr const char* kCar = nullptr;

// Won: interface message 16 once the car holds anyone, with the victory of
// player 1 and both objective ticks done.
constexpr TriggerSetting kFilledCarTrigger[] = {
    {4, "16"}, {5, "1"},       {6, "thing"}, {7, kCar}, {8, "7"},   {9, ">"},   {10, "0"},  {11, "3"}, {12, "victory"},
    {13, "1"}, {14, "1"},      {15, "ov"},   {16, "1"}, {17, "1"},  {18, "ov"}, {19, "2"}, {20, "1"},
};
constexpr uint32_t kFilledCarDelay = 3;
// Lost: interface message 15 once the car's action is 1, with the defeat of
// player 1.
constexpr TriggerSetting kMovingCarTrigger[] = {
    {4, "15"}, {5, "1"}, {6, "thing"}, {7, kCar}, {8, "1"}, {9, "="}, {10, "1.0"}, {11, "1"}, {12, "victory"},
    {13, "1"}, {14, "0"},
};
constexpr uint32_t kMovingCarDelay = 4;

template <size_t N>
void PlanTrigger(CLogic& logic, const TriggerSetting (&settings)[N], int32_t carId, uint32_t delay) {
  auto trigger = std::make_unique<YLCustomTrigger>();
  char car[16];
  std::snprintf(car, sizeof car, "%d", carId);
  for (const TriggerSetting& setting : settings) {
    trigger->SetProperty(setting.index, setting.text != kCar ? setting.text : car);
  }
  logic.InsertPlan(trigger.release(), delay);
}

}  // namespace

// ---- Vehicle spawn ----

YLTriggerActionVehicleSpawn::YLTriggerActionVehicleSpawn() { SetCharStr(ResourceName, kDefaultResourceName); }

YLTriggerActionVehicleSpawn::~YLTriggerActionVehicleSpawn() { FreeCharStr(ResourceName); }

const char* YLTriggerActionVehicleSpawn::GetClassName() const { return "YLTriggerActionVehicleSpawn"; }

void YLTriggerActionVehicleSpawn::BaseLines(ActionPropertyLines& lines) {
  lines.String("  name", ResourceName);
  lines.Int("  dr type", DriverType);
  lines.Int("  dr team", DriverOwner);
  lines.Int("  sx", SrcX);
  lines.Int("  sy", SrcY);
  lines.Int("  ori", Ori);
  lines.Int("  dx", DestX);
  lines.Int("  dy", DestY);
  lines.Int("  objective", ObjectiveID);
  lines.Int("  time z", HideDelay);
  if (lines.Int("  weapon", WeaponLvl)) {
    WeaponLvl %= kWeaponGrades;
  }
  lines.IdList("  spawn#", "   type[%d]", Passengers);
}

void YLTriggerActionVehicleSpawn::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerAction::ListProperties(labels, values);
  ActionPropertyLines lines(labels, values);
  BaseLines(lines);
}

int32_t YLTriggerActionVehicleSpawn::SetProperty(int32_t index, const char* text) {
  ActionPropertyLines lines(YLTriggerAction::SetProperty(index, text), text);
  BaseLines(lines);
  return lines.Remainder();
}

void YLTriggerActionVehicleSpawn::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "vehicle spawn");
}

YLUnit* YLTriggerActionVehicleSpawn::CreateDriver(CLogic& logic, YLTCar& vehicle) const {
  YLUnit* driver = logic.CreateUnit(DriverType, DriverOwner, &vehicle);
  if (driver != nullptr) {
    driver->ExecutePlan(new PsychicPlanGoto(DestX, DestY, 1.0f, false));
  }
  return driver;
}

void YLTriggerActionVehicleSpawn::PlanHiding(CLogic& logic, int32_t vehicleId) const {
  if (HideDelay == 0) {
    return;
  }
  const auto delay = static_cast<uint32_t>(HideDelay);
  logic.InsertPlan(new LogicPlanWarpZ(vehicleId, kHiddenHeight), delay);
  logic.InsertPlan(new LogicPlanWarpZ(vehicleId, 0), delay + kRiseDelay);
}

void YLTriggerActionVehicleSpawn::Arm(YLUnit& unit) const {
  GiveWeaponGrade(unit, WeaponLvl);
  // The driver's type decides, for the passengers too.
  if (WeaponLvl != 0 && CarriesAmmunition(DriverType)) {
    unit.SetAmmo(3);
  }
}

void YLTriggerActionVehicleSpawn::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr || ResourceName == nullptr) {
    return;
  }
  logic->AddString(ResourceName);
  auto* vehicle = CarOf(logic->CreateVehicle(SrcX, SrcY, 0, static_cast<uint8_t>(Ori), 0, ResourceName));
  if (vehicle == nullptr) {
    return;
  }
  CreatedUnits created;
  if (DriverType != 0) {
    if (YLUnit* driver = CreateDriver(*logic, *vehicle)) {
      created.Add(driver->GetTid());
      Arm(*driver);
    }
  }
  PlanHiding(*logic, vehicle->GetTid());
  for (int32_t index = 0; index < Passengers.count; ++index) {
    if (YLUnit* passenger = logic->CreateUnit(Passengers[index], DriverOwner, vehicle)) {
      Arm(*passenger);
      created.Add(passenger->GetTid());
    }
  }
  created.Send(*logic, ObjectiveID);
}

bool YLTriggerActionVehicleSpawn::LoadXtra(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kXtraTag)) {
    return true;
  }
  return stream->ReadInteger(HideDelay) && ReadIdList(stream, Passengers);
}

bool YLTriggerActionVehicleSpawn::SaveXtra(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kXtraTag) && stream->WriteInteger(HideDelay) && WriteIdList(stream, Passengers);
}

bool YLTriggerActionVehicleSpawn::LoadWeaponLvl(LumoStream* stream, const LumoProperty*) {
  return LoadTaggedInteger(stream, kWeaponTag, WeaponLvl);
}

bool YLTriggerActionVehicleSpawn::SaveWeaponLvl(LumoStream* stream, const LumoProperty*) {
  return SaveTaggedInteger(stream, kWeaponTag, WeaponLvl);
}

LUMO_GENERIC_FIELD(YLTriggerActionVehicleSpawn, ResourceName)
LUMO_GENERIC_FIELD(YLTriggerActionVehicleSpawn, DriverType)
LUMO_GENERIC_FIELD(YLTriggerActionVehicleSpawn, DriverOwner)
LUMO_GENERIC_FIELD(YLTriggerActionVehicleSpawn, SrcX)
LUMO_GENERIC_FIELD(YLTriggerActionVehicleSpawn, SrcY)
LUMO_GENERIC_FIELD(YLTriggerActionVehicleSpawn, Ori)
LUMO_GENERIC_FIELD(YLTriggerActionVehicleSpawn, DestX)
LUMO_GENERIC_FIELD(YLTriggerActionVehicleSpawn, DestY)
LUMO_GENERIC_FIELD(YLTriggerActionVehicleSpawn, ObjectiveID)

// ---- The level's car ----

YLTriggerActionVehicleSpawnLvl5::YLTriggerActionVehicleSpawnLvl5() { Units.SetCount(2); }

const char* YLTriggerActionVehicleSpawnLvl5::GetClassName() const { return "YLTriggerActionVehicleSpawnLvl5"; }

void YLTriggerActionVehicleSpawnLvl5::Lines(ActionPropertyLines& lines) {
  lines.ListEntry("  leader1", Units, 0);
  lines.ListEntry("  leader2", Units, 1);
}

void YLTriggerActionVehicleSpawnLvl5::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerActionVehicleSpawn::ListProperties(labels, values);
  ActionPropertyLines lines(labels, values);
  Lines(lines);
}

int32_t YLTriggerActionVehicleSpawnLvl5::SetProperty(int32_t index, const char* text) {
  ActionPropertyLines lines(YLTriggerActionVehicleSpawn::SetProperty(index, text), text);
  Lines(lines);
  return lines.Remainder();
}

void YLTriggerActionVehicleSpawnLvl5::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "lvl5 vehicle spawn");
}

void YLTriggerActionVehicleSpawnLvl5::Execute(CLogic* logic, YLCustomTrigger*) {
  auto* car = logic != nullptr ? CarOf(logic->GetThing(kCarId)) : nullptr;
  if (car == nullptr || car->Info == nullptr) {
    return;
  }
  logic->MoveThing(car->Info.get(), kRoadX, kRoadY, 0, kRoadOrientation);
  car->SetOwner(kLevelPlayer);
  CreatedUnits created;
  if (DriverType != 0) {
    if (YLUnit* driver = CreateDriver(*logic, *car)) {
      created.Add(driver->GetTid());
    }
  } else if (YLTDriver* present = car->GetDriver()) {
    if (auto* busDriver = dynamic_cast<YLTBusDriver*>(present->GetDriverThing())) {
      busDriver->SetMode(kBusDriverMode);
      busDriver->SetX(car->Info->X);
      busDriver->SetY(car->Info->Y);
    }
  }
  PlanHiding(*logic, car->GetTid());
  for (int32_t index = 0; index < Passengers.count; ++index) {
    if (YLUnit* passenger = logic->CreateUnit(Passengers[index], DriverOwner, car)) {
      created.Add(passenger->GetTid());
    }
  }
  created.Send(*logic, ObjectiveID);
  PlanLevelEnd(*logic, car->GetTid());
}

void YLTriggerActionVehicleSpawnLvl5::PlanLevelEnd(CLogic& logic, int32_t carId) const {
  PlanTrigger(logic, kFilledCarTrigger, carId, kFilledCarDelay);
  PlanTrigger(logic, kMovingCarTrigger, carId, kMovingCarDelay);
}

bool YLTriggerActionVehicleSpawnLvl5::LoadUnits(LumoStream* stream, const LumoProperty*) {
  return ReadIdList(stream, Units);
}

bool YLTriggerActionVehicleSpawnLvl5::SaveUnits(LumoStream* stream, const LumoProperty*) {
  return WriteIdList(stream, Units);
}
