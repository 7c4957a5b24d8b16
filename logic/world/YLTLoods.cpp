#include "logic/world/YLTLoods.h"

#include "base/LumoClass.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/GroundMap.h"

namespace {

LumoClassOf<YLTLoods> classOfYLTLoods(kVersion_1_6_0_6, "YLTLoods", "YLTContainerThing");

}  // namespace

YLTLoods::YLTLoods() = default;

const char* YLTLoods::GetClassName() const { return "YLTLoods"; }

ThingInfo* YLTLoods::MakeInfo() const { return new ShackInfo; }

void YLTLoods::CreateInfo(int32_t moveNumber) {
  YLTContainerThing::CreateInfo(moveNumber);
  Info->Ground.reset(new GroundMap);
}

bool YLTLoods::PlaceKindB() const { return true; }
