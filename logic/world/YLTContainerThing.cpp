#include "logic/world/YLTContainerThing.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLTContainerThing> classOfYLTContainerThing(kVersion_1_6_0_6, "YLTContainerThing", "YLThing");

}  // namespace

YLTContainerThing::YLTContainerThing() : UnitValues(nullptr, nullptr, nullptr, 16) {}

YLTContainerThing::~YLTContainerThing() { DetachAll(); }

const char* YLTContainerThing::GetClassName() const { return "YLTContainerThing"; }

void YLTContainerThing::DoFree() {
  DetachAll();
  YLThing::DoFree();
}

ThingInfo* YLTContainerThing::MakeInfo() const { return new ContainerInfo; }

ContainerInfo* YLTContainerThing::GetContainerInfo() const { return dynamic_cast<ContainerInfo*>(Info.get()); }

// A container answers its entrance.
int32_t YLTContainerThing::GetX() const {
  const ContainerInfo* info = GetContainerInfo();
  if (info == nullptr) {
    return YLThing::GetX();
  }
  int32_t x = 0;
  int32_t y = 0;
  info->GetEntrance(x, y);
  return x;
}

int32_t YLTContainerThing::GetY() const {
  const ContainerInfo* info = GetContainerInfo();
  if (info == nullptr) {
    return YLThing::GetY();
  }
  int32_t x = 0;
  int32_t y = 0;
  info->GetEntrance(x, y);
  return y;
}

// ---- Units inside ----

void YLTContainerThing::Attach(YLUnit* unit) {
  Units.Append(unit);
  UnitValues.AppendInt(0);
  unit->SetContainer(this);
}

void YLTContainerThing::DetachAll() {
  while (Units.count > 0) {
    const int32_t last = Units.count - 1;
    YLUnit* unit = Units[last];
    Units.DeleteAt(last);
    if (UnitValues.count > last) {
      UnitValues.DeleteAt(last);
    }
    if (unit != nullptr && unit->GetContainer() == this) {
      unit->SetContainer(nullptr);
    }
  }
  UnitValues.Clear();
}

// A unit already inside is not taken a second time.
void YLTContainerThing::Enter(YLUnit* unit) {
  if (unit == nullptr || Units.IndexOf(unit) >= 0) {
    return;
  }
  Attach(unit);
  ContainerInfo* info = GetContainerInfo();
  if (info != nullptr && unit->Info != nullptr) {
    info->AddContainedID(unit->Info->Tid);
  }
}

void YLTContainerThing::Leave(YLUnit* unit) {
  const int32_t index = unit != nullptr ? Units.IndexOf(unit) : -1;
  if (index < 0) {
    return;
  }
  if (index < UnitValues.count) {
    UnitValues.DeleteAt(index);
  }
  Units.DeleteAt(index);
  ContainerInfo* info = GetContainerInfo();
  if (info != nullptr && unit->Info != nullptr) {
    info->RemoveContainedID(unit->Info->Tid);
  }
  unit->SetContainer(nullptr);
}

// Following an id that names no unit would take some other thing (or
// nothing) for a unit; a damaged or stale record loses such ids instead.
void YLTContainerThing::InitFromType() {
  YLThing::InitFromType();
  DetachAll();
  ContainerInfo* info = GetContainerInfo();
  if (info == nullptr) {
    return;
  }
  const CLogic* logic = GetLogic();
  int32_t index = 0;
  while (index < info->ContainedThing.count) {
    const int32_t id = info->ContainedThing[index];
    YLUnit* unit = logic != nullptr ? UnitOf(logic->GetThing(id)) : nullptr;
    if (unit == nullptr || Units.IndexOf(unit) >= 0) {
      DebugPrint("YLTContainerThing::InitFromType: thing %d drops contained id %d, it names no unit inside\n",
                 info->Tid, id);
      info->ContainedThing.DeleteAt(index);
      continue;
    }
    Attach(unit);
    ++index;
  }
}

bool YLTContainerThing::CanHold(int32_t) const { return true; }

bool YLTContainerThing::CanEnter(YLUnit*) const {
  const ContainerInfo* info = GetContainerInfo();
  return info != nullptr && !info->IsFull();
}

bool YLTContainerThing::CanEnterHome(YLUnit*) const {
  const ContainerInfo* info = GetContainerInfo();
  return info != nullptr && !info->IsFull();
}

bool YLTContainerThing::PlaceKindA() const { return false; }
bool YLTContainerThing::PlaceKindB() const { return false; }
bool YLTContainerThing::PlaceKindC() const { return false; }
bool YLTContainerThing::PlaceKindD() const { return false; }

void YLTContainerThing::SetMaxItems(int32_t maxItems) {
  ContainerInfo* info = GetContainerInfo();
  if (info != nullptr) {
    info->SetMaxItems(maxItems);
  }
}

YLUnit* YLTContainerThing::GetContainedThing(int32_t index) const { return Units.At(index); }

int32_t YLTContainerThing::GetContainedID(int32_t index) const {
  const YLUnit* unit = Units.At(index);
  return unit != nullptr && unit->Info != nullptr ? unit->Info->Tid : 0;
}

int32_t YLTContainerThing::GetContainedCount() const { return Units.count; }
