#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "EditBoxFixture.h"
#include "framework/LumoEngine.h"
#include "framework/LumoScrollBar.h"

namespace framework_testing {
namespace {

using EditBoxTest = EditBoxFixture;

// Every define form makes an enabled, focusable input of the engine's
// control margins, with the caret graphic of the font's spacing and line
// height; a box two lines high is a wrapped multi-line box.
TEST_F(EditBoxTest, EveryDefineFormMakesAnEditableBoxOfItsHeight) {
  GraphicHandle picture = CreateGraphic(48, 24, sRGB{0, 200, 0});
  ASSERT_NE(picture, nullptr);
  ASSERT_TRUE(SaveGraphic(picture, "EditPaper.bmp"));
  DestroyGraphic(picture);
  LumoFontNode* builtIn = Engine->CreateDefaultFont();
  ASSERT_NE(builtIn, nullptr);
  builtIn->SetCaretColour(sRGB{1, 2, 250});
  Engine->SetFont(font);
  struct Row {
    const char* name;
    std::function<void(LumoEditBox&)> define;
    LumoFontNode* font;
    int32_t width;
    int32_t height;
    bool multiLine;
    sRGB caret;
  };
  const std::vector<Row> rows = {
      {"Define, one line", [&](LumoEditBox& b) { b.Define(4, 6, 60, 12, 3, kCaretColour, kPaper, font, true); }, font,
       60, 12, false, kCaretColour},
      {"Define, two lines", [&](LumoEditBox& b) { b.Define(4, 6, 60, 16, 3, kCaretColour, kPaper, font, true); }, font,
       60, 16, true, kCaretColour},
      {"DefineBlack", [&](LumoEditBox& b) { b.DefineBlack(4, 6, 50, 30, 2, kCaretColour); }, font, 50, 30, true,
       kCaretColour},
      {"DefineLines", [&](LumoEditBox& b) { b.DefineLines(4, 6, 70, 3); }, builtIn, 70, 48, true,
       sRGB{1, 2, 250}},
      {"DefineWithGraphic", [&](LumoEditBox& b) { b.DefineWithGraphic(4, 6, 2, kCaretColour, "EditPaper.bmp", font,
                                                                      true); },
       font, 48, 24, true, kCaretColour},
      {"DefineWithGraphicForFont", [&](LumoEditBox& b) { b.DefineWithGraphicForFont(4, 6, "EditPaper.bmp"); },
       builtIn, 48, 24, false, sRGB{1, 2, 250}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto* box = new LumoEditBox;
    cell->Append(box);
    row.define(*box);
    EXPECT_EQ(box->Left, 4);
    EXPECT_EQ(box->Top, 6);
    EXPECT_EQ(box->Font, row.font);
    ASSERT_NE(box->Graphic, nullptr);
    EXPECT_EQ(box->Graphic->Width, row.width);
    EXPECT_EQ(box->Graphic->Height, row.height);
    EXPECT_TRUE(box->Input);
    EXPECT_TRUE(box->Focusable);
    EXPECT_TRUE(box->Enabled);
    EXPECT_EQ(box->Margin, Engine->ControlMargin());
    EXPECT_EQ(box->Gap, 2 * Engine->ControlMargin());
    EXPECT_EQ(box->MultiLine, row.multiLine);
    EXPECT_EQ(box->Wrapped, row.multiLine);
    EXPECT_TRUE(box->AllowSpaces);
    EXPECT_TRUE(box->KeysEnabled);
    EXPECT_TRUE(box->TypingEnabled);
    EXPECT_EQ(box->MaxLength, 0);
    EXPECT_EQ(box->SequenceList->FramesPerPulse, 6u);
    ASSERT_NE(box->CaretGraphic, nullptr);
    EXPECT_EQ(box->CaretGraphic->Width, row.font->Spacing);
    EXPECT_EQ(box->CaretGraphic->Height, row.font->LineHeight);
    EXPECT_EQ(box->CaretGraphic->GetPixel(0, 0), ConvertRGB(row.caret));
    DestroyObject(box);
  }
}

// DefineLines paints the box in the built-in font's palette entry 12.
TEST_F(EditBoxTest, DefineLinesPaintsTheFontsBoxColour) {
  LumoFontNode* builtIn = Engine->CreateDefaultFont();
  ASSERT_NE(builtIn, nullptr);
  LumoFontNode::tPalette palette = builtIn->Palette;
  palette[12] = sRGB{0, 90, 180};
  builtIn->SetPalette(palette);
  auto* box = new LumoEditBox;
  cell->Append(box);
  box->DefineLines(0, 0, 80, 1);
  ASSERT_NE(box->Graphic, nullptr);
  EXPECT_EQ(box->Graphic->Height, builtIn->LineHeight);
  EXPECT_EQ(PixelOf(*box, 79, builtIn->LineHeight - 1), ConvertRGB(sRGB{0, 90, 180}));
  EXPECT_FALSE(box->MultiLine);
}

// Text set from code is kept at once and drawn at the box's next frame,
// on its page graphic and on the screen; without the focus no caret shows.
TEST_F(EditBoxTest, ASetTextIsDrawnAtTheNextFrame) {
  CountingEditBox* box = AddBox(64, 32, 40, 20);
  box->SetText("AiW");
  EXPECT_EQ(TextOf(*box), "AiW");
  EXPECT_EQ(box->GetTextString(), "AiW");
  EXPECT_EQ(box->CaretIndex, 3);
  EXPECT_TRUE(box->Changed);
  ExpectGlyphs(*box, {});
  ASSERT_TRUE(Frame(*box));
  EXPECT_FALSE(box->Changed);
  EXPECT_EQ(box->changes, 1);
  ExpectGlyphs(*box, {{'A', 1, 0}, {'i', 6, 0}, {'W', 9, 0}});
  EXPECT_EQ(box->TextEndX, 15);
  EXPECT_EQ(box->TextEndY, 0);
  EXPECT_EQ(box->CaretLeft, 15);
  EXPECT_EQ(Presented(40 + 1, 20), ConvertRGB(GlyphColour('A')));
  EXPECT_EQ(Presented(40 + 9 + 5, 20 + 5), ConvertRGB(GlyphColour('W')));
  EXPECT_EQ(Presented(40 + 15, 20), ConvertRGB(kPaper));

  box->SetTextString(tString("i"));
  ASSERT_TRUE(Frame(*box));
  ExpectGlyphs(*box, {{'i', 1, 0}});
  box->SetText(nullptr);
  EXPECT_EQ(TextOf(*box), "");
  EXPECT_EQ(box->CaretIndex, 0);
  ASSERT_TRUE(Frame(*box));
  ExpectGlyphs(*box, {});
}

// A focused box shows its caret, a 1 x 8 column before the next character.
TEST_F(EditBoxTest, AFocusedBoxDrawsItsCaretAtTheCaretIndex) {
  CountingEditBox* box = AddBox(64, 32, 40, 20);
  box->SetText("AB");
  box->Focus();
  ASSERT_TRUE(box->Focused);
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(box->CaretLeft, 10);
  EXPECT_TRUE(CaretDrawnAt(*box, 10, 0));
  EXPECT_EQ(CaretPixels(*box), kLineHeight);
  EXPECT_EQ(Presented(40 + 10, 20 + 7), ConvertRGB(kCaretColour));
}

// The device sends Enter's character after the key. Shift and Enter accept
// a wrapped box and that character types nothing; a plain Enter types the
// line break.
TEST_F(EditBoxTest, AnEnterThatAcceptsTypesNoLineBreak) {
  CountingEditBox* box = AddBox(64, 32);
  box->SetText("AB");
  box->Focus();
  KeyDown(kShift);
  KeyDown(kEnter);
  Character(13);
  KeyUp(kEnter);
  KeyUp(kShift);
  EXPECT_EQ(box->accepts, 1);
  EXPECT_EQ(box->executes, 1);
  EXPECT_EQ(TextOf(*box), "AB");
  KeyDown(kEnter);
  Character(13);
  KeyUp(kEnter);
  EXPECT_EQ(box->accepts, 1);
  EXPECT_EQ(TextOf(*box), "AB\n");
}

// A click accepts and a double click executes, only with the focus (the
// press gives it); a press outside the box does nothing to it.
TEST_F(EditBoxTest, AClickAcceptsAndADoubleClickExecutes) {
  CountingEditBox* box = AddBox(64, 12, 40, 20);
  box->SetText("AB");
  ASSERT_TRUE(Frame(*box));
  Press(45, 25);
  Release(45, 25);
  EXPECT_TRUE(box->Focused);
  EXPECT_EQ(box->CaretIndex, 1);
  EXPECT_EQ(box->accepts, 1);
  EXPECT_EQ(box->executes, 0);
  Press(45, 25);
  Release(45, 25);
  EXPECT_EQ(box->executes, 1);
  box->SetCaretIndex(2);
  Press(200, 150);
  Release(200, 150);
  EXPECT_EQ(box->CaretIndex, 2);
  EXPECT_EQ(box->accepts, 1);
  EXPECT_EQ(box->executes, 1);
}

// The caret graphic is the box's own: a new caret colour fills it, clearing
// destroys it, and one freed elsewhere is forgotten. A named caret belongs
// to the graphic list and stays.
TEST_F(EditBoxTest, TheCaretGraphicBelongsToTheBox) {
  CountingEditBox* box = AddBox(64, 12);
  LumoGraphicNode* caret = box->CaretGraphic;
  ASSERT_NE(caret, nullptr);
  EXPECT_EQ(caret->Name, nullptr);
  const sRGB other{200, 30, 30};
  box->SetCaret(5, other);
  EXPECT_EQ(caret->GetPixel(0, 7), ConvertRGB(other));
  EXPECT_EQ(box->BlinkPeriod, 5);
  EXPECT_EQ(box->BlinkCountdown, 5);
  EXPECT_FALSE(box->BlinkPhase);
  const int32_t count = level->GraphicList->Count;
  box->Clear();
  EXPECT_EQ(box->CaretGraphic, nullptr);
  // The caret and the page graphic went.
  EXPECT_EQ(level->GraphicList->Count, count - 2);

  box->Define(0, 0, 64, 12, 2, kCaretColour, kPaper, font, true);
  box->StartAnimation();
  ASSERT_NE(box->CaretGraphic, nullptr);
  DestroyObject(box->CaretGraphic);
  EXPECT_EQ(box->CaretGraphic, nullptr);
  box->Focus();
  box->SetText("A");
  ASSERT_TRUE(Frame(*box));
  EXPECT_EQ(CaretPixels(*box), 0);

  LumoGraphicNode* named = level->GraphicList->GetGeneratedGraphic(1, kLineHeight, kCaretColour, true);
  ASSERT_NE(named, nullptr);
  ASSERT_NE(named->Name, nullptr);
  box->SetCaretGraphic(named);
  box->ResetCaretTimer(4);
  box->SetText("AB");
  ASSERT_TRUE(Frame(*box));
  EXPECT_TRUE(CaretDrawnAt(*box, 10, 0));
  box->Clear();
  EXPECT_EQ(level->GraphicList->FindByName(named->Name), named);
}

// A box whose chosen hook throws: each guarded hook reports its text and
// passes the exception on.
class ThrowingEditBox : public CountingEditBox {
 public:
  const char* GetClassName() const override { return "ThrowingEditBox"; }
  void DoSynchronize() override {
    if (fail == 1) {
      throw 1;
    }
    CountingEditBox::DoSynchronize();
  }
  void DoUpdate() override {
    if (fail == 2) {
      throw 2;
    }
  }
  void OnUpdate() override {
    if (fail == 3) {
      throw 3;
    }
  }
  void OnChange() override {
    if (fail == 4) {
      throw 4;
    }
  }
  int fail = 0;
};

TEST_F(EditBoxTest, FailingHooksAreReportedAndPassedOn) {
  auto* box = new ThrowingEditBox;
  cell->Append(box);
  box->Define(0, 0, 64, 12, 2, kCaretColour, kPaper, font, true);
  struct Row {
    int fail;
    std::function<void()> run;
    const char* line;
  };
  const std::vector<Row> rows = {
      {1, [&] { box->Synchronize(); }, "LumoEditBox::Synchronize() Unhandled exception during DoSynchronize()"},
      {2, [&] { box->Update(); }, "LumoEditBox::Update() Unhandled exception during DoUpdate()"},
      {3, [&] { box->Update(); }, "LumoEditBox::Update() Unhandled exception during OnUpdate()"},
      {4,
       [&] {
         box->Change();
         box->DoSelectFrame();
       },
       "LumoEditBox::DoSelectFrame() Unhandled exception during OnChange()"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    box->fail = row.fail;
    EXPECT_THROW(row.run(), int);
    EXPECT_TRUE(LogHas(Line((std::string(row.line) + " (Control=%p:ThrowingEditBox)").c_str(), box)));
  }
}

}  // namespace
}  // namespace framework_testing
