#include "logic/triggers/YLTriggerTram.h"

#include <cstdio>
#include <iterator>
#include <memory>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"
#include "logic/core/TriggerExports.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTTrain.h"

namespace {

LumoClassOf<YLTriggerTram> classOfYLTriggerTram(kVersion_1_6_0_6, "YLTriggerTram", "TriggerTrainArrival");
LOGIC_FIELD_PROPERTY(YLTriggerTram, Xbegin, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerTram, Ybegin, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerTram, Xstop, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerTram, Ystop, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerTram, PID, PropertyInteger, "tInteger");

// The type name the logic gives train conductors.
constexpr const char* kConducterType = "TrainConducter";

}  // namespace

YLTriggerTram::YLTriggerTram() = default;

const char* YLTriggerTram::GetClassName() const { return "YLTriggerTram"; }

void YLTriggerTram::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: tram", static_cast<int32_t>(Time));
  }
}

int32_t YLTriggerTram::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = TriggerTrainArrival::SetProperty(index, text);
  // The time line set to the current frame runs the item at once, which
  // may free it: nothing of the item is touched after the base took it.
  if (index == 0) {
    return remaining;
  }
  int32_t* const fields[] = {&Xbegin, &Ybegin, &Xstop, &Ystop, &PID};
  constexpr int32_t kOwn = 5;
  if (remaining >= 0 && remaining < kOwn) {
    *fields[remaining] = ParseInt(text);
  }
  return remaining - kOwn;
}

void YLTriggerTram::PrintToLog() {
  DebugPrint("YLTriggerTram ");
  TriggerTrainArrival::PrintToLog();
}

bool YLTriggerTram::ShowsCountdown() { return Time < kParkedFrame; }

const char* YLTriggerTram::GetCountdownText(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "Tram arival");
  }
  return buffer;
}

void YLTriggerTram::BuildProperties() {
  TriggerTrainArrival::BuildProperties();
  const char* const labels[] = {"beginx", "beginy", "stopx", "stopy", "pid"};
  const int32_t values[] = {Xbegin, Ybegin, Xstop, Ystop, PID};
  for (size_t index = 0; index < std::size(labels); ++index) {
    EditorLabels().Add(labels[index]);
    EditorValues().Add(FormatInt(values[index]).text);
  }
}

// The conductor is placed where the tram stands and taken off the map at
// once; the tram's own cell, which that cleared, is written again when the
// tram is moved.
YLTDriver* YLTriggerTram::SeatConducter(CLogic& logic, YLTCar& tram) {
  const int32_t id = logic.FindFreeThingID();
  if (id == 0) {
    DebugPrint("YLTriggerTram::Execute: no free thing id for the conductor of tram %d\n", tram.GetTid());
    return nullptr;
  }
  std::unique_ptr<YLTTrainConducter, tObjectDestroyer> conducter(new YLTTrainConducter);
  conducter->CreateInfo(0);
  conducter->SetX(tram.Info->X);
  conducter->SetY(tram.Info->Y);
  conducter->SetOrientation(tram.Info->Ori);
  conducter->SetType(logic.AddString(kConducterType));
  conducter->Info->Tid = id;
  conducter->ID = static_cast<uint32_t>(id);
  if (!logic.AddThing(conducter.get())) {
    return nullptr;
  }
  YLTTrainConducter* made = conducter.release();
  made->InitFromType();
  if (logic.Map != nullptr) {
    logic.Map->RemoveThing(made);
  }
  made->SetVehicle(&tram);
  made->StationX = Xstop;
  made->StationTime = kStationTime;
  logic.NotifyThing(made->Info.get(), logic.GetString(made->Info->Gfx));
  return made;
}

void YLTriggerTram::Execute(CLogic* logic) {
  auto* tram = logic != nullptr ? CarOf(logic->GetThing(TrainID)) : nullptr;
  if (tram == nullptr || tram->Info == nullptr) {
    return;
  }
  YLTDriver* driver = tram->GetDriver();
  if (driver == nullptr) {
    driver = SeatConducter(*logic, *tram);
  }
  tram->SetOwner(PID);
  logic->MoveThing(tram->Info.get(), Xbegin, Ybegin, tram->Info->Z, tram->Info->Ori);
  tram->SetStatusBit28();
  YLThing* driverThing = driver != nullptr ? logic->GetThing(driver->GetDriverTid()) : nullptr;
  if (driverThing != nullptr) {
    driverThing->SetX(Xbegin);
    driverThing->SetY(Ybegin);
  }
  if (auto* conducter = dynamic_cast<YLTTrainConducter*>(driverThing)) {
    conducter->ResetPassedStation();
    conducter->StationTime = kStationTime;
  }
  // The last listed passenger first; each type is used up.
  while (Types.count > 0) {
    const int32_t type = Types[Types.count - 1];
    Types.DeleteAt(Types.count - 1);
    if (type == kLeaderType) {
      logic->SpawnLeaderInBuilding(nullptr, PID, tram);
    } else {
      logic->CreateUnit(type, PID, tram);
    }
  }
}

LUMO_GENERIC_FIELD(YLTriggerTram, Xbegin)
LUMO_GENERIC_FIELD(YLTriggerTram, Ybegin)
LUMO_GENERIC_FIELD(YLTriggerTram, Xstop)
LUMO_GENERIC_FIELD(YLTriggerTram, Ystop)
LUMO_GENERIC_FIELD(YLTriggerTram, PID)
