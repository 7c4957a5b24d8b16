// The fans' kinds: their temperaments and start values, the fading of their
// feelings, the leader's group, drink and dope, and the state that each kind
// stores behind a marker of its own.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "LogicThingsFixture.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

using logic_things_testing::LogicThingsTest;
using Bytes = std::vector<uint8_t>;

constexpr int32_t kOwner = 1;

class HardCoreTest : public LogicThingsTest {
 protected:
  template <typename Kind>
  Kind* Make(int32_t type, int32_t x, int32_t y, int32_t owner = kOwner) {
    auto* unit = dynamic_cast<Kind*>(logic.CreateUnitAt(x, y, 0, 0, type, owner, nullptr));
    EXPECT_NE(unit, nullptr) << "type " << type;
    return unit;
  }
  YLUnitLeader* MakeLeader(int32_t x, int32_t y) {
    return dynamic_cast<YLUnitLeader*>(logic.CreateLeader(x, y, 0, "Boss", kOwner));
  }
  static std::vector<int32_t> GroupOf(const YLUnitLeader& leader) {
    const LeaderInfo* info = leader.GetLeaderInfo();
    return std::vector<int32_t>(info->Group, info->Group + info->GroupSize);
  }

  // The objects saved one after the other into one stream.
  static Bytes SaveAll(const std::vector<LumoObject*>& objects) {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(16, 1, 0));
    EXPECT_EQ(stream.SetGrowth(256), 256u);
    for (LumoObject* object : objects) {
      EXPECT_TRUE(object->SaveObject(&stream, 0));
    }
    return Bytes(stream.buffer, stream.buffer + stream.position);
  }
  using Loaded = std::unique_ptr<LumoObject, tObjectDestroyer>;
  static std::vector<Loaded> LoadAll(Bytes bytes, size_t count) {
    bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    std::vector<Loaded> objects;
    for (size_t index = 0; index < count; ++index) {
      objects.emplace_back(LoadObject(&stream, nullptr));
    }
    return objects;
  }
  // Removes the marker text and the value bytes behind it.
  static bool Cut(Bytes& bytes, const std::string& marker, size_t valueBytes) {
    Bytes pattern = {0, 0, 0, static_cast<uint8_t>(marker.size())};
    pattern.insert(pattern.end(), marker.begin(), marker.end());
    auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
    if (found == bytes.end()) {
      return false;
    }
    bytes.erase(found, found + static_cast<std::ptrdiff_t>(pattern.size() + valueBytes));
    return true;
  }
};

struct KindCase {
  int32_t type;
  const char* className;
  float factors[5];
  float armor;  // negative: the record's own
};

TEST_F(HardCoreTest, EachKindAnswersItsTemperamentAndStartsWithItsTypesLoyaltyAndArmour) {
  const KindCase cases[] = {
      {1, "YLUnitRat", {2.0f, 1.0f, 1.5f, 1.5f, 1.5f}, 0.0f},
      {2, "YLUnitRaver", {1.75f, 1.0f, 1.75f, 0.5f, 1.25f}, 0.05f},
      {8, "YLUnitHardCore", {1.0f, 1.5f, 1.4f, 1.5f, 1.0f}, -1.0f},
      {9, "YLUnitRozav", {0.85f, 1.5f, 0.5f, 1.5f, 0.5f}, 0.25f},
      {10, "YLUnitLeader", {1.0f, 1.0f, 1.0f, 1.0f, 1.0f}, 0.2f},
      {11, "YLUnitChick", {0.8f, 1.2f, 2.0f, 0.5f, 0.6f}, -1.0f},
      {12, "YLUnitYobb", {0.9f, 0.8f, 1.25f, 1.0f, 1.25f}, 0.1f},
  };
  const float defaultArmor = UnitInfo().Armor;
  int32_t x = 2;
  for (const KindCase& kind : cases) {
    SCOPED_TRACE(kind.className);
    auto* unit = Make<YLUnitHardCore>(kind.type, x++, 3);
    ASSERT_NE(unit, nullptr);
    EXPECT_STREQ(unit->GetClassName(), kind.className);
    const float factors[5] = {unit->GetNeutralFactor(), unit->GetFrightFactor(), unit->GetBeerFactor(),
                              unit->GetDoubleFactor(), unit->GetStaminaRate()};
    for (int32_t slot = 0; slot < 5; ++slot) {
      EXPECT_FLOAT_EQ(factors[slot], kind.factors[slot]) << "slot " << slot;
    }
    EXPECT_FLOAT_EQ(unit->GetUnitInfo()->Loyalty, 1.1f);
    EXPECT_FLOAT_EQ(unit->GetUnitInfo()->Armor, kind.armor >= 0.0f ? kind.armor : defaultArmor);
  }
  auto* plain = Make<YLUnitSupporter>(3, x, 3);
  ASSERT_NE(plain, nullptr);
  EXPECT_STREQ(plain->GetClassName(), "YLUnitSupporter");
  EXPECT_FLOAT_EQ(plain->GetUnitInfo()->Loyalty, UnitInfo().Loyalty);
}

