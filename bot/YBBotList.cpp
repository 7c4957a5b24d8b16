#include "bot/YBBotList.h"

#include "base/LumoClass.h"
#include "bot/YBBot.h"

namespace {

LumoClassOf<YBBotList> classOfYBBotList(kVersion_1_6_0_6, "YBBotList", "LumoList");

}  // namespace

YBBot* YBBotList::GetBot(int32_t player) const {
  for (LumoNode* item = first; item != nullptr; item = item->next) {
    auto* bot = dynamic_cast<YBBot*>(item);
    if (bot != nullptr && static_cast<int32_t>(bot->ID) == player) {
      return bot;
    }
  }
  return nullptr;
}
