#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/PropertyText.h"
#include "logic/triggers/ScoreTriggerStrategic.h"

// The score of the level of target buildings: the strategic score, and then
// 1,000,000 more for player 1 per target building that lies wrecked (status
// bit 29), added so that the listeners hear of it.
class ScoreTriggerLvl4 : public ScoreTriggerStrategic {
 public:
  static constexpr int32_t kWreckedTargetBonus = 1000000;
  static constexpr int32_t kScoredPlayer = 1;

  ScoreTriggerLvl4();

  const char* GetClassName() const override;
  // "%3d: lvl4 score" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // After the base's: "targets#", then " tgt[k]" per target (an id list).
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  void BuildProperties() override;
  // Ids that name no building are skipped.
  void Execute(CLogic* logic) override;

  // An id list.
  virtual bool LoadTargets(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTargets(LumoStream* stream, const LumoProperty* property);

  // Thing ids of the target buildings.
  tIdList Targets;
};
