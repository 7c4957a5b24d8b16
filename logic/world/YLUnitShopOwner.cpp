#include "logic/world/YLUnitShopOwner.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YLUnitShopOwner> classOfYLUnitShopOwner(kVersion_1_6_0_6, "YLUnitShopOwner", "YLUnit");

}  // namespace

YLUnitShopOwner::YLUnitShopOwner() = default;
const char* YLUnitShopOwner::GetClassName() const { return "YLUnitShopOwner"; }
