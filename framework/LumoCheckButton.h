#pragma once

#include <cstdint>

#include "framework/LumoButton.h"

class LumoScrollBar;
class LumoSequenceList;

// A two-state button: it keeps a set of four looks for each state and shows
// those of its state in the button's look slots. A click toggles it. Its
// caption sits on its right.
class LumoCheckButton : public LumoButton {
 public:
  // The eight looks, unchecked ones first.
  enum tLook : int {
    UncheckedPressed, UncheckedNormal, UncheckedHot, UncheckedDisabled,
    CheckedPressed, CheckedNormal, CheckedHot, CheckedDisabled, kLookCount
  };

  // The caption on the right; the engine's control margin.
  LumoCheckButton();

  const char* GetClassName() const override;
  // Drops the eight looks and the state, then clears the button.
  void DoClear() override;
  void DoAbortReferenceTo(LumoObject* other) override;
  // Unchecks a checked button, checks an unchecked one.
  void DoExecute() override;

  // ---- Hooks, in slot order ----

  virtual void DoCheck();
  virtual void DoUncheck();
  // Stores the state, puts that state's looks into the button's look slots
  // (a missing look leaves its slot) and shows the look at the cursor.
  virtual bool SetChecked(bool checked);
  virtual void OnCheck();
  virtual void OnUncheck();

  // ---- Operations ----

  // Only when not checked: SetChecked (true), DoCheck, OnCheck, Change,
  // OnChange.
  void Check();
  // Only when checked: the same towards unchecked.
  void Uncheck();
  // Each look a one-frame sequence of the named graphic; no name clears it.
  void SetCheckedNormalLook(const char* name);
  void SetCheckedLooks(const char* hot, const char* disabled, const char* pressed);
  // The button's definition whose looks (normal, hot, disabled, pressed)
  // are the unchecked ones, with the four checked looks named after them;
  // a failing step clears the button and passes the fault on.
  void Define(int32_t x, int32_t y, bool enabled, const char* normal, const char* hot, const char* disabled,
              const char* pressed, const char* checkedNormal, const char* checkedHot, const char* checkedDisabled,
              const char* checkedPressed, const char* click, const char* hover, bool checked);
  using LumoButton::Define;

  // ---- Fields ----

  LumoSequenceList* Looks[kLookCount] = {};  // each referenced
  bool Checked = false;

 private:
  void SetLook(int index, LumoSequenceList* look);
  // Runs one step of Check or Uncheck; a fault is reported in their form.
  template <typename Hook>
  void CheckStep(const char* operation, const char* hook, Hook&& body);
};

// The check button in the corner between a control's two scroll bars:
// checking it scrolls its bar to the start, unchecking to the end. The bar
// sets its state from the position.
class LumoHomeButton : public LumoCheckButton {
 public:
  const char* GetClassName() const override;
  void DoCheck() override;
  void DoUncheck() override;
  // Joins the body of the complex control its bar scrolls.
  void DoPopulate() override;
  // A press gives that complex control the focus.
  bool DoMouseDown(tInputEvent* event) override;
  void DoAbortReferenceTo(LumoObject* other) override;

  // Referenced; set by the bar (clearing the button keeps it).
  void SetScrollBar(LumoScrollBar* bar);

  LumoScrollBar* ScrollBar = nullptr;
};
