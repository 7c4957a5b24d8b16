#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

class YLWeapon;

// The weapon a planned item carries. The weapon belongs to the running
// logic's catalogue; the item only points at it. In a stream it is a
// big-endian 32-bit number (WeaponCatalog::GetStoredNumber): a loaded item
// keeps that number until ResolveReferences turns it into the weapon of the
// logic then running.
struct PlannedWeapon {
  YLWeapon* weapon = nullptr;
  // The number read from a stream, waiting for ResolveReferences.
  uint32_t storedNumber = 0;
  bool awaitingResolve = false;

  void Set(YLWeapon* value) {
    weapon = value;
    awaitingResolve = false;
  }
  // The current logic's weapon of the stored number; none without a logic
  // or for a number that names no weapon.
  void Resolve();
  bool Load(LumoStream* stream);
  bool Save(LumoStream* stream) const;
};

// A unit's attack about to be carried out: planned by CLogic::UseWeapon the
// weapon's execution time ahead, it fires the weapon at the target cell
// (CLogic::FireWeapon).
class LogicPlanWeaponExecute : public LogicPlanItem {
 public:
  LogicPlanWeaponExecute();
  LogicPlanWeaponExecute(YLWeapon* weapon, int32_t unit, int32_t x, int32_t y);

  const char* GetClassName() const override;
  // "%3d: weapon exe" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // Fires the weapon; an item without a weapon does nothing.
  void Execute(CLogic* logic) override;
  // "weaponexe " and the base's line.
  void PrintToLog() override;
  void ResolveReferences() override;

  YLWeapon* GetWeapon() const { return Weapon.weapon; }

  virtual bool LoadUnit(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnit(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWeapon(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWeapon(LumoStream* stream, const LumoProperty* property);

  PlannedWeapon Weapon;
  int32_t Unit = 0;
  int32_t X = 0;
  int32_t Y = 0;
};

// A fired weapon reaching its target: planned by CLogic::FireWeapon, it
// applies the weapon's impact at the target cell (CLogic::ApplyWeaponImpact).
class LogicPlanWeaponImpact : public LogicPlanItem {
 public:
  LogicPlanWeaponImpact();
  LogicPlanWeaponImpact(YLWeapon* weapon, int32_t unit, int32_t x, int32_t y, int32_t beginTime);

  const char* GetClassName() const override;
  // "%3d: weapon imp" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // Applies the impact; an item without a weapon does nothing.
  void Execute(CLogic* logic) override;
  // "weaponimpact " and the base's line.
  void PrintToLog() override;
  void ResolveReferences() override;

  YLWeapon* GetWeapon() const { return Weapon.weapon; }

  virtual bool LoadUnit(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnit(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadBeginTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBeginTime(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWeapon(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWeapon(LumoStream* stream, const LumoProperty* property);

  PlannedWeapon Weapon;
  int32_t Unit = 0;
  int32_t X = 0;
  int32_t Y = 0;
  int32_t BeginTime = 0;  // the frame the weapon was fired in
};
