#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "EditBoxFixture.h"
#include "framework/LumoScrollBar.h"

namespace framework_testing {
namespace {

using EditBoxFrameTest = EditBoxFixture;

// Two wrapped lines of 40: seven glyphs a line. The word breaks glyph by
// glyph, so the eighth (H) and the fifteenth (O) start at the end of a line
// (recorded there) and are drawn on the next one. The text is cut at the
// next frame back to the last line, O included: A..G and H..N stay.
TEST_F(EditBoxFrameTest, TextPastTheLastLineIsCutAtTheNextFrame) {
  CountingEditBox* box = AddBox(40, 16);
  ASSERT_TRUE(box->Wrapped);
  box->SetText("ABCDEFGHIJKLMNOPQRS");
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(TextOf(*box), "ABCDEFGHIJKLMN");
  EXPECT_EQ(box->CaretIndex, 14);
  EXPECT_EQ(box->TextEndY, 8);
  std::vector<PlacedGlyph> glyphs;
  for (int32_t index = 0; index < 14; ++index) {
    glyphs.push_back({static_cast<uint8_t>('A' + index), 1 + 5 * (index % 7), 8 * (index / 7)});
  }
  ExpectGlyphs(*box, glyphs);
  // A line break typed on the last line goes the same way.
  box->Focus();
  box->SetText("AB\nCD");
  ASSERT_TRUE(Frame(*box));
  Character(13);
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(TextOf(*box), "AB\nCD");
}

// A box lower than one line has no visible line: its text is cut to
// nothing, and no further, and nothing can be typed.
TEST_F(EditBoxFrameTest, ABoxLowerThanALineKeepsNoText) {
  CountingEditBox* box = AddBox(40, 6);
  box->SetText("ABC");
  box->Focus();
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(TextOf(*box), "");
  EXPECT_EQ(box->CaretIndex, 0);
  Character('A');
  EXPECT_EQ(TextOf(*box), "");
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(TextOf(*box), "");
}

// A single line given a text wider than itself widens its text area, gets
// an enabled horizontal bar ranging over the hidden part, and scrolls so
// the caret (after L, at 60) is in view; the text shows at the new offset at
// the following frame, though the box has no focus.
TEST_F(EditBoxFrameTest, ASingleLineGrowsABarAndScrollsTheCaretIntoView) {
  WriteBarLooks();
  CountingEditBox* box = AddBox(40, 12, 20, 20);
  ASSERT_FALSE(box->MultiLine);
  ASSERT_EQ(box->HorizontalBar, nullptr);
  box->SetText("ABCDEFGHIJKL");
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(box->TextWidth, 61);
  LumoScrollBar* bar = box->HorizontalBar;
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->Enabled);
  EXPECT_EQ(bar->Maximum, 21);
  EXPECT_EQ(bar->Position, 21);
  EXPECT_EQ(box->HorizontalOffset, -21);
  EXPECT_EQ(box->VerticalBar, nullptr);
  ASSERT_TRUE(Frame(*box));
  // L (x 55) is drawn at 56 - 21; E (x 20) is cut at the left edge.
  const uint32_t l = ConvertRGB(GlyphColour('L'));
  EXPECT_EQ(PixelOf(*box, 35, 0), l);
  EXPECT_EQ(PixelOf(*box, 38, 5), l);
  EXPECT_EQ(PixelOf(*box, 0, 0), ConvertRGB(GlyphColour('E')));
  EXPECT_EQ(Presented(20 + 35, 20), l);
  EXPECT_EQ(Presented(20 + 39, 20), ConvertRGB(kPaper));
  // Focused, the caret shows at 60 - 21.
  box->Focus();
  ASSERT_TRUE(Frame(*box));
  EXPECT_TRUE(CaretDrawnAt(*box, 39, 0));
  EXPECT_EQ(Presented(20 + 39, 20 + 7), ConvertRGB(kCaretColour));
  // Back to the start: the caret scrolls the text back.
  Key(kHome);
  ASSERT_TRUE(Frame(*box));
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(bar->Position, 0);
  EXPECT_EQ(box->HorizontalOffset, 0);
  EXPECT_EQ(PixelOf(*box, 1, 0), ConvertRGB(GlyphColour('A')));
}

// A box one line high gets no bar: its offset follows the caret past the
// right edge (the caret at the edge), and goes back to 0 once the caret is
// within the first width.
TEST_F(EditBoxFrameTest, ABoxWithoutABarScrollsByItsOffset) {
  CountingEditBox* box = AddBox(40, kLineHeight, 20, 20);
  box->SetText("ABCDEFGHIJKL");
  box->Focus();
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(box->HorizontalBar, nullptr);
  EXPECT_EQ(box->TextWidth, 61);
  EXPECT_EQ(box->HorizontalOffset, -21);
  EXPECT_EQ(box->VerticalOffset, 0);
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(PixelOf(*box, 35, 0), ConvertRGB(GlyphColour('L')));
  EXPECT_TRUE(CaretDrawnAt(*box, 39, 0));
  EXPECT_EQ(Presented(20 + 39, 20), ConvertRGB(kCaretColour));
  Key(kHome);
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(box->HorizontalOffset, 0);
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(PixelOf(*box, 1, 0), ConvertRGB(GlyphColour('A')));
  EXPECT_EQ(Presented(20 + 1, 20), ConvertRGB(GlyphColour('A')));
}

// The caret shows while focused, on for its period and off for its period
// (the first phase one frame shorter, as the countdown starts with it), and
// not at all without the focus.
TEST_F(EditBoxFrameTest, TheCaretBlinksAtItsPeriodOnlyWhileFocused) {
  CountingEditBox* box = AddBox(64, 12, 20, 20, 3);
  box->SetText("AB");
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(CaretPixels(*box), 0);
  box->Focus();
  std::vector<int> shown;
  std::vector<int> presented;
  for (int frame = 0; frame < 9; ++frame) {
    ASSERT_TRUE(Frame(*box));
    shown.push_back(CaretPixels(*box) == kLineHeight ? 1 : 0);
    presented.push_back(Presented(20 + 10, 20) == ConvertRGB(kCaretColour) ? 1 : 0);
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 1, 0, 0, 0, 1, 1, 1, 0}));
  EXPECT_EQ(presented, shown);
  box->Leave(nullptr);
  for (int frame = 0; frame < 6; ++frame) {
    ASSERT_TRUE(Frame(*box));
    EXPECT_EQ(CaretPixels(*box), 0);
  }
}

