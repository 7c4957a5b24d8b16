#pragma once

// A running logic for the fighting tests: a map, players 1 and 2 (and the
// police), the weapon catalogue, the unit move table and a listener that
// writes down each fighting event with the frame it came in.

#include <string>
#include <vector>

#include "LogicMapFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLConfig.h"

namespace logic_world_testing {

struct CombatEvent {
  std::string kind;  // "gore", "splat", "projectile", "speech"
  uint32_t frame;
  int32_t a;
  int32_t b;
  float amount;
  int32_t c;
  int32_t d = 0;
};

class CombatListener : public RecordingListener {
 public:
  explicit CombatListener(const CLogic& logic) : logic(logic) {}
  void EventGore(int32_t x, int32_t y, float amount, int32_t kind) override {
    events.push_back({"gore", logic.Time, x, y, amount, kind});
  }
  void EventSplat(int32_t x, int32_t y, float amount, int32_t kind) override {
    events.push_back({"splat", logic.Time, x, y, amount, kind});
  }
  void EventProjectile(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, int32_t kind) override {
    events.push_back({"projectile", logic.Time, fromX, fromY, 0.0f, toX, toY});
    projectileKinds.push_back(kind);
  }
  void EventSpeech(int32_t kind, int32_t subject, int32_t message, int32_t value) override {
    events.push_back({"speech", logic.Time, kind, subject, 0.0f, message, value});
  }
  std::vector<CombatEvent> Of(const std::string& kind) const {
    std::vector<CombatEvent> found;
    for (const CombatEvent& event : events) {
      if (event.kind == kind) {
        found.push_back(event);
      }
    }
    return found;
  }
  const CLogic& logic;
  std::vector<CombatEvent> events;
  std::vector<int32_t> projectileKinds;
};

class CombatTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    logic.DetachListeners();
    ASSERT_TRUE(logic.AddListener(&combat));
    logic.Initialised = true;
    logic.Players.reset(new LumoObjects(true));
    logic.Propagators.reset(new LumoObjects(true));
    logic.Weapons = std::make_unique<WeaponCatalog>();
    logic.Config = std::make_unique<YLConfig>();
    logic.Config->Init("config.txt");
    YLUnit::InitMoveTable();
    logic.CreatePlayer(1);
    logic.CreatePlayer(2);
    logic.CreatePlayer(CLogic::kPolicePlayer);
  }

  // A unit of class T (a quiet test unit by default) of that owner, on the
  // map at (x, y).
  template <typename T = TestUnit>
  T* PutUnit(int32_t id, int32_t owner, int32_t x, int32_t y) {
    T* unit = Put<T>(id, x, y);
    unit->Info->Owner = owner;
    return unit;
  }

  // Parameter p of player id; -1 when there is no such player.
  int32_t Param(int32_t id, ParamEnum p) const {
    const CPlayer* player = logic.GetPlayer(id);
    return player != nullptr ? player->GetParam(p) : -1;
  }

  // Runs frames of the logic.
  void Run(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      ASSERT_TRUE(logic.Compute());
    }
  }

  // Whether any plan list holds an item.
  bool PlanIsEmpty() const {
    for (const PlanList& bucket : logic.Plan) {
      if (bucket.first != nullptr) {
        return false;
      }
    }
    return logic.PlanLongTerm.first == nullptr;
  }

  YLWeapon* Slot(int32_t slot) const { return logic.Weapons->GetSlot(slot); }

  CombatListener combat{logic};
};

}  // namespace logic_world_testing
