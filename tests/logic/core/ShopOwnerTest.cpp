// The shop owner: placed on a shop's door it goes inside; attacked, it steps
// out and shoots the first attacker, and goes back in when its countdown
// runs out, also across a save; a broken shop ends the defence at once.

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LogicThingsFixture.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitShopOwner.h"

namespace {

using logic_things_testing::LogicThingsTest;
using Bytes = std::vector<uint8_t>;

constexpr int32_t kOwner = 4;
constexpr int32_t kEnemy = 1;
constexpr int32_t kHitKind = 3;

class ShopOwnerTest : public LogicThingsTest {
 protected:
  void SetUp() override {
    LogicThingsTest::SetUp();
    const ThingInfo* info = logic.CreateThing("Shop1", 16, 16, 0, 0, 0);
    ASSERT_NE(info, nullptr);
    shop = dynamic_cast<YLTBuilding*>(Thing(info));
    ASSERT_NE(shop, nullptr);
  }
  YLUnitShopOwner* PlaceOwner(int32_t x, int32_t y, std::string* log = nullptr) {
    YLUnit* made = nullptr;
    const std::string logged = Logged([&] { made = logic.CreateUnitAt(x, y, 0, 0, 0, kOwner, "Owner1"); });
    if (log != nullptr) {
      *log = logged;
    }
    return dynamic_cast<YLUnitShopOwner*>(made);
  }
  // How many times the listener heard the owner and the shop in the events.
  int32_t Heard(const std::vector<std::vector<int32_t>>& events, int32_t unit) const {
    return static_cast<int32_t>(std::count(events.begin(), events.end(), std::vector<int32_t>{unit, shop->GetTid()}));
  }
  void Attack(YLUnitShopOwner& owner, const YLUnit& attacker) {
    ASSERT_TRUE(logic.SendUnitMessage(&attacker, owner.GetTid(), kHitKind, 1.0f));
    owner.ComputeReflexes();
  }
  static Bytes Save(LumoObject& object) {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(16, 1, 0));
    EXPECT_EQ(stream.SetGrowth(256), 256u);
    EXPECT_TRUE(object.SaveObject(&stream, 0));
    return Bytes(stream.buffer, stream.buffer + stream.position);
  }
  using Loaded = std::unique_ptr<LumoObject, tObjectDestroyer>;
  static Loaded Load(Bytes bytes) {
    bytes.push_back(0);
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    return Loaded(LoadObject(&stream, nullptr));
  }
  // Where the marker text starts (its length field first); npos for none.
  static size_t Find(const Bytes& bytes, const std::string& marker) {
    Bytes pattern = {0, 0, 0, static_cast<uint8_t>(marker.size())};
    pattern.insert(pattern.end(), marker.begin(), marker.end());
    auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
    return found == bytes.end() ? std::string::npos : static_cast<size_t>(found - bytes.begin());
  }

  YLTBuilding* shop = nullptr;
};

