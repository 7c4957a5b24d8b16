#include "logic/triggers/YLTriggerActionSpawn.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/ActionPropertyLines.h"
#include "logic/triggers/SpawnActionSupport.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLTriggerActionSpawn> classOfYLTriggerActionSpawn(kVersion_1_6_0_6, "YLTriggerActionSpawn",
                                                              "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionSpawn, BuildingIDs, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTriggerActionSpawn, Team, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionSpawn, Units, PropertyPointer, "tPointer");

LumoClassOf<YLTriggerActionFixedIDSpawn> classOfYLTriggerActionFixedIDSpawn(kVersion_1_6_0_6,
                                                                            "YLTriggerActionFixedIDSpawn",
                                                                            "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionFixedIDSpawn, InBuilding, PropertyBool, "tBool");
LOGIC_FIELD_PROPERTY(YLTriggerActionFixedIDSpawn, Places, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTriggerActionFixedIDSpawn, Units, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTriggerActionFixedIDSpawn, Team, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionFixedIDSpawn, ObjectiveID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionFixedIDSpawn, Command, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTriggerActionFixedIDSpawn, WeaponLvl, PropertyPointer, "tPointer");

constexpr const char* kBuildingIDsTag = "ids:";
constexpr const char* kCommandTag = "comm:";
constexpr const char* kWeaponTag = "wpn:";
constexpr int32_t kLeaderType = 10;

void WriteRecord(char* buffer, size_t size, const char* text) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%s", text);
  }
}

// The place 0, 0 of a fixed-id spawn outside buildings.
void ResetPlace(tIdList& places) {
  places.Clear();
  places.SetCount(2);
}

}  // namespace

// ---- Spawn ----

const char* YLTriggerActionSpawn::GetClassName() const { return "YLTriggerActionSpawn"; }

void YLTriggerActionSpawn::Lines(ActionPropertyLines& lines) {
  lines.IdList("  #buildings", "   ID%d", BuildingIDs);
  lines.Int("  team", Team);
  lines.IdList("  unit types", "   %d", Units);
}

void YLTriggerActionSpawn::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerAction::ListProperties(labels, values);
  ActionPropertyLines lines(labels, values);
  Lines(lines);
}

int32_t YLTriggerActionSpawn::SetProperty(int32_t index, const char* text) {
  ActionPropertyLines lines(YLTriggerAction::SetProperty(index, text), text);
  Lines(lines);
  return lines.Remainder();
}

void YLTriggerActionSpawn::GetRecordString(char* buffer, size_t size) { WriteRecord(buffer, size, "spawn"); }

void YLTriggerActionSpawn::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr || BuildingIDs.count == 0) {
    return;
  }
  YLTContainerThing* building = ChooseEligibleBuilding(*logic, BuildingIDs, Team);
  if (building == nullptr) {
    return;
  }
  for (int32_t index = 0; index < Units.count; ++index) {
    if (Units[index] == kLeaderType) {
      logic->SpawnLeaderInBuilding(nullptr, Team, building);
    } else {
      logic->CreateUnit(Units[index], Team, building);
    }
  }
}

bool YLTriggerActionSpawn::LoadBuildingIDs(LumoStream* stream, const LumoProperty*) {
  if (ReadMarker(stream, kBuildingIDsTag)) {
    return ReadIdList(stream, BuildingIDs);
  }
  int32_t id = 0;
  if (!stream->ReadInteger(id) || !BuildingIDs.SetCount(1)) {
    return false;
  }
  BuildingIDs[0] = id;
  return true;
}

bool YLTriggerActionSpawn::SaveBuildingIDs(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kBuildingIDsTag) && WriteIdList(stream, BuildingIDs);
}

bool YLTriggerActionSpawn::LoadUnits(LumoStream* stream, const LumoProperty*) { return ReadIdList(stream, Units); }
bool YLTriggerActionSpawn::SaveUnits(LumoStream* stream, const LumoProperty*) { return WriteIdList(stream, Units); }

LUMO_GENERIC_FIELD(YLTriggerActionSpawn, Team)

// ---- Fixed-id spawn ----

YLTriggerActionFixedIDSpawn::YLTriggerActionFixedIDSpawn() { ResetPlace(Places); }

const char* YLTriggerActionFixedIDSpawn::GetClassName() const { return "YLTriggerActionFixedIDSpawn"; }

