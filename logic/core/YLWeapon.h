#pragma once

#include <cstdint>

#include "base/LumoObject.h"
#include "base/TextUtils.h"

class LumoProperty;
class LumoStream;

// One weapon of the catalogue: the damage it does, how long it takes, how
// far it reaches, what it costs and what it throws.
class YLWeapon : public LumoObject {
 public:
  YLWeapon();
  YLWeapon(float healthDamage, float consDamage, int32_t executionTime, int32_t impactTime, float splatRange,
           int32_t attackRange, bool ammo, int32_t price, int32_t projectileType, int32_t splatType);
  ~YLWeapon() override;

  const char* GetClassName() const override;
  // Frees the name.
  void DoFree() override;

  virtual bool LoadHealthDamage(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHealthDamage(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadConsDamage(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveConsDamage(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadExecutionTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveExecutionTime(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadImpactTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveImpactTime(LumoStream* stream, const LumoProperty* property);
  // Registered as a 32-bit integer: it carries the float's bit pattern.
  virtual bool LoadSplatRange(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSplatRange(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAttackRange(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAttackRange(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAmmo(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAmmo(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPrice(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePrice(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadName(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveName(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadProjectileType(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveProjectileType(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSplatType(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSplatType(LumoStream* stream, const LumoProperty* property);

  const char* GetName() const { return Name; }
  // Frees the old name and keeps a copy of the new one (null leaves none).
  void SetName(const char* name);
  // True when a target at distance d (cells) is within reach.
  bool InAttackRange(int32_t d) const { return d <= AttackRange; }
  bool UsesAmmo() const { return Ammo; }
  int32_t GetAttackRange() const { return AttackRange; }
  int32_t GetExecutionTime() const { return ExecutionTime; }
  int32_t GetImpactTime() const { return ImpactTime; }
  int32_t GetProjectileType() const { return ProjectileType; }
  float GetHealthDamage() const { return HealthDamage; }
  float GetConsDamage() const { return ConsDamage; }
  float GetTotalDamage() const { return HealthDamage + ConsDamage; }
  float GetSplatRange() const { return SplatRange; }
  int32_t GetSplatType() const { return SplatType; }
  int32_t GetPrice() const { return Price; }

  float HealthDamage = 0.0f;  // hit points taken per hit
  float ConsDamage = 0.0f;    // consciousness taken per hit
  float SplatRange = 0.0f;    // splash radius
  int32_t ExecutionTime = 0;  // ticks the attack takes
  int32_t ImpactTime = 0;     // ticks until it lands
  int32_t AttackRange = 0;    // cells: 1 close combat, 15 throwing and shooting
  int32_t Price = 0;
  bool Ammo = false;  // whether use consumes ammunition
  int32_t SplatType = 0;
  int32_t ProjectileType = 0;
  tCharStr Name = nullptr;
};
