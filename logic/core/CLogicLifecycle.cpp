// The logic's life as the game program drives it: the map grid made and
// resized, the listeners carried over a load and told what the loaded game
// holds, and the set-up of a multi-player game.

#include <algorithm>
#include <memory>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CLogicDispatch.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/YLHighwayTraffic.h"
#include "logic/triggers/GameOverScoreLimit.h"
#include "logic/triggers/GameOverTimeLimit.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/triggers/ScoreTrigger.h"
#include "logic/triggers/ScoreTriggerStrategic.h"
#include "logic/triggers/TriggerMoneyMakinPub.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLThing.h"
#include "navigation/YLSectors.h"

namespace {

// The type name of the cup game's cup.
constexpr const char kCupTypeName[] = "CUPC000-GOLDENCUP0";

// A product of set-up values held at the 32-bit limits: the lobby's numbers
// are the players' own input.
int32_t ClampedProduct(int32_t value, int32_t factor) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{value} * factor, INT32_MIN, INT32_MAX));
}

}  // namespace

// ---- The map grid ----

bool CLogic::CreateMap(int32_t width, int32_t height) {
  // The grid is made aside first, so a refused size leaves the map as it was.
  // Its sector map makes itself current and leaves none current when it
  // goes: the running map gets its own back, or its borders cannot be saved.
  YLSectors* const sectors = GetCurrentSectorMap();
  std::unique_ptr<CMap, tObjectDestroyer> fresh(new CMap);
  if (!fresh->Init(width, height)) {
    fresh.reset();
    SetCurrentSectorMap(sectors);
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
  // Every new level has its highway traffic.
  std::unique_ptr<YLHighwayTraffic, tObjectDestroyer> traffic(new YLHighwayTraffic);
  if (Propagators != nullptr && Propagators->Append(traffic.get())) {
    traffic.release();
  }
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

// ---- The multi-player set-up ----

bool CLogic::SetupMultiPlayerGame(int32_t type, int32_t players, const tCollection<int32_t>* settings,
                                  const tCollection<int32_t>* positions) {
  DebugPrint("CLogic::SetupMultiPlayerGame: type %d, %d players, %d settings, %d position values\n", type, players,
             settings != nullptr ? settings->count : 0, positions != nullptr ? positions->count : 0);
  if (settings == nullptr || settings->count < 4) {
    DebugPrint("CLogic::SetupMultiPlayerGame: four settings are needed (crews, money, time and score limits)\n");
    return false;
  }
  if (players < 0 || players > kMaxSeats) {
    DebugPrint("CLogic::SetupMultiPlayerGame: %d players, the lobby seats 0-%d\n", players, kMaxSeats);
    return false;
  }
  const int32_t crews = (*settings)[0];
  const int32_t money = (*settings)[1];
  const int32_t minutes = (*settings)[2];
  const int32_t scoreLimit = (*settings)[3];
  DebugPrint("CLogic::SetupMultiPlayerGame: %d crews, money %d, %d minutes, score limit %d\n", crews, money, minutes,
             scoreLimit);

  SinglePlayer = 0;
  Players.reset(new LumoObjects(true));
  Players->SetCount(1);

  for (int32_t seat = 1; seat <= players; ++seat) {
    const int32_t id = SeatPlayer(seat);
    if (GetPlayer(id) == nullptr) {
      CreatePlayer(id);
    }
    InsertPlan(new GameOverTrigger(id), static_cast<uint32_t>(seat));
  }

  if (minutes > 0) {
    const int32_t frames = ClampedProduct(minutes, kFramesPerMinute);
    InsertPlan(new GameOverTimeLimit, static_cast<uint32_t>(frames));
    // The countdown goes to each seat by its number, as the game's panels
    // count them.
    for (int32_t seat = 1; seat <= players; ++seat) {
      NotifyTimer(seat, frames, "countdown");
    }
  }
  if (scoreLimit > 0) {
    const int32_t limit = type == GameStrategic ? ClampedProduct(scoreLimit, 1000) : scoreLimit;
    InsertPlan(new GameOverScoreLimit(limit), 10);
  }

  switch (type) {
    case GameScore:
      InsertPlan(new ScoreTrigger(ParamSelectable), 5);
      break;
    case GameCup:
      PlaceCup(players, positions);
      break;
    case GameBeer:
      InsertPlan(new ScoreTrigger(ParamBeerDrunk), 9);
      break;
    case GameWhores:
      InsertPlan(new ScoreTrigger(ParamWhoresFucked), 9);
      break;
    case GameDope:
      InsertPlan(new ScoreTrigger(ParamDopeUsed), 9);
      break;
    case GamePubs:
      InsertPlan(new ScoreTrigger(ParamPubs), 9);
      break;
    case GameStrategic:
      InsertPlan(new ScoreTriggerStrategic, 9);
      break;
    default:
      break;
  }

  // The seats' players, by the ids they were given above: the police take
  // no part.
  for (int32_t seat = 1; seat <= players; ++seat) {
    const int32_t id = SeatPlayer(seat);
    CPlayer* player = GetPlayer(id);
    if (player == nullptr) {
      continue;
    }
    player->SetParam(ParamMoney, money);
    player->SetParam(ParamScoreCorrection, ClampedProduct(money, -50));
    player->SetParam(ParamState, CPlayer::kStatePlaying);
    int32_t x = 0;
    int32_t y = 0;
    if (!PositionPair(positions, seat - 1, x, y)) {
      DebugPrint("CLogic::SetupMultiPlayerGame: no start position for player %d\n", id);
      continue;
    }
    PlaceStartCrews(id, crews, x, y);
  }

  InsertPlan(new TriggerMoneyMakinPub, 3);
  CPlayer* police = GetPlayer(kPolicePlayer);
  if (police == nullptr) {
    police = CreatePlayer(kPolicePlayer);
  }
  if (police != nullptr) {
    police->SetParam(ParamState, CPlayer::kStatePolice);
  }
  UpdateTimer();
  return true;
}

bool CLogic::PositionPair(const tCollection<int32_t>* positions, int32_t pair, int32_t& x, int32_t& y) {
  if (positions == nullptr || pair < 0 || pair >= positions->count / 2) {
    return false;
  }
  x = (*positions)[2 * pair];
  y = (*positions)[2 * pair + 1];
  return true;
}

void CLogic::PlaceStartCrews(int32_t player, int32_t crews, int32_t x, int32_t y) {
  CreateStartCrew(crews, x, y, player);
}

void CLogic::PlaceCup(int32_t pair, const tCollection<int32_t>* positions) {
  int32_t x = 0;
  int32_t y = 0;
  if (!PositionPair(positions, pair, x, y)) {
    DebugPrint("CLogic::SetupMultiPlayerGame: no position for the cup\n");
    return;
  }
  // The first free id, counted, placed, named and announced, as the
  // factory makes a level's cup. With no free id the cup is destroyed and
  // the game has none, as the factory does.
  std::unique_ptr<YLTCup, tObjectDestroyer> cup(new YLTCup(x, y));
  const int32_t id = FindFreeThingID();
  cup->Info->Tid = id;
  cup->ID = static_cast<uint32_t>(id);
  if (id == 0 || !AddThing(cup.get())) {
    DebugPrint("CLogic::SetupMultiPlayerGame: no free id for the cup\n");
    CupID = 0;
    return;
  }
  YLTCup* placed = cup.release();
  placed->SetType(AddString(kCupTypeName));
  placed->InitFromType();
  CupID = id;
  NotifyThing(placed->Info.get(), GetString(placed->Info->Gfx));
}
