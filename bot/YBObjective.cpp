#include "bot/YBObjective.h"

#include <cstdlib>

#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "base/TextUtils.h"
#include "bot/YBMasterMind.h"

namespace {

LumoClassOf<YBObjective> classOfYBObjective(kVersion_1_6_0_6, "YBObjective", "LumoNode");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBObjective, Priority, PropertySingle, "tSingle");
LUMO_FIELD_PROPERTY(kVersion_1_6_0_6, YBObjective, Assignment, PropertyPointer, "tPointer");

constexpr const char* kKindNames[YBObjective::kKindCount] = {
    "Dummy", "Program", "Defend", "Enter",  "Destroy", "Control", "Hassle", "Trouble", "Party",
    "Money", "Contain", "Patrol", "Protect", "Clear",  "Backup",  "Donut",  "Avoid"};

// The integer a text starts with; 0 for none or a null text. Held within
// the 32-bit range.
int32_t ReadInteger(const char* text) {
  if (text == nullptr) {
    return 0;
  }
  const long long value = std::strtoll(text, nullptr, 10);
  return static_cast<int32_t>(value > INT32_MAX ? INT32_MAX : (value < INT32_MIN ? INT32_MIN : value));
}

}  // namespace

LUMO_GENERIC_FIELD(YBObjective, Priority)

void YBObjective::OnFree() { Assignment.reset(); }

bool YBObjective::LoadAssignment(LumoStream* stream, const LumoProperty*) {
  return YBIdentifierList::Load(stream, Assignment, "YBObjective::LoadAssignment");
}

bool YBObjective::SaveAssignment(LumoStream* stream, const LumoProperty*) {
  return YBIdentifierList::Save(stream, Assignment.get());
}

void YBObjective::GetProperties(YBTextList& names, YBTextList& values) {
  names.emplace_back("ID");
  values.emplace_back(std::to_string(GetObjectiveID()));
  names.emplace_back("Player");
  values.emplace_back(std::to_string(GetPlayer()));
  names.emplace_back("Priority");
  values.emplace_back(Priority < 0.0f ? "Off" : std::to_string(static_cast<int32_t>(Priority * 100.0f)));
  names.emplace_back("Assignment");
  values.emplace_back(Assignment != nullptr ? Assignment->ToText() : " ");
}

int32_t YBObjective::SetProperty(int32_t index, const char* text) {
  switch (index) {
    case 0:
      SetID((static_cast<uint32_t>(ReadInteger(text)) << 16) | (ID & 0xFFFFu));
      return -1;
    case 1:
      SetID((ID & 0xFFFF0000u) | (static_cast<uint32_t>(ReadInteger(text)) & 0xFFFFu));
      return -1;
    case 2: {
      float value = kOff;
      if (text == nullptr || CompareNoCase(text, "off") != 0) {
        value = static_cast<float>(ReadInteger(text)) * 0.01f;
        if (value < 0.0f) {
          value = kOff;
        } else if (value > 1.0f) {
          value = 1.0f;
        }
      }
      SetPriority(value);
      return -1;
    }
    case 3:
      Assignment = YBIdentifierList::FromText(text);
      return -1;
    default:
      return 0;
  }
}

void YBObjective::ChangePriority(float value) {
  if (Priority >= 0.0f && value < 0.0f) {
    SetAssignment(nullptr);
  }
  SetPriority(value);
}

void YBObjective::SetAssignment(const YBIdentifierList* list) {
  Assignment.reset();
  if (list == nullptr) {
    return;
  }
  if (YBMasterMind* controller = YBMasterMind::GetCurrent(); controller != nullptr) {
    controller->AddAssigment(list, this);
  }
  Assignment = list->Clone();
}

bool YBObjective::IsAssigned(int32_t unitId) const { return Assignment != nullptr && Assignment->Contains(unitId); }

std::string YBObjective::Describe() {
  std::string text = GetKindNameOf(GetKind());
  YBTextList names;
  YBTextList values;
  GetProperties(names, values);
  for (const std::string& value : values) {
    text += ' ';
    text += value;
  }
  return text;
}

const char* YBObjective::GetKindNameOf(int32_t kind) {
  return kind >= 0 && kind < kKindCount ? kKindNames[kind] : "";
}
