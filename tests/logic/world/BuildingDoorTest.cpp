// A building's door on a small level made through the logic's exports: a
// unit made on the door (the shop owner, a train's passengers) leaves it to
// the building, so the building can still be entered and fought there; and
// the owner inside a shop defends it against whoever damages it.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "VehicleFixture.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/OrderBuilders.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTTrain.h"
#include "logic/world/YLUnitShopOwner.h"

namespace vehicle_testing {
namespace {

constexpr int32_t kPlayer = 1;
constexpr int32_t kMoveWeapon = 11;

class BuildingDoorTest : public VehicleTest {
 protected:
  void SetUp() override {
    VehicleTest::SetUp();
    LogicPlayer(kPlayer);
    StopTraffic();
  }
  static void Apply(COrderPackage* package) {
    ASSERT_NE(package, nullptr);
    std::unique_ptr<COrderPackage, void (*)(COrderPackage*)> owned(package, DeleteOrderPackage);
    AcceptOrder(owned.get());
  }
  // The player's unit alone is given the order.
  static void Order(int32_t unit, COrderPackage* package) {
    Apply(GenerateSelectionOrder(kPlayer, unit, false, true));
    Apply(package);
  }
  int32_t IdAtDoor(const YLThing& building) { return Logic().Map->GetThingIDAt(building.GetX(), building.GetY()); }
  bool Heard(const std::vector<std::vector<int32_t>>& events, int32_t unit, int32_t container) const {
    return std::count(events.begin(), events.end(), std::vector<int32_t>{unit, container}) > 0;
  }
  // Runs until the unit is heard entering the container; false when it is
  // not within the frames.
  bool RunUntilEntered(int32_t unit, int32_t container, int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      Run(1);
      if (Heard(listener.entries, unit, container)) {
        return true;
      }
    }
    return false;
  }
  // A building as a level places it: a wall of cells turned to face 1 and
  // a door three cells south of its corner, where nothing else stands.
  YLTBuilding* MakeBuilding(const char* keyword, int32_t x, int32_t y) {
    auto* building = MakeAs<YLTBuilding>(keyword, x, y);
    if (building == nullptr) {
      return nullptr;
    }
    building->GetContainerInfo()->SetEntranceRel(0, 3);
    EXPECT_TRUE(MoveThing(building->Info.get(), x, y, 0, 1));
    EXPECT_NE(building->Info->Ground, nullptr);
    EXPECT_EQ(IdAtDoor(*building), building->GetTid());
    return building;
  }
  // A bystander of no side next to the building: with nothing to do it
  // goes shopping in the only building there is.
  int32_t MakeShopper(const YLThing& building) {
    YLThing* shopper = Make("Innocent01-Granny", building.GetX() + 5, building.GetY() + 2);
    return shopper != nullptr ? shopper->GetTid() : 0;
  }
  // A shop with its owner made on the door, who goes inside.
  void MakeShopWithOwner() {
    shop = MakeBuilding("Shop01-Bakery", 16, 16);
    ASSERT_NE(shop, nullptr);
    owner = MakeAs<YLUnitShopOwner>("Owner01-Baker", shop->GetX(), shop->GetY());
    ASSERT_NE(owner, nullptr);
    ASSERT_EQ(owner->GetContainer(), shop);
  }

  YLTBuilding* shop = nullptr;
  YLUnitShopOwner* owner = nullptr;
};

TEST_F(BuildingDoorTest, AShopWithItsOwnerInsideCanBeEnteredAndAttackedAtItsDoor) {
  MakeShopWithOwner();
  EXPECT_EQ(IdAtDoor(*shop), shop->GetTid());
  const int32_t shopper = MakeShopper(*shop);
  EXPECT_TRUE(RunUntilEntered(shopper, shop->GetTid(), 400));

  auto* attacker = MakeAs<YLUnit>("UnitSkin", shop->GetX() - 6, shop->GetY() + 6, 0, kPlayer);
  ASSERT_NE(attacker, nullptr);
  const float health = shop->Info->Hp;
  Order(attacker->GetTid(), GenerateAttackOrder(kPlayer, shop->GetTid(), false, false));
  for (int32_t frame = 0; frame < 400 && shop->Info->Hp >= health; ++frame) {
    Run(1);
  }
  EXPECT_LT(shop->Info->Hp, health);
}

TEST_F(BuildingDoorTest, AnAttackedShopsOwnerStepsOutAndShootsTheAttacker) {
  MakeShopWithOwner();
  auto* attacker = MakeAs<YLUnit>("UnitSkin", shop->GetX() - 5, shop->GetY() + 5, 0, kPlayer);
  ASSERT_NE(attacker, nullptr);
  Order(attacker->GetTid(), GenerateAttackOrder(kPlayer, shop->GetTid(), false, false));
  bool fired = false;
  for (int32_t frame = 0; frame < 600 && !fired; ++frame) {
    Run(1);
    fired = std::any_of(listener.moves.begin(), listener.moves.end(), [&](const HeardMove& move) {
      return move.id == owner->GetTid() && move.code == kMoveWeapon;
    });
  }
  EXPECT_TRUE(Heard(listener.exits, owner->GetTid(), shop->GetTid()));
  EXPECT_TRUE(fired);
  EXPECT_NE(owner->Info->Status & YLUnitShopOwner::kStatusDefending, 0u);
}

TEST_F(BuildingDoorTest, PassengersWhoStepOffAtAStationLeaveItsDoorUsable) {
  auto* train = MakeAs<YLTTrain>("TransTrain", 0, 0, 0, kPlayer);
  ASSERT_NE(train, nullptr);
  auto* conducter = dynamic_cast<YLTTrainConducter*>(train->GetDriver());
  ASSERT_NE(conducter, nullptr);
  auto* home = MakeBuilding("Home01-House", 14, 30);
  ASSERT_NE(home, nullptr);
  conducter->StationX = 12;
  conducter->StationTime = 360;
  train->AddPassengerType(1);
  train->AddPassengerType(1);
  train->SetStation(home->GetTid());
  const size_t before = listener.things.size();
  ASSERT_TRUE(MoveThing(train->Info.get(), 4, 20, 0, 2));
  for (int32_t frame = 0; frame < 200 && train->PassengerTypes.count > 0; ++frame) {
    Run(1);
  }
  ASSERT_EQ(train->PassengerTypes.count, 0);
  std::vector<int32_t> passengers;
  for (size_t index = before; index < listener.things.size(); ++index) {
    if (dynamic_cast<YLUnit*>(Logic().GetThing(listener.things[index])) != nullptr) {
      passengers.push_back(listener.things[index]);
    }
  }
  ASSERT_EQ(passengers.size(), 2u);
  // The passengers walk off the platform, one after the other.
  for (size_t index = 0; index < passengers.size(); ++index) {
    const int32_t away = static_cast<int32_t>(index) * 3;
    Order(passengers[index], GenerateGotoOrder(kPlayer, 30 + away, 40, false, false));
    Run(150);
  }
  EXPECT_EQ(IdAtDoor(*home), home->GetTid());
  EXPECT_TRUE(RunUntilEntered(MakeShopper(*home), home->GetTid(), 400));
}

}  // namespace
}  // namespace vehicle_testing
