#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "OptionFixture.h"
#include "framework/LumoDesktop.h"
#include "framework/LumoMenu.h"
#include "platform/Message.h"
#include "runtime/Keyboard.h"

namespace framework_testing {
namespace {

constexpr uint32_t kAltKey = 18;
constexpr uint32_t kControlKey = 17;
constexpr uint32_t kShiftKey = 16;
constexpr uint32_t kF10 = 121;

// An entry that writes the name of its item into a shared list when it is
// executed.
class CountingOption : public LumoOption {
 public:
  explicit CountingOption(std::vector<std::string>* executed) : executed(executed) {}
  const char* GetClassName() const override { return "CountingOption"; }
  void OnExecute() override {
    executed->push_back(Item != nullptr && Item->Name != nullptr ? Item->Name : "");
    LumoOption::OnExecute();
  }
  std::vector<std::string>* executed;
};

// A menu whose entries are added while it populates.
class TestMenu : public LumoMenu {
 public:
  const char* GetClassName() const override { return "TestMenu"; }
  void OnPopulate() override {
    LumoMenu::OnPopulate();
    if (entries) {
      entries(*this);
    }
  }
  std::function<void(TestMenu&)> entries;
};

// A menu on a complex cell of the level, its entries added in OnPopulate:
//   the bar: &File, &Edit, &Help (no sub-menu)
//   &File: &Open (Control+O), &Save (disabled), a separator, &Recent, E&xit
//   &Recent: &One, &Two
//   &Edit: &Undo, &Redo
// A left menu holds &Alpha, &Beta (with &Inner), &Gamma.
class OptionNavigationTest : public OptionFixture {
 protected:
  void SetUp() override {
    OptionFixture::SetUp();
    page = AddCell<LumoComplexCell>(0, 0, 320, 200);
    page->StartAnimation();
  }

  void TearDown() override {
    DestroyObject(menu);
    EnableControlKeys();
    OptionFixture::TearDown();
  }

  LumoItem* Entry(LumoItem& parent, const char* name, uint32_t key = 0, uint32_t modifiers = 0) {
    return parent.AddOption(new CountingOption(&executed), name, key, modifiers);
  }

  void PopulateBar(int32_t alignment = LumoMenu::AlignTop) {
    menu = new TestMenu;
    menu->entries = [this](TestMenu& root) {
      LumoItem* file = Entry(root, "&File");
      Entry(*file, "&Open", 'O', InputControl);
      Entry(*file, "&Save");
      file->AddSeparator();
      LumoItem* recent = Entry(*file, "&Recent");
      Entry(*recent, "&One");
      Entry(*recent, "&Two");
      Entry(*file, "E&xit");
      LumoItem* edit = Entry(root, "&Edit");
      Entry(*edit, "&Undo");
      Entry(*edit, "&Redo");
      Entry(root, "&Help");
    };
    menu->Populate(page, alignment, 0, font, true);
    Option({"&File", "&Save"})->Disable();
    ASSERT_TRUE(Pulse());
  }

  void PopulateColumn() {
    menu = new TestMenu;
    menu->entries = [this](TestMenu& root) {
      Entry(root, "&Alpha");
      LumoItem* beta = Entry(root, "&Beta");
      Entry(*beta, "&Inner");
      Entry(root, "&Gamma");
    };
    menu->Populate(page, LumoMenu::AlignLeft, 0, font, true);
    ASSERT_TRUE(Pulse());
  }

  // The option of the item at the path of names from the root.
  LumoOption* Option(const std::vector<const char*>& path) const {
    LumoItem* item = menu;
    for (const char* name : path) {
      item = item != nullptr ? dynamic_cast<LumoItem*>(item->FindByName(name)) : nullptr;
    }
    EXPECT_NE(item, nullptr);
    return item != nullptr ? item->Option : nullptr;
  }

