// The level editor's protocol with the logic: a trigger, condition or action
// is made as the editor makes it and given texts for its property lines,
// listed after each, then the logic is saved, loaded and run on.
//
// Input: [u8 class] then pairs [u8 line][u8 length][length bytes of text].
// - class (taken modulo the number of classes) picks, in this order, a kind
//   CreateTrigger makes (EveryTriggerKind), a condition factory name
//   (EveryConditionName) or an action factory name (EveryActionName). A
//   trigger is created and planned; a condition or action is made by a
//   planned custom trigger (number 1) through its editor lines, in its first
//   condition (action) slot.
// - line is the position given to SetProperty: a trigger's own line; for a
//   condition or action, below 128 the element's own line, from 128 on line
//   minus 128 of its custom trigger.
// - length 255 gives a null text (no bytes follow); else the text is the
//   next length bytes (cut to what remains; a zero byte ends it early).
// At most kMaxPairs pairs are used. A time line set to the current frame
// runs the planned item at once, which may free it, as the editor's next
// look at the plan would show: the pairs end there.
//
// After each pair the editor list of the planned item (and the element's
// own lines) has one value per label and the one-line texts end inside their
// buffers. When the subject is a custom trigger, a second one (number 2)
// holds one set-trigger-property action per pair that writes the same text to
// the same line of the subject when it fires (frame 31), so the texts reach
// the setter once more after being stored. The logic is then saved, the
// bytes loaded into it, and the loaded logic saves the same bytes; it runs
// kFramesAfterLoad frames and still saves.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzStreams.h"
#include "fuzz/LogicGame.h"
#include "logic/core/CLogic.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/TriggerExports.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/YLTriggerAction.h"
#include "logic/triggers/YLTriggerActionSetTriggerProperty.h"
#include "logic/triggers/YLTriggerCondition.h"
#include "logic/triggers/tStrings.h"

namespace {

constexpr size_t kMaxPairs = 32;
constexpr uint8_t kHolderLine = 128;
constexpr uint8_t kNullText = 255;
constexpr int32_t kFramesAfterLoad = 40;
constexpr const char* kSubjectNumber = "1";
constexpr const char* kReplayNumber = "2";

struct Pair {
  uint8_t line;
  std::optional<std::string> text;
  const char* Text() const { return text ? text->c_str() : nullptr; }
};

std::vector<Pair> ReadPairs(const uint8_t* data, size_t size) {
  std::vector<Pair> pairs;
  size_t at = 1;
  while (pairs.size() < kMaxPairs && size - at >= 2) {
    Pair pair{data[at], std::nullopt};
    const uint8_t length = data[at + 1];
    at += 2;
    if (length != kNullText) {
      const size_t taken = length < size - at ? length : size - at;
      pair.text.emplace(reinterpret_cast<const char*>(data + at), taken);
      at += taken;
    }
    pairs.push_back(std::move(pair));
  }
  return pairs;
}

void CheckRecordString(YLEditableObject& object) {
  char buffer[YLEditableObject::kRecordStringSize];
  std::memset(buffer, 'x', sizeof buffer);
  object.GetRecordString(buffer, sizeof buffer);
  FuzzRequire(std::memchr(buffer, '\0', sizeof buffer) != nullptr,
              "a record string ends inside its buffer");
}

// The editor's view of a planned item after a change.
void CheckListing(LogicPlanItem& item, YLEditableObject* element) {
  tStrings* labels = nullptr;
  tStrings* values = nullptr;
  item.GetProperties(labels, values);
  FuzzRequire(labels != nullptr && values != nullptr && labels->count == values->count,
              "the editor list has one value per label");
  CheckRecordString(item);
  char countdown[YLEditableObject::kRecordStringSize];
  countdown[0] = '\0';
  const char* shown = item.GetCountdownText(countdown, sizeof countdown);
  FuzzRequire(shown == nullptr || std::memchr(shown, '\0', sizeof countdown) != nullptr,
              "a countdown text ends inside its buffer");
  if (element != nullptr) {
    tStrings ownLabels;
    tStrings ownValues;
    element->ListProperties(ownLabels, ownValues);
    FuzzRequire(ownLabels.count == ownValues.count, "an element lists one value per label");
    CheckRecordString(*element);
  }
}

// The subject of an input: a planned trigger, or a planned custom trigger
// whose first condition (action) slot holds the element.
class Subject {
 public:
  explicit Subject(uint8_t pick) {
    const auto kinds = EveryTriggerKind();
    const auto conditions = EveryConditionName();
    const auto actions = EveryActionName();
    size_t index = pick % (kinds.size() + conditions.size() + actions.size());
    if (index < kinds.size()) {
      Planned = CreateTrigger(kinds[index]);
      FuzzRequire(Planned != nullptr, "every trigger kind is made");
      InsertTrigger(Planned);
      Custom = dynamic_cast<YLCustomTrigger*>(Planned);
      return;
    }
    index -= kinds.size();
    Custom = PlanCustomTrigger();
    FuzzRequire(Custom != nullptr, "a custom trigger is made");
    Planned = Custom;
    Custom->SetProperty(EditorLine(*Custom, "trigerid"), kSubjectNumber);
    if (index < conditions.size()) {
      FuzzRequire(SetConditions(*Custom, conditions.subspan(index, 1)),
                  "every condition class is made");
    } else {
      HoldsAction = true;
      FuzzRequire(SetActions(*Custom, actions.subspan(index - conditions.size(), 1)),
                  "every action class is made");
    }
    HoldsElement = true;
  }

