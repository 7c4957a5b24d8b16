#include "logic/triggers/GameOverTriggerUnitsInContainer.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

LumoClassOf<GameOverTriggerUnitsInContainer> classOfGameOverTriggerUnitsInContainer(
    kVersion_1_6_0_6, "GameOverTriggerUnitsInContainer", "GameOverTrigger");
LOGIC_FIELD_PROPERTY(GameOverTriggerUnitsInContainer, ContainerID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(GameOverTriggerUnitsInContainer, UnitsCount, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(GameOverTriggerUnitsInContainer, LeadersCount, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(GameOverTriggerUnitsInContainer, WinMsg, PropertyPointer, "tPointer");

constexpr const char* kWinMessageTag = "wmsg:";

}  // namespace

GameOverTriggerUnitsInContainer::GameOverTriggerUnitsInContainer() = default;

const char* GameOverTriggerUnitsInContainer::GetClassName() const { return "GameOverTriggerUnitsInContainer"; }

void GameOverTriggerUnitsInContainer::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: game over: unit in cont", static_cast<int32_t>(Time));
  }
}

int32_t GameOverTriggerUnitsInContainer::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = GameOverTrigger::SetProperty(index, text);
  // The time line set to the current frame runs the item at once, which
  // may free it: nothing of the item is touched after the base took it.
  if (index == 0) {
    return remaining - 4;
  }
  return SetIntegerFields(remaining, text, {&ContainerID, &LeadersCount, &UnitsCount, &WinMsg});
}

void GameOverTriggerUnitsInContainer::BuildProperties() {
  GameOverTrigger::BuildProperties();
  ListInteger("container", ContainerID);
  ListInteger("#leaders", LeadersCount);
  ListInteger("#units", UnitsCount);
  ListInteger("win msg", WinMsg);
}

void GameOverTriggerUnitsInContainer::PrintToLog() {
  DebugPrint("GameOverTriggerUnitsInContainer ");
  GameOverTrigger::PrintToLog();
}

void GameOverTriggerUnitsInContainer::Execute(CLogic* logic) {
  if (logic == nullptr) {
    return;
  }
  const auto* container = dynamic_cast<const YLTContainerThing*>(logic->GetThing(ContainerID));
  if (container == nullptr) {
    DebugPrint("GameOverTriggerUnitsInContainer::Execute() -> error containerID (%d)!\n", ContainerID);
    return;
  }
  int32_t leaders = 0;
  int32_t fans = 0;
  for (int32_t index = 0; index < container->GetContainedCount(); ++index) {
    // Fan units are the hard-core family, leaders among them.
    const auto* unit = dynamic_cast<const YLUnitHardCore*>(logic->GetThing(container->GetContainedID(index)));
    if (unit == nullptr || unit->GetOwner() != PID) {
      continue;
    }
    ++fans;
    leaders += unit->Info->IsLeader() ? 1 : 0;
  }
  if (leaders >= LeadersCount && fans >= UnitsCount) {
    DeclareWin(logic, WinMsg);
  }
}

LUMO_GENERIC_FIELD(GameOverTriggerUnitsInContainer, ContainerID)
LUMO_GENERIC_FIELD(GameOverTriggerUnitsInContainer, UnitsCount)
LUMO_GENERIC_FIELD(GameOverTriggerUnitsInContainer, LeadersCount)

bool GameOverTriggerUnitsInContainer::LoadWinMsg(LumoStream* stream, const LumoProperty*) {
  return LoadTaggedInteger(stream, kWinMessageTag, WinMsg);
}

bool GameOverTriggerUnitsInContainer::SaveWinMsg(LumoStream* stream, const LumoProperty*) {
  return SaveTaggedInteger(stream, kWinMessageTag, WinMsg);
}