TEST_F(HardCoreTest, APlainFanLosesLoyaltyEachSlowStepAHardCoreFanKeepsIt) {
  auto* plain = Make<YLUnitSupporter>(3, 4, 4);
  auto* hard = Make<YLUnitHardCore>(8, 6, 4);
  plain->GetUnitInfo()->Loyalty = 0.5f;
  hard->GetUnitInfo()->Loyalty = 0.5f;
  for (int32_t step = 0; step < 100; ++step) {
    plain->UpdateFeelings();
    hard->UpdateFeelings();
  }
  EXPECT_NEAR(plain->GetUnitInfo()->Loyalty, 0.5f - 100 * 0.0003f, 1e-4f);
  EXPECT_FLOAT_EQ(hard->GetUnitInfo()->Loyalty, 0.5f);
  plain->GetUnitInfo()->Loyalty = 0.0001f;
  plain->UpdateFeelings();
  EXPECT_EQ(plain->GetUnitInfo()->Loyalty, 0.0f);
}

TEST_F(HardCoreTest, AChicksCharmFadesAndEndsOnceFlirtFallsBelowOne) {
  struct Case {
    int32_t grade;
    int32_t lastCharmedStep;
  };
  // Flirt must fall below 1.0: the float steps end the charm one step after
  // the exact quotient would.
  for (const Case& grade : {Case{0, 30}, Case{1, 45}, Case{2, 60}}) {
    SCOPED_TRACE(grade.grade);
    auto* chick = Make<YLUnitChick>(11, 2 + grade.grade, 8, 2);
    chick->SetGrade(grade.grade);
    auto* fan = Make<YLUnitSupporter>(3, 2 + grade.grade, 10);
    fan->GetUnitInfo()->Status |= YLUnitSupporter::kStatusCharmed;
    fan->GetUnitInfo()->Flirt = chick->GetCharm();
    int32_t steps = 0;
    while ((fan->GetUnitInfo()->Status & YLUnitSupporter::kStatusCharmed) != 0 && steps < 100) {
      fan->UpdateFeelings();
      ++steps;
    }
    EXPECT_GE(steps, grade.lastCharmedStep);
    EXPECT_LE(steps, grade.lastCharmedStep + 1);
    EXPECT_EQ(fan->GetUnitInfo()->Flirt, 0.0f);
  }
}

TEST_F(HardCoreTest, AChickFlirtsAsOftenAsItsGradeAllows) {
  auto* chick = Make<YLUnitChick>(11, 5, 5);
  struct Case {
    int32_t grade;
    int32_t allowed;
    float charm;
  };
  for (const Case& grade : {Case{0, 2, 1.015f}, Case{1, 4, 1.0225f}, Case{2, 8, 1.03f}}) {
    chick->SetGrade(grade.grade);
    chick->FlirtsUsed = 0;
    EXPECT_EQ(chick->GetUnitInfo()->Weapon, grade.grade);
    EXPECT_FLOAT_EQ(chick->GetCharm(), grade.charm);
    int32_t flirts = 0;
    while (chick->MayFlirt() && flirts < 20) {
      ++flirts;
    }
    EXPECT_EQ(flirts, grade.allowed);
    EXPECT_EQ(chick->FlirtsUsed, grade.allowed);
  }
  tString text;
  chick->GetDebugText(text);
  EXPECT_STREQ(text.text, "chick grade2 flirted 8 of 8\n");
}

