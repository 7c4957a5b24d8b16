#pragma once

#include <cstdint>

// The order kinds: the code of an order package and the action of the plan
// step that carries it out.
namespace OrderKind {
constexpr int32_t kUnknown = 0;
constexpr int32_t kCancel = 1;
constexpr int32_t kHold = 2;
constexpr int32_t kSelection = 3;
constexpr int32_t kGroupSelection = 4;
constexpr int32_t kGoto = 5;
constexpr int32_t kFuckOff = 6;
constexpr int32_t kGotoThing = 7;
constexpr int32_t kAttack = 8;
constexpr int32_t kShoot = 9;
constexpr int32_t kThrow = 10;
constexpr int32_t kMolotov = 11;
constexpr int32_t kPickUp = 12;
constexpr int32_t kSubThrow = 13;
constexpr int32_t kEnter = 14;
constexpr int32_t kLoot = 15;
constexpr int32_t kGetMoney = 16;
constexpr int32_t kLeave = 17;
constexpr int32_t kChant = 18;
constexpr int32_t kBaricade = 19;
constexpr int32_t kGetDope = 20;
constexpr int32_t kBurgle = 21;
constexpr int32_t kBomb = 22;
constexpr int32_t kBerserk = 23;
constexpr int32_t kFlirt = 24;
constexpr int32_t kHijack = 25;
constexpr int32_t kRave = 26;
constexpr int32_t kPatroll = 27;
constexpr int32_t kAddToGroup = 28;
constexpr int32_t kSpawn = 29;
constexpr int32_t kGroup = 30;
constexpr int32_t kFlee = 31;
constexpr int32_t kPanic = 32;
constexpr int32_t kBored = 33;
constexpr int32_t kArrested = 34;
constexpr int32_t kJailed = 35;
constexpr int32_t kBuyUnit = 36;
constexpr int32_t kGiveBeer = 37;
constexpr int32_t kBuyWhore = 38;
constexpr int32_t kBuySuit = 39;
constexpr int32_t kBuyDopeSelection = 40;
constexpr int32_t kBuyDopeLeader = 41;
constexpr int32_t kBuyPleasureSelection = 42;
constexpr int32_t kBuyPleasureUnit = 43;
constexpr int32_t kUpgradeSelection = 44;
constexpr int32_t kUpgradeUnit = 45;
constexpr int32_t kBuyAmmo = 46;
constexpr int32_t kAmbient = 47;
constexpr int32_t kInvestigate = 48;
constexpr int32_t kInvestigateUnit = 49;
constexpr int32_t kCordon = 50;
constexpr int32_t kStandBy = 51;
constexpr int32_t kCharge = 52;
constexpr int32_t kAssistance = 53;
constexpr int32_t kTearGas = 54;
constexpr int32_t kArrest = 55;
constexpr int32_t kJoinRave = 56;
constexpr int32_t kRunAway = 57;
constexpr int32_t kPassOut = 58;
constexpr int32_t kPositionedMolotov = 59;
constexpr int32_t kTurret = 60;
constexpr int32_t kBringIn = 61;
constexpr int32_t kMaxOrderEnum = 62;
constexpr int32_t kCount = 63;
}  // namespace OrderKind

// The names of the order kinds, index = kind, for log lines and debug texts.
extern const char* const OrderKindNames[OrderKind::kCount];

// The name of a kind; an empty text for a kind outside the table (a loaded
// plan may hold any action).
const char* OrderKindName(int32_t kind);
