#pragma once

#include <cstdint>

#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTDriver.h"
#include "logic/world/YLTPushable.h"

// A car: a container that is driven over the map and that a tram can push.
// Its vehicle type lives in bits 24-27 of its record's status word and
// decides its body on the map.
class YLTCar : public YLTContainerThing, public YLTDrivable, public YLTPushable {
 public:
  // The vehicle types.
  static constexpr int32_t kTypeCar = 0;
  static constexpr int32_t kTypeManta = 1;
  static constexpr int32_t kTypeRiotBus = 2;
  static constexpr int32_t kTypeTrain = 3;
  static constexpr int32_t kTypeTram = 4;
  static constexpr int32_t kTypePlayersBus = 5;
  static constexpr int32_t kTypeGolf = 6;
  static constexpr int32_t kTypeBus2 = 7;
  static constexpr int32_t kTypeTruck = 8;

  YLTCar();

  const char* GetClassName() const override;
  YLThing* GetThing() override;
  int32_t GetDrivableTid() const override;
  // Also writes the driver's Tid into the record (0 for none).
  void SetDriver(YLTDriver* driver) override;

  // Stores the type in the status bits and builds the body for it. The
  // truck (8) is a bus as well: its bits then read as the players' bus (5),
  // the truck's own body being kept.
  void SetVehicleType(int32_t type);
  // The type bits of the record; 0 without one.
  int32_t GetVehicleType() const;

  // The vehicle moves 15-20 (drive on, the drive turns, reverse, the
  // reverse turns), shared by every vehicle; null for any other code.
  static MoveInfo* GetVehicleMove(int32_t code);
  // Below 15 the thing's own table, 15-20 the vehicle moves.
  MoveInfo* GetMoveInfo(int32_t number) const override;
  // 0 stops the vehicle; 15-20 start a vehicle move. Answers its duration.
  int32_t StartVehicleMove(int32_t code) override;

 protected:
  // A vehicle record.
  ThingInfo* MakeInfo() const override;
};
