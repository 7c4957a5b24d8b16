#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "PageFixture.h"
#include "framework/LumoBevel.h"
#include "framework/LumoDesktop.h"
#include "framework/LumoMenu.h"
#include "framework/LumoOption.h"
#include "runtime/Cursor.h"
#include "runtime/Keyboard.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

// A menu whose entries are added by the test in OnPopulate, as a game's
// menus add theirs.
class TestMenu : public LumoMenu {
 public:
  const char* GetClassName() const override { return "TestMenu"; }
  void OnPopulate() override {
    ++populates;
    if (entries) {
      entries(*this);
    }
  }
  std::function<void(TestMenu&)> entries;
  int populates = 0;
};

// The exact log line of a menu report.
std::string MenuLine(const char* format, const LumoMenu* menu) {
  char line[512];
  std::snprintf(line, sizeof line, format, DebugAddress(menu), DebugClassName(menu));
  return line;
}

// The page fixture's font (letters 5 wide with their spacing, 'i' 3, a
// blank 4, lines 8 high with a spacing of 1) on a complex cell of 400 x 300.
class MenuTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    page = AddCell<LumoComplexCell>(0, 0, 400, 300);
    ASSERT_EQ(Engine->ControlMargin(), 2);
    ASSERT_EQ(Engine->MenuFillerAllowance(), 24);
    ASSERT_EQ(Engine->DefaultBevelStyle(), 33);
  }

  TestMenu* NewMenu(std::function<void(TestMenu&)> entries) {
    auto* menu = new TestMenu;
    menu->entries = std::move(entries);
    menus.push_back(menu);
    return menu;
  }

  void TearDown() override {
    for (TestMenu* menu : menus) {
      if (page != nullptr && page->Menu == menu) {
        continue;  // the cell destroys its own
      }
      DestroyObject(menu);
    }
    PageFixture::TearDown();
  }

  static LumoItem* Child(LumoItem& item, int32_t index) { return dynamic_cast<LumoItem*>(item.At(index)); }
  static std::vector<int32_t> PlaceOf(const LumoOption* option) {
    return {option->Left, option->Top, option->Graphic->Width, option->Graphic->Height};
  }
  std::vector<int32_t> ClientArea() const {
    return {page->ClientLeft, page->ClientTop, page->ClientWidth, page->ClientHeight};
  }

  LumoComplexCell* page = nullptr;
  std::vector<TestMenu*> menus;
};

// A bar of two entries and a filler; the first entry has a sub-menu whose
// second entry has a shortcut.
void BarEntries(TestMenu& menu) {
  LumoItem* file = menu.AddEntry("&File");
  menu.AddEntry("&Edit");
  menu.AddFiller();
  file->AddEntry("&Open");
  LumoItem* save = file->AddEntry("&Save");
  save->SetShortcut('X', InputControl);
}