TEST_F(ShopOwnerTest, PlacedOnTheDoorTheOwnerTakesTheShopAndGoesIn) {
  std::string log;
  YLUnitShopOwner* owner = PlaceOwner(shop->GetX(), shop->GetY(), &log);
  ASSERT_NE(owner, nullptr);
  EXPECT_NE(log.find("YLUnitShopOwner::OnAddToMap shop set to " + std::to_string(shop->GetTid()) + "\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(owner->ShopID, shop->GetTid());
  EXPECT_EQ(owner->GetContainer(), shop);
  EXPECT_EQ(owner->GetShop(), shop);
  EXPECT_EQ(Heard(listener.entries, owner->GetTid()), 1);
}

TEST_F(ShopOwnerTest, OneCellOffTheDoorTheOwnerGuardsNothing) {
  std::string log;
  YLUnitShopOwner* owner = PlaceOwner(shop->GetX() - 3, shop->GetY() - 3, &log);
  ASSERT_NE(owner, nullptr);
  EXPECT_NE(log.find("YLUnitShopOwner::OnAddToMap not on door of shop\n"), std::string::npos) << log;
  EXPECT_EQ(owner->ShopID, 0);
  YLUnit* attacker = logic.CreateUnitAt(shop->GetX() - 5, shop->GetY() - 3, 0, 0, 3, kEnemy, nullptr);
  Attack(*owner, *attacker);
  EXPECT_EQ(owner->Info->Status & YLUnitShopOwner::kStatusDefending, 0u);
  EXPECT_TRUE(listener.exits.empty());
  EXPECT_NE(owner->GetPlanLeaf()->Action, OrderKind::kShoot);
}

TEST_F(ShopOwnerTest, AttackedItStepsOutShootsAndGoesBackInWhenTheCountdownRunsOut) {
  YLUnitShopOwner* owner = PlaceOwner(shop->GetX(), shop->GetY());
  ASSERT_NE(owner, nullptr);
  YLUnit* attacker = logic.CreateUnitAt(shop->GetX() - 4, shop->GetY(), 0, 0, 3, kEnemy, nullptr);
  YLUnit* second = logic.CreateUnitAt(shop->GetX() - 4, shop->GetY() + 2, 0, 0, 3, kEnemy, nullptr);
  Attack(*owner, *attacker);
  EXPECT_EQ(Heard(listener.exits, owner->GetTid()), 1);
  EXPECT_EQ(owner->GetContainer(), nullptr);
  EXPECT_NE(owner->Info->Status & YLUnitShopOwner::kStatusDefending, 0u);
  EXPECT_EQ(owner->Countdown, YLUnitShopOwner::kDefendSteps);
  Attack(*owner, *second);
  Attack(*owner, *attacker);  // listed once
  EXPECT_EQ(owner->Attackers, (std::vector<int32_t>{attacker->GetTid(), second->GetTid()}));
  const PsychicPlanItem* leaf = owner->GetPlanLeaf();
  EXPECT_EQ(leaf->Action, OrderKind::kShoot);
  EXPECT_EQ(leaf->Param1, attacker->GetTid());
  EXPECT_EQ(owner->DoShoot(1.0f, attacker->GetTid(), false), 11);
  EXPECT_EQ(owner->DestinationX, attacker->GetX());
  EXPECT_EQ(owner->DestinationY, attacker->GetY());

  // The first attacker's step ends: the next is shot; once both are done
  // the countdown runs.
  owner->PlanReached(owner->GetPlanLeaf());
  EXPECT_EQ(owner->Attackers, (std::vector<int32_t>{second->GetTid()}));
  owner->ComputeReflexes();
  EXPECT_EQ(owner->GetPlanLeaf()->Param1, second->GetTid());
  owner->PlanReached(owner->GetPlanLeaf());
  for (int32_t tick = 1; tick < YLUnitShopOwner::kDefendSteps; ++tick) {
    owner->ComputeReflexes();
    ASSERT_EQ(Heard(listener.entries, owner->GetTid()), 1) << "tick " << tick;
  }
  owner->ComputeReflexes();
  EXPECT_EQ(Heard(listener.entries, owner->GetTid()), 2);
  EXPECT_EQ(owner->GetContainer(), shop);
  EXPECT_EQ(owner->Info->Status & YLUnitShopOwner::kStatusDefending, 0u);
  EXPECT_EQ(owner->Countdown, -1);
}

TEST_F(ShopOwnerTest, TheCountdownSurvivesSaveAndLoadAndAStreamWithoutItLoadsIdle) {
  YLUnitShopOwner* owner = PlaceOwner(shop->GetX(), shop->GetY());
  YLUnit* attacker = logic.CreateUnitAt(shop->GetX() - 4, shop->GetY(), 0, 0, 3, kEnemy, nullptr);
  Attack(*owner, *attacker);
  owner->PlanReached(owner->GetPlanLeaf());
  for (int32_t tick = 0; tick < 5; ++tick) {
    owner->ComputeReflexes();
  }
  ASSERT_EQ(owner->Countdown, 7);
  owner->Attackers = {attacker->GetTid(), 77};
  Bytes bytes = Save(*owner);
  Loaded loaded = Load(bytes);
  auto* copy = dynamic_cast<YLUnitShopOwner*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Countdown, 7);
  EXPECT_EQ(copy->ShopID, shop->GetTid());
  EXPECT_EQ(copy->Attackers, owner->Attackers);

  // The stream as it was before the countdown was stored.
  const size_t marker = Find(bytes, "countdown:");
  ASSERT_NE(marker, std::string::npos);
  bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(marker),
              bytes.begin() + static_cast<std::ptrdiff_t>(marker + 4 + std::strlen("countdown:") + 4));
  Loaded old = Load(bytes);
  auto* oldCopy = dynamic_cast<YLUnitShopOwner*>(old.get());
  ASSERT_NE(oldCopy, nullptr);
  EXPECT_EQ(oldCopy->Countdown, -1);
  EXPECT_EQ(oldCopy->ShopID, shop->GetTid());

  // The owner loaded mid-countdown goes back in when it runs out.
  owner->Attackers.clear();
  owner->Countdown = copy->Countdown;
  for (int32_t tick = 0; tick < 7; ++tick) {
    owner->ComputeReflexes();
  }
  EXPECT_EQ(Heard(listener.entries, owner->GetTid()), 2);
}

