#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "framework/LumoAnimator.h"
#include "framework/LumoFontList.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoJoystickList.h"
#include "framework/LumoMouseList.h"
#include "runtime/Graphics.h"
#include "runtime/Information.h"
#include "runtime/Input.h"
#include "runtime/Timer.h"
#include "runtime/Viewports.h"

class LumoEngine;
class LumoLevel;
class LumoMouseNode;
class LumoJoystickNode;

// The one engine of the process: set by the engine's constructor, cleared by
// DestroyEngine (and by the engine's destructor).
extern LumoEngine* Engine;

// The single object that drives the visual framework. It holds the levels as
// its items (one of them current), the screen viewport, the engine-wide lists,
// the frame timer and the input callbacks. Every tick of the frame timer runs
// one pass: level switching, post-populating, one frame of the current level
// between BeginScreenUpdate and EndScreenUpdate, then the deletion of what was
// disposed of during the frame.
//
// The engine's animation state drives the timer and input: starting or
// resuming the engine switches both on (unless Busy), stopping or pausing it
// switches both off.
class LumoEngine : public LumoAnimator {
 public:
  static constexpr uint32_t kDefaultFramesPerPulse = 12;
  static constexpr uint32_t kDefaultPulseDuration = 1000;  // milliseconds
  // Bit 15 of Flags: a level was requested and the switch has not run yet.
  static constexpr uint32_t kLevelRequestedFlag = 0x8000;
  static constexpr int kStyleMetricCount = 6;
  static constexpr int kStyleColourCount = 9;
  static constexpr int kLookNameCount = 88;

  // The kinds of the close modes a level gives the switch.
  enum tCloseMode : uint32_t { CloseDestroy = 0, CloseEmpty = 1, CloseFreeze = 2, ClosePause = 3 };

  // The button kinds of the look names, in table order.
  enum tLookKind : int {
    LookLeft, LookRight, LookUp, LookDown, LookTop, LookBottom, LookThumb, LookNo,
    LookYes, LookOff, LookOn, LookDrop, LookPull, LookAll, LookBack, LookRefresh,
  };
  // The state letters A, H, D, P of the look names, in table order; the
  // button decides which of its states each letter draws.
  enum tLookState : int { LookStateA, LookStateH, LookStateD, LookStateP };
  enum tIconKind : int { IconAccept, IconReject };
  enum tFileLook : int { ClosedFolder, OpenFolder, SystemFolder, HiddenFolder, HiddenFile, SystemFile };

  LumoEngine();
  // Clears the global engine pointer when it names this engine.
  ~LumoEngine() override;

  const char* GetClassName() const override;
  // Prevents the animation (timer and input off), then releases the disposal
  // list, the timer, the joystick, font, mouse and graphic lists and the
  // screen viewport.
  void DoFree() override;
  void OnAbortReferenceTo(LumoObject* other) override;
  // The engine's data and every level (only while the debug log is on).
  void DebugDump(bool deep) override;
  // Back to 12 frames per pulse and pulses of 1000 ms.
  void DoPopulate() override;
  // Starts the engine's animation, and with it the timer and input.
  void DoActivate() override;
  // A plain level.
  LumoNode* CreateItem() override;
  // The pass: switch, terminate, post-populate, animate; each step guarded.
  void DoTimer() override;
  // The current level only.
  void DoSelectFrame() override;
  void DoAnimateFrame() override;
  void DoStartAnimation() override;
  void DoStopAnimation() override;
  void DoPauseAnimation() override;
  void DoResumeAnimation() override;