TEST_F(MenuTest, ATopBarTypesPlacesAndFramesItsEntries) {
  TestMenu* menu = NewMenu(BarEntries);
  menu->Populate(page, LumoMenu::AlignTop, 0, font, true);
  EXPECT_EQ(menu->populates, 1);
  ASSERT_EQ(menu->Count, 3);
  LumoItem* file = Child(*menu, 0);
  LumoItem* edit = Child(*menu, 1);
  LumoItem* filler = Child(*menu, 2);
  // Bar entries 5, the bar's filler 1, the sub-menu's entries 6.
  EXPECT_EQ(file->Option->OptionType, 5);
  EXPECT_EQ(edit->Option->OptionType, 5);
  EXPECT_EQ(filler->Option->OptionType, 1);
  EXPECT_EQ(Child(*file, 0)->Option->OptionType, 6);
  EXPECT_EQ(Child(*file, 1)->Option->OptionType, 6);
  EXPECT_TRUE(file->Horizontal);
  EXPECT_FALSE(Child(*file, 0)->Horizontal);
  EXPECT_EQ(file->MenuRoot, menu);
  EXPECT_EQ(Child(*file, 0)->MenuRoot, menu);

  // "File": spacing 1 + caption 18 + two blanks of 3 = 25 wide; lines of 8
  // and twice the spacing: 10 high. The filler takes 400 - 24 - 25 - 25.
  // The bar starts at the first entry's margin (the control margin, 2).
  EXPECT_EQ(PlaceOf(file->Option), (std::vector<int32_t>{2, 2, 25, 10}));
  EXPECT_EQ(PlaceOf(edit->Option), (std::vector<int32_t>{27, 2, 25, 10}));
  EXPECT_EQ(PlaceOf(filler->Option), (std::vector<int32_t>{52, 2, 326, 10}));
  EXPECT_EQ(file->Option->Margin, 2);
  for (LumoItem* item : {file, edit, filler}) {
    EXPECT_EQ(item->Option->parent, page);
    EXPECT_FALSE(item->Option->AnimationPrevented);
  }
  // The sub-menu waits closed.
  EXPECT_TRUE(Child(*file, 0)->Hidden);
  EXPECT_TRUE(Child(*file, 0)->Option->AnimationPrevented);
  EXPECT_FALSE(file->Open);

  // The cell carries the bar: its client area starts below it.
  EXPECT_EQ(page->Menu, menu);
  EXPECT_EQ(ClientArea(), (std::vector<int32_t>{0, 14, 400, 286}));
  // The frame around the bar, in the engine's bevel style, two pixels thick.
  ASSERT_NE(menu->Bevel, nullptr);
  EXPECT_EQ(menu->BevelStyle, 33);
  EXPECT_EQ(menu->Bevel->Style, 33u);
  ASSERT_NE(menu->Bevel->TopEdge, nullptr);
  EXPECT_EQ(menu->Bevel->TopEdge->Left, 0);
  EXPECT_EQ(menu->Bevel->TopEdge->Top, 0);
  int32_t left = 0, top = 0, width = 0, height = 0;
  menu->Bevel->TopEdge->GetBounds(left, top, width, height, false, false);
  EXPECT_EQ(width, 376 + 4);
  EXPECT_EQ(menu->Bevel->OwnerBody, file->Option->Body.get());
}

TEST_F(MenuTest, OpeningAnEntryPlacesItsSubMenuBelowItAndClosingHidesIt) {
  TestMenu* menu = NewMenu(BarEntries);
  menu->Populate(page, LumoMenu::AlignTop, 0, font, true);
  LumoItem* file = Child(*menu, 0);
  LumoItem* open = Child(*file, 0);
  LumoItem* save = Child(*file, 1);
  file->OpenSubMenu();
  EXPECT_TRUE(file->Open);
  // A column as wide as its widest entry: "Save" (20) plus three spacings
  // and two control margins (7), plus "Control+X" (40) and two blanks (6).
  EXPECT_EQ(menu->MeasureWidth(file), 73);
  EXPECT_EQ(PlaceOf(open->Option), (std::vector<int32_t>{2, 12, 73, 10}));
  EXPECT_EQ(PlaceOf(save->Option), (std::vector<int32_t>{2, 22, 73, 10}));
  EXPECT_FALSE(open->Option->AnimationPrevented);
  EXPECT_FALSE(save->Option->AnimationPrevented);

  file->CloseSubMenu();
  EXPECT_FALSE(file->Open);
  EXPECT_TRUE(open->Option->AnimationPrevented);
  EXPECT_TRUE(save->Option->AnimationPrevented);
  // The bar's own entries stay.
  EXPECT_FALSE(file->Option->AnimationPrevented);
}

TEST_F(MenuTest, AColumnThatWouldPassThePageEndsAtItsEdges) {
  TestMenu* menu = NewMenu([](TestMenu& built) {
    built.AddEntry("&A");
    built.AddFiller();
    LumoItem* last = built.AddEntry("&Z");
    for (const char* name : {"&One", "&Two", "T&hirteen"}) {
      last->AddEntry(name);
    }
  });
  auto* small = AddCell<LumoComplexCell>(0, 0, 60, 30);
  menu->Populate(small, LumoMenu::AlignTop, 0, font, true);
  LumoItem* last = Child(*menu, 2);
  // "Z" sits after "A" (12 wide) and the filler (60 - 24 - 24 = 12).
  ASSERT_EQ(PlaceOf(last->Option), (std::vector<int32_t>{26, 2, 12, 10}));
  last->OpenSubMenu();
  // Three entries of 10 from y 12 would pass the bottom (30): the column
  // ends at 30 less the margin 2. "Thirteen" is 38 + 7 wide; from x 26 it
  // would pass the right edge, so it ends at the right end of "Z" (38).
  for (int32_t index = 0; index < 3; ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(PlaceOf(Child(*last, index)->Option), (std::vector<int32_t>{38 - 45, -2 + 10 * index, 45, 10}));
  }
  DestroyObject(menu);
  menus.clear();
}

