#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iterator>
#include <string>

#include "fuzz/LogicGame.h"
#include "fuzz/seeds/SeedRecords.h"
#include "fuzz/seeds/Seeds.h"
#include "logic/core/LogicLifecycle.h"
#include "tests/logic/scenario/Scenario.h"

namespace {

// The shared scenario saved after several frames' computes: units mid-move
// and mid-route, fights, fires and the level's triggers waiting.
constexpr int32_t kScenarioSaves[] = {0, 29, 47, 83, 130};

void WriteScenarioSeeds(const std::filesystem::path& folder) {
  scenario::RunOptions options;
  options.hashEveryFrame = false;
  options.keepSavesAt.assign(std::begin(kScenarioSaves), std::end(kScenarioSaves));
  try {
    const scenario::RunResult result = scenario::RunScenario(kScenarioSaves[std::size(kScenarioSaves) - 1] + 1, options);
    for (size_t index = 0; index < result.saves.size(); ++index) {
      if (!result.saves[index].empty()) {
        WriteSeed(folder, "scenario-frame-" + std::to_string(kScenarioSaves[index] + 1) + ".bin", result.saves[index]);
      }
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "The scenario did not run: %s\n", error.what());
  }
  LogicStop();
}

}  // namespace

// Saved small games holding one plan item of every kind (and one holding a
// trigger, condition and action of every class as well), and damaged copies:
// cut at several places, a count made huge, a class name changed; and the
// shared scenario saved at several frames.
void WriteLogicLoadSeeds(const std::filesystem::path& folder) {
  WriteScenarioSeeds(folder);
  for (int variant = 0; variant < 4; ++variant) {
    StartSmallLogic(variant);
    const std::string saved = SavedLogic();
    LogicStop();
    if (saved.empty()) {
      continue;
    }
    const std::string name = "written-game-" + std::to_string(variant);
    WriteSeed(folder, name + ".bin", saved);
    if (variant == 3) {
      // An action stored in a condition slot (the two class names have the
      // same length).
      std::string swapped = saved;
      const size_t condition = swapped.find("YLTriggerConditionFighting");
      if (condition != std::string::npos) {
        swapped.replace(condition, 26, "YLTriggerActionSetBankLoot");
        WriteSeed(folder, "damaged-game-action-as-condition.bin", swapped);
      }
    }
    if (variant != 0) {
      continue;
    }
    for (size_t part : {7u, 3u, 2u}) {
      WriteSeed(folder, "damaged-game-cut-" + std::to_string(part) + ".bin",
                saved.substr(0, saved.size() / part));
    }
    const size_t names = saved.find("not_used");
    if (names != std::string::npos && names >= 8) {
      WriteSeed(folder, "damaged-game-huge-name-count.bin",
                PatchedBigEndian(saved, names - 8, 0x7FFFFFFF));
    }
    std::string renamed = saved;
    const size_t item = renamed.find("LogicPlanWarpZ");
    if (item != std::string::npos) {
      renamed.replace(item, 14, "LogicPlanWarpY");
      WriteSeed(folder, "damaged-game-unknown-item.bin", renamed);
    }
    std::string logic = saved;
    const size_t header = logic.find("CLogic");
    if (header != std::string::npos) {
      logic.replace(header, 6, "CPlaye");
      WriteSeed(folder, "damaged-game-other-class.bin", logic);
    }
  }
}
