#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "base/LumoObjects.h"
#include "logic/core/CLogic.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLEventListener.h"
#include "logic/triggers/LogicPlanGoreMsg.h"
#include "logic/triggers/LogicPlanHurtThing.h"
#include "logic/triggers/LogicPlanWeaponItems.h"
#include "logic/world/YLThing.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Loaded = std::unique_ptr<LumoObject, tObjectDestroyer>;

Bytes Save(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

Loaded Load(Bytes bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return Loaded(LoadObject(&stream, nullptr));
}

Bytes BigEndian(uint32_t value) {
  return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value)};
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

// A record holds the base's fields (the next item's presence byte and the
// time) first and ends with the kind's own fields: the last n bytes.
Bytes Last(const Bytes& bytes, size_t n) { return Bytes(bytes.end() - static_cast<std::ptrdiff_t>(n), bytes.end()); }

struct Gore {
  int32_t x;
  int32_t y;
  float amount;
  int32_t kind;
};

class GoreListener : public YLEventListener {
 public:
  void EventGore(int32_t x, int32_t y, float amount, int32_t kind) override { gore.push_back({x, y, amount, kind}); }
  void EventProjectile(int32_t, int32_t, int32_t, int32_t, int32_t) override { ++projectiles; }
  void EventSplat(int32_t, int32_t, float, int32_t) override { ++splats; }
  std::vector<Gore> gore;
  int32_t projectiles = 0;
  int32_t splats = 0;
};

// A logic with its weapon catalogue and a listener, made the current one so
// the items find the catalogue when they are stored and resolved.
class WeaponPlanItemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logic.Weapons = std::make_unique<WeaponCatalog>();
    logic.Things.reset(new LumoObjects(true));
    logic.Listeners.reset(new LumoList);
    ASSERT_TRUE(logic.AddListener(&listener));
    YLThing::SetLogicContext(nullptr, &logic);
  }
  void TearDown() override {
    logic.DetachListeners();
    YLThing::SetLogicContext(nullptr, nullptr);
  }

  const WeaponCatalog& Catalog() const { return *logic.Weapons; }

  // The number a weapon is stored as: its weapon index, or 1000 + its slot
  // for a weapon its index does not lead back to.
  uint32_t ExpectedNumber(int32_t slot) const {
    const YLWeapon* weapon = Catalog().GetSlot(slot);
    const int32_t index = Catalog().GetWeaponIndex(weapon);
    return Catalog().GetWeapon(index) == weapon ? static_cast<uint32_t>(index) : 1000u + static_cast<uint32_t>(slot);
  }

  template <typename Item>
  Item* LoadAs(const Bytes& bytes, Loaded& holder) {
    holder = Load(bytes);
    return dynamic_cast<Item*>(holder.get());
  }

  CLogic logic;
  GoreListener listener;
};

