#include "bot/YBTask.h"

#include <cstring>
#include <new>

#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "bot/YBBot.h"
#include "bot/YBCommandGroup.h"
#include "bot/YBCrewAssignment.h"
#include "bot/YBMasterMind.h"
#include "bot/YBThing.h"
#include "logic/core/ThingInfo.h"

namespace {

LumoClassOf<YBTask> classOfYBTask(kVersion_1_6_0_6, "YBTask", "LumoNode");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBTask, Assignment, PropertyPointer, "tPointer");

struct KindEntry {
  const char* name;
  const char* className;  // null: the kind makes no task
};

// Kind numbers index this table; the names are those of the text form.
constexpr KindEntry kKinds[YBTask::kKindCount] = {
    {"Dummy", "YBTask"},
    {"Wait", "YBTaskWait"},
    {"Move", "YBTaskMove"},
    {"Drive", "YBTaskDrive"},
    {"Attack", "YBTaskAttack"},
    {"Destroy", "YBTaskDestroy"},
    {"Bomb", "YBTaskBomb"},
    {"Loot", "YBTaskLoot"},
    {"Guardborder", "YBTaskGuardBorder"},
    {"Pushobstacle", "YBTaskPushObstacle"},
    {"Enter", "YBTaskEnter"},
    {"Hide", "YBTaskHide"},
    {"Chant", "YBTaskChant"},
    {"Brick", "YBTaskBrick"},
    {"Turret", "YBTaskTurret"},
    {"Beer", "YBTaskBeer"},
    {"Check", "YBTaskCheck"},
    {"Gas", "YBTaskGas"},
    {"Rout", "YBTaskRout"},
    {"Guard", "YBTaskGuard"},
    {"Arrest", "YBTaskArrest"},
    {"Cordon", "YBTaskCordonBorder"},
    {"Advance", "YBTaskAdvance"},
    {"Patrol", "YBTaskPatrol"},
    {"Regroup", nullptr},
    {"SelfDefence", "YBTaskSelfdefence"},
    {"Program", nullptr},
};

constexpr const char* kAutomaticAssignment = "AI";

}  // namespace

void YBTask::OnFree() {
  State.reset();
  Assignment.reset();
}

bool YBTask::LoadAssignment(LumoStream* stream, const LumoProperty*) {
  return YBIdentifierList::Load(stream, Assignment, "YBTask::LoadAssignment");
}

bool YBTask::SaveAssignment(LumoStream* stream, const LumoProperty*) {
  return YBIdentifierList::Save(stream, Assignment.get());
}

bool YBTask::IsFinished() { return true; }

std::string YBTask::GetKindName() const { return GetKindNameOf(GetKind()); }

void YBTask::GetProperties(YBTextList& names, YBTextList& values) {
  names.emplace_back("Assignment");
  values.emplace_back(Assignment != nullptr && !Assignment->IsEmpty() ? Assignment->ToText() : kAutomaticAssignment);
}

int32_t YBTask::SetProperty(int32_t index, const char* text) {
  if (index != 0) {
    return 0;
  }
  if (text != nullptr && std::strcmp(text, kAutomaticAssignment) == 0) {
    Assignment.reset();
  } else {
    Assignment = YBIdentifierList::FromText(text);
  }
  Stop();
  return -1;
}

bool YBTask::Start() {
  Stop();
  if (Assignment == nullptr || Assignment->IsEmpty()) {
    return false;
  }
  State.reset(new LumoObjects(true));
  return true;
}

bool YBTask::Stop() {
  State.reset();
  return true;
}

bool YBTask::Compute() { return IsStarted() || Start(); }

void YBTask::GetCode(uint8_t code[3]) const { code[0] = code[1] = code[2] = ' '; }