  // The level switch, run by the pass when a level was requested.
  virtual void Select();
  // One frame of the current level.
  virtual void Animate();
  // Plain setters; each answers the value stored.
  virtual bool SetDeveloping(bool flag);
  virtual bool SetBusy(bool flag);
  virtual bool SetPostPopulating(bool flag);
  // Asks for a level to be switched in by the next pass; input stops at
  // once. Ignored (null answered) for null or the current level; a second
  // request before the pass replaces the first.
  virtual LumoLevel* RequestLevel(LumoLevel* level);
  // A rate above the current one is taken and the timer re-timed; 0 resets
  // to 12; a lower rate changes nothing. Answers the rate in force.
  virtual uint32_t SetFramesPerPulse(uint32_t frames);
  // 0 means 1000 ms; re-times the timer.
  virtual uint32_t SetPulseDuration(uint32_t milliseconds);
  // The style setters, one per colour and metric (see the table in
  // LumoEngineStyle.cpp for what each means).
  virtual sRGB SetStyleColour1(const sRGB& colour);
  virtual int32_t SetStyleMetric1(int32_t value);
  virtual int32_t SetStyleMetric2(int32_t value);
  // Gives every file type (standard, then custom) the graphic of its icon
  // name from the engine's graphic list, keyed with the transparent colour.
  // Without reload nothing happens once the first standard type has one.
  virtual void LoadFileIcons(bool reload);
  // A negative width is stored as 0.
  virtual int32_t SetStyleMetric3(int32_t value);
  // Stores the control margin and twice it as the control gap; a negative
  // margin changes nothing. Answers the margin.
  virtual int32_t SetStyleMetric5(int32_t value);
  virtual int32_t SetStyleMetric6(int32_t value);
  virtual sRGB SetStyleColour2(const sRGB& colour);
  virtual sRGB SetStyleColour3(const sRGB& colour);
  virtual sRGB SetStyleColour4(const sRGB& colour);
  virtual sRGB SetStyleColour5(const sRGB& colour);
  virtual sRGB SetStyleColour6(const sRGB& colour);
  virtual sRGB SetStyleColour7(const sRGB& colour);
  virtual sRGB SetStyleColour8(const sRGB& colour);
  virtual sRGB SetStyleColour9(const sRGB& colour);
  // The terminate query: true while Busy, without a current level, or when
  // the current level is outside the engine or empty; otherwise the level's
  // CanQuit.
  virtual bool QueryClose();
  // Selects a loaded mouse of the mouse list as the cursor (referenced).
  // Refused (null) for null, the mouse already selected, a node without its
  // cursor or one of another list.
  virtual LumoMouseNode* SetMouse(LumoMouseNode* mouse);
  // Makes the font current (referenced); null selects the font list's first.
  virtual LumoFontNode* SetFont(LumoFontNode* font);
  // Replaces the built-in font (referenced).
  virtual LumoFontNode* SetDefaultFont(LumoFontNode* font);
  // The built-in font "Font" (16, 6, 3, 14) with the glyphs of codes 33 to
  // 255 but 160, each at its own top; selected when no font is current.
  virtual LumoFontNode* CreateDefaultFont();
  virtual bool SetCommandsLocked(bool flag);
  // The input handlers, one per callback of the run-time system; each
  // answers whether the event was handled (true ends its delivery).
  virtual bool OnKeyDown(tInputEvent* event);
  virtual bool OnKeyUp(tInputEvent* event);
  virtual bool OnKeyPress(tInputEvent* event);
  virtual bool OnMouseClick(tInputEvent* event);
  virtual bool OnMouseDoubleClick(tInputEvent* event);
  virtual bool OnMouseDown(tInputEvent* event);
  virtual bool OnMouseUp(tInputEvent* event);
  virtual bool OnMouseMove(tInputEvent* event);
  virtual bool OnMouseEnter(tInputEvent* event);
  virtual bool OnMouseLeave(tInputEvent* event);
  virtual bool OnJoyDown(tInputEvent* event);
  virtual bool OnJoyUp(tInputEvent* event);
  virtual bool OnJoyMove(tInputEvent* event);

  // DebugSystem, then ExitRTS, which ends the process when the terminate
  // query agrees.
  void Terminate();
  // Safe deletion during a frame: an animator is stopped, the node leaves
  // its list and its references, and is deleted after the current frame (or
  // with the engine). Null and a node already queued are ignored.
  void DisposeObject(LumoNode* node);
  // Runs the requested post-populate step of the current level: its tagged
  // items and sources go, then its post-populate hooks run.
  void PostPopulate();
  // The current level's dump, and at the Maximum debug level the engine's
  // own, shown while Busy.
  void DebugSystem();

