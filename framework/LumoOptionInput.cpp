#include <array>

#include "framework/LumoCell.h"
#include "framework/LumoItem.h"
#include "framework/LumoOption.h"

// The focus, the keys and the mouse of menu options, and the queries that
// walk the menu tree for them.

namespace {

// The parent item of an item, or null at the top of the tree.
LumoItem* ParentItem(const LumoItem* item) { return item != nullptr ? dynamic_cast<LumoItem*>(item->parent) : nullptr; }

LumoOption* EnabledOptionOf(LumoNode* node) {
  auto* item = dynamic_cast<LumoItem*>(node);
  LumoOption* option = item != nullptr ? item->Option : nullptr;
  return option != nullptr && option->Enabled ? option : nullptr;
}

// The first enabled option from node on, walking forward (or backward).
LumoOption* FirstEnabledFrom(LumoNode* node, bool forward) {
  for (; node != nullptr; node = forward ? node->next : node->previous) {
    if (LumoOption* option = EnabledOptionOf(node)) {
      return option;
    }
  }
  return nullptr;
}

// The shape of the level an option stands in, as the arrow keys see it.
enum class tLevel {
  Bar,       // entries of a menu bar, side by side
  Column,    // entries of a pop-up, left or right menu, one under another
  DropDown,  // a sub-menu that hangs from a bar entry
  SideMenu,  // a sub-menu that opens beside a column or sub-menu entry
};

// Where an arrow key sends the focus.
enum class tTarget {
  None,
  Previous,    // the previous enabled sibling
  Next,        // the next enabled sibling
  First,       // the first enabled sibling (the level wraps round)
  Last,        // the last enabled sibling
  FirstChild,  // the first enabled entry of the item's sub-menu
  LastChild,   // the last enabled entry of the item's sub-menu
  Parent,      // the entry the sub-menu hangs from
  NextBranch,  // the next entry of the menu bar above, into its sub-menu
};

struct tArrowRule {
  tLevel level;
  int32_t key;
  tTarget target;
  tTarget atEnd;  // when the target finds no option: the ends of the level
};

// The arrow keys. Along a level the focus moves to the neighbouring enabled
// entry; at the ends a bar and a column wrap round, a drop-down's top goes
// back up to its bar entry. Across a level: a bar entry opens into its
// sub-menu with Down (from its first entry) or Up (from its last), a column
// or sub-menu entry with Right; a sub-menu entry returns to its parent with
// Left; Right on a sub-menu entry without a sub-menu moves on to the next
// entry of the bar above (when there is one).
constexpr std::array<tArrowRule, 16> kArrowRules{{
    {tLevel::Bar, LumoOption::kLeftKey, tTarget::Previous, tTarget::Last},
    {tLevel::Bar, LumoOption::kRightKey, tTarget::Next, tTarget::First},
    {tLevel::Bar, LumoOption::kDownKey, tTarget::FirstChild, tTarget::None},
    {tLevel::Bar, LumoOption::kUpKey, tTarget::LastChild, tTarget::None},
    {tLevel::Column, LumoOption::kUpKey, tTarget::Previous, tTarget::Last},
    {tLevel::Column, LumoOption::kDownKey, tTarget::Next, tTarget::First},
    {tLevel::Column, LumoOption::kRightKey, tTarget::FirstChild, tTarget::None},
    {tLevel::Column, LumoOption::kLeftKey, tTarget::None, tTarget::None},
    {tLevel::DropDown, LumoOption::kUpKey, tTarget::Previous, tTarget::Parent},
    {tLevel::DropDown, LumoOption::kDownKey, tTarget::Next, tTarget::First},
    {tLevel::DropDown, LumoOption::kRightKey, tTarget::FirstChild, tTarget::NextBranch},
    {tLevel::DropDown, LumoOption::kLeftKey, tTarget::Parent, tTarget::None},
    {tLevel::SideMenu, LumoOption::kUpKey, tTarget::Previous, tTarget::Last},
    {tLevel::SideMenu, LumoOption::kDownKey, tTarget::Next, tTarget::First},
    {tLevel::SideMenu, LumoOption::kRightKey, tTarget::FirstChild, tTarget::NextBranch},
    {tLevel::SideMenu, LumoOption::kLeftKey, tTarget::Parent, tTarget::None},
}};

tLevel LevelOf(const LumoOption& option) {
  switch (option.OptionType) {
    case LumoOption::OptionBarEntry:
    case LumoOption::OptionBarFiller:
      return tLevel::Bar;
    case LumoOption::OptionSubMenuEntry: {
      const LumoOption* parent = option.ParentOption();
      return parent != nullptr && parent->OptionType == LumoOption::OptionBarEntry ? tLevel::DropDown
                                                                                    : tLevel::SideMenu;
    }
    default:
      return tLevel::Column;
  }
}

// The bar entry above the option (its own, for a bar entry), or null.
const LumoOption* BarEntryAbove(const LumoOption* option) {
  for (; option != nullptr; option = option->ParentOption()) {
    if (option->OptionType == LumoOption::OptionBarEntry) {
      return option;
    }
  }
  return nullptr;
}

LumoOption* Resolve(const LumoOption& option, tTarget target) {
  switch (target) {
    case tTarget::Previous:
      return option.PreviousEnabledSibling();
    case tTarget::Next:
      return option.NextEnabledSibling();
    case tTarget::First:
      return option.FirstEnabledSibling();
    case tTarget::Last:
      return option.LastEnabledSibling();
    case tTarget::FirstChild:
      return option.FirstEnabledChild();
    case tTarget::LastChild:
      return option.LastEnabledChild();
    case tTarget::Parent:
      return option.ParentOption();
    case tTarget::NextBranch: {
      const LumoOption* bar = BarEntryAbove(&option);
      if (bar == nullptr) {
        return nullptr;
      }
      if (LumoOption* next = bar->NextEnabledSiblingDeep()) {
        return next;
      }
      LumoOption* first = bar->FirstEnabledSibling();
      if (first == nullptr || first == bar) {
        return nullptr;
      }
      LumoOption* inside = first->FirstEnabledChild();
      return inside != nullptr ? inside : first;
    }
    case tTarget::None:
      break;
  }
  return nullptr;
}

}  // namespace

