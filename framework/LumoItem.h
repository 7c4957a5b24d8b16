#pragma once

#include <cstdint>

#include "base/LumoList.h"

class LumoBevel;
class LumoMenu;
class LumoOption;

// One entry of a menu tree; its children (items too) form its sub-menu.
// The item keeps its name in two forms: the name as given, with "&" marking
// the accelerator letter, and the caption shown, without the marks. A
// shortcut key is kept with its display text, so a key that has no name
// can never be a shortcut.
//
// Each item is shown by one option (a page of the menu page) and refers to
// the root of its tree. The item owns its option: freeing the item destroys
// it. The option types: 1 the filler of a bar, 2 the filler of a vertical
// menu, 3 a pop-up entry, 4 an entry of a left or right menu, 5 a bar
// entry, 6 a sub-menu entry, 7 a separator.
class LumoItem : public LumoList {
 public:
  // The option types, by where an option goes and what it does.
  enum tOptionType : int32_t {
    OptionInvalid = 0,
    OptionBarFiller = 1,     // not selectable: the rest of a bar
    OptionColumnFiller = 2,  // not selectable: the rest of a vertical menu
    OptionPopUpEntry = 3,
    OptionSideEntry = 4,     // an entry of a left or right menu
    OptionBarEntry = 5,
    OptionSubMenuEntry = 6,
    OptionSeparator = 7,     // not selectable: draws a separator
  };

  LumoItem();

  const char* GetClassName() const override;
  // The name also sets Caption, Accelerator and AcceleratorIndex.
  const char* SetName(const char* text) override;
  // Destroys the option, lets go of root and bevel, frees the shortcut text
  // and the caption.
  void DoFree() override;
  // Forgets the root, the bevel or the option when it goes.
  void DoAbortReferenceTo(LumoObject* other) override;
  // A new item.
  LumoNode* CreateItem() override;

  // ---- Hooks, in slot order ----

  // The root lays this item's children out at its pop-up position.
  virtual void OpenSubMenu();
  // Opens the item and places its children's options from (x, y); a child
  // on the way to parent (parent itself or one of its ancestors) opens its
  // own sub-menu beside itself.
  virtual void LayOutSubMenu(LumoItem* parent, int32_t x, int32_t y);
  // Each referenced.
  virtual LumoMenu* SetMenuRoot(LumoMenu* menu);
  virtual LumoOption* SetOption(LumoOption* option);
  // ShortcutText names the key with its modifiers; a key that cannot be
  // named (0 included) leaves no shortcut: key, modifiers and text are
  // cleared and 0 answered. Otherwise answers the key.
  virtual uint32_t SetShortcut(uint32_t key, uint32_t modifiers);
  virtual bool SetHidden(bool hidden);
  // Gives an option its type by where it goes: 6 (a sub-menu entry) here;
  // a menu answers by its alignment.
  virtual void SetOptionTypeFor(LumoOption* option);
  virtual bool SetHorizontal(bool horizontal);
  virtual LumoBevel* SetBevel(LumoBevel* bevel);
  // A new bevel.
  virtual LumoBevel* CreateBevel();
  // Each a new option.
  virtual LumoOption* CreateOption();
  virtual LumoOption* CreateFillerOption();
  virtual LumoOption* CreateColumnFillerOption();
  virtual LumoOption* CreateSeparatorOption();
  // Closes the item: the options of hidden children are hidden, every child
  // closes its own sub-menu, the item's option shows its look.
  virtual void CloseSubMenu();
  // The first child whose option is enabled takes the focus.
  virtual void FocusFirst();

  // ---- Operations ----

  // A new child shown by the option, appended; null (nothing changed) without
  // an option, for a name a unique list holds already, or when the child
  // cannot be made. An option of type 0 takes its type from SetOptionTypeFor.
  LumoItem* AddOption(LumoOption* option, const char* name, uint32_t key, uint32_t modifiers);
  // A new entry (CreateOption) of that name; its option is destroyed when it
  // cannot be added.
  LumoItem* AddEntry(const char* name);
  // Unnamed entries: the filler of a bar (type 1), of a vertical menu (type
  // 2), a separator (type 7).
  LumoItem* AddFiller();
  LumoItem* AddColumnFiller();
  LumoItem* AddSeparator();
  // The parent when it is an item, else null.
  LumoItem* ParentItem() const;
  // The root of the tree: MenuRoot, or the item itself when it is a menu.
  LumoMenu* Root();

  // ---- Fields ----

  LumoMenu* MenuRoot = nullptr;  // referenced
  LumoBevel* Bevel = nullptr;    // referenced; the frame of the sub-menu
  LumoOption* Option = nullptr;  // referenced and owned
  uint32_t ShortcutKey = 0;
  uint32_t ShortcutModifiers = 0;
  tCharStr ShortcutText = nullptr;
  tCharStr Caption = nullptr;
  uint32_t Accelerator = 0;  // the upper-cased letter or digit; 0 for none
  int32_t AcceleratorIndex = -1;  // its place in the caption; -1 for none
  bool Hidden = false;
  bool Horizontal = false;
  bool Open = false;

 protected:
  // Sets a referenced field of an item.
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

 private:
  // A new option of the type, added unnamed without shortcut; destroyed
  // when it cannot be added.
  LumoItem* AddUnnamed(LumoOption* option, int32_t type);
};
