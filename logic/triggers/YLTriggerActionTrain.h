#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLTriggerAction.h"

class ActionPropertyLines;
class LumoProperty;
class LumoStream;

// Plans the arrival of a train at a station after a delay: the train then
// brings units of the listed types for the team.
class YLTriggerActionTrain : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  trainid", "  stationid", "  delay", "  player", "  unit types" and
  // "   %d" per type (the editor order differs from the stored order).
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "train".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadTrainID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTrainID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStationID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStationID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDelay(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDelay(LumoStream* stream, const LumoProperty* property);
  // A plain id list.
  virtual bool LoadUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnits(LumoStream* stream, const LumoProperty* property);

  int32_t TrainID = 0;
  int32_t StationID = 0;
  int32_t Team = 0;
  // Frames until the arrival; 0 runs it at once.
  int32_t Delay = 0;
  tIdList Units;

 private:
  void TrainLines(ActionPropertyLines& lines);
};

// Plans the tram's run after a delay: from its begin to its stop place,
// bringing units of the listed types for the team.
class YLTriggerActionTram : public YLTriggerActionTrain {
 public:
  const char* GetClassName() const override;
  // The train's lines, then "  beginX", "  beginY", "  stopX", "  stopY".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "tram".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // The station is not passed on; the team goes into both of the tram
  // trigger's team fields.
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadBeginX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBeginX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadBeginY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBeginY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStopX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStopX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStopY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStopY(LumoStream* stream, const LumoProperty* property);

  int32_t BeginX = 0;
  int32_t BeginY = 0;
  int32_t StopX = 0;
  int32_t StopY = 0;

 private:
  void TramLines(ActionPropertyLines& lines);
};