// A press focuses the box and puts the caret at the first position of the
// pressed line at or right of the point, or at the line's last one; a press
// below the text leaves it.
TEST_F(EditBoxFrameTest, APressPlacesTheCaretOnItsLine) {
  CountingEditBox* box = AddBox(64, 32, 40, 20);
  box->SetText("ABC\nDEFG\nHI");
  ASSERT_TRUE(Frame(*box));
  ASSERT_FALSE(box->Focused);
  struct Row {
    int32_t x;
    int32_t y;
    int32_t caret;
  };
  const std::vector<Row> rows = {{12, 9, 7}, {0, 9, 4}, {60, 12, 8}, {3, 1, 1}, {7, 17, 11}, {30, 28, 11}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y));
    Press(40 + row.x, 20 + row.y);
    Release(40 + row.x, 20 + row.y);
    EXPECT_TRUE(box->Focused);
    EXPECT_EQ(box->CaretIndex, row.caret);
    ASSERT_TRUE(Frame(*box));
  }
}

// The caret clamps to the text: past the end of an empty text (with old
// characters behind its NUL) neither Delete nor Backspace finds anything,
// and the caret is placed at the text's own end.
TEST_F(EditBoxFrameTest, ACaretSetPastTheEndStaysAtTheEnd) {
  CountingEditBox* box = AddBox(64, 12);
  box->SetText("ABCDEFGHIJ");
  ASSERT_TRUE(Frame(*box));
  box->SetText("");
  EXPECT_EQ(box->SetCaretIndex(5), 0);
  EXPECT_FALSE(box->DeleteAtCaret());
  EXPECT_FALSE(box->Backspace());
  EXPECT_EQ(TextOf(*box), "");
  box->Focus();
  Key(kDelete);
  Character(8);
  EXPECT_EQ(TextOf(*box), "");
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(box->CaretLeft, 0);
  EXPECT_EQ(box->SetCaretIndex(-3), 0);
  box->SetText("AB");
  EXPECT_EQ(box->SetCaretIndex(5000), 2);
}

// GetText writes the text and its NUL and never more than 4,096 bytes, even
// when the text was written into the field without a terminator.
TEST_F(EditBoxFrameTest, GetTextWritesAtMostTheBufferSize) {
  CountingEditBox* box = AddBox(64, 32);
  std::vector<char> buffer(LumoEditBox::kTextSize + 8, 'Z');
  const std::string longer(5000, 'A');
  box->SetText(longer.c_str());
  EXPECT_EQ(box->GetText(buffer.data()), buffer.data());
  EXPECT_EQ(std::strlen(buffer.data()), 4095u);
  EXPECT_EQ(buffer[4096], 'Z');

  std::fill(buffer.begin(), buffer.end(), 'Z');
  box->Text.fill('B');
  box->GetText(buffer.data());
  EXPECT_EQ(buffer[4094], 'B');
  EXPECT_EQ(buffer[4095], '\0');
  for (size_t index = 4096; index < buffer.size(); ++index) {
    EXPECT_EQ(buffer[index], 'Z') << index;
  }
  EXPECT_EQ(box->GetText(nullptr), nullptr);
  EXPECT_EQ(box->GetTextString().length, 4095);
}

