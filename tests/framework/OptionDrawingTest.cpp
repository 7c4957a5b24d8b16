#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "OptionFixture.h"
#include "runtime/Keyboard.h"

namespace framework_testing {
namespace {

constexpr sRGB kLight{255, 255, 255};  // the engine's light control colour
constexpr sRGB kDark{127, 127, 127};   // its dark control colour

using OptionDrawingTest = OptionFixture;

// An entry 120 x 12 of a sub-menu, named "&File" with the shortcut
// Control+O, a mark and a sub-menu. Spacing S = 1, gutter G = 16:
// - the caption from x = S + G = 17: F at 18, i at 23, l at 26, e at 31;
// - the shortcut "Control+O" (40 wide: '+' has no glyph) from
//   120 - 2S - G - 40 = 62, so its last glyph ends at x = 101;
// - the underline under F: x = 0 + S + (S + G) = 18, 4 wide, on row
//   LineHeight + S - 1 = 8, in ink;
// - the mark (4 x 4) at (G/2 + S - 2, 6 - 2) = (7, 4);
// - the arrow (6 x 4) at (120 - S - G/2 - 3, 6 - 2) = (108, 4).
TEST_F(OptionDrawingTest, AnEntryDrawsItsCaptionShortcutUnderlineMarkAndArrow) {
  LumoItem* item = MakeItem("&File");
  item->SetShortcut('O', InputControl);
  item->Append(MakeItem("Open"));
  LumoOption* option = AddOption(item, LumoOption::OptionSubMenuEntry, 120, 12);
  LumoGraphicNode* mark = MadeGraphic(4, 4, kMarkColour);
  option->SetMark(mark);
  EXPECT_EQ(option->Arrow, arrow);
  EXPECT_EQ(option->MinimumSize, kGutter);
  ASSERT_TRUE(option->Enabled);
  option->ShowCurrentLook();

  const std::vector<Box> text = Joined(TextBoxes("File", 17), TextBoxes("Control+O", 62));
  ExpectPicture(*option, PaletteColour(7),
                Joined(text, {Box{18, 8, 4, 1, PaletteColour(6)}, Box{7, 4, 4, 4, kMarkColour},
                              Box{108, 4, 6, 4, kArrowColour}}));

  // Disabled, the entry is dimmed and shows neither mark nor arrow.
  option->Disable();
  ExpectPicture(*option, PaletteColour(11), Joined(text, {Box{18, 8, 4, 1, PaletteColour(10)}}));
  DestroyObject(item);
  DestroyObject(mark);
}

// A bar entry writes its caption from the blank's width (3): E at 4; the
// underline starts S + 3 = 4 after the name's width before the letter.
// Bar entries draw neither shortcut nor arrow.
TEST_F(OptionDrawingTest, ABarEntryWritesOnlyItsCaptionFromTheBlankWidth) {
  LumoItem* item = MakeItem("&Edit");
  item->SetShortcut('E', InputControl);
  item->Append(MakeItem("Undo"));
  LumoOption* option = AddOption(item, LumoOption::OptionBarEntry, 40, 12);
  option->ShowCurrentLook();
  ExpectPicture(*option, PaletteColour(7), Joined(TextBoxes("Edit", 3), {Box{4, 8, 4, 1, PaletteColour(6)}}));
  DestroyObject(item);
}

struct UnderlineCase {
  const char* name;
  int32_t left;   // -1: nothing underlined
  int32_t width;  // the letter's glyph width
};

// The underline lies under the accelerator letter of the caption printed
// from 17 (glyphs at caret + 1): the name's width before the letter counts
// each glyph with its spacing, "&&" as one "&".
TEST_F(OptionDrawingTest, TheAcceleratorIsUnderlinedUnderItsLetterAndOnlyThere) {
  const std::vector<UnderlineCase> cases = {
      {"&File", 18, 4},   // the marker before the first letter: S + (S + G)
      {"Sa&ve", 28, 4},   // after S and a
      {"A&&&B", 28, 4},   // caption "A&B": after A and &
      {"W&in", 25, 2},    // after W (6 wide): the narrow i
      {"&Wide", 18, 6},   // the wide W
      {"Plain", -1, 0},   // no marker
      {"&&Plain", -1, 0}, // "&&" marks nothing
  };
  for (const UnderlineCase& row : cases) {
    SCOPED_TRACE(row.name);
    LumoItem* item = MakeItem(row.name);
    LumoOption* option = AddOption(item, LumoOption::OptionPopUpEntry, 100, 12);
    option->ShowActivated();
    std::vector<Box> expected = TextBoxes(item->Caption, 17);
    if (row.left >= 0) {
      expected.push_back(Box{row.left, 8, row.width, 1, PaletteColour(6)});
    }
    ExpectPicture(*option, PaletteColour(7), expected);
    DestroyObject(item);
  }
}

// A separator (half the height of an entry) is never focusable, stays
// disabled after populating and draws a light line at half its height with
// a dark one above it.
TEST_F(OptionDrawingTest, ASeparatorDrawsTwoLinesInTheControlColours) {
  LumoItem* item = MakeItem(nullptr);
  LumoOption* option = AddOption(item, LumoOption::OptionSeparator, 50, 6);
  EXPECT_FALSE(option->Focusable);
  EXPECT_FALSE(option->Enabled);
  option->ShowCurrentLook();
  ExpectPicture(*option, PaletteColour(11), {Box{0, 3, 50, 1, kLight}, Box{0, 2, 50, 1, kDark}});
  option->Focus();
  EXPECT_FALSE(option->Focused);
  DestroyObject(item);
}

struct LookCase {
  const char* look;
  std::function<void(LumoOption&)> show;
  int inkEntry;
};

// Each look paints paper, writes the entry and turns ink and paper into its
// palette pair.
TEST_F(OptionDrawingTest, TheFourLooksRecolourInkAndPaperFromTheirPalettePairs) {
  const std::vector<LookCase> cases = {
      {"activated", [](LumoOption& option) { option.ShowActivated(); }, 6},
      {"selected", [](LumoOption& option) { option.ShowSelected(); }, 0},
      {"hilited", [](LumoOption& option) { option.ShowHilited(); }, 2},
      {"dimmed", [](LumoOption& option) { option.ShowDimmed(); }, 10},
  };
  LumoItem* item = MakeItem("&Go");
  LumoOption* option = AddOption(item, LumoOption::OptionSideEntry, 60, 12);
  for (const LookCase& row : cases) {
    SCOPED_TRACE(row.look);
    row.show(*option);
    ExpectPicture(*option, PaletteColour(row.inkEntry + 1),
                  Joined(TextBoxes("Go", 17), {Box{18, 8, 4, 1, PaletteColour(row.inkEntry)}}));
  }
  DestroyObject(item);
}

struct CurrentLookCase {
  const char* state;
  bool enabled;
  bool focused;
  bool open;
  int inkEntry;
};

// The current look follows the option's state: disabled before focused
// before open.
TEST_F(OptionDrawingTest, TheCurrentLookFollowsTheOptionsState) {
  const std::vector<CurrentLookCase> cases = {
      {"disabled", false, false, false, 10}, {"disabled and open", false, false, true, 10},
      {"focused", true, true, true, 2},      {"open", true, false, true, 0},
      {"enabled", true, false, false, 6},
  };
  for (const CurrentLookCase& row : cases) {
    SCOPED_TRACE(row.state);
    LumoItem* item = MakeItem("&Go");
    LumoOption* option = AddOption(item, LumoOption::OptionSideEntry, 60, 12);
    if (!row.enabled) {
      option->Disable();
    }
    if (row.focused) {
      option->Focus();
    }
    item->Open = row.open;
    option->ShowCurrentLook();
    EXPECT_EQ(option->Graphic->GetPixel(0, 0), ConvertRGB(PaletteColour(row.inkEntry + 1)));
    EXPECT_EQ(option->Graphic->GetPixel(18, 8), ConvertRGB(PaletteColour(row.inkEntry)));
    DestroyObject(item);
  }
}

struct PopulateCase {
  int32_t type;
  bool enabled;
  bool focusable;
};

// Populating enables the entries and disables fillers and separators, which
// never take the focus.
TEST_F(OptionDrawingTest, PopulatingEnablesOrDisablesByTheOptionType) {
  const std::vector<PopulateCase> cases = {
      {1, false, false}, {2, false, false}, {3, true, true}, {4, true, true},
      {5, true, true},   {6, true, true},   {7, false, false}, {8, true, true},
  };
  for (const PopulateCase& row : cases) {
    SCOPED_TRACE(row.type);
    LumoItem* item = MakeItem("&Go");
    LumoOption* option = AddOption(item, row.type, 60, 12);
    EXPECT_EQ(option->OptionType, row.type);
    EXPECT_EQ(option->Enabled, row.enabled);
    EXPECT_EQ(option->Focusable, row.focusable);
    EXPECT_EQ(option->DefaultFramesPerPulse, LumoOption::kDefaultFramesPerPulse);
    DestroyObject(item);
  }
}

TEST_F(OptionDrawingTest, AnOptionOfTypeZeroIsReportedAndLeftAsItWas) {
  LumoItem* item = MakeItem("&Go");
  LumoOption* option = AddOption(item, LumoOption::OptionInvalid, 60, 12);
  EXPECT_TRUE(LogHas(Line("LumoOption() Unknown option type being populated (Control=%p:LumoOption)\n", option)));
  EXPECT_FALSE(option->Enabled);
  option->Enable();
  option->PopulateSelf();
  EXPECT_TRUE(option->Enabled);
  DestroyObject(item);
}

TEST_F(OptionDrawingTest, TheOptionOfAHiddenItemIsHiddenByPopulating) {
  LumoItem* hidden = MakeItem("&Hidden");
  hidden->SetHidden(true);
  LumoItem* shown = MakeItem("&Shown");
  LumoOption* hiddenOption = AddOption(hidden, LumoOption::OptionSubMenuEntry, 60, 12);
  LumoOption* shownOption = AddOption(shown, LumoOption::OptionSubMenuEntry, 60, 12, 0, 20);
  EXPECT_TRUE(hiddenOption->AnimationPrevented);
  EXPECT_FALSE(shownOption->AnimationPrevented);
  DestroyObject(hidden);
  DestroyObject(shown);
}

}  // namespace
}  // namespace framework_testing