TEST_F(HardCoreTest, AGroupKeepsItsMembersPackedAndAMemberBelongsToOneLeader) {
  YLUnitLeader* first = MakeLeader(2, 2);
  YLUnitLeader* second = MakeLeader(2, 6);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  auto* a = Make<YLUnitHardCore>(8, 4, 2);
  auto* b = Make<YLUnitRat>(1, 5, 2);
  auto* c = Make<YLUnitYobb>(12, 6, 2);
  auto* plain = Make<YLUnitSupporter>(3, 7, 2);
  for (YLUnit* unit : {static_cast<YLUnit*>(a), static_cast<YLUnit*>(b), static_cast<YLUnit*>(c)}) {
    EXPECT_TRUE(first->AddGroupMember(unit));
  }
  EXPECT_TRUE(first->AddGroupMember(b));  // already a member
  EXPECT_FALSE(first->AddGroupMember(plain));
  EXPECT_FALSE(first->AddGroupMember(second));
  EXPECT_EQ(GroupOf(*first), (std::vector<int32_t>{a->GetTid(), b->GetTid(), c->GetTid()}));

  // Given to another leader, the rat leaves the first group.
  EXPECT_TRUE(second->AddGroupMember(b));
  EXPECT_EQ(GroupOf(*first), (std::vector<int32_t>{a->GetTid(), c->GetTid()}));
  EXPECT_EQ(GroupOf(*second), (std::vector<int32_t>{b->GetTid()}));
  EXPECT_EQ(b->GetUnitInfo()->Leader, second->GetTid());
  EXPECT_EQ(b->GetGroupLeader(), second);

  EXPECT_TRUE(first->RemoveGroupMember(a));
  EXPECT_EQ(GroupOf(*first), (std::vector<int32_t>{c->GetTid()}));
  EXPECT_EQ(first->GetLeaderInfo()->Group[1], 0);
}

TEST_F(HardCoreTest, ADyingMemberLeavesItsGroup) {
  YLUnitLeader* leader = MakeLeader(2, 2);
  auto* a = Make<YLUnitHardCore>(8, 4, 2);
  auto* b = Make<YLUnitRaver>(2, 5, 2);
  auto* c = Make<YLUnitRozav>(9, 6, 2);
  for (YLUnit* unit : {static_cast<YLUnit*>(a), static_cast<YLUnit*>(b), static_cast<YLUnit*>(c)}) {
    ASSERT_TRUE(leader->AddGroupMember(unit));
  }
  b->Destroy();
  EXPECT_EQ(GroupOf(*leader), (std::vector<int32_t>{a->GetTid(), c->GetTid()}));
}

TEST_F(HardCoreTest, AUnitThePlayerNoLongerOwnsLeavesTheGroupsOfAllItsLeaders) {
  YLUnitLeader* first = MakeLeader(2, 2);
  YLUnitLeader* second = MakeLeader(2, 6);
  auto* a = Make<YLUnitHardCore>(8, 4, 2);
  auto* b = Make<YLUnitHardCore>(8, 4, 6);
  CPlayer* player = logic.GetPlayer(kOwner);
  ASSERT_EQ(player->GetLeaderCount(), 2);
  ASSERT_TRUE(player->GiveUnitToLeader(a, 1));
  ASSERT_TRUE(player->GiveUnitToLeader(b, 2));
  player->OnThingOwned(false, a);
  player->OnThingOwned(false, b);
  EXPECT_TRUE(GroupOf(*first).empty());
  EXPECT_TRUE(GroupOf(*second).empty());  // the last numbered leader too
}

