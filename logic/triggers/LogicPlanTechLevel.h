#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// Sets the library's technology level (what the weapon shops stock) at a
// planned frame; levels place it in their stored plans.
class LogicPlanTechLevel : public LogicPlanItem {
 public:
  LogicPlanTechLevel();
  explicit LogicPlanTechLevel(int32_t level);

  const char* GetClassName() const override;
  // "%3d: tech level" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // Position 1 (after the time) is the level.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // The base's pair, then "lvl" and the level.
  void BuildProperties() override;
  // The technology level becomes Level.
  void Execute(CLogic* logic) override;

  virtual bool LoadLevel(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLevel(LumoStream* stream, const LumoProperty* property);

  int32_t Level = 3;
};
