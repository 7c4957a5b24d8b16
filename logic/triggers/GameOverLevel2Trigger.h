#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/GameOverTrigger.h"

class YLTCar;

// The game over of the level where player 1 escapes in its bus: driving off
// the top of the map wins (60 frames later), losing the bus loses, and
// otherwise player 1 loses as any player does, with no fan units left.
//
// The bus is kept by its thing id and looked up at every run: the logic
// frees removed things and gives their ids to new ones, so a kept pointer
// would outlive the bus.
class GameOverLevel2Trigger : public GameOverTrigger {
 public:
  // Speech numbers of the level's messages.
  static constexpr int32_t kBusLostMessage = 13;
  static constexpr int32_t kEscapedMessage = 14;
  // The bus has left the map when it faces this way above this row.
  static constexpr int32_t kEscapeFacing = 1;
  static constexpr int32_t kEscapeRowBelow = 41;
  // Frames from the escape to the win.
  static constexpr uint32_t kEscapeWinDelay = 60;

  // What the class factory makes: player 1, no bus.
  GameOverLevel2Trigger();
  // Player 1 with its bus; a missing bus is logged.
  explicit GameOverLevel2Trigger(const YLTCar* bus);

  const char* GetClassName() const override;
  // "%3d: game over lvl 2" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // "GameOverLevel2Trigger ", then the base's line.
  void PrintToLog() override;
  // Without a bus it only logs. A bus whose slot is empty, that is no
  // vehicle or that no longer lives is lost; one that drove off the top
  // wins; otherwise the base's check.
  void Execute(CLogic* logic) override;
  // A stored bus id that names no vehicle of the loaded logic leaves the
  // trigger without a bus.
  void ResolveReferences() override;

  // The bus's thing id as a 32-bit value, 0 for none.
  virtual bool LoadBus(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBus(LumoStream* stream, const LumoProperty* property);

  // The bus's thing id; 0 for none.
  int32_t Bus = 0;
};
