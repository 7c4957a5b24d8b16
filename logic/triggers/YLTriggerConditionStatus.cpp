#include "logic/triggers/YLTriggerConditionStatus.h"

#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/UnitInfo.h"
#include "logic/triggers/ConditionSupport.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLTDriver.h"
#include "logic/world/YLTPub.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

using namespace trigger_conditions;

namespace {

LumoClassOf<YLTriggerConditionParam> classOfParam(kVersion_1_6_0_6, "YLTriggerConditionParam", "YLTriggerCondition");
LOGIC_FIELD_PROPERTY(YLTriggerConditionParam, PID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionParam, Param, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionParam, Operator, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionParam, Value, PropertyInteger, "tInteger");

LumoClassOf<YLTriggerConditionThingStatus> classOfThingStatus(kVersion_1_6_0_6, "YLTriggerConditionThingStatus",
                                                              "YLTriggerCondition");
LOGIC_FIELD_PROPERTY(YLTriggerConditionThingStatus, Thing, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionThingStatus, Param, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionThingStatus, Operator, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerConditionThingStatus, Value, PropertySingle, "tSingle");

LumoClassOf<YLTriggerConditionCupOwnerStatus> classOfCupOwnerStatus(kVersion_1_6_0_6,
                                                                    "YLTriggerConditionCupOwnerStatus",
                                                                    "YLTriggerConditionThingStatus");

LumoClassOf<YLTriggerConditionBankRobberStatus> classOfBankRobberStatus(kVersion_1_6_0_6,
                                                                        "YLTriggerConditionBankRobberStatus",
                                                                        "YLTriggerConditionThingStatus");

// The recruit types whose counts parameters 9 to 13 read.
constexpr int32_t kRecruitTypes[] = {7, 9, 2, 12, 1};

// A value a thing status compares: an integer, or a real.
struct StatusValue {
  bool known = false;
  bool real = false;
  int32_t integer = 0;
  float number = 0.0f;
};

StatusValue Integer(int32_t value) { return {true, false, value, 0.0f}; }
StatusValue Real(float value) { return {true, true, 0, value}; }

// The value Param chooses on the thing; unknown for another Param or a
// thing of another kind.
StatusValue ValueOf(const YLThing& thing, int32_t param) {
  const ThingInfo& info = *thing.Info;
  using Status = YLTriggerConditionThingStatus;
  switch (param) {
    case Status::kHp:
      return Real(info.Hp);
    case Status::kMove:
      return Integer(info.MoveNumber);
    case Status::kOwner:
      return Integer(thing.GetOwner());
    case Status::kOrientation:
      return Integer(info.Ori & 7);
    case Status::kX:
      return Integer(info.X);
    case Status::kY:
      return Integer(info.Y);
    case Status::kZ:
      return Integer(info.Z);
    case Status::kInside: {
      const auto* container = dynamic_cast<const YLTContainerThing*>(&thing);
      return container != nullptr ? Integer(container->GetContainedCount()) : StatusValue{};
    }
    case Status::kGrade:
      return dynamic_cast<const YLTBuilding*>(&thing) != nullptr ? Integer(thing.GetInfoGrade()) : StatusValue{};
    case Status::kDriver: {
      const auto* car = CarOf(&thing);
      if (car == nullptr) {
        return {};
      }
      const YLTDriver* driver = car->GetDriver();
      const YLThing* driverThing = driver != nullptr ? driver->GetDriverThing() : nullptr;
      return Integer(driverThing != nullptr ? driverThing->GetTid() : 0);
    }
    default:
      break;
  }
  if (param >= Status::kRecruitsFirst && param <= Status::kRecruitsLast) {
    const auto* pub = dynamic_cast<const YLTPub*>(&thing);
    return pub != nullptr ? Integer(pub->CountAvailableHC(kRecruitTypes[param - Status::kRecruitsFirst]))
                          : StatusValue{};
  }
  const auto* unit = UnitOf(&thing);
  const UnitInfo* record = unit != nullptr ? unit->GetUnitInfo() : nullptr;
  if (record == nullptr) {
    return {};
  }
  switch (param) {
    case Status::kAmmo:
      return Integer(record->Ammo);
    case Status::kAnger:
      return Real(record->Anger);
    case Status::kBeer:
      return Real(record->Beer);
    case Status::kCons:
      return Real(record->Cons);
    case Status::kDope:
      return Real(record->Dope);
    case Status::kFear:
      return Real(record->Fear);
    case Status::kFlirt:
      return Real(record->Flirt);
    case Status::kLeader:
      return Integer(record->Leader);
    case Status::kLoyalty:
      return Real(record->Loyalty);
    case Status::kStamina:
      return Real(record->Stamina);
    case Status::kWeapon:
      return Integer(record->Weapon);
    case Status::kContainer: {
      const YLThing* container = unit->GetContainer();
      return Integer(container != nullptr ? container->GetTid() : 0);
    }
    default:
      return {};
  }
}

}  // namespace

// ---- Player parameter ----

const char* YLTriggerConditionParam::GetClassName() const { return "YLTriggerConditionParam"; }

