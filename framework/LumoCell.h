#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/LumoAnimator.h"
#include "framework/LumoCommandList.h"
#include "runtime/Viewports.h"

class LumoControl;
class LumoGraphicNode;
class LumoSprite;

// A rectangular window on the screen: a container animator whose items are
// sprites and controls, drawn through the cell's own viewport (the node's
// Data, made when the cell is loaded or given a rectangle), with a scrollable
// virtual area behind it. The cell runs a frame-timed command script (its
// command list, checked at the cell's frame counter) and can print its
// picture. Sprite positions are in the coordinates of the virtual area; the
// offset is the virtual point shown at the viewport's top-left corner.
class LumoCell : public LumoAnimator {
 public:
  LumoCell();
  // A cell deleted without being freed still gives its viewport back.
  ~LumoCell() override;

  const char* GetClassName() const override;
  // Destroys the command list and the focus list, then frees the animator.
  void DoFree() override;
  // A control deleted elsewhere leaves the focus order.
  void OnAbortReferenceTo(LumoObject* other) override;
  // Empties the command list and the focus list, then the animator's fields.
  void DoClear() override;
  // A sprite.
  LumoNode* CreateItem() override;
  // A control joins the focus order (once), which references it.
  void DoAttach(LumoNode* item) override;
  // The cell owns the viewport its Data holds: a new value (an assignment
  // gives none) destroys the old viewport first.
  uintptr_t SetData(uintptr_t value) override;
  // Makes the viewport again from the stored rectangle.
  uintptr_t Load() override;
  // Stops the animation and destroys the viewport.
  void Unload() override;
  void DebugDumpFields() override;
  // The cell and its items, then its command list (only while the debug log
  // is on).
  void DebugDump(bool missingOnly) override;
  // Reports a cell outside a level and a cell without a size; activation
  // goes on; then every control of the focus order is completed.
  void DoActivate() override;
  // Runs the commands due at the cell's frame counter, then the items' frame.
  void DoSelectFrame() override;
  // Only a cell that is an item of a level and has a positive size may
  // animate; otherwise the reason is reported.
  bool CanStartAnimation() override;
  // Rewinds the command list and selects every frame graphic of every item
  // (each once), then starts the items.
  void DoStartAnimation() override;
  // Unselects the frame graphics, then stops the items.
  void DoStopAnimation() override;

  // Ignored unless width and height are positive. The same size only moves
  // the viewport; a new size makes a new one and marks every item changed.
  virtual void SetViewport(int32_t left, int32_t top, int32_t width, int32_t height);
  // Never smaller than the viewport; the scroll position is clamped again.
  virtual void SetVirtualSize(int32_t width, int32_t height);
  // Scrolls the viewport over the virtual area, clamped to it; the items
  // showing a frame get their actual bounds again.
  virtual void SetOffsetXY(int32_t x, int32_t y);
  // The focus walks over the focus order. A usable control has a parent and
  // is focusable, enabled and animating.
  // The first focused control with a parent, or null.
  virtual LumoControl* GetFocusedControl();
  // The first (last) usable control.
  virtual LumoControl* GetFirstFocus(bool skipOptions);
  virtual LumoControl* GetLastFocus(bool skipOptions);
  // The usable control before (after) current, wrapping round; null without
  // current, for one outside the order, and when none but current is usable.
  virtual LumoControl* GetPreviousFocus(LumoControl* current, bool skipOptions);
  virtual LumoControl* GetNextFocus(LumoControl* current, bool skipOptions);
  // Runs when printing at once failed; empty.
  virtual void OnPrintError();
  // Runs after the offset changed, with the old offset; false stops the
  // scroll's bookkeeping of the items. True here.
  virtual bool OnVirtualScroll(int32_t oldX, int32_t oldY);

  // SetViewport at another place with the same size.
  void MoveTo(int32_t left, int32_t top);
  // The matching Get walk, then Focus on the control found; each answers it.
  LumoControl* FirstFocus(bool skipOptions);
  LumoControl* LastFocus(bool skipOptions);
  LumoControl* PreviousFocus(LumoControl* current, bool skipOptions);
  LumoControl* NextFocus(LumoControl* current, bool skipOptions);
  // Disables the controls with that tag (every control), last to first;
  // answers the control that was focused before.
  LumoControl* Disable(int32_t tag);
  LumoControl* DisableAll();
  // Enables the controls with that tag (every control), first to last; then
  // focuses the given control when it can be, else answers the focused
  // control, else focuses the first usable one.
  LumoControl* Enable(int32_t tag, LumoControl* control);
  LumoControl* EnableAll(LumoControl* control);
  // Every control leaves the focus for none; answers the first that was
  // focused and animating.
  LumoControl* ReleaseFocus();

  // Copies the viewport's picture into the node's graphic at (x, y);
  // nothing for none.
  void CaptureInto(LumoGraphicNode* node, int32_t x, int32_t y);
  // A new item (CreateItem) placed at (x, y) and appended; null when it
  // could not be made or is not a sprite.
  LumoSprite* AddSpriteAt(int32_t x, int32_t y);
  // Deferred: a print command for this cell two frames from now (none while
  // the engine's commands are locked). At once: prints the viewport, and
  // runs OnPrintError when that failed.
  void Print(bool deferred);

  ViewportHandle Viewport() const { return reinterpret_cast<ViewportHandle>(Data); }

  // ---- Fields ----

  // One node per control of the cell, in the order they were attached; a
  // node's Data is the control (as a LumoObject), which the cell references.
  std::unique_ptr<LumoList, tObjectDestroyer> FocusList;
  std::unique_ptr<LumoCommandList, tObjectDestroyer> CommandList;
  int32_t Left = 0;  // the viewport on the screen
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t VirtualWidth = 0;  // the scrollable area, never smaller than the viewport
  int32_t VirtualHeight = 0;
  int32_t OffsetX = 0;  // the virtual point at the viewport's corner
  int32_t OffsetY = 0;

 protected:
  // The two faults that keep a cell from animating, reported under the
  // operation's name (the first only, unless every one is asked for);
  // answers whether there was none.
  bool CheckPlacement(const char* operation, bool reportEvery) const;

 private:
  // Calls visit(graphic node) for the graphic of every frame of every
  // sequence of every item.
  template <typename Visit>
  void ForEachFrameGraphic(Visit&& visit);
  // Drops the references to the controls of the focus list and empties it.
  void ClearFocusList();
  // The controls of the focus order, first to last.
  std::vector<LumoControl*> FocusControls() const;
  // The focus order's node of a control, or null.
  LumoNode* FocusNodeOf(const LumoControl* control) const;
  static bool IsUsable(const LumoControl* control, bool skipOptions);
  LumoControl* WalkFocus(LumoControl* current, bool skipOptions, int step);
  // Enables (disables) the controls of the focus order that pass the test.
  template <typename Test>
  void EnableWhere(Test&& test);
  template <typename Test>
  void DisableWhere(Test&& test);
  LumoControl* EnableAndFocus(LumoControl* control);
  void ReleaseViewport();
};
