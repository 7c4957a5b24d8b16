#pragma once

#include <cstdint>

#include "logic/world/YLTContainerThing.h"

class YLUnitLeader;

// The weapon shack: a plain container (no building) with a stock that units
// take for free. Its record is a shack record with a footprint of its own.
// After each of its sales the owner of the unit served hears its money
// again, so the player's panel refreshes.
class YLTLoods : public YLTContainerThing {
 public:
  static constexpr int32_t kLeaderRounds = 6;
  static constexpr int32_t kYobbozerRounds = 3;
  static constexpr int32_t kLeaderGunRounds = 3;

  YLTLoods();

  const char* GetClassName() const override;
  // A shack record and a fresh footprint.
  void CreateInfo(int32_t moveNumber) override;
  bool PlaceKindB() const override;
  void GetDebugText(tString& text) const override;
  // The thing's end; the stock goes with it.
  void Destroy() override;

  // Up to amount doses (1-99) of the stock for a leader inside.
  void SellDopeToLeader(YLUnitLeader* leader, int32_t amount);
  // One dose of the stock for a selectable hard-core unit inside.
  void SellDopeToSelection(YLUnit* unit);
  // The shack's weapon level for a unit inside whose level is not above
  // it, taking the weapon of its type from the stock; a unit whose weapon
  // is out of stock, or of a type the shack arms not, gets nothing.
  void Upgrade(YLUnit* unit);
  // Rounds from the stock: a leader up to 6, a yobbozer of the shack's
  // level up to 3.
  void SellAmmo(YLUnit* unit);
  ShackInfo* GetShackInfo() const;

 protected:
  ThingInfo* MakeInfo() const override;

 private:
  bool Holds(const YLUnit* unit) const;
  // The unit's owner hears its money again.
  void ReportOwnerMoney(const YLUnit& unit) const;
};
