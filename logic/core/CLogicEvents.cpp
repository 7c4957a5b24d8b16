// The dispatchers that do more than pass an event on: things and their
// type names, a unit entering a container, the end of a game, the level's
// objective ticks and a building's message.

#include <memory>
#include <string_view>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CLogicDispatch.h"
#include "logic/core/CPlayer.h"
#include "logic/core/ThingInfo.h"
#include "logic/triggers/ScoreTriggerStrategic.h"
#include "logic/world/YLThing.h"

namespace {

// The type name that stands for a thing without one.
constexpr const char kNoTypeName[] = "0";
// EventSpeech kinds and messages of the logic's own sayings.
constexpr int32_t kVinkjeSpeechKind = 0;
constexpr int32_t kVinkjeMessage = 21;
constexpr int32_t kBuildingSpeechKind = 3;
constexpr int32_t kBuildingMessage = 8;
// A single-player game counts its final score when player 1 stays below it.
constexpr int32_t kFinalScoreCeiling = 4000000;

}  // namespace

void CLogic::NotifyThing(ThingInfo* info, const char* typeName) {
  const char* sent = typeName != nullptr && std::string_view(typeName) == kNoTypeName ? nullptr : typeName;
  Dispatch("CLogic exception in %s->EventThing()\n",
           [&](YLEventListener& listener) { listener.EventThing(info, sent); });
}

void CLogic::SendEnter(int32_t unitId, int32_t containerId) {
  Dispatch("CLogic exception in %s->EventEnter\n",
           [&](YLEventListener& listener) { listener.EventEnter(unitId, containerId); });
}

void CLogic::NotifyEnter(int32_t unitId, int32_t containerId) {
  YLThing* unit = GetThing(unitId);
  const YLThing* container = GetThing(containerId);
  if (unit != nullptr && container != nullptr && unit->Info != nullptr && container->Info != nullptr) {
    unit->Info->Ori = static_cast<uint8_t>(container->Info->GetFacing());
  }
  SendEnter(unitId, containerId);
}

void CLogic::NotifyGameOver(int32_t player, bool won, void* passThrough) {
  if (won) {
    Initialised = false;
  }
  const CPlayer* first = GetPlayer(1);
  if (SinglePlayer != 0 && first != nullptr && first->GetParam(ParamScore) < kFinalScoreCeiling) {
    // The final count of a single-player game, once.
    std::unique_ptr<ScoreTriggerStrategic, tObjectDestroyer> count(new ScoreTriggerStrategic);
    count->Execute(this);
  }
  DebugPrint(" -> player%d %s\n", player, won ? "won!!!" : "lost...");
  const int32_t result = won ? 1 : 0;
  Dispatch("CLogic exception in %s->EventGameOver\n",
           [&](YLEventListener& listener) { listener.EventGameOver(player, result, passThrough); });
}

bool CLogic::SetVinkje(int32_t tick, bool done) {
  // Ticks are numbered by the level's objectives; a number outside them
  // (a damaged script or save) would grow the table without bound.
  if (tick < 0 || tick > kMaxVinkje) {
    DebugPrint("CLogic::SetVinkje: no objective tick %d (ticks are 0-%d)\n", tick, kMaxVinkje);
    return false;
  }
  if (Vinkjes.count <= tick && !Vinkjes.SetCount(tick + 1)) {
    return false;
  }
  Vinkjes[tick] = done ? kVinkjeDone : kVinkjeNotDone;
  const int32_t value = done ? 1 : 0;
  Dispatch("CLogic exception in %s->EventSpeech\n", [&](YLEventListener& listener) {
    listener.EventSpeech(kVinkjeSpeechKind, tick, kVinkjeMessage, value);
  });
  return true;
}

void CLogic::SayBuildingMessage(int32_t building) {
  NotifySpeech(kBuildingSpeechKind, building, kBuildingMessage, 0);
}