TEST_F(HardCoreTest, KeptIdsCountOnlyWhileTheyNameALivingUnit) {
  auto* fan = Make<YLUnitSupporter>(3, 4, 4);
  auto* other = Make<YLUnitHardCore>(8, 6, 4);
  const ThingInfo* building = logic.CreateThing("Pub1", 10, 10, 0, 0, 0);
  ASSERT_NE(building, nullptr);
  fan->FollowLeader = building->Tid;
  fan->LastThrower = other->GetTid();
  EXPECT_EQ(fan->GetFollowedUnit(), nullptr);
  EXPECT_EQ(fan->GetLastThrower(), other);
  other->Destroy();
  EXPECT_EQ(fan->GetLastThrower(), nullptr);
  fan->FollowLeader = 0xFFF2;  // a direction code
  EXPECT_EQ(fan->GetFollowedUnit(), nullptr);
  fan->GetUnitInfo()->Leader = other->GetTid();
  EXPECT_EQ(fan->GetGroupLeader(), nullptr);
}

TEST_F(HardCoreTest, DrinkAndDopeAreCountedForTheOwnersPlayerAndTooMuchDopeKills) {
  auto* rat = Make<YLUnitRat>(1, 4, 4);
  CPlayer* player = logic.GetPlayer(kOwner);
  rat->DrinkBeer(3);
  EXPECT_EQ(player->GetParam(ParamBeerDrunk), 3);
  EXPECT_FLOAT_EQ(rat->GetUnitInfo()->Beer, 3 * 0.02f * 1.5f);
  rat->TakeDope(1);
  EXPECT_FLOAT_EQ(rat->GetUnitInfo()->Dope, 1.5f * 0.33f);
  EXPECT_EQ(player->GetParam(ParamDopeUsed), 1);
  EXPECT_NE(rat->Info->Status & StatusAlive, 0u);
  rat->TakeDope(2);  // 0.495 + 0.99: an overdose
  EXPECT_EQ(rat->Info->Status & StatusAlive, 0u);
  EXPECT_EQ(player->GetParam(ParamUnitsLost), 1);
  EXPECT_EQ(player->GetParam(ParamTeamKills), 1);
  EXPECT_EQ(player->GetParam(ParamDopeUsed), 3);
}

TEST_F(HardCoreTest, ASexShopVisitHealsTiresAndCalms) {
  auto* fan = Make<YLUnitHardCore>(8, 4, 4);
  UnitInfo& info = *fan->GetUnitInfo();
  info.Hp = 0.5f;
  info.Cons = 0.3f;
  info.Fear = 0.8f;
  info.Anger = 0.6f;
  fan->VisitSexShop();
  EXPECT_FLOAT_EQ(info.Hp, 0.8f);
  EXPECT_EQ(info.Cons, 1.0f);
  EXPECT_FLOAT_EQ(info.Stamina, 0.2f);
  EXPECT_FLOAT_EQ(info.Fear, 0.4f);
  EXPECT_FLOAT_EQ(info.Anger, 0.3f);
  info.Hp = 0.93f;
  fan->VisitSexShop();
  EXPECT_EQ(info.Hp, 1.0f);
  EXPECT_EQ(logic.GetPlayer(kOwner)->GetParam(ParamWhoresFucked), 2);
}

TEST_F(HardCoreTest, AYobbsDebugLineNamesItsMolotovOrThrowingThings) {
  auto* yobb = Make<YLUnitYobb>(12, 4, 4);
  yobb->GetUnitInfo()->Ammo = 0;
  tString text;
  yobb->GetDebugText(text);
  EXPECT_STREQ(text.text, "Yobbozer with 0 throwing things\n");
  yobb->GetUnitInfo()->Ammo = 3;
  yobb->GetUnitInfo()->Weapon = 20;  // outside the catalogue: no weapon
  yobb->GetDebugText(text);
  EXPECT_STREQ(text.text, "Yobbozer with 3 \n");
}