  LumoControl* Focused() const { return page->GetFocusedControl(); }
  std::string FocusedName() const {
    const auto* option = dynamic_cast<const LumoOption*>(Focused());
    return option != nullptr && option->Item != nullptr && option->Item->Name != nullptr ? option->Item->Name
                                                                                          : "(none)";
  }

  static void KeyDown(uint32_t key) { Send({platform::MessageKind::KeyDown, key}); }
  static void KeyUp(uint32_t key) { Send({platform::MessageKind::KeyUp, key}); }
  static void Key(uint32_t key) {
    KeyDown(key);
    KeyUp(key);
  }
  static void KeyWith(uint32_t modifier, uint32_t key) {
    KeyDown(modifier);
    Key(key);
    KeyUp(modifier);
  }
  // The centre of the option on the screen (the page is at the origin).
  static void CentreOf(LumoOption& option, int32_t& x, int32_t& y) {
    int32_t left = 0, top = 0, width = 0, height = 0;
    option.GetBounds(left, top, width, height, false, true);
    x = left + width / 2;
    y = top + height / 2;
  }
  void MoveOver(LumoOption& option) {
    int32_t x = 0, y = 0;
    CentreOf(option, x, y);
    MouseTo(x, y);
    ASSERT_TRUE(Pulse());
  }
  void ClickOn(LumoOption& option) {
    int32_t x = 0, y = 0;
    CentreOf(option, x, y);
    Press(x, y);
    Release(x, y);
    ASSERT_TRUE(Pulse());
  }

