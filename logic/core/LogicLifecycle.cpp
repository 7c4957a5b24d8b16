#include "logic/core/LogicLifecycle.h"

#include <memory>

#include "base/DebugFormat.h"
#include "base/LumoObject.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/ThingInfo.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"
#include "runtime/Timer.h"
#include "logic/world/YLThing.h"

namespace {

using LogicOwner = std::unique_ptr<CLogic, tObjectDestroyer>;

// The library's one logic.
LogicOwner& OwnedLogic() {
  static LogicOwner logic;
  return logic;
}

CLogic* RunningLogic() { return OwnedLogic().get(); }

uint32_t lastComputeTime = 0;

// The seed of every multi-player game, set after its set-up.
constexpr uint32_t kMultiPlayerSeed = 666;

// What a load may change beyond the logic object itself: the current logic
// and map the things reach, the current sector map, the technology level,
// the logic's random generator and the debug source of thing records.
struct ProcessState {
  CLogic* logic;
  CMap* map;
  YLSectors* sectors;
  int32_t technologyLevel;
  uint32_t randomState;
  const ThingInfoDebugSource* debugSource;

  static ProcessState Capture() {
    return {YLThing::GetLogic(),           YLThing::GetMap(), GetCurrentSectorMap(),
            CLogic::GetTechnologyLevel(), GetRandomSeed(),   ThingInfo::GetDebugSource()};
  }

  void Restore() const {
    YLThing::SetLogicContext(map, logic);
    SetCurrentSectorMap(sectors);
    CLogic::SetTechnologyLevel(technologyLevel);
    SetRandomSeed(randomState);
    ThingInfo::SetDebugSource(debugSource);
  }
};

// Reads the record; whatever it made is owned by the answer.
std::unique_ptr<LumoObject, tObjectDestroyer> ReadLogic(LumoStream* stream) {
  return std::unique_ptr<LumoObject, tObjectDestroyer>(LoadObject(stream, nullptr));
}

// The new logic is in place: the old one goes, freeing its things against
// its own map, and the process is left as the new one made it.
void ReplaceLogic(LogicOwner fresh) {
  const ProcessState loaded = ProcessState::Capture();
  LogicOwner old = std::move(OwnedLogic());
  OwnedLogic() = std::move(fresh);
  if (old != nullptr) {
    old->MakeCurrent();
    old.reset();
  }
  loaded.Restore();
}

}  // namespace

uint32_t GetLastComputeTime() { return lastComputeTime; }

bool LogicStart() {
  LogicOwner& logic = OwnedLogic();
  if (logic != nullptr) {
    logic->Reset();
  } else {
    logic.reset(new CLogic);
  }
  // The generator starts where the library's starts, not where earlier
  // games of this process left it: a client that played before would draw
  // differently from its peers, and a single-player game would not replay.
  SetRandomSeed(0);
  return logic->Init();
}

bool LogicStop() {
  LogicOwner& logic = OwnedLogic();
  if (logic == nullptr) {
    return true;
  }
  try {
    logic.reset();
  } catch (...) {
    DebugPrint("LogicStop() exception in Logic::Destroy()\n");
    throw;
  }
  return true;
}

bool LogicCreate(int32_t width, int32_t height) {
  CLogic* logic = RunningLogic();
  return logic != nullptr && logic->CreateMap(width, height);
}

bool LogicResize(int32_t width, int32_t height) {
  CLogic* logic = RunningLogic();
  return logic != nullptr && logic->ResizeMap(width, height);
}

bool LogicPlayer(int32_t id) {
  CLogic* logic = RunningLogic();
  return logic != nullptr && logic->CreatePlayer(id) != nullptr;
}

bool LogicListener(YLEventListener* listener) {
  CLogic* logic = RunningLogic();
  return logic != nullptr && logic->AddListener(listener);
}

bool LogicCompute() {
  CLogic* logic = RunningLogic();
  if (logic == nullptr) {
    return false;
  }
  const uint32_t start = GetSystemUpTime();
  bool result = false;
  try {
    result = logic->Compute();
  } catch (...) {
    DebugPrint("exception in ::LogicCompute()\n");
    throw;
  }
  lastComputeTime = GetSystemUpTime() - start;
  return result;
}

bool LogicSave(LumoStream* stream) {
  CLogic* logic = RunningLogic();
  return logic != nullptr && stream != nullptr && logic->SaveObject(stream, 0);
}

