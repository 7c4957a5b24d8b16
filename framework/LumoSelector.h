#pragma once

#include <cstdint>

#include "framework/LumoSprite.h"
#include "runtime/Graphics.h"

class LumoCell;
class LumoGraphicNode;

// A rubber-band selector: once armed, a left press in its cell starts a
// drag, the rectangle shows as four lines in an overlay cell above the
// cell while the mouse moves, and the release reports it (DoSelect,
// OnSelect) in the cell's coordinates. The rectangle spans the press pixel
// and the release pixel whichever way the drag went; a release with no
// distance on either axis is a click and reports nothing. A second press,
// Escape or the cursor leaving cancels the drag.
class LumoSelector : public LumoSprite {
 public:
  static constexpr uint32_t kLeftButtonBit = 1;
  static constexpr int32_t kEscapeKey = 27;
  static constexpr uint32_t kFramesPerPulse = 12;

  // Takes input.
  LumoSelector();

  const char* GetClassName() const override;
  // The overlay cell and the line graphics go with the selector.
  void DoFree() override;
  void DoAbortReferenceTo(LumoObject* other) override;
  // The cell's controls leave the focus; an armed selector starts a drag, a
  // second press cancels it.
  bool DoMouseDown(tInputEvent* event) override;
  // Ends the drag and reports a rectangle with a size.
  bool DoMouseUp(tInputEvent* event) override;
  bool DoKeyDown(tInputEvent* event) override;
  bool DoMouseLeave(tInputEvent* event) override;
  bool DoMouseClick(tInputEvent* event) override;
  // Follows the cursor with the overlay while dragging.
  void DoSelectFrame() override;

  // ---- Hooks, in slot order ----

  virtual void DoSelect(int32_t left, int32_t top, int32_t width, int32_t height);
  // The overlay cell after the selector's cell in the level, with its four
  // edge sprites showing lines of the colour; nothing without a cell.
  virtual void SetUpFrame(int32_t x, int32_t y, int32_t width, int32_t height, const sRGB& colour);
  virtual void OnSelect(int32_t left, int32_t top, int32_t width, int32_t height);

  // ---- Operations ----

  void EnableSelection();
  // Disarms and cancels a drag.
  void DisableSelection();
  // Destroys the overlay cell and the line graphics.
  void DestroyFrame();
  // Clears the selector, places it at (x, y) over width x height and sets
  // the overlay up; then populates and activates it.
  void Define(int32_t x, int32_t y, int32_t width, int32_t height, const sRGB& colour);
  // Define over the whole of its cell.
  void DefineForOwner(const sRGB& colour);
  // A new graphic of the level's graphic list of that size and colour,
  // referenced; the selector destroys it.
  LumoGraphicNode* CreateLineGraphic(int32_t width, int32_t height, const sRGB& colour);

  // ---- Fields ----

  LumoCell* OverlayCell = nullptr;  // each referenced
  LumoSprite* TopEdge = nullptr;
  LumoSprite* BottomEdge = nullptr;
  LumoSprite* LeftEdge = nullptr;
  LumoSprite* RightEdge = nullptr;
  LumoGraphicNode* HorizontalLine = nullptr;
  LumoGraphicNode* VerticalLine = nullptr;
  int32_t StartX = 0;
  int32_t StartY = 0;
  int32_t EndX = 0;
  int32_t EndY = 0;
  int32_t MaxWidth = 0;
  int32_t MaxHeight = 0;
  bool Selecting = false;
  bool Armed = false;

 private:
  void HideOverlay();
  void Cancel();
  // The span of two pixel coordinates, both included: its start and size;
  // false when they are the same (no drag on that axis).
  static bool Span(int32_t from, int32_t to, int32_t& start, int32_t& size);
  // A new edge sprite of the overlay showing the line.
  LumoSprite* MakeEdge(LumoGraphicNode* line);
  template <typename Hook>
  void SelectorGuarded(const char* hook, Hook&& body);
};
