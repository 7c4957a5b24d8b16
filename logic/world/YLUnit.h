#pragma once

#include <cstdint>

#include "logic/core/UnitInfo.h"
#include "logic/world/LumoBrain.h"
#include "logic/world/YLThing.h"

class YLTContainerThing;

// The base of every person on the map: a thing whose state lives in its
// unit record, and a brain that decides each frame which move it makes. The
// unit kinds supply the brain's Move and OnBrainMove.
class YLUnit : public YLThing, public LumoBrain {
 public:
  static constexpr uint32_t kStatusNewUnit = StatusAlive | StatusUpright;

  YLUnit();
  // Leaves its container first, so no container keeps its address.
  ~YLUnit() override;

  const char* GetClassName() const override;
  void DoFree() override;

  // The container the unit is in; none on the map.
  YLThing* GetContainer() const override;
  // The unit record's Situation.
  int32_t GetSituation() const override;

  // Records the container that holds the unit. Entering sets status bit 13
  // and the situation the container's kind gives (7, 6 or 5, else
  // unchanged); leaving (null) clears the bit and puts the unit on foot (1).
  virtual void SetContainer(YLTContainerThing* container);
  // The unit record, or null when the record is of another kind.
  UnitInfo* GetUnitInfo() const;

 protected:
  // A unit record: on the map and upright.
  ThingInfo* MakeInfo() const override;

 private:
  void LeaveContainer();

  YLTContainerThing* Container = nullptr;
};
