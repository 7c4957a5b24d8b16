#pragma once

#include <cstdint>

#include "base/tCollection.h"
#include "logic/core/ContainerInfo.h"
#include "logic/world/YLThing.h"

class YLUnit;

// A thing that holds units: buildings and vehicles derive from it. The
// units stay in the logic's thing table; the container keeps their
// addresses while they are inside and their ids in its record, from which
// it rebuilds the list after loading.
class YLTContainerThing : public YLThing {
 public:
  YLTContainerThing();
  // Lets go of every unit still inside.
  ~YLTContainerThing() override;

  const char* GetClassName() const override;
  // Detaches every unit, the last first, then frees the record.
  void DoFree() override;
  // The record's ids become the list of units again. Ids that name no unit
  // of the logic are dropped from the record with a log line.
  void InitFromType() override;
  // The entrance: X + ExitX, Y + ExitY.
  int32_t GetX() const override;
  int32_t GetY() const override;

  virtual void Enter(YLUnit* unit);
  // Only a unit of this container leaves; any other changes nothing.
  virtual void Leave(YLUnit* unit);
  // A query of one argument that containers answer with true.
  virtual bool CanHold(int32_t value) const;
  // True while the record is not full.
  virtual bool CanEnter(YLUnit* unit) const;
  // The second admission query (homes for the night): here as CanEnter's
  // base, true while the record is not full.
  virtual bool CanEnterHome(YLUnit* unit) const;
  // What kind of place the container is for the units inside (the
  // buildings answer); each decides the units' situation.
  virtual bool PlaceKindA() const;
  virtual bool PlaceKindB() const;
  virtual bool PlaceKindC() const;
  virtual bool PlaceKindD() const;

  void SetMaxItems(int32_t maxItems);
  // The i-th unit inside, or null.
  YLUnit* GetContainedThing(int32_t index) const;
  // Its id; 0 outside the list.
  int32_t GetContainedID(int32_t index) const;
  int32_t GetContainedCount() const;
  // The record as a container record; null when it is none.
  ContainerInfo* GetContainerInfo() const;

 protected:
  ThingInfo* MakeInfo() const override;

 private:
  // Takes a unit into the list without touching the record.
  void Attach(YLUnit* unit);
  // Lets go of every unit, the last first.
  void DetachAll();

  tCollection<YLUnit*> Units;
  // One value per unit inside, always 0; kept for its place in the layout.
  tCollection<int32_t> UnitValues;
};
