#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "FrameworkFixture.h"
#include "framework/LumoCommandList.h"
#include "framework/LumoCommandNode.h"
#include "framework/LumoSequenceList.h"
#include "support/ChildProcess.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

using CommandListOwner = std::unique_ptr<LumoCommandList, tObjectDestroyer>;
using SequenceOwner = std::unique_ptr<LumoSequenceList, tObjectDestroyer>;

// A user command that writes its ID into the runs it was given, and throws
// when asked to.
class RecordingCommand : public LumoCommandNode {
 public:
  explicit RecordingCommand(std::vector<uint32_t>* runs) : runs(runs) {}
  void DoUserCommand() override {
    runs->push_back(ID);
    if (throws) {
      throw std::runtime_error("command");
    }
  }
  std::vector<uint32_t>* runs;
  bool throws = false;
};

// Its items are recording commands.
class RecordingList : public LumoCommandList {
 public:
  LumoNode* CreateItem() override { return new RecordingCommand(&runs); }
  std::vector<uint32_t> runs;
};

using RecordingListOwner = std::unique_ptr<RecordingList, tObjectDestroyer>;

// Adds user commands of the frames, with IDs 0, 1, ... in that order.
void AddCommands(LumoCommandList& list, const std::vector<uint32_t>& frames) {
  for (size_t index = 0; index < frames.size(); ++index) {
    LumoCommandNode* node = list.AddUser(frames[index]);
    ASSERT_NE(node, nullptr);
    node->SetID(static_cast<uint32_t>(index));
  }
}

std::vector<uint32_t> IDsOf(const LumoCommandList& list) {
  std::vector<uint32_t> ids;
  for (LumoNode* item = list.first; item != nullptr; item = item->next) {
    ids.push_back(item->ID);
  }
  return ids;
}

TEST(CommandListTest, CommandsAreKeptInFrameOrderAfterThoseOfTheirFrame) {
  RecordingListOwner list(new RecordingList);
  AddCommands(*list, {5, 3, 5, 1, 3, 9, 0});
  EXPECT_EQ(IDsOf(*list), (std::vector<uint32_t>{6, 3, 1, 4, 0, 2, 5}));
  EXPECT_EQ(list->FindByFrame(5)->ID, 0u);
  EXPECT_EQ(list->FindLastByFrame(5)->ID, 2u);
  EXPECT_EQ(list->FindByFrame(4), nullptr);
}

struct CheckCase {
  const char* name;
  std::vector<uint32_t> frames;
  bool dispose;
  std::vector<uint32_t> counters;  // one Check each
  std::vector<uint32_t> runs;      // IDs in the order they ran
  int32_t left;                    // commands left in the list
};

TEST(CommandListTest, ChecksRunTheCommandsDueAtTheCounter) {
  const CheckCase cases[] = {
      {"one frame, insertion order", {5, 5, 5}, false, {5}, {0, 1, 2}, 3},
      {"one per check", {1, 2, 3}, false, {1, 2, 3}, {0, 1, 2}, 3},
      {"a check between frames waits", {2, 4}, false, {2, 3, 4}, {0, 1}, 2},
      {"past commands skipped", {1, 2, 6}, false, {4, 5, 6}, {2}, 3},
      {"counter back below an exhausted list", {2, 4}, false, {2, 4, 1, 2}, {0, 1, 0}, 2},
      {"counter back below the current node", {2, 4, 6}, false, {2, 4, 3, 4}, {0, 1, 1}, 3},
      {"dispose runs past commands at once", {1, 2, 6}, true, {4}, {0, 1}, 1},
      {"dispose empties the list", {1, 2, 6}, true, {4, 6}, {0, 1, 2}, 0},
      // The last command ran; later checks must not run it again.
      {"an exhausted list runs nothing more", {1, 2}, false, {2, 3, 4, 5}, {1}, 2},
      {"a list past its last frame runs nothing", {1, 2}, false, {7}, {}, 2},
      {"empty", {}, false, {0, 1}, {}, 0},
  };
  for (const CheckCase& test : cases) {
    SCOPED_TRACE(test.name);
    RecordingListOwner list(new RecordingList);
    AddCommands(*list, test.frames);
    list->SetDisposeExecuted(test.dispose);
    for (uint32_t counter : test.counters) {
      list->Check(counter);
    }
    EXPECT_EQ(list->runs, test.runs);
    EXPECT_EQ(list->Count, test.left);
  }
}

