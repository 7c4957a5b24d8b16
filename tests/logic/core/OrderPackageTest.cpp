// Order packages and the order builders: the payload each builder writes,
// byte by byte, and the package's own payload copy.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "logic/core/COrderPackage.h"
#include "logic/core/OrderBuilders.h"
#include "OrderPackageBytes.h"

namespace {

using order_testing::Bytes;
using order_testing::Le;
using order_testing::Package;
using order_testing::PayloadOf;
using order_testing::operator+;

struct BuilderCase {
  const char* name;
  std::function<COrderPackage*()> build;
  int16_t kind;
  Bytes payload;
};

TEST(OrderBuilders, EveryBuilderWritesItsKindAndPayloadByteByByte) {
  const int32_t big = 0x12345678;
  const BuilderCase cases[] = {
      {"cancel", [] { return GenerateCancelOrder(7, true); }, 1, Le({7}) + Bytes{1, 0}},
      {"selection", [] { return GenerateSelectionOrder(2, 300, true, false); }, 3, Le({2, 300}) + Bytes{1, 0}},
      {"group selection", [] { return GenerateGroupSelectionOrder(2, 255, false, true); }, 4,
       Le({2}) + Bytes{255, 0, 1}},
      {"goto", [&] { return GenerateGotoOrder(1, big, -2, true, true); }, 5, Le({1, big, -2}) + Bytes{1, 1}},
      {"gotothing", [] { return GenerateGotoThingOrder(1, 9, false, true); }, 7, Le({1, 9}) + Bytes{0, 1}},
      {"attack", [] { return GenerateAttackOrder(1, 9, true, false); }, 8, Le({1, 9}) + Bytes{1, 0}},
      {"shoot", [] { return GenerateAttackShootOrder(1, 9, false, false); }, 9, Le({1, 9}) + Bytes{0, 0}},
      {"throw", [] { return GenerateThrowBrickOrder(1, 9, true, true); }, 10, Le({1, 9}) + Bytes{1, 1}},
      {"molotov", [] { return GenerateThrowMolotovOrder(1, 9, false, true); }, 11, Le({1, 9}) + Bytes{0, 1}},
      {"enter", [] { return GenerateEnterOrder(1, 9, false, true); }, 14, Le({1, 9}) + Bytes{0, 1}},
      {"loot", [] { return GenerateLootOrder(1, 9, false, true); }, 15, Le({1, 9}) + Bytes{0, 1}},
      {"leave from", [] { return GenerateLeaveOrder(1, 9, true, false); }, 17, Le({1, 9}) + Bytes{1, 0}},
      {"leave", [] { return GenerateLeaveOrder(1, true, true); }, 17, Le({1, 0}) + Bytes{1, 1}},
      {"chant", [] { return GenerateChantOrder(4, true, false); }, 18, Le({4}) + Bytes{1, 0}},
      {"baricade", [] { return GenerateBaricadeOrder(1, 3, 4, false, true); }, 19, Le({1, 3, 4}) + Bytes{0, 1}},
      {"get dope", [] { return GenerateGetDopeOrder(1, 9, false, true); }, 20, Le({1, 9}) + Bytes{0, 1}},
      {"burgle", [] { return GenerateBurgleOrder(1, 9, false, true); }, 21, Le({1, 9}) + Bytes{0, 1}},
      {"bomb", [] { return GenerateBombOrder(1, 3, 4, false, true); }, 22, Le({1, 3, 4}) + Bytes{0, 1}},
      {"flirt", [] { return GenerateFlirtOrder(1, 9, false, true); }, 24, Le({1, 9}) + Bytes{0, 1}},
      {"hijack", [] { return GenerateHijackOrder(1, 9, false, true); }, 25, Le({1, 9}) + Bytes{0, 1}},
      {"rave", [] { return GenerateRaveOrder(4, false, true); }, 26, Le({4}) + Bytes{0, 1}},
      {"patroll", [] { return GeneratePatrollOrder(1, 3, 4, true, false); }, 27, Le({1, 3, 4}) + Bytes{1, 0}},
      {"addtogroup", [] { return GenerateAddToGroupOrder(2, 12); }, 28, Le({2, 12}) + Bytes{0, 0}},
      {"buy unit", [] { return GenerateBuyOrder(1, 7, 12); }, 36, Le({1, 7, 12})},
      {"give beer", [] { return GenerateGiveBeerOrder(1, 7, 250); }, 37, Le({1, 7, 250})},
      {"buy whore", [] { return GenerateBuyWhoreOrder(1, 7, 2); }, 38, Le({1, 7, 2})},
      {"buy suit", [] { return GenerateBuySuitOrder(1, 7); }, 39, Le({1, 7})},
      {"buy dope selection", [] { return GenerateBuyDopeSelectionOrder(1, 7); }, 40, Le({1, 7})},
      {"buy dope leader", [] { return GenerateBuyDopeLeaderOrder(1, 7, 12, 3); }, 41, Le({1, 7, 3, 12})},
      {"buy pleasure selection", [] { return GenerateBuyPleasureSelectionOrder(1, 7); }, 42, Le({1, 7})},
      {"buy pleasure unit", [] { return GenerateBuyPleasureUnitOrder(1, 7, 9); }, 43, Le({1, 7, 9})},
      {"upgrade selection", [] { return GenerateUpgradeSelectionOrder(1, 7); }, 44, Le({1, 7})},
      {"upgrade unit", [] { return GenerateUpgradeUnitOrder(1, 7, 9); }, 45, Le({1, 7, 9})},
      {"buy ammo", [] { return GenerateBuyAmmoUnitOrder(1, 7, 9); }, 46, Le({1, 7, 9})},
      {"investigate", [] { return GenerateInvestigateAlarmOrder(1, 9, false, true); }, 48, Le({1, 9}) + Bytes{0, 1}},
      {"invest unit", [] { return GenerateInvestigateUnitOrder(1, 9, false, true); }, 49, Le({1, 9}) + Bytes{0, 1}},
      {"cordon", [] { return GenerateCordonOrder(1, 3, 4, false, true); }, 50, Le({1, 3, 4}) + Bytes{0, 1}},
      {"charge", [] { return GenerateChargeOrder(1, 3, 4, false, true); }, 52, Le({1, 3, 4}) + Bytes{0, 1}},
      {"assistance", [] { return GenerateAssistanceOrder(1, 9, false, true); }, 53, Le({1, 9}) + Bytes{0, 1}},
      {"teargas", [] { return GenerateTearGasOrder(1, 3, 4, false, true); }, 54, Le({1, 3, 4}) + Bytes{0, 1}},
      {"arrest", [] { return GenerateArrestOrder(1, 3, 4, false, true); }, 55, Le({1, 3, 4}) + Bytes{0, 1}},
      {"surrender", [] { return GenerateSurrenderOrder(5); }, 57, Le({5}) + Bytes{0, 0}},
      {"positioned molotov", [] { return GenerateThrowMolotovPlaceOrder(1, -1, 4, false, true); }, 59,
       Le({1, -1, 4}) + Bytes{0, 1}},
      {"turret", [] { return GenerateThrowTurretOrder(1, 9, true, false); }, 60, Le({1, 9}) + Bytes{1, 0}},
  };
  for (const BuilderCase& test : cases) {
    Package package(test.build());
    ASSERT_NE(package, nullptr) << test.name;
    EXPECT_EQ(package->Kind, test.kind) << test.name;
    EXPECT_EQ(package->Length, static_cast<int32_t>(test.payload.size())) << test.name;
    EXPECT_EQ(PayloadOf(*package), test.payload) << test.name;
  }
}

// ---- The package's payload ----

TEST(OrderPackage, CreateKeepsItsOwnCopyAndFreesTheOldPayload) {
  COrderPackage package;
  uint8_t chat[] = {'h', 'i', '!'};
  package.Create(0, chat, 3);
  chat[0] = 'X';
  EXPECT_EQ(PayloadOf(package), (Bytes{'h', 'i', '!'}));
  // A second Create replaces the payload (the sanitizer sees the old one go).
  const uint8_t longer[] = {1, 2, 3, 4, 5};
  package.Create(5, longer, 5);
  EXPECT_EQ(package.Kind, 5);
  EXPECT_EQ(PayloadOf(package), (Bytes{1, 2, 3, 4, 5}));
  package.Create(7, longer, 0);
  EXPECT_EQ(package.Kind, 7);
  EXPECT_EQ(package.Data, nullptr);
  EXPECT_EQ(package.Length, 0);
  // A length without data leaves the payload empty instead of copying from
  // nowhere.
  package.Create(8, nullptr, 4);
  EXPECT_EQ(package.Data, nullptr);
  EXPECT_EQ(package.Length, 0);
  package.Create(9, longer, 2);
  package.Destroy();
  EXPECT_EQ(package.Kind, 0);
  EXPECT_EQ(package.Data, nullptr);
  EXPECT_EQ(package.Length, 0);
}

// A package made again from bytes of its own payload (all of it, or a part)
// keeps those bytes: the copy is taken before the old payload goes.
TEST(OrderPackage, CreateFromItsOwnPayloadKeepsTheBytes) {
  COrderPackage package;
  const uint8_t bytes[] = {9, 8, 7, 6, 5, 4};
  package.Create(3, bytes, 6);
  package.Create(4, package.Data.get(), package.Length);
  EXPECT_EQ(package.Kind, 4);
  EXPECT_EQ(PayloadOf(package), (Bytes{9, 8, 7, 6, 5, 4}));
  package.Create(5, package.Data.get() + 2, 3);
  EXPECT_EQ(PayloadOf(package), (Bytes{7, 6, 5}));
  package.Create(6, package.Data.get(), 0);
  EXPECT_EQ(package.Data, nullptr);
  EXPECT_EQ(package.Length, 0);
}

TEST(OrderPackage, CopyOrderPackageCopiesThePayloadAndKeepsAnEmptyOneEmpty) {
  COrderPackage empty;
  empty.Create(62, nullptr, 0);
  Package emptyCopy(CopyOrderPackage(&empty));
  ASSERT_NE(emptyCopy, nullptr);
  EXPECT_EQ(emptyCopy->Kind, 62);
  EXPECT_EQ(emptyCopy->Data, nullptr);
  EXPECT_EQ(emptyCopy->Length, 0);

  Package original(GenerateGotoOrder(1, 2, 3, false, true));
  Package copy(CopyOrderPackage(original.get()));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Kind, original->Kind);
  EXPECT_EQ(PayloadOf(*copy), PayloadOf(*original));
  EXPECT_NE(copy->Data.get(), original->Data.get());
  original.reset();
  EXPECT_EQ(copy->Length, 14);

  EXPECT_EQ(CopyOrderPackage(nullptr), nullptr);
  DeleteOrderPackage(nullptr);
}

}  // namespace
