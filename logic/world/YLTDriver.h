#pragma once

#include <cstdint>

class YLTCar;
class YLTDrivable;
class YLThing;
class YLUnit;

// The driver's side of the link between a vehicle and the one who drives
// it. The two sides always point at each other or at nothing: setting a new
// vehicle first tells the old one that it lost its driver, and either side
// going away clears the other's link.
class YLTDriver {
 public:
  YLTDriver();
  // Leaves the vehicle, so it keeps no link to a freed driver.
  virtual ~YLTDriver();
  YLTDriver(const YLTDriver&) = delete;
  YLTDriver& operator=(const YLTDriver&) = delete;

  // The Tid of the thing that carries this part (the unit or bus driver).
  virtual int32_t GetDriverTid() const = 0;

  YLTDrivable* GetVehicle() const { return Vehicle; }
  // The old vehicle loses its driver, the new one takes this driver.
  void SetVehicle(YLTDrivable* vehicle);
  // Whether the vehicle this part sits in is driven by it.
  bool IsDriving() const;
  // The vehicle as a car; null without one.
  YLTCar* GetCar() const;

  // ---- The drive choice ----
  // The weights of the seven vehicle moves a driver rates: w[0] standing
  // (stays 0), w[1] drive on (15), w[2] and w[3] the drive turns (16, 17),
  // w[4] reverse (18), w[5] and w[6] the reverse turns (19, 20).
  static constexpr int32_t kDriveWeightCount = 7;
  static constexpr int32_t kFirstDriveMove = 15;
  // What a move does when laid on the map: its body meets a wall or a unit
  // that must not be hit, meets nothing, or runs into the driver's own side.
  static constexpr int32_t kMoveBlocked = 0;
  static constexpr int32_t kMoveFree = 1;
  static constexpr int32_t kMoveRunsIntoUnits = 2;
  // The stimulus and its strength that the driver's own units in the way
  // get: make way.
  static constexpr int32_t kMakeWayKind = 3;
  static constexpr float kMakeWayStrength = 0.8f;

  // Chooses the vehicle move that brings the vehicle toward (x, y): 32 when
  // it is there, within `tolerance` cells or nearer than 2, or when the goal
  // is the next cell and that is blocked. Otherwise each of the moves 15-20
  // is laid on the knowledge map with the vehicle's body; among those not
  // blocked the highest weight (GetDriveWeights, above 0) wins, equal ones
  // drawn at random. When the best run into the driver's own units, those
  // are asked to make way and the answer is 0 (stop); with no move left, 0.
  // Without a vehicle or a logic: 32.
  int32_t ChooseDriveMove(int32_t x, int32_t y, int32_t tolerance);
  // Lays a vehicle move on the knowledge map: kMoveBlocked, kMoveFree or
  // kMoveRunsIntoUnits. `code` is 15-20.
  int32_t TestDriveMove(int32_t code) const;

  // The kind's weights for a goal in `direction` (relative to the vehicle's
  // facing, -4..4, 0 ahead) at `distance` cells, on a vehicle of that type.
  // The base gives the biker's weights.
  virtual void GetDriveWeights(float (&weights)[kDriveWeightCount], int32_t direction, int32_t distance,
                               int32_t vehicleType) const;
  // Whether the driver drives at this unit rather than round it. The base:
  // never.
  virtual bool IsDriveTarget(const YLUnit& unit) const;

  // The brain's move of a unit at the wheel (set vehicle link): the leave
  // move (10) stops the vehicle first, then the unit leaves; any other code
  // puts the unit at rest and is started on the vehicle, whose duration is
  // the answer. False, answering nothing, without a vehicle.
  bool WheelBrainMove(int32_t code, int32_t& answer);
  // The walking choice of a unit in Situation 5: a driver whose vehicle no
  // lives any more leaves it; otherwise the drive choice answers. False,
  // answering nothing, when the unit does not sit in Situation 5.
  bool WheelGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance, int32_t& answer);

  // The thing that carries this part; null when it is none.
  YLThing* GetDriverThing() const;

  // The vehicle's per-tick question to its driver: `ticks` since the last,
  // answers the ticks until the next move of its own. The units at the
  // wheel decide in their brain instead: 0.
  virtual int32_t Decide(int32_t ticks);

 private:
  void AskToMakeWay(const int32_t* codes, const int32_t* results, int32_t count) const;

  friend class YLTDrivable;
  YLTDrivable* Vehicle = nullptr;
};

// The vehicle's side: its driver, none at construction.
class YLTDrivable {
 public:
  YLTDrivable();
  // The driver's link to this vehicle is cleared.
  virtual ~YLTDrivable();
  YLTDrivable(const YLTDrivable&) = delete;
  YLTDrivable& operator=(const YLTDrivable&) = delete;

  // The Tid of the vehicle that carries this part.
  virtual int32_t GetDrivableTid() const = 0;

  YLTDriver* GetDriver() const { return Driver; }
  // Records the driver (null: none). The driver's own vehicle link is left
  // to YLTDriver::SetVehicle, which calls this.
  virtual void SetDriver(YLTDriver* driver);
  // Starts a vehicle move (0 stops, 15-20 drive) and answers its duration;
  // 0 for a code it does not have.
  virtual int32_t StartVehicleMove(int32_t code) = 0;

 private:
  YLTDriver* Driver = nullptr;
};
