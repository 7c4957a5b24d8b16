#pragma once

#include <cstdint>
#include <memory>

#include "framework/LumoSprite.h"

class LumoBevel;
class LumoLabel;
class LumoMenu;
class LumoMouseNode;
class LumoOrganization;

// The sprite that the user operates: it can be enabled and disabled, take
// and leave the keyboard focus within its cell, be executed (validated, then
// run), be changed, accepted or rejected, pop up, lay itself out against an
// edge of its cell, show its own mouse pointer while the cursor is over it,
// be dragged with the mouse and take dropped sprites. A control starts
// disabled, unfocused and not focusable.
//
// The focus is per cell: focusing a control makes the cell's other controls
// leave. Keys reach controls through the input regions from the topmost
// down, and a control acts on a key only while it is focused, its hot key
// apart.
class LumoControl : public LumoSprite {
 public:
  // The key codes and modifier bits the control reads.
  static constexpr int32_t kTabKey = 9;
  static constexpr int32_t kMenuKey = 93;
  static constexpr uint32_t kModifierMask = 0x6C;  // Shift, Control, Alt, Windows key
  static constexpr uint32_t kShiftBit = 4;
  static constexpr uint32_t kRightButtonBit = 2;
  static constexpr uint32_t kHeldButtonMask = 0x13;  // the buttons held during a move

  // The press states of mouse dragging.
  enum tPressState : int32_t { PressNotArmed = 0, PressArmed = 1, PressPending = 2, PressDragging = 3 };

  LumoControl();
  ~LumoControl() override;

  const char* GetClassName() const override;
  // Removes the hot key, drops the hot mouse, lets go of every registered
  // object, destroys the pop-up menu, clears the flags and the press state,
  // then clears the sprite.
  void DoClear() override;
  // Lets go of every registered object, destroys the pop-up menu, then
  // frees the sprite.
  void DoFree() override;
  // Forgets the hot mouse, label, bevel and pop-up menu when they are freed.
  void DoAbortReferenceTo(LumoObject* other) override;
  void DebugDumpFields() override;

  // The menu key never reaches the sprite's key hooks; a key the run-time
  // system maps to another key or flags is run again as mapped when the
  // first run left it unhandled.
  bool KeyDown(tInputEvent* event) override;
  // The menu key's release (as sent or as mapped) pops up; other keys as
  // KeyDown.
  bool KeyUp(tInputEvent* event) override;
  // The hot key accepts and executes; Tab (Shift+Tab) moves the focus on
  // (back) while focused.
  bool DoKeyDown(tInputEvent* event) override;
  bool DoMouseClick(tInputEvent* event) override;
  bool DoMouseDoubleClick(tInputEvent* event) override;
  bool DoMouseDown(tInputEvent* event) override;
  bool DoMouseUp(tInputEvent* event) override;
  bool DoMouseMove(tInputEvent* event) override;
  bool DoMouseLeave(tInputEvent* event) override;
  // The drop target when set; else the topmost sprite whose region overlaps
  // the control's and that accepts it.
  LumoSprite* CanDrop() override;
  // Moves the press state with the drag, then the sprite's flag.
  void SetDragging(bool on) override;
  // Answers AcceptsDrops; a control that takes no drops forgets it accepted.
  void DoCatch(LumoSprite* dropped) override;
  bool AcceptsDrop(LumoSprite* dragged) override;
  // A focused control leaves the focus first.
  void DoPreventAnimation() override;

  // ---- Hooks, in slot order ----

