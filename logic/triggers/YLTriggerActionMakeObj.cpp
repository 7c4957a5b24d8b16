#include "logic/triggers/YLTriggerActionMakeObj.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/TriggerActionLines.h"

namespace {

LumoClassOf<YLTriggerActionMakeObj> classOfMakeObj(kVersion_1_6_0_6, "YLTriggerActionMakeObj", "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionMakeObj, X, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionMakeObj, Y, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionMakeObj, O, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionMakeObj, Owner, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionMakeObj, Name, PropertyCharStr, "tCharStr");

}  // namespace

YLTriggerActionMakeObj::YLTriggerActionMakeObj() = default;
YLTriggerActionMakeObj::~YLTriggerActionMakeObj() { FreeCharStr(Name); }

const char* YLTriggerActionMakeObj::GetClassName() const { return "YLTriggerActionMakeObj"; }

void YLTriggerActionMakeObj::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  x", X);
  lines.Int("  y", Y);
  lines.Int("  ori", O);
  lines.Int("  owner", Owner);
  lines.Text("  name", Name);
}

int32_t YLTriggerActionMakeObj::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(X);
  lines.Int(Y);
  lines.Int(O);
  lines.Int(Owner);
  lines.Text(Name);
  return lines.Remaining();
}

// The stored keyword may be of any length: the text is cut to the buffer.
void YLTriggerActionMakeObj::GetRecordString(char* buffer, size_t size) {
  if (buffer == nullptr || size == 0) {
    return;
  }
  if (Name != nullptr) {
    std::snprintf(buffer, size, "make %s", Name);
  } else {
    std::snprintf(buffer, size, "make obj");
  }
}

void YLTriggerActionMakeObj::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr || Name == nullptr) {
    return;
  }
  logic->CreateThing(Name, X, Y, 0, static_cast<uint8_t>(O & 0xFF), Owner);
}

LUMO_GENERIC_FIELD(YLTriggerActionMakeObj, X)
LUMO_GENERIC_FIELD(YLTriggerActionMakeObj, Y)
LUMO_GENERIC_FIELD(YLTriggerActionMakeObj, O)
LUMO_GENERIC_FIELD(YLTriggerActionMakeObj, Owner)
LUMO_GENERIC_FIELD(YLTriggerActionMakeObj, Name)