  LumoComplexCell* page = nullptr;
  TestMenu* menu = nullptr;
  std::vector<std::string> executed;
};

struct ArrowCase {
  std::vector<const char*> from;
  uint32_t key;
  std::vector<const char*> to;
};

std::string PathText(const std::vector<const char*>& path) {
  std::string text;
  for (const char* name : path) {
    text += std::string("/") + name;
  }
  return text;
}

// The arrow table on a bar with drop-downs and a side menu: along a level
// the focus moves over enabled entries (the disabled Save and the separator
// are passed over), wrapping round; a bar entry opens into its drop-down
// with Down (first entry) and Up (last); Up from the top of a drop-down and
// Left in any sub-menu return to the parent; Right goes into a sub-menu, or
// on to the next bar entry's drop-down where there is none.
TEST_F(OptionNavigationTest, ArrowKeysFollowTheArrowTableOnABar) {
  PopulateBar();
  const std::vector<ArrowCase> cases = {
      {{"&File"}, LumoOption::kRightKey, {"&Edit"}},
      {{"&Help"}, LumoOption::kRightKey, {"&File"}},
      {{"&File"}, LumoOption::kLeftKey, {"&Help"}},
      {{"&Edit"}, LumoOption::kLeftKey, {"&File"}},
      {{"&File"}, LumoOption::kDownKey, {"&File", "&Open"}},
      {{"&File"}, LumoOption::kUpKey, {"&File", "E&xit"}},
      {{"&Help"}, LumoOption::kDownKey, {"&Help"}},
      {{"&File", "&Open"}, LumoOption::kDownKey, {"&File", "&Recent"}},
      {{"&File", "&Recent"}, LumoOption::kUpKey, {"&File", "&Open"}},
      {{"&File", "&Open"}, LumoOption::kUpKey, {"&File"}},
      {{"&File", "E&xit"}, LumoOption::kDownKey, {"&File", "&Open"}},
      {{"&File", "&Recent"}, LumoOption::kRightKey, {"&File", "&Recent", "&One"}},
      {{"&File", "&Open"}, LumoOption::kRightKey, {"&Edit", "&Undo"}},
      {{"&File", "&Open"}, LumoOption::kLeftKey, {"&File"}},
      {{"&Edit", "&Undo"}, LumoOption::kRightKey, {"&Help"}},
      {{"&File", "&Recent", "&One"}, LumoOption::kLeftKey, {"&File", "&Recent"}},
      {{"&File", "&Recent", "&One"}, LumoOption::kUpKey, {"&File", "&Recent", "&Two"}},
      {{"&File", "&Recent", "&Two"}, LumoOption::kDownKey, {"&File", "&Recent", "&One"}},
      {{"&File", "&Recent", "&Two"}, LumoOption::kRightKey, {"&Edit", "&Undo"}},
      {{"&File", "E&xit"}, LumoOption::kHomeKey, {"&File", "&Open"}},
      {{"&File", "&Open"}, LumoOption::kEndKey, {"&File", "E&xit"}},
  };
  for (const ArrowCase& row : cases) {
    SCOPED_TRACE(PathText(row.from) + " key " + std::to_string(row.key));
    LumoOption* start = Option(row.from);
    LumoOption* target = Option(row.to);
    ASSERT_NE(start, nullptr);
    ASSERT_NE(target, nullptr);
    start->Focus();
    ASSERT_TRUE(Pulse());
    ASSERT_EQ(Focused(), start);
    Key(row.key);
    ASSERT_TRUE(Pulse());
    EXPECT_EQ(Focused(), target) << FocusedName();
    EXPECT_FALSE(target->AnimationPrevented);
  }
  EXPECT_TRUE(executed.empty());
}

// On a left menu the entries form a column: Up and Down wrap round, Right
// opens into a sub-menu, Left returns from it, and with no bar above a
// sub-menu entry's Right leads nowhere.
TEST_F(OptionNavigationTest, ArrowKeysFollowTheArrowTableOnAColumn) {
  PopulateColumn();
  const std::vector<ArrowCase> cases = {
      {{"&Alpha"}, LumoOption::kUpKey, {"&Gamma"}},      {{"&Gamma"}, LumoOption::kDownKey, {"&Alpha"}},
      {{"&Alpha"}, LumoOption::kDownKey, {"&Beta"}},     {{"&Beta"}, LumoOption::kRightKey, {"&Beta", "&Inner"}},
      {{"&Alpha"}, LumoOption::kLeftKey, {"&Alpha"}},    {{"&Alpha"}, LumoOption::kRightKey, {"&Alpha"}},
      {{"&Beta", "&Inner"}, LumoOption::kLeftKey, {"&Beta"}},
      {{"&Beta", "&Inner"}, LumoOption::kRightKey, {"&Beta", "&Inner"}},
  };
  for (const ArrowCase& row : cases) {
    SCOPED_TRACE(PathText(row.from) + " key " + std::to_string(row.key));
    LumoOption* start = Option(row.from);
    LumoOption* target = Option(row.to);
    ASSERT_NE(start, nullptr);
    start->Focus();
    ASSERT_TRUE(Pulse());
    Key(row.key);
    ASSERT_TRUE(Pulse());
    EXPECT_EQ(Focused(), target) << FocusedName();
  }
}

TEST_F(OptionNavigationTest, AltAndTheAcceleratorOpenABarEntryIntoItsDropDown) {
  PopulateBar();
  ASSERT_EQ(Focused(), nullptr);
  Key('F');  // without Alt a bar entry's letter does nothing
  EXPECT_EQ(Focused(), nullptr);
  KeyWith(kAltKey, 'F');
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Focused(), Option({"&File", "&Open"})) << FocusedName();
  EXPECT_TRUE(Option({"&File"})->Item->Open);
  // In the open drop-down the letter alone picks an entry: R opens into
  // Recent's sub-menu, x executes Exit.
  Key('R');
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Focused(), Option({"&File", "&Recent", "&One"})) << FocusedName();
  Key('X');
  EXPECT_EQ(executed, (std::vector<std::string>{"E&xit"}));
  // The disabled Save ignores its letter.
  KeyWith(kAltKey, 'F');
  ASSERT_TRUE(Pulse());
  Key('S');
  EXPECT_EQ(executed.size(), 1u);
}

