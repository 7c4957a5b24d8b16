#include "logic/triggers/YLTriggerConditionSectors.h"

#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/core/ThingInfo.h"
#include "logic/triggers/ConditionSupport.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitSupporter.h"

using namespace trigger_conditions;

namespace {

LumoClassOf<YLTriggerConditionInBuilding> classOfInBuilding(kVersion_1_6_0_6, "YLTriggerConditionInBuilding",
                                                            "YLTriggerCondition");
LOGIC_FIELD_PROPERTY(YLTriggerConditionInBuilding, BuildingID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionInBuilding, Units, PropertyPointer, "tPointer");

LumoClassOf<YLTriggerConditionInSector> classOfInSector(kVersion_1_6_0_6, "YLTriggerConditionInSector",
                                                        "YLTriggerCondition");
LOGIC_FIELD_PROPERTY(YLTriggerConditionInSector, Sector, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionInSector, Units, PropertyPointer, "tPointer");

LumoClassOf<YLTriggerConditionTeamInSector> classOfTeamInSector(kVersion_1_6_0_6, "YLTriggerConditionTeamInSector",
                                                                "YLTriggerCondition");
LOGIC_FIELD_PROPERTY(YLTriggerConditionTeamInSector, Sector, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTriggerConditionTeamInSector, Team, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionTeamInSector, Count, PropertyInteger, "tInteger");

LumoClassOf<YLTriggerConditionWholeTeamInSector> classOfWholeTeamInSector(kVersion_1_6_0_6,
                                                                          "YLTriggerConditionWholeTeamInSector",
                                                                          "YLTriggerCondition");
LOGIC_FIELD_PROPERTY(YLTriggerConditionWholeTeamInSector, Sector, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionWholeTeamInSector, Team, PropertyInteger, "tInteger");

LumoClassOf<YLTriggerConditionFighting> classOfFighting(kVersion_1_6_0_6, "YLTriggerConditionFighting",
                                                        "YLTriggerCondition");
LOGIC_FIELD_PROPERTY(YLTriggerConditionFighting, Sector, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTriggerConditionFighting, Fightsize, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionFighting, Perceive, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionFighting, Bools, PropertyPointer, "tPointer");

constexpr const char* kBoolsTag = "xtra:";
constexpr int32_t kPoliceOwner = 3;

// The unit id list's lines and setter, behind `fixed` own lines.
int32_t SetUnitList(tIdList& list, int32_t position, int32_t fixed, const char* text) {
  return SetIdListProperty(list, position, fixed, text);
}

}  // namespace

// ---- In building ----

const char* YLTriggerConditionInBuilding::GetClassName() const { return "YLTriggerConditionInBuilding"; }

void YLTriggerConditionInBuilding::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerCondition::ListProperties(labels, values);
  AddLine(labels, values, "  building", BuildingID);
  AddListLines(labels, values, "  unit ids", "   %d", Units);
}

int32_t YLTriggerConditionInBuilding::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLTriggerCondition::SetProperty(index, text);
  if (remaining == 0) {
    BuildingID = ParseInt(text);
  }
  return SetUnitList(Units, remaining, 1, text);
}

void YLTriggerConditionInBuilding::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "in building");
}

bool YLTriggerConditionInBuilding::Evaluate(CLogic* logic) {
  YLThing* building = FindThing(logic, BuildingID);
  if (dynamic_cast<YLTContainerThing*>(building) == nullptr) {
    return false;
  }
  for (int32_t index = 0; index < Units.count;) {
    YLThing* unit = FindThing(logic, Units[index]);
    if (unit == nullptr) {
      Units.DeleteAt(index);
      continue;
    }
    if (unit->GetContainer() != building) {
      return false;
    }
    ++index;
  }
  return true;
}

LUMO_GENERIC_FIELD(YLTriggerConditionInBuilding, BuildingID)

bool YLTriggerConditionInBuilding::LoadUnits(LumoStream* stream, const LumoProperty*) {
  return ReadIdList(stream, Units);
}

bool YLTriggerConditionInBuilding::SaveUnits(LumoStream* stream, const LumoProperty*) {
  return WriteIdList(stream, Units);
}

// ---- In sector ----

const char* YLTriggerConditionInSector::GetClassName() const { return "YLTriggerConditionInSector"; }

