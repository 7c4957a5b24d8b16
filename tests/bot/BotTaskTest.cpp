#include <gtest/gtest.h>

#include <cstring>

#include "base/LumoClass.h"
#include "bot/YBCommandGroup.h"
#include "bot/YBCrewAssignment.h"
#include "bot/YBIdentifierList.h"
#include "bot/YBProposition.h"
#include "bot/YBSector.h"
#include "bot/YBTask.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/OrderBuilders.h"
#include "tests/bot/BotLevelFixture.h"

namespace bot_testing {
namespace {

// A task that counts its runs and may remove itself on its first.
class CountingTask : public YBTask {
 public:
  bool Compute() override {
    ++computed;
    if (removeItself) {
      Bot->RemoveTask(this);
    }
    return true;
  }
  void SpeechMsg(YBUnit* unit, int32_t message, int32_t parameter) override {
    heard.push_back({unit != nullptr ? unit->GetID() : 0, message, parameter});
  }
  struct Heard {
    int32_t unit, message, parameter;
    bool operator==(const Heard&) const = default;
  };
  int32_t computed = 0;
  bool removeItself = false;
  std::vector<Heard> heard;
};

// The attack and self-defence kinds come with their own issue; a class of
// that name is registered here when the build has none, so the base task's
// reactions can make one.
class StandInTask : public YBTask {
 public:
  int32_t SetProperty(int32_t index, const char* text) override {
    if (index == 1) {
      targets = text;
      return -1;
    }
    return YBTask::SetProperty(index, text);
  }
  std::string targets;
};
class StandInAttack : public StandInTask {
 public:
  const char* GetClassName() const override { return "YBTaskAttack"; }
  int32_t GetKind() const override { return kKindAttack; }
};
class StandInSelfDefence : public StandInTask {
 public:
  const char* GetClassName() const override { return "YBTaskSelfdefence"; }
  int32_t GetKind() const override { return kKindSelfDefence; }
};

void EnsureStandIns() {
  if (FindClass("YBTaskAttack") == nullptr) {
    static LumoClassOf<StandInAttack> attack(kVersion_1_6_0_6, "YBTaskAttack", "YBTask");
  }
  if (FindClass("YBTaskSelfdefence") == nullptr) {
    static LumoClassOf<StandInSelfDefence> defence(kVersion_1_6_0_6, "YBTaskSelfdefence", "YBTask");
  }
}

using BotTaskTest = BotLevelTest;

TEST_F(BotTaskTest, APropositionsTaskSharedByCopiesAndJoinedToABotIsFreedOnce) {
  auto* proposition = new YBProposition;
  YBTask* task = proposition->GetTask();
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(proposition->GetTask(), task);
  YBProposition* copy = proposition->Copy();
  YBProposition* copyOfCopy = copy->Copy();
  EXPECT_EQ(copy->PeekTask(), task);
  EXPECT_FALSE(copy->OwnsTask());
  Bot(1)->AddTask(task);
  DestroyObject(proposition);
  EXPECT_EQ(Bot(1)->GetTask(0), task);
  Bot(1)->RemoveTask(task);
  EXPECT_EQ(copy->PeekTask(), nullptr);
  EXPECT_EQ(copyOfCopy->PeekTask(), nullptr);
  DestroyObject(copy);
  DestroyObject(copyOfCopy);
}

TEST_F(BotTaskTest, AnUnjoinedTaskGoesWithItsPropositionAndItsCopiesForgetIt) {
  auto* proposition = new YBProposition;
  YBTask* task = proposition->GetTask();
  YBProposition* copy = proposition->Copy();
  DestroyObject(copy);  // a copy going first leaves the task alone
  EXPECT_EQ(proposition->PeekTask(), task);
  YBProposition* second = proposition->Copy();
  DestroyObject(proposition);
  EXPECT_EQ(second->PeekTask(), nullptr);
  // A task destroyed by others (a merge) leaves no proposition holding it.
  auto* third = new YBProposition;
  YBProposition* thirdCopy = third->Copy();
  thirdCopy->SetTask(nullptr);
  YBTask* made = third->GetTask();
  YBProposition* fourth = third->Copy();
  DestroyObject(made);
  EXPECT_EQ(third->PeekTask(), nullptr);
  EXPECT_EQ(fourth->PeekTask(), nullptr);
  for (YBProposition* left : {second, third, thirdCopy, fourth}) {
    DestroyObject(left);
  }
}

TEST_F(BotTaskTest, PropositionDefaults) {
  YBProposition proposition;
  EXPECT_EQ(proposition.ID, 0u);
  EXPECT_EQ(proposition.GetKey(), 0u);
  EXPECT_EQ(proposition.GetDescription(), "Dummy proposition");
  proposition.SetTime(3);
  proposition.IncrementTime();
  EXPECT_EQ(proposition.Time, 4);
  proposition.SetPriority(0.25f);
  std::unique_ptr<YBProposition, tObjectDestroyer> copy(proposition.Copy());
  EXPECT_FLOAT_EQ(copy->Priority, 0.25f);
  EXPECT_EQ(copy->Time, 4);
  EXPECT_STREQ(copy->GetClassName(), "YBProposition");
}

TEST_F(BotTaskTest, ATaskRemovesItselfMidRunAndTheNextStillRuns) {
  YBBot* bot = Bot(1);
  auto* leaving = new CountingTask;
  auto* staying = new CountingTask;
  for (CountingTask* task : {leaving, staying}) {
    task->Assignment = std::make_unique<YBIdentifierList>(std::vector<int32_t>{1});
    bot->AddTask(task);
  }
  leaving->Flags |= YBTask::kKeptFlag;  // kept: the test still holds it
  leaving->removeItself = true;
  EXPECT_TRUE(bot->RunTasks());
  EXPECT_EQ(leaving->computed, 1);
  EXPECT_EQ(staying->computed, 1);
  EXPECT_EQ(bot->GetTaskCount(), 1);
  EXPECT_EQ(leaving->Bot, nullptr);
  DestroyObject(leaving);
}

TEST_F(BotTaskTest, ATaskWithAnEmptyAssignmentNeverStarts) {
  YBBot* bot = Bot(2);
  auto* empty = new CountingTask;
  empty->Assignment = std::make_unique<YBIdentifierList>();
  auto* none = new CountingTask;
  bot->AddTask(empty);
  bot->AddTask(none);
  for (int32_t frame = 0; frame < 3; ++frame) {
    bot->RunTasks();
  }
  EXPECT_EQ(empty->computed, 0);
  EXPECT_EQ(none->computed, 0);
  EXPECT_FALSE(empty->IsStarted());
}

TEST_F(BotTaskTest, SetPropertyAIDropsTheAssignmentAndStops) {
  YBTask task;
  EXPECT_EQ(task.SetProperty(0, "4-6"), -1);
  EXPECT_EQ(task.Assignment->Values, (std::vector<int32_t>{4, 5, 6}));
  ASSERT_TRUE(task.Start());
  EXPECT_TRUE(task.IsStarted());
  EXPECT_EQ(task.SetProperty(0, "AI"), -1);
  EXPECT_EQ(task.Assignment, nullptr);
  EXPECT_FALSE(task.IsStarted());
  EXPECT_EQ(task.SetProperty(1, "7"), 0);
  EXPECT_EQ(task.GetText(), "Dummy AI");
  uint8_t code[3] = {};
  task.GetCode(code);
  EXPECT_EQ(code[0], ' ');
  EXPECT_EQ(code[2], ' ');
  task.Free();
}

TEST_F(BotTaskTest, BroadcastWithoutAFunctionLeavesThePackage) {
  COrderPackage* package = GenerateGotoOrder(1, 10, 12, true, true);
  ASSERT_NE(package, nullptr);
  const std::vector<uint8_t> before(package->Data.get(), package->Data.get() + package->Length);
  Bot(1)->Broadcast(package);
  EXPECT_EQ(std::vector<uint8_t>(package->Data.get(), package->Data.get() + package->Length), before);
  EXPECT_NE(Log().find("(BOT) No broadcast function\n"), std::string::npos);
  std::vector<COrderPackage*> received;
  Bot(1)->SetBroadcast([&](COrderPackage* copy) { received.push_back(copy); });
  Bot(1)->Broadcast(package);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_NE(received[0], package);
  EXPECT_EQ(std::vector<uint8_t>(received[0]->Data.get(), received[0]->Data.get() + received[0]->Length), before);
  DeleteOrderPackage(received[0]);
  DeleteOrderPackage(package);
}

TEST_F(BotTaskTest, TextsMakeTasksByKindName) {
  EnsureStandIns();
  struct Case {
    const char* text;
    const char* className;  // null: nothing made
  };
  const Case cases[] = {
      {"Regroup 1-3", nullptr}, {"Program 1", nullptr},        {"Nonsense", nullptr},
      {"dummy 1", nullptr},     {"Dummy 1-3,7", "YBTask"},     {"SelfDefence 4 9", "YBTaskSelfdefence"},
      {"Attack AI 9", "YBTaskAttack"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<YBTask, tObjectDestroyer> task(YBTask::CreateFromText(c.text));
    if (c.className == nullptr) {
      EXPECT_EQ(task, nullptr) << c.text;
      continue;
    }
    ASSERT_NE(task, nullptr) << c.text;
    EXPECT_STREQ(task->GetClassName(), c.className);
    EXPECT_NE(task->Flags & YBTask::kKeptFlag, 0u) << c.text;
  }
  std::unique_ptr<YBTask, tObjectDestroyer> dummy(YBTask::CreateFromText("Dummy 1-3,7"));
  EXPECT_EQ(dummy->Assignment->Values, (std::vector<int32_t>{1, 2, 3, 7}));
  EXPECT_EQ(dummy->GetText(), "Dummy 1-3,7");
  std::unique_ptr<YBTask, tObjectDestroyer> defence(YBTask::CreateFromText("SelfDefence 4 9"));
  EXPECT_EQ(static_cast<StandInTask*>(defence.get())->targets, "9");
  EXPECT_EQ(YBTask::CreateFromText(nullptr), nullptr);
}

TEST_F(BotTaskTest, AnAttackedUnitsTaskHandsItsCrewToANewAttack) {
  EnsureStandIns();
  UnitInfo* victim = MakeUnit(1, 1, 4, 4);
  UnitInfo* friendUnit = MakeUnit(2, 1, 5, 4);
  UnitInfo* attacker = MakeUnit(1, 2, 6, 6);
  UnitInfo* attackerMate = MakeUnit(1, 2, 7, 6);
  YBCrewAssignment* crew = Unit(victim)->Assignment;
  auto* task = new YBTask;
  Bot(1)->AddTask(task);
  task->Assign(crew);
  ASSERT_TRUE(task->Start());
  auto* group = new YBCommandGroup(Bot(1), task);
  task->AddToState(group);
  group->AddMember(Unit(victim));
  ASSERT_EQ(Unit(victim)->GetTask(), task);
  tasks->EventSpeech(1, victim->Tid, YBTask::kMessageAttacked, attacker->Tid);
  ASSERT_EQ(Bot(1)->GetTaskCount(), 2);
  auto* attack = dynamic_cast<StandInTask*>(Bot(1)->GetTask(1));
  ASSERT_NE(attack, nullptr);
  EXPECT_EQ(attack->targets, YBIdentifierList({attacker->Tid, attackerMate->Tid}).ToText());
  EXPECT_EQ(task->Assignment, nullptr);
  EXPECT_TRUE(attack->IsStarted());
  EXPECT_EQ(attack->Assignment->Values, (std::vector<int32_t>{victim->Tid, friendUnit->Tid}));
  EXPECT_EQ(crew->Task, nullptr);
}

TEST_F(BotTaskTest, SpeechAboutAnUnknownThingReachesEveryTaskOfThePlayer) {
  auto* first = new CountingTask;
  auto* second = new CountingTask;
  auto* other = new CountingTask;
  Bot(1)->AddTask(first);
  Bot(1)->AddTask(second);
  Bot(2)->AddTask(other);
  tasks->EventSpeech(1, 999, 7, 3);
  const CountingTask::Heard expected{0, 7, 999};
  EXPECT_EQ(first->heard, std::vector<CountingTask::Heard>{expected});
  EXPECT_EQ(second->heard, std::vector<CountingTask::Heard>{expected});
  EXPECT_TRUE(other->heard.empty());
}

TEST_F(BotTaskTest, MoneyReachesTheBotsOfThePlayerAndTheControllerOnlyForPlayersZeroToThree) {
  auto* far = new YBBot;
  far->SetID(7);
  bots->Append(far);
  knowledge->EventParameter(2, 1, 500);
  tasks->EventParameter(2, 1, 500);
  knowledge->EventParameter(7, 1, 900);
  tasks->EventParameter(7, 1, 900);
  knowledge->EventParameter(0, 2, 400);
  tasks->EventParameter(0, 2, 400);
  EXPECT_EQ(controller->GetMoney(2), 500);
  EXPECT_EQ(Bot(2)->Money, 500);
  EXPECT_EQ(far->Money, 900);
  EXPECT_EQ(controller->GetMoney(0), 0);  // not the money parameter
  EXPECT_EQ(Bot(0)->Money, 0);
}

TEST_F(BotTaskTest, NewTaskEventKeepsKnownUnitsAndTakesThemFromTheirTasks) {
  UnitInfo* unit = MakeUnit(1, 1, 4, 4);
  auto* holder = new YBTask;
  holder->Assignment = std::make_unique<YBIdentifierList>(std::vector<int32_t>{unit->Tid});
  Bot(1)->AddTask(holder);
  ASSERT_TRUE(holder->Start());
  auto* group = new YBCommandGroup(Bot(1), holder);
  holder->AddToState(group);
  group->AddMember(Unit(unit));
  tasks->EventNewTask(1, ("Dummy " + std::to_string(unit->Tid) + ",900").c_str());
  tasks->EventNewTask(1, "Regroup 1");
  ASSERT_EQ(Bot(1)->GetTaskCount(), 2);
  YBTask* made = Bot(1)->GetTask(1);
  EXPECT_EQ(made->Assignment->Values, std::vector<int32_t>{unit->Tid});
  EXPECT_NE(made->Flags & YBTask::kKeptFlag, 0u);
  EXPECT_TRUE(holder->Assignment->IsEmpty());
  EXPECT_EQ(Unit(unit)->Group, nullptr);
  EXPECT_EQ(Bot(2)->GetTaskCount(), 0);
}

TEST_F(BotTaskTest, MapEventUnderRunningTasksRebuildsCleanly) {
  UnitInfo* unit = MakeUnit(1, 1, 4, 4);
  ThingInfo* car = Make("Vehicle022-Manta", 28, 28);
  auto* task = new YBTask;
  Bot(1)->AddTask(task);
  task->Assign(Unit(unit)->Assignment);
  Bot(1)->RunTasks();
  ASSERT_TRUE(task->IsStarted());
  auto* group = new YBCommandGroup(Bot(1), task);
  task->AddToState(group);
  group->AddMember(Unit(unit));
  ReplaceMap({"AB", "CD"}, 18);
  EXPECT_FALSE(task->IsStarted());
  EXPECT_EQ(controller->GetSectorCount(), 4);
  EXPECT_EQ(controller->GetThing(unit->Tid), nullptr);
  EXPECT_EQ(controller->GetAssignmentCount(), 0);
  EXPECT_EQ(task->Bot, Bot(1));
  // The things are told again and the bots run on.
  controller->AddThing(unit);
  controller->AddThing(car);
  Bot(1)->RunTasks();
  EXPECT_TRUE(task->IsStarted());
  EXPECT_EQ(controller->GetSector(3)->GetVehicleCount(), 1);
}

TEST_F(BotTaskTest, EventsWithoutAControllerDoNothing) {
  DestroyObject(controller);
  controller = nullptr;
  EXPECT_EQ(knowledge->GetController(), nullptr);
  EXPECT_EQ(Bot(0)->GetController(), nullptr);
  EXPECT_EQ(YBMasterMind::GetCurrent(), nullptr);
  ReplaceMap(kRows, kCell);
  Make("UnitSupporter", 4, 4, 1);
  knowledge->EventSetObjectiveValue(1, 2, "50");
  knowledge->EventSetObjectiveValue(-2, 1, "4");
  tasks->EventSpeech(1, 2, 5, 3);
  tasks->EventNewTask(1, "Dummy 2");
  EXPECT_EQ(Bot(1)->GetTaskCount(), 1);
  EXPECT_TRUE(Bot(1)->GetTask(0)->Assignment->IsEmpty());
  DestroyObject(bots);
  bots = nullptr;
  EXPECT_EQ(knowledge->GetBots(), nullptr);
  EXPECT_EQ(tasks->GetBots(), nullptr);
}

}  // namespace
}  // namespace bot_testing
