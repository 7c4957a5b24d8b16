#pragma once

#include <cstdint>

#include "framework/LumoSprite.h"

class LumoGraphicNode;
class LumoItem;

// A bevelled frame around a control: up to four edge sprites, one per side,
// each showing a generated edge graphic drawn in the engine's bevel colours.
// The bevel joins the body of the sprite it frames and its edges join the
// bevel's body, so hiding or showing the bevel hides or shows its edges.
//
// Style: bits 1 and 2 draw the outer half of the frame raised (light top
// and left, dark bottom and right) or sunken (the reverse) in the engine's
// outer bevel colours, 4 in the face colour, 8 not at all; bits 16, 32, 64
// and 128 choose alike for the inner half with the inner bevel colours.
// With bit 0x8000 the bevel shows only while its control has the focus.
// Edges: 1 left, 2 top, 4 right, 8 bottom.
class LumoBevel : public LumoSprite {
 public:
  static constexpr uint32_t kDefaultStyle = 0x11;
  static constexpr uint32_t kAllEdges = 15;
  static constexpr uint32_t kFocusOnly = 0x8000;
  enum tSide : uint32_t { SideLeft = 1, SideTop = 2, SideRight = 4, SideBottom = 8 };

  const char* GetClassName() const override;
  // The edge sprites belong to the bevel and go with it.
  void DoFree() override;
  // With the focus-only style, only while the control is a focused control.
  bool CanForceAnimation() override;
  // Draws the frame around the control (its bounds, its margin as the
  // thickness; a scroll bar with its arrows and thumb) and joins its body.
  // Around a menu item the frame encloses its children's options and joins
  // the first one's body.
  void DoPopulate() override;
  void DoAbortReferenceTo(LumoObject* other) override;

  // ---- Hooks, in slot order ----

  virtual uint32_t SetStyle(uint32_t style);
  virtual uint32_t SetEdges(uint32_t edges);
  // Referenced: a control, another sprite or a menu item.
  virtual LumoObject* SetControl(LumoObject* control);
  virtual LumoSprite* SetLeftEdge(LumoSprite* edge);
  virtual LumoSprite* SetTopEdge(LumoSprite* edge);
  virtual LumoSprite* SetRightEdge(LumoSprite* edge);
  virtual LumoSprite* SetBottomEdge(LumoSprite* edge);
  // A new edge sprite of the bevel's cell at (left, top) showing the edge
  // graphic of that size for the side; null without a cell or when a step
  // fails (what was made is destroyed).
  virtual LumoSprite* CreateEdge(int32_t left, int32_t top, int32_t width, int32_t height, uint32_t side);
  virtual LumoSprite* CreateEdgeSprite();
  // The sides of Edges around the rectangle, thickness pixels wide (below 1
  // the engine's control margin); false without a control, for an empty
  // rectangle, without thickness or when an edge cannot be made.
  virtual bool DrawFrame(int32_t left, int32_t top, int32_t width, int32_t height, int32_t thickness);
  // The bevel joins the target's body, the edges the bevel's; the bevel is
  // hidden when the target is hidden or with the focus-only style.
  virtual void AttachToBody(LumoSprite* target);

  // ---- Operations ----

  // Clears the bevel, sets control, style and edges, then populates and
  // activates it.
  void Define(LumoObject* control, uint32_t style, uint32_t edges);
  // The edge sprite of a side (1, 2, 4 or 8), or null.
  LumoSprite* Edge(uint32_t side) const;

  // ---- Fields ----

  uint32_t Style = kDefaultStyle;
  uint32_t Edges = kAllEdges;
  LumoObject* Control = nullptr;  // referenced
  LumoSprite* LeftEdge = nullptr;  // each referenced
  LumoSprite* TopEdge = nullptr;
  LumoSprite* RightEdge = nullptr;
  LumoSprite* BottomEdge = nullptr;

 private:
  // The frame around the options of a menu item's children.
  void PopulateAroundItem(const LumoItem& item);
  LumoSprite*& EdgeField(uint32_t side);
  // Destroys the edges of an earlier frame.
  void DestroyEdges();
  // Draws the mitred lines of a side into a new edge graphic.
  void DrawEdgeLines(LumoGraphicNode* graphic, uint32_t side, int32_t width, int32_t height);
};
