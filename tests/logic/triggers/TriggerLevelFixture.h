#pragma once

// A small level for the custom trigger and condition tests: the game-over
// level (made through the logic's exports, with a recording listener) with a
// sector map of four sectors, 24 x 24 cells each (0 top left, 1 top right,
// 2 bottom left, 3 bottom right), and conditions and actions that record
// what they are asked into the listener's journal.

#include <stdexcept>
#include <string>
#include <utility>

#include "../../navigation/PathMapDrawing.h"
#include "GameOverLevelFixture.h"
#include "logic/core/CMap.h"
#include "logic/triggers/YLTriggerAction.h"
#include "logic/triggers/YLTriggerCondition.h"

namespace trigger_testing {

// A condition that writes "asked <name> @<frame>" and answers as told.
class RecordingCondition : public YLTriggerCondition {
 public:
  RecordingCondition(std::string conditionName, std::vector<std::string>& conditionJournal, bool conditionAnswer)
      : name(std::move(conditionName)), journal(&conditionJournal), answer(conditionAnswer) {
    ++alive;
  }
  ~RecordingCondition() override { --alive; }
  bool Evaluate(CLogic* logic) override {
    journal->push_back("asked " + name + " @" + std::to_string(logic->Time));
    return answer;
  }

  std::string name;
  std::vector<std::string>* journal;
  bool answer;
  static inline int32_t alive = 0;
};

// An action that writes "action <name> @<frame>", throwing afterwards when
// told, and may give a countdown label.
class RecordingAction : public YLTriggerAction {
 public:
  RecordingAction(std::string actionName, std::vector<std::string>& actionJournal, bool throws = false)
      : name(std::move(actionName)), journal(&actionJournal), throwing(throws) {}
  void Execute(CLogic* logic, YLCustomTrigger*) override {
    journal->push_back("action " + name + " @" + std::to_string(logic->Time));
    if (throwing) {
      throw std::runtime_error("broken action");
    }
  }
  const char* GetCountdownText(char* buffer, size_t size) override {
    if (!countdown.empty()) {
      std::snprintf(buffer, size, "%s", countdown.c_str());
    }
    return buffer;
  }

  std::string name;
  std::vector<std::string>* journal;
  bool throwing;
  std::string countdown;
};

class TriggerLevelTest : public game_over_testing::GameOverLevelTest {
 protected:
  void SetUp() override {
    GameOverLevelTest::SetUp();
    Fresh();
  }

  // A new level (for the cases of a table): players 1 and 2, the sectors.
  void Fresh() {
    Restart(2);
    path_testing::DrawnMap drawn = path_testing::DrawMap({"AB", "CD"}, kMapSize / 2);
    Logic().Map->SetStratMap(drawn.knowledge.release());
  }
};

}  // namespace trigger_testing
