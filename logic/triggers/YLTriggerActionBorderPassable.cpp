#include "logic/triggers/YLTriggerActionBorderPassable.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/TriggerActionLines.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace {

LumoClassOf<YLTriggerActionBorderPassable> classOfBorderPassable(kVersion_1_6_0_6, "YLTriggerActionBorderPassable",
                                                                 "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionBorderPassable, BorderID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionBorderPassable, Passable, PropertyBool, "tBool");

LumoClassOf<YLTriggerActionStopTraffic> classOfStopTraffic(kVersion_1_6_0_6, "YLTriggerActionStopTraffic",
                                                           "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionStopTraffic, Ori, PropertyInteger, "tInteger");

}  // namespace

// ---- Passable border ----

const char* YLTriggerActionBorderPassable::GetClassName() const { return "YLTriggerActionBorderPassable"; }

void YLTriggerActionBorderPassable::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  border", BorderID);
  lines.Bool("  passable", Passable);
}

int32_t YLTriggerActionBorderPassable::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(BorderID);
  lines.Bool(Passable);
  return lines.Remaining();
}

void YLTriggerActionBorderPassable::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "passable border");
  }
}

// A route found while the border was open may run through it, so the cached
// routes go whenever the flag is written.
void YLTriggerActionBorderPassable::Execute(CLogic* logic, YLCustomTrigger*) {
  CMap* map = logic != nullptr ? logic->Map.get() : nullptr;
  YLKnowledgeMap* knowledge = map != nullptr ? map->GetStratMap() : nullptr;
  YLSectors* sectors = knowledge != nullptr ? knowledge->GetSectors() : nullptr;
  YLSectorBorder* border = sectors != nullptr ? sectors->GetBorder(BorderID) : nullptr;
  if (border == nullptr) {
    return;
  }
  border->SetPassable(Passable);
  map->ResetPaths();
}

LUMO_GENERIC_FIELD(YLTriggerActionBorderPassable, BorderID)
LUMO_GENERIC_FIELD(YLTriggerActionBorderPassable, Passable)

// ---- Stop traffic ----

const char* YLTriggerActionStopTraffic::GetClassName() const { return "YLTriggerActionStopTraffic"; }

void YLTriggerActionStopTraffic::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  ori", Ori);
}

int32_t YLTriggerActionStopTraffic::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(Ori);
  return lines.Remaining();
}

void YLTriggerActionStopTraffic::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "stop traffic");
  }
}

void YLTriggerActionStopTraffic::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic != nullptr) {
    logic->StopHighwayTraffic(Ori);
  }
}

LUMO_GENERIC_FIELD(YLTriggerActionStopTraffic, Ori)
