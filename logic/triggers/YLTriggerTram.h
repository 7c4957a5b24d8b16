#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/TriggerTrainArrival.h"

class YLTCar;
class YLTDriver;

// The tram comes in: when it runs, the tram TrainID (any car) gets a
// conductor when it has none, is given to player PID at (Xbegin, Ybegin)
// with its doors closed, its conductor is told to stop at its station again
// and the passengers of Types are made inside it for PID. Runs once.
class YLTriggerTram : public TriggerTrainArrival {
 public:
  // The ticks a conductor stands at its station.
  static constexpr int32_t kStationTime = 360;
  // The unit type that is made as a leader.
  static constexpr int32_t kLeaderType = 10;

  YLTriggerTram();

  const char* GetClassName() const override;
  // "%3d: tram" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // After the train's: Xbegin, Ybegin, Xstop, Ystop, PID.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "YLTriggerTram ", then the base's line.
  void PrintToLog() override;
  // Shows "Tram arival" only while it is not parked (due before the
  // parking frame).
  bool ShowsCountdown() override;
  const char* GetCountdownText(char* buffer, size_t size) override;
  // The train's list, then "beginx", "beginy", "stopx", "stopy", "pid".
  void BuildProperties() override;
  void Execute(CLogic* logic) override;

  virtual bool LoadXbegin(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveXbegin(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadYbegin(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveYbegin(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadXstop(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveXstop(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadYstop(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveYstop(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPID(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePID(LumoStream* stream, const LumoProperty* property);

  // Where the tram appears.
  int32_t Xbegin = 0;
  int32_t Ybegin = 0;
  // The column of a new conductor's station (Ystop is kept, not used).
  int32_t Xstop = 0;
  int32_t Ystop = 0;
  // The player who gets the tram and its passengers.
  int32_t PID = 0;

 private:
  // A new conductor seated in the tram; null (logged) when no thing id is
  // free.
  YLTDriver* SeatConducter(CLogic& logic, YLTCar& tram);
};
