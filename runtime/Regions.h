#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "base/tList.h"

// Regions: rectangles of the screen that receive mouse input, kept in one
// ordered list. The first region is the bottom one, the last the topmost;
// input walks from the last region down.

using RegionHandle = void*;

class LumoRegion : public tNode {
 public:
  ~LumoRegion() override;

  int32_t Left = 0;  // screen pixels
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  void* UserValue = nullptr;  // the game's value, handed to the input callbacks
  uint8_t MouseInside = 0;    // the cursor was inside at the last mouse move
  uint8_t Initialized = 0;    // the region has had its first mouse move
  // Input history: the last button pressed inside the region and the one
  // before it (0: none), with their times on the millisecond clock.
  int32_t LastButton = 0;
  int32_t PreviousButton = 0;
  uint32_t LastPressTime = 0;
  uint32_t PreviousPressTime = 0;
  // Destroyed during a walk of the list: it stays linked, unseen by the
  // stepping functions, until the last walk ends.
  bool PendingDeletion = false;
};

// ---- Regions (each logs and does nothing without the region list) ----

// A new region at the end of the list (topmost), with both flags clear.
LUMOGAME_API RegionHandle CreateRegion(void* userValue, int32_t left, int32_t top, int32_t width,
                                       int32_t height);
LUMOGAME_API void DestroyRegion(RegionHandle region);
// Stores the rectangle; a region moved across the cursor gets a first mouse
// move again at the next EndScreenUpdate.
LUMOGAME_API void MoveRegion(RegionHandle region, int32_t left, int32_t top, int32_t width,
                             int32_t height);
// Move the second region before (after) the first; both answer null.
LUMOGAME_API RegionHandle MoveRegionBefore(RegionHandle reference, RegionHandle region);
LUMOGAME_API RegionHandle MoveRegionAfter(RegionHandle reference, RegionHandle region);
// Moves the region to the end of the list (topmost).
LUMOGAME_API void OrderRegion(RegionHandle region);
LUMOGAME_API RegionHandle FirstRegion();
LUMOGAME_API RegionHandle LastRegion();
// The following (preceding) region; null at the end and for null.
LUMOGAME_API RegionHandle NextRegion(RegionHandle region);
LUMOGAME_API RegionHandle PreviousRegion(RegionHandle region);
// a's user value when the two rectangles overlap; null when they only touch,
// do not meet, or either is null.
LUMOGAME_API void* CompareRegion(RegionHandle a, RegionHandle b);
LUMOGAME_API void GetRegionBounds(RegionHandle region, int32_t& left, int32_t& top, int32_t& width,
                                  int32_t& height);

// ---- Inside the run-time system ----

inline LumoRegion* RegionOf(RegionHandle region) {
  return static_cast<LumoRegion*>(region);
}

// The region list lives from input start to shutdown.
bool CreateRegionList();
void DeleteRegionList();
bool RegionListExists();
// Changes whenever a region list is created or deleted: a walk that holds
// regions of the list learns from it that they are gone.
uint32_t RegionListGeneration();
int32_t RegionCount();

// Whether every region has had its first mouse move (EndScreenUpdate's test).
bool RegionsInitialized();
void SetRegionsInitialized(bool initialized);

// Whether the point lies inside the region (right and bottom exclusive).
bool RegionContains(const LumoRegion& region, int32_t x, int32_t y);

// Where the cursor is, for MoveRegion's inside test: input reports the last
// mouse position, or that it cannot be had (a window the cursor left). While
// it cannot be had, every region counts as holding the cursor.
void SetRegionCursor(int32_t x, int32_t y);
void ForgetRegionCursor();

// Guards a walk of the region list (input delivery runs callbacks that may
// destroy regions): while one exists, a destroyed region stays linked and
// unseen by FirstRegion, LastRegion, NextRegion and PreviousRegion, and is
// deleted when the last walk ends, so the walk's next step never reads freed
// memory. Walks nest.
class tRegionWalk {
 public:
  tRegionWalk();
  ~tRegionWalk();
  tRegionWalk(const tRegionWalk&) = delete;
  tRegionWalk& operator=(const tRegionWalk&) = delete;
};
