#pragma once

#include <cstdint>

#include "framework/LumoCell.h"

class LumoMenu;
class LumoSelector;
class LumoSprite;

// A cell that keeps a client area: its viewport less its menu and the
// controls aligned to its edges, relative to the viewport's corner. It also
// knows the rubber-band selector among its items. The cell owns the menu
// attached to it: clearing the cell destroys it.
class LumoComplexCell : public LumoCell {
 public:
  const char* GetClassName() const override;
  // Destroys the menu, then clears the cell.
  void DoClear() override;
  void DoAbortReferenceTo(LumoObject* other) override;
  // A selector attached to the cell becomes its Selector.
  void DoAttach(LumoNode* item) override;
  // The cell's viewport, then the client area again.
  void SetViewport(int32_t left, int32_t top, int32_t width, int32_t height) override;

  // ---- Hooks, in slot order ----

  // The viewport less the menu's bar (its first entry's size across the
  // bar and twice that entry's margin) and, for every control of the cell
  // aligned to an edge (1 left, 2 top, 3 right, 4 bottom), its aligned size
  // and twice its margin on that edge; left and top relative to the
  // viewport.
  virtual void CalculateClientArea();
  // Referenced, and the client area worked out again; a pop-up menu is
  // refused (none is kept).
  virtual LumoMenu* SetMenu(LumoMenu* menu);
  // Referenced.
  virtual LumoSelector* SetSelector(LumoSelector* selector);

  // ---- Fields ----

  LumoMenu* Menu = nullptr;          // referenced; destroyed with the cell's contents
  LumoSelector* Selector = nullptr;  // referenced
  int32_t ClientLeft = 0;
  int32_t ClientTop = 0;
  int32_t ClientWidth = 0;
  int32_t ClientHeight = 0;

 protected:
  // Sets a referenced field of a cell.
  template <typename T>
  void KeepReference(T*& field, T* value) {
    if (field == value) {
      return;
    }
    if (field != nullptr) {
      RemoveReference(field);
    }
    field = nullptr;
    if (value != nullptr && AddReference(value) != nullptr) {
      field = value;
    }
  }
};

class LumoModalCell;

// The complex cell over the whole screen of a level: it holds the level's
// windows and, once activated, a modal cell in which modal sprites run
// above everything else.
class LumoDesktop : public LumoComplexCell {
 public:
  const char* GetClassName() const override;
  // The viewport is the whole screen.
  void DoPopulate() override;
  // The cell's activation, then a new modal cell of the level, populated.
  void DoActivate() override;
  void DoAbortReferenceTo(LumoObject* other) override;
  // The complex cell's; no selector is a background here.
  LumoSelector* SetSelector(LumoSelector* selector) override;

  // ---- Hooks, in slot order ----

  // SetSelector; answers Background.
  virtual LumoSprite* SetBackground(LumoSelector* selector);

  // ---- Fields ----

  LumoSprite* Background = nullptr;  // no background kind of selector exists: always none
  LumoModalCell* ModalCell = nullptr;  // referenced
};

// The layer of a desktop's modal sprites. Its blocker, a full-screen sprite
// under the modal sprites, takes every press and key while it is shown, so
// nothing below a modal dialog hears them.
class LumoModalCell : public LumoComplexCell {
 public:
  const char* GetClassName() const override;
  // The whole screen; with a desktop in the level: the hidden blocker, then
  // the desktop's modal sprites move in.
  void DoPopulate() override;
  void DoAbortReferenceTo(LumoObject* other) override;

  LumoSprite* Blocker = nullptr;  // referenced
};