TEST_F(HardCoreTest, KeptStateOfEachKindSurvivesSaveAndLoad) {
  auto* yobb = Make<YLUnitYobb>(12, 4, 4);
  yobb->ThrowPending = true;
  yobb->ThrowX = 9;
  yobb->ThrowY = 11;
  yobb->GotoTarget = 17;
  yobb->FollowLeader = 5;
  yobb->LastThrower = 6;
  auto* raver = Make<YLUnitRaver>(2, 5, 4);
  raver->Raving = true;
  raver->RaveID = 8;
  raver->RaveCounter = 21;
  auto* rozav = Make<YLUnitRozav>(9, 6, 4);
  rozav->BarricadeX = 3;
  rozav->BarricadeY = 12;
  auto* chick = Make<YLUnitChick>(11, 7, 4);
  chick->SetGrade(1);
  chick->FlirtsUsed = 3;

  auto loaded = LoadAll(SaveAll({yobb, raver, rozav, chick}), 4);
  auto* y = dynamic_cast<YLUnitYobb*>(loaded[0].get());
  auto* r = dynamic_cast<YLUnitRaver*>(loaded[1].get());
  auto* z = dynamic_cast<YLUnitRozav*>(loaded[2].get());
  auto* c = dynamic_cast<YLUnitChick*>(loaded[3].get());
  ASSERT_NE(y, nullptr);
  ASSERT_NE(r, nullptr);
  ASSERT_NE(z, nullptr);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(y->ThrowPending);
  EXPECT_EQ(y->ThrowX, 9);
  EXPECT_EQ(y->ThrowY, 11);
  EXPECT_EQ(y->GotoTarget, 17);
  EXPECT_EQ(y->FollowLeader, 5);
  EXPECT_EQ(y->LastThrower, 6);
  EXPECT_TRUE(r->Raving);
  EXPECT_EQ(r->RaveID, 8);
  EXPECT_EQ(r->RaveCounter, 21);
  EXPECT_EQ(z->BarricadeX, 3);
  EXPECT_EQ(z->BarricadeY, 12);
  EXPECT_EQ(c->Grade, 1);
  EXPECT_EQ(c->FlirtsUsed, 3);
  EXPECT_EQ(c->FlirtsAllowed, 4);
}

TEST_F(HardCoreTest, AStreamWithoutTheKindsMarkersLoadsWithDefaultsAndWhatFollowsStillLoads) {
  auto* yobb = Make<YLUnitYobb>(12, 4, 4);
  yobb->ThrowPending = true;
  yobb->ThrowX = 9;
  yobb->GotoTarget = 17;
  yobb->FollowLeader = 5;
  auto* raver = Make<YLUnitRaver>(2, 5, 4);
  raver->Raving = true;
  raver->RaveCounter = 21;
  auto* after = Make<YLUnitHardCore>(8, 6, 4);
  after->LastThrower = 33;

  Bytes bytes = SaveAll({yobb, raver, after});
  ASSERT_TRUE(Cut(bytes, "yobb:", 1 + 4 + 4));
  ASSERT_TRUE(Cut(bytes, "raver:", 1 + 4 + 4));
  for (int32_t unit = 0; unit < 3; ++unit) {
    ASSERT_TRUE(Cut(bytes, "goto:", 4));
  }
  auto loaded = LoadAll(bytes, 3);
  auto* y = dynamic_cast<YLUnitYobb*>(loaded[0].get());
  auto* r = dynamic_cast<YLUnitRaver*>(loaded[1].get());
  auto* h = dynamic_cast<YLUnitHardCore*>(loaded[2].get());
  ASSERT_NE(y, nullptr);
  ASSERT_NE(r, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_FALSE(y->ThrowPending);
  EXPECT_EQ(y->ThrowX, 0);
  EXPECT_EQ(y->GotoTarget, 0);
  EXPECT_EQ(y->FollowLeader, 5);
  EXPECT_FALSE(r->Raving);
  EXPECT_EQ(r->RaveCounter, 0);
  EXPECT_EQ(h->LastThrower, 33);
  EXPECT_EQ(h->GetTid(), after->GetTid());
}

}  // namespace