void YLTriggerConditionInSector::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerCondition::ListProperties(labels, values);
  AddLine(labels, values, "  sector", Sector);
  AddListLines(labels, values, "  unit ids", "   %d", Units);
}

int32_t YLTriggerConditionInSector::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLTriggerCondition::SetProperty(index, text);
  if (remaining == 0) {
    Sector = ParseInt(text);
  }
  return SetUnitList(Units, remaining, 1, text);
}

void YLTriggerConditionInSector::GetRecordString(char* buffer, size_t size) { WriteRecord(buffer, size, "in sector"); }

bool YLTriggerConditionInSector::Evaluate(CLogic* logic) {
  for (int32_t index = 0; index < Units.count;) {
    YLThing* unit = FindThing(logic, Units[index]);
    if (unit == nullptr || !IsAlive(*unit)) {
      Units.DeleteAt(index);
      continue;
    }
    if (SectorOf(logic, *unit) != Sector) {
      return false;
    }
    ++index;
  }
  return true;
}

LUMO_GENERIC_FIELD(YLTriggerConditionInSector, Sector)

bool YLTriggerConditionInSector::LoadUnits(LumoStream* stream, const LumoProperty*) {
  return ReadIdList(stream, Units);
}

bool YLTriggerConditionInSector::SaveUnits(LumoStream* stream, const LumoProperty*) {
  return WriteIdList(stream, Units);
}

// ---- Team in sector ----

const char* YLTriggerConditionTeamInSector::GetClassName() const { return "YLTriggerConditionTeamInSector"; }

void YLTriggerConditionTeamInSector::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerCondition::ListProperties(labels, values);
  AddLine(labels, values, "  team", Team);
  AddListLines(labels, values, "  sector#", "   %d", Sector);
}

int32_t YLTriggerConditionTeamInSector::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLTriggerCondition::SetProperty(index, text);
  if (remaining == 0) {
    Team = ParseInt(text);
  }
  return SetIdListProperty(Sector, remaining, 1, text);
}

void YLTriggerConditionTeamInSector::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "team in sector");
}

// Only units are counted: the sectors list cars too.
bool YLTriggerConditionTeamInSector::Evaluate(CLogic* logic) {
  int32_t counted = 0;
  tIdList ids;
  for (int32_t index = 0; index < Sector.count; ++index) {
    if (!IsKnownSector(logic, Sector[index])) {
      return false;
    }
    CollectSectorUnits(logic, Sector[index], ids);
    for (int32_t at = 0; at < ids.count; ++at) {
      const auto* unit = UnitOf(FindThing(logic, ids[at]));
      if (unit != nullptr && unit->GetOwner() == Team && ++counted >= Count) {
        return true;
      }
    }
  }
  return false;
}

bool YLTriggerConditionTeamInSector::LoadSector(LumoStream* stream, const LumoProperty*) {
  return LoadSectorList(stream, Sector);
}

bool YLTriggerConditionTeamInSector::SaveSector(LumoStream* stream, const LumoProperty*) {
  return SaveSectorList(stream, Sector);
}

LUMO_GENERIC_FIELD(YLTriggerConditionTeamInSector, Team)
LUMO_GENERIC_FIELD(YLTriggerConditionTeamInSector, Count)

// ---- Whole team in sector ----

const char* YLTriggerConditionWholeTeamInSector::GetClassName() const {
  return "YLTriggerConditionWholeTeamInSector";
}

void YLTriggerConditionWholeTeamInSector::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerCondition::ListProperties(labels, values);
  AddLine(labels, values, "  team", Team);
  AddLine(labels, values, "  sector", Sector);
}

int32_t YLTriggerConditionWholeTeamInSector::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLTriggerCondition::SetProperty(index, text);
  if (remaining == 0) {
    Team = ParseInt(text);
  } else if (remaining == 1) {
    Sector = ParseInt(text);
  }
  return remaining - 2;
}

void YLTriggerConditionWholeTeamInSector::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "whole team in sector");
}

