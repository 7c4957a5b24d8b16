#include "logic/triggers/LogicPlanWeaponItems.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/core/WeaponCatalog.h"

namespace {

LumoClassOf<LogicPlanWeaponExecute> classOfLogicPlanWeaponExecute(kVersion_1_6_0_6, "LogicPlanWeaponExecute",
                                                                  "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanWeaponExecute, Unit, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanWeaponExecute, X, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanWeaponExecute, Y, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanWeaponExecute, Weapon, PropertyPointer, "tPointer");

LumoClassOf<LogicPlanWeaponImpact> classOfLogicPlanWeaponImpact(kVersion_1_6_0_6, "LogicPlanWeaponImpact",
                                                                "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanWeaponImpact, Unit, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanWeaponImpact, X, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanWeaponImpact, Y, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanWeaponImpact, BeginTime, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanWeaponImpact, Weapon, PropertyPointer, "tPointer");

const WeaponCatalog* CurrentCatalog() {
  const CLogic* logic = TheLogic();
  return logic != nullptr ? logic->Weapons.get() : nullptr;
}

void WriteRecordString(char* buffer, size_t size, const char* format, uint32_t time) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, format, static_cast<int32_t>(time));
  }
}

}  // namespace

// ---- The planned weapon ----

void PlannedWeapon::Resolve() {
  if (!awaitingResolve) {
    return;
  }
  const WeaponCatalog* catalog = CurrentCatalog();
  weapon = catalog != nullptr ? catalog->GetStoredWeapon(storedNumber) : nullptr;
  awaitingResolve = false;
}

bool PlannedWeapon::Load(LumoStream* stream) {
  uint32_t number = 0;
  if (stream == nullptr || !stream->ReadCardinal(number)) {
    return false;
  }
  weapon = nullptr;
  storedNumber = number;
  awaitingResolve = true;
  return true;
}

bool PlannedWeapon::Save(LumoStream* stream) const {
  if (stream == nullptr) {
    return false;
  }
  // An item loaded but not yet resolved keeps the number it came with.
  if (awaitingResolve) {
    return stream->WriteCardinal(storedNumber);
  }
  const WeaponCatalog* catalog = CurrentCatalog();
  return stream->WriteCardinal(catalog != nullptr ? catalog->GetStoredNumber(weapon) : 0u);
}

// ---- LogicPlanWeaponExecute ----

LogicPlanWeaponExecute::LogicPlanWeaponExecute() = default;
LogicPlanWeaponExecute::LogicPlanWeaponExecute(YLWeapon* weapon, int32_t unit, int32_t x, int32_t y)
    : Unit(unit), X(x), Y(y) {
  Weapon.Set(weapon);
}

const char* LogicPlanWeaponExecute::GetClassName() const { return "LogicPlanWeaponExecute"; }

void LogicPlanWeaponExecute::GetRecordString(char* buffer, size_t size) {
  WriteRecordString(buffer, size, "%3d: weapon exe", Time);
}

void LogicPlanWeaponExecute::Execute(CLogic* logic) {
  if (logic != nullptr && Weapon.weapon != nullptr) {
    logic->FireWeapon(Weapon.weapon, Unit, X, Y);
  }
}

void LogicPlanWeaponExecute::PrintToLog() {
  DebugPrint("weaponexe ");
  LogicPlanItem::PrintToLog();
}

void LogicPlanWeaponExecute::ResolveReferences() { Weapon.Resolve(); }

bool LogicPlanWeaponExecute::LoadWeapon(LumoStream* stream, const LumoProperty*) { return Weapon.Load(stream); }
bool LogicPlanWeaponExecute::SaveWeapon(LumoStream* stream, const LumoProperty*) { return Weapon.Save(stream); }

LUMO_GENERIC_FIELD(LogicPlanWeaponExecute, Unit)
LUMO_GENERIC_FIELD(LogicPlanWeaponExecute, X)
LUMO_GENERIC_FIELD(LogicPlanWeaponExecute, Y)

// ---- LogicPlanWeaponImpact ----

LogicPlanWeaponImpact::LogicPlanWeaponImpact() = default;
LogicPlanWeaponImpact::LogicPlanWeaponImpact(YLWeapon* weapon, int32_t unit, int32_t x, int32_t y, int32_t beginTime)
    : Unit(unit), X(x), Y(y), BeginTime(beginTime) {
  Weapon.Set(weapon);
}

const char* LogicPlanWeaponImpact::GetClassName() const { return "LogicPlanWeaponImpact"; }

void LogicPlanWeaponImpact::GetRecordString(char* buffer, size_t size) {
  WriteRecordString(buffer, size, "%3d: weapon imp", Time);
}

void LogicPlanWeaponImpact::Execute(CLogic* logic) {
  if (logic != nullptr && Weapon.weapon != nullptr) {
    logic->ApplyWeaponImpact(Weapon.weapon, Unit, X, Y);
  }
}

void LogicPlanWeaponImpact::PrintToLog() {
  DebugPrint("weaponimpact ");
  LogicPlanItem::PrintToLog();
}

void LogicPlanWeaponImpact::ResolveReferences() { Weapon.Resolve(); }

bool LogicPlanWeaponImpact::LoadWeapon(LumoStream* stream, const LumoProperty*) { return Weapon.Load(stream); }
bool LogicPlanWeaponImpact::SaveWeapon(LumoStream* stream, const LumoProperty*) { return Weapon.Save(stream); }

LUMO_GENERIC_FIELD(LogicPlanWeaponImpact, Unit)
LUMO_GENERIC_FIELD(LogicPlanWeaponImpact, X)
LUMO_GENERIC_FIELD(LogicPlanWeaponImpact, Y)
LUMO_GENERIC_FIELD(LogicPlanWeaponImpact, BeginTime)
