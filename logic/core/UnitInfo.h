#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "base/TextUtils.h"
#include "logic/core/ThingInfo.h"

// The record of a unit: its mood, drink, weapon level and leader.
class UnitInfo : public ThingInfo {
 public:
  // Upright and alive, fully conscious, 0.75 loyal, fresh, in situation 1.
  UnitInfo();
  UnitInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner);

  const char* GetClassName() const override;
  bool IsUnit() const override;
  UnitInfo* AsUnitInfo() override { return this; }
  void DebugPrint(tString& text) const override;

  virtual bool LoadCons(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCons(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFear(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFear(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCarefulness(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCarefulness(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAnger(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAnger(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadBoredom(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBoredom(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLoyalty(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLoyalty(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadBeer(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBeer(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDope(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDope(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFlirt(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFlirt(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStamina(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStamina(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWeapon(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWeapon(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAmmo(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAmmo(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLeader(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLeader(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSituation(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSituation(LumoStream* stream, const LumoProperty* property);

  float Cons = 1.0f;  // consciousness
  float Fear = 0.0f;
  float Carefulness = 0.0f;
  float Anger = 0.0f;
  float Boredom = 0.0f;
  float Loyalty = 0.75f;
  float Beer = 0.0f;  // beer drunk
  float Dope = 0.0f;  // dope taken
  float Stamina = 1.0f;
  float Flirt = 0.0f;
  int32_t Weapon = 0;  // weapon level, 0-3
  int32_t Ammo = 0;    // ammunition carried
  int32_t Leader = 0;  // Tid of the unit's leader, 0 for none; a leader's own Tid
  int32_t Situation = 1;
};

// The record of a leader: a unit with a name, a group of followers and its
// dope doses.
class LeaderInfo : public UnitInfo {
 public:
  static constexpr int32_t kMaxGroupSize = 16;

  LeaderInfo();
  LeaderInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner);
  ~LeaderInfo() override;

  const char* GetClassName() const override;
  bool IsLeader() const override;
  // Frees the name.
  void DoFree() override;
  void DebugPrint(tString& text) const override;

  virtual bool LoadGroupID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGroupID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDopeDoses(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDopeDoses(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLeadership(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLeadership(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLeaderName(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLeaderName(LumoStream* stream, const LumoProperty* property);
  // The group as its size (one byte) and that many identifiers.
  virtual bool LoadGroup(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGroup(LumoStream* stream, const LumoProperty* property);

  // Frees the old name and keeps a copy of the new one (null leaves none).
  COGITO_API void SetName(const char* name);

  float Leadership = 0.5f;
  tCharStr LeaderName = nullptr;
  int32_t Group[kMaxGroupSize] = {};  // Tids of the followers
  uint8_t GroupID = 0;
  uint8_t GroupSize = 0;  // 0-16
  uint8_t DopeDoses = 0;  // at most 99
};
