#include "logic/triggers/GameOverTriggerSurvive.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<GameOverTriggerSurvive> classOfGameOverTriggerSurvive(kVersion_1_6_0_6, "GameOverTriggerSurvive",
                                                                  "GameOverTrigger");
LOGIC_FIELD_PROPERTY(GameOverTriggerSurvive, Period, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(GameOverTriggerSurvive, UnitsCount, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(GameOverTriggerSurvive, LeadersCount, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(GameOverTriggerSurvive, WinMsg, PropertyPointer, "tPointer");

constexpr const char* kWinMessageTag = "wmsg:";

}  // namespace

GameOverTriggerSurvive::GameOverTriggerSurvive() = default;

const char* GameOverTriggerSurvive::GetClassName() const { return "GameOverTriggerSurvive"; }

void GameOverTriggerSurvive::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: game over: survive", static_cast<int32_t>(Time));
  }
}

int32_t GameOverTriggerSurvive::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = GameOverTrigger::SetProperty(index, text);
  // The time line set to the current frame runs the item at once, which
  // may free it: nothing of the item is touched after the base took it.
  if (index == 0) {
    return remaining - 4;
  }
  return SetIntegerFields(remaining, text, {&LeadersCount, &UnitsCount, &Period, &WinMsg});
}

void GameOverTriggerSurvive::BuildProperties() {
  GameOverTrigger::BuildProperties();
  ListInteger("leader#", LeadersCount);
  ListInteger("unit#", UnitsCount);
  ListInteger("period", Period);
  ListInteger("win msg", WinMsg);
}

void GameOverTriggerSurvive::PrintToLog() {
  DebugPrint("GameOverTriggerSurvive ");
  GameOverTrigger::PrintToLog();
}

void GameOverTriggerSurvive::Execute(CLogic* logic) {
  const CPlayer* player = logic != nullptr ? logic->GetPlayer(PID) : nullptr;
  if (player == nullptr) {
    return;
  }
  if (player->GetParam(ParamLeaders) < LeadersCount || player->GetParam(ParamSelectable) < UnitsCount) {
    DeclareLoss(logic, LooseMsg);
    return;
  }
  // Compared as numbers, so a Period below 0 has passed from the start.
  if (int64_t{logic->Time} > int64_t{Period}) {
    DeclareWin(logic, WinMsg);
  }
}

bool GameOverTriggerSurvive::ShowsCountdown() { return true; }

const char* GameOverTriggerSurvive::GetCountdownText(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "Survive...");
  }
  return buffer;
}

uint32_t GameOverTriggerSurvive::GetTime() { return static_cast<uint32_t>(Period); }

LUMO_GENERIC_FIELD(GameOverTriggerSurvive, Period)
LUMO_GENERIC_FIELD(GameOverTriggerSurvive, UnitsCount)
LUMO_GENERIC_FIELD(GameOverTriggerSurvive, LeadersCount)

bool GameOverTriggerSurvive::LoadWinMsg(LumoStream* stream, const LumoProperty*) {
  return LoadTaggedInteger(stream, kWinMessageTag, WinMsg);
}

bool GameOverTriggerSurvive::SaveWinMsg(LumoStream* stream, const LumoProperty*) {
  return SaveTaggedInteger(stream, kWinMessageTag, WinMsg);
}
