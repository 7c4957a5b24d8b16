#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/GameOverTrigger.h"

// Bring units into a building or vehicle: player PID wins (WinMsg said,
// WinVinkje ticked) once the container ContainerID holds at least
// LeadersCount of its leaders and UnitsCount of its fan units (a leader
// counts in both).
class GameOverTriggerUnitsInContainer : public GameOverTrigger {
 public:
  GameOverTriggerUnitsInContainer();

  const char* GetClassName() const override;
  // "%3d: game over: unit in cont" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // After the base's: "container", "#leaders", "#units", "win msg"
  // (ContainerID, LeadersCount, UnitsCount, WinMsg), in that order also
  // for SetProperty.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  void BuildProperties() override;
  // "GameOverTriggerUnitsInContainer ", then the base's line.
  void PrintToLog() override;
  // A ContainerID that names no container is logged and decides nothing.
  void Execute(CLogic* logic) override;

  virtual bool LoadContainerID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveContainerID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadUnitsCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnitsCount(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLeadersCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLeadersCount(LumoStream* stream, const LumoProperty* property);
  // The tag "wmsg:" and the value; a stream without the tag keeps 0.
  virtual bool LoadWinMsg(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWinMsg(LumoStream* stream, const LumoProperty* property);

  int32_t ContainerID = 0;
  int32_t UnitsCount = 0;
  int32_t LeadersCount = 0;
  // The speech number said on the win; 0 none.
  int32_t WinMsg = 0;
};