  // Without a bevel and with Margin, AlignOffset and AlignLimit all set,
  // makes one in the control's cell around the control: AlignOffset is its
  // style, AlignLimit its sides.
  virtual void DoComplete();
  // Enable (Disable) every control of the body.
  virtual void DoEnableBodyParts();
  virtual void DoDisableBodyParts();
  virtual bool CanEnable();
  virtual void DoEnable();
  virtual bool CanDisable();
  virtual void DoDisable();
  virtual void DoEnter(LumoControl* previous);
  virtual void DoLeave(LumoControl* next);
  virtual bool SetFocusable(bool on);
  virtual bool SetChanged(bool on);
  virtual void DoChange();
  virtual void BeforeExecute();
  // True.
  virtual bool DoValidate();
  virtual void DoExecute();
  // What ExecuteMode passes on to a dialog box; no dialog box class exists,
  // so every mode does nothing.
  virtual void AfterExecute();
  // Pops the pop-up menu up at the cursor, in the control's cell.
  virtual void DoPopUp();
  virtual void DoAccept();
  virtual void DoReject();
  virtual void DoSkipDraggingRequest();
  // Run once for an object newly registered (unregistered); empty.
  virtual void DoRegister(LumoObject* object);
  virtual void DoUnregister(LumoObject* object);
  // Runs when a label was set; empty.
  virtual void InitializeLabel();
  // The label joins the body in place of the current one (which leaves it),
  // animates with the control and shows the control's state. Answers the
  // label now set.
  virtual LumoLabel* SetLabel(LumoLabel* label);
  // A new plain label.
  virtual LumoLabel* CreateLabel();
  // Tells a caption label which look to show: hilited while focused,
  // activated while enabled, else dimmed. Nothing without one.
  virtual void ShowCaption();
  // Moves the sprite to its place beside the label and registers it with
  // the label; false without a label or a place, or when the label cannot
  // register it.
  virtual bool AttachToLabel(LumoSprite* sprite);
  // Places a scroll bar beside the control: a vertical bar to its right, a
  // horizontal one below it, as long as the control. False for other items.
  virtual bool DoCalculateBounds(LumoSprite* item, int32_t& left, int32_t& top, int32_t& width, int32_t& height,
                                 int32_t controlLeft, int32_t controlTop, int32_t controlWidth,
                                 int32_t controlHeight);
  virtual int32_t SetAlignment(int32_t alignment);
  virtual int32_t SetAlignedSize(int32_t size);
  // The rectangle against an edge of the cell (1 left, 2 top, 3 right,
  // 4 bottom) for a control of that width or height; nothing for 0. Takes
  // Margin and AlignOffset first: in the client area of a complex cell with
  // a menu, the margin of the menu's first entry and the menu's bevel
  // style; else the engine's default bevel width and style.
  virtual bool DoAlignBounds(int32_t alignment, int32_t size, bool useClientArea, int32_t& left, int32_t& top,
                             int32_t& width, int32_t& height);
  virtual int32_t SetExecuteMode(int32_t mode);
  // Referenced (the control destroys it when cleared); a menu without
  // entries is not kept. Answers the menu kept.
  virtual LumoMenu* SetPopUpMenu(LumoMenu* menu);
  virtual void SetHotKey(uint32_t key, uint32_t modifiers);
  // Referenced; null removes it.
  virtual LumoMouseNode* SetHotMouse(LumoMouseNode* mouse);
  // Whether the control lets the focus go to next (which may be none):
  // its own Focusable here.
  virtual bool IsFocusable(LumoControl* next);
  virtual int32_t SetMinimumSize(int32_t size);
  // Margin = m and Gap = 2m; a negative value changes nothing.
  virtual int32_t SetMargin(int32_t margin);
  virtual int32_t SetAlignOffset(int32_t offset);
  virtual int32_t SetAlignLimit(int32_t limit);
  // Referenced; null removes it (the bevel itself stays).
  virtual LumoBevel* SetBevel(LumoBevel* bevel);
  // A new bevel.
  virtual LumoBevel* CreateBevel();
  // 0 left of the control, 1 above, 2 right, 3 below.
  virtual int32_t SetCaptionSide(int32_t side);
  // AttachLabel (0, text).
  virtual LumoLabel* AttachAutoLabel(const char* text);
  // A label of the engine's label font beside the control by the caption
  // side: the text's width (or the width given) and one line high.
  virtual LumoLabel* AttachLabel(int32_t width, const char* text);
  // A label of one line at a place of its own, showing the text.
  virtual LumoLabel* AttachLabel(int32_t left, int32_t top, int32_t width, const char* text);
  // An empty label of that many lines (at least one) at a place of its own.
  // Each AttachLabel needs an engine font and a cell and answers null when
  // the control has a label already.
  virtual LumoLabel* AttachLabel(int32_t left, int32_t top, int32_t width, int32_t lines);
  // Hands the caption text to the label; null without one. A label keeps
  // the text as its caption.
  virtual const char* ForwardToLabel(const char* text);
  virtual void OnComplete();
  virtual void OnEnable();
  virtual void OnDisable();
  virtual void OnEnter(LumoControl* previous);
  virtual void OnLeave(LumoControl* next);
  virtual void OnChange();
  // Answers the validation it is given.
  virtual bool OnValidate(bool valid);
  virtual void OnExecute();
  virtual void OnPopUp();
  virtual void OnAccept();
  virtual void OnReject();
  virtual void OnRegister(LumoObject* object);
  virtual void OnUnregister(LumoObject* object);

  // ---- Operations ----

