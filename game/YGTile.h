#pragma once

#include "game/GraphicHolder.h"

class LumoProperty;

// One tile picture of the tile set. Stored as its graphic's name ("Graph").
class YGTile : public GraphicHolder {
 public:
  using GraphicHolder::GraphicHolder;

  const char* GetClassName() const override;

  virtual bool LoadGraph(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGraph(LumoStream* stream, const LumoProperty* property);
};
