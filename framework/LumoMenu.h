#pragma once

#include <cstdint>
#include <memory>

#include "framework/LumoItem.h"

class LumoCell;
class LumoFontNode;

// The root of a menu tree. It keeps the settings of the whole tree (font,
// proportional text, bevel style), the shortcut table, where the menu sits
// (a bar along one edge of its menu page, or a pop-up) and the populate
// operations that make and place the options.
//
// The menu page is the cell into which the options and the menu's bevel
// are appended (normally a complex cell, which then carries the menu).
// The root's Hidden flag marks a pop-up menu. Entries are added in the
// menu's DoPopulate or OnPopulate: Populate clears the menu first.
class LumoMenu : public LumoItem {
 public:
  // Alignment: where the menu sits.
  enum tAlignment : int32_t { AlignPopUp = 0, AlignLeft = 1, AlignTop = 2, AlignRight = 3, AlignBottom = 4 };

  LumoMenu();

  const char* GetClassName() const override;
  // Destroys the shortcut table, then frees the item.
  void DoFree() override;
  // Also drops the shortcuts of a vanished option, and a vanished focus
  // option or menu page.
  void DoAbortReferenceTo(LumoObject* other) override;
  // By alignment: 3 for a pop-up, 4 for a left or right menu, 5 for a bar.
  void SetOptionTypeFor(LumoOption* option) override;

  // ---- Hooks, in slot order ----

  // Sizes and defines the option of one item of a bar (of a vertical menu).
  virtual void DoPopulateHorizontal(LumoItem* item, int32_t width, int32_t height);
  virtual void DoPopulateVertical(LumoItem* item, int32_t width, int32_t height);
  // Referenced.
  virtual LumoCell* SetMenuPage(LumoCell* page);
  // 0 takes the engine's default bevel style.
  virtual int32_t SetBevelStyle(int32_t style);
  virtual void SetPopUpPosition(int32_t x, int32_t y);
  virtual int32_t SetAlignment(int32_t alignment);
  // Null takes the engine's built-in font, or the engine's font without one.
  virtual LumoFontNode* SetMenuFont(LumoFontNode* font);
  virtual bool SetProportional(bool on);
  // The width the item's sub-menu needs; 0 when no entry needs more than
  // the frame, and 0 without a font.
  virtual int32_t MeasureWidth(LumoItem* item);
  // LineHeight + 2 x Spacing of the menu font; 0 without a font.
  virtual int32_t ItemHeight();
  // Appends and populates the option of every item of the tree: the root's
  // children side by side (horizontal) or one under another, every deeper
  // level one under another; then frames the root's children with a bevel.
  virtual void PopulateChildren(bool horizontal);
  // Referenced; where the focus returns when an entry is accepted or
  // rejected.
  virtual LumoOption* SetFocusOption(LumoOption* option);
  virtual void OnPopulateHorizontal(LumoItem* item, int32_t width, int32_t height);
  virtual void OnPopulateVertical(LumoItem* item, int32_t width, int32_t height);

  // ---- Operations ----

  // The variant for bars (and left or right menus): clears the menu, takes
  // the settings, lets DoPopulate and OnPopulate add the entries, then makes,
  // places and activates the options. A pop-up menu, a menu without entries
  // or entries that do not suit the alignment are reported.
  void Populate(LumoCell* page, int32_t alignment, int32_t bevelStyle, LumoFontNode* font, bool proportional);
  // The variant for pop-up menus, placed at (x, y) plus the control margin.
  void Populate(LumoCell* page, int32_t x, int32_t y, int32_t bevelStyle, LumoFontNode* font, bool proportional);
  using LumoList::Populate;
  // The guarded Do and On hooks of one item's option.
  void PopulateHorizontal(LumoItem* item, int32_t width, int32_t height);
  void PopulateVertical(LumoItem* item, int32_t width, int32_t height);
  // With an option and a key: a shortcut node (data the option, referenced;
  // ID the key; Tag the modifiers). Answers the node, or null.
  LumoNode* RegisterShortcut(LumoOption* option, uint32_t key, uint32_t modifiers);
  // The option of the first shortcut of that key and modifiers, or null.
  LumoOption* FindShortcut(uint32_t key, uint32_t modifiers) const;
  // Lays the root's children out at (x, y) and focuses the first enabled one.
  void PopUpAt(int32_t x, int32_t y);
  // Whether the root marks a pop-up menu (its Hidden flag).
  bool IsPopUp() const { return Hidden; }

  // ---- Fields ----

  std::unique_ptr<LumoList, tObjectDestroyer> Shortcuts;  // owned; made on first registration
  LumoOption* FocusOption = nullptr;  // referenced
  LumoCell* MenuPage = nullptr;       // referenced
  int32_t Alignment = AlignPopUp;
  int32_t BevelStyle = 0;
  int32_t PopUpX = 0;
  int32_t PopUpY = 0;
  LumoFontNode* MenuFont = nullptr;  // referenced
  bool Proportional = true;

 private:
  // The checks and the population shared by both variants.
  void PopulateMenu(LumoCell* page, int32_t alignment, int32_t x, int32_t y, int32_t bevelStyle,
                    LumoFontNode* font, bool proportional, bool popUp);
  // Appends the option of every child of the item and populates it.
  void PopulateLevel(LumoItem* item, bool horizontal);
  void ReportMenu(const char* text) const;
};