TEST_F(OptionNavigationTest, EnterOpensASubMenuOrExecutesItsEntryOnce) {
  PopulateBar();
  Option({"&File", "&Recent"})->Focus();
  ASSERT_TRUE(Pulse());
  Key(LumoOption::kEnterKey);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Focused(), Option({"&File", "&Recent", "&One"})) << FocusedName();
  EXPECT_TRUE(executed.empty());
  Key(LumoOption::kEnterKey);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(executed, (std::vector<std::string>{"&One"}));
  // Executed without a focus option to return to, the entry leaves and the
  // whole menu closes: the drop-downs are hidden again.
  EXPECT_EQ(Focused(), nullptr) << FocusedName();
  EXPECT_FALSE(Option({"&File"})->Item->Open);
  EXPECT_TRUE(Option({"&File", "&Open"})->AnimationPrevented);
  EXPECT_TRUE(Option({"&File", "&Recent", "&One"})->AnimationPrevented);
  EXPECT_FALSE(Option({"&File"})->AnimationPrevented);
}

TEST_F(OptionNavigationTest, EscapeRejectsToTheMenusFocusOption) {
  PopulateBar();
  LumoOption* help = Option({"&Help"});
  menu->SetFocusOption(help);
  Option({"&File", "&Recent", "&Two"})->Focus();
  ASSERT_TRUE(Pulse());
  EXPECT_TRUE(Option({"&File"})->Item->Open);
  Key(LumoOption::kEscapeKey);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Focused(), help) << FocusedName();
  EXPECT_FALSE(Option({"&File"})->Item->Open);
  EXPECT_TRUE(Option({"&File", "&Recent", "&Two"})->AnimationPrevented);
  EXPECT_TRUE(executed.empty());
}

TEST_F(OptionNavigationTest, TheReleaseOfF10FocusesTheBarAndAgainLeavesIt) {
  PopulateBar();
  Key(kF10);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Focused(), Option({"&File"})) << FocusedName();
  EXPECT_TRUE(Option({"&File"})->Item->Open);
  Key(LumoOption::kDownKey);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Focused(), Option({"&File", "&Open"})) << FocusedName();
  Key(kF10);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Focused(), nullptr) << FocusedName();
  EXPECT_FALSE(Option({"&File"})->Item->Open);
  EXPECT_TRUE(Option({"&File", "&Open"})->AnimationPrevented);
}

TEST_F(OptionNavigationTest, ARegisteredShortcutExecutesItsEntryThroughTheBarsFirstEntry) {
  PopulateBar();
  ASSERT_EQ(Focused(), nullptr);
  KeyWith(kControlKey, 'O');
  EXPECT_EQ(executed, (std::vector<std::string>{"&Open"}));
  KeyWith(kShiftKey, 'O');  // other modifiers: not the shortcut
  Key('O');
  EXPECT_EQ(executed.size(), 1u);
  // A disabled entry's shortcut does nothing.
  Option({"&File", "&Open"})->Disable();
  KeyWith(kControlKey, 'O');
  EXPECT_EQ(executed.size(), 1u);
}

TEST_F(OptionNavigationTest, TheFocusFollowsTheMouseAndAClickExecutes) {
  PopulateBar();
  LumoOption* file = Option({"&File"});
  MoveOver(*file);
  EXPECT_EQ(Focused(), file) << FocusedName();
  EXPECT_TRUE(file->Item->Open);
  LumoOption* recent = Option({"&File", "&Recent"});
  ASSERT_FALSE(recent->AnimationPrevented);
  MoveOver(*recent);
  EXPECT_EQ(Focused(), recent) << FocusedName();
  LumoOption* two = Option({"&File", "&Recent", "&Two"});
  ASSERT_FALSE(two->AnimationPrevented);
  MoveOver(*two);
  EXPECT_EQ(Focused(), two) << FocusedName();
  // Over the disabled Save the focus stays where it is.
  LumoOption* save = Option({"&File", "&Save"});
  MoveOver(*save);
  EXPECT_EQ(Focused(), two) << FocusedName();
  ClickOn(*Option({"&File", "E&xit"}));
  EXPECT_EQ(executed, (std::vector<std::string>{"E&xit"}));
  EXPECT_FALSE(file->Item->Open);
  // Moving to another bar entry closes the drop-down of the first.
  MoveOver(*file);
  ASSERT_TRUE(file->Item->Open);
  MoveOver(*Option({"&Edit"}));
  EXPECT_FALSE(file->Item->Open);
  EXPECT_TRUE(Option({"&File", "&Open"})->AnimationPrevented);
  EXPECT_FALSE(Option({"&Edit", "&Undo"})->AnimationPrevented);
}

