#include "bot/YBProposition.h"

#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "bot/YBTask.h"

namespace {

// The class record names its base "LumoObject", though the class is a node.
LumoClassOf<YBProposition> classOfYBProposition(kVersion_1_6_0_6, "YBProposition", "LumoObject");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBProposition, Priority, PropertySingle, "tSingle");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBProposition, Time, PropertyInteger, "tInteger");

}  // namespace

LUMO_GENERIC_FIELD(YBProposition, Priority)
LUMO_GENERIC_FIELD(YBProposition, Time)

void YBProposition::OnFree() { ReleaseTask(); }

void YBProposition::DoAbortReferenceTo(LumoObject* other) {
  if (other == Task) {
    Task = nullptr;
    ownsTask_ = false;
  }
  LumoNode::DoAbortReferenceTo(other);
}

YBProposition* YBProposition::CreateNew() const {
  LumoObject* made = CreateObject(GetClassName(), nullptr);
  auto* proposition = dynamic_cast<YBProposition*>(made);
  if (proposition == nullptr && made != nullptr) {
    DestroyObject(made);
  }
  return proposition;
}

YBTask* YBProposition::GetTask() {
  if (Task == nullptr) {
    HoldTask(new YBTask, true);
  }
  return Task;
}

void YBProposition::SetTask(YBTask* task) {
  if (task == Task) {
    return;
  }
  ReleaseTask();
  HoldTask(task, true);
}

YBProposition* YBProposition::Copy() const {
  YBProposition* copy = CreateNew();
  if (copy == nullptr) {
    return nullptr;
  }
  copy->Priority = Priority;
  copy->Time = Time;
  copy->Key = Key;
  copy->Objective = Objective;
  copy->HoldTask(Task, false);
  return copy;
}

void YBProposition::HoldTask(YBTask* task, bool owns) {
  Task = task;
  ownsTask_ = owns && task != nullptr;
  if (task != nullptr) {
    AddReference(task);
  }
}

void YBProposition::ReleaseTask() {
  YBTask* task = Task;
  if (task == nullptr) {
    return;
  }
  const bool destroy = ownsTask_ && !task->HasJoinedBot();
  Task = nullptr;
  ownsTask_ = false;
  RemoveReference(task);
  if (destroy) {
    DestroyObject(task);
  }
}