TEST_F(EditBoxFrameTest, NumbersAreReadAndWrittenThroughTheText) {
  CountingEditBox* box = AddBox(64, 32);
  struct Read {
    const char* text;
    uint32_t unsignedValue;
    int32_t integer;
    double real;
  };
  const std::vector<Read> reads = {
      {"abc", 0, 0, 0.0},
      {"42x", 42, 42, 42.0},
      {" -7", 0, -7, -7.0},
      {"2.5", 2, 2, 2.5},
      {"99999999999", 4294967295u, 2147483647, 99999999999.0},
      {"-99999999999", 0, -2147483647 - 1, -99999999999.0},
      {"4294967295", 4294967295u, 2147483647, 4294967295.0},
  };
  for (const Read& read : reads) {
    SCOPED_TRACE(read.text);
    box->SetText(read.text);
    EXPECT_EQ(box->GetUnsigned(), read.unsignedValue);
    EXPECT_EQ(box->GetInteger(), read.integer);
    EXPECT_DOUBLE_EQ(box->GetReal(), read.real);
  }

  box->SetUnsigned(4294967295u);
  EXPECT_EQ(TextOf(*box), "4294967295");
  EXPECT_EQ(box->CaretIndex, 10);
  box->SetInteger(-2147483647 - 1);
  EXPECT_EQ(TextOf(*box), "-2147483648");
  box->SetReal(2.5, 0, 2);
  EXPECT_EQ(TextOf(*box), "2.500000");
  box->SetReal(2.5, 2, 0);
  EXPECT_EQ(TextOf(*box), "2.500000");
  box->SetReal(2.5, 7, 2);
  EXPECT_EQ(TextOf(*box), "   2.50");
  EXPECT_EQ(box->CaretIndex, 7);

  // A field wider than the text refuses, the text unchanged.
  box->SetReal(1.0, 5000, 2);
  EXPECT_EQ(TextOf(*box), "   2.50");
  EXPECT_TRUE(LogHas(Line("LumoEditBox::SetReal() The number of 5000 characters does not fit the text (Control=%p:"
                          "CountingEditBox)",
                          box)));

  for (const auto& [given, stored] : std::vector<std::pair<int32_t, int32_t>>{
           {5000, 0}, {-1, 0}, {4096, 4096}, {4097, 0}, {5, 5}, {0, 0}}) {
    EXPECT_EQ(box->SetMaxLength(given), stored) << given;
    EXPECT_EQ(box->MaxLength, stored) << given;
  }
}

// A font of line height 0 counts no lines, so nothing divides by it; a box
// without a page graphic does not scroll.
TEST_F(EditBoxFrameTest, NoLineHeightAndNoGraphicDivideByNothing) {
  LumoFontNode* flat = MakeFont("FlatFont", 0);
  auto* box = new CountingEditBox;
  cell->Append(box);
  box->Define(0, 0, 64, 16, 2, kCaretColour, kPaper, flat, true);
  cell->StartAnimation();
  box->Focus();
  box->SetText("AB");
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(TextOf(*box), "AB");
  int32_t lastLineTop = -5;
  EXPECT_TRUE(box->FitsInLines(lastLineTop));
  EXPECT_EQ(lastLineTop, 0);
  box->IndexAtPoint(3, 3);
  EXPECT_EQ(box->CaretIndex, 2);
  Press(5, 2);
  EXPECT_EQ(box->CaretIndex, 2);
  box->ScrollInView();

  auto* bare = new CountingEditBox;
  cell->Append(bare);
  bare->SetUp(0, 40, font, true, 6);
  bare->SetText("AB");
  int32_t horizontal = 0;
  int32_t vertical = 0;
  EXPECT_FALSE(bare->DoScrollInView(horizontal, vertical));
  EXPECT_EQ(horizontal, -1);
  EXPECT_EQ(vertical, -1);
  bare->ScrollInView();
  EXPECT_EQ(bare->HorizontalOffset, 0);
  EXPECT_EQ(bare->VerticalOffset, 0);
}

}  // namespace
}  // namespace framework_testing