  void Complete();
  // Margin, AlignOffset and AlignLimit of the engine's default bevel (its
  // width, its style, 15); NoBevel sets all three to 0.
  void UseDefaultBevel();
  void NoBevel();
  void Enable();
  // A focused control hands the focus on first.
  void Disable();
  bool Enter(LumoControl* previous);
  bool Leave(LumoControl* next);
  // The cell's other controls leave; this one enters.
  void Focus();
  // BeforeExecute; then, when validated, DoExecute, OnExecute, AfterExecute.
  void Execute();
  // Only while animating and enabled.
  void PopUp();
  void Change();
  void Accept();
  void Reject();
  // Adds the object to the control's organization (made on first use) and
  // runs DoRegister and OnRegister; answers the object, or null for a null
  // object, one registered already and one that cannot be added.
  LumoObject* Register(LumoObject* object);
  // Only for a registered object: lets go of it, runs DoUnregister and
  // OnUnregister, and answers it; null otherwise.
  LumoObject* Unregister(LumoObject* object);
  bool IsRegistered(const LumoObject* object) const;
  // A pending press goes back to armed; true when there was one.
  bool SkipDraggingRequest();
  // The item's rectangle beside the control; false when there is none.
  bool CalculateBounds(LumoSprite* item, int32_t& left, int32_t& top, int32_t& width, int32_t& height);
  // The label's line count; 0 without a label.
  int32_t LabelLines() const;
  bool AlignBounds(int32_t alignment, int32_t size, bool useClientArea, int32_t& left, int32_t& top, int32_t& width,
                   int32_t& height);
  void ArmDragging(int32_t allowed);
  void DisarmDragging();
  bool IsPressPending() const;
  void SetAcceptsDrops(bool on);
  void ClearDropAccepted();

  // ---- Fields ----

  int32_t Alignment = 0;
  int32_t AlignedSize = 0;
  int32_t ExecuteMode = 0;
  int32_t MinimumSize = 0;
  int32_t Gap = 0;
  int32_t Margin = 0;
  int32_t AlignOffset = 0;
  int32_t AlignLimit = 0;
  int32_t CaptionSide = 1;
  LumoLabel* Label = nullptr;  // attached to the body; referenced
  LumoBevel* Bevel = nullptr;  // referenced; a part of the body once drawn
  LumoMenu* PopUpMenu = nullptr;  // referenced; destroyed when the control is cleared
  uint32_t HotKey = 0;
  uint32_t HotKeyModifiers = 0;
  LumoMouseNode* HotMouse = nullptr;  // referenced
  int32_t PressState = PressNotArmed;
  int32_t DragAllowed = 1;
  int32_t PressX = 0;
  int32_t PressY = 0;
  bool DropAccepted = false;
  bool AcceptsDrops = true;
  bool Enabled = false;
  // The control's contents changed (Change); it hides the sprite's flag of
  // the same name, which the sprite's own code keeps using for its frame.
  bool Changed = false;
  bool Focusable = false;
  bool Focused = false;
  // The registered objects; made on the first registration.
  std::unique_ptr<LumoOrganization, tObjectDestroyer> Organization;

 protected:
  // Runs a hook; a fault is reported as "LumoControl::<operation>() Unhandled
  // exception during <hook>() (Control=%p:%s)" and passed on.
  template <typename Hook>
  decltype(auto) ControlGuarded(const char* operation, const char* hook, Hook&& body) {
    return RunGuarded(std::forward<Hook>(body), [&] { ReportControlFault(operation, hook); });
  }
  void ReportControlFault(const char* operation, const char* hook) const;
  // The same report for a registration hook, naming the object as well.
  void ReportRegistrationFault(const char* operation, const char* hook, const LumoObject* object) const;
  // The engine shows the hot mouse; RestoreMouse puts its default mouse
  // back when the hot mouse is shown.
  void ShowHotMouse();
  void RestoreMouse();
  // A bevel shown only with the focus follows it.
  void ShowFocusBevel();

 private:
  // Lets go of the pop-up menu and destroys it.
  void DestroyPopUpMenu();
  // A new label of the cell, defined by prepare (label, font) with the
  // engine's label font, then set; a failure frees it.
  template <typename Definer>
  LumoLabel* MakeLabel(Definer&& prepare);
  // The caption side's place of a label beside the control.
  bool PlaceLabel(LumoLabel* label, int32_t& left, int32_t& top, int32_t& width, int32_t& height,
                  int32_t controlLeft, int32_t controlTop, int32_t controlWidth, int32_t controlHeight);
  // The shared half of KeyDown and KeyUp: the sprite's operation, then the
  // mapped key when the run-time system maps it to something else.
  bool RunKey(tInputEvent* event, bool up);
};
