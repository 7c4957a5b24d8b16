#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EditBoxFixture.h"

namespace framework_testing {
namespace {

// Boxes of the test font: a single line 64 x 12, and four wrapped lines
// 64 x 32. Glyphs advance 5 pixels (1 of spacing, 4 of glyph).
class EditBoxTypingTest : public EditBoxFixture {
 public:
  using EditBoxFixture::KeyWith;

  // A focused box showing the text, its positions recorded.
  CountingEditBox* FocusedBox(int32_t height, const std::string& text) {
    CountingEditBox* box = AddBox(64, height, 20, 20);
    box->SetText(text.c_str());
    box->Focus();
    EXPECT_TRUE(box->Focused);
    EXPECT_TRUE(Frame(*box));
    return box;
  }

  // The key pressed and released, then a frame of the box (which records
  // the positions the next key reads).
  void Press(CountingEditBox& box, uint32_t key) {
    Key(key);
    ASSERT_TRUE(Frame(box));
  }
  void Typed(CountingEditBox& box, const std::string& text) {
    for (const char c : text) {
      Character(static_cast<uint8_t>(c));
      ASSERT_TRUE(Frame(box));
    }
  }
};

// Lines of "ABC\nDEFG\nHI": A0 B1 C2 (new line 3) at y 0; D4 E5 F6 G7
// (new line 8) at y 8; H9 I10, the end 11, at y 16. Caret x = 5 x column.
constexpr const char* kThreeLines = "ABC\nDEFG\nHI";

TEST_F(EditBoxTypingTest, KeysMoveTheCaretAndEditAtIt) {
  struct Row {
    const char* name;
    int32_t height;
    const char* text;
    std::function<void(EditBoxTypingTest&, CountingEditBox&)> act;
    const char* expected;
    int32_t caret;
  };
  using T = EditBoxTypingTest;
  const std::vector<Row> rows = {
      {"typed characters go in at the caret", 12, "AB",
       [](T& t, CountingEditBox& b) {
         t.Press(b, kLeft);
         t.Typed(b, "xy");
       },
       "AxyB", 3},
      {"backspace removes the character before the caret", 12, "ABC",
       [](T& t, CountingEditBox& b) {
         t.Press(b, kLeft);
         t.Typed(b, "\b");
       },
       "AC", 1},
      {"backspace at the start does nothing", 12, "AB",
       [](T& t, CountingEditBox& b) {
         t.Press(b, kPageUp);
         t.Typed(b, "\b");
       },
       "AB", 0},
      {"delete removes the character at the caret", 12, "ABC",
       [](T& t, CountingEditBox& b) {
         t.Press(b, kHome);
         t.Press(b, kDelete);
       },
       "BC", 0},
      {"delete at the end does nothing", 12, "AB", [](T& t, CountingEditBox& b) { t.Press(b, kDelete); }, "AB", 2},
      {"left stops at the start, right at the end", 12, "AB",
       [](T& t, CountingEditBox& b) {
         t.Press(b, kLeft);
         t.Press(b, kLeft);
         t.Press(b, kLeft);
         t.Press(b, kRight);
       },
       "AB", 1},
      {"page up goes to the start", 32, kThreeLines, [](T& t, CountingEditBox& b) { t.Press(b, kPageUp); },
       kThreeLines, 0},
      {"page down goes to the end", 32, kThreeLines,
       [](T& t, CountingEditBox& b) {
         t.Press(b, kPageUp);
         t.Press(b, kPageDown);
       },
       kThreeLines, 11},
      {"home goes to the start of the line", 32, kThreeLines,
       [](T& t, CountingEditBox& b) {
         b.SetCaretIndex(6);
         t.Press(b, kHome);
       },
       kThreeLines, 4},
      {"end goes to the end of the line", 32, kThreeLines,
       [](T& t, CountingEditBox& b) {
         b.SetCaretIndex(5);
         t.Press(b, kEnd);
       },
       kThreeLines, 8},
      {"up from the first line stays", 32, kThreeLines,
       [](T& t, CountingEditBox& b) {
         b.SetCaretIndex(1);
         t.Press(b, kUp);
       },
       kThreeLines, 1},
      {"down from the last line stays", 32, kThreeLines, [](T& t, CountingEditBox& b) { t.Press(b, kDown); },
       kThreeLines, 11},
      {"down goes to the column on the next line", 32, kThreeLines,
       [](T& t, CountingEditBox& b) {
         b.SetCaretIndex(2);
         t.Press(b, kDown);
       },
       kThreeLines, 6},
      {"up goes to the column on the line before", 32, kThreeLines,
       [](T& t, CountingEditBox& b) {
         b.SetCaretIndex(10);
         t.Press(b, kUp);
       },
       kThreeLines, 5},
      // From G (x 15) down to the short line's end (x 10), then up: the
      // column remembered brings the caret back to G, not to F.
      {"down then up keeps the column", 32, kThreeLines,
       [](T& t, CountingEditBox& b) {
         b.SetCaretIndex(7);
         t.Press(b, kDown);
         EXPECT_EQ(b.CaretIndex, 11);
         t.Press(b, kUp);
       },
       kThreeLines, 7},
      {"another key forgets the column", 32, kThreeLines,
       [](T& t, CountingEditBox& b) {
         b.SetCaretIndex(7);
         t.Press(b, kDown);
         t.Press(b, kLeft);
         t.Press(b, kRight);
         t.Press(b, kUp);
       },
       kThreeLines, 6},
      {"enter types a line break in a wrapped box", 32, "AB",
       [](T& t, CountingEditBox& b) {
         t.Press(b, kEnter);
         t.Typed(b, "\r");
         t.Typed(b, "C");
         EXPECT_EQ(b.accepts, 0);
       },
       "AB\nC", 4},
      {"enter in a single-line box accepts and executes", 12, "AB",
       [](T& t, CountingEditBox& b) {
         t.Press(b, kEnter);
         t.Typed(b, "\r");
         EXPECT_EQ(b.accepts, 1);
         EXPECT_EQ(b.executes, 1);
       },
       "AB", 2},
      {"shift and enter accept a wrapped box", 32, "AB",
       [](T& t, CountingEditBox& b) {
         t.KeyWith(kShift, kEnter);
         EXPECT_EQ(b.accepts, 1);
         EXPECT_EQ(b.executes, 1);
       },
       "AB", 2},
      {"escape rejects", 12, "AB",
       [](T& t, CountingEditBox& b) {
         t.Press(b, kEscape);
         EXPECT_EQ(b.rejects, 1);
       },
       "AB", 2},
      {"blanks are typed while allowed", 12, "A",
       [](T& t, CountingEditBox& b) {
         t.Typed(b, " ");
         b.SetAllowSpaces(false);
         t.Typed(b, " B");
       },
       "A B", 3},
      {"nothing is typed while typing is off, keys still move", 12, "AB",
       [](T& t, CountingEditBox& b) {
         b.SetTypingEnabled(false);
         t.Typed(b, "C");
         t.Press(b, kLeft);
       },
       "AB", 1},
      {"no key moves the caret while keys are off", 12, "AB",
       [](T& t, CountingEditBox& b) {
         b.SetKeysEnabled(false);
         t.Press(b, kLeft);
         t.Press(b, kDelete);
       },
       "AB", 2},
      {"characters without a glyph are refused", 12, "A", [](T& t, CountingEditBox& b) { t.Typed(b, "1?B"); }, "AB",
       2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CountingEditBox* box = FocusedBox(row.height, row.text);
    row.act(*this, *box);
    EXPECT_EQ(TextOf(*box), row.expected);
    EXPECT_EQ(box->CaretIndex, row.caret);
    DestroyObject(box);
  }
}

// Typed characters reach the focused box through the regions; they show at
// the box's next frame, on its page and on the screen, with the caret after
// the last one typed.
TEST_F(EditBoxTypingTest, TypedCharactersAppearAtTheCaretOnThePageAndTheScreen) {
  CountingEditBox* box = FocusedBox(12, "");
  Character('A');
  Character('B');
  EXPECT_EQ(TextOf(*box), "AB");
  EXPECT_EQ(PixelOf(*box, 1, 0), ConvertRGB(kPaper));
  ASSERT_TRUE(Frame(*box));
  Key(kLeft);
  Character('i');
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(TextOf(*box), "AiB");
  // A at 1, i (2 wide) at 6, B at 9; the caret before B, at 8.
  const std::vector<PlacedGlyph> glyphs = {{'A', 1, 0}, {'i', 6, 0}, {'B', 9, 0}};
  for (const PlacedGlyph& glyph : glyphs) {
    SCOPED_TRACE(glyph.code);
    const uint32_t colour = ConvertRGB(GlyphColour(glyph.code));
    EXPECT_EQ(PixelOf(*box, glyph.x, glyph.y), colour);
    EXPECT_EQ(PixelOf(*box, glyph.x + GlyphWidth(glyph.code) - 1, kBlockRows - 1), colour);
    EXPECT_EQ(Presented(20 + glyph.x, 20 + glyph.y), colour);
  }
  EXPECT_EQ(box->CaretIndex, 2);
  EXPECT_TRUE(CaretDrawnAt(*box, 8, 0));
  EXPECT_EQ(CaretPixels(*box), kLineHeight);
  EXPECT_EQ(Presented(20 + 8, 20 + 7), ConvertRGB(kCaretColour));
  EXPECT_EQ(Presented(20 + 13, 20), ConvertRGB(kPaper));
}

// The run-time system maps Tab to Tab; the control runs a mapped key again
// only when the first run left it unhandled, so a Tab types one tab (its
// character message is swallowed). A single-line box lets Tab move the
// focus on.
TEST_F(EditBoxTypingTest, OneTabTypesOneTabInAMultiLineBox) {
  CountingEditBox* box = FocusedBox(32, "AB");
  Key(kTabKey);
  Character(9);
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(TextOf(*box), "AB\t");
  EXPECT_EQ(box->CaretIndex, 3);
  EXPECT_TRUE(box->Focused);
  // The tab stop is 4 blank cells of 4 pixels: the caret stands at 16.
  EXPECT_EQ(box->CaretLeft, 16);
  EXPECT_TRUE(CaretDrawnAt(*box, 16, 0));

  CountingEditBox* line = AddBox(64, 12, 20, 60);
  line->Focus();
  ASSERT_TRUE(line->Focused);
  Key(kTabKey);
  Character(9);
  EXPECT_EQ(TextOf(*line), "");
  EXPECT_FALSE(line->Focused);
  EXPECT_TRUE(box->Focused);
  EXPECT_EQ(TextOf(*box), "AB\t");
}

TEST_F(EditBoxTypingTest, TypingStopsWhenTheBoxIsFull) {
  // MaxLength 5: the sixth is refused whatever the width.
  CountingEditBox* limited = FocusedBox(32, "");
  limited->SetMaxLength(5);
  Typed(*limited, "ABCDEFG");
  EXPECT_EQ(TextOf(*limited), "ABCDE");

  // A single line of 64 is full once the text ends within FixedWidth (5)
  // of its right edge: 12 glyphs end at 60.
  CountingEditBox* line = FocusedBox(12, "");
  Typed(*line, "ABCDEFGHIJKLMN");
  EXPECT_EQ(TextOf(*line), "ABCDEFGHIJKL");
  EXPECT_EQ(line->TextEndX, 60);
  EXPECT_EQ(line->TextWidth, 64);

  // Four wrapped lines: the last line keeps a tab's room (4 cells of 4
  // pixels), so it is full once the text ends at 48 or more.
  CountingEditBox* lines = FocusedBox(32, "A\nB\nC\n");
  Typed(*lines, "DEFGHIJKLMNO");
  EXPECT_EQ(TextOf(*lines), "A\nB\nC\nDEFGHIJKLM");
  EXPECT_EQ(lines->TextEndY, 24);
  EXPECT_EQ(lines->TextEndX, 50);
}

// Typing into a text of 4,095 characters is refused, as for a full box: it
// does not push the last character out.
TEST_F(EditBoxTypingTest, AFullTextRefusesAnotherCharacter) {
  CountingEditBox* box = FocusedBox(32, "");
  box->SetMaxLength(4096);
  const std::string full(4095, 'A');
  box->SetText(full.c_str());
  Key(kPageUp);
  ASSERT_EQ(box->CaretIndex, 0);
  Character('B');
  EXPECT_EQ(TextOf(*box), full);
  EXPECT_EQ(box->InsertCharacter('B'), 0);
  EXPECT_EQ(TextOf(*box), full);
  // One character fewer leaves room for one.
  box->SetText(full.substr(1).c_str());
  box->SetCaretIndex(0);
  EXPECT_EQ(box->InsertCharacter('B'), 'B');
  EXPECT_EQ(TextOf(*box), "B" + full.substr(1));
}

}  // namespace
}  // namespace framework_testing
