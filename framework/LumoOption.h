#pragma once

#include <cstdint>

#include "framework/LumoItem.h"
#include "framework/LumoPage.h"

class LumoGraphicNode;
class LumoMenu;

// The visible entry of a menu: a page that belongs to one menu item and
// draws the item's caption with its accelerator letter underlined, its
// shortcut text, a mark and a sub-menu arrow, in one of four looks
// (activated, selected, hilited, dimmed) recoloured from its font's palette.
// Entering an option opens its item's sub-menu, leaving it closes it; the
// keyboard and the mouse move the focus over the enabled entries of the
// menu tree.
//
// Option types: 0 invalid; 1 (the filler of a bar), 2 (the filler of a
// vertical menu) and 7 (a separator) are never focusable; 3 (a pop-up
// entry), 4 (an entry of a left or right menu) and 6 (an entry of a
// sub-menu) are normal entries; 5 is an entry of a menu bar.
class LumoOption : public LumoPage {
 public:
  // The option types (LumoItem's): OptionInvalid, OptionBarFiller,
  // OptionColumnFiller, OptionPopUpEntry, OptionSideEntry, OptionBarEntry,
  // OptionSubMenuEntry, OptionSeparator.
  using enum LumoItem::tOptionType;

  // The palette entries of each look's ink; its paper is the next entry.
  static constexpr int kActivatedInk = 6;
  static constexpr int kSelectedInk = 0;
  static constexpr int kHilitedInk = 2;
  static constexpr int kDimmedInk = 10;
  static constexpr uint32_t kDefaultFramesPerPulse = 6;

  // Keys the option reads.
  static constexpr int32_t kEnterKey = 13;
  static constexpr int32_t kEscapeKey = 27;
  static constexpr int32_t kEndKey = 35;
  static constexpr int32_t kHomeKey = 36;
  static constexpr int32_t kLeftKey = 37;
  static constexpr int32_t kUpKey = 38;
  static constexpr int32_t kRightKey = 39;
  static constexpr int32_t kDownKey = 40;
  // The release of F10, as the run-time system maps it.
  static constexpr int32_t kMenuBarKey = 7;
  static constexpr uint32_t kAltBit = 32;

  // Input on, focusable, 6 frames per pulse, the engine's option gutter as
  // MinimumSize and the arrow graphic of the current level.
  LumoOption();

  const char* GetClassName() const override;
  // Registers the item's shortcut with the menu, then enables or disables
  // the option by its type; an option of a hidden item is hidden.
  void DoPopulate() override;
  // Shows the current look, then enables (disables) the options of the
  // item's children.
  void DoEnable() override;
  void DoDisable() override;
  // Opens the item's sub-menu.
  void DoEnter(LumoControl* previous) override;
  // Leaving for none hands the focus to the menu's focus option; the item's
  // sub-menu closes, and so does every open branch the focus does not go
  // into (the whole menu when it leaves the menu).
  void DoLeave(LumoControl* next) override;
  // The focus goes back to the menu's focus option, or leaves the option.
  void DoAccept() override;
  void DoReject() override;
  bool DoKeyDown(tInputEvent* event) override;
  // The release of F10 on the first entry of a visible menu toggles the
  // focus between the menu and its focus option.
  bool DoKeyUp(tInputEvent* event) override;
  // A click opens the sub-menu or executes the entry.
  bool DoMouseClick(tInputEvent* event) override;
  // The focus follows the mouse over the menu.
  bool DoMouseMove(tInputEvent* event) override;
  // Forgets the item, the mark or the arrow when it goes.
  void DoAbortReferenceTo(LumoObject* other) override;

  // ---- Hooks, in slot order ----