TEST_F(MenuTest, ALeftMenuTakesItsWidthAndTwoMarginsFromTheClientArea) {
  // 18 letters and an 'i': 93, and 7 of spacings and margins: 100 wide.
  const std::string name = std::string(18, 'a') + "i";
  TestMenu* menu = NewMenu([&](TestMenu& built) {
    built.AddEntry(name.c_str());
    built.AddSeparator();
    built.AddEntry("b");
    built.AddColumnFiller();
  });
  menu->Populate(page, LumoMenu::AlignLeft, 0, font, true);
  ASSERT_EQ(menu->Count, 4);
  EXPECT_EQ(Child(*menu, 0)->Option->OptionType, 4);
  EXPECT_EQ(Child(*menu, 1)->Option->OptionType, 7);
  EXPECT_EQ(Child(*menu, 3)->Option->OptionType, 2);
  EXPECT_EQ(PlaceOf(Child(*menu, 0)->Option), (std::vector<int32_t>{2, 2, 100, 10}));
  // A separator is half an entry high; the filler takes what the page
  // leaves beyond the engine's allowance and the two entries.
  EXPECT_EQ(PlaceOf(Child(*menu, 1)->Option), (std::vector<int32_t>{2, 12, 100, 5}));
  EXPECT_EQ(PlaceOf(Child(*menu, 2)->Option), (std::vector<int32_t>{2, 17, 100, 10}));
  EXPECT_EQ(PlaceOf(Child(*menu, 3)->Option), (std::vector<int32_t>{2, 27, 100, 300 - 24 - 20}));
  EXPECT_EQ(ClientArea(), (std::vector<int32_t>{104, 0, 296, 300}));

  // A control aligned in the client area takes the menu's margin and style.
  auto* control = new LumoControl;
  page->Append(control);
  int32_t left = 0, top = 0, width = 0, height = 0;
  ASSERT_TRUE(control->AlignBounds(2, 20, true, left, top, width, height));
  EXPECT_EQ(control->Margin, 2);
  EXPECT_EQ(control->AlignOffset, 33);
  EXPECT_EQ((std::vector<int32_t>{left, top, width, height}), (std::vector<int32_t>{106, 2, 292, 20}));
}

TEST_F(MenuTest, RightAndBottomBarsSitAgainstTheirEdges) {
  struct Case {
    int32_t alignment;
    std::vector<int32_t> firstPlace;
    std::vector<int32_t> clientArea;
  };
  const Case cases[] = {
      // Entries of a spacing, a letter and two blanks: 12 x 10, margin 2.
      {LumoMenu::AlignRight, {400 - 12 - 2, 2, 12, 10}, {0, 0, 400 - 16, 300}},
      {LumoMenu::AlignBottom, {2, 300 - 10 - 2, 12, 10}, {0, 0, 400, 300 - 14}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.alignment);
    TestMenu* menu = NewMenu([](TestMenu& built) { built.AddEntry("&b"); });
    // A right menu's entries are columns; a bottom bar's are bar entries.
    menu->Populate(page, test.alignment, 0, font, true);
    ASSERT_EQ(menu->Count, 1);
    EXPECT_EQ(PlaceOf(Child(*menu, 0)->Option), test.firstPlace);
    EXPECT_EQ(ClientArea(), test.clientArea);
    page->SetMenu(nullptr);
  }
}

