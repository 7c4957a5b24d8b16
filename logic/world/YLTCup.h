#pragma once

#include <cstdint>

#include "logic/world/YLThing.h"

class YLUnit;

// The trophy of the cup game: lies on the ground until a unit steps next to
// it, is then carried, and scores for the carrier's player while it is
// carried. Its record's Owner holds the carrier's id (0: not carried) and
// its status bit 0 means "lying on the ground"; while carried its position
// is (-1, -1). The carrier carries status bit 11.
class YLTCup : public YLThing {
 public:
  // Ticks of carrying per point of score.
  static constexpr int32_t kTicksPerScore = 12;

  // A cup with its record lying at (x, y): on the ground, armour 1.0, kind 7.
  YLTCup(int32_t x, int32_t y);
  YLTCup();

  const char* GetClassName() const override;
  // One tick. Carried by a unit that is neither out nor falling: a point of
  // score for its player every kTicksPerScore ticks. Carried by one that is
  // out, falling or dead: dropped (see Drop). On the ground: the first unit of a
  // player (not the police) on one of the eight neighbouring cells, in the
  // direction order, that is neither out, falling nor arrested picks it up.
  // A carried cup is not dead: the answer is always true.
  bool Propagate() override;
  // "cup carried by %d" or "cup on ground (%d,%d)".
  void GetDebugText(tString& text) const override;

  // The unit carrying the cup: the stored id names a unit that carries the
  // cup mark, so an id freed and given to another thing never counts. Null
  // on the ground.
  YLUnit* GetCarrier() const;
  // Gives the cup to the unit of that id when it belongs to a player other
  // than the police: marks it, takes the mark from the previous carrier,
  // restarts the score clock and stores the carrier. Anything else is
  // refused (false).
  bool SetCarrier(int32_t unitId);
  // The carrier lets the cup fall where it stands: its mark goes, the cup
  // lies on the ground at the carrier's cell, on the map, and is seen to
  // fall. A carrier inside a building or vehicle (its own record off the
  // map) drops it on the nearest free cell around the container's
  // entrance, so the cup stays in the game. Both the tick (a carrier out,
  // falling or dead) and the damage path (a carrier hit from near by) drop
  // the cup through here, and so does a carrier's death (dying inside a
  // breaking building, or jailed).
  void Drop(YLUnit& carrier);

  virtual bool LoadPossesionTimer(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePossesionTimer(LumoStream* stream, const LumoProperty* property);

  int32_t PossesionTimer = 0;  // ticks since the last score

 private:
  // On the ground: the first eligible unit next to the cup picks it up.
  void LookForCarrier();
  // Where the carrier drops the cup; false when the cell may not take the
  // cup onto the map (no free cell near a container's entrance: the cup
  // lies at the entrance without taking the container's cell).
  bool FindDropCell(const YLUnit& carrier, int32_t& x, int32_t& y) const;
};

// A flower field: an obstacle that is trashed as soon as anything stands on
// one of its listed cells. Status bit 0 of its record: intact.
class YLTBloemBollen : public YLThing {
 public:
  YLTBloemBollen();

  const char* GetClassName() const override;
  // A fresh footprint: the field's own cell, then the cells its type name
  // lists, all under facing 0.
  void BuildGroundMap() override;
  // One tick: the plain thing's tick (a field whose hit points are gone is
  // trashed), then, while intact, the trample check: a thing id on any
  // listed facing-0 cell (the own cell left out) trashes the field.
  bool Propagate() override;
  // Any damage trashes the field.
  bool TakeDamage(float amount) override;
  // "bloembollen intact" or "bloembollen trashed".
  void GetDebugText(tString& text) const override;
};
