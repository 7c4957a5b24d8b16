#include "bot/YBThing.h"

#include "bot/YBCommandGroup.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/UnitInfo.h"

int32_t YBThing::GetX() const { return Info != nullptr ? Info->X : 0; }
int32_t YBThing::GetY() const { return Info != nullptr ? Info->Y : 0; }
bool YBThing::IsGone() const { return Info == nullptr || Info->Hp <= 0.0f; }
int32_t YBThing::GetID() const { return Info != nullptr ? Info->Tid : 0; }

ContainerInfo* YBContainer::GetContainerInfo() const {
  return Info != nullptr && Info->IsContainer() ? static_cast<ContainerInfo*>(Info) : nullptr;
}

int32_t YBContainer::GetContainedCount() const {
  const ContainerInfo* container = GetContainerInfo();
  return container != nullptr ? container->GetContainedCount() : 0;
}

int32_t YBContainer::GetContainedID(int32_t index) const {
  if (index < 0 || index >= GetContainedCount()) {
    return 0;
  }
  return GetContainerInfo()->GetContainedID(index);
}

bool YBContainer::Contains(const YBThing* record) const {
  if (record == nullptr) {
    return false;
  }
  const int32_t id = record->GetID();
  const int32_t count = GetContainedCount();
  for (int32_t index = 0; index < count; ++index) {
    if (GetContainedID(index) == id) {
      return true;
    }
  }
  return false;
}

int32_t YBBuilding::GetX() const {
  const ContainerInfo* container = GetContainerInfo();
  return container != nullptr ? container->X + container->ExitX : YBThing::GetX();
}

int32_t YBBuilding::GetY() const {
  const ContainerInfo* container = GetContainerInfo();
  return container != nullptr ? container->Y + container->ExitY : YBThing::GetY();
}

bool YBBuilding::IsGone() const { return Info == nullptr || Info->MoveNumber == kMoveTrashed; }

bool YBUnit::IsGone() const {
  return YBThing::IsGone() || (Info->Status & kStatusNoLongerCounts) != 0;
}

void YBUnit::GetColour(sRGB& colour) const {
  colour.Red = 255;
  colour.Green = 0;
  colour.Blue = 255;
}

UnitInfo* YBUnit::GetUnitInfo() const { return Info != nullptr ? Info->AsUnitInfo() : nullptr; }

YBTask* YBUnit::GetTask() const { return Group != nullptr ? Group->Task : nullptr; }
