#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/PropertyText.h"

// A train comes in with passengers: when it runs, the train TrainID is told
// its station, its owner and the unit types it brings; the train then
// brings the units itself. Runs once.
class TriggerTrainArrival : public LogicPlanItem {
 public:
  TriggerTrainArrival();
  // For the train with that id, due at that frame.
  TriggerTrainArrival(int32_t trainId, uint32_t time);

  const char* GetClassName() const override;
  // "%3d: train" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // After the time: TrainID, StationID, Team, the count of Types and then
  // its entries.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "TriggerTrainArrival ", then the base's line.
  void PrintToLog() override;
  // Shows "Train arival" while it is planned.
  bool ShowsCountdown() override;
  const char* GetCountdownText(char* buffer, size_t size) override;
  // The base's "time", then "train", "station", "team", "#units" and one
  // "->k" per passenger type.
  void BuildProperties() override;
  // The train (a YLTTrain, else nothing happens) loses its passenger list,
  // takes the station and Team as its owner, then the types in order.
  void Execute(CLogic* logic) override;

  // Types: an id list. Team: the tag "team:" and the value; a stream
  // without the tag gives Team 1.
  virtual bool LoadTypes(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTypes(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTrainID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTrainID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStationID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStationID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTeam(LumoStream* stream, const LumoProperty* property);

  // The team a stream without the "team:" tag gives.
  static constexpr int32_t kUntaggedTeam = 1;

  // The unit types of the passengers.
  tIdList Types;
  int32_t TrainID = 0;
  int32_t StationID = 0;
  // The owner given to the train.
  int32_t Team = 0;
};