TEST_F(MenuTest, APopUpMenuPopsUpWhereAskedAndNoCellCarriesIt) {
  TestMenu* menu = NewMenu([](TestMenu& built) {
    built.AddEntry("&Cut");
    built.AddEntry("&Paste");
  });
  menu->SetHidden(true);
  menu->Populate(page, 50, 60, 0, font, true);
  ASSERT_EQ(menu->Count, 2);
  LumoItem* cut = Child(*menu, 0);
  EXPECT_EQ(cut->Option->OptionType, 3);
  EXPECT_TRUE(cut->Hidden);
  // Laid out at the point plus the control margin.
  EXPECT_EQ(menu->PopUpX, 52);
  EXPECT_EQ(menu->PopUpY, 62);
  EXPECT_EQ(PlaceOf(cut->Option), (std::vector<int32_t>{52, 62, 32, 10}));
  EXPECT_FALSE(cut->Option->AnimationPrevented);
  // A pop-up is never a cell's menu.
  EXPECT_EQ(page->Menu, nullptr);
  EXPECT_EQ(page->SetMenu(menu), nullptr);
  EXPECT_EQ(ClientArea(), (std::vector<int32_t>{0, 0, 400, 300}));

  menu->PopUpAt(100, 40);
  EXPECT_EQ(PlaceOf(cut->Option), (std::vector<int32_t>{100, 40, 32, 10}));
  EXPECT_EQ(PlaceOf(Child(*menu, 1)->Option), (std::vector<int32_t>{100, 50, 32, 10}));
  EXPECT_FALSE(cut->Option->AnimationPrevented);
  EXPECT_TRUE(cut->Option->Focused);
  // The frame, hidden with the entries until now, shows with them.
  ASSERT_NE(menu->Bevel, nullptr);
  EXPECT_FALSE(menu->Bevel->AnimationPrevented);
}

TEST_F(MenuTest, ThePopulateChecksAreLoggedAndPopulationGoesOn) {
  struct Case {
    const char* label;
    bool popUpMenu;
    bool popUpVariant;
    int32_t alignment;
    std::function<void(TestMenu&)> entries;
    const char* report;
  };
  const Case cases[] = {
      {"bar variant on a pop-up", true, false, LumoMenu::AlignTop, [](TestMenu& m) { m.AddEntry("a"); },
       "LumoMenu::Populate() This variant of Populate() cannot be used by pop-menus (Menu=%p:%s)\n"},
      {"pop-up variant on a bar", false, true, 0, [](TestMenu& m) { m.AddEntry("a"); },
       "LumoMenu::Populate() This variant of Populate() is reserved for pop-menus only (Menu=%p:%s)\n"},
      {"no entries", false, false, LumoMenu::AlignTop, nullptr, "LumoMenu::Populate() No menu items (Menu=%p:%s)\n"},
      {"a bar entry first in a left menu", false, false, LumoMenu::AlignLeft, [](TestMenu& m) { m.AddFiller(); },
       "LumoMenu::Populate() Invalid alignment for horizontal menus (Menu=%p:%s)\n"},
      {"a column entry first in a bar", false, false, LumoMenu::AlignBottom,
       [](TestMenu& m) { m.AddColumnFiller(); },
       "LumoMenu::Populate() Invalid alignment for vertical menus (Menu=%p:%s)\n"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.label);
    TestMenu* menu = NewMenu(test.entries);
    menu->SetHidden(test.popUpMenu);
    if (test.popUpVariant) {
      menu->Populate(page, 10, 10, 0, font, true);
    } else {
      menu->Populate(page, test.alignment, 0, font, true);
    }
    EXPECT_NE(testing_support::ReadDebugLog().find(MenuLine(test.report, menu)), std::string::npos);
    // Population went on: the entries have their options on the page.
    for (LumoNode* node = menu->first; node != nullptr; node = node->next) {
      EXPECT_EQ(static_cast<LumoItem*>(node)->Option->parent, page);
    }
    page->SetMenu(nullptr);
  }
  // An entry of the wrong kind for a bar is reported and left undefined.
  const std::string log = testing_support::ReadDebugLog();
  EXPECT_NE(log.find("LumoMenu::DoPopulateHorizontal() Invalid option type (Object="), std::string::npos);
  EXPECT_NE(log.find("Type=2)\n"), std::string::npos);
}

TEST_F(MenuTest, AMenuWithoutAnyFontReportsAndMakesNothing) {
  // This engine has neither a built-in font nor a current one.
  ASSERT_EQ(Engine->DefaultFont, nullptr);
  ASSERT_EQ(Engine->Font, nullptr);
  TestMenu* menu = NewMenu(BarEntries);
  const int32_t itemsBefore = page->Count;
  menu->Populate(page, LumoMenu::AlignTop, 0, nullptr, true);
  EXPECT_NE(testing_support::ReadDebugLog().find(
                MenuLine("LumoMenu::Populate() The menu has no font (Menu=%p:%s)\n", menu)),
            std::string::npos);
  EXPECT_EQ(menu->populates, 0);
  EXPECT_EQ(menu->Count, 0);
  EXPECT_EQ(page->Count, itemsBefore);
  EXPECT_EQ(page->Menu, nullptr);
  EXPECT_EQ(menu->MeasureWidth(menu), 0);
  EXPECT_EQ(menu->ItemHeight(), 0);

  // Without a font of its own a menu writes with the engine's built-in one.
  Engine->SetDefaultFont(font);
  menu->Populate(page, LumoMenu::AlignTop, 0, nullptr, true);
  Engine->SetDefaultFont(nullptr);
  EXPECT_EQ(menu->MenuFont, font);
  EXPECT_EQ(menu->Count, 3);
}

