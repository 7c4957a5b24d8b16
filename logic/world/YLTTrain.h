#pragma once

#include <cstdint>

#include "base/tCollection.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTDriver.h"
#include "logic/world/YLUnit.h"

// The train (and tram): a vehicle that arrives at a station, lets its
// passengers out and leaves. It starts off the map.
class YLTTrain : public YLTCar {
 public:
  static constexpr int32_t kStartX = 140;
  static constexpr int32_t kStartY = -10;
  static constexpr uint8_t kStartOrientation = 2;

  YLTTrain();

  const char* GetClassName() const override;
  // A vehicle record at the start, off the map, facing 2.
  void CreateInfo(int32_t moveNumber) override;

  void ClearPassengerTypes();
  void AddPassengerType(int32_t type);
  void SetStation(int32_t id);

  // The unit types it brings, the last let out first.
  tCollection<int32_t> PassengerTypes;
  int32_t StationID = 0;  // 0: none
  int32_t Constant87 = 87;
  int32_t SecondFlag = 0;
};

// The unit that drives the train by its timetable.
class YLTTrainConducter : public YLUnit, public YLTDriver {
 public:
  YLTTrainConducter();

  const char* GetClassName() const override;
  YLTDriver* AsDriver() override;
  int32_t GetDriverTid() const override;

  int32_t StationX = 0;
  int32_t StationY = 0;
  int32_t StationTime = 0;  // ticks to stand at the station
  bool PassedStation = false;
  bool Finished = false;
  int32_t LockTime = 0;  // ticks until the next decision
};