void YLTriggerConditionParam::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerCondition::ListProperties(labels, values);
  AddLine(labels, values, "  PID", PID);
  AddLine(labels, values, "  param", Param);
  AddLine(labels, values, "  operator", FormatOperator(Operator).text);
  AddLine(labels, values, "  value", Value);
}

int32_t YLTriggerConditionParam::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLTriggerCondition::SetProperty(index, text);
  switch (remaining) {
    case 0:
      PID = ParseInt(text);
      break;
    case 1: {
      const int32_t kept = ParseInt(text) % CPlayer::kParamCount;
      Param = kept < 0 ? kept + CPlayer::kParamCount : kept;
      break;
    }
    case 2:
      Operator = ParseOperator(text);
      break;
    case 3:
      Value = ParseInt(text);
      break;
    default:
      break;
  }
  return remaining - 4;
}

void YLTriggerConditionParam::GetRecordString(char* buffer, size_t size) { WriteRecord(buffer, size, "player param"); }

bool YLTriggerConditionParam::Evaluate(CLogic* logic) {
  const CPlayer* player = logic != nullptr ? logic->GetPlayer(PID) : nullptr;
  if (player == nullptr) {
    return false;
  }
  const int32_t value = Param >= 0 && Param < CPlayer::kParamCount ? player->GetParam(Param) : 0;
  return CompareBy(Operator, value, Value);
}

LUMO_GENERIC_FIELD(YLTriggerConditionParam, PID)
LUMO_GENERIC_FIELD(YLTriggerConditionParam, Param)
LUMO_GENERIC_FIELD(YLTriggerConditionParam, Operator)
LUMO_GENERIC_FIELD(YLTriggerConditionParam, Value)

// ---- Thing status ----

const char* YLTriggerConditionThingStatus::GetClassName() const { return "YLTriggerConditionThingStatus"; }

void YLTriggerConditionThingStatus::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerCondition::ListProperties(labels, values);
  AddLine(labels, values, "  thing", Thing);
  AddLine(labels, values, "  param", Param);
  AddLine(labels, values, "  operator", FormatOperator(Operator).text);
  AddLine(labels, values, "  value", FormatReal(Value).text);
}

int32_t YLTriggerConditionThingStatus::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLTriggerCondition::SetProperty(index, text);
  switch (remaining) {
    case 0:
      Thing = ParseInt(text);
      break;
    case 1:
      Param = ParseInt(text);
      break;
    case 2:
      Operator = ParseOperator(text);
      break;
    case 3:
      Value = ParseReal(text);
      break;
    default:
      break;
  }
  return remaining - 4;
}

void YLTriggerConditionThingStatus::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "thing status");
}

bool YLTriggerConditionThingStatus::Evaluate(CLogic* logic) { return EvaluateStatus(logic); }

// Integer values compare with Value cut to an integer.
bool YLTriggerConditionThingStatus::EvaluateStatus(CLogic* logic) {
  const YLThing* thing = FindThing(logic, Thing);
  if (thing == nullptr) {
    return false;
  }
  const StatusValue value = ValueOf(*thing, Param);
  if (!value.known) {
    return false;
  }
  return value.real ? CompareBy(Operator, value.number, Value)
                    : CompareBy(Operator, value.integer, static_cast<int32_t>(Value));
}

LUMO_GENERIC_FIELD(YLTriggerConditionThingStatus, Thing)
LUMO_GENERIC_FIELD(YLTriggerConditionThingStatus, Param)
LUMO_GENERIC_FIELD(YLTriggerConditionThingStatus, Operator)
LUMO_GENERIC_FIELD(YLTriggerConditionThingStatus, Value)

// ---- Cup carrier ----

const char* YLTriggerConditionCupOwnerStatus::GetClassName() const { return "YLTriggerConditionCupOwnerStatus"; }

void YLTriggerConditionCupOwnerStatus::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "cup holder status");
}

bool YLTriggerConditionCupOwnerStatus::Evaluate(CLogic* logic) {
  const YLTCup* cup = logic != nullptr ? logic->GetCup() : nullptr;
  if (cup == nullptr || cup->Info == nullptr) {
    return false;
  }
  Thing = cup->Info->Owner;
  return Thing != 0 && EvaluateStatus(logic);
}

// ---- Bank robber ----

const char* YLTriggerConditionBankRobberStatus::GetClassName() const {
  return "YLTriggerConditionBankRobberStatus";
}

void YLTriggerConditionBankRobberStatus::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "bank robber status");
}

bool YLTriggerConditionBankRobberStatus::Evaluate(CLogic* logic) {
  if (Thing == 0 && logic != nullptr && logic->Things != nullptr) {
    for (int32_t id = 1; id < logic->Things->count; ++id) {
      const auto* unit = UnitOf(FindThing(logic, id));
      if (unit != nullptr && (unit->Info->Status & StatusBurgled) != 0) {
        Thing = id;
        break;
      }
    }
  }
  if (Thing == 0) {
    return false;
  }
  const YLThing* robber = FindThing(logic, Thing);
  if (robber == nullptr || (robber->Info->Status & StatusBurgled) == 0) {
    Thing = 0;
    return false;
  }
  return EvaluateStatus(logic);
}
