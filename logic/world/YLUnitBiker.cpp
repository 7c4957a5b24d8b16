#include "logic/world/YLUnitBiker.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YLUnitBiker> classOfYLUnitBiker(kVersion_1_6_0_6, "YLUnitBiker", "YLUnitHardCore");
LumoClassOf<YLUnitInnocentDriver> classOfYLUnitInnocentDriver(kVersion_1_6_0_6, "YLUnitInnocentDriver", "YLUnit");

}  // namespace

YLUnitBiker::YLUnitBiker() = default;
const char* YLUnitBiker::GetClassName() const { return "YLUnitBiker"; }
YLTDriver* YLUnitBiker::AsDriver() { return this; }
int32_t YLUnitBiker::GetDriverTid() const { return GetTid(); }

YLUnitInnocentDriver::YLUnitInnocentDriver() = default;
const char* YLUnitInnocentDriver::GetClassName() const { return "YLUnitInnocentDriver"; }
YLTDriver* YLUnitInnocentDriver::AsDriver() { return this; }
int32_t YLUnitInnocentDriver::GetDriverTid() const { return GetTid(); }
