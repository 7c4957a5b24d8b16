#include "logic/triggers/TriggerMoneyMakinPub.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<TriggerMoneyMakinPub> classOfTriggerMoneyMakinPub(kVersion_1_6_0_6, "TriggerMoneyMakinPub",
                                                              "ConditionTrigger");

}  // namespace

TriggerMoneyMakinPub::TriggerMoneyMakinPub() : ConditionTrigger(kPubFrequency) {}

const char* TriggerMoneyMakinPub::GetClassName() const { return "TriggerMoneyMakinPub"; }

void TriggerMoneyMakinPub::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: money makin pub", static_cast<int32_t>(Time));
  }
}

void TriggerMoneyMakinPub::Execute(CLogic* logic) {
  if (logic == nullptr) {
    return;
  }
  const int32_t count = logic->GetPlayerCount();
  for (int32_t id = 1; id <= count; ++id) {
    CPlayer* player = id != CLogic::kPolicePlayer ? logic->GetPlayer(id) : nullptr;
    if (player == nullptr) {
      continue;
    }
    const int32_t pubs = player->GetParam(ParamPubs);
    player->AddParam(ParamMoney, kMoneyPerPub * pubs);
    player->AddParam(ParamScoreCorrection, kCorrectionPerPub * pubs);
  }
}