  // The cursor count: the cursor shows while it is above 0 and a mouse is
  // selected.
  void ShowCursor(bool show);
  void HideCursor() { ShowCursor(false); }
  void SetCursorCount(uint32_t count);
  // The mouse of that name, loaded (made when missing); one whose cursor
  // cannot be had is destroyed and null answered. Selected when no mouse is.
  LumoMouseNode* GetMouse(const char* name);
  LumoMouseNode* GetFirstMouse() const;
  // The number of usable joysticks, and the node of a joystick by index.
  int32_t GetJoystickCount() const;
  LumoJoystickNode* FindJoystick(uint32_t id) const;
  void QueryCursorPosition(int32_t& x, int32_t& y);
  void SetCursorPosition(int32_t x, int32_t y);

  // Only while Busy: draws the graphic of that name from the engine's list
  // centred on the screen at once, in its own screen update; null when not
  // Busy or not found. The fill form first fills the screen with a colour.
  LumoGraphicNode* ShowCentredGraphic(const char* name);
  LumoGraphicNode* ShowCentredGraphicOnFill(const char* name, const sRGB& colour);

  // Restores a level's saved frame rate as it was, lower or not, and
  // re-times the timer (0 means 12).
  void RestoreFramesPerPulse(uint32_t frames);

  // ---- Style defaults, by meaning ----

  int32_t MenuFillerAllowance() const { return StyleMetrics[0]; }
  int32_t OptionGutter() const { return StyleMetrics[1]; }
  int32_t DefaultBevelWidth() const { return StyleMetrics[2]; }
  int32_t ControlGap() const { return StyleMetrics[3]; }
  int32_t ControlMargin() const { return StyleMetrics[4]; }
  int32_t DefaultBevelStyle() const { return StyleMetrics[5]; }
  const sRGB& TransparentKeyColour() const { return StyleColours[0]; }
  // The four bevel colours, index 0 the lightest.
  const sRGB& BevelColour(int index) const;
  const sRGB& FaceColour() const { return StyleColours[5]; }
  const sRGB& LightControlColour() const { return StyleColours[1]; }
  const sRGB& DarkControlColour() const { return StyleColours[3]; }
  // Look names; empty text for an index outside the table.
  const char* ButtonLookName(tLookKind kind, tLookState state) const;
  const char* IconLookName(tIconKind kind, tLookState state) const;
  const char* SubMenuLookName() const;
  // By drive type 0 to 6; other types read as 0 (unknown).
  const char* DriveLookName(uint32_t driveType) const;
  const char* FileLookName(tFileLook look) const;
  // Labels write with the built-in font, else with the current one.
  LumoFontNode* LabelFont() const;

  // ---- Fields ----

  LumoLevel* Level = nullptr;     // the current level
  LumoLevel* NewLevel = nullptr;  // requested, switched in by the next pass
  // Objects queued by DisposeObject, already out of their lists.
  std::unique_ptr<LumoList, tObjectDestroyer> DisposalList;
  ViewportHandle ScreenViewport = nullptr;  // the whole screen
  std::unique_ptr<LumoGraphicList, tObjectDestroyer> GraphicList;  // engine-wide graphics
  std::unique_ptr<LumoMouseList, tObjectDestroyer> MouseList;  // cursors by name
  LumoMouseNode* Mouse = nullptr;  // the selected cursor; referenced
  uint32_t CursorCount = 0;
  std::unique_ptr<LumoFontList, tObjectDestroyer> FontList;  // fonts by name
  LumoFontNode* Font = nullptr;         // the current font
  LumoFontNode* DefaultFont = nullptr;  // the built-in font "Font"
  std::unique_ptr<LumoJoystickList, tObjectDestroyer> JoystickList;  // one node per usable joystick
  tInputEvents InputHandlers{};
  // The frame timer (the Part's Timer field; the name is taken by the pass).
  TimerHandle FrameTimer = nullptr;
  int32_t ScreenWidth = 0;
  int32_t ScreenHeight = 0;
  int32_t BitsPerPixel = 0;
  uint32_t FramesPerPulse = kDefaultFramesPerPulse;
  uint32_t PulseDuration = kDefaultPulseDuration;
  std::array<int32_t, kStyleMetricCount> StyleMetrics{};
  std::array<sRGB, kStyleColourCount> StyleColours{};
  bool Developing = false;
  bool Busy = false;
  bool PostPopulating = false;
  bool CommandsLocked = false;
  const char* const* LookNames = nullptr;  // kLookNameCount names, static