void YLTriggerActionFixedIDSpawn::Lines(ActionPropertyLines& lines) {
  const bool wasInBuilding = InBuilding;
  if (lines.Bool("  in building", InBuilding) && InBuilding != wasInBuilding) {
    if (InBuilding) {
      Places.Clear();
    } else {
      ResetPlace(Places);
    }
  }
  if (InBuilding) {
    lines.IdList("  build#", "   b[%d]", Places);
  } else {
    lines.ListEntry("  x", Places, 0);
    lines.ListEntry("  y", Places, 1);
  }
  lines.IdList("  unit#", "   type[%d]", Units);
  lines.Int("  team", Team);
  lines.Int("  objectveid", ObjectiveID);
  lines.Int("  weapongr", WeaponLvl);
  Command.Lines(lines);
}

void YLTriggerActionFixedIDSpawn::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerAction::ListProperties(labels, values);
  ActionPropertyLines lines(labels, values);
  Lines(lines);
}

int32_t YLTriggerActionFixedIDSpawn::SetProperty(int32_t index, const char* text) {
  ActionPropertyLines lines(YLTriggerAction::SetProperty(index, text), text);
  Lines(lines);
  return lines.Remainder();
}

void YLTriggerActionFixedIDSpawn::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "spawn with fixed ids");
}

void YLTriggerActionFixedIDSpawn::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr) {
    return;
  }
  YLTContainerThing* building = nullptr;
  if (InBuilding) {
    building = ChooseEligibleBuilding(*logic, Places, Team);
    if (building == nullptr) {
      return;
    }
  } else if (Places.count < 2) {
    // A stored place may lack its y (or both): there is nowhere to put the
    // units, and reading past the list would be a fault.
    DebugPrint("YLTriggerActionFixedIDSpawn::Execute: the place has %d of its two coordinates\n", Places.count);
    return;
  }
  CreatedUnits created;
  for (int32_t index = 0; index < Units.count; ++index) {
    const int32_t type = Units[index];
    YLUnit* unit = building != nullptr ? logic->CreateUnit(type, Team, building)
                                       : logic->CreateUnitAt(Places[0], Places[1], 0, 0, type, Team, nullptr);
    if (unit == nullptr) {
      continue;
    }
    if (WeaponLvl != 0) {
      GiveWeaponGrade(*unit, WeaponLvl);
      if (CarriesAmmunition(type)) {
        unit->AddAmmo(3);
      }
    }
    created.Add(unit->GetTid());
    Command.GiveTo(*unit);
  }
  created.Send(*logic, ObjectiveID);
}

bool YLTriggerActionFixedIDSpawn::LoadPlaces(LumoStream* stream, const LumoProperty*) {
  return ReadIdList(stream, Places);
}
bool YLTriggerActionFixedIDSpawn::SavePlaces(LumoStream* stream, const LumoProperty*) {
  return WriteIdList(stream, Places);
}
bool YLTriggerActionFixedIDSpawn::LoadUnits(LumoStream* stream, const LumoProperty*) {
  return ReadIdList(stream, Units);
}
bool YLTriggerActionFixedIDSpawn::SaveUnits(LumoStream* stream, const LumoProperty*) {
  return WriteIdList(stream, Units);
}

bool YLTriggerActionFixedIDSpawn::LoadCommand(LumoStream* stream, const LumoProperty*) {
  return !ReadMarker(stream, kCommandTag) || Command.Load(stream);
}
bool YLTriggerActionFixedIDSpawn::SaveCommand(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kCommandTag) && Command.Save(stream);
}

bool YLTriggerActionFixedIDSpawn::LoadWeaponLvl(LumoStream* stream, const LumoProperty*) {
  return LoadTaggedInteger(stream, kWeaponTag, WeaponLvl);
}
bool YLTriggerActionFixedIDSpawn::SaveWeaponLvl(LumoStream* stream, const LumoProperty*) {
  return SaveTaggedInteger(stream, kWeaponTag, WeaponLvl);
}

LUMO_GENERIC_FIELD(YLTriggerActionFixedIDSpawn, InBuilding)
LUMO_GENERIC_FIELD(YLTriggerActionFixedIDSpawn, Team)
LUMO_GENERIC_FIELD(YLTriggerActionFixedIDSpawn, ObjectiveID)
