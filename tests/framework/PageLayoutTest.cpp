#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "runtime/GraphicFiles.h"

namespace framework_testing {
namespace {

// A page that records what OnCharacterPlaced sees.
class WatchedPage : public LumoPage {
 public:
  void OnCharacterPlaced(int32_t index, int32_t x, int32_t y) override {
    placed.push_back(index);
    positions.push_back({x, y});
  }
  std::vector<int32_t> placed;
  std::vector<std::pair<int32_t, int32_t>> positions;
};

struct LayoutCase {
  const char* name;
  int32_t margin;  // 0 keeps the default
  bool proportional;
  int32_t startX;
  int32_t startY;
  std::function<void(LumoPage&)> act;
  int32_t caretX;
  int32_t caretY;
  std::vector<PlacedGlyph> glyphs;
};

class PageLayoutTest : public PageFixture {};

// The test font: LineHeight 8, SpaceWidth 3, Spacing 1, FixedWidth 5, most
// glyphs 4 wide. A blank advances 4 (fixed 6), a glyph 5; a tab stop is 16
// (fixed 24); a glyph is drawn at Spacing + the caret.
TEST_F(PageLayoutTest, PrimitivesAndPrintersPlaceTheCaretAndTheGlyphs) {
  const std::vector<LayoutCase> cases = {
      {"code 10 returns to the margin one line down", 5, true, 20, 0, [](LumoPage& p) { p.PutCode(10); }, 5, 8, {}},
      {"code 11 only moves down", 5, true, 20, 0, [](LumoPage& p) { p.PutCode(11); }, 20, 8, {}},
      {"code 0 does nothing", 5, true, 20, 0, [](LumoPage& p) { p.PutCode(0); }, 20, 0, {}},
      {"code 32 advances a blank", 0, true, 20, 0, [](LumoPage& p) { p.PutCode(32); }, 24, 0, {}},
      {"code 32 in fixed layout", 0, false, 20, 0, [](LumoPage& p) { p.PutCode(32); }, 26, 0, {}},
      {"a glyph code draws and advances", 0, true, 10, 8, [](LumoPage& p) { p.PutCode('W'); }, 17, 8,
       {{'W', 11, 8}}},
      {"a fixed glyph advances the fixed width", 0, false, 10, 8, [](LumoPage& p) { p.PutCode('W'); }, 16, 8,
       {{'W', 11, 8}}},
      {"a code without a glyph does nothing", 0, true, 10, 8, [](LumoPage& p) { p.PutCode('1'); }, 10, 8, {}},
      {"a tab from 0 lands on one stop", 0, true, 0, 0, [](LumoPage& p) { p.PutCode(9); }, 16, 0, {}},
      {"a tab from a stop lands on the next", 0, true, 16, 0, [](LumoPage& p) { p.PutCode(9); }, 32, 0, {}},
      {"a tab from past a stop", 0, true, 17, 0, [](LumoPage& p) { p.PutCode(9); }, 32, 0, {}},
      {"a tab counts from 0, not the margin", 5, true, 5, 0, [](LumoPage& p) { p.PutCode(9); }, 16, 0, {}},
      {"a fixed tab", 0, false, 0, 0, [](LumoPage& p) { p.PutCode(9); }, 24, 0, {}},
      {"a tab of two cells", 0, true, 0, 0,
       [](LumoPage& p) {
         p.SetTabWidth(2);
         p.PutCode(9);
       },
       8, 0, {}},
      {"a refused tab width keeps four cells", 0, true, 0, 0,
       [](LumoPage& p) {
         EXPECT_EQ(p.SetTabWidth(0), 4);
         p.PutCode(9);
       },
       16, 0, {}},
      {"the escape character is not printed", 0, true, 0, 0,
       [](LumoPage& p) { EXPECT_EQ(p.PrintTextEx("Fil&e", '&'), 5); }, 18, 0,
       {{'F', 1, 0}, {'i', 6, 0}, {'l', 9, 0}, {'e', 14, 0}}},
      {"a doubled escape prints one", 0, true, 0, 0, [](LumoPage& p) { p.PrintTextEx("a&&b", '&'); }, 15, 0,
       {{'a', 1, 0}, {'&', 6, 0}, {'b', 11, 0}}},
      {"an escape at the end prints nothing more", 0, true, 0, 0, [](LumoPage& p) { p.PrintTextEx("a&", '&'); },
       5, 0, {{'a', 1, 0}}},
      {"printing starts at the caret", 0, true, 30, 16, [](LumoPage& p) { p.PrintText("ab\ncd"); }, 10, 24,
       {{'a', 31, 16}, {'b', 36, 16}, {'c', 1, 24}, {'d', 6, 24}}},
      {"one centred character", 0, true, 9, 9, [](LumoPage& p) { p.PrintCentred("A"); }, 35, 12, {{'A', 31, 12}}},
      {"two centred characters count one spacing", 0, true, 0, 0, [](LumoPage& p) { p.PrintCentred("AB"); }, 38,
       12, {{'A', 29, 12}, {'B', 34, 12}}},
      {"a centred blank counts its width", 0, true, 0, 0, [](LumoPage& p) { p.PrintCentred("A B"); }, 40, 12,
       {{'A', 27, 12}, {'B', 36, 12}}},
      {"a centred fixed text", 0, false, 0, 0, [](LumoPage& p) { p.PrintCentred("Wi"); }, 39, 12,
       {{'W', 28, 12}, {'i', 34, 12}}},
      {"a character without a glyph is not centred", 0, true, 9, 9, [](LumoPage& p) { p.PrintCentred("A1B"); },
       10, 0, {{'A', 1, 0}, {'B', 6, 0}}},
      {"a tab is not centred", 0, true, 9, 9, [](LumoPage& p) { p.PrintCentred("A\tB"); }, 21, 0,
       {{'A', 1, 0}, {'B', 17, 0}}},
      {"an empty text is not centred", 0, true, 9, 9, [](LumoPage& p) { EXPECT_EQ(p.PrintCentred(""), 0); }, 9, 9,
       {}},
      {"a text width below the graphic keeps the graphic's", 0, true, 0, 0,
       [](LumoPage& p) { EXPECT_EQ(p.SetTextWidth(10, true), 64); }, 0, 0, {}},
      {"three lines are less than the graphic", 0, true, 0, 0,
       [](LumoPage& p) {
         EXPECT_EQ(p.SetLines(3, false), 4);
         EXPECT_EQ(p.TextHeight, 32);
       },
       0, 0, {}},
      {"six lines are more than the graphic", 0, true, 0, 0,
       [](LumoPage& p) {
         EXPECT_EQ(p.SetLines(6, false), 6);
         EXPECT_EQ(p.TextHeight, 48);
         EXPECT_EQ(p.GetLines(), 6);
       },
       0, 0, {}},
      {"a margin of 0 is refused", 5, true, 0, 0,
       [](LumoPage& p) {
         EXPECT_EQ(p.SetLeftMargin(0), 5);
         EXPECT_EQ(p.SetLeftMargin(-3), 5);
         p.PutCode(10);
       },
       5, 8, {}},
      {"a new line with the default margin returns to 0", 0, true, 30, 0, [](LumoPage& p) { p.PrintText("a\nb"); },
       5, 8, {{'a', 31, 0}, {'b', 1, 8}}},
      {"word wrap moves a glyph reaching the edge to a new line", 3, true, 59, 0,
       [](LumoPage& p) {
         p.SetWordWrap(true);
         p.PutCharacter('A');
       },
       8, 8, {{'A', 4, 8}}},
      {"word wrap moves a blank reaching the edge to a new line", 3, true, 60, 0,
       [](LumoPage& p) {
         p.SetWordWrap(true);
         p.PutSpace();
       },
       3, 8, {}},
      {"without word wrap a glyph runs past the edge", 0, true, 58, 0, [](LumoPage& p) { p.PutCharacter('A'); }, 63,
       0, {{'A', 59, 0}}},
  };
  for (const LayoutCase& row : cases) {
    SCOPED_TRACE(row.name);
    auto* page = AddPage(64, 32);
    if (row.margin != 0) {
      page->SetLeftMargin(row.margin);
    }
    page->SetProportional(row.proportional);
    page->ClearPage();
    page->SetCaretX(row.startX);
    page->SetCaretY(row.startY);
    row.act(*page);
    EXPECT_EQ(page->CaretX, row.caretX);
    EXPECT_EQ(page->CaretY, row.caretY);
    ExpectGlyphs(*page, row.glyphs);
    DestroyObject(page);
  }
}

TEST_F(PageLayoutTest, PrintersReportEveryPlacedIndexAndTheEnd) {
  auto* page = AddPage<WatchedPage>(64, 32);
  page->ClearPage();
  page->PrintTextEx("Fil&e", '&');
  EXPECT_EQ(page->placed, (std::vector<int32_t>{0, 1, 2, 4, 5}));
  EXPECT_EQ(page->positions.back(), (std::pair<int32_t, int32_t>{18, 0}));

  page->placed.clear();
  page->ClearPage();
  EXPECT_EQ(page->WrapText("ab c"), 4);
  EXPECT_EQ(page->placed, (std::vector<int32_t>{0, 1, 2, 3, 4}));
}

// 32 pixels of text: a glyph advances 5, so six fit on a line.
TEST_F(PageLayoutTest, WrapTextMovesAWordThatDoesNotFitToTheMargin) {
  auto* page = AddPage(32, 32);
  page->SetLeftMargin(2);
  page->ClearPage();
  EXPECT_EQ(page->WrapText("ab cdefg"), 8);
  ExpectGlyphs(*page, {{'a', 3, 0}, {'b', 8, 0}, {'c', 3, 8}, {'d', 8, 8}, {'e', 13, 8}, {'f', 18, 8},
                       {'g', 23, 8}});
  EXPECT_EQ(page->CaretX, 27);
  EXPECT_EQ(page->CaretY, 8);
  EXPECT_FALSE(page->WordWrap);
}

TEST_F(PageLayoutTest, WrapTextBreaksALongWordAtTheStartWithoutAnEmptyLine) {
  auto* page = AddPage(32, 32);
  page->ClearPage();
  page->WrapText("abcdefghi");
  ExpectGlyphs(*page, {{'a', 1, 0}, {'b', 6, 0}, {'c', 11, 0}, {'d', 16, 0}, {'e', 21, 0}, {'f', 26, 0},
                       {'g', 1, 8}, {'h', 6, 8}, {'i', 11, 8}});
}

// With a margin the caret is never at 0 on a fresh line, so the long word
// first moves to a new line, leaving the first one empty.
TEST_F(PageLayoutTest, WrapTextAfterAMarginStartsALongWordOnTheNextLine) {
  auto* page = AddPage(32, 32);
  page->SetLeftMargin(2);
  page->ClearPage();
  page->WrapText("abcdefg");
  ExpectGlyphs(*page, {{'a', 3, 8}, {'b', 8, 8}, {'c', 13, 8}, {'d', 18, 8}, {'e', 23, 8}, {'f', 3, 16},
                       {'g', 8, 16}});
}

TEST_F(PageLayoutTest, WrapTextKeepsAnOwnWordWrapSetting) {
  auto* page = AddPage(32, 32);
  page->SetWordWrap(true);
  page->WrapText("ab");
  EXPECT_TRUE(page->WordWrap);
}

TEST_F(PageLayoutTest, ClearPageCopiesTheBackgroundOrFillsWithTheFillColour) {
  auto* page = AddPage(32, 16);
  page->SetLeftMargin(3);
  page->PrintText("ab");
  page->ClearPage();
  ExpectGlyphs(*page, {});
  EXPECT_EQ(page->CaretX, 3);
  EXPECT_EQ(page->CaretY, 0);

  LumoGraphicNode* background = Engine->GraphicList->GetGeneratedGraphic(32, 16, sRGB{0, 200, 0}, false);
  page->SetBackground(background);
  page->ClearPage();
  EXPECT_EQ(PixelOf(*page, 31, 15), ConvertRGB(sRGB{0, 200, 0}));
  DestroyObject(background);
  EXPECT_EQ(page->Background, nullptr);
}

// A page without a font and a font of line height 0 lay out nothing and
// count no lines (they would read through a null font or divide by 0).
TEST_F(PageLayoutTest, APageWithoutAFontLaysOutNothing) {
  auto* page = new LumoPage;
  cell->Append(page);
  page->CreatePageGraphic(32, 16, kPaper);
  ASSERT_EQ(page->Font, nullptr);
  page->SetCaretX(7);
  for (uint8_t code : {uint8_t{9}, uint8_t{10}, uint8_t{11}, uint8_t{32}, uint8_t{'A'}}) {
    page->PutCode(code);
  }
  EXPECT_EQ(page->PrintText("ab\tc"), 0);
  EXPECT_EQ(page->PrintTextEx("ab", '&'), 0);
  EXPECT_EQ(page->WrapText("ab cd"), 0);
  EXPECT_EQ(page->PrintCentred("ab"), 0);
  EXPECT_EQ(page->WriteFormatted("%d", 12), 0);
  EXPECT_FALSE(page->HasGlyph('A'));
  int32_t x = 3;
  EXPECT_FALSE(page->OverrunsLine('A', x));
  EXPECT_EQ(x, 3);
  EXPECT_EQ(page->CaretX, 7);
  EXPECT_EQ(page->CaretY, 0);
  EXPECT_EQ(page->SetLines(3, false), 0);
  EXPECT_EQ(page->GetLines(), 0);
  EXPECT_EQ(page->TextHeight, 16);
  ExpectGlyphs(*page, {});
}

TEST_F(PageLayoutTest, AFontOfLineHeightZeroCountsNoLines) {
  auto* page = AddPage(32, 16);
  page->SetFont(MakeFont("FlatFont", 0));
  EXPECT_EQ(page->SetLines(3, false), 0);
  EXPECT_EQ(page->GetLines(), 0);
  EXPECT_EQ(page->TextHeight, 16);
  page->PrintText("a\nb");
  EXPECT_EQ(page->CaretY, 0);
}

TEST_F(PageLayoutTest, AFontWithoutATabCellLeavesTheCaretAtATab) {
  auto* flat = MakeFont("NoBlankFont", kLineHeight);
  flat->SetSpaceWidth(0);
  flat->SetSpacing(0);
  auto* page = AddPage(32, 16);
  page->SetFont(flat);
  page->SetCaretX(7);
  page->PutTab();
  EXPECT_EQ(page->CaretX, 7);
}

TEST_F(PageLayoutTest, FormattedPrintersCutALongTextAndSayIt) {
  auto* page = AddPage(32, 16);
  const std::string longText(5000, '1');
  EXPECT_EQ(page->WriteFormatted("%s", longText.c_str()), LumoPage::kFormatBufferSize - 1);
  EXPECT_TRUE(LogHas("LumoPage::WriteFormatted() The formatted text of 5000 characters was cut to 4095"));
  page->ClearPage();
  EXPECT_EQ(page->PrintFormatted("%c", 'A'), 1);
  ExpectGlyphs(*page, {{'A', 15, 4}});
  page->ClearPage();
  EXPECT_EQ(page->WrapFormatted("%s %s", "ab", "cd"), 5);
  ExpectGlyphs(*page, {{'a', 1, 0}, {'b', 6, 0}, {'c', 15, 0}, {'d', 20, 0}});
}

// The page's graphic is its own: made once by each definition, destroyed
// once by clearing, and the frame that showed it lets go.
TEST_F(PageLayoutTest, ThePageGraphicIsDestroyedOnceByClearing) {
  LumoGraphicList* graphics = level->GraphicList.get();
  ASSERT_NE(graphics, nullptr);
  const int32_t before = graphics->Count;
  auto* page = AddPage(32, 16);
  EXPECT_EQ(graphics->Count, before + 1);
  page->DefineBlank(0, 0, 16, 16, font);
  EXPECT_EQ(graphics->Count, before + 1);
  EXPECT_EQ(page->Graphic->Width, 16);
  page->Clear();
  EXPECT_EQ(page->Graphic, nullptr);
  EXPECT_EQ(graphics->Count, before);
  page->Define(0, 0, 8, 8, kPaper, font, true);
  DestroyObject(page);
  EXPECT_EQ(graphics->Count, before);
}

TEST_F(PageLayoutTest, DefineWithAGraphicTakesItAsTheBackground) {
  auto* page = new LumoPage;
  cell->Append(page);
  page->DefineWithGraphic(0, 0, "NoSuchPicture", font, true);
  ASSERT_NE(page->Graphic, nullptr);
  EXPECT_EQ(page->Background, nullptr);
  EXPECT_EQ(page->Graphic->Width, 128);
  EXPECT_EQ(page->Graphic->Height, 64);
  EXPECT_EQ(page->TextWidth, 128);
  EXPECT_EQ(level->GraphicList->FindByName("NoSuchPicture"), nullptr);
}

TEST_F(PageLayoutTest, DefineWithAGraphicCopiesItAndClearsBackToIt) {
  GraphicHandle picture = CreateGraphic(40, 24, sRGB{0, 200, 0});
  ASSERT_NE(picture, nullptr);
  ASSERT_TRUE(SaveGraphic(picture, "Paper.bmp"));
  DestroyGraphic(picture);
  auto* page = new LumoPage;
  cell->Append(page);
  page->SetLeftMargin(3);
  page->DefineWithGraphic(0, 0, "Paper.bmp", font, true);
  ASSERT_NE(page->Background, nullptr);
  ASSERT_NE(page->Graphic, nullptr);
  EXPECT_EQ((std::vector<int32_t>{page->Graphic->Width, page->Graphic->Height, page->TextWidth, page->TextHeight}),
            (std::vector<int32_t>{40, 24, 40, 24}));
  EXPECT_EQ(page->CaretX, 3);
  const uint32_t green = ConvertRGB(sRGB{0, 200, 0});
  EXPECT_EQ(PixelOf(*page, 39, 23), green);
  page->PrintText("a");
  EXPECT_EQ(PixelOf(*page, 4, 0), ConvertRGB(GlyphColour('a')));
  page->ClearPage();
  EXPECT_EQ(PixelOf(*page, 4, 0), green);
  // The background is the list's and stays; the page's own graphic goes.
  LumoGraphicNode* background = page->Background;
  DestroyObject(page);
  EXPECT_EQ(level->GraphicList->FindByName("Paper.bmp"), background);
}

TEST_F(PageLayoutTest, ThePrintedPageIsPresented) {
  auto* page = AddPage(64, 32, 40, 20);
  page->ClearPage();
  page->PrintText("Wi");
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(40 + 1, 20), ConvertRGB(GlyphColour('W')));
  EXPECT_EQ(Presented(40 + 1 + 5, 20 + 5), ConvertRGB(GlyphColour('W')));
  EXPECT_EQ(Presented(40 + 8, 20), ConvertRGB(GlyphColour('i')));
  EXPECT_EQ(Presented(40 + 8, 20 + kBlockRows), ConvertRGB(kPaper));
}

}  // namespace
}  // namespace framework_testing
