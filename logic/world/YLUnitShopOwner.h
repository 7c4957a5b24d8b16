#pragma once

#include <cstdint>
#include <vector>

#include "logic/world/YLUnit.h"

class YLTContainerThing;

// Stands on the door of a shop and shoots at whoever attacks it: steps out,
// shoots the first attacker, and goes back in when nothing has attacked for
// a while.
class YLUnitShopOwner : public YLUnit {
 public:
  // Status bit of the record: out of the shop, defending it.
  static constexpr uint32_t kStatusDefending = 1u << 16;
  // Slow steps the owner stays out after the last attack.
  static constexpr int32_t kDefendSteps = 12;
  // The attackers a stored list may hold: one per thing id.
  static constexpr int32_t kMaxAttackers = 4096;

  YLUnitShopOwner();
  const char* GetClassName() const override;

  // Placed on a shop's door: the shop becomes the owner's and the owner
  // goes inside ("shop set to <id>"); anywhere else it guards nothing ("not
  // on door of shop"). An owner moved off its old shop leaves it first.
  bool OnAddToMap(CMap* map) override;
  // The guarded shop while it is a living container; null otherwise.
  YLTContainerThing* GetShop() const;
  // Attacks are remembered (the units that a stimulus names and whoever
  // last damaged the shop); while any attacker is listed the owner is out
  // and shoots the first; otherwise it counts down and goes back in. A
  // shop that is not in its normal state ends the defence at once.
  void ComputeReflexes() override;
  // The shooting move: at a living unit on the map within the gun's range,
  // it turns one eighth towards it or, facing it, aims and fires (11).
  // Anything else ends the step.
  int32_t DoShoot(float motivation, int32_t targetId, bool fast);
  // AttackShoot needs no route: the owner shoots from where it stands.
  bool MakePlan() override;
  // An AttackShoot step on the first attacker ends: that attacker leaves
  // the list.
  void PlanReached(PsychicPlanItem* item) override;
  // Consciousness drops by (1 - Armor) x damage; a negative damage does
  // nothing.
  bool TakeDamage(float amount) override;

  // "att:", the count and the ids.
  virtual bool LoadAttackers(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAttackers(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadShopID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveShopID(LumoStream* stream, const LumoProperty* property);
  // After the stored properties: "countdown:" and the countdown. A stream
  // without the marker loads an idle owner (-1).
  bool OnLoadFrom(LumoStream* stream) override;
  bool OnSaveTo(LumoStream* stream) override;

  int32_t ShopID = 0;  // the shop it guards
  std::vector<int32_t> Attackers;
  int32_t Countdown = -1;  // -1: idle

 private:
  // Back into the shop: the enter event, the defending bit cleared, idle.
  void EndDefence(YLTContainerThing* shop);
  void Hold();
};
