#pragma once

#include <array>
#include <cstdint>

#include "base/tString.h"
#include "framework/LumoPage.h"
#include "runtime/Graphics.h"

class LumoFontNode;
class LumoGraphicNode;

// The framework's text input: a page that owns an editable text of at most
// 4,095 single-byte characters, a blinking caret drawn as a small graphic,
// and the caret position of every character, recorded while the text is
// laid out. Editing changes only the text and marks the control changed;
// once per frame the box lays the whole text out again, places and draws
// the caret, reports the change and scrolls the caret into view.
//
// A box at least two lines high is a word-wrapped multi-line box (Tab and
// Enter type into it); a lower one is a single line that grows its text
// area as the text passes the right edge. Numbers are read and written
// through the text.
class LumoEditBox : public LumoPage {
 public:
  static constexpr int32_t kTextSize = 4096;
  static constexpr int32_t kMaxLength = kTextSize - 1;  // characters
  static constexpr uint32_t kFramesPerPulse = 6;

  // The key codes the box reads.
  static constexpr int32_t kEnterKey = 13;
  static constexpr int32_t kEscapeKey = 27;
  static constexpr int32_t kPageUpKey = 33;
  static constexpr int32_t kPageDownKey = 34;
  static constexpr int32_t kEndKey = 35;
  static constexpr int32_t kHomeKey = 36;
  static constexpr int32_t kLeftKey = 37;
  static constexpr int32_t kUpKey = 38;
  static constexpr int32_t kRightKey = 39;
  static constexpr int32_t kDownKey = 40;
  static constexpr int32_t kDeleteKey = 46;

  // A caret position (the page caret before a character).
  struct tPosition {
    int32_t x = 0;
    int32_t y = 0;
  };

  // Input on, focusable, the engine's default control margins.
  LumoEditBox();

  const char* GetClassName() const override;

  // ---- Overrides ----

  // Empties the box: no text, caret at 0, changed.
  void ClearPage() override;
  // Records the position while a redraw asks for it; a line that is not
  // wrapped widens the text area as the caret passes its right edge.
  void OnCharacterPlaced(int32_t index, int32_t x, int32_t y) override;
  // The page's scroll, then a redraw at the next frame.
  void DoHorizontalScroll(int32_t position) override;
  void DoVerticalScroll(int32_t position) override;
  // Brings the caret into view: a negative position leaves that axis alone,
  // and -1 comes back for an axis that needs no scrolling. Without a page
  // graphic nothing scrolls.
  bool DoScrollInView(int32_t& horizontal, int32_t& vertical) override;
  // The blink starts again with the caret shown.
  void DoEnter(LumoControl* previous) override;
  // A redraw at the next frame, which draws no caret.
  void DoLeave(LumoControl* next) override;
  // The caret graphic of the font's spacing and line height, then the
  // options of a box of this height, enabled.
  void DoPopulate() override;
  // The blink, and the redraw of a changed box (see the class comment).
  void DoSelectFrame() override;
  // A nameless caret graphic (the box's own) is destroyed; then the page's
  // clear.
  void DoClear() override;
  void DoAbortReferenceTo(LumoObject* other) override;
  bool DoKeyDown(tInputEvent* event) override;
  bool DoKeyPress(tInputEvent* event) override;
  // Each only when the box has the focus and takes mouse input: a click
  // accepts, a double click executes, a press places the caret.
  bool DoMouseClick(tInputEvent* event) override;
  bool DoMouseDoubleClick(tInputEvent* event) override;
  bool DoMouseDown(tInputEvent* event) override;

  // ---- Operations, in slot order ----

