#pragma once

#include <cstdint>

#include "base/LumoNode.h"
#include "base/LumoSortedList.h"

class LumoGraphicNode;

// One graphic in use by a resource set: its Data is the level's graphic node
// (not owned), its ID the number of thing resources using it. A loaded entry
// finds its graphic by name in the current level.
class YGResourceGraphic : public LumoNode {
 public:
  YGResourceGraphic();

  const char* GetClassName() const override;
  bool OnLoadFrom(LumoStream* stream) override;

  LumoGraphicNode* Graphic() const { return reinterpret_cast<LumoGraphicNode*>(Data); }
};

// The graphics of a resource set, sorted by name, one entry per graphic.
class YGGraphicResource : public LumoSortedList {
 public:
  YGGraphicResource();

  const char* GetClassName() const override;
  bool DoRegisterObject(LumoObject* object) override;
  LumoNode* CreateItem() override;

  // Stored as a number and dropped when read: the loaded entries sum it anew.
  virtual bool LoadPixels(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePixels(LumoStream* stream, const LumoProperty* property);

  // References the graphic: a new entry (count 1) or one more on its entry.
  // False for a null or nameless graphic.
  bool AddGraphic(LumoGraphicNode* graphic);
  // One reference less on the graphic's entry, never below 0; entries stay.
  bool RemoveGraphic(LumoGraphicNode* graphic);

  // Both ways of adding a graphic (a loaded entry and AddGraphic) add
  // width x height, so the set's Bytes estimate sums one measure: pixels.
  int32_t Pixels = 0;
};