void YBTask::SpeechMsg(YBUnit* unit, int32_t message, int32_t parameter) {
  YBMasterMind* controller = YBMasterMind::GetCurrent();
  if (message != kMessageAttacked || controller == nullptr || Bot == nullptr) {
    return;
  }
  const int32_t player = static_cast<int32_t>(Bot->ID);
  YBIdentifierList targets;
  if (YBUnit* attacker = controller->GetUnit(parameter); attacker != nullptr) {
    if (attacker->Info->Owner != player) {
      if (attacker->Assignment != nullptr) {
        for (int32_t index = 0; index < attacker->Assignment->count; ++index) {
          targets.Append(attacker->Assignment->GetUnit(index)->GetID());
        }
      } else {
        targets.Append(attacker->GetID());
      }
    }
  } else if (YBVehicle* vehicle = controller->GetVehicle(parameter);
             vehicle != nullptr && vehicle->Info->Owner != player) {
    for (int32_t index = 0; index < vehicle->GetContainedCount(); ++index) {
      targets.Append(vehicle->GetContainedID(index));
    }
  }
  if (targets.IsEmpty()) {
    return;
  }
  YBTask* defence = CreateOfKind(player == 3 ? kKindSelfDefence : kKindAttack);
  if (defence == nullptr) {
    return;
  }
  defence->SetProperty(1, targets.ToText().c_str());
  YBBot* bot = Bot;
  bot->AddTask(defence);
  Assign(nullptr);
  YBCrewAssignment* attacked = unit != nullptr ? unit->Assignment : nullptr;
  if (attacked == nullptr) {
    return;
  }
  defence->Assign(attacked);
  if (!defence->Start()) {
    bot->RemoveTask(defence);
  }
  attacked->SetTask(nullptr);
}

void YBTask::Assign(YBCrewAssignment* assignment) {
  if (Assignment != nullptr) {
    Stop();
    Assignment.reset();
  }
  if (assignment == nullptr) {
    return;
  }
  Assignment = std::make_unique<YBIdentifierList>();
  for (int32_t index = 0; index < assignment->count; ++index) {
    YBUnit* unit = assignment->GetUnit(index);
    const int32_t type = unit->Info->Gfx;
    if (type != 0 && type != 3 && type < kFirstNonCrewType && unit->GetTask() == nullptr) {
      Assignment->Append(unit->GetID());
    }
  }
  assignment->SetTask(this);
}

void YBTask::RemoveUnit(YBUnit* unit) {
  if (unit == nullptr) {
    return;
  }
  if (Assignment != nullptr) {
    Assignment->RemoveAll(unit->GetID());
  }
  if (unit->Group != nullptr && unit->Group->Task == this) {
    unit->Group->RemoveMember(unit);
  }
}

void YBTask::AddToState(LumoObject* value) {
  if (State == nullptr) {
    State.reset(new LumoObjects(true));
  }
  State->Append(value);
}

void YBTask::RemoveFromState(LumoObject* value) {
  if (State == nullptr || value == nullptr) {
    return;
  }
  bool found = false;
  for (int32_t index = State->count - 1; index >= 0; --index) {
    if ((*State)[index] == value) {
      // The slot is emptied before it is closed, so the value is destroyed
      // once however often it was held.
      (*State)[index] = nullptr;
      State->DeleteAt(index);
      found = true;
    }
  }
  if (found) {
    DestroyObject(value);
  }
}

std::string YBTask::GetText() {
  std::string text = GetKindName();
  YBTextList names;
  YBTextList values;
  GetProperties(names, values);
  for (const std::string& value : values) {
    text += ' ';
    text += value;
  }
  return text;
}

const char* YBTask::GetKindClassName(int32_t kind) {
  return kind >= 0 && kind < kKindCount ? kKinds[kind].className : nullptr;
}

const char* YBTask::GetKindNameOf(int32_t kind) { return kind >= 0 && kind < kKindCount ? kKinds[kind].name : ""; }

YBTask* YBTask::CreateOfKind(int32_t kind) {
  const char* className = GetKindClassName(kind);
  if (className == nullptr) {
    return nullptr;
  }
  LumoObject* made = CreateObject(className, nullptr);
  auto* task = dynamic_cast<YBTask*>(made);
  if (task == nullptr && made != nullptr) {
    DestroyObject(made);
  }
  return task;
}

YBTask* YBTask::CreateFromText(const char* text) {
  if (text == nullptr) {
    return nullptr;
  }
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    const size_t length = std::strlen(kKinds[kind].name);
    if (std::strncmp(text, kKinds[kind].name, length) != 0) {
      continue;
    }
    YBTask* task = CreateOfKind(kind);
    if (task == nullptr) {
      return nullptr;
    }
    const char* at = text + length;
    int32_t index = 0;
    for (;;) {
      while (*at == ' ') {
        ++at;
      }
      if (*at == '\0') {
        break;
      }
      const char* end = at;
      while (*end != '\0' && *end != ' ') {
        ++end;
      }
      const std::string word(at, end);
      task->SetProperty(index++, word.c_str());
      at = end;
    }
    task->Flags |= kKeptFlag;
    return task;
  }
  return nullptr;
}
