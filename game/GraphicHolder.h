#pragma once

#include "base/LumoObject.h"

class LumoGraphicNode;
class LumoStream;

// The part that gore resources and tiles share: one graphic node, referred
// to (so its end is heard of), stored as its name and provided by name from
// the current level's graphic list when loaded. Not a persistent class of
// its own: each holder registers itself.
class GraphicHolder : public LumoObject {
 public:
  GraphicHolder() = default;
  explicit GraphicHolder(LumoGraphicNode* graphic);

  void DoFree() override;
  void OnAbortReferenceTo(LumoObject* other) override;

  // Refers to the graphic (null lets the old one go).
  void SetGraphic(LumoGraphicNode* graphic);
  LumoGraphicNode* Graphic() const { return Graph; }

  LumoGraphicNode* Graph = nullptr;

 protected:
  // A holder without a graphic writes nothing and fails.
  bool SaveGraphic(LumoStream* stream) const;
  // Fails, logged with the class name, when no graphic results.
  bool LoadGraphic(LumoStream* stream);
};
