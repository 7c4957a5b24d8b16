#include "bot/YBKnowledgeListener.h"

#include <climits>

#include "bot/YBBot.h"
#include "bot/YBBotList.h"
#include "bot/YBMasterMind.h"
#include "bot/YBTaskListener.h"
#include "navigation/YLKnowledgeMap.h"

YBKnowledgeListener::YBKnowledgeListener() {
  SetName("listener");
  SetName("vette knowledgelistener");
}

void YBKnowledgeListener::OnFree() {
  SetController(nullptr);
  SetBots(nullptr);
}

void YBKnowledgeListener::DoAbortReferenceTo(LumoObject* other) {
  if (other == Controller) {
    Controller = nullptr;
  }
  if (other == Bots) {
    Bots = nullptr;
  }
  YLEventListener::DoAbortReferenceTo(other);
}

void YBKnowledgeListener::SetController(YBMasterMind* controller) {
  if (controller == Controller) {
    return;
  }
  RemoveReference(Controller);
  Controller = controller;
  AddReference(controller);
  if (Controller != nullptr && Bots != nullptr) {
    Controller->SetBots(Bots);
  }
}

void YBKnowledgeListener::SetBots(YBBotList* bots) {
  if (bots == Bots) {
    return;
  }
  RemoveReference(Bots);
  Bots = bots;
  AddReference(bots);
  if (Controller != nullptr && Bots != nullptr) {
    Controller->SetBots(Bots);
  }
}

void YBKnowledgeListener::EventMap(const void* grid) {
  if (Controller == nullptr) {
    return;
  }
  // The logic hands its knowledge map as the grid of the map event.
  Controller->SetMap(static_cast<YLKnowledgeMap*>(const_cast<void*>(grid)));
  if (Bots == nullptr) {
    return;
  }
  for (LumoNode* node = Bots->first; node != nullptr; node = node->next) {
    if (auto* bot = dynamic_cast<YBBot*>(node); bot != nullptr) {
      bot->SetController(Controller);
    }
  }
}

void YBKnowledgeListener::EventThing(ThingInfo* info, const char*) {
  if (Controller != nullptr) {
    Controller->AddThing(info);
  }
}

void YBKnowledgeListener::EventParameter(int32_t player, ParamEnum parameter, int32_t value) {
  if (Controller != nullptr && parameter == kParamMoney) {
    Controller->SetMoney(player, value);
  }
}

void YBKnowledgeListener::EventSetObjectiveValue(int32_t objective, int32_t value, const char* text) {
  if (Controller == nullptr) {
    return;
  }
  if (objective >= 0) {
    Controller->SetObjectiveValue(objective, value, text);
  } else if (objective != INT_MIN) {
    Controller->SetGlobalValue(-objective, value, text);
  }
}
