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

  // Below -9 the train is off the map.
  bool IsOnMap() const;
  // The car's tick, then the arrival: on the map, at its conductor's
  // station column and with passengers listed, each is made at the station
  // thing, the last listed first. A missing station is logged each tick
  // and the list kept; a passenger that cannot be made stops there, the
  // rest kept for a later tick.
  bool Propagate() override;
  // Behind the car's fields the text "train:", the passenger types (count,
  // then values), the station, the constant and the flag. A stream without
  // the text loads with none.
  bool DoLoadFrom(LumoStream* stream) override;
  bool DoSaveTo(LumoStream* stream) override;

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

  // The timetable, once the lock has run out: off the map wait 10 ticks;
  // at the station column the first time open the doors, stop and stand
  // StationTime ticks; otherwise (and passing again) close the doors and
  // roll on.
  int32_t Decide(int32_t ticks) override;
  // The tram trigger lets it stop at the station again.
  void ResetPassedStation();

  virtual bool LoadStationX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStationX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStationY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStationY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStationTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStationTime(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPassedStation(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePassedStation(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFinished(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFinished(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLockTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLockTime(LumoStream* stream, const LumoProperty* property);

  int32_t StationX = 0;
  int32_t StationY = 0;
  int32_t StationTime = 0;  // ticks to stand at the station
  bool PassedStation = false;
  bool Finished = false;
  int32_t LockTime = 0;  // ticks until the next decision
};