 protected:
  // "<operation> (Engine=%p:%s)" for this engine.
  void ReportEngineFault(const char* operation) const;
  // One input handler: the guarded delivery to the event's sprite, reported
  // under the handler's name when it throws.
  bool HandleInput(const char* handler, tInputKind kind, tInputEvent* event);
  // Delivers an event to the sprite of its region; false when the region
  // holds no sprite that takes the event.
  virtual bool DeliverToSprite(tInputKind kind, tInputEvent* event);

 private:
  void SetStyleDefaults();
  sRGB StoreStyleColour(int index, const sRGB& colour);
  int32_t StoreStyleMetric(int index, int32_t value);
  // The close and open halves of Select; step names the part running, for
  // the fault report.
  // levelGone is set once the level is being destroyed: from then on it
  // can no longer be made current again.
  void CloseLevel(uint32_t mode, const char*& step, bool& levelGone);
  // The closing level's sounds and movies stop (destroy, empty) or are
  // frozen (freeze, pause).
  void StopMedia(LumoLevel* level);
  void PauseMedia(LumoLevel* level);
  void OpenLevel(const char*& step);
  // After a fault in Select: the level to keep current, and the engine
  // running again.
  void RecoverFromFailedSwitch(LumoLevel* requested, bool startingRequested, bool oldLevelGone);
  void ReportSelectFault(const char* step) const;
  void ReportPostPopulateFault(const char* step) const;
  void StartTimerAndInput();
  // Calls visit(id) for every standard and custom file type.
  template <typename Visit>
  static void ForEachFileType(Visit&& visit);
  // The file types forget the icons this engine gave them.
  void ForgetFileIcons();
  // Moves a font reference: drops the old one, takes the new one.
  void ReferFont(LumoFontNode*& field, LumoFontNode* font);
};

// ---- Free functions of the engine ----

// The frame timer's callback: one pass of the engine. A fault that its
// guards report and pass on ends here with one more line, so the frame is
// skipped and the next one runs.
void EnginePulse();
// The application record's callbacks.
bool QueryGameTermination();
void StoreLevelMemory();
void RestoreLevelMemory();
// The thirteen input callbacks; each hands the event to the engine's handler
// of the same place and answers its answer (false without an engine or when
// the handler failed).
bool ForwardKeyDown(tInputEvent* event);
bool ForwardKeyUp(tInputEvent* event);
bool ForwardKeyPress(tInputEvent* event);
bool ForwardMouseClick(tInputEvent* event);
bool ForwardMouseDoubleClick(tInputEvent* event);
bool ForwardMouseDown(tInputEvent* event);
bool ForwardMouseUp(tInputEvent* event);
bool ForwardMouseMove(tInputEvent* event);
bool ForwardMouseEnter(tInputEvent* event);
bool ForwardMouseLeave(tInputEvent* event);
bool ForwardJoyDown(tInputEvent* event);
bool ForwardJoyUp(tInputEvent* event);
bool ForwardJoyMove(tInputEvent* event);
// LumoList::Populate of a list; false for null.
bool PopulateObject(LumoList* list);
// Deletes the engine and clears the global pointer.
void DestroyEngine();

// The program's application record for InformRTS: signature "Lumo", engine
// version 1.7.8.0, "English", "release", and the three callbacks above.
extern tInformation EngineInformation;
// Fills in the record's texts and callbacks; runs during static
// initialisation, before the program's entry.
void InitInformation();
