// The sides of a game of several players: their start crews, and a side
// that gives up and runs.

#include <cmath>
#include <vector>

#include "base/DebugFormat.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnit.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace {

constexpr int32_t kMaxCrews = 8;
constexpr int32_t kCrewSize = 6;
// Each crew's units by their place in it: the leader first.
constexpr int32_t kCrewTypes[kCrewSize] = {10, 1, 2, 7, 9, 12};
constexpr int32_t kLeaderType = 10;
constexpr const char* kLeaderNicknames[kMaxCrews] = {"Knuckles", "Moose",  "Stubbs", "Fritz",
                                                     "Gazza",    "Tanker", "Spike",  "Dodger"};

constexpr float kRunAwayMotivation = 2.0f;
constexpr uint32_t kGameOverCheckDelay = 7;

// Whether a vertex of the sector map lies strictly inside the grid.
bool IsInside(const YLVertex* vertex, int32_t width, int32_t height) {
  const int32_t x = vertex->X;
  const int32_t y = vertex->Y;
  return x >= 1 && x < width - 1 && y >= 1 && y < height - 1;
}

// The borders with a sector on one side only whose two vertices both lie on
// or beyond the grid's edge: the ways off the level.
std::vector<YLSectorBorder*> EscapeBorders(const YLKnowledgeMap& grid) {
  std::vector<YLSectorBorder*> borders;
  const YLSectors* sectors = grid.GetSectors();
  if (sectors == nullptr) {
    return borders;
  }
  for (int32_t index = 0; index < sectors->GetBorderCount(); ++index) {
    YLSectorBorder* border = sectors->GetBorder(index);
    if (border == nullptr || border->HasBothSides() || (border->Left == nullptr && border->Right == nullptr)) {
      continue;
    }
    const YLVertex* a = border->GetVertexA();
    const YLVertex* b = border->GetVertexB();
    if (a == nullptr || b == nullptr || IsInside(a, grid.GetWidth(), grid.GetHeight()) ||
        IsInside(b, grid.GetWidth(), grid.GetHeight())) {
      continue;
    }
    borders.push_back(border);
  }
  return borders;
}

}  // namespace

void CLogic::CreateStartCrew(int32_t crews, int32_t x, int32_t y, int32_t player) {
  // The lobby passes -1 for a switched-off setting; the nickname table has
  // room for eight crews.
  if (crews < 1 || crews > kMaxCrews) {
    DebugPrint("CLogic::CreateStartCrew: no start crew of %d crews for player %d\n", crews, player);
    return;
  }
  if (Map == nullptr) {
    return;
  }
  const int32_t wanted = kCrewSize * crews;
  const int32_t side = static_cast<int32_t>(std::ceil(std::sqrt(static_cast<double>(wanted)))) + 1;
  const int32_t half = side / 2;
  int32_t placed = 0;
  for (int32_t column = x + half - side; column <= x + half - 1 && placed < wanted; ++column) {
    for (int32_t row = y + half - side; row <= y + half - 1 && placed < wanted; ++row) {
      if (!Map->IsWalkable(column, row) || Map->GetThingIDAt(column, row) != 0) {
        continue;
      }
      const int32_t crew = placed / kCrewSize;
      const int32_t type = kCrewTypes[placed % kCrewSize];
      if (type == kLeaderType) {
        if (CreateLeader(column, row, 0, kLeaderNicknames[crew], player) == nullptr) {
          return;  // no id is free for the rest either
        }
      } else {
        YLUnit* unit = CreateUnitAt(column, row, 0, 0, type, player, nullptr);
        if (unit == nullptr) {
          return;
        }
        if (CPlayer* owner = GetPlayer(player)) {
          owner->GiveUnitToLeader(unit, crew + 1);
        }
      }
      ++placed;
    }
  }
}

void CLogic::RunAway(int32_t player) {
  EndGameForPlayer(player, false, nullptr);

  const std::vector<YLSectorBorder*> borders =
      Map != nullptr && Map->GetStratMap() != nullptr ? EscapeBorders(*Map->GetStratMap()) : std::vector<YLSectorBorder*>{};
  if (!borders.empty()) {
    PsychicPlanRunAway order(0, 0, kRunAwayMotivation, true);
    const int32_t last = static_cast<int32_t>(borders.size()) - 1;
    for (int32_t id = 0; Things != nullptr && id < Things->count; ++id) {
      auto* unit = UnitOf(GetThing(id));
      if (unit == nullptr || unit->GetOwner() != player) {
        continue;
      }
      const int32_t drawn = RandomSigned(last);
      const int32_t index = drawn < 0 ? 0 : (drawn > last ? last : drawn);
      borders[static_cast<size_t>(index)]->GetMidpoint(order.Param1, order.Param2);
      unit->ExecutePlan(order.Clone());
    }
  }

  // Only the near buckets are searched: a trigger planned further ahead
  // stays.
  std::vector<LogicPlanItem*> triggers;
  for (const PlanList& bucket : Plan) {
    for (LogicPlanItem* item = bucket.first; item != nullptr; item = item->Next) {
      const auto* trigger = dynamic_cast<const GameOverTrigger*>(item);
      if (trigger != nullptr && trigger->PID == player) {
        triggers.push_back(item);
      }
    }
  }
  for (LogicPlanItem* trigger : triggers) {
    DeletePlanItem(trigger);
  }

  if (CPlayer* owner = GetPlayer(player)) {
    owner->SetParam(ParamState, CPlayer::kStateLost);
  }
  InsertPlan(new GameOverTrigger(player), kGameOverCheckDelay);
}
