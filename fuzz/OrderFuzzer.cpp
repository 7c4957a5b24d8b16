// Orders from the network: the input is a run of order packages in the comms
// layer's framing ([u16 kind][u32 length][payload], little-endian), each
// length capped by what remains. Every package goes to AcceptOrder on a
// small fixed logic: two players, each with ravers and a leader with a group,
// a civilian, a pub and a weapon shop on a map whose units can plan their
// ways. After each package every selection holds only its player's living
// units, a refused package leaves the logic saving the same bytes, and at
// the end the logic still saves.
//
// The same packages then go to AcceptOrder on the shared scenario at frame 60
// (its save of that frame loaded into a fresh logic; the save is made once
// per process), and the scenario computes kScenarioFrames frames: the
// selections hold only their players' living units after every package and
// frame, and the game still saves at the end.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoObjects.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzStreams.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/CPlayer.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/RecordFields.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/YLTPub.h"
#include "logic/world/YLTShop.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"
#include "tests/logic/scenario/Scenario.h"
#include "tests/navigation/PathMapDrawing.h"

namespace {

constexpr int32_t kPlayers[] = {1, 2};
constexpr size_t kFrameHeader = 6;
// A long input is cut here: enough packages to reach every state.
constexpr int32_t kMaxPackages = 256;
constexpr int32_t kScenarioFrame = 60;
constexpr int32_t kScenarioFrames = 12;

// Every selected id of the players names a living unit of the selecting
// player.
void CheckSelections(const CLogic& logic, std::initializer_list<int32_t> players) {
  for (const int32_t id : players) {
    const CPlayer* player = logic.GetPlayer(id);
    if (player == nullptr) {
      continue;
    }
    for (int32_t index = 0; index < player->Selection.count; ++index) {
      const auto* unit = dynamic_cast<const YLUnit*>(logic.GetThing(player->Selection[index]));
      FuzzRequire(unit != nullptr, "a selection holds only units");
      FuzzRequire(unit->GetOwner() == id, "a selection holds only its player's units");
      FuzzRequire(unit->Info != nullptr && (unit->Info->Status & StatusAlive) != 0,
                  "a selection holds only living units");
    }
  }
}

// The fixed logic of one input.
class OrderWorld {
 public:
  OrderWorld() {
    YLUnit::InitMoveTable();
    logic.Things.reset(new LumoObjects(true));
    logic.Listeners.reset(new LumoList);
    logic.Players.reset(new LumoObjects(true));
    logic.Propagators.reset(new LumoObjects(true));
    logic.Map.reset(new CMap);
    FuzzRequire(logic.Map->Init(30, 20), "the map is made");
    path_testing::DrawnMap drawn = path_testing::DrawMap({"ABC", ".D."}, 10);
    logic.Map->SetStratMap(drawn.knowledge.release());
    logic.MakeCurrent();
    for (const int32_t id : {1, 2, CLogic::kPolicePlayer}) {
      FuzzRequire(logic.CreatePlayer(id) != nullptr, "the players are made");
    }
    // Player 1: ravers 1-4 and leader 5 leading 1 and 2; player 2: ravers
    // 6-8 and leader 9 leading 6; a civilian at 12; a pub at 10 and a weapon
    // shop at 11.
    for (int32_t id = 1; id <= 4; ++id) {
      AddUnit<YLUnitRaver>(id, 1);
    }
    Lead(AddUnit<YLUnitLeader>(5, 1), {1, 2});
    for (int32_t id = 6; id <= 8; ++id) {
      AddUnit<YLUnitRaver>(id, 2);
    }
    Lead(AddUnit<YLUnitLeader>(9, 2), {6});
    AddUnit<YLUnit>(12, 0);
    AddBuilding<YLTPub>(10, 12, 3);
    AddBuilding<YLTWeaponShop>(11, 22, 14);
  }

  ~OrderWorld() { YLThing::SetLogicContext(nullptr, nullptr); }

  void CheckSelections() const {
    for (const int32_t id : kPlayers) {
      FuzzRequire(logic.GetPlayer(id) != nullptr, "the players stay");
    }
    ::CheckSelections(logic, {kPlayers[0], kPlayers[1]});
  }

  CLogic logic;

