#include "framework/LumoMenu.h"

#include <algorithm>
#include <new>

#include "base/DebugFormat.h"
#include "framework/LumoBevel.h"
#include "framework/LumoCell.h"
#include "framework/LumoDesktop.h"
#include "framework/LumoEngine.h"
#include "framework/LumoFontNode.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoOption.h"

namespace {

// Every character of a text counts for the width.
constexpr uint32_t kAllCharacters = UINT32_MAX;
constexpr char kAcceleratorMark = '&';
// The font's palette entry the options are defined with (the activated
// look's paper).
constexpr int kOptionPaperEntry = 7;
// The sides of the menu's frame.
constexpr uint32_t kAllSides = 15;

int32_t Narrow(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

LumoItem* FirstChild(const LumoItem& item) { return dynamic_cast<LumoItem*>(item.first); }

int32_t OptionTypeOf(const LumoItem* item) {
  return item != nullptr && item->Option != nullptr ? item->Option->OptionType : LumoItem::OptionInvalid;
}

}  // namespace

LumoMenu::LumoMenu() = default;

const char* LumoMenu::GetClassName() const { return "LumoMenu"; }

// A problem found while populating is logged and population goes on. The
// error printer would end the game, which a misbuilt menu must not do.
void LumoMenu::ReportMenu(const char* text) const {
  DebugPrint(text, DebugAddress(this), DebugClassName(this));
}

// ---- Life ----

void LumoMenu::DoFree() {
  Shortcuts.reset();
  // The frame is the menu's own: it leaves the page with the menu.
  if (LumoBevel* bevel = Bevel) {
    SetBevel(nullptr);
    DestroyObject(bevel);
  }
  LumoItem::DoFree();
}

void LumoMenu::DoAbortReferenceTo(LumoObject* other) {
  LumoItem::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  const void* gone = other;
  if (gone == static_cast<const void*>(FocusOption)) {
    FocusOption = nullptr;
  }
  if (gone == static_cast<const void*>(MenuPage)) {
    MenuPage = nullptr;
  }
  if (gone == static_cast<const void*>(MenuFont)) {
    MenuFont = nullptr;
  }
  if (Shortcuts != nullptr) {
    const auto value = reinterpret_cast<uintptr_t>(gone);
    for (LumoNode* node = Shortcuts->first; node != nullptr;) {
      LumoNode* following = node->next;
      if (node->Data == value) {
        DestroyObject(node);
      }
      node = following;
    }
  }
}

// ---- Settings ----

void LumoMenu::SetOptionTypeFor(LumoOption* option) {
  if (option == nullptr) {
    return;
  }
  switch (Alignment) {
    case AlignPopUp:
      option->SetOptionType(OptionPopUpEntry);
      break;
    case AlignLeft:
    case AlignRight:
      option->SetOptionType(OptionSideEntry);
      break;
    default:
      option->SetOptionType(OptionBarEntry);
      break;
  }
}

LumoCell* LumoMenu::SetMenuPage(LumoCell* page) {
  KeepReference(MenuPage, page);
  return MenuPage;
}

int32_t LumoMenu::SetBevelStyle(int32_t style) {
  if (style == 0 && Engine != nullptr) {
    style = Engine->DefaultBevelStyle();
  }
  return BevelStyle = style;
}

void LumoMenu::SetPopUpPosition(int32_t x, int32_t y) {
  PopUpX = x;
  PopUpY = y;
}

int32_t LumoMenu::SetAlignment(int32_t alignment) { return Alignment = alignment; }

LumoFontNode* LumoMenu::SetMenuFont(LumoFontNode* font) {
  if (font == nullptr && Engine != nullptr) {
    font = Engine->DefaultFont != nullptr ? Engine->DefaultFont : Engine->Font;
  }
  KeepReference(MenuFont, font);
  return MenuFont;
}

bool LumoMenu::SetProportional(bool on) { return Proportional = on; }

LumoOption* LumoMenu::SetFocusOption(LumoOption* option) {
  KeepReference(FocusOption, option);
  return FocusOption;
}

void LumoMenu::OnPopulateHorizontal(LumoItem*, int32_t, int32_t) {}
void LumoMenu::OnPopulateVertical(LumoItem*, int32_t, int32_t) {}

// ---- Measures (each reads the menu font; none answers 0) ----

int32_t LumoMenu::MeasureWidth(LumoItem* item) {
  if (item == nullptr || MenuFont == nullptr) {
    return 0;
  }
  const int64_t margin = Engine != nullptr ? Engine->ControlMargin() : 0;
  const int64_t base = 3 * int64_t{MenuFont->Spacing} + 2 * margin;
  int64_t widest = 0;
  for (LumoNode* node = item->first; node != nullptr; node = node->next) {
    auto* child = dynamic_cast<LumoItem*>(node);
    const int32_t type = OptionTypeOf(child);
    if (type != OptionPopUpEntry && type != OptionSideEntry && type != OptionSubMenuEntry) {
      continue;
    }
    int64_t width = MenuFont->TextWidthEx(child->Name, Proportional, kAcceleratorMark, kAllCharacters) + base;
    if (child->ShortcutText != nullptr) {
      width += MenuFont->TextWidth(child->ShortcutText, Proportional) + 2 * int64_t{MenuFont->SpaceWidth};
    }
    widest = std::max(widest, width);
  }
  return widest > base ? Narrow(widest) : 0;
}

int32_t LumoMenu::ItemHeight() {
  if (MenuFont == nullptr) {
    return 0;
  }
  return Narrow(int64_t{MenuFont->LineHeight} + 2 * int64_t{MenuFont->Spacing});
}

// ---- Shortcuts ----

LumoNode* LumoMenu::RegisterShortcut(LumoOption* option, uint32_t key, uint32_t modifiers) {
  if (option == nullptr || key == 0) {
    return nullptr;
  }
  const auto value = reinterpret_cast<uintptr_t>(static_cast<LumoObject*>(option));
  if (Shortcuts == nullptr) {
    Shortcuts.reset(new (std::nothrow) LumoList);
    if (Shortcuts == nullptr) {
      return nullptr;
    }
  }
  // An option populated again keeps its one shortcut.
  for (LumoNode* node = Shortcuts->first; node != nullptr; node = node->next) {
    if (node->Data == value && node->ID == key && static_cast<uint32_t>(node->Tag) == modifiers) {
      return node;
    }
  }
  auto* node = new (std::nothrow) LumoNode;
  if (node == nullptr) {
    return nullptr;
  }
  // The menu refers to the option, so a destroyed option takes its
  // shortcut along.
  if (AddReference(option) == nullptr) {
    DestroyObject(node);
    return nullptr;
  }
  if (Shortcuts->Append(node) == nullptr) {
    RemoveReference(option);
    DestroyObject(node);
    return nullptr;
  }
  node->SetData(value);
  node->SetID(key);
  node->SetTag(static_cast<int32_t>(modifiers));
  return node;
}

LumoOption* LumoMenu::FindShortcut(uint32_t key, uint32_t modifiers) const {
  if (Shortcuts == nullptr) {
    return nullptr;
  }
  for (LumoNode* node = Shortcuts->first; node != nullptr; node = node->next) {
    if (node->ID == key && static_cast<uint32_t>(node->Tag) == modifiers) {
      return static_cast<LumoOption*>(reinterpret_cast<LumoObject*>(node->Data));
    }
  }
  return nullptr;
}

// ---- Populating ----

void LumoMenu::PopulateHorizontal(LumoItem* item, int32_t width, int32_t height) {
  RunGuarded([&] { DoPopulateHorizontal(item, width, height); }, [&] {
    DebugPrint("LumoMenu::PopulateHorizontal() Unhandled exception during DoPopulateHorizontal() (Object=%p:%s "
               "Menu=%p:%s)\n",
               DebugAddress(item), DebugClassName(item), DebugAddress(this), DebugClassName(this));
  });
  RunGuarded([&] { OnPopulateHorizontal(item, width, height); }, [&] {
    DebugPrint("LumoMenu::PopulateHorizontal() Unhandled exception during OnPopulateHorizontal() (Object=%p:%s "
               "Menu=%p:%s)\n",
               DebugAddress(item), DebugClassName(item), DebugAddress(this), DebugClassName(this));
  });
}

void LumoMenu::PopulateVertical(LumoItem* item, int32_t width, int32_t height) {
  RunGuarded([&] { DoPopulateVertical(item, width, height); }, [&] {
    DebugPrint("LumoSubMenu::PopulateVertical() Unhandled exception during DoPopulateVertical() (Object=%p:%s "
               "Menu=%p:%s)\n",
               DebugAddress(item), DebugClassName(item), DebugAddress(this), DebugClassName(this));
  });
  RunGuarded([&] { OnPopulateVertical(item, width, height); }, [&] {
    DebugPrint("LumoSubMenu::PopulateVertical() Unhandled exception during OnPopulateVertical() (Object=%p:%s "
               "Menu=%p:%s)\n",
               DebugAddress(item), DebugClassName(item), DebugAddress(this), DebugClassName(this));
  });
}

namespace {

// A bar entry's width: the caption between a spacing and two blanks.
int64_t BarEntryWidth(const LumoFontNode& font, const LumoItem& item, bool proportional) {
  return int64_t{font.Spacing} + font.TextWidthEx(item.Name, proportional, kAcceleratorMark, kAllCharacters) +
         2 * int64_t{font.SpaceWidth};
}

}  // namespace

void LumoMenu::DoPopulateHorizontal(LumoItem* item, int32_t width, int32_t height) {
  LumoOption* option = item != nullptr ? item->Option : nullptr;
  if (option == nullptr || MenuFont == nullptr) {
    return;
  }
  if (option->Margin == 0 && Engine != nullptr) {
    option->SetMargin(Engine->ControlMargin());
  }
  int64_t size = width;
  switch (option->OptionType) {
    case OptionBarFiller: {
      // What the page leaves beside the bar entries (each measured, so a
      // filler placed before them counts them too).
      size = (MenuPage != nullptr ? int64_t{MenuPage->Width} : 0) -
             (Engine != nullptr ? Engine->MenuFillerAllowance() : 0);
      const LumoList* siblings = item->parent;
      for (LumoNode* node = siblings != nullptr ? siblings->first : nullptr; node != nullptr; node = node->next) {
        const auto* sibling = dynamic_cast<const LumoItem*>(node);
        if (sibling != nullptr && OptionTypeOf(sibling) == OptionBarEntry) {
          size -= BarEntryWidth(*MenuFont, *sibling, Proportional);
        }
      }
      size = std::max<int64_t>(size, 1);
      break;
    }
    case OptionBarEntry:
      size = BarEntryWidth(*MenuFont, *item, Proportional);
      break;
    default:
      DebugPrint(
          "LumoMenu::DoPopulateHorizontal() Invalid option type (Object=%p:%s, Menu=%p:%s, Option=%p:%s, Type=%X)\n",
          DebugAddress(item), DebugClassName(item), DebugAddress(this), DebugClassName(this), DebugAddress(option),
          DebugClassName(option), static_cast<unsigned>(option->OptionType));
      return;
  }
  option->Define(0, 0, Narrow(size), height, MenuFont->Palette[kOptionPaperEntry], MenuFont, Proportional);
}

void LumoMenu::DoPopulateVertical(LumoItem* item, int32_t width, int32_t height) {
  LumoOption* option = item != nullptr ? item->Option : nullptr;
  if (option == nullptr || MenuFont == nullptr) {
    return;
  }
  if (option->Margin == 0 && Engine != nullptr) {
    option->SetMargin(Engine->ControlMargin());
  }
  int64_t size = height;
  switch (option->OptionType) {
    case OptionColumnFiller: {
      size = (MenuPage != nullptr ? int64_t{MenuPage->Height} : 0) -
             (Engine != nullptr ? Engine->MenuFillerAllowance() : 0);
      const LumoList* siblings = item->parent;
      for (LumoNode* node = siblings != nullptr ? siblings->first : nullptr; node != nullptr; node = node->next) {
        if (OptionTypeOf(dynamic_cast<const LumoItem*>(node)) == OptionSideEntry) {
          size -= height;
        }
      }
      size = std::max<int64_t>(size, 1);
      break;
    }
    case OptionPopUpEntry:
    case OptionSideEntry:
    case OptionSubMenuEntry:
      break;
    case OptionSeparator:
      size = height / 2;
      break;
    default:
      DebugPrint(
          "LumoMenu::DoPopulateVertical() Invalid option type (Object=%p:%s, Menu=%p:%s, Option=%p:%s, Type=%X)\n",
          DebugAddress(item), DebugClassName(item), DebugAddress(this), DebugClassName(this), DebugAddress(option),
          DebugClassName(option), static_cast<unsigned>(option->OptionType));
      return;
  }
  option->Define(0, 0, width, Narrow(size), MenuFont->Palette[kOptionPaperEntry], MenuFont, Proportional);
}

void LumoMenu::PopulateLevel(LumoItem* item, bool horizontal) {
  const int32_t width = horizontal ? 0 : MeasureWidth(item);
  const int32_t height = ItemHeight();
  item->VisitItems([&](LumoNode* node) {
    auto* child = dynamic_cast<LumoItem*>(node);
    LumoOption* option = child != nullptr ? child->Option : nullptr;
    if (option == nullptr) {
      return false;
    }
    if (option->parent == nullptr && MenuPage != nullptr) {
      MenuPage->Append(option);
    }
    if (horizontal) {
      PopulateHorizontal(child, width, height);
    } else {
      PopulateVertical(child, width, height);
    }
    return false;
  });
  // Every sub-menu is a column.
  item->VisitItems([&](LumoNode* node) {
    auto* child = dynamic_cast<LumoItem*>(node);
    if (child != nullptr && child->Count > 0) {
      PopulateLevel(child, false);
    }
    return false;
  });
}

void LumoMenu::PopulateChildren(bool horizontal) {
  PopulateLevel(this, horizontal);
  if (Count == 0 || Engine == nullptr || Engine->ControlMargin() == 0 || MenuPage == nullptr) {
    return;
  }
  if (LumoBevel* old = Bevel) {
    SetBevel(nullptr);
    DestroyObject(old);
  }
  LumoBevel* bevel = CreateBevel();
  if (bevel == nullptr) {
    return;
  }
  SetBevel(bevel);
  if (MenuPage->Append(bevel) == nullptr) {
    SetBevel(nullptr);
    DestroyObject(bevel);
    return;
  }
  bevel->Define(this, static_cast<uint32_t>(BevelStyle), kAllSides);
}

void LumoMenu::PopulateMenu(LumoCell* page, int32_t alignment, int32_t x, int32_t y, int32_t bevelStyle,
                            LumoFontNode* font, bool proportional, bool popUp) {
  LumoList::Clear();
  // The entries' arrow graphic is ready in the page's level before any
  // option looks for it.
  auto* level = page != nullptr ? dynamic_cast<LumoLevel*>(page->parent) : nullptr;
  if (level != nullptr && level->GraphicList != nullptr && Engine != nullptr) {
    level->GraphicList->ProvideGraphic(Engine->SubMenuLookName());
  }
  SetAlignment(popUp ? AlignPopUp : alignment);
  SetMenuPage(page);
  const int32_t margin = Engine != nullptr ? Engine->ControlMargin() : 0;
  if (popUp) {
    SetPopUpPosition(Narrow(int64_t{x} + margin), Narrow(int64_t{y} + margin));
  } else {
    SetPopUpPosition(0, 0);
  }
  SetBevelStyle(bevelStyle);
  SetMenuFont(font);
  SetProportional(proportional);
  // Every measure of a menu reads its font: without one (and without an
  // engine font to fall back on) nothing can be sized, so nothing is made.
  if (MenuFont == nullptr) {
    ReportMenu("LumoMenu::Populate() The menu has no font (Menu=%p:%s)\n");
    return;
  }
  if (MenuPage == nullptr) {
    ReportMenu("LumoMenu::Populate() The menu has no page (Menu=%p:%s)\n");
    return;
  }
  DoPopulate();
  OnPopulate();

  if (popUp && !IsPopUp()) {
    ReportMenu("LumoMenu::Populate() This variant of Populate() is reserved for pop-menus only (Menu=%p:%s)\n");
  }
  if (!popUp && IsPopUp()) {
    ReportMenu("LumoMenu::Populate() This variant of Populate() cannot be used by pop-menus (Menu=%p:%s)\n");
  }
  LumoItem* firstChild = FirstChild(*this);
  if (Count == 0) {
    ReportMenu("LumoMenu::Populate() No menu items (Menu=%p:%s)\n");
  } else if (!popUp && firstChild != nullptr) {
    if ((Alignment == AlignLeft || Alignment == AlignRight) && firstChild->Horizontal) {
      ReportMenu("LumoMenu::Populate() Invalid alignment for horizontal menus (Menu=%p:%s)\n");
    }
    if ((Alignment == AlignTop || Alignment == AlignBottom) && !firstChild->Horizontal) {
      ReportMenu("LumoMenu::Populate() Invalid alignment for vertical menus (Menu=%p:%s)\n");
    }
  }

  PopulateChildren(!popUp && (Alignment == AlignTop || Alignment == AlignBottom));

  LumoOption* firstOption = firstChild != nullptr ? firstChild->Option : nullptr;
  if (!popUp && firstOption != nullptr) {
    const int64_t m = firstOption->Margin;
    switch (Alignment) {
      case AlignLeft:
      case AlignTop:
        SetPopUpPosition(Narrow(m), Narrow(m));
        break;
      case AlignRight:
        SetPopUpPosition(Narrow(int64_t{MenuPage->Width} - firstOption->TextWidth - m), Narrow(m));
        break;
      case AlignBottom:
        SetPopUpPosition(Narrow(m), Narrow(int64_t{MenuPage->Height} - firstOption->TextHeight - m));
        break;
      default:
        break;
    }
  }
  if (firstChild != nullptr) {
    LayOutSubMenu(firstChild, PopUpX, PopUpY);
  }
  if (auto* complex = dynamic_cast<LumoComplexCell*>(MenuPage)) {
    complex->SetMenu(this);
  }
  OnActivate();
  DoActivate();
}

void LumoMenu::Populate(LumoCell* page, int32_t alignment, int32_t bevelStyle, LumoFontNode* font,
                        bool proportional) {
  PopulateMenu(page, alignment, 0, 0, bevelStyle, font, proportional, false);
}

void LumoMenu::Populate(LumoCell* page, int32_t x, int32_t y, int32_t bevelStyle, LumoFontNode* font,
                        bool proportional) {
  PopulateMenu(page, AlignPopUp, x, y, bevelStyle, font, proportional, true);
}

void LumoMenu::PopUpAt(int32_t x, int32_t y) {
  SetPopUpPosition(x, y);
  if (LumoItem* firstChild = FirstChild(*this)) {
    LayOutSubMenu(firstChild, PopUpX, PopUpY);
  }
  FocusFirst();
}