  // Draws the entry by its type; only with a graphic and a font.
  virtual void DoWrite();
  // Each draws the entry in its look; only with a graphic and a font.
  virtual void DoShowActivated();
  virtual void DoShowSelected();
  virtual void DoShowHilited();
  virtual void DoShowDimmed();
  // The item's open (close) operation.
  virtual void OpenItem();
  virtual void CloseItem();
  // Referenced.
  virtual LumoItem* SetItem(LumoItem* item);
  // Types 1, 2 and 7 make the option unfocusable and take its input region
  // away; any value is stored.
  virtual int32_t SetOptionType(int32_t type);
  // Referenced.
  virtual LumoGraphicNode* SetMark(LumoGraphicNode* mark);
  virtual LumoGraphicNode* SetArrow(LumoGraphicNode* arrow);
  virtual void OnWrite();
  virtual void OnShowActivated();
  virtual void OnShowSelected();
  virtual void OnShowHilited();
  virtual void OnShowDimmed();

  // ---- Operations ----

  void Write();
  void ShowActivated();
  void ShowSelected();
  void ShowHilited();
  void ShowDimmed();
  // Dimmed when disabled, hilited when focused, selected while the item is
  // open, else activated.
  void ShowCurrentLook();
  // The first enabled option among the item's siblings takes the focus.
  void FocusFirstSibling();

  // ---- Navigation over the menu tree ----
  // Each answers the first enabled option found, or null.

  // The next (previous) enabled sibling of the item.
  LumoOption* NextEnabledSibling() const;
  LumoOption* PreviousEnabledSibling() const;
  // The first (last) enabled option of the level the item is in.
  LumoOption* FirstEnabledSibling() const;
  LumoOption* LastEnabledSibling() const;
  // The first (last) enabled option of the item's sub-menu.
  LumoOption* FirstEnabledChild() const;
  LumoOption* LastEnabledChild() const;
  // The deep variants: the sibling found, or the first (last) enabled entry
  // of its sub-menu when it has one.
  LumoOption* NextEnabledSiblingDeep() const;
  LumoOption* PreviousEnabledSiblingDeep() const;
  // The option of the item's parent item, when that is an entry.
  LumoOption* ParentOption() const;
  // The menu the item belongs to, or null.
  LumoMenu* MenuRoot() const;
  // The same menu as the item at the top of the tree.
  LumoItem* RootItem() const;
  // Whether the item has a sub-menu.
  bool HasSubMenu() const;

  // The target of an arrow key (37 to 40) from this option, by the arrow
  // table; null when the key leads nowhere.
  LumoOption* ArrowTarget(int32_t key) const;

  // ---- Fields ----

  LumoItem* Item = nullptr;  // referenced
  int32_t OptionType = OptionInvalid;
  LumoGraphicNode* Mark = nullptr;   // referenced; drawn in the gutter
  LumoGraphicNode* Arrow = nullptr;  // referenced; drawn beside a sub-menu

 private:
  // The menu's focus option, and the option of a shortcut; null without a
  // menu.
  LumoOption* MenuFocusOption() const;
  LumoOption* MenuShortcut(uint32_t key, uint32_t modifiers) const;
  // The item's shortcut joins the menu's shortcuts (once).
  void RegisterShortcut();
  // Paper, ClearPage, Write, then ink and paper recoloured to the palette pair.
  void DrawLook(int inkEntry);
  // Draws a line of the colour across [left, left + width) on row y, cut to
  // the graphic.
  void DrawRow(int32_t left, int32_t width, int32_t y, const sRGB& colour);
  // The underline of the accelerator letter, the caption drawn from x.
  void UnderlineAccelerator(int32_t captionLeft);
  // Whether the option lies on the path of next's item (so its branch
  // stays open when the focus goes there).
  static bool IsBranchOf(const LumoItem* branch, const LumoControl* next);
  // The key's work once the option has the focus and no modifier is held.
  bool HandleFocusedKey(tInputEvent* event);
  // Accept, then Execute.
  void AcceptAndExecute();
  // Focuses the target; false for none.
  static bool FocusTarget(LumoOption* target);
  // Runs a hook; a fault is reported as "LumoOption::<operation>() Unhandled
  // exception during <hook>() (Control=%p:%s)" and passed on.
  template <typename Hook>
  void OptionGuarded(const char* operation, const char* hook, Hook&& body) {
    RunGuarded(std::forward<Hook>(body), [&] { ReportOptionFault(operation, hook); });
  }
  void ReportOptionFault(const char* operation, const char* hook) const;
};