TEST_F(MenuTest, WidthsAndHeightsFollowTheFont) {
  TestMenu* menu = NewMenu(nullptr);
  menu->SetMenuFont(font);
  // Not yet typed entries do not count; a pop-up entry of 4 letters is
  // 20 + 7; with a shortcut "Alt+Delete" (3 letters, 6 letters: 45) and
  // two blanks 6 more.
  EXPECT_EQ(menu->MeasureWidth(menu), 0);
  EXPECT_EQ(menu->ItemHeight(), 10);
  LumoItem* plain = menu->AddEntry("&Plan");
  EXPECT_EQ(plain->Option->OptionType, 3);
  EXPECT_EQ(menu->MeasureWidth(menu), 27);
  LumoItem* cut = menu->AddEntry("Cut");
  cut->SetShortcut(46, InputAlt);
  ASSERT_STREQ(cut->ShortcutText, "Alt+Delete");
  EXPECT_EQ(menu->MeasureWidth(menu), 15 + 7 + 45 + 6);
  // Separators and fillers never widen a column.
  menu->AddSeparator();
  menu->AddColumnFiller();
  EXPECT_EQ(menu->MeasureWidth(menu), 73);
  // Twice the spacing around a line.
  font->SetSpacing(3);
  EXPECT_EQ(menu->ItemHeight(), 14);
  font->SetSpacing(kSpacing);
}

TEST_F(MenuTest, ShortcutsFindTheirOptionAndGoWithIt) {
  TestMenu* menu = NewMenu(BarEntries);
  menu->Populate(page, LumoMenu::AlignTop, 0, font, true);
  LumoItem* save = Child(*Child(*menu, 0), 1);
  ASSERT_NE(menu->RegisterShortcut(save->Option, 'X', InputControl), nullptr);
  EXPECT_EQ(menu->FindShortcut('X', InputControl), save->Option);
  EXPECT_EQ(menu->FindShortcut('X', 0), nullptr);
  EXPECT_EQ(menu->FindShortcut('Y', InputControl), nullptr);

  LumoOption* edit = Child(*menu, 1)->Option;
  EXPECT_EQ(menu->RegisterShortcut(nullptr, 'E', 0), nullptr);
  EXPECT_EQ(menu->RegisterShortcut(edit, 0, 0), nullptr);
  LumoNode* node = menu->RegisterShortcut(edit, 'E', InputAlt);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->ID, static_cast<uint32_t>('E'));
  EXPECT_EQ(node->Tag, static_cast<int32_t>(InputAlt));
  // Once per option and key.
  EXPECT_EQ(menu->RegisterShortcut(edit, 'E', InputAlt), node);
  EXPECT_EQ(menu->Shortcuts->Count, 2);
  EXPECT_EQ(menu->FindShortcut('E', InputAlt), edit);

  // An option destroyed takes its shortcuts along.
  DestroyObject(save->Option);
  EXPECT_EQ(save->Option, nullptr);
  EXPECT_EQ(menu->FindShortcut('X', InputControl), nullptr);
  EXPECT_EQ(menu->Shortcuts->Count, 1);
}

TEST_F(MenuTest, FreeingItemsAndMenusTakesTheirOptionsAndFrameAlong) {
  TestMenu* menu = NewMenu(BarEntries);
  menu->Populate(page, LumoMenu::AlignTop, 0, font, true);
  ASSERT_NE(menu->Bevel, nullptr);
  // Options: 3 entries of the bar and 2 of the sub-menu; the frame and its
  // four edges.
  EXPECT_EQ(page->Count, 3 + 2 + 5);
  // An item freed takes its option (and, for the first, the frame in its
  // body) off the page.
  DestroyObject(Child(*Child(*menu, 0), 0));
  EXPECT_EQ(page->Count, 9);
  // Populating again replaces every option and the frame.
  menu->Populate(page, LumoMenu::AlignTop, 0, font, true);
  EXPECT_EQ(page->Count, 10);
  EXPECT_EQ(menu->populates, 2);
  // Clearing the cell destroys its menu with everything it made.
  page->Clear();
  EXPECT_EQ(page->Menu, nullptr);
  EXPECT_EQ(page->Count, 0);
  menus.clear();
}

