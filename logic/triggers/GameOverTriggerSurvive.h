#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/GameOverTrigger.h"

// Survive until a frame: player PID loses (LooseMsg said) as soon as it has
// fewer than LeadersCount leader slots used or fewer than UnitsCount fan
// units, and wins (WinMsg said, WinVinkje ticked) at the first run after
// frame Period with both counts held. The countdown "Survive..." runs to
// Period.
class GameOverTriggerSurvive : public GameOverTrigger {
 public:
  GameOverTriggerSurvive();

  const char* GetClassName() const override;
  // "%3d: game over: survive" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // After the base's: "leader#", "unit#", "period", "win msg" (LeadersCount,
  // UnitsCount, Period, WinMsg), in that order also for SetProperty.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  void BuildProperties() override;
  // "GameOverTriggerSurvive ", then the base's line.
  void PrintToLog() override;
  void Execute(CLogic* logic) override;
  bool ShowsCountdown() override;
  // "Survive...".
  const char* GetCountdownText(char* buffer, size_t size) override;
  // Period.
  uint32_t GetTime() override;

  virtual bool LoadPeriod(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePeriod(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadUnitsCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnitsCount(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLeadersCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLeadersCount(LumoStream* stream, const LumoProperty* property);
  // The tag "wmsg:" and the value; a stream without the tag keeps 0.
  virtual bool LoadWinMsg(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWinMsg(LumoStream* stream, const LumoProperty* property);

  // The frame to survive to.
  int32_t Period = 0;
  // The fewest fan units (parameter 18) and leader slots (parameter 15)
  // the player may keep.
  int32_t UnitsCount = 0;
  int32_t LeadersCount = 0;
  // The speech number said on the win; 0 none.
  int32_t WinMsg = 0;
};
