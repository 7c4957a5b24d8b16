#pragma once

#include <cstdint>

#include "logic/core/YLEventListener.h"

class YBBotList;
class YBMasterMind;

// Feeds the controller with what the logic tells: the map, every new
// thing, the players' money and the level's objective settings. It holds
// the controller and the bot list by reference and forgets what goes; an
// event without a controller does nothing.
class YBKnowledgeListener : public YLEventListener {
 public:
  YBKnowledgeListener();

  const char* GetClassName() const override { return "YBKnowledgeListener"; }
  void OnFree() override;
  void DoAbortReferenceTo(LumoObject* other) override;

  // The map's grid is the level's knowledge map.
  void EventMap(const void* grid) override;
  void EventThing(ThingInfo* info, const char* typeName) override;
  void EventParameter(int32_t player, ParamEnum parameter, int32_t value) override;
  void EventSetObjectiveValue(int32_t objective, int32_t value, const char* text) override;

  void SetController(YBMasterMind* controller);
  void SetBots(YBBotList* bots);
  YBMasterMind* GetController() const { return Controller; }
  YBBotList* GetBots() const { return Bots; }

 private:
  YBMasterMind* Controller = nullptr;
  YBBotList* Bots = nullptr;
};
