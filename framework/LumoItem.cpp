#include "framework/LumoItem.h"

#include <algorithm>
#include <new>

#include "framework/LumoBevel.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoMenu.h"
#include "framework/LumoOption.h"
#include "runtime/Keyboard.h"

LumoItem::LumoItem() = default;

const char* LumoItem::GetClassName() const { return "LumoItem"; }

LumoNode* LumoItem::CreateItem() { return new (std::nothrow) LumoItem; }

const char* LumoItem::SetName(const char* text) {
  const char* name = LumoList::SetName(text);
  if (name == nullptr) {
    FreeCharStr(Caption);
    Accelerator = 0;
    AcceleratorIndex = -1;
    return name;
  }
  int32_t index = -1;
  const char accelerator = StringToAccelerator(name, Caption, index);
  Accelerator = static_cast<unsigned char>(accelerator);
  AcceleratorIndex = accelerator != 0 ? index : -1;
  return name;
}

uint32_t LumoItem::SetShortcut(uint32_t key, uint32_t modifiers) {
  if (key == 0 || key > static_cast<uint32_t>(INT32_MAX) ||
      !KeyToString(static_cast<int32_t>(key), modifiers, ShortcutText)) {
    ShortcutKey = 0;
    ShortcutModifiers = 0;
    FreeCharStr(ShortcutText);
    return 0;
  }
  ShortcutKey = key;
  ShortcutModifiers = modifiers;
  return key;
}

bool LumoItem::SetHidden(bool hidden) {
  Hidden = hidden;
  return Hidden;
}

bool LumoItem::SetHorizontal(bool horizontal) {
  Horizontal = horizontal;
  return Horizontal;
}

LumoMenu* LumoItem::SetMenuRoot(LumoMenu* menu) {
  KeepReference(MenuRoot, menu);
  return MenuRoot;
}

LumoBevel* LumoItem::SetBevel(LumoBevel* bevel) {
  KeepReference(Bevel, bevel);
  return Bevel;
}

LumoBevel* LumoItem::CreateBevel() { return new (std::nothrow) LumoBevel; }

LumoItem* LumoItem::ParentItem() const { return dynamic_cast<LumoItem*>(parent); }

void LumoItem::DoAbortReferenceTo(LumoObject* other) {
  LumoList::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  if (static_cast<const void*>(other) == static_cast<const void*>(MenuRoot)) {
    MenuRoot = nullptr;
  }
  if (static_cast<const void*>(other) == static_cast<const void*>(Bevel)) {
    Bevel = nullptr;
  }
  if (static_cast<const void*>(other) == static_cast<const void*>(Option)) {
    Option = nullptr;
  }
}

namespace {

// The size of an option's drawing graphic (0 x 0 without one).
void OptionSize(const LumoOption* option, int32_t& width, int32_t& height) {
  width = 0;
  height = 0;
  if (option != nullptr && option->Graphic != nullptr) {
    width = option->Graphic->Width;
    height = option->Graphic->Height;
  }
}

// Whether item is target or one of target's ancestors.
bool LeadsTo(const LumoItem* item, const LumoNode* target) {
  for (const LumoNode* walker = target; walker != nullptr; walker = walker->parent) {
    if (walker == item) {
      return true;
    }
  }
  return false;
}

}  // namespace

LumoMenu* LumoItem::Root() {
  if (MenuRoot != nullptr) {
    return MenuRoot;
  }
  return dynamic_cast<LumoMenu*>(this);
}

LumoOption* LumoItem::SetOption(LumoOption* option) {
  KeepReference(Option, option);
  return Option;
}

void LumoItem::SetOptionTypeFor(LumoOption* option) {
  if (option != nullptr) {
    option->SetOptionType(OptionSubMenuEntry);
  }
}

LumoOption* LumoItem::CreateOption() { return new (std::nothrow) LumoOption; }
LumoOption* LumoItem::CreateFillerOption() { return new (std::nothrow) LumoOption; }
LumoOption* LumoItem::CreateColumnFillerOption() { return new (std::nothrow) LumoOption; }
LumoOption* LumoItem::CreateSeparatorOption() { return new (std::nothrow) LumoOption; }

void LumoItem::OpenSubMenu() {
  LumoMenu* root = Root();
  // The path handed down ends at the first child, so every item from the
  // root to this one opens and this one's children are placed.
  if (root != nullptr && first != nullptr) {
    root->LayOutSubMenu(dynamic_cast<LumoItem*>(first), root->PopUpX, root->PopUpY);
  }
}