TEST_F(MenuTest, ABevelAroundAnItemWithoutOptionsDrawsNothing) {
  TestMenu* menu = NewMenu(nullptr);
  menu->AddEntry("a");
  auto* bevel = new LumoBevel;
  page->Append(bevel);
  // The entry's option was never defined: no size, no frame.
  bevel->Define(menu, 33, 15);
  EXPECT_EQ(bevel->TopEdge, nullptr);
  EXPECT_EQ(bevel->Control, menu);
}

TEST_F(MenuTest, EntriesTakeTheirTypeFromWhereTheyGo) {
  struct Case {
    int32_t alignment;
    int32_t rootEntry;
  };
  const Case cases[] = {{LumoMenu::AlignPopUp, 3}, {LumoMenu::AlignLeft, 4}, {LumoMenu::AlignTop, 5},
                        {LumoMenu::AlignRight, 4}, {LumoMenu::AlignBottom, 5}};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.alignment);
    TestMenu* menu = NewMenu(nullptr);
    menu->SetAlignment(test.alignment);
    LumoItem* entry = menu->AddEntry("&Top");
    LumoItem* sub = entry->AddEntry("&Sub");
    EXPECT_EQ(entry->Option->OptionType, test.rootEntry);
    EXPECT_EQ(entry->Horizontal, test.rootEntry == 5);
    EXPECT_EQ(sub->Option->OptionType, 6);
    EXPECT_FALSE(sub->Horizontal);
    EXPECT_EQ(entry->Option->Item, entry);
    EXPECT_EQ(sub->MenuRoot, menu);
    // An option typed before it is added keeps its type.
    auto* separator = new LumoOption;
    separator->SetOptionType(7);
    EXPECT_EQ(menu->AddOption(separator, nullptr, 0, 0)->Option->OptionType, 7);
  }
}

TEST_F(MenuTest, AddingAnEntryIsRefusedWithoutAnOptionOrForANameTakenInAUniqueMenu) {
  TestMenu* menu = NewMenu(nullptr);
  EXPECT_EQ(menu->AddOption(nullptr, "a", 0, 0), nullptr);
  menu->SetUnique(true);
  ASSERT_NE(menu->AddEntry("&Same"), nullptr);
  // The refused entry's option is destroyed (the leak check would see it).
  EXPECT_EQ(menu->AddEntry("&same"), nullptr);
  auto* option = new LumoOption;
  EXPECT_EQ(menu->AddOption(option, "&Same", 0, 0), nullptr);
  EXPECT_EQ(option->Item, nullptr);
  DestroyObject(option);
  EXPECT_EQ(menu->Count, 1);
  // Unnamed entries never clash.
  EXPECT_NE(menu->AddSeparator(), nullptr);
  EXPECT_NE(menu->AddSeparator(), nullptr);
  EXPECT_EQ(menu->Count, 3);
}

TEST_F(MenuTest, EntriesOfAPopUpAndOfSubMenusStartHidden) {
  TestMenu* bar = NewMenu(nullptr);
  LumoItem* shown = bar->AddEntry("a");
  LumoItem* deeper = shown->AddEntry("b");
  LumoItem* deepest = deeper->AddEntry("c");
  EXPECT_FALSE(shown->Hidden);
  EXPECT_TRUE(deeper->Hidden);
  EXPECT_TRUE(deepest->Hidden);
  TestMenu* popUp = NewMenu(nullptr);
  popUp->SetHidden(true);
  EXPECT_TRUE(popUp->AddEntry("a")->Hidden);
  // The shortcut goes to the new entry; a key without a name leaves none.
  LumoItem* withKey = bar->AddOption(new LumoOption, "k", 'K', InputControl);
  EXPECT_STREQ(withKey->ShortcutText, "Control+K");
  LumoItem* unnamedKey = bar->AddOption(new LumoOption, "u", 1000, 0);
  EXPECT_EQ(unnamedKey->ShortcutKey, 0u);
}