// Every record of the catalogue, planned in both weapon items, comes back
// as the same record after a save and a load; the stream holds the weapon
// as a big-endian number in the item's last field.
TEST_F(WeaponPlanItemsTest, EveryCatalogueRecordSurvivesASaveAndALoad) {
  int32_t records = 0;
  for (int32_t slot = 0; slot < WeaponSlot::kCount; ++slot) {
    YLWeapon* weapon = Catalog().GetSlot(slot);
    if (weapon == nullptr) {
      continue;
    }
    ++records;
    SCOPED_TRACE("slot " + std::to_string(slot));
    const Bytes number = BigEndian(ExpectedNumber(slot));

    LogicPlanWeaponExecute execute(weapon, 17, -3, 40);
    execute.Time = 77;
    const Bytes executeBytes = Save(execute);
    EXPECT_EQ(Last(executeBytes, 16),
              Concat({BigEndian(17), BigEndian(static_cast<uint32_t>(-3)), BigEndian(40), number}));
    Loaded holder;
    auto* loadedExecute = LoadAs<LogicPlanWeaponExecute>(executeBytes, holder);
    ASSERT_NE(loadedExecute, nullptr);
    // Until the references are resolved the item holds only the number.
    EXPECT_EQ(loadedExecute->GetWeapon(), nullptr);
    EXPECT_EQ(Save(*loadedExecute), executeBytes);
    loadedExecute->ResolveReferences();
    EXPECT_EQ(loadedExecute->GetWeapon(), weapon);
    EXPECT_EQ(loadedExecute->Unit, 17);
    EXPECT_EQ(loadedExecute->X, -3);
    EXPECT_EQ(loadedExecute->Y, 40);
    EXPECT_EQ(loadedExecute->Time, 77u);
    EXPECT_EQ(Save(*loadedExecute), executeBytes);

    LogicPlanWeaponImpact impact(weapon, 9, 12, 13, 300);
    const Bytes impactBytes = Save(impact);
    EXPECT_EQ(Last(impactBytes, 20),
              Concat({BigEndian(9), BigEndian(12), BigEndian(13), BigEndian(300), number}));
    auto* loadedImpact = LoadAs<LogicPlanWeaponImpact>(impactBytes, holder);
    ASSERT_NE(loadedImpact, nullptr);
    loadedImpact->ResolveReferences();
    EXPECT_EQ(loadedImpact->GetWeapon(), weapon);
    EXPECT_EQ(loadedImpact->BeginTime, 300);
    EXPECT_EQ(Save(*loadedImpact), impactBytes);
  }
  EXPECT_EQ(records, WeaponSlot::kCount - 1);  // every slot but the empty one
}

// The records whose weapon index names another record or none are stored
// by their slot; every other record keeps its weapon index.
TEST_F(WeaponPlanItemsTest, AWeaponWhoseIndexDoesNotLeadBackIsStoredByItsSlot) {
  struct Case {
    int32_t slot;
    uint32_t stored;
  };
  const Case cases[] = {
      {WeaponSlot::CloseCombat(0), 1000},      // "KickDef": index 0 is none
      {WeaponSlot::OfLevel(0, 1), 1014},       // "Def1": its index is "HitYobb"'s
      {WeaponSlot::OfLevel(0, 2), 1015},       // "Def2": the fireworks'
      {WeaponSlot::OfLevel(0, 3), 1016},       // "Def3": the molotovs'
      {WeaponSlot::kExplosion, 1074},          // the explosion has no index
      {WeaponSlot::CloseCombat(5), 5},         // "KickPol"
      {WeaponSlot::OfLevel(0, 0), 13},         // "HitDef"
      {WeaponSlot::kFireWork, 37},             // the yobbozer's level 1
      {WeaponSlot::kTearGas, 31},              // the riot squad's level 1
      {WeaponSlot::kBomb, 66},
      {WeaponSlot::kBrick, 64},
      {WeaponSlot::kSafeCracker, 69},
      {WeaponSlot::kGun, 63},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE("slot " + std::to_string(entry.slot));
    YLWeapon* weapon = Catalog().GetSlot(entry.slot);
    EXPECT_EQ(Catalog().GetStoredNumber(weapon), entry.stored);
    EXPECT_EQ(Catalog().GetStoredWeapon(entry.stored), weapon);
  }
  EXPECT_EQ(Catalog().GetStoredNumber(nullptr), 0u);
}