// The attacker count is bounded by what the stream holds and by the thing
// ids; a larger one fails the load with a log line.
TEST_F(ShopOwnerTest, AnAttackerCountBeyondTheStreamOrTheThingIdsFailsTheLoad) {
  YLUnitShopOwner* owner = PlaceOwner(shop->GetX(), shop->GetY());
  owner->Attackers = {5, 6};
  const Bytes bytes = Save(*owner);
  const size_t marker = Find(bytes, "att:");
  ASSERT_NE(marker, std::string::npos);
  const size_t countAt = marker + 4 + 4;
  for (const int32_t count : {3, 4097, 0x7FFFFFFF, -1}) {
    SCOPED_TRACE(count);
    Bytes broken = bytes;
    const uint32_t value = static_cast<uint32_t>(count);
    // The stream's integers are big-endian, as the marker's length shows.
    broken[countAt] = static_cast<uint8_t>(value >> 24);
    broken[countAt + 1] = static_cast<uint8_t>(value >> 16);
    broken[countAt + 2] = static_cast<uint8_t>(value >> 8);
    broken[countAt + 3] = static_cast<uint8_t>(value);
    if (count == 3) {
      // Three ids fit in what follows: the load reads past the list and
      // fails on what it finds there, or succeeds with the wrong record.
      continue;
    }
    Loaded loaded;
    const std::string log = Logged([&] { loaded = Load(broken); });
    EXPECT_EQ(loaded, nullptr);
    EXPECT_NE(log.find("attacker count"), std::string::npos) << log;
  }
}

TEST_F(ShopOwnerTest, ABrokenShopEndsTheDefenceAtOnce) {
  YLUnitShopOwner* owner = PlaceOwner(shop->GetX(), shop->GetY());
  YLUnit* attacker = logic.CreateUnitAt(shop->GetX() - 4, shop->GetY(), 0, 0, 3, kEnemy, nullptr);
  Attack(*owner, *attacker);
  ASSERT_EQ(owner->GetContainer(), nullptr);
  shop->Info->Move = YLUnit::GetUnitMoveTable() != nullptr ? owner->GetMoveInfo(2) : nullptr;
  ASSERT_NE(shop->Info->Move, nullptr);
  owner->ComputeReflexes();
  EXPECT_TRUE(owner->Attackers.empty());
  EXPECT_EQ(Heard(listener.entries, owner->GetTid()), 2);
  EXPECT_EQ(owner->Info->Status & YLUnitShopOwner::kStatusDefending, 0u);
  EXPECT_EQ(owner->Countdown, -1);
  EXPECT_EQ(owner->GetPlanLeaf()->Action, OrderKind::kHold);
  shop->Info->Move = nullptr;
}

}  // namespace
