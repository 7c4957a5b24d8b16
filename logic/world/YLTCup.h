#pragma once

#include <cstdint>

#include "logic/world/YLThing.h"

// The trophy of the cup game: lies on the ground until a unit carries it.
// Its record's Owner holds the carrier's id (0: not carried).
class YLTCup : public YLThing {
 public:
  // A cup with its record lying at (x, y): alive, armour 1.0, kind 7.
  YLTCup(int32_t x, int32_t y);
  YLTCup();

  const char* GetClassName() const override;

  int32_t PossesionTimer = 0;  // ticks since the last score
};

// A flower field: an obstacle that is trashed when anything stands on it.
class YLTBloemBollen : public YLThing {
 public:
  YLTBloemBollen();

  const char* GetClassName() const override;
  // A fresh footprint with the field's cells by its type name, all under
  // facing 0.
  void BuildGroundMap() override;
};