// A stored number that names no weapon resolves to none, and the item then
// does nothing when it runs.
TEST_F(WeaponPlanItemsTest, AnUnknownLoadedNumberResolvesToNoWeaponAndDoesNothing) {
  for (uint32_t unknown : {0u, 62u, 65u, 70u, 999u, 1070u, 1075u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(unknown);
    LogicPlanWeaponImpact impact(nullptr, 1, 2, 3, 4);
    Bytes bytes = Save(impact);
    const size_t weaponAt = bytes.size() - 4;
    const Bytes number = BigEndian(unknown);
    std::copy(number.begin(), number.end(), bytes.begin() + static_cast<std::ptrdiff_t>(weaponAt));
    Loaded holder;
    auto* loaded = LoadAs<LogicPlanWeaponImpact>(bytes, holder);
    ASSERT_NE(loaded, nullptr);
    loaded->ResolveReferences();
    EXPECT_EQ(loaded->GetWeapon(), nullptr);
    loaded->Execute(&logic);

    LogicPlanWeaponExecute execute(nullptr, 1, 2, 3);
    Bytes executeBytes = Save(execute);
    std::copy(number.begin(), number.end(),
              executeBytes.begin() + static_cast<std::ptrdiff_t>(executeBytes.size() - 4));
    auto* loadedExecute = LoadAs<LogicPlanWeaponExecute>(executeBytes, holder);
    ASSERT_NE(loadedExecute, nullptr);
    loadedExecute->ResolveReferences();
    EXPECT_EQ(loadedExecute->GetWeapon(), nullptr);
    loadedExecute->Execute(&logic);
  }
  EXPECT_EQ(listener.projectiles, 0);
  EXPECT_EQ(listener.splats, 0);
  EXPECT_TRUE(listener.gore.empty());
  for (const PlanList& bucket : logic.Plan) {
    EXPECT_EQ(bucket.first, nullptr);
  }
  EXPECT_EQ(logic.PlanLongTerm.first, nullptr);
}

// The gore item and the delayed hurt store their fields in the registration
// order, come back whole and do what they carry.
TEST_F(WeaponPlanItemsTest, GoreAndHurtItemsKeepTheirFieldsInRegistrationOrder) {
  LogicPlanGoreMsg gore(14, -2, 2, 1);
  const Bytes goreBytes = Save(gore);
  EXPECT_EQ(Last(goreBytes, 16),
            Concat({BigEndian(14), BigEndian(static_cast<uint32_t>(-2)), BigEndian(2), BigEndian(1)}));
  Loaded holder;
  auto* loadedGore = LoadAs<LogicPlanGoreMsg>(goreBytes, holder);
  ASSERT_NE(loadedGore, nullptr);
  loadedGore->Execute(&logic);
  ASSERT_EQ(listener.gore.size(), 1u);
  EXPECT_EQ(listener.gore[0].x, 14);
  EXPECT_EQ(listener.gore[0].y, -2);
  EXPECT_EQ(listener.gore[0].amount, 2.0f);
  EXPECT_EQ(listener.gore[0].kind, 1);

  LogicPlanHurtThing hurt(5, 0.25f, 1.5f, 7, 8, 9);
  const Bytes hurtBytes = Save(hurt);
  Bytes health(4);
  Bytes cons(4);
  const float healthValue = 0.25f;
  const float consValue = 1.5f;
  std::memcpy(health.data(), &healthValue, 4);  // floats are stored as their raw bytes
  std::memcpy(cons.data(), &consValue, 4);
  EXPECT_EQ(Last(hurtBytes, 24),
            Concat({BigEndian(5), BigEndian(9), health, cons, BigEndian(7), BigEndian(8)}));
  auto* loadedHurt = LoadAs<LogicPlanHurtThing>(hurtBytes, holder);
  ASSERT_NE(loadedHurt, nullptr);
  EXPECT_EQ(loadedHurt->Thing, 5);
  EXPECT_EQ(loadedHurt->Hdamage, 0.25f);
  EXPECT_EQ(loadedHurt->Cdamage, 1.5f);
  EXPECT_EQ(loadedHurt->Sx, 7);
  EXPECT_EQ(loadedHurt->Sy, 8);
  EXPECT_EQ(loadedHurt->Agressor, 9);
  EXPECT_EQ(Save(*loadedHurt), hurtBytes);
  // Thing 5 does not exist: the hurt does nothing.
  loadedHurt->Execute(&logic);
  EXPECT_EQ(listener.gore.size(), 1u);
}

}  // namespace