// ---- Navigation ----

LumoOption* LumoOption::NextEnabledSibling() const {
  return Item != nullptr ? FirstEnabledFrom(Item->next, true) : nullptr;
}

LumoOption* LumoOption::PreviousEnabledSibling() const {
  return Item != nullptr ? FirstEnabledFrom(Item->previous, false) : nullptr;
}

LumoOption* LumoOption::FirstEnabledSibling() const {
  return Item != nullptr && Item->parent != nullptr ? FirstEnabledFrom(Item->parent->first, true) : nullptr;
}

LumoOption* LumoOption::LastEnabledSibling() const {
  return Item != nullptr && Item->parent != nullptr ? FirstEnabledFrom(Item->parent->last, false) : nullptr;
}

LumoOption* LumoOption::FirstEnabledChild() const {
  return Item != nullptr ? FirstEnabledFrom(Item->first, true) : nullptr;
}

LumoOption* LumoOption::LastEnabledChild() const {
  return Item != nullptr ? FirstEnabledFrom(Item->last, false) : nullptr;
}

LumoOption* LumoOption::NextEnabledSiblingDeep() const {
  LumoOption* sibling = NextEnabledSibling();
  LumoOption* inside = sibling != nullptr ? sibling->FirstEnabledChild() : nullptr;
  return inside != nullptr ? inside : sibling;
}

LumoOption* LumoOption::PreviousEnabledSiblingDeep() const {
  LumoOption* sibling = PreviousEnabledSibling();
  LumoOption* inside = sibling != nullptr ? sibling->LastEnabledChild() : nullptr;
  return inside != nullptr ? inside : sibling;
}

