#include <gtest/gtest.h>

#include "base/LumoMemoryStream.h"
#include "bot/YBCriminal.h"
#include "bot/YBIdentifierList.h"
#include "bot/YBObjective.h"
#include "bot/YBSector.h"
#include "bot/YBTask.h"
#include "logic/core/LogicQueries.h"
#include "tests/bot/BotLevelFixture.h"

namespace bot_testing {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes SaveBytes(LumoObject& object, uint32_t version = 0) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(256, 1, 0));
  stream.SetGrowth(256);
  EXPECT_TRUE(object.SaveObject(&stream, version));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

template <typename T>
std::unique_ptr<T, tObjectDestroyer> LoadBytes(Bytes bytes) {
  bytes.push_back(0);
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  LumoObject* loaded = LoadObject(&stream, nullptr);
  auto* typed = dynamic_cast<T*>(loaded);
  if (typed == nullptr) {
    DestroyObject(loaded);
  }
  return std::unique_ptr<T, tObjectDestroyer>(typed);
}

class ControllerTest : public BotLevelTest {
 protected:
  // Objectives and criminal records worth saving.
  void Fill() {
    auto* objective = new YBObjective;
    objective->SetID((4u << 16) | 2u);
    objective->Priority = 0.25f;
    objective->Assignment = std::make_unique<YBIdentifierList>(std::vector<int32_t>{3, 4, 9});
    controller->GetObjectives()->Append(objective);
    controller->GetObjectives()->Append(new YBObjective);
    controller->AddCriminal(Unit(MakeUnit(1, 1, 4, 4)), 2.5f);
    controller->AddCriminal(Unit(MakeUnit(1, 2, 30, 30)), 1.0f);
  }
};

TEST_F(ControllerTest, CriminalsGrowWithCrimeAndTheCallCounter) {
  UnitInfo* unit = MakeUnit(1, 1, 4, 4);
  EXPECT_EQ(controller->GetCriminal(unit->Tid), nullptr);
  controller->Compute();
  controller->Compute();
  YBCriminal* criminal = controller->AddCriminal(Unit(unit), 1.5f);
  ASSERT_NE(criminal, nullptr);
  EXPECT_EQ(criminal->ID, static_cast<uint32_t>(unit->Tid));
  EXPECT_EQ(controller->AddCriminal(Unit(unit), 2.0f), criminal);
  EXPECT_FLOAT_EQ(criminal->Crime, 3.5f);
  EXPECT_EQ(criminal->Time, 2);
  EXPECT_EQ(controller->GetCriminals()->count, unit->Tid + 1);
  EXPECT_EQ(controller->GetCriminal(unit->Tid - 1), nullptr);
  EXPECT_EQ(controller->AddCriminal(nullptr, 1.0f), nullptr);
}

TEST_F(ControllerTest, GlobalValuesMarkCriminalsBySectorIdentifierOrStatus) {
  UnitInfo* home = MakeUnit(1, 1, 4, 4);      // sector 0
  UnitInfo* away = MakeUnit(1, 1, 30, 30);    // sector 7
  UnitInfo* rival = MakeUnit(1, 2, 5, 5);     // sector 0
  rival->Status |= kStatusCriminal;
  const auto crime = [&](const UnitInfo* unit) {
    const YBCriminal* criminal = controller->GetCriminal(unit->Tid);
    return criminal != nullptr ? criminal->Crime : 0.0f;
  };
  knowledge->EventSetObjectiveValue(-1, 1, "0,3");
  EXPECT_FLOAT_EQ(crime(home), 1.0f);
  EXPECT_FLOAT_EQ(crime(away), 0.0f);
  EXPECT_FLOAT_EQ(crime(rival), 0.0f);
  EXPECT_FLOAT_EQ(controller->GetSector(0)->Crime, 1.0f);
  knowledge->EventSetObjectiveValue(-2, -1, (std::to_string(away->Tid) + "," + std::to_string(rival->Tid)).c_str());
  EXPECT_FLOAT_EQ(crime(away), 1.0f);
  EXPECT_FLOAT_EQ(crime(rival), 1.0f);
  EXPECT_FLOAT_EQ(controller->GetSector(7)->Crime, 1.0f);
  knowledge->EventSetObjectiveValue(-3, -1, nullptr);
  EXPECT_FLOAT_EQ(crime(rival), 2.0f);
  EXPECT_FLOAT_EQ(crime(home), 1.0f);
  EXPECT_FLOAT_EQ(controller->GetSector(0)->Crime, 3.0f);
  knowledge->EventSetObjectiveValue(-4, -1, "0");
  knowledge->EventSetObjectiveValue(INT32_MIN, -1, "0");
  EXPECT_FLOAT_EQ(controller->GetSector(0)->Crime, 3.0f);
}

TEST_F(ControllerTest, MightSumsWeaponDamageTimesHealthAndConsciousness) {
  UnitInfo* first = MakeUnit(1, 1, 4, 4);
  UnitInfo* second = MakeUnit(9, 1, 5, 4);
  first->Weapon = 2;
  first->Hp = 0.5f;
  second->Cons = 0.25f;
  EXPECT_FLOAT_EQ(controller->GetMight(nullptr), 0.0f);
  const YBIdentifierList list({first->Tid, second->Tid, 999});
  const float expected =
      (GetWeaponHealthDamage(1, 2) + GetWeaponConsDamage(1, 2)) * (0.5f + first->Cons) +
      (GetWeaponHealthDamage(9, second->Weapon) + GetWeaponConsDamage(9, second->Weapon)) * (second->Hp + 0.25f);
  EXPECT_FLOAT_EQ(controller->GetMight(&list), expected);
}

