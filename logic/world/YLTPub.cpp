#include "logic/world/YLTPub.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YLTPub> classOfYLTPub(kVersion_1_6_0_6, "YLTPub", "YLTBuilding");

}  // namespace

YLTPub::YLTPub() = default;

const char* YLTPub::GetClassName() const { return "YLTPub"; }

ThingInfo* YLTPub::MakeInfo() const { return new PubInfo; }