LumoOption* LumoOption::ParentOption() const {
  LumoItem* parent = ParentItem(Item);
  return parent != nullptr ? parent->Option : nullptr;
}

LumoOption* LumoOption::ArrowTarget(int32_t key) const {
  const tLevel level = LevelOf(*this);
  for (const tArrowRule& rule : kArrowRules) {
    if (rule.level != level || rule.key != key) {
      continue;
    }
    LumoOption* target = Resolve(*this, rule.target);
    return target != nullptr ? target : Resolve(*this, rule.atEnd);
  }
  return nullptr;
}

// ---- Focus ----

bool LumoOption::FocusTarget(LumoOption* target) {
  if (target == nullptr) {
    return false;
  }
  target->Focus();
  return true;
}

void LumoOption::FocusFirstSibling() { FocusTarget(FirstEnabledSibling()); }

void LumoOption::OpenItem() {
  if (Item != nullptr) {
    Item->OpenSubMenu();
  }
}

void LumoOption::CloseItem() {
  if (Item != nullptr) {
    Item->CloseSubMenu();
  }
}

bool LumoOption::IsBranchOf(const LumoItem* branch, const LumoControl* next) {
  const auto* option = dynamic_cast<const LumoOption*>(next);
  for (const LumoItem* item = option != nullptr ? option->Item : nullptr; item != nullptr; item = ParentItem(item)) {
    if (item == branch) {
      return true;
    }
  }
  return false;
}

// An entry without a sub-menu has nothing of its own to open; its parent's
// sub-menu is opened when it is closed, so an entry that takes the focus
// (by a key or a call) is always shown with its level.
void LumoOption::DoEnter(LumoControl*) {
  OpenItem();
  LumoItem* parent = ParentItem(Item);
  if (!HasSubMenu() && parent != nullptr && !parent->Open) {
    parent->OpenSubMenu();
  }
  ShowCurrentLook();
}

// The item's sub-menu closes, and with it every branch above that the focus
// does not go into: otherwise a drop-down would stay open after the focus
// moved to another bar entry, and a pop-up would stay on the screen after
// the focus left the menu.
void LumoOption::DoLeave(LumoControl* next) {
  LumoItem* root = RootItem();
  LumoOption* focusOption = MenuFocusOption();
  if (next == nullptr && focusOption != nullptr && focusOption != this) {
    focusOption->Focus();
  }
  if (!IsBranchOf(Item, next)) {
    CloseItem();
  }
  for (LumoItem* branch = Item != root ? ParentItem(Item) : nullptr; branch != nullptr;
       branch = branch != root ? ParentItem(branch) : nullptr) {
    if (!IsBranchOf(branch, next)) {
      branch->CloseSubMenu();
    }
  }
  ShowCurrentLook();
}

void LumoOption::DoAccept() {
  if (LumoOption* focusOption = MenuFocusOption()) {
    focusOption->Focus();
  } else {
    Leave(nullptr);
  }
}

void LumoOption::DoReject() { DoAccept(); }

void LumoOption::AcceptAndExecute() {
  Accept();
  Execute();
}

// ---- Keys ----

