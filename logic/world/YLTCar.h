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

  // Status bit 28: the doors are closed.
  static constexpr uint32_t kStatusDoorsClosed = 1u << 28;
  // The unit's arrest mark, which lets it into any vehicle.
  static constexpr uint32_t kStatusArrested = 1u << 10;

  YLTCar();

  const char* GetClassName() const override;
  YLTCar* AsCar() override { return this; }
  const YLTCar* AsCar() const override { return this; }
  // The type from the vehicle's name and with it the body, capacity,
  // entrance and armour. A name outside the vehicle table keeps a type
  // already set (the truck's).
  bool OnAddToMap(CMap* map) override;
  // The capacity, entrance and armour of the type bits again; the vehicles
  // of default capacity keep theirs.
  virtual void ApplyTypeCapacity();
  // A unit in Situation 5 sits in a vehicle.
  bool PlaceKindD() const override;
  // While the vehicle moves, while it has no driver, with the doors open,
  // for its driver and for an arrested unit; never when full.
  bool CanEnter(YLUnit* unit) const override;
  // A unit that can drive takes the wheel of a vehicle without driver, and
  // the vehicle takes its owner.
  void Enter(YLUnit* unit) override;
  // A driver leaving drops the wheel, the doors open and the next unit
  // inside that can drive takes it.
  void Leave(YLUnit* unit) override;
  // Units that attack weigh a vehicle as this strong.
  float GetDamage() const override;
  // "car - driven by <driver> (<units inside>)" or "car - not driven (...)".
  void GetDebugText(tString& text) const override;
  // A unit cannot push a vehicle with anyone inside.
  bool Push(YLThing* pusher) override;
  // The running vehicle move is made once its time has come, carrying the
  // units inside and the driver; then the thing's tick, the push's and the
  // driver's decision.
  bool Propagate() override;
  // The push state follows the fields; loading sets the capacity of the
  // type bits first.
  bool DoLoadFrom(LumoStream* stream) override;
  bool DoSaveTo(LumoStream* stream) override;
  // Puts the shared vehicle moves back to their defaults.
  static void InitMoveTable();
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
  // Changes the vehicle's side to the driver's. A vehicle of the running
  // logic leaves its old side's count and joins the new side's, as a reload
  // of the game counts every thing with its owner.
  void TakeOwner(int32_t owner);
  // Everyone inside and the driver take the vehicle's place and facing.
  void CarryAlong();
  // A vehicle record.
  ThingInfo* MakeInfo() const override;
};