void LumoItem::LayOutSubMenu(LumoItem* parent, int32_t x, int32_t y) {
  Open = true;
  LumoMenu* root = Root();
  const LumoCell* page = root != nullptr ? root->MenuPage : nullptr;
  const int64_t pageWidth = page != nullptr ? page->Width : 0;
  const int64_t pageHeight = page != nullptr ? page->Height : 0;
  const int64_t pageMargin = Engine != nullptr ? Engine->ControlMargin() : 0;

  // A column that would pass the bottom of the page moves up to end at the
  // page's bottom less its margin; a row is as high as its highest entry.
  int64_t total = 0;
  for (LumoNode* node = first; node != nullptr; node = node->next) {
    auto* child = dynamic_cast<LumoItem*>(node);
    int32_t width = 0;
    int32_t height = 0;
    OptionSize(child != nullptr ? child->Option : nullptr, width, height);
    total = child != nullptr && child->Horizontal ? std::max<int64_t>(total, height) : total + height;
  }
  int64_t row = y;
  if (page != nullptr && row + total > pageHeight) {
    row = pageHeight - pageMargin - total;
  }
  int64_t column = x;

  // The right end of this item's own entry, for a column below a bar entry.
  int64_t parentRight = pageWidth;
  if (Horizontal && Option != nullptr) {
    int32_t width = 0;
    int32_t height = 0;
    OptionSize(Option, width, height);
    parentRight = int64_t{Option->Left} + width;
  }

  const auto narrow = [](int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
  };
  // The opened entries go on top of their page, drawn last and so first to
  // take the clicks (a sprite's region follows its drawing order), above
  // controls added to the page after the menu. A sub-menu opened below is
  // raised after them, so it lies above its own column.
  VisitItems([&](LumoNode* node) {
    auto* child = dynamic_cast<LumoItem*>(node);
    if (child != nullptr && child->Option != nullptr && child->Option->parent != nullptr &&
        child->Option->parent->last != child->Option) {
      child->Option->MoveToBack();
    }
    return false;
  });
  VisitItems([&](LumoNode* node) {
    auto* child = dynamic_cast<LumoItem*>(node);
    LumoOption* option = child != nullptr ? child->Option : nullptr;
    if (option == nullptr) {
      return false;
    }
    option->ForceAnimation();
    int32_t width = 0;
    int32_t height = 0;
    OptionSize(option, width, height);
    int64_t left = column;
    // A column that would pass the page's right edge ends there, or, below
    // a bar entry, at that entry's right end.
    if (!child->Horizontal && page != nullptr && left + width > pageWidth) {
      left = (Horizontal ? parentRight : pageWidth) - width;
    }
    option->SetPosition(narrow(left), narrow(row));
    if (child != parent && child->Count > 0 && LeadsTo(child, parent)) {
      // A column opens to the right of its entry, a row below it.
      if (child->Horizontal) {
        child->LayOutSubMenu(parent, narrow(left), narrow(row + height));
      } else {
        child->LayOutSubMenu(parent, narrow(left + width), narrow(row));
      }
    }
    option->ShowCurrentLook();
    if (child->Horizontal) {
      column += width;
    } else {
      row += height;
    }
    return false;
  });
}

void LumoItem::CloseSubMenu() {
  Open = false;
  VisitItems([&](LumoNode* node) {
    auto* child = dynamic_cast<LumoItem*>(node);
    if (child == nullptr) {
      return false;
    }
    if (child->Hidden && child->Option != nullptr) {
      child->Option->PreventAnimation();
    }
    child->CloseSubMenu();
    return false;
  });
  if (Option != nullptr) {
    Option->ShowCurrentLook();
  }
}

void LumoItem::FocusFirst() {
  VisitItems([&](LumoNode* node) {
    auto* child = dynamic_cast<LumoItem*>(node);
    if (child == nullptr || child->Option == nullptr || !child->Option->Enabled) {
      return false;
    }
    child->Option->Focus();
    return true;
  });
}

LumoItem* LumoItem::AddOption(LumoOption* option, const char* name, uint32_t key, uint32_t modifiers) {
  if (option == nullptr) {
    return nullptr;
  }
  if (IsUnique() && name != nullptr && FindByName(name) != nullptr) {
    return nullptr;
  }
  LumoNode* made = CreateItem();
  auto* child = dynamic_cast<LumoItem*>(made);
  if (child == nullptr || (name != nullptr && child->SetName(name) == nullptr) || Append(child) == nullptr) {
    DestroyObject(made);
    return nullptr;
  }
  if (option->OptionType == OptionInvalid) {
    SetOptionTypeFor(option);
  }
  option->SetItem(child);
  const int32_t type = option->OptionType;
  child->SetHorizontal(type == OptionBarEntry || type == OptionBarFiller);
  LumoMenu* root = Root();
  child->SetMenuRoot(root);
  // The root's entries show with the root (a pop-up's are hidden until it
  // pops up); deeper entries are hidden until their parent opens.
  child->SetHidden(root == this ? Hidden : true);
  child->SetOption(option);
  child->SetShortcut(key, modifiers);
  return child;
}

LumoItem* LumoItem::AddEntry(const char* name) {
  LumoOption* option = CreateOption();
  if (option == nullptr) {
    return nullptr;
  }
  LumoItem* child = AddOption(option, name, 0, 0);
  if (child == nullptr) {
    DestroyObject(option);
  }
  return child;
}

LumoItem* LumoItem::AddUnnamed(LumoOption* option, int32_t type) {
  if (option == nullptr) {
    return nullptr;
  }
  option->SetOptionType(type);
  LumoItem* child = AddOption(option, nullptr, 0, 0);
  if (child == nullptr) {
    DestroyObject(option);
  }
  return child;
}

LumoItem* LumoItem::AddFiller() { return AddUnnamed(CreateFillerOption(), OptionBarFiller); }
LumoItem* LumoItem::AddColumnFiller() { return AddUnnamed(CreateColumnFillerOption(), OptionColumnFiller); }
LumoItem* LumoItem::AddSeparator() { return AddUnnamed(CreateSeparatorOption(), OptionSeparator); }

void LumoItem::DoFree() {
  // The option belongs to the item, wherever it was appended.
  if (LumoOption* option = Option) {
    SetOption(nullptr);
    DestroyObject(option);
  }
  SetMenuRoot(nullptr);
  SetBevel(nullptr);
  FreeCharStr(ShortcutText);
  FreeCharStr(Caption);
  LumoList::DoFree();
}
