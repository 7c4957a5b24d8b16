#include "bot/YBTaskListener.h"

#include "base/DebugFormat.h"
#include "bot/YBBot.h"
#include "bot/YBBotList.h"
#include "bot/YBMasterMind.h"
#include "bot/YBTask.h"
#include "bot/YBThing.h"
#include "logic/core/ThingInfo.h"

namespace {

// Calls visit on every bot of the player, in list order.
template <typename Visit>
void ForBotsOf(YBBotList* bots, int32_t player, Visit&& visit) {
  if (bots == nullptr) {
    return;
  }
  bots->VisitItems([&](LumoNode* node) {
    auto* bot = dynamic_cast<YBBot*>(node);
    if (bot != nullptr && static_cast<int32_t>(bot->ID) == player) {
      visit(*bot);
    }
    return false;
  });
}

}  // namespace

YBTaskListener::YBTaskListener() {
  SetName("listener");
  SetName("suffe tasklistener");
}

void YBTaskListener::OnFree() { SetBots(nullptr); }

void YBTaskListener::DoAbortReferenceTo(LumoObject* other) {
  if (other == Bots) {
    Bots = nullptr;
  }
  YLEventListener::DoAbortReferenceTo(other);
}

void YBTaskListener::SetBots(YBBotList* bots) {
  if (bots == Bots) {
    return;
  }
  RemoveReference(Bots);
  Bots = bots;
  AddReference(bots);
}

void YBTaskListener::EventSpeech(int32_t player, int32_t thing, int32_t message, int32_t parameter) {
  const YBMasterMind* controller = YBMasterMind::GetCurrent();
  if (controller == nullptr) {
    return;
  }
  YBUnit* unit = controller->GetUnit(thing);
  YBTask* task = unit != nullptr ? unit->GetTask() : nullptr;
  try {
    ForBotsOf(Bots, player, [&](YBBot& bot) {
      if (unit != nullptr) {
        if (YBTask* unitTask = unit->GetTask(); unitTask != nullptr) {
          unitTask->SpeechMsg(unit, message, parameter);
        }
        return;
      }
      bot.Tasks->VisitItems([&](LumoNode* item) {
        if (auto* each = dynamic_cast<YBTask*>(item); each != nullptr) {
          each->SpeechMsg(nullptr, message, thing);
        }
        return false;
      });
    });
  } catch (...) {
    DebugPrint("(BOT) Unhandled exception in YBTaskListener::EventSpeech(%i,%i,%i,%i)\n", player, thing, message,
               parameter);
    const YBThing* record = controller->GetThing(thing);
    if (record == nullptr || record->Info == nullptr) {
      DebugPrint("      Thing %i does not exist\n", thing);
    } else {
      DebugPrint("      Thing %i gfx=%i move=%i\n", thing, record->Info->Gfx, record->Info->MoveNumber);
      if (task != nullptr) {
        DebugPrint("   Task %p is %s\n", static_cast<void*>(task), task->GetText().c_str());
      } else {
        DebugPrint("   thing has no task\n");
      }
    }
    throw;
  }
}

void YBTaskListener::EventParameter(int32_t player, ParamEnum parameter, int32_t value) {
  if (parameter != kParamMoney) {
    return;
  }
  ForBotsOf(Bots, player, [&](YBBot& bot) { bot.Money = value; });
}

void YBTaskListener::EventNewTask(int32_t player, const char* text) {
  const YBMasterMind* controller = YBMasterMind::GetCurrent();
  ForBotsOf(Bots, player, [&](YBBot& bot) {
    YBTask* task = YBTask::CreateFromText(text);
    if (task == nullptr) {
      return;
    }
    if (task->Assignment != nullptr) {
      // Walked over a copy: leaving a task may change the new task's list.
      const std::vector<int32_t> listed = task->Assignment->Values;
      for (int32_t id : listed) {
        YBUnit* unit = controller != nullptr ? controller->GetUnit(id) : nullptr;
        if (unit == nullptr) {
          task->Assignment->RemoveAll(id);
        } else if (YBTask* holder = unit->GetTask(); holder != nullptr) {
          holder->RemoveUnit(unit);
        }
      }
    }
    bot.AddTask(task);
  });
}
