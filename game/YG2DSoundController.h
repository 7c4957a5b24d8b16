#pragma once

#include <cstdint>

#include "framework/LumoSoundList.h"

class YG2DSoundNode;

// The running level's sound list: its items are positional sound nodes, all
// heard from one listener, the centre of the view. The level moves the
// listener with the view and steps the controller once a frame, which ends
// the duplicates that stopped playing.
class YG2DSoundController : public LumoSoundList {
 public:
  YG2DSoundController();

  const char* GetClassName() const override;
  // A positional sound node at (0, 0), no copies, no source.
  LumoNode* CreateItem() override;

  // Stores the listener and sets volume and pan again for every playing
  // positional node; nodes that do not play are left as they are (they are
  // placed when they next play).
  void SetListener(int32_t x, int32_t y);
  // The effects scale of the running level (0 to 1, clamped); playing nodes
  // are not changed until they are placed again.
  void SetEffectsScale(double scale);
  // A copy of a node of this list (LumoSoundList::DuplicateSound) that
  // records its source, raises the source's copy count and plays as many
  // times as the source does.
  YG2DSoundNode* DuplicateSound(YG2DSoundNode* node);
  // The per-frame step: CheckAll, then every duplicate that no longer plays
  // is stopped and disposed of, its source's copy count lowered by one.
  void Step();

  // ---- Fields ----

  int32_t ListenerX = 0;  // map pixels: the centre of the view
  int32_t ListenerY = 0;
  // The level's effects volume, a factor between 0 and 1. The controller
  // does not ask the level for it: the level sets it when it is populated
  // and again when it continues after the in-game menu (from its
  // GetEffectsScale).
  double EffectsScale = 1.0;
};
