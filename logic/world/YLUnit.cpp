#include "logic/world/YLUnit.h"

#include "logic/world/YLTContainerThing.h"

namespace {

// The unit's situation inside each kind of place.
constexpr int32_t kSituationOnFoot = 1;
constexpr int32_t kSituationPlaceD = 5;
constexpr int32_t kSituationPlaceAB = 6;
constexpr int32_t kSituationPlaceC = 7;

}  // namespace

YLUnit::YLUnit() = default;

YLUnit::~YLUnit() { LeaveContainer(); }

const char* YLUnit::GetClassName() const { return "YLUnit"; }

void YLUnit::DoFree() {
  LeaveContainer();
  YLThing::DoFree();
}

void YLUnit::LeaveContainer() {
  if (Container != nullptr) {
    Container->Leave(this);
    Container = nullptr;
  }
}

YLThing* YLUnit::GetContainer() const { return Container; }

int32_t YLUnit::GetSituation() const {
  const UnitInfo* info = GetUnitInfo();
  return info != nullptr ? info->Situation : YLThing::GetSituation();
}

UnitInfo* YLUnit::GetUnitInfo() const { return dynamic_cast<UnitInfo*>(Info.get()); }

ThingInfo* YLUnit::MakeInfo() const {
  auto* info = new UnitInfo;
  info->Status = kStatusNewUnit;
  return info;
}

void YLUnit::SetContainer(YLTContainerThing* container) {
  Container = container;
  UnitInfo* info = GetUnitInfo();
  if (container == nullptr) {
    if (Info != nullptr) {
      Info->Status &= ~static_cast<uint32_t>(StatusInContainer);
    }
    if (info != nullptr) {
      info->Situation = kSituationOnFoot;
    }
    return;
  }
  if (Info != nullptr) {
    Info->Status |= StatusInContainer;
  }
  if (info == nullptr) {
    return;
  }
  if (container->PlaceKindC()) {
    info->Situation = kSituationPlaceC;
  } else if (container->PlaceKindA() || container->PlaceKindB()) {
    info->Situation = kSituationPlaceAB;
  } else if (container->PlaceKindD()) {
    info->Situation = kSituationPlaceD;
  }
}
