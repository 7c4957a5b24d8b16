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

bool LoadTagged(LumoStream* stream, const char* tag, int32_t& field) {
  return !ReadMarker(stream, tag) || stream->ReadInteger(field);
}

bool SaveTagged(LumoStream* stream, const char* tag, int32_t field) {
  return WriteMarker(stream, tag) && stream->WriteInteger(field);
}

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
  int32_t* const fields[] = {&PID, &LooseMsg, &WinVinkje};
  constexpr int32_t kOwn = 3;
  if (remaining >= 0 && remaining < kOwn) {
    *fields[remaining] = ParseInt(text);
  }
  return remaining - kOwn;
}

void GameOverTrigger::PrintToLog() {
  DebugPrint("GameOverTrigger ");
  ConditionTrigger::PrintToLog();
}

void GameOverTrigger::BuildProperties() {
  ConditionTrigger::BuildProperties();
  EditorLabels().Add("pid");
  EditorValues().Add(FormatInt(PID).text);
  EditorLabels().Add("loose msg");
  EditorValues().Add(FormatInt(LooseMsg).text);
  EditorLabels().Add("win vinkje");
  EditorValues().Add(FormatInt(WinVinkje).text);
}

void GameOverTrigger::Execute(CLogic* logic) {
  CPlayer* player = logic != nullptr ? logic->GetPlayer(PID) : nullptr;
  if (player == nullptr || player->GetParam(ParamSelectable) != 0) {
    return;
  }
  if (LooseMsg != 0 && PID == 1) {
    logic->NotifySpeech(kSpeechPlayer, 0, kLevelMessage, LooseMsg);
  }
  logic->EndGameForPlayer(PID, false, this);
  Frequency = 0;
}

bool GameOverTrigger::LoadPID(LumoStream* stream, const LumoProperty*) { return LoadTagged(stream, kPlayerTag, PID); }
bool GameOverTrigger::SavePID(LumoStream* stream, const LumoProperty*) { return SaveTagged(stream, kPlayerTag, PID); }

bool GameOverTrigger::LoadLooseMsg(LumoStream* stream, const LumoProperty*) {
  return LoadTagged(stream, kLooseMessageTag, LooseMsg);
}

bool GameOverTrigger::SaveLooseMsg(LumoStream* stream, const LumoProperty*) {
  return SaveTagged(stream, kLooseMessageTag, LooseMsg);
}

bool GameOverTrigger::LoadWinVinkje(LumoStream* stream, const LumoProperty*) {
  return LoadTagged(stream, kWinVinkjeTag, WinVinkje);
}

bool GameOverTrigger::SaveWinVinkje(LumoStream* stream, const LumoProperty*) {
  return SaveTagged(stream, kWinVinkjeTag, WinVinkje);
}
