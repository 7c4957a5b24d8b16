#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// The players' bus of the bus level arrives: the bus (thing 437, a car) is
// put at the top of the map with its doors closed and 22 civilians aboard,
// and the level's game over is planned for it. Runs once.
class TriggerPlayerBus : public LogicPlanItem {
 public:
  // The level's bus and where it comes in.
  static constexpr int32_t kBusId = 437;
  static constexpr int32_t kArrivalX = 67;
  static constexpr int32_t kArrivalY = -10;
  static constexpr uint8_t kArrivalFacing = 5;
  static constexpr int32_t kCapacity = 22;
  // The passengers: a repeating suit-chick-civilian sequence of this many.
  static constexpr int32_t kPassengers = 22;
  static constexpr int32_t kCivilianType = 3;
  static constexpr const char* kSuitKind = "Innocent15-suit";
  static constexpr const char* kChickKind = "Innocent16-chick";
  // Frames from the arrival to the first game-over check.
  static constexpr uint32_t kGameOverDelay = 24;

  TriggerPlayerBus();

  const char* GetClassName() const override;
  // "%3d: player bus" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // Shows "Playerbus arival" while it is planned.
  bool ShowsCountdown() override;
  const char* GetCountdownText(char* buffer, size_t size) override;
  // Nothing happens unless thing 437 is a car.
  void Execute(CLogic* logic) override;
};
