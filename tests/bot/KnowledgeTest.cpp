#include <gtest/gtest.h>

#include "bot/YBCrew.h"
#include "bot/YBSector.h"
#include "tests/bot/BotLevelFixture.h"

namespace bot_testing {
namespace {

using KnowledgeTest = BotLevelTest;

TEST_F(KnowledgeTest, MapEventMakesOneSectorPerNavigationSectorAtItsCentre) {
  ASSERT_EQ(controller->GetSectorCount(), 8);
  for (int32_t id = 0; id < 8; ++id) {
    const YBSector* sector = controller->GetSector(id);
    ASSERT_NE(sector, nullptr) << id;
    EXPECT_EQ(sector->GetID(), id);
    EXPECT_EQ(std::make_pair(sector->X, sector->Y), CentreOf(id)) << id;
  }
  EXPECT_NE(controller->GetPathFinder(), nullptr);
  EXPECT_NE(controller->GetCriminals(), nullptr);
  EXPECT_FLOAT_EQ(controller->GetMapDiagonal(), std::sqrt(2.0f * kMapSize * kMapSize));
  for (int32_t player = 0; player < 4; ++player) {
    EXPECT_EQ(Bot(player)->GetController(), controller);
  }
}

TEST_F(KnowledgeTest, DistanceTableIsTriangularWithZeroDiagonal) {
  const auto& table = controller->GetDistanceTable();
  EXPECT_EQ(table.size(), 8u * 9u / 2u);
  struct Case {
    int32_t a, b, distance;
  };
  const Case cases[] = {
      {0, 0, 0},    {0, 1, 12}, {1, 0, 12}, {0, 2, 24}, {0, 7, 33},   {7, 0, 33},  {3, 4, 24},
      {255, 0, 1000}, {0, 255, 1000}, {8, 0, 1000}, {0, 8, 1000}, {-1, 3, 1000}, {3, -1, 1000}, {-1, -1, 1000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(controller->GetSectorDistance(c.a, c.b), c.distance) << c.a << "," << c.b;
  }
  EXPECT_FLOAT_EQ(controller->GetSectorCloseness(0, 1), 1.0f - 12.0f / controller->GetMapDiagonal());
}

TEST_F(KnowledgeTest, MissingSectorReadsMinusOneExceptOnItsDiagonal) {
  // A level whose sector slot 1 is empty, as a damaged map can give.
  path_testing::DrawnMap drawn = path_testing::DrawMap({"ABC"}, kCell);
  auto* slots = const_cast<LumoObjects*>(drawn.Sectors().Sectors.Get());
  std::unique_ptr<LumoObject, tObjectDestroyer> taken((*slots)[1]);
  (*slots)[1] = nullptr;
  controller->SetMap(drawn.knowledge.get());
  ASSERT_EQ(controller->GetSectorCount(), 3);
  EXPECT_EQ(controller->GetSector(1), nullptr);
  const auto& table = controller->GetDistanceTable();
  ASSERT_EQ(table.size(), 6u);
  EXPECT_EQ(table[1 * 2 / 2 + 0], 65535);
  EXPECT_EQ(table[2 * 3 / 2 + 1], 65535);
  EXPECT_EQ(controller->GetSectorDistance(1, 0), -1);
  EXPECT_EQ(controller->GetSectorDistance(2, 1), -1);
  EXPECT_EQ(controller->GetSectorDistance(1, 1), 0);
  EXPECT_EQ(controller->GetSectorDistance(0, 2), 24);
  controller->SetMap(nullptr);
}

TEST_F(KnowledgeTest, MapOfThreeHundredSectorsKeepsTheFirst255AndLogs) {
  const std::vector<std::string> rows = [] {
    std::vector<std::string> grid(20, std::string(15, 'A'));
    return grid;
  }();
  path_testing::SectorGrid grid(20, std::vector<int32_t>(15));
  for (int32_t row = 0; row < 20; ++row) {
    for (int32_t column = 0; column < 15; ++column) {
      grid[row][column] = row * 15 + column;
    }
  }
  path_testing::DrawnMap drawn = path_testing::BuildMap(grid, 2);
  ASSERT_EQ(drawn.Sectors().GetSectorCount(), 300);
  controller->SetMap(drawn.knowledge.get());
  EXPECT_EQ(controller->GetSectorCount(), 255);
  EXPECT_EQ(controller->GetDistanceTable().size(), 255u * 256u / 2u);
  EXPECT_EQ(controller->GetSectorDistance(254, 254), 0);
  EXPECT_EQ(controller->GetSectorDistance(255, 0), 1000);
  EXPECT_NE(Log().find("(BOT) YBMasterMind::SetMap() keeps 255 of the map's 300 sectors"), std::string::npos);
  controller->SetMap(nullptr);
}

TEST_F(KnowledgeTest, SetSectorToAMissingIdChangesNothing) {
  YBCrew crew;
  ASSERT_TRUE(crew.SetSector(4));
  EXPECT_EQ(crew.Sector, 4);
  EXPECT_EQ(crew.X, 30);
  EXPECT_EQ(crew.Y, 18);
  for (int32_t missing : {8, 255, -1, 1000}) {
    EXPECT_FALSE(crew.SetSector(missing)) << missing;
    EXPECT_EQ(crew.Sector, 4);
    EXPECT_EQ(crew.X, 30);
  }
}

TEST_F(KnowledgeTest, BuildingsVehiclesAndSpecialsJoinTheirSectors) {
  ThingInfo* pub = Make("Pub01-Bulldog", 16, 4);
  ThingInfo* car = Make("Vehicle022-Manta", 28, 28);
  ThingInfo* lamp = Make("Scene01-Lamp", 4, 28);
  ASSERT_NE(pub, nullptr);
  ASSERT_NE(car, nullptr);
  ASSERT_NE(lamp, nullptr);
  YBBuilding* building = controller->GetBuilding(pub->Tid);
  ASSERT_NE(building, nullptr);
  YBSector* pubSector = controller->GetSector(building);
  ASSERT_NE(pubSector, nullptr);
  EXPECT_EQ(pubSector->GetBuilding(0), building);
  EXPECT_EQ(pubSector->GetBuilding(1), nullptr);
  EXPECT_EQ(pubSector->GetBuilding(-1), nullptr);
  YBVehicle* vehicle = controller->GetVehicle(car->Tid);
  ASSERT_NE(vehicle, nullptr);
  EXPECT_EQ(vehicle->Sector, controller->GetSector(7));
  EXPECT_EQ(controller->GetSector(7)->GetVehicle(0), vehicle);
  EXPECT_EQ(controller->GetSector(7)->GetVehicle(1), nullptr);
  // A thing of the special building type becomes its sector's special.
  lamp->BuildingType = 14;
  YBThing* special = controller->AddThing(lamp);
  EXPECT_EQ(controller->GetSector(5)->Special, special);
  EXPECT_EQ(controller->GetBuilding(lamp->Tid), nullptr);
}

TEST_F(KnowledgeTest, PoliceBaseIsTheFirstDepartmentElseTheFirstBaseVehicle) {
  ThingInfo* bus = Make("Vehicle020-mebus", 28, 4, 3);
  bus->Status = (bus->Status & ~StatusVehicleTypeMask) | (2u << kStatusVehicleTypeShift);
  controller->AddThing(bus);
  EXPECT_EQ(controller->GetPoliceBase(), controller->GetThing(bus->Tid));
  ThingInfo* department = Make("PDept", 4, 28);
  department->BuildingType = 13;
  controller->AddThing(department);
  EXPECT_EQ(controller->GetPoliceBase(), controller->GetThing(department->Tid));
  ThingInfo* second = Make("PDept", 28, 28);
  second->BuildingType = 13;
  controller->AddThing(second);
  EXPECT_EQ(controller->GetPoliceBase(), controller->GetThing(department->Tid));
  // A base told again is released and its new record takes its place.
  YBThing* old = controller->GetThing(department->Tid);
  YBThing* renewed = controller->AddThing(department);
  EXPECT_NE(renewed, old);
  EXPECT_EQ(controller->GetPoliceBase(), renewed);
}

TEST_F(KnowledgeTest, LookupsAnswerNoneAtTheirEdges) {
  UnitInfo* unit = MakeUnit(1, 1, 18, 4);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(controller->GetThing(-1), nullptr);
  EXPECT_EQ(controller->GetThing(controller->GetThingRecordCount()), nullptr);
  EXPECT_EQ(controller->GetUnit(0), nullptr);
  EXPECT_EQ(controller->GetBuilding(unit->Tid), nullptr);
  EXPECT_NE(controller->GetUnit(unit->Tid), nullptr);
  EXPECT_EQ(controller->GetSector(-1), nullptr);
  EXPECT_EQ(controller->GetSector(8), nullptr);
  EXPECT_EQ(controller->GetSectorAt(18, 18), nullptr);  // the block without a sector
  EXPECT_EQ(controller->GetSectorAt(-5, 3), nullptr);
  EXPECT_EQ(controller->GetSectorAt(40, 3), nullptr);
  EXPECT_EQ(controller->GetNearestSector(17, 17), controller->GetSector(1));
  EXPECT_EQ(controller->GetNearestSector(18, 18), controller->GetSector(1));  // equal: the first
  EXPECT_EQ(controller->GetNearestSector(31, 31), controller->GetSector(7));
  EXPECT_EQ(controller->GetUnitAt(0, 0), nullptr);
  EXPECT_EQ(controller->GetUnitAt(-1, -1), nullptr);
  EXPECT_EQ(controller->GetSectorID(Unit(unit)), 1);
  EXPECT_EQ(controller->GetSectorID(nullptr), 0);
  EXPECT_EQ(controller->GetBot(4), nullptr);
  EXPECT_EQ(controller->GetBot(2), Bot(2));
  EXPECT_EQ(controller->GetAssignment(-1), nullptr);
  EXPECT_EQ(controller->GetAssignment(controller->GetAssignmentCount()), nullptr);
  EXPECT_EQ(controller->FindAssignment(-1), nullptr);
  EXPECT_EQ(controller->GetContainerOf(Unit(unit)), nullptr);
}

TEST_F(KnowledgeTest, FindRouteListsTheSectorsOnTheWayAndNoneInsideTheTarget) {
  const YBSector* target = controller->GetSector(7);
  auto [x, y] = CentreOf(7);
  EXPECT_EQ(controller->FindRoute(x, y, target, false), nullptr);
  EXPECT_EQ(controller->FindRoute(6, 6, nullptr, false), nullptr);
  auto route = controller->FindRoute(6, 6, target, false);
  ASSERT_NE(route, nullptr);
  ASSERT_GE(route->count, 2);
  EXPECT_EQ((*route)[0], controller->GetSector(0));
  EXPECT_EQ((*route)[route->count - 1], target);
  for (int32_t index = 1; index < route->count; ++index) {
    EXPECT_TRUE(static_cast<YBSector*>((*route)[index - 1])->IsNeighbour(static_cast<YBSector*>((*route)[index])) ||
                (*route)[index - 1] == (*route)[index])
        << index;
  }
  EXPECT_FALSE(route->OwnsElements());
  EXPECT_FALSE(controller->GetSector(0)->IsNeighbour(controller->GetSector(7)));
  EXPECT_EQ(controller->GetSector(0)->GetBorderID(controller->GetSector(7)), -1);
  EXPECT_GE(controller->GetSector(0)->GetBorderID(controller->GetSector(1)), 0);
}

}  // namespace
}  // namespace bot_testing
