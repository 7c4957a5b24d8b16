#include "logic/world/YLTBusDriver.h"

#include "base/LumoClass.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<YLTBusDriver> classOfYLTBusDriver(kVersion_1_6_0_6, "YLTBusDriver", "YLThing");
LOGIC_FIELD_PROPERTY(YLTBusDriver, LockTime, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTBusDriver, Mode, PropertyInteger, "tInteger");

}  // namespace

YLTBusDriver::YLTBusDriver() = default;

const char* YLTBusDriver::GetClassName() const { return "YLTBusDriver"; }

YLTDriver* YLTBusDriver::AsDriver() { return this; }

int32_t YLTBusDriver::GetDriverTid() const { return GetTid(); }

// A negative code keeps its mode within 0-8 as well.
int32_t YLTBusDriver::SetMode(int32_t code) {
  const int32_t mode = code % kModeCount;
  Mode = mode < 0 ? mode + kModeCount : mode;
  return code / kModeCount;
}

LUMO_GENERIC_FIELD(YLTBusDriver, LockTime)
LUMO_GENERIC_FIELD(YLTBusDriver, Mode)