bool YLTriggerConditionWholeTeamInSector::Evaluate(CLogic* logic) {
  const CPlayer* player = logic != nullptr ? logic->GetPlayer(Team) : nullptr;
  if (player == nullptr || !IsKnownSector(logic, Sector)) {
    return false;
  }
  tIdList ids;
  CollectSectorUnits(logic, Sector, ids);
  int32_t fans = 0;
  for (int32_t at = 0; at < ids.count; ++at) {
    const auto* fan = dynamic_cast<const YLUnitHardCore*>(FindThing(logic, ids[at]));
    fans += fan != nullptr && fan->GetOwner() == Team ? 1 : 0;
  }
  return fans == player->GetParam(ParamSelectable);
}

LUMO_GENERIC_FIELD(YLTriggerConditionWholeTeamInSector, Sector)
LUMO_GENERIC_FIELD(YLTriggerConditionWholeTeamInSector, Team)

// ---- Fighting ----

const char* YLTriggerConditionFighting::GetClassName() const { return "YLTriggerConditionFighting"; }

void YLTriggerConditionFighting::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerCondition::ListProperties(labels, values);
  AddLine(labels, values, "  fightsize", Fightsize);
  AddListLines(labels, values, "  #sector", "   %d", Sector);
  AddLine(labels, values, "  police", Police ? 1 : 0);
  AddLine(labels, values, "  innocents", Innocents ? 1 : 0);
}

int32_t YLTriggerConditionFighting::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLTriggerCondition::SetProperty(index, text);
  // Own lines: fightsize, the sector count, the sectors, police, innocents.
  const int32_t sectors = Sector.count;
  if (remaining == 0) {
    Fightsize = ParseInt(text);
  } else if (remaining >= 1 && remaining <= 1 + sectors) {
    return SetIdListProperty(Sector, remaining - 1, 0, text) - 3;
  } else if (remaining == 2 + sectors) {
    Police = ParseBool(text);
  } else if (remaining == 3 + sectors) {
    Innocents = ParseBool(text);
  }
  return remaining - 4 - sectors;
}

void YLTriggerConditionFighting::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "fighting...");
}

bool YLTriggerConditionFighting::Evaluate(CLogic* logic) {
  int32_t fighters = 0;
  tIdList ids;
  for (int32_t index = 0; index < Sector.count; ++index) {
    CollectSectorUnits(logic, Sector[index], ids);
    for (int32_t at = 0; at < ids.count; ++at) {
      const auto* unit = UnitOf(FindThing(logic, ids[at]));
      if (unit == nullptr || unit->GetOwner() == kPoliceOwner) {
        continue;
      }
      const int32_t move = unit->Info->MoveNumber;
      bool fighting = false;
      for (const int32_t fightMove : kFightMoves) {
        fighting = fighting || move == fightMove;
      }
      if (!fighting) {
        continue;
      }
      const int32_t facing = unit->Info->Ori & 7;
      const auto* opponent = UnitOf(
          logic->GetThingAt(unit->Info->X + kDirectionX[facing], unit->Info->Y + kDirectionY[facing]));
      if (opponent == nullptr) {
        continue;
      }
      const int32_t own = unit->GetOwner();
      const int32_t other = opponent->GetOwner();
      bool counts = false;
      if (other == 0) {
        counts = Innocents;
      } else if (other != own) {
        counts = other != kPoliceOwner || Police;
      } else {
        counts = SameSide;
      }
      if (counts && ++fighters >= Fightsize) {
        return true;
      }
    }
  }
  return false;
}

bool YLTriggerConditionFighting::LoadSector(LumoStream* stream, const LumoProperty*) {
  return LoadSectorList(stream, Sector);
}

bool YLTriggerConditionFighting::SaveSector(LumoStream* stream, const LumoProperty*) {
  return SaveSectorList(stream, Sector);
}

LUMO_GENERIC_FIELD(YLTriggerConditionFighting, Fightsize)
LUMO_GENERIC_FIELD(YLTriggerConditionFighting, Perceive)

bool YLTriggerConditionFighting::LoadBools(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kBoolsTag)) {
    return true;
  }
  uint8_t flags[3] = {};
  for (uint8_t& flag : flags) {
    if (!stream->ReadByte(flag)) {
      return false;
    }
  }
  Police = flags[0] != 0;
  SameSide = flags[1] != 0;
  Innocents = flags[2] != 0;
  return true;
}

bool YLTriggerConditionFighting::SaveBools(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kBoolsTag) && stream->WriteByte(Police ? 1 : 0) && stream->WriteByte(SameSide ? 1 : 0) &&
         stream->WriteByte(Innocents ? 1 : 0);
}
