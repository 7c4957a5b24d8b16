// The logic's life as the game program drives it: the map grid made and
// resized, and the listeners carried over a load and told what the loaded
// game holds.

#include <memory>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CLogicDispatch.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/ThingInfo.h"
#include "logic/world/YLThing.h"

// ---- The map grid ----

bool CLogic::CreateMap(int32_t width, int32_t height) {
  // The grid is made aside first, so a refused size leaves the map as it was.
  std::unique_ptr<CMap, tObjectDestroyer> fresh(new CMap);
  if (!fresh->Init(width, height)) {
    DebugPrint("CLogic::CreateMap: the map cannot have %d x %d cells\n", width, height);
    return false;
  }
  if (Map != nullptr && Things != nullptr) {
    for (int32_t id = 1; id < Things->count; ++id) {
      if (YLThing* thing = GetThing(id)) {
        Map->ForgetThing(thing);
      }
    }
  }
  const bool current = YLThing::GetLogic() == this;
  Map = std::move(fresh);
  if (current) {
    MakeCurrent();
  }
  for (int32_t id = 1; Things != nullptr && id < Things->count; ++id) {
    YLThing* thing = GetThing(id);
    if (thing != nullptr && StaysOnMap(*thing)) {
      Map->PlaceThing(thing);
    }
  }
  NotifyMap(Map->GetStratMap());
  return true;
}

bool CLogic::ResizeMap(int32_t width, int32_t height) {
  YLKnowledgeMap* grid = Map != nullptr ? Map->GetStratMap() : nullptr;
  if (grid == nullptr) {
    DebugPrint("CLogic::ResizeMap: there is no map to resize\n");
    return false;
  }
  if (!grid->Resize(width, height)) {
    DebugPrint("CLogic::ResizeMap: the map cannot have %d x %d cells\n", width, height);
    return false;
  }
  Map->ResetPaths();
  for (int32_t id = 1; Things != nullptr && id < Things->count; ++id) {
    YLThing* thing = GetThing(id);
    if (thing != nullptr && StaysOnMap(*thing)) {
      Map->PlaceThing(thing);
    }
  }
  NotifyMap(grid);
  return true;
}

// ---- Listeners over a load ----

std::unique_ptr<LumoList, tObjectDestroyer> CLogic::TakeListeners() {
  std::unique_ptr<LumoList, tObjectDestroyer> taken(new LumoList);
  while (Listeners != nullptr && Listeners->first != nullptr) {
    LumoNode* listener = Listeners->first;
    Listeners->Remove(listener);
    taken->Append(listener);
  }
  return taken;
}

void CLogic::RestoreAfterLoad(std::unique_ptr<LumoList, tObjectDestroyer> listeners) {
  DetachListeners();
  Listeners = listeners != nullptr ? std::move(listeners) : std::unique_ptr<LumoList, tObjectDestroyer>(new LumoList);
  NotifyMap(Map != nullptr ? Map->GetStratMap() : nullptr);
  const int32_t thingCount = Things != nullptr ? Things->count : 0;
  for (int32_t id = 1; id < thingCount; ++id) {
    YLThing* thing = GetThing(id);
    if (thing == nullptr) {
      continue;
    }
    if (const char* typeName = GetString(thing->Info->Gfx)) {
      NotifyThing(thing->Info.get(), typeName);
    }
  }
  for (int32_t id = 1; id < thingCount; ++id) {
    YLThing* thing = GetThing(id);
    const YLThing* container = thing != nullptr ? thing->GetContainer() : nullptr;
    if (container != nullptr && container->Info != nullptr) {
      SendEnter(id, container->Info->Tid);
    }
  }
  for (int32_t id = 1; id <= GetPlayerCount(); ++id) {
    if (CPlayer* player = GetPlayer(id)) {
      player->ReportAll();
    }
  }
  UpdateTimer();
  for (int32_t tick = 0; tick < Vinkjes.count; ++tick) {
    const int32_t value = Vinkjes[tick];
    if (value == kVinkjeNotDone || value == kVinkjeDone) {
      SetVinkje(tick, value == kVinkjeDone);
    }
  }
}

