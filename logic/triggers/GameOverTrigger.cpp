#include "logic/triggers/GameOverTrigger.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/tStrings.h"

namespace {

LumoClassOf<GameOverTrigger> classOfGameOverTrigger(kVersion_1_6_0_6, "GameOverTrigger", "ConditionTrigger");
LOGIC_FIELD_PROPERTY(GameOverTrigger, PID, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(GameOverTrigger, LooseMsg, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(GameOverTrigger, WinVinkje, PropertyPointer, "tPointer");

constexpr const char* kPlayerTag = "PID:";
constexpr const char* kLooseMessageTag = "lmsg:";
constexpr const char* kWinVinkjeTag = "vnkj:";

// The speech of a level message: spoken to player 1, kind 20.
constexpr int32_t kSpeechPlayer = 1;
constexpr int32_t kLevelMessage = 20;

}  // namespace

GameOverTrigger::GameOverTrigger() : ConditionTrigger(kGameOverFrequency) {}
GameOverTrigger::GameOverTrigger(int32_t player) : ConditionTrigger(kGameOverFrequency), PID(player) {}

const char* GameOverTrigger::GetClassName() const { return "GameOverTrigger"; }

void GameOverTrigger::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: game over", static_cast<int32_t>(Time));
  }
}

int32_t GameOverTrigger::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = ConditionTrigger::SetProperty(index, text);
  // The time line set to the current frame runs the item at once, which
  // may free it: nothing of the item is touched after the base took it.
  if (index == 0) {
    return remaining - 3;
  }
  return SetIntegerFields(remaining, text, {&PID, &LooseMsg, &WinVinkje});
}

void GameOverTrigger::PrintToLog() {
  DebugPrint("GameOverTrigger ");
  ConditionTrigger::PrintToLog();
}

void GameOverTrigger::BuildProperties() {
  ConditionTrigger::BuildProperties();
  ListInteger("pid", PID);
  ListInteger("loose msg", LooseMsg);
  ListInteger("win vinkje", WinVinkje);
}

int32_t GameOverTrigger::SetIntegerFields(int32_t remaining, const char* text, std::initializer_list<int32_t*> fields) {
  const auto count = static_cast<int32_t>(fields.size());
  if (remaining >= 0 && remaining < count) {
    *fields.begin()[remaining] = ParseInt(text);
  }
  return remaining - count;
}

void GameOverTrigger::ListInteger(const char* label, int32_t value) {
  EditorLabels().Add(label);
  EditorValues().Add(FormatInt(value).text);
}

void GameOverTrigger::Execute(CLogic* logic) {
  CPlayer* player = logic != nullptr ? logic->GetPlayer(PID) : nullptr;
  if (player == nullptr || player->GetParam(ParamSelectable) != 0) {
    return;
  }
  // Only the local player of a single-player level hears its loss.
  DeclareLoss(logic, PID == 1 ? LooseMsg : 0);
}

void GameOverTrigger::SayLevelMessage(CLogic* logic, int32_t message) {
  if (message != 0) {
    logic->NotifySpeech(kSpeechPlayer, 0, kLevelMessage, message);
  }
}

void GameOverTrigger::DeclareWin(CLogic* logic, int32_t message) {
  SayLevelMessage(logic, message);
  logic->SetVinkje(WinVinkje, true);
  logic->EndGameForPlayer(PID, true, this);
  Frequency = 0;
}

void GameOverTrigger::DeclareLoss(CLogic* logic, int32_t message) {
  SayLevelMessage(logic, message);
  logic->EndGameForPlayer(PID, false, this);
  Frequency = 0;
}

bool GameOverTrigger::LoadPID(LumoStream* stream, const LumoProperty*) { return LoadTaggedInteger(stream, kPlayerTag, PID); }
bool GameOverTrigger::SavePID(LumoStream* stream, const LumoProperty*) { return SaveTaggedInteger(stream, kPlayerTag, PID); }

bool GameOverTrigger::LoadLooseMsg(LumoStream* stream, const LumoProperty*) {
  return LoadTaggedInteger(stream, kLooseMessageTag, LooseMsg);
}

bool GameOverTrigger::SaveLooseMsg(LumoStream* stream, const LumoProperty*) {
  return SaveTaggedInteger(stream, kLooseMessageTag, LooseMsg);
}

bool GameOverTrigger::LoadWinVinkje(LumoStream* stream, const LumoProperty*) {
  return LoadTaggedInteger(stream, kWinVinkjeTag, WinVinkje);
}

bool GameOverTrigger::SaveWinVinkje(LumoStream* stream, const LumoProperty*) {
  return SaveTaggedInteger(stream, kWinVinkjeTag, WinVinkje);
}
