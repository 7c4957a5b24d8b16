#include "logic/world/YLTDriver.h"

YLTDriver::YLTDriver() = default;

YLTDriver::~YLTDriver() {
  if (Vehicle != nullptr && Vehicle->GetDriver() == this) {
    Vehicle->SetDriver(nullptr);
  }
  Vehicle = nullptr;
}

void YLTDriver::SetVehicle(YLTDrivable* vehicle) {
  if (Vehicle != nullptr && Vehicle != vehicle && Vehicle->GetDriver() == this) {
    Vehicle->SetDriver(nullptr);
  }
  Vehicle = vehicle;
  if (Vehicle != nullptr) {
    Vehicle->SetDriver(this);
  }
}

bool YLTDriver::IsDriving() const { return Vehicle != nullptr && Vehicle->GetDriver() == this; }

YLTDrivable::YLTDrivable() = default;

// Only the link is cleared: the vehicle's own record is going away with it.
YLTDrivable::~YLTDrivable() {
  if (Driver != nullptr && Driver->Vehicle == this) {
    Driver->Vehicle = nullptr;
  }
  Driver = nullptr;
}

void YLTDrivable::SetDriver(YLTDriver* driver) {
  // A driver replaced by another keeps no link to this vehicle.
  if (Driver != nullptr && Driver != driver && Driver->Vehicle == this) {
    Driver->Vehicle = nullptr;
  }
  Driver = driver;
}
