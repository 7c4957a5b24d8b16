#include "bot/YBBot.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "bot/BotSupport.h"
#include "bot/YBMasterMind.h"
#include "bot/YBTask.h"
#include "logic/core/COrderPackage.h"

namespace {

LumoClassOf<YBBot> classOfYBBot(kVersion_1_6_0_6, "YBBot", "LumoNode");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBBot, Tasks, PropertyPointer, "tPointer");

}  // namespace

YBBot::YBBot() : Tasks(new LumoList) {}

void YBBot::OnFree() {
  Tasks.reset();
  SetController(nullptr);
}

void YBBot::DoAbortReferenceTo(LumoObject* other) {
  if (other == Controller) {
    Controller = nullptr;
  }
  LumoNode::DoAbortReferenceTo(other);
}

void YBBot::SetController(YBMasterMind* controller) {
  if (Controller == controller) {
    return;
  }
  RemoveReference(Controller);
  Controller = controller;
  AddReference(Controller);
}

bool YBBot::LoadTasks(LumoStream* stream, const LumoProperty*) {
  LumoObject* loaded = LoadObject(stream, nullptr);
  auto* list = dynamic_cast<LumoList*>(loaded);
  if (list == nullptr) {
    DebugPrint("(BOT) YBBot::LoadTasks() could not read the task list\n");
    DestroyObject(loaded);
    return false;
  }
  list->VisitItems([&](LumoNode* item) {
    auto* task = dynamic_cast<YBTask*>(item);
    if (task == nullptr) {
      DebugPrint("(BOT) YBBot::LoadTasks() dropped a %s that is no task\n", item->GetClassName());
      DestroyObject(item);
    } else {
      task->Bot = this;
      task->JoinedBot = true;
    }
    return false;
  });
  Tasks.reset(list);
  return true;
}

bool YBBot::SaveTasks(LumoStream* stream, const LumoProperty*) { return Tasks->SaveObject(stream, 0); }

bool YBBot::RunTasks() {
  Tasks->VisitItems([](LumoNode* item) {
    auto* task = dynamic_cast<YBTask*>(item);
    if (task == nullptr) {
      return false;
    }
    try {
      if (!task->IsStarted() && !task->Start()) {
        return false;
      }
      task->Compute();
    } catch (...) {
      DebugPrint("(BOT)Unhandled exception in task %s\n", task->GetText().c_str());
      throw;
    }
    return false;
  });
  return true;
}

YBTask* YBBot::AddTask(YBTask* task) {
  if (task == nullptr) {
    return nullptr;
  }
  if (task->Bot != nullptr && task->Bot != this && task->parent == task->Bot->Tasks.get()) {
    task->Bot->Tasks->Remove(task);
  }
  if (task->parent != Tasks.get()) {
    Tasks->Append(task);
  }
  task->Bot = this;
  task->JoinedBot = true;
  return task;
}

void YBBot::RemoveTask(YBTask* task) {
  if (task == nullptr || task->parent != Tasks.get()) {
    return;
  }
  Tasks->Remove(task);
  task->Bot = nullptr;
  if (!task->IsKept()) {
    DestroyObject(task);
  }
}

void YBBot::Broadcast(const COrderPackage* package) {
  if (!broadcast_) {
    DebugPrint("(BOT) No broadcast function\n");
    return;
  }
  broadcast_(CopyOrderPackage(package));
}

YBTask* YBBot::GetTask(int32_t index) const { return dynamic_cast<YBTask*>(Tasks->At(index)); }
