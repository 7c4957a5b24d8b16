#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/ConditionTrigger.h"
#include "logic/triggers/PropertyText.h"

// The score of the stadium level: units brought into the stadiums are
// taken off their owners' counts once (marked with status bit 21, which
// also switches them off), and players 1 and 2 score the units inside the
// stadiums that are theirs, supporters (type 3) left out.
class ScoreTriggerLvl10 : public ConditionTrigger {
 public:
  // Set on a unit once its owner has been told it lost it.
  static constexpr uint32_t kStatusCounted = 1u << 21;
  // The unit type that does not score.
  static constexpr int32_t kUnscoredType = 3;

  ScoreTriggerLvl10();

  const char* GetClassName() const override;
  // "%3d: lvl10 score" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // After the base's: "stadions", then " std[k]" per stadium (an id list).
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  void BuildProperties() override;
  // Ids that name no container are skipped.
  void Execute(CLogic* logic) override;

  // An id list.
  virtual bool LoadStadions(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStadions(LumoStream* stream, const LumoProperty* property);

  // Thing ids of the stadiums.
  tIdList Stadions;
};