TEST(CommandListTest, RewindingRunsTheListAgainAndADetachedCurrentNodeHandsOver) {
  RecordingListOwner list(new RecordingList);
  AddCommands(*list, {1, 2, 3});
  list->Check(1);
  ASSERT_EQ(list->Current, list->At(1));
  DestroyObject(list->At(1));
  EXPECT_EQ(list->Current, list->At(1));
  list->Check(3);
  list->Check(4);
  EXPECT_EQ(list->runs, (std::vector<uint32_t>{0, 2}));

  EXPECT_EQ(list->SetCurrent(static_cast<LumoCommandNode*>(list->first)), list->first);
  list->Check(5);
  EXPECT_EQ(list->runs, (std::vector<uint32_t>{0, 2, 0, 2}));

  // A node of another list is not taken as current.
  RecordingListOwner other(new RecordingList);
  AddCommands(*other, {1});
  EXPECT_EQ(list->SetCurrent(static_cast<LumoCommandNode*>(other->first)), nullptr);
}

TEST(CommandListTest, InsertAtFrameRefusesANodeOfAListAndMakesAUserCommand) {
  CommandListOwner list(new LumoCommandList);
  auto* node = static_cast<LumoCommandNode*>(list->CreateItem());
  node->DefineTerminate(99);
  EXPECT_EQ(list->InsertAtFrame(4, node), node);
  EXPECT_EQ(node->Kind, LumoCommandNode::kUser);
  EXPECT_EQ(node->Frame, 4u);
  EXPECT_EQ(list->InsertAtFrame(6, node), nullptr);
  EXPECT_EQ(list->InsertByFrame(6, node), nullptr);

  auto* kept = static_cast<LumoCommandNode*>(list->CreateItem());
  kept->DefineTerminate(99);
  EXPECT_EQ(list->InsertByFrame(2, kept), kept);
  EXPECT_EQ(kept->Kind, LumoCommandNode::kTerminate);
  EXPECT_EQ(list->first, kept);
  EXPECT_EQ(list->Count, 2);
}

TEST(CommandListTest, DefinesSetTheKindTheFrameAndTheKindsFields) {
  CommandListOwner list(new LumoCommandList);
  SequenceOwner sequence(new LumoSequenceList);
  LumoSprite* const noSprite = nullptr;

  LumoCommandNode* terminate = list->AddTerminate(3);
  LumoCommandNode* sequenceCommand = list->AddSequence(4, sequence.get());
  LumoCommandNode* sprite = list->AddSprite(5, noSprite, 7);
  LumoCommandNode* motion = list->AddMotion(6, noSprite, -2, 3, -8);
  LumoCommandNode* print = list->AddPrint(7, nullptr);
  struct Expected {
    LumoCommandNode* node;
    int32_t kind;
    uint32_t frame;
  };
  for (const Expected& expected : {Expected{terminate, LumoCommandNode::kTerminate, 3},
                                   Expected{sequenceCommand, LumoCommandNode::kSequence, 4},
                                   Expected{sprite, LumoCommandNode::kSprite, 5},
                                   Expected{motion, LumoCommandNode::kMotion, 6},
                                   Expected{print, LumoCommandNode::kPrint, 7}}) {
    ASSERT_NE(expected.node, nullptr);
    EXPECT_EQ(expected.node->Kind, expected.kind);
    EXPECT_EQ(expected.node->Frame, expected.frame);
  }
  EXPECT_EQ(sequenceCommand->SequenceList, sequence.get());
  EXPECT_EQ(sprite->Repeats, 7);
  EXPECT_EQ(motion->Horizontal, -2);
  EXPECT_EQ(motion->Vertical, 3);
  EXPECT_EQ(motion->Duration, 1);  // negative durations are stored as 1
  motion->SetMotion(nullptr, 0, 0, 12);
  EXPECT_EQ(motion->Duration, 12);
  EXPECT_EQ(print->PrintB, 0);

  // A sound command without a sound node is never defined, nor added.
  const int32_t count = list->Count;
  EXPECT_EQ(list->AddSound(8, LumoCommandNode::kStop, nullptr, nullptr), nullptr);
  EXPECT_EQ(list->Count, count);
  print->DefineSound(9, LumoCommandNode::kStop, nullptr, nullptr);
  EXPECT_EQ(print->Kind, LumoCommandNode::kPrint);
  EXPECT_EQ(print->Frame, 7u);

  // The command forgets a sequence that is freed first.
  sequence.reset();
  EXPECT_EQ(sequenceCommand->SequenceList, nullptr);
}

