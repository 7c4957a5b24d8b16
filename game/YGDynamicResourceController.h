#pragma once

#include <cstdint>
#include <memory>

#include "base/LumoList.h"

class LumoGraphicList;
class LumoGraphicNode;
class LumoSequenceList;
class YGCachedSequence;
class YGResourceMove;

// Owns what is made on demand while a level runs: the graphics of colour
// variants (in its own graphic list) and one YGCachedSequence per variant
// sequence list, with the byte counts of both. The game level makes one and
// makes it program-wide; colour variants are made only while one is.
class YGDynamicResourceController : public LumoList {
 public:
  YGDynamicResourceController();
  ~YGDynamicResourceController() override;

  const char* GetClassName() const override;
  // Frees the cached sequences (and with them their lists and graphics)
  // before the graphic list goes.
  void DoFree() override;
  // Both byte counts become 0.
  void OnClear() override;
  // Forgets the first unused node when it leaves the list.
  void DoDetach(LumoNode* item) override;

  // The program-wide controller, or null.
  static YGDynamicResourceController* Current();
  // Makes this the program-wide controller (it stops being one when freed).
  void MakeCurrent();

  // A new black graphic of that size from the own graphic list; null (the
  // node deleted) when it got no surface.
  LumoGraphicNode* CreateGraphic(int32_t width, int32_t height);
  // Appends a node for the list made for (move, sequence, colour), count 0.
  YGCachedSequence* CreateCachedSequence(LumoSequenceList* list, YGResourceMove* move, int32_t sequence,
                                         int32_t colour);
  // The node of a list, null when the list was not made here.
  YGCachedSequence* FindCachedSequence(const LumoSequenceList* list);
  // Runs after a node lost its last reference; unused nodes are all kept
  // (a variant is cheap to keep and costly to make in the middle of a frame).
  void Trim();
  // A move dropped row `sequence`: its nodes above that row move down one.
  void RowRemoved(const YGResourceMove* move, int32_t sequence);

  std::unique_ptr<LumoGraphicList, tObjectDestroyer> GraphicList;
  int64_t SequenceBytes = 0;  // sum of frames x 56 + 64
  int64_t GraphicBytes = 0;   // sum of width x height x 2
  YGCachedSequence* FirstUnused = nullptr;
};
