#include "logic/world/YLTShop.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YLTDopeHouse> classOfYLTDopeHouse(kVersion_1_6_0_6, "YLTDopeHouse", "YLTBuilding");
LumoClassOf<YLTSexShop> classOfYLTSexShop(kVersion_1_6_0_6, "YLTSexShop", "YLTBuilding");
LumoClassOf<YLTSuitHangout> classOfYLTSuitHangout(kVersion_1_6_0_6, "YLTSuitHangout", "YLTBuilding");
LumoClassOf<YLTWeaponShop> classOfYLTWeaponShop(kVersion_1_6_0_6, "YLTWeaponShop", "YLTBuilding");

}  // namespace

YLTDopeHouse::YLTDopeHouse() = default;
const char* YLTDopeHouse::GetClassName() const { return "YLTDopeHouse"; }

YLTSexShop::YLTSexShop() = default;
const char* YLTSexShop::GetClassName() const { return "YLTSexShop"; }

YLTSuitHangout::YLTSuitHangout() = default;
const char* YLTSuitHangout::GetClassName() const { return "YLTSuitHangout"; }
bool YLTSuitHangout::PlaceKindC() const { return false; }

YLTWeaponShop::YLTWeaponShop() = default;
const char* YLTWeaponShop::GetClassName() const { return "YLTWeaponShop"; }
