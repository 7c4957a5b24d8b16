#pragma once

// Plan items for the plan tests: each writes "name@frame" into a shared
// journal when it runs, repeats a given number of times, and may act on the
// plan from inside its Execute.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "logic/core/CLogic.h"
#include "logic/triggers/YLCustomTrigger.h"

namespace plan_testing {

using Journal = std::vector<std::string>;

class JournalItem : public YLCustomTrigger {
 public:
  JournalItem(std::string itemName, Journal& itemJournal, uint32_t frequency = 0, int32_t runs = 1)
      : name(std::move(itemName)), journal(&itemJournal), runsLeft(runs) {
    Frequency = frequency;
    ++alive;
  }
  ~JournalItem() override { --alive; }

  void Execute(CLogic* logic) override {
    journal->push_back(name + "@" + std::to_string(logic->Time));
    if (--runsLeft <= 0) {
      Frequency = 0;
    }
    if (action) {
      action(*logic, *this);
    }
  }
  bool ShowsCountdown() override { return countdown; }
  const char* GetCountdownText(char* buffer, size_t size) override {
    std::snprintf(buffer, size, "%s", name.c_str());
    return buffer;
  }

  std::string name;
  Journal* journal;
  int32_t runsLeft;
  bool countdown = false;
  // Runs at the end of Execute.
  std::function<void(CLogic&, JournalItem&)> action;

  // Items alive now, to show which ones the plan deleted.
  static inline int32_t alive = 0;
};

}  // namespace plan_testing
