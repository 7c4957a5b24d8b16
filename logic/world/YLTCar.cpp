#include "logic/world/YLTCar.h"

#include "logic/core/ContainerInfo.h"

YLTCar::YLTCar() = default;

const char* YLTCar::GetClassName() const { return "YLTCar"; }

YLThing* YLTCar::GetThing() { return this; }

ThingInfo* YLTCar::MakeInfo() const { return new VehicleInfo; }
