#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "logic/triggers/ConditionTrigger.h"

// The per-player game-over check: every Frequency frames (24 by default)
// it looks whether player PID has any fan units left; a player without any
// loses, hears its loss message (player 1 only) and the trigger stops. The
// game-over triggers of particular levels derive from it, and the logic's
// ScheduleGameOver clears every trigger of this family but one.
class GameOverTrigger : public ConditionTrigger {
 public:
  static constexpr uint32_t kGameOverFrequency = 24;

  GameOverTrigger();
  explicit GameOverTrigger(int32_t player);

  const char* GetClassName() const override;
  // "%3d: game over" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // Positions 2, 3 and 4 (after time and frequency) are PID, LooseMsg and
  // WinVinkje.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "GameOverTrigger ", then the base's line.
  void PrintToLog() override;
  // The base's pairs, then "pid", "loose msg" and "win vinkje".
  void BuildProperties() override;
  void Execute(CLogic* logic) override;

  // Each is the tag ("PID:", "lmsg:", "vnkj:") and the value as a 32-bit
  // integer; a stream without the tag keeps the constructor's value.
  virtual bool LoadPID(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLooseMsg(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLooseMsg(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWinVinkje(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWinVinkje(LumoStream* stream, const LumoProperty* property);

  // The player watched.
  int32_t PID = 0;
  // The speech number said on a loss; 0 none.
  int32_t LooseMsg = 0;
  // The objective tick set on a win.
  int32_t WinVinkje = 0;

 protected:
  // Own editor properties that are plain integers: position `remaining`
  // (the base's remainder) sets fields[remaining] when it is one of them;
  // answers remaining minus the field count.
  static int32_t SetIntegerFields(int32_t remaining, const char* text, std::initializer_list<int32_t*> fields);
  // Appends a label and the value as "%d" to the shared editor lists.
  static void ListInteger(const char* label, int32_t value);

  // A spoken level message to player 1 (speech kind 20); message 0 says
  // nothing.
  static void SayLevelMessage(CLogic* logic, int32_t message);
  // The end of the game decided by this trigger: player PID wins (message
  // said and WinVinkje ticked first) or loses (message said first); the
  // trigger stops.
  void DeclareWin(CLogic* logic, int32_t message);
  void DeclareLoss(CLogic* logic, int32_t message);
};