// The screen shows each entry's look by its paper at the entry's bottom-left
// pixel (below the text; a drop-down's top rows lie under the bar's frame):
// activated entries, the dimmed Save, then the hilited focus and the
// selected bar entry whose drop-down holds it.
TEST_F(OptionNavigationTest, TheScreenShowsTheLookOfEachEntry) {
  PopulateBar();
  const auto paperOnScreen = [](LumoOption* option) {
    int32_t left = 0, top = 0, width = 0, height = 0;
    option->GetBounds(left, top, width, height, false, true);
    return Presented(left, top + height - 1);
  };
  const auto paper = [](int inkEntry) { return ConvertRGB(PaletteColour(inkEntry + 1)); };
  LumoOption* file = Option({"&File"});
  LumoOption* open = Option({"&File", "&Open"});
  LumoOption* save = Option({"&File", "&Save"});
  EXPECT_EQ(paperOnScreen(file), paper(LumoOption::kActivatedInk));
  EXPECT_EQ(paperOnScreen(Option({"&Edit"})), paper(LumoOption::kActivatedInk));

  Key(kF10);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(paperOnScreen(file), paper(LumoOption::kHilitedInk));
  EXPECT_EQ(paperOnScreen(open), paper(LumoOption::kActivatedInk));
  EXPECT_EQ(paperOnScreen(save), paper(LumoOption::kDimmedInk));

  Key(LumoOption::kDownKey);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(paperOnScreen(file), paper(LumoOption::kSelectedInk));
  EXPECT_EQ(paperOnScreen(open), paper(LumoOption::kHilitedInk));
}

// A sprite that takes every press and click that reaches it.
class Cover : public LumoSprite {
 public:
  bool DoMouseDown(tInputEvent*) override {
    ++pressed;
    return true;
  }
  bool DoMouseClick(tInputEvent*) override {
    ++pressed;
    return true;
  }
  int pressed = 0;
};

// A control added to the page after the menu, lying where the File
// drop-down opens: the open drop-down is drawn over it and takes the click.
TEST_F(OptionNavigationTest, AnOpenDropDownLiesAboveControlsAddedAfterTheMenu) {
  PopulateBar();
  const sRGB coverColour{200, 30, 160};
  auto* cover = AddSprite<Cover>(*page, 0, 0, MadeGraphic(200, 150, coverColour));
  cover->StartAnimation();
  ASSERT_TRUE(Pulse());

  MoveOver(*Option({"&File"}));
  ASSERT_TRUE(Option({"&File"})->Item->Open);
  ASSERT_TRUE(Pulse());

  LumoOption* exit = Option({"&File", "E&xit"});
  int32_t left = 0, top = 0, width = 0, height = 0;
  exit->GetBounds(left, top, width, height, false, true);
  ASSERT_LT(top + height, 150);  // the entry lies on the cover
  EXPECT_EQ(Presented(left, top + height - 1), ConvertRGB(PaletteColour(LumoOption::kActivatedInk + 1)));
  ClickOn(*exit);
  EXPECT_EQ(executed, (std::vector<std::string>{"E&xit"}));
  EXPECT_EQ(cover->pressed, 0);
}

}  // namespace
}  // namespace framework_testing
