#pragma once

#include <cstdint>

class YLTDrivable;

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

 private:
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

 private:
  YLTDriver* Driver = nullptr;
};
