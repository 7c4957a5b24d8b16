#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "base/LumoObject.h"
#include "fuzz/LogicGame.h"
#include "fuzz/seeds/Seeds.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/TriggerExports.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/TriggerFactories.h"
#include "logic/triggers/YLTriggerAction.h"
#include "logic/triggers/YLTriggerCondition.h"
#include "logic/triggers/tStrings.h"

namespace {

// The pairs of the editor target's input ([u8 line][u8 length][text]) that
// write each listed line again, a "0" made "1" so the state changes.
std::string LinesAgain(const tStrings& values, uint8_t firstLine) {
  std::string pairs;
  for (int32_t line = 0; line < values.count && line + firstLine < 255; ++line) {
    std::string text = values.Get(line) != nullptr ? values.Get(line) : "";
    if (text == "0") {
      text = "1";
    }
    if (text.size() > 254) {
      text.resize(254);
    }
    pairs += static_cast<char>(line + firstLine);
    pairs += static_cast<char>(text.size());
    pairs += text;
  }
  return pairs;
}

std::string Pair(uint8_t line, const std::string& text) {
  return std::string(1, static_cast<char>(line)) + static_cast<char>(text.size()) + text;
}

template <typename Kind>
std::string ElementLines(Kind* element) {
  std::unique_ptr<LumoObject, tObjectDestroyer> owner(element);
  if (element == nullptr) {
    return {};
  }
  tStrings labels;
  tStrings values;
  element->ListProperties(labels, values);
  return LinesAgain(values, 0);
}

}  // namespace

// One input per class of the editor target (its input is described in
// TriggerEditorFuzzer.cpp): the class's listed lines written again, and for
// a condition or action also lines of its custom trigger (number, repeat
// bit, frequency).
void WriteTriggerEditorSeeds(const std::filesystem::path& folder) {
  uint8_t pick = 0;
  StartSmallLogic(0);
  for (const int32_t kind : EveryTriggerKind()) {
    LogicPlanItem* item = CreateTrigger(kind);
    std::string lines;
    if (item != nullptr) {
      tStrings* labels = nullptr;
      tStrings* values = nullptr;
      item->GetProperties(labels, values);
      lines = LinesAgain(*values, 0);
      DeleteTrigger(item);
    }
    WriteSeed(folder, "trigger-kind-" + std::to_string(kind),
              std::string(1, static_cast<char>(pick++)) + lines);
  }
  LogicStop();
  const std::string holder = Pair(128 + 1, "3") + Pair(128 + 3, "3");
  for (const char* name : EveryConditionName()) {
    WriteSeed(folder, "condition-" + std::string(name),
              std::string(1, static_cast<char>(pick++)) +
                  ElementLines(CreateTriggerCondition(name)) + holder);
  }
  for (const char* name : EveryActionName()) {
    WriteSeed(folder, "action-" + std::string(name),
              std::string(1, static_cast<char>(pick++)) + ElementLines(CreateTriggerAction(name)) +
                  holder);
  }
}
