#pragma once

#include <cstddef>
#include <cstdint>

#include "base/TextUtils.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLTriggerAction.h"

class ActionPropertyLines;
class LumoProperty;
class LumoStream;
class YLTCar;
class YLUnit;

// A vehicle appears at a place, driven by a new driver who heads for the
// destination, with passengers inside; it may stay hidden below ground for
// a while. The new units' ids go to an objective.
class YLTriggerActionVehicleSpawn : public YLTriggerAction {
 public:
  static constexpr const char* kDefaultResourceName = "Vehicle020-mebus";
  static constexpr int32_t kDefaultDriverType = 6;
  static constexpr int32_t kDefaultDriverOwner = 3;
  // Frames between sinking the vehicle and raising it again after the hide
  // delay.
  static constexpr uint32_t kRiseDelay = 44;
  static constexpr int32_t kHiddenHeight = -3;

  YLTriggerActionVehicleSpawn();
  ~YLTriggerActionVehicleSpawn() override;

  const char* GetClassName() const override;
  // "  name", "  dr type", "  dr team", "  sx", "  sy", "  ori", "  dx",
  // "  dy", "  objective", "  time z", "  weapon", "  spawn#" and
  // "   type[%d]" per passenger. The weapon line keeps the number's
  // remainder of division by 4, with the number's sign.
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "vehicle spawn".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // The vehicle belongs to nobody until a driver takes its wheel.
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadResourceName(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveResourceName(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDriverType(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDriverType(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDriverOwner(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDriverOwner(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSrcX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSrcX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSrcY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSrcY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadOri(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOri(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDestX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDestX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadDestY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveDestY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadObjectiveID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveObjectiveID(LumoStream* stream, const LumoProperty* property);
  // "xtra:", the hide delay as a 32-bit integer, then the passengers' id list.
  virtual bool LoadXtra(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveXtra(LumoStream* stream, const LumoProperty* property);
  // "weap:" and a 32-bit integer.
  virtual bool LoadWeaponLvl(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWeaponLvl(LumoStream* stream, const LumoProperty* property);

  tCharStr ResourceName = nullptr;
  int32_t DriverType = kDefaultDriverType;
  int32_t DriverOwner = kDefaultDriverOwner;
  int32_t SrcX = 0;
  int32_t SrcY = 0;
  int32_t Ori = 0;
  int32_t DestX = 0;
  int32_t DestY = 0;
  int32_t ObjectiveID = 0;
  // Frames before the vehicle sinks out of sight; 0 keeps it up.
  int32_t HideDelay = 0;
  // Unit types of the passengers.
  tIdList Passengers;
  int32_t WeaponLvl = 0;

 protected:
  void BaseLines(ActionPropertyLines& lines);
  // A driver of DriverType for DriverOwner inside the vehicle, heading for
  // the destination; null when none was made.
  YLUnit* CreateDriver(CLogic& logic, YLTCar& vehicle) const;
  // The two height changes of the hide delay, when there is one.
  void PlanHiding(CLogic& logic, int32_t vehicleId) const;
  // A passenger's or driver's weapon grade and ammunition.
  void Arm(YLUnit& unit) const;
};

// The level's own bus chase: car 354 is put on the road for player 1 with a
// driver, and two custom triggers are planned that end the level when the
// car is filled (won) or when it starts moving empty (lost).
class YLTriggerActionVehicleSpawnLvl5 : public YLTriggerActionVehicleSpawn {
 public:
  static constexpr int32_t kCarId = 354;

  // Two leader ids, 0 and 0.
  YLTriggerActionVehicleSpawnLvl5();

  const char* GetClassName() const override;
  // The base's lines, then "  leader1" and "  leader2".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "lvl5 vehicle spawn".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  // A plain id list.
  virtual bool LoadUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnits(LumoStream* stream, const LumoProperty* property);

  // The two leaders' ids; kept for the editor, unused when the action runs.
  tIdList Units;

 private:
  void Lines(ActionPropertyLines& lines);
  void PlanLevelEnd(CLogic& logic, int32_t carId) const;
};
