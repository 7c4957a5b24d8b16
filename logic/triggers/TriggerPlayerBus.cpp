#include "logic/triggers/TriggerPlayerBus.h"

#include <cstdio>

#include "base/LumoObjects.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/GameOverLevel2Trigger.h"
#include "logic/world/YLTCar.h"

namespace {

LumoClassOf<TriggerPlayerBus> classOfTriggerPlayerBus(kVersion_1_6_0_6, "TriggerPlayerBus", "LogicPlanItem");

}  // namespace

TriggerPlayerBus::TriggerPlayerBus() = default;

const char* TriggerPlayerBus::GetClassName() const { return "TriggerPlayerBus"; }

void TriggerPlayerBus::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: player bus", static_cast<int32_t>(Time));
  }
}

bool TriggerPlayerBus::ShowsCountdown() { return true; }

const char* TriggerPlayerBus::GetCountdownText(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "Playerbus arival");
  }
  return buffer;
}

void TriggerPlayerBus::Execute(CLogic* logic) {
  if (logic == nullptr || logic->Things == nullptr || logic->Things->count <= kBusId) {
    return;
  }
  auto* bus = CarOf(logic->GetThing(kBusId));
  if (bus == nullptr || bus->Info == nullptr) {
    return;
  }
  logic->MoveThing(bus->Info.get(), kArrivalX, kArrivalY, 0, kArrivalFacing);
  if (YLTDriver* driver = bus->GetDriver()) {
    if (YLThing* driverThing = logic->GetThing(driver->GetDriverTid())) {
      driverThing->SetX(kArrivalX);
      driverThing->SetY(kArrivalY);
    }
  }
  bus->SetStatusBit28();
  bus->SetMaxItems(kCapacity);

  const int32_t kinds[] = {kCivilianType, logic->AddString(kSuitKind), logic->AddString(kChickKind)};
  for (int32_t passenger = 0; passenger < kPassengers; ++passenger) {
    logic->CreateUnit(kinds[passenger % 3], 0, bus);
  }
  logic->InsertPlan(new GameOverLevel2Trigger(bus), kGameOverDelay);
}