// A user command that runs a step of its own: it may end the script, or
// take itself out of the list.
class SteppingCommand : public LumoCommandNode {
 public:
  explicit SteppingCommand(std::function<void(SteppingCommand*)> step) : step(std::move(step)) {}
  void DoUserCommand() override { step(this); }
  std::function<void(SteppingCommand*)> step;
};

TEST(CommandListTest, ACommandMayEndTheScriptOrTakeItselfOut) {
  struct Case {
    const char* name;
    bool dispose;
    std::function<void(SteppingCommand*)> step;
    int32_t left;
  };
  const Case cases[] = {
      {"clears its list", false, [](SteppingCommand* node) { node->parent->Clear(); }, 0},
      {"clears its list, disposing", true, [](SteppingCommand* node) { node->parent->Clear(); }, 0},
      {"destroys itself", false, [](SteppingCommand* node) { DestroyObject(node); }, 1},
      {"destroys itself, disposing", true, [](SteppingCommand* node) { DestroyObject(node); }, 1},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    CommandListOwner list(new LumoCommandList);
    list->SetDisposeExecuted(test.dispose);
    auto* stepping = new SteppingCommand(test.step);
    ASSERT_EQ(list->InsertAtFrame(1, stepping), stepping);
    ASSERT_NE(list->AddUser(5), nullptr);
    list->Check(1);
    EXPECT_EQ(list->Count, test.left);
    list->Check(5);
    EXPECT_EQ(list->Count, test.dispose ? 0 : test.left);
  }
}

class CommandListEngineTest : public FrameworkTest {};

TEST_F(CommandListEngineTest, ATerminateCommandEndsTheProcess) {
  const int code = testing_support::RunInChild([this] {
    if (!Start()) {
      std::_Exit(3);
    }
    CommandListOwner list(new LumoCommandList);
    list->AddTerminate(2);
    list->Check(1);
    std::_Exit(list->Count == 1 ? 5 : 4);  // not due yet: goes on
  });
  EXPECT_EQ(code, 5);

  const int terminated = testing_support::RunInChild([this] {
    if (!Start()) {
      std::_Exit(3);
    }
    CommandListOwner list(new LumoCommandList);
    list->AddTerminate(2);
    list->Check(2);
    std::_Exit(4);
  });
  EXPECT_EQ(terminated, 0);
  EXPECT_NE(testing_support::ReadDebugLog().find("Game terminated\n"), std::string::npos);
}

TEST_F(CommandListEngineTest, DisposedCommandsGoToTheEngineAndPrintsAreRefusedWhileLocked) {
  ASSERT_TRUE(Start());
  RecordingListOwner list(new RecordingList);
  AddCommands(*list, {1, 2});
  list->SetDisposeExecuted(true);
  list->Check(1);
  EXPECT_EQ(list->Count, 1);
  EXPECT_EQ(Engine->DisposalList->Count, 1);

  Engine->SetCommandsLocked(true);
  EXPECT_EQ(list->AddPrint(3, nullptr), nullptr);
  EXPECT_EQ(list->Count, 1);
  Engine->SetCommandsLocked(false);
  EXPECT_NE(list->AddPrint(3, nullptr), nullptr);
}

TEST_F(CommandListEngineTest, AFaultingCommandIsReportedAndPassedOn) {
  ASSERT_TRUE(Start());
  RecordingListOwner list(new RecordingList);
  AddCommands(*list, {4});
  static_cast<RecordingCommand*>(list->first)->throws = true;
  EXPECT_THROW(list->Check(4), std::runtime_error);

  char line[160];
  std::snprintf(line, sizeof line,
                "LumoCommandNode::Execute() Unhandled exception during DoUser() (FrameCounter=4, CommandNode=%p:%s)\n",
                static_cast<const void*>(list->first), DebugClassName(list->first));
  const std::string log = testing_support::ReadDebugLog();
  EXPECT_NE(log.find(line), std::string::npos) << line;
  EXPECT_NE(log.find("LumoCommandList::Check() Unhandled exception during command node checking (FrameCounter=4)\n"),
            std::string::npos);
}

}  // namespace
}  // namespace framework_testing
