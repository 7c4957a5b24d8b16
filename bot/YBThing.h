#pragma once

#include <cstdint>

#include "base/LumoObject.h"
#include "runtime/Graphics.h"

class ContainerInfo;
class ThingInfo;
class UnitInfo;
class YBCommandGroup;
class YBCrewAssignment;
class YBSector;
class YBTask;

// The controller's knowledge record of one thing the logic made: the
// computer player reads the logic's record and never changes it. Records
// are never saved; the controller makes them again at every thing event.
//
// Info points at the logic's record, which the logic owns. The logic's
// DestroyThing export frees a record without any event, so a record of a
// thing destroyed that way would point at freed memory: the level must not
// destroy things through that export while computer players run.
class YBThing : public LumoObject {
 public:
  explicit YBThing(ThingInfo* info = nullptr) : Info(info) {}

  const char* GetClassName() const override { return "YBThing"; }

  virtual int32_t GetX() const;
  virtual int32_t GetY() const;
  // Hit points at 0 or below.
  virtual bool IsGone() const;

  // The thing's identifier (its Tid), 0 without a record.
  int32_t GetID() const;

  ThingInfo* Info = nullptr;
};

// A building or vehicle: a thing others can be inside.
class YBContainer : public YBThing {
 public:
  using YBThing::YBThing;
  const char* GetClassName() const override { return "YBContainer"; }

  // The logic's container record; null when the thing is none.
  ContainerInfo* GetContainerInfo() const;
  int32_t GetContainedCount() const;
  // The identifier of the n-th thing inside; 0 outside the range.
  int32_t GetContainedID(int32_t index) const;
  bool Contains(const YBThing* record) const;
};

class YBBuilding : public YBContainer {
 public:
  using YBContainer::YBContainer;
  const char* GetClassName() const override { return "YBBuilding"; }

  // The entrance: the position plus the exit offset.
  int32_t GetX() const override;
  int32_t GetY() const override;
  // A building is gone when its move is the trashed one (2).
  bool IsGone() const override;
};

class YBVehicle : public YBContainer {
 public:
  using YBContainer::YBContainer;
  const char* GetClassName() const override { return "YBVehicle"; }

  // The sector it stands in, kept by the sector's AddVehicle and
  // RemoveVehicle; null when none.
  YBSector* Sector = nullptr;
};

class YBUnit : public YBThing {
 public:
  using YBThing::YBThing;
  const char* GetClassName() const override { return "YBUnit"; }

  // Hit points at 0 or below, or the status bit that takes a unit out of
  // every list (bit 21).
  bool IsGone() const override;
  // The debug colour of a unit: magenta.
  virtual void GetColour(sRGB& colour) const;

  // The logic's unit record; null when the thing is none.
  UnitInfo* GetUnitInfo() const;
  // The task of the command group the unit is in, null when none.
  YBTask* GetTask() const;

  YBCommandGroup* Group = nullptr;
  YBCrewAssignment* Assignment = nullptr;
};

// Status bits of a thing's record that the computer player tests.
inline constexpr uint32_t kStatusCriminal = 1u << 8;
inline constexpr uint32_t kStatusArrested = 1u << 10;
inline constexpr uint32_t kStatusContained = 1u << 13;
inline constexpr uint32_t kStatusNoLongerCounts = 1u << 21;
// A unit record's move value while the unit lies on the ground, and a
// building record's once the building is trashed.
inline constexpr int32_t kMoveLying = 18;
inline constexpr int32_t kMoveTrashed = 2;
// Unit types (a unit's Gfx) from this one on are no units of a crew.
inline constexpr int32_t kFirstNonCrewType = 15;