 private:
  template <typename T>
  T* AddUnit(int32_t id, int32_t owner) {
    auto* unit = new T;
    unit->CreateInfo(0);
    unit->Info->Tid = id;
    unit->Info->X = 3 + (id * 7) % 25;
    unit->Info->Y = 2 + (id * 3) % 8;
    unit->Info->Owner = owner;
    Place(id, unit);
    if (CPlayer* player = logic.GetPlayer(owner)) {
      player->OnThingOwned(true, unit);
    }
    return unit;
  }

  template <typename T>
  void AddBuilding(int32_t id, int32_t x, int32_t y) {
    auto* building = new T;
    building->CreateInfo(0);
    building->Info->Tid = id;
    building->Info->X = x;
    building->Info->Y = y;
    Place(id, building);
  }

  void Lead(YLUnitLeader* leader, std::initializer_list<int32_t> members) {
    for (const int32_t member : members) {
      FuzzRequire(leader->AddGroupMember(dynamic_cast<YLUnit*>(logic.GetThing(member))), "the groups are made");
    }
  }

  void Place(int32_t id, YLThing* thing) {
    if (logic.Things->count <= id) {
      logic.Things->SetCount(id + 1);
    }
    (*logic.Things)[id] = thing;
    ++logic.ThingCount;
    logic.Map->PlaceThing(thing);
  }
};

uint32_t ReadLittleEndian(const uint8_t* bytes, size_t count) {
  uint32_t value = 0;
  for (size_t index = 0; index < count; ++index) {
    value |= uint32_t{bytes[index]} << (8 * index);
  }
  return value;
}

// The input's packages, in order.
std::vector<std::unique_ptr<COrderPackage>> ReadPackages(const uint8_t* data, size_t size) {
  std::vector<std::unique_ptr<COrderPackage>> packages;
  size_t at = 0;
  for (int32_t count = 0; count < kMaxPackages && size - at >= kFrameHeader; ++count) {
    const auto kind = static_cast<int16_t>(ReadLittleEndian(data + at, 2));
    const uint32_t declared = ReadLittleEndian(data + at + 2, 4);
    at += kFrameHeader;
    const size_t length = std::min<size_t>(declared, size - at);
    auto package = std::make_unique<COrderPackage>();
    package->Create(kind, data + at, static_cast<int32_t>(length));
    at += length;
    packages.push_back(std::move(package));
  }
  return packages;
}

void RunOnSmallWorld(const std::vector<std::unique_ptr<COrderPackage>>& packages) {
  OrderWorld world;
  for (const auto& package : packages) {
    const std::string before = SavedRecord(world.logic);
    if (!AcceptOrder(package.get())) {
      FuzzRequire(SavedRecord(world.logic) == before, "a refused package changes nothing");
    }
    world.CheckSelections();
  }
  FuzzRequire(!SavedRecord(world.logic).empty(), "the logic still saves");
}

// The scenario's save after the compute that brings its frame counter to
// kScenarioFrame.
const std::string& ScenarioSave() {
  static const std::string saved = [] {
    scenario::RunOptions options;
    options.hashEveryFrame = false;
    options.keepSavesAt = {kScenarioFrame - 1};
    scenario::RunResult result = scenario::RunScenario(kScenarioFrame, options);
    LogicStop();
    FuzzRequire(result.saves.size() == 1 && !result.saves[0].empty(), "the scenario saves at its frame");
    return result.saves[0];
  }();
  return saved;
}

void RunOnScenario(const std::vector<std::unique_ptr<COrderPackage>>& packages) {
  const std::string& saved = ScenarioSave();
  FuzzRequire(LogicStart() && scenario::LoadBytes(saved), "the scenario's save loads into a fresh logic");
  const CLogic* logic = TheLogic();
  FuzzRequire(logic != nullptr, "the loaded scenario runs");
  const auto players = {scenario::kPlayers[0], scenario::kPlayers[1], scenario::kPlayers[2],
                        scenario::kPolicePlayer};
  for (const auto& package : packages) {
    AcceptOrder(package.get());
    CheckSelections(*logic, players);
  }
  for (int32_t frame = 0; frame < kScenarioFrames; ++frame) {
    LogicCompute();
    FuzzRequire(TheLogic() == logic, "the scenario keeps its logic");
    CheckSelections(*logic, players);
  }
  FuzzRequire(!scenario::SavedBytes().empty(), "the scenario still saves");
  LogicStop();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::unique_ptr<COrderPackage>> packages = ReadPackages(data, size);
  RunOnSmallWorld(packages);
  RunOnScenario(packages);
  return 0;
}
