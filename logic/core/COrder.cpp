#include "logic/core/COrder.h"

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/CPlayer.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/OrderPayload.h"
#include "logic/world/PsychicPlanKinds.h"

namespace {

constexpr int32_t kLayoutP6 = 6;

bool IsFlag(uint8_t value) { return value <= 1; }

}  // namespace

COrder::COrder(int32_t kind) : Kind(kind) {}

COrder::~COrder() = default;

bool COrder::Unpack(const COrderPackage& package) {
  const PayloadReader payload(package);
  if (!payload.HasLength(kLayoutP6)) {
    return false;
  }
  Player = payload.Int32(0);
  FlagA = payload.Byte(4);
  FlagB = payload.Byte(5);
  return true;
}

PsychicPlanItem* COrder::MakePlanStep(PsychicPlanItem* step, int32_t param1, int32_t param2) const {
  step->Action = Kind;
  step->Param1 = param1;
  step->Param2 = param2;
  step->Fast = FlagB != 0;
  return step;
}

PsychicPlanItem* COrder::BuildPlan() const {
  PsychicPlanItem* step = nullptr;
  switch (Kind) {
    case OrderKind::kChant: {
      auto* chant = new PsychicPlanChant;
      chant->Period = -1;
      step = chant;
      break;
    }
    case OrderKind::kBerserk:
      step = new PsychicPlanBerserk;
      break;
    case OrderKind::kRave:
      step = new PsychicPlanRave;
      break;
    case OrderKind::kStandBy:
      step = new PsychicPlanStandBy;
      break;
    default:
      step = new PsychicPlanItem;
      break;
  }
  return MakePlanStep(step, 0, 0);
}

void COrder::Execute(CPlayer* player) {
  DebugPrint("%s::Execute(%d)\n", OrderKindName(Kind), player->ID);
  if (Kind == OrderKind::kRunAway) {
    if (CLogic* logic = TheLogic()) {
      logic->RunAway(player->ID);
    }
    return;
  }
  if (FlagA == 0) {
    player->NewOrder(*this);
  } else {
    player->AddToOrderQueue(*this);
  }
}

const char* COrder::Refusal(const CLogic&) const {
  if (!IsFlag(FlagA) || !IsFlag(FlagB)) {
    return "a flag byte is neither 0 nor 1";
  }
  return nullptr;
}

void LogRefusedOrder(int32_t kind, int32_t player, const char* reason) {
  DebugPrint("::AcceptOrder: refused kind %d (%s) of player %d: %s\n", kind, OrderKindName(kind), player, reason);
}

std::unique_ptr<COrder> CreateOrder(int32_t kind) {
  switch (kind) {
    case OrderKind::kCancel:
    case OrderKind::kChant:
    case OrderKind::kBerserk:
    case OrderKind::kRave:
    case OrderKind::kStandBy:
    case OrderKind::kRunAway:
      return std::make_unique<COrder>(kind);
    case OrderKind::kSelection:
      return std::make_unique<COrderSelection>(kind);
    case OrderKind::kGroupSelection:
      return std::make_unique<COrderGroupSelection>(kind);
    case OrderKind::kGoto:
    case OrderKind::kBaricade:
    case OrderKind::kBomb:
    case OrderKind::kPatroll:
    case OrderKind::kCordon:
    case OrderKind::kCharge:
    case OrderKind::kTearGas:
    case OrderKind::kArrest:
    case OrderKind::kPositionedMolotov:
      return std::make_unique<COrderDestination>(kind);
    case OrderKind::kGotoThing:
    case OrderKind::kAttack:
    case OrderKind::kShoot:
    case OrderKind::kThrow:
    case OrderKind::kMolotov:
    case OrderKind::kEnter:
    case OrderKind::kLoot:
    case OrderKind::kLeave:
    case OrderKind::kGetDope:
    case OrderKind::kBurgle:
    case OrderKind::kFlirt:
    case OrderKind::kHijack:
    case OrderKind::kAddToGroup:
    case OrderKind::kInvestigate:
    case OrderKind::kInvestigateUnit:
    case OrderKind::kAssistance:
    case OrderKind::kTurret:
      return std::make_unique<COrderTarget>(kind);
    case OrderKind::kBuyUnit:
      return std::make_unique<COrderBuy>(kind);
    case OrderKind::kGiveBeer:
      return std::make_unique<COrderGiveBeer>(kind);
    case OrderKind::kBuyWhore:
      return std::make_unique<COrderBuyWhore>(kind);
    case OrderKind::kBuySuit:
      return std::make_unique<COrderBuySuit>(kind);
    case OrderKind::kBuyDopeSelection:
      return std::make_unique<COrderBuyDopeSelection>(kind);
    case OrderKind::kBuyDopeLeader:
      return std::make_unique<COrderBuyDopeLeader>(kind);
    case OrderKind::kBuyPleasureSelection:
      return std::make_unique<COrderBuyPleasureSelection>(kind);
    case OrderKind::kBuyPleasureUnit:
      return std::make_unique<COrderBuyPleasureUnit>(kind);
    case OrderKind::kUpgradeSelection:
      return std::make_unique<COrderUpgradeSelection>(kind);
    case OrderKind::kUpgradeUnit:
      return std::make_unique<COrderUpgradeUnit>(kind);
    case OrderKind::kBuyAmmo:
      return std::make_unique<COrderBuyAmmoUnit>(kind);
    default:
      return nullptr;
  }
}

bool CLogic::ApplyOrder(COrder& order) {
  CPlayer* player = GetPlayer(order.Player);
  if (player == nullptr) {
    LogRefusedOrder(order.Kind, order.Player, "the logic has no such player");
    return false;
  }
  if (const char* reason = order.Refusal(*this)) {
    LogRefusedOrder(order.Kind, order.Player, reason);
    return false;
  }
  order.Execute(player);
  return true;
}
