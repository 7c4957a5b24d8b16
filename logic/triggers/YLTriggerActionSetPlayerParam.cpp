#include "logic/triggers/YLTriggerActionSetPlayerParam.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/TriggerActionLines.h"

namespace {

LumoClassOf<YLTriggerActionSetPlayerParam> classOfSetPlayerParam(kVersion_1_6_0_6, "YLTriggerActionSetPlayerParam",
                                                                 "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionSetPlayerParam, PID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionSetPlayerParam, Param, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionSetPlayerParam, Value, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionSetPlayerParam, Set, PropertyInteger, "tInteger");

// The names of the player parameters, by number.
constexpr const char* kParamNameTable[YLTriggerActionSetPlayerParam::kParamNames] = {
    "???",
    "money",
    "frags",
    "units lost",
    "team kills",
    "buildings broken",
    "buildings lost",
    "beer drunk",
    "dope used",
    "whores fucked",
    "money spent",
    "arrests",
    "pubs",
    "score",
    "game state",
    "leaders",
    "living leaders",
    "things",
    "fan units",
    "rats",
    "ravers",
    "bikers",
    "bulches",
    "chicks",
    "suits",
    "yobbozers",
    "things destroyed",
    "cars destroyed",
    "homes wrecked",
    "other buildings wrecked",
    "pubs wrecked",
    "weapon shops wrecked",
    "dope houses wrecked",
    "girls shops wrecked",
    "score correction",
    "burglaries",
};

}  // namespace

// ---- Set player param ----

const char* YLTriggerActionSetPlayerParam::GetClassName() const { return "YLTriggerActionSetPlayerParam"; }

const char* YLTriggerActionSetPlayerParam::ParamName(ParamEnum parameter) {
  if (parameter < 0 || parameter >= kParamNames) {
    return "???";
  }
  return kParamNameTable[parameter];
}

void YLTriggerActionSetPlayerParam::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  PID", PID);
  char parameter[64];
  std::snprintf(parameter, sizeof parameter, "  %d:%s", Param, ParamName(Param));
  lines.Line("  Param", parameter);
  lines.Int("  value", Value);
  lines.Line("  mode", Set ? "0:set" : "1:update");
}

int32_t YLTriggerActionSetPlayerParam::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(PID);
  lines.Int(Param);
  lines.Int(Value);
  lines.Bool(Set);
  return lines.Remaining();
}

void YLTriggerActionSetPlayerParam::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "set player param");
  }
}

// Setting a parameter beyond the table would grow it to a stored number, so
// such a number does nothing.
void YLTriggerActionSetPlayerParam::Execute(CLogic* logic, YLCustomTrigger*) {
  CPlayer* player = logic != nullptr ? logic->GetPlayer(PID) : nullptr;
  if (player == nullptr) {
    return;
  }
  if (Param < 0 || Param >= CPlayer::kParamCount) {
    DebugPrint("YLTriggerActionSetPlayerParam: player %d has no parameter %d\n", PID, Param);
    return;
  }
  if (Set) {
    player->SetParam(Param, Value);
  } else {
    player->AddParam(Param, Value);
  }
}

LUMO_GENERIC_FIELD(YLTriggerActionSetPlayerParam, PID)
LUMO_GENERIC_FIELD(YLTriggerActionSetPlayerParam, Param)
LUMO_GENERIC_FIELD(YLTriggerActionSetPlayerParam, Value)

bool YLTriggerActionSetPlayerParam::LoadSet(LumoStream* stream, const LumoProperty*) {
  return LoadFlagInteger(stream, Set);
}

bool YLTriggerActionSetPlayerParam::SaveSet(LumoStream* stream, const LumoProperty*) {
  return SaveFlagInteger(stream, Set);
}