  // The element now in the slot (a line of the trigger may have replaced
  // or removed it).
  YLEditableObject* Element() const {
    if (!HoldsElement) {
      return nullptr;
    }
    return HoldsAction ? static_cast<YLEditableObject*>(Custom->GetAction(0))
                       : static_cast<YLEditableObject*>(Custom->GetCondition(0));
  }

  // The line of the planned item the pair writes; -1 when it writes none.
  int32_t PlannedLine(uint8_t line) const {
    if (!HoldsElement) {
      return line;
    }
    if (line >= kHolderLine) {
      return line - kHolderLine;
    }
    const int32_t from = HoldsAction ? EditorLine(*Custom, "#actions") : 0;
    const int32_t type = from < 0 ? -1 : EditorLine(*Custom, " 0: type:", from);
    return type < 0 || Element() == nullptr ? -1 : type + 1 + line;
  }

  // Writes the pair's line; false when the planned item ran at once and
  // may be gone.
  bool Set(const Pair& pair) {
    YLEditableObject* element = Element();
    if (element != nullptr && pair.line < kHolderLine) {
      element->SetProperty(pair.line, pair.Text());
    } else if (!HoldsElement || pair.line >= kHolderLine) {
      const int32_t line = PlannedLine(pair.line);
      const CLogic* logic = TheLogic();
      const bool runsNow = line == 0 && logic != nullptr &&
                           static_cast<uint32_t>(ParseInt(pair.Text())) == logic->Time;
      Planned->SetProperty(line, pair.Text());
      if (runsNow) {
        return false;
      }
    }
    CheckListing(*Planned, Element());
    return true;
  }

  LogicPlanItem* Planned = nullptr;
  YLCustomTrigger* Custom = nullptr;

 private:
  bool HoldsElement = false;
  bool HoldsAction = false;
};

// A custom trigger that writes the lines again when it fires.
void PlanReplay(int32_t target, const std::vector<std::pair<int32_t, const Pair*>>& lines) {
  YLCustomTrigger* replay = PlanCustomTrigger();
  FuzzRequire(replay != nullptr, "a custom trigger is made");
  replay->SetProperty(EditorLine(*replay, "trigerid"), kReplayNumber);
  const std::vector<const char*> names(lines.size(), "set trigger property");
  FuzzRequire(SetActions(*replay, names), "the set-trigger-property actions are made");
  const std::string number = std::to_string(target);
  const int32_t actions = EditorLine(*replay, "#actions");
  for (size_t slot = 0; slot < lines.size(); ++slot) {
    char label[32];
    std::snprintf(label, sizeof label, " %d: type:", static_cast<int32_t>(slot));
    const int32_t type = EditorLine(*replay, label, actions);
    FuzzRequire(type >= 0, "every action slot is listed");
    replay->SetProperty(type + 1, number.c_str());
    replay->SetProperty(type + 2, std::to_string(lines[slot].first).c_str());
    replay->SetProperty(type + 3, lines[slot].second->Text());
    const auto* action = dynamic_cast<const YLTriggerActionSetTriggerProperty*>(
        replay->GetAction(static_cast<int32_t>(slot)));
    FuzzRequire(
        action != nullptr && action->TriggerID == target && action->Index == lines[slot].first,
        "the action's lines are set");
  }
}

bool LoadLogic(const std::string& bytes) {
  FuzzInputStream input(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return input.Usable() && LogicLoad(&input.stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    return 0;
  }
  StartSmallLogic(0);
  Subject subject(data[0]);
  const std::vector<Pair> pairs = ReadPairs(data, size);
  std::vector<std::pair<int32_t, const Pair*>> lines;
  bool planned = true;
  for (const Pair& pair : pairs) {
    const int32_t line = subject.PlannedLine(pair.line);
    if (line >= 0) {
      lines.emplace_back(line, &pair);
    }
    if (!subject.Set(pair)) {
      planned = false;
      break;
    }
  }
  if (planned && subject.Custom != nullptr && !lines.empty()) {
    PlanReplay(subject.Custom->TriggerID, lines);
  }

  const std::string saved = SavedLogic();
  FuzzRequire(!saved.empty(), "the edited logic saves");
  FuzzRequire(LoadLogic(saved), "the edited logic loads");
  FuzzRequire(SavedLogic() == saved, "the loaded logic saves the same bytes");
  for (int32_t frame = 0; frame < kFramesAfterLoad; ++frame) {
    LogicCompute();
  }
  FuzzRequire(!SavedLogic().empty(), "the logic still saves after running");
  LogicStop();
  return 0;
}