  // Replaces the caret graphic (referenced).
  virtual LumoGraphicNode* SetCaretGraphic(LumoGraphicNode* graphic);
  // Caret to the end of the text; changed.
  virtual void DoSynchronize();
  virtual int32_t SetCaretLeft(int32_t x);
  virtual int32_t SetCaretTop(int32_t y);
  // The caret at the recorded position of its index.
  virtual void PlaceCaret();
  // Moves the caret to the first position of the point's line at or right
  // of the point, else to that line's last; unchanged when no position lies
  // on that line or the font has no line height.
  virtual void IndexAtPoint(int32_t x, int32_t y);
  // Whether a redraw records positions.
  virtual bool SetEditOption(bool on);
  // Whether the laid-out text ends on a visible line; lastLineTop is the top
  // of the last visible line. A font without line height counts no lines
  // (lastLineTop 0).
  virtual bool FitsInLines(int32_t& lastLineTop);
  // Whether typing is refused for want of room: MaxLength reached, or the
  // text ending past the visible lines or near the end of the last one.
  virtual bool IsFull();
  // Inserts the code at the caret and moves the caret past it; answers the
  // code, or 0 when refused (no glyph, full, or 4,095 characters already).
  virtual uint8_t InsertCharacter(uint8_t code);
  // Removes the character at the caret; false at the end of the text.
  virtual bool DeleteAtCaret();
  // Removes the character before the caret; false at the start.
  virtual bool Backspace();
  // Lays the whole text out again, recording the positions.
  virtual void Redraw();
  // Cuts the text that runs past the last visible line, and the character
  // before it (it may have wrapped there); never below an empty text.
  virtual void TrimOverflow();
  virtual void DoUpdate();
  // Copies at most 4,095 characters (null copies nothing), then
  // Synchronize.
  virtual void CopyText(const char* text);
  // Clamps to 0..the text's length; a new index marks the box changed.
  // Answers the index stored.
  virtual int32_t SetCaretIndex(int32_t index);
  // Caret shown, a redraw forced, period and countdown max(period, 1).
  virtual void ResetCaretTimer(int32_t period);
  // Fills the caret graphic (when there is one) and stores the colour.
  virtual sRGB SetCaretColour(const sRGB& colour);
  virtual bool SetAllowSpaces(bool on);
  virtual bool SetMultiLine(bool on);
  virtual bool SetWrapped(bool on);
  virtual bool SetKeysEnabled(bool on);
  virtual bool SetTypingEnabled(bool on);
  // 0..4,096 is stored, anything else 0 (no limit).
  virtual int32_t SetMaxLength(int32_t length);
  // Copies the text and its NUL into a buffer of kTextSize bytes, never
  // more; answers the buffer (null for null).
  virtual char* GetText(char* buffer);
  virtual tString GetTextString();
  // The text as a number (C conversions; not a number reads 0), saturated
  // at the type's range.
  virtual uint32_t GetUnsigned();
  virtual int32_t GetInteger();
  virtual double GetReal();
  // Null empties the box; else CopyText.
  virtual void SetText(const char* text);
  virtual tString SetTextString(const tString& text);
  virtual void SetUnsigned(uint32_t value);
  virtual void SetInteger(int32_t value);
  // Fixed-point with the field width and decimals; "%f" when either is
  // below 1. A result longer than 4,095 characters is refused and logged,
  // the text unchanged.
  virtual void SetReal(double value, int32_t width, int32_t decimals);
  virtual void OnUpdate();

  // ---- Non-virtual operations ----

  void Synchronize();
  void Update();
  void SetCaret(int32_t period, const sRGB& colour);
  void Define(int32_t left, int32_t top, int32_t width, int32_t height, int32_t caretPeriod, const sRGB& caretColour,
              const sRGB& background, LumoFontNode* font, bool proportional);
  // Black, the engine's current font, proportional.
  void DefineBlack(int32_t left, int32_t top, int32_t width, int32_t height, int32_t caretPeriod,
                   const sRGB& caretColour);
  // The engine's built-in font, that many lines high, in the font's palette
  // entry 12, its caret colour.
  void DefineLines(int32_t left, int32_t top, int32_t width, int32_t lines);
  void DefineWithGraphic(int32_t left, int32_t top, int32_t caretPeriod, const sRGB& caretColour, const char* name,
                         LumoFontNode* font, bool proportional);
  void DefineWithGraphicForFont(int32_t left, int32_t top, const char* name);

  // The characters before the NUL (at most 4,095).
  int32_t TextLength() const;

  // ---- Fields ----

  std::array<char, kTextSize> Text{};
  std::array<tPosition, kTextSize> Positions{};
  LumoGraphicNode* CaretGraphic = nullptr;  // referenced
  int32_t CaretLeft = 0;
  int32_t CaretTop = 0;
  int32_t CaretIndex = 0;
  int32_t BlinkPeriod = 1;
  int32_t BlinkCountdown = 1;
  sRGB CaretColour{};
  int32_t TextEndX = 0;
  int32_t TextEndY = 0;
  int32_t ColumnMemory = -1;
  int32_t MaxLength = 0;
  bool BlinkPhase = false;  // false: the caret is shown
  bool PreviousPhase = true;
  bool RecordPositions = false;
  bool AllowSpaces = true;
  bool MultiLine = true;
  bool Wrapped = false;
  bool RedrawRequested = false;
  bool KeysEnabled = true;
  bool TypingEnabled = true;

 private:
  // An Enter that accepted the box: the device's character for that Enter
  // follows and is not typed.
  bool EnterAccepted = false;

  // The box's own (nameless) caret graphic is destroyed; a named one is let go.
  void DropCaretGraphic();
  // The key table of DoKeyDown for a focused box; answers whether the key
  // was one of the box's.
  bool EditKey(int32_t code, uint32_t modifiers, bool& handled);
  void MoveUp();
  void MoveDown();
  // Writes a formatted number as the text when it fits; false otherwise.
  bool WriteNumber(const char* operation, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void ReportEditFault(const char* operation, const char* hook) const;
};
