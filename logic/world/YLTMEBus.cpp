#include "logic/world/YLTMEBus.h"

#include "base/LumoClass.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLTMEBus> classOfYLTMEBus(kVersion_1_6_0_6, "YLTMEBus", "YLTCar");

constexpr int32_t kPoliceOwner = 3;

}  // namespace

YLTMEBus::YLTMEBus() = default;

const char* YLTMEBus::GetClassName() const { return "YLTMEBus"; }

void YLTMEBus::ApplyTypeCapacity() {
  YLTCar::ApplyTypeCapacity();
  SetMaxItems(kCapacity);
}

bool YLTMEBus::CanEnter(YLUnit* unit) const {
  const ContainerInfo* info = GetContainerInfo();
  if (unit == nullptr || unit->Info == nullptr || info == nullptr || info->IsFull()) {
    return false;
  }
  return unit->GetOwner() == kPoliceOwner || (unit->Info->Status & kStatusArrested) != 0;
}

void YLTMEBus::Enter(YLUnit* unit) {
  if (unit == nullptr) {
    return;
  }
  YLTDriver* part = unit->AsDriver();
  if (GetDriver() == nullptr && part != nullptr && unit->GetOwner() == kPoliceOwner) {
    part->SetVehicle(this);
    TakeOwner(kPoliceOwner);
  }
  YLTContainerThing::Enter(unit);
}
