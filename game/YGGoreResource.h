#pragma once

#include "game/GraphicHolder.h"

class LumoProperty;

// One graphic of the gore resource set (a splash of one kind and size). Stored as its graphic's name ("Graph").
class YGGoreResource : public GraphicHolder {
 public:
  using GraphicHolder::GraphicHolder;

  const char* GetClassName() const override;

  virtual bool LoadGraph(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGraph(LumoStream* stream, const LumoProperty* property);
};
