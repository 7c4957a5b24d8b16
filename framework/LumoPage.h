#pragma once

#include <cstdarg>
#include <cstdint>

#include "framework/LumoComplexControl.h"
#include "runtime/Graphics.h"

class LumoFontNode;
class LumoGraphicNode;

// The framework's text surface: a control that owns one drawing graphic and
// lays text into it glyph by glyph with a bitmap font. It keeps a caret (the
// pixel where the next glyph goes), wraps at word or character boundaries,
// expands tabs, knows line feed and new line and can centre one line. Text is
// a NUL-terminated string of single-byte codes.
//
// Layout is made of virtual operations, so a derived control can watch every
// character placed (OnCharacterPlaced) or measure otherwise. A page without a
// font lays out nothing, and a font whose LineHeight is 0 counts no lines.
class LumoPage : public LumoComplexControl {
 public:
  static constexpr int32_t kFormatBufferSize = 4096;
  static constexpr int32_t kDefaultTabWidth = 4;

  LumoPage();

  const char* GetClassName() const override;
  // Forgets the drawing graphic, the background or the font when it goes.
  void OnAbortReferenceTo(LumoObject* other) override;
  // Destroys the drawing graphic (a nameless one the page made; a named one
  // is only let go), drops the background, puts the caret at (0, 0) and
  // switches word wrap off; then the complex control's clear.
  void DoClear() override;
  // With a font, a bar steps one line and pages two.
  void InitializeHorizontalBar() override;
  void InitializeVerticalBar() override;
  // The offset follows the bar: 0 for a negative position, else minus the
  // position, at most the text's extent.
  void DoHorizontalScroll(int32_t position) override;
  void DoVerticalScroll(int32_t position) override;

  // ---- Layout operations ----

  // Replace the drawing graphic or the background (each referenced).
  virtual LumoGraphicNode* SetGraphic(LumoGraphicNode* graphic);
  virtual LumoGraphicNode* SetBackground(LumoGraphicNode* background);
  // False for the layout codes 0, 9, 10, 11 and 32.
  virtual bool IsWordCharacter(uint8_t code);
  // False for 0; true for the other layout codes; else whether the font has
  // a glyph for the code.
  virtual bool HasGlyph(uint8_t code);
  // x after placing the glyph (unchanged without one).
  virtual int32_t AdvanceWidth(LumoGraphicNode* glyph, int32_t x);
  // x advanced by the code's glyph; whether it reached TextWidth. A code
  // without a glyph neither moves x nor overruns.
  virtual bool OverrunsLine(uint8_t code, int32_t& x);
  // Called before each character is laid out and once after the last.
  virtual void OnCharacterPlaced(int32_t index, int32_t x, int32_t y);
  // A new sequence of one frame showing a new graphic of its own in the
  // colour; answers the graphic (null when either step failed).
  virtual LumoGraphicNode* CreateCanvas(int32_t width, int32_t height, const sRGB& colour);
  // Null selects the engine's current font.
  virtual LumoFontNode* SetFont(LumoFontNode* font);
  virtual int32_t SetCaretX(int32_t x);
  virtual int32_t SetCaretY(int32_t y);
  // The laid-out area never shrinks below the graphic. Past the graphic
  // (and with the graphic more than a line high) a bar is attached when
  // allowed; an existing or new bar's maximum is the hidden extent.
  virtual int32_t SetTextWidth(int32_t width, bool allowBar);
  virtual int32_t SetTextHeight(int32_t height, bool allowBar);
  // Values below 1 are refused: the kept margin is answered.
  virtual int32_t SetLeftMargin(int32_t x);
  // The text height of that many lines; answers the lines it holds.
  virtual int32_t SetLines(int32_t lines, bool allowBar);
  // Values below 1 are refused: the kept width is answered.
  virtual int32_t SetTabWidth(int32_t cells);
  virtual bool SetProportional(bool on);
  virtual bool SetWordWrap(bool on);
  // Draws the code's glyph at the caret and advances it; a code without a
  // glyph does nothing. Answers the code.
  virtual uint8_t PutCharacter(uint8_t code);
  virtual void PutSpace();
  // To the next tab stop counted from x = 0; a font whose tab cell is 0
  // leaves the caret where it is.
  virtual void PutTab();
  virtual void LineFeed();
  virtual void NewLine();
  // 0 nothing, 9 tab, 10 new line, 11 line feed, 32 space, others glyphs.
  virtual uint8_t PutCode(uint8_t code);
  // The printers answer the number of characters consumed.
  virtual int32_t PrintTextEx(const char* text, char escape);
  virtual int32_t PrintText(const char* text);
  virtual int32_t WrapText(const char* text);
  virtual int32_t PrintCentred(const char* text);
  // Caret to (LeftMargin, 0); the background copied over the graphic, else
  // the graphic filled with its fill colour.
  virtual void ClearPage();

  // ---- Set-up ----

  // TextHeight / LineHeight; 0 without a font or with a LineHeight of 0.
  int32_t GetLines() const;
  void SetUp(int32_t left, int32_t top, LumoFontNode* font, bool proportional, uint32_t framesPerPulse);
  LumoGraphicNode* CreatePageGraphic(int32_t width, int32_t height, const sRGB& colour);
  // The named graphic of the page's level becomes the background, and the
  // canvas takes its size (128 x 64 without one), in black.
  LumoGraphicNode* CreatePageGraphicFrom(const char* name);
  // The populate and activate hooks, so a page defined in one call is live.
  void PopulateSelf();
  void Define(int32_t left, int32_t top, int32_t width, int32_t height, const sRGB& colour, LumoFontNode* font,
              bool proportional);
  void DefineBlank(int32_t left, int32_t top, int32_t width, int32_t height, LumoFontNode* font);
  void DefineWithGraphic(int32_t left, int32_t top, const char* name, LumoFontNode* font, bool proportional);
  // printf-style into a buffer of kFormatBufferSize bytes (a longer text is
  // cut and the cut logged), then PrintText, WrapText or PrintCentred.
  int32_t WriteFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));
  int32_t WrapFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));
  int32_t PrintFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // ---- Fields ----

  LumoGraphicNode* Graphic = nullptr;     // referenced; drawn into
  LumoGraphicNode* Background = nullptr;  // referenced; copied in by ClearPage
  LumoFontNode* Font = nullptr;           // referenced, not owned
  int32_t CaretX = 0;
  int32_t CaretY = 0;
  int32_t HorizontalOffset = 0;  // 0 or negative; added to every drawing x
  int32_t VerticalOffset = 0;    // 0 or negative; added to every drawing y
  int32_t TextWidth = 0;
  int32_t TextHeight = 0;
  int32_t LeftMargin = 0;
  int32_t TabWidth = kDefaultTabWidth;
  bool Proportional = true;
  bool WordWrap = false;

 protected:
  // Spacing plus SpaceWidth (proportional) or FixedWidth: a blank's advance
  // and the tab cell. 0 without a font.
  int32_t BlankWidth() const;
  int32_t GraphicWidth() const;
  int32_t GraphicHeight() const;

 private:
  // One axis of SetTextWidth and SetTextHeight.
  int32_t SetTextExtent(int32_t& extent, int32_t value, int32_t visible, bool allowBar, bool horizontal);
  void InitializeBar(LumoScrollBar* bar);
  // The formatting shared by the three formatted printers.
  bool Format(const char* operation, char (&buffer)[kFormatBufferSize], const char* format, va_list arguments);
};