bool LogicLoad(LumoStream* stream) {
  if (stream == nullptr) {
    DebugPrint("LogicLoad: no stream\n");
    return false;
  }
  const ProcessState before = ProcessState::Capture();
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded;
  try {
    loaded = ReadLogic(stream);
  } catch (...) {
    before.Restore();
    DebugPrint("exception in LogicLoad\n");
    throw;
  }
  if (dynamic_cast<CLogic*>(loaded.get()) == nullptr) {
    if (loaded != nullptr) {
      DebugPrint("LogicLoad: the stream holds a %s, not a logic\n", loaded->GetClassName());
    } else {
      DebugPrint("LogicLoad: the stream holds no readable logic\n");
    }
    // Another class's object may have made maps of its own; it goes before
    // the running logic's state is put back.
    loaded.reset();
    before.Restore();
    return false;
  }
  LogicOwner fresh(static_cast<CLogic*>(loaded.release()));
  CLogic* logic = fresh.get();
  std::unique_ptr<LumoList, tObjectDestroyer> listeners =
      RunningLogic() != nullptr ? RunningLogic()->TakeListeners() : nullptr;
  ReplaceLogic(std::move(fresh));
  try {
    logic->RestoreAfterLoad(std::move(listeners));
  } catch (...) {
    DebugPrint("exception in LogicLoad\n");
    throw;
  }
  return true;
}

void LogicSetupMultiPlayerGame(tMultiPlayerGameType type, int32_t players, tCollection<int32_t>* settings,
                               tCollection<int32_t>* positions) {
  CLogic* logic = RunningLogic();
  if (logic == nullptr) {
    return;
  }
  try {
    if (logic->SetupMultiPlayerGame(type, players, settings, positions)) {
      SetRandomSeed(kMultiPlayerSeed);
    }
  } catch (...) {
    DebugPrint("LogicSetGameType excpetion\n");
    throw;
  }
}

void ReplacePathPlanning(LumoStream* stream) {
  CLogic* logic = RunningLogic();
  if (logic == nullptr || logic->Map == nullptr || stream == nullptr) {
    return;
  }
  // A sector map read from the stream becomes the current one while it
  // lives, and leaves none when it goes: what is not taken over gives the
  // running map back its own, which its borders need to be saved.
  YLSectors* const sectors = GetCurrentSectorMap();
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded;
  try {
    loaded.reset(LoadObject(stream, nullptr));
  } catch (...) {
    SetCurrentSectorMap(sectors);
    throw;
  }
  auto* grid = dynamic_cast<YLKnowledgeMap*>(loaded.get());
  if (grid == nullptr) {
    DebugPrint("ReplacePathPlanning: the stream holds no knowledge map\n");
    loaded.reset();
    SetCurrentSectorMap(sectors);
    return;
  }
  loaded.release();
  logic->Map->SetStratMap(grid);
  logic->NotifyMap(logic->Map->GetStratMap());
}

void RenameThing(ThingInfo* info, const char* keyword) {
  CLogic* logic = RunningLogic();
  if (logic == nullptr || info == nullptr || keyword == nullptr) {
    return;
  }
  info->Gfx = logic->AddString(keyword);
}

ThingInfo* CreateThing(const char* keyword, int32_t x, int32_t y, int32_t z, uint8_t orientation, int32_t owner) {
  CLogic* logic = RunningLogic();
  return logic != nullptr ? logic->CreateThing(keyword, x, y, z, orientation, owner) : nullptr;
}

void DestroyThing(ThingInfo* info) {
  if (CLogic* logic = RunningLogic()) {
    logic->DestroyThing(info);
  }
}

bool MoveThing(ThingInfo* info, int32_t x, int32_t y, int32_t z, uint8_t orientation) {
  CLogic* logic = RunningLogic();
  return logic != nullptr && logic->MoveThing(info, x, y, z, orientation);
}

bool EnterThing(UnitInfo* unit, ContainerInfo* container) {
  CLogic* logic = RunningLogic();
  return logic != nullptr && logic->EnterThing(unit, container);
}

bool LeaveThing(UnitInfo* unit, int32_t x, int32_t y, int32_t z, uint8_t orientation) {
  CLogic* logic = RunningLogic();
  return logic != nullptr && logic->LeaveThing(unit, x, y, z, orientation);
}