bool LumoOption::DoKeyDown(tInputEvent* event) {
  if (event == nullptr) {
    return false;
  }
  const uint32_t modifiers = event->Flags & kModifierMask;
  LumoItem* root = RootItem();
  // The first entry of a menu answers the menu's shortcuts.
  if (root != nullptr && Item != nullptr && Item->parent == root && root->first == Item && event->Code > 0) {
    LumoOption* found = MenuShortcut(static_cast<uint32_t>(event->Code), modifiers);
    if (found != nullptr && found->Enabled) {
      found->AcceptAndExecute();
      return true;
    }
  }
  // The accelerator: with Alt on a visible entry, without Alt on an entry of
  // an open sub-menu. A disabled entry lets the key go on.
  if (Item != nullptr && Enabled && Item->Accelerator != 0 && event->Code == static_cast<int32_t>(Item->Accelerator) &&
      ((modifiers == kAltBit && !Item->Hidden) || (Item->Hidden && (modifiers & kAltBit) == 0))) {
    const bool wasOpen = Item->Open;
    if (!Focused) {
      Focus();
    }
    if (!HasSubMenu()) {
      AcceptAndExecute();
    } else if (!wasOpen) {
      FocusTarget(FirstEnabledChild());
    }
    return true;
  }
  if (!Focused) {
    return LumoPage::DoKeyDown(event);
  }
  if (modifiers != 0) {
    if (event->Code == kTabKey && modifiers == kShiftBit) {
      Reject();
    }
    return LumoPage::DoKeyDown(event);
  }
  return HandleFocusedKey(event);
}

bool LumoOption::HandleFocusedKey(tInputEvent* event) {
  switch (event->Code) {
    case kTabKey:
      Reject();
      return LumoPage::DoKeyDown(event);
    case kEnterKey:
      // Enter goes into the sub-menu: entering the option opened it, so
      // the first enabled entry takes the focus.
      if (HasSubMenu()) {
        FocusTarget(FirstEnabledChild());
      } else {
        AcceptAndExecute();
      }
      return true;
    case kEscapeKey:
      Reject();
      return true;
    case kEndKey:
    case kHomeKey:
      if (OptionType >= OptionPopUpEntry && OptionType <= OptionSubMenuEntry) {
        FocusTarget(event->Code == kEndKey ? LastEnabledSibling() : FirstEnabledSibling());
        return true;
      }
      return LumoPage::DoKeyDown(event);
    case kLeftKey:
    case kUpKey:
    case kRightKey:
    case kDownKey:
      if (FocusTarget(ArrowTarget(event->Code))) {
        return true;
      }
      return LumoPage::DoKeyDown(event);
    default:
      return LumoPage::DoKeyDown(event);
  }
}

bool LumoOption::DoKeyUp(tInputEvent* event) {
  if (event == nullptr || event->Code != kMenuBarKey || Item == nullptr || Item->Hidden) {
    return LumoPage::DoKeyUp(event);
  }
  LumoItem* root = RootItem();
  if (root == nullptr || Item->parent != root || root->first != Item) {
    return LumoPage::DoKeyUp(event);
  }
  bool anyOpen = false;
  for (LumoNode* child = root->first; child != nullptr; child = child->next) {
    if (auto* item = dynamic_cast<LumoItem*>(child); item != nullptr && item->Open) {
      anyOpen = true;
    }
  }
  if (!anyOpen) {
    FocusFirstSibling();
  } else if (LumoOption* focusOption = MenuFocusOption()) {
    focusOption->Focus();
  } else {
    // The focused entry of the menu leaves, and the menu closes with it.
    LumoCell* cell = Cell();
    LumoControl* focused = cell != nullptr ? cell->GetFocusedControl() : nullptr;
    if (focused != nullptr && IsBranchOf(root, focused)) {
      focused->Leave(nullptr);
    } else {
      root->CloseSubMenu();
    }
  }
  return true;
}

// ---- Mouse ----

bool LumoOption::DoMouseClick(tInputEvent* event) {
  const bool handled = LumoPage::DoMouseClick(event);
  if (!Enabled || !Input || !MouseInput || !MouseOver) {
    return handled;
  }
  if (!HasSubMenu()) {
    AcceptAndExecute();
  } else if (Item != nullptr && !Item->Open) {
    if (LumoOption* first = FirstEnabledChild()) {
      first->OpenItem();
    }
  }
  return true;
}

bool LumoOption::DoMouseMove(tInputEvent* event) {
  const bool handled = LumoPage::DoMouseMove(event);
  if (Enabled && Input && MouseInput && MouseOver && !Focused) {
    Focus();
  }
  return handled;
}
