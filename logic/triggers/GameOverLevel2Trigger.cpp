#include "logic/triggers/GameOverLevel2Trigger.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLTCar.h"

namespace {

LumoClassOf<GameOverLevel2Trigger> classOfGameOverLevel2Trigger(kVersion_1_6_0_6, "GameOverLevel2Trigger",
                                                                "GameOverTrigger");
LOGIC_FIELD_PROPERTY(GameOverLevel2Trigger, Bus, PropertyPointer, "tPointer");

constexpr int32_t kBusPlayer = 1;

}  // namespace

GameOverLevel2Trigger::GameOverLevel2Trigger() : GameOverTrigger(kBusPlayer) {}

GameOverLevel2Trigger::GameOverLevel2Trigger(const YLTCar* bus) : GameOverTrigger(kBusPlayer) {
  if (bus == nullptr || bus->Info == nullptr) {
    DebugPrint("GameOverLevel2Trigger constructor: no bus!!!\n");
    return;
  }
  Bus = bus->Info->Tid;
}

const char* GameOverLevel2Trigger::GetClassName() const { return "GameOverLevel2Trigger"; }

void GameOverLevel2Trigger::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: game over lvl 2", static_cast<int32_t>(Time));
  }
}

void GameOverLevel2Trigger::PrintToLog() {
  DebugPrint("GameOverLevel2Trigger ");
  GameOverTrigger::PrintToLog();
}

void GameOverLevel2Trigger::Execute(CLogic* logic) {
  if (Bus == 0 || logic == nullptr) {
    DebugPrint("GameOverLevel2Trigger::Execute() not properly initialized\n");
    return;
  }
  const auto* bus = CarOf(logic->GetThing(Bus));
  if (bus == nullptr || bus->Info == nullptr || (bus->Info->Status & StatusAlive) == 0) {
    DeclareLoss(logic, kBusLostMessage);
    return;
  }
  if (bus->Info->GetFacing() == kEscapeFacing && bus->Info->Y < kEscapeRowBelow) {
    SayLevelMessage(logic, kEscapedMessage);
    logic->SetVinkje(WinVinkje, true);
    logic->ScheduleGameOver(PID, this, kEscapeWinDelay);
    Frequency = 0;
    return;
  }
  GameOverTrigger::Execute(logic);
}

void GameOverLevel2Trigger::ResolveReferences() {
  const CLogic* logic = YLThing::GetLogic();
  if (Bus != 0 && (logic == nullptr || CarOf(logic->GetThing(Bus)) == nullptr)) {
    Bus = 0;
  }
}

bool GameOverLevel2Trigger::LoadBus(LumoStream* stream, const LumoProperty*) { return stream->ReadInteger(Bus); }
bool GameOverLevel2Trigger::SaveBus(LumoStream* stream, const LumoProperty*) { return stream->WriteInteger(Bus); }