TEST_F(ControllerTest, ComputeCountsCallsAndSetsTheSearchBudget) {
  struct Case {
    int32_t calls, budget;
  };
  int32_t done = 0;
  for (const Case& c : {Case{1, 120}, Case{2, 112}, Case{15, 8}, Case{16, 128}, Case{17, 120}}) {
    for (; done < c.calls; ++done) {
      EXPECT_TRUE(controller->Compute());
    }
    EXPECT_EQ(controller->GetCallCounter(), c.calls);
    EXPECT_EQ(controller->SearchBudget, c.budget) << c.calls;
  }
}

TEST_F(ControllerTest, SavesAndLoadsToEqualBytes) {
  Fill();
  const Bytes saved = SaveBytes(*controller, kVersion_1_6_0_7);
  auto loaded = LoadBytes<YBMasterMind>(saved);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(YBMasterMind::GetCurrent(), loaded.get());
  EXPECT_EQ(loaded->GetObjectives()->Count, 2);
  auto* objective = static_cast<YBObjective*>(loaded->GetObjectives()->first);
  EXPECT_EQ(objective->Assignment->ToText(), "3-4,9");
  EXPECT_FLOAT_EQ(objective->Priority, 0.25f);
  ASSERT_NE(loaded->GetCriminals(), nullptr);
  EXPECT_EQ(loaded->GetCriminals()->count, controller->GetCriminals()->count);
  EXPECT_EQ(SaveBytes(*loaded, kVersion_1_6_0_7), saved);
  loaded.reset();
  EXPECT_EQ(YBMasterMind::GetCurrent(), nullptr);
}

TEST_F(ControllerTest, AnOlderStreamSkipsTheCriminals) {
  Fill();
  // A header of version 0 is the class record's, older than the records.
  const Bytes older = SaveBytes(*controller, 0);
  const Bytes newer = SaveBytes(*controller, kVersion_1_6_0_7);
  EXPECT_LT(older.size(), newer.size());
  auto loaded = LoadBytes<YBMasterMind>(older);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetCriminals(), nullptr);
  EXPECT_EQ(loaded->GetObjectives()->Count, 2);
}

TEST_F(ControllerTest, LoadDropsItemsOfOtherClassesAndPlacesCriminalsByIdentifier) {
  Fill();
  controller->GetObjectives()->Append(new YBCriminal);
  LumoObjects* criminals = controller->GetCriminals();
  auto* misplaced = new YBCriminal;
  misplaced->SetID(40);
  auto* twin = new YBCriminal;
  twin->SetID(40);
  auto* stranger = new YBObjective;
  criminals->Append(misplaced);
  criminals->Append(twin);
  criminals->Append(stranger);
  auto* negative = new YBCriminal;
  negative->SetID(0xFFFFFFFFu);
  criminals->Append(negative);
  auto loaded = LoadBytes<YBMasterMind>(SaveBytes(*controller, kVersion_1_6_0_7));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetObjectives()->Count, 2);
  ASSERT_NE(loaded->GetCriminal(40), nullptr);
  EXPECT_EQ(loaded->GetCriminal(40)->ID, 40u);
  EXPECT_EQ(loaded->GetCriminals()->count, 41);
  const std::string log = Log();
  EXPECT_NE(log.find("(BOT) YBMasterMind::LoadObjectives() dropped a YBCriminal that is no objective"),
            std::string::npos);
  EXPECT_NE(log.find("(BOT) YBMasterMind::LoadCriminals() dropped a YBCriminal at slot"), std::string::npos);
  EXPECT_NE(log.find("(BOT) YBMasterMind::LoadCriminals() dropped a YBObjective at slot"), std::string::npos);
}

TEST_F(ControllerTest, ATruncatedControllerIsRefusedWithALogLine) {
  Fill();
  Bytes saved = SaveBytes(*controller, kVersion_1_6_0_7);
  for (size_t cut : {saved.size() - 1, saved.size() - 20, saved.size() / 2}) {
    EXPECT_EQ(LoadBytes<YBMasterMind>(Bytes(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(cut))),
              nullptr)
        << cut;
  }
  EXPECT_NE(Log().find("(BOT) YBMasterMind::Load"), std::string::npos);
}

TEST_F(ControllerTest, BotListSavesAndLoadsToEqualBytes) {
  YBTask* task = YBTask::CreateFromText("Dummy 3-5,8");
  Bot(2)->AddTask(task);
  Bot(2)->AddTask(new YBTask);
  Bot(2)->SetOption(3);
  const Bytes saved = SaveBytes(*bots);
  auto loaded = LoadBytes<YBBotList>(saved);
  ASSERT_NE(loaded, nullptr);
  YBBot* bot = loaded->GetBot(2);
  ASSERT_NE(bot, nullptr);
  ASSERT_EQ(bot->GetTaskCount(), 2);
  EXPECT_EQ(bot->GetTask(0)->Bot, bot);
  EXPECT_EQ(bot->GetTask(0)->GetText(), "Dummy 3-5,8");
  EXPECT_EQ(bot->GetTask(1)->Assignment, nullptr);
  EXPECT_EQ(SaveBytes(*loaded), saved);
  // A task list holding something else keeps only its tasks.
  Bot(1)->Tasks->Append(new YBCriminal);
  auto mixed = LoadBytes<YBBotList>(SaveBytes(*bots));
  ASSERT_NE(mixed, nullptr);
  EXPECT_EQ(mixed->GetBot(1)->GetTaskCount(), 0);
  EXPECT_NE(Log().find("(BOT) YBBot::LoadTasks() dropped a YBCriminal that is no task"), std::string::npos);
}

}  // namespace
}  // namespace bot_testing
