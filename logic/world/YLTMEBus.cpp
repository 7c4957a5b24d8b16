#include "logic/world/YLTMEBus.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YLTMEBus> classOfYLTMEBus(kVersion_1_6_0_6, "YLTMEBus", "YLTCar");

}  // namespace

YLTMEBus::YLTMEBus() = default;

const char* YLTMEBus::GetClassName() const { return "YLTMEBus"; }
