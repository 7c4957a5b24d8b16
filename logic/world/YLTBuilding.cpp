#include "logic/world/YLTBuilding.h"

#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/GroundMap.h"
#include "logic/core/YLConfig.h"

namespace {

LumoClassOf<YLTBuilding> classOfYLTBuilding(kVersion_1_6_0_6, "YLTBuilding", "YLTContainerThing");
LumoClassOf<YLTBank> classOfYLTBank(kVersion_1_6_0_6, "YLTBank", "YLTBuilding");
LumoClassOf<YLTPoliceDept> classOfYLTPoliceDept(kVersion_1_6_0_6, "YLTPoliceDept", "YLTBuilding");
LumoClassOf<YLTPublicBuilding> classOfYLTPublicBuilding(kVersion_1_6_0_6, "YLTPublicBuilding", "YLTBuilding");

constexpr float kNewBuildingArmor = 0.85f;
// The wall a building stands on, for the facings that have one.
constexpr int32_t kWallLength = 4;

}  // namespace

YLTBuilding::YLTBuilding() = default;

const char* YLTBuilding::GetClassName() const { return "YLTBuilding"; }

ThingInfo* YLTBuilding::MakeInfo() const { return new BuildingInfo; }

BuildingInfo* YLTBuilding::GetBuildingInfo() const { return dynamic_cast<BuildingInfo*>(Info.get()); }

void YLTBuilding::CreateInfo(int32_t moveNumber) {
  YLTContainerThing::CreateInfo(moveNumber);
  Info->Armor = kNewBuildingArmor;
}

void YLTBuilding::SetType(int32_t type) {
  YLTContainerThing::SetType(type);
  const CLogic* logic = GetLogic();
  BuildingInfo* info = GetBuildingInfo();
  if (info == nullptr || logic == nullptr || logic->Config == nullptr) {
    return;
  }
  info->Armor = logic->Config->GetBuildingArmor(type);
  info->Money = logic->Config->GetBuildingMoney(type);
}

void YLTBuilding::SetOrientation(uint8_t orientation) {
  if (Info == nullptr || Info->Ori == orientation) {
    return;
  }
  Info->Ori = orientation;
  BuildGroundMap();
}

void YLTBuilding::BuildGroundMap() {
  if (Info == nullptr) {
    return;
  }
  Info->Ground.reset(new GroundMap);
  const int32_t facing = Info->Ori;
  for (int32_t step = 0; step < kWallLength; ++step) {
    if (facing == 0) {
      Info->Ground->AddPoint(facing, step, 0);
    } else if (facing == 1) {
      Info->Ground->AddPoint(facing, step, step);
    } else if (facing == 7) {
      Info->Ground->AddPoint(facing, step - (kWallLength - 1), (kWallLength - 1) - step);
    }
  }
}

bool YLTBuilding::OnAddToMap(CMap*) { return true; }
bool YLTBuilding::PlaceKindA() const { return true; }
bool YLTBuilding::PlaceKindC() const { return true; }

void YLTBuilding::SetBuildingType(int32_t type) {
  if (Info != nullptr) {
    Info->BuildingType = type;
  }
}

void YLTBuilding::AddMoney(int32_t amount) {
  if (BuildingInfo* info = GetBuildingInfo()) {
    info->Money += amount;
  }
}

YLTBank::YLTBank() = default;
const char* YLTBank::GetClassName() const { return "YLTBank"; }

YLTPoliceDept::YLTPoliceDept() = default;
const char* YLTPoliceDept::GetClassName() const { return "YLTPoliceDept"; }

YLTPublicBuilding::YLTPublicBuilding() = default;
const char* YLTPublicBuilding::GetClassName() const { return "YLTPublicBuilding"; }
