#pragma once

#include <cstdint>
#include <memory>

#include "base/LumoExport.h"
#include "base/LumoObject.h"
#include "base/tString.h"
#include "logic/core/GroundMap.h"

class LumoProperty;
class LumoStream;
class MoveInfo;
class ThingInfo;
class UnitInfo;

// Status bits of a thing's information record that more than one part of the
// logic reads. Bits 24-27 of a vehicle's record hold its vehicle type.
enum ThingStatus : uint32_t {
  StatusAlive = 0x1,             // the thing exists and lives
  StatusScenery = 0x4,           // scenery or obstacle: plays its idle animation
  StatusExplodes = 0x8,          // explodes when destroyed
  StatusBurgled = 0x100,         // a unit that robbed a bank
  StatusUpright = 0x1000,        // a unit standing on its feet
  StatusInContainer = 0x2000,    // a unit inside a building or vehicle
  StatusVehicleTypeMask = 0x0F000000,
  StatusSellsToUnits = 0x4000000,  // a shop that sells to units (pubs)
  StatusWrecked = 0x20000000,    // a building brought down by heavy damage
};
constexpr int32_t kStatusVehicleTypeShift = 24;

// What the first line of a record's debug text reads from the running logic:
// the thing's own text, the name of its type and its current move. The logic
// installs one while it runs; without it those parts stay empty.
class ThingInfoDebugSource {
 public:
  virtual ~ThingInfoDebugSource() = default;
  virtual void AppendThingText(const ThingInfo& info, tString& text) const = 0;
  virtual const char* GetTypeName(int32_t gfx) const = 0;
  virtual const char* GetMoveName(const ThingInfo& info) const = 0;
  virtual int32_t GetMoveLength(const ThingInfo& info) const = 0;
};

// The public state of one thing of the logic: the only view of a thing that
// the game program and the computer players get. The fields are read
// directly by the game program. The property registration order (the stream
// order) differs from the field order.
class ThingInfo : public LumoObject {
 public:
  // A default record: alive, facing 7, full hit points, everything else 0.
  ThingInfo();
  ThingInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner);

  const char* GetClassName() const override;
  // Frees the ground map and forgets the current move.
  void DoFree() override;

  virtual bool IsUnit() const;
  // The record as a unit's record, null when it is none: what a
  // dynamic_cast answers, without its walk of the class tree, for the units'
  // every-frame reads of their own and their neighbours' records.
  virtual UnitInfo* AsUnitInfo();
  virtual bool IsLeader() const;
  virtual bool IsContainer() const;
  virtual bool IsVehicle() const;
  virtual bool IsBuilding() const;
  virtual bool IsShop() const;
  virtual bool IsVehicleContainer() const;
  // Appends a description of the record to the text, the base part first.
  virtual void DebugPrint(tString& text) const;

  virtual bool LoadX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadZ(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveZ(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadStatus(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStatus(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadOri(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOri(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadHp(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHp(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadArmor(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveArmor(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTid(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTid(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadOwner(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOwner(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadGfx(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGfx(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTime(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadBuildingType(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBuildingType(LumoStream* stream, const LumoProperty* property);
  // The current move as its number in the thing class's move table.
  virtual bool LoadReferences(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveReferences(LumoStream* stream, const LumoProperty* property);
  // The ground map as an embedded object (a presence byte and its record).
  virtual bool LoadGroundMap(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGroundMap(LumoStream* stream, const LumoProperty* property);

  // Adds (or removes) one absolute map cell to (from) the footprint of the
  // current orientation. Adding to a record without a ground map first makes
  // one and gives the current orientation its own cell a second time.
  COGITO_API void AddWall(int32_t x, int32_t y, bool remove);

  // The current move and its number in the thing class's move table; the
  // number is what a record stores, the thing turns it back into the move.
  void SetMove(const MoveInfo* move, int32_t number);
  // The facing, 0-7: the low 3 bits of Ori.
  int32_t GetFacing() const { return Ori & 7; }

  // The debug source the logic installs while it runs; null removes it.
  static void SetDebugSource(const ThingInfoDebugSource* source);
  static const ThingInfoDebugSource* GetDebugSource();

  uint32_t Status = StatusAlive;
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Z = 0;
  uint8_t Ori = 7;
  float Hp = 1.0f;
  float Armor = 0.0f;  // fraction of damage absorbed, 0-1
  int32_t Tid = 0;     // index in the logic's thing table
  int32_t Owner = 0;   // owning player, 0 for nobody
  int32_t Gfx = 0;     // type: index of its name in the logic's string library
  int8_t Time = 0;     // ticks spent in the current move; -1 when it ran out
  // The footprint for each orientation, or none.
  std::unique_ptr<GroundMap, tObjectDestroyer> Ground;
  // The move performed now (shared, not owned) and its number.
  const MoveInfo* Move = nullptr;
  int32_t MoveNumber = 0;
  int32_t BuildingType = 0;

 protected:
  // printf-style text appended to a record's debug text.
  static void AppendFormat(tString& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
};

// Makes the free-standing record for a type keyword: units, leaders,
// buildings, pubs, vehicles and shacks get their own classes, anything else
// (and no keyword) a plain record.
COGITO_API ThingInfo* CreateThingInfo(int32_t x, int32_t y, int32_t z, uint8_t ori, int32_t owner,
                                      const char* kind);
// Frees a record through the object model; null is ignored.
COGITO_API void DestroyThingInfo(ThingInfo* info);
