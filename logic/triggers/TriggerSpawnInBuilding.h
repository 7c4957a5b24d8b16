#pragma once

#include <cstddef>
#include <cstdint>

#include "base/TextUtils.h"
#include "logic/triggers/LogicPlanItem.h"

class YLTBuilding;

// A unit of Type appears inside the building Building for player Owner.
// Runs once; an id that names no building makes nothing.
class TriggerSpawnInBuilding : public LogicPlanItem {
 public:
  TriggerSpawnInBuilding();

  const char* GetClassName() const override;
  // "%3d: unit spawn" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // "TriggerSpawnInBuilding ", then the base's line.
  void PrintToLog() override;
  void Execute(CLogic* logic) override;

  virtual bool LoadBuilding(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBuilding(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadOwner(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOwner(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadType(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveType(LumoStream* stream, const LumoProperty* property);

  int32_t Building = 0;
  int32_t Owner = 0;
  // The unit type.
  int32_t Type = 0;

 protected:
  // The thing Building when it is a building; null otherwise.
  YLTBuilding* FindBuilding(CLogic* logic) const;
};

// A leader called Name appears inside the building Building for player
// Owner. Runs once; an id that names no building makes no leader.
class TriggerSpawnLeaderInBuilding : public TriggerSpawnInBuilding {
 public:
  TriggerSpawnLeaderInBuilding();
  ~TriggerSpawnLeaderInBuilding() override;
  TriggerSpawnLeaderInBuilding(const TriggerSpawnLeaderInBuilding&) = delete;
  TriggerSpawnLeaderInBuilding& operator=(const TriggerSpawnLeaderInBuilding&) = delete;

  const char* GetClassName() const override;
  // "%3d: leader spawn" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // "TriggerSpawnLeaderInBuilding ", then the base's line.
  void PrintToLog() override;
  // A leader without a name takes the logic's placeholder name.
  void Execute(CLogic* logic) override;

  virtual bool LoadName(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveName(LumoStream* stream, const LumoProperty* property);

  // The leader's name (owned); null for none.
  tCharStr Name = nullptr;
};