TEST_F(MenuTest, AnItemOwnsItsOptionAndForgetsOneDestroyedElsewhere) {
  TestMenu* menu = NewMenu(nullptr);
  LumoItem* kept = menu->AddEntry("a");
  LumoItem* lost = menu->AddEntry("b");
  DestroyObject(lost->Option);
  EXPECT_EQ(lost->Option, nullptr);
  // Freeing the item (here through the menu) destroys its option; the leak
  // check and the sanitizer watch the rest.
  LumoOption* option = kept->Option;
  page->Append(option);
  const int32_t items = page->Count;
  DestroyObject(kept);
  EXPECT_EQ(page->Count, items - 1);
  EXPECT_EQ(menu->Count, 1);
}

TEST_F(MenuTest, FocusFirstSkipsDisabledEntries) {
  TestMenu* menu = NewMenu([](TestMenu& built) {
    built.AddColumnFiller();
    built.AddEntry("a");
    built.AddEntry("b");
  });
  menu->Populate(page, LumoMenu::AlignLeft, 0, font, true);
  page->StartAnimation();
  Child(*menu, 1)->Option->Disable();
  menu->FocusFirst();
  EXPECT_FALSE(Child(*menu, 0)->Option->Focused);
  EXPECT_FALSE(Child(*menu, 1)->Option->Focused);
  EXPECT_TRUE(Child(*menu, 2)->Option->Focused);
}

// A control of the page with a pop-up menu of two entries.
class PopUpMenuTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    control = AddSprite<RecordingControl<>>(*page, 10, 10, MadeGraphic(40, 40, kControlRed));
    control->SetInput(true);
    control->SetFocusable(true);
    control->Enable();
    menu = NewMenu([](TestMenu& built) {
      built.AddEntry("&Cut");
      built.AddEntry("&Paste");
    });
    menu->SetHidden(true);
    menu->Populate(page, 0, 0, 0, font, true);
    ASSERT_EQ(control->SetPopUpMenu(menu), menu);
    menus.clear();  // the control owns it now
    page->StartAnimation();
    ASSERT_TRUE(control->Animating);
    ASSERT_TRUE(Pulse());
  }

  RecordingControl<>* control = nullptr;
  TestMenu* menu = nullptr;
};

TEST_F(PopUpMenuTest, ARightClickOrTheMenuKeyPopsTheMenuUpAtTheCursor) {
  SetCursorPosition(25, 30);
  control->PopUp();
  LumoOption* first = dynamic_cast<LumoItem*>(menu->first)->Option;
  EXPECT_EQ(first->Left, 25);
  EXPECT_EQ(first->Top, 30);
  EXPECT_TRUE(first->Focused);

  MouseTo(30, 40);
  Send({platform::MessageKind::RightButtonDown, 0, 30, 40, platform::kButtonRight});
  Send({platform::MessageKind::RightButtonUp, 0, 30, 40, 0});
  EXPECT_EQ(control->popUps, 2);
  EXPECT_EQ(first->Left, 30);
  EXPECT_EQ(first->Top, 40);

  SetCursorPosition(35, 45);
  tInputEvent release{control, KeyCodePopUp, 0};
  control->Focus();
  EXPECT_TRUE(control->KeyUp(&release));
  EXPECT_EQ(first->Left, 35);
  EXPECT_EQ(first->Top, 45);
}

TEST_F(PopUpMenuTest, TheControlKeepsOnlyAMenuWithEntriesAndDestroysItWhenCleared) {
  auto* empty = NewMenu(nullptr);
  menus.clear();
  EXPECT_EQ(control->SetPopUpMenu(empty), nullptr);
  DestroyObject(empty);
  EXPECT_EQ(control->PopUpMenu, nullptr);
  // The menu is gone from the control; a menu freed elsewhere is forgotten.
  auto* other = new TestMenu;
  other->AddEntry("x");
  ASSERT_EQ(control->SetPopUpMenu(other), other);
  DestroyObject(other);
  EXPECT_EQ(control->PopUpMenu, nullptr);
  control->PopUp();  // nothing to pop up

  ASSERT_EQ(control->SetPopUpMenu(menu), menu);
  const int32_t items = page->Count;
  control->Clear();
  EXPECT_EQ(control->PopUpMenu, nullptr);
  // The menu's two options and its frame (with four edges) left the cell.
  EXPECT_EQ(page->Count, items - 2 - 5);
}

}  // namespace
}  // namespace framework_testing
