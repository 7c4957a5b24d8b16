#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/core/YLEventListener.h"
#include "logic/triggers/ScoreTriggerStrategic.h"

// A contest on one player parameter (beer drunk, pubs held, ...): every
// Frequency frames each player's ParamScore becomes that parameter.
class ScoreTrigger : public ScoreTriggerStrategic {
 public:
  // What the class factory makes: a contest on frags.
  static constexpr ParamEnum kDefaultScoringParam = 2;

  ScoreTrigger();
  explicit ScoreTrigger(ParamEnum scoringParam);

  const char* GetClassName() const override;
  // "%3d: contest(<parameter name>)" with the time; "???" names a parameter
  // without a name.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // The editor sees only "param" with the parameter's name; position 0 is
  // taken and changes nothing.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  void BuildProperties() override;
  // Parameter 0 scores nothing; otherwise for every player (ids from 1 up to
  // the first missing one).
  void Execute(CLogic* logic) override;

  // The name in the record text.
  static const char* ParamName(ParamEnum parameter);

  virtual bool LoadScoringParam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveScoringParam(LumoStream* stream, const LumoProperty* property);

  ParamEnum ScoringParam = kDefaultScoringParam;
};
