#pragma once

#include <cstdint>

#include "logic/core/YLEventListener.h"

class YBBotList;

// Feeds the bots with speech about their units, money and scripted tasks.
// It holds the bot list by reference and forgets it when it goes.
class YBTaskListener : public YLEventListener {
 public:
  YBTaskListener();

  const char* GetClassName() const override { return "YBTaskListener"; }
  void OnFree() override;
  void DoAbortReferenceTo(LumoObject* other) override;

  void EventSpeech(int32_t player, int32_t thing, int32_t message, int32_t parameter) override;
  void EventParameter(int32_t player, ParamEnum parameter, int32_t value) override;
  void EventNewTask(int32_t player, const char* text) override;

  void SetBots(YBBotList* bots);
  YBBotList* GetBots() const { return Bots; }

 private:
  YBBotList* Bots = nullptr;
};

// The player parameter that holds a player's money.
inline constexpr ParamEnum kParamMoney = 1;
