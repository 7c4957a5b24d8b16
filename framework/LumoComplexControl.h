#pragma once

#include <cstdint>

#include "framework/LumoControl.h"

class LumoScrollBar;

// A control whose contents can be larger than the control itself: it
// carries a horizontal and a vertical scroll bar (parts of its body) that
// scroll it, and a cascade link to another complex control that it updates
// when it changes. The class wires these parts and runs the hook pairs;
// what scrolling and contents mean is given by the classes that derive it.
class LumoComplexControl : public LumoControl {
 public:
  LumoComplexControl();

  const char* GetClassName() const override;
  // Completes both bars first, then the control.
  void DoComplete() override;
  // Drops the cascade receiver, then clears the control.
  void DoClear() override;
  // Forgets the receiver or a bar that is freed.
  void DoAbortReferenceTo(LumoObject* other) override;

  // ---- Hooks, in slot order ----

  // Whether the control takes a sender's cascade: true.
  virtual bool SetCascadeSender(LumoComplexControl* sender);
  virtual void DoCascade(LumoComplexControl* sender);
  virtual void DoSetContents(const char* contents);
  virtual void DoRefresh();
  virtual void InitializeHorizontalBar();
  // Replaces the bar (detached from the body, its receiver cleared) with
  // another attached to the body; answers the bar now set.
  virtual LumoScrollBar* SetHorizontalBar(LumoScrollBar* bar);
  // A new scroll bar.
  virtual LumoScrollBar* CreateHorizontalBar();
  virtual void DoHorizontalScroll(int32_t position);
  virtual void InitializeVerticalBar();
  virtual LumoScrollBar* SetVerticalBar(LumoScrollBar* bar);
  virtual LumoScrollBar* CreateVerticalBar();
  virtual void DoVerticalScroll(int32_t position);
  // May change both positions; false stops the scroll. False here.
  virtual bool DoScrollInView(int32_t& horizontal, int32_t& vertical);
  // Asks the receiver to take this control as its sender; a refusal leaves
  // none. With cascade now, Cascade runs at once.
  virtual LumoComplexControl* SetCascadeReceiver(LumoComplexControl* receiver, bool cascadeNow);
  // 0 here.
  virtual int32_t QueryContents();
  // A new bar below (right of) the control, as long as it, with the
  // engine's looks and maximum 0; null when the control has one already,
  // has no cell, or the bar cannot be made.
  virtual LumoScrollBar* AttachHorizontalBar();
  virtual LumoScrollBar* AttachVerticalBar();
  virtual void OnCascade(LumoComplexControl* sender);
  virtual void OnSetContents();
  virtual void OnHorizontalScroll(int32_t position);
  virtual void OnVerticalScroll(int32_t position);
  virtual void OnScrollInView(int32_t horizontal, int32_t vertical);
  virtual void OnRefresh();

  // ---- Operations ----

  // The receiver's DoCascade, then its OnCascade, with this as sender.
  void Cascade();
  // DoSetContents, OnSetContents; answers QueryContents.
  int32_t SetContents(const char* contents);
  // Called by the bars when their position changes.
  void HorizontalScroll(int32_t position);
  void VerticalScroll(int32_t position);
  // Both bars, the horizontal one first.
  void AttachScrollBars();
  // Brings the bars (or, without them, the scroll hooks) to the positions
  // DoScrollInView gives.
  void ScrollInView();
  void Refresh();

  // ---- Fields ----

  LumoComplexControl* CascadeReceiver = nullptr;  // referenced
  LumoScrollBar* HorizontalBar = nullptr;  // each a referenced part of the body
  LumoScrollBar* VerticalBar = nullptr;

 private:
  LumoScrollBar* SetBar(LumoScrollBar*& field, LumoScrollBar* bar, bool horizontal);
  LumoScrollBar* AttachBar(bool horizontal);
  void ReportComplexFault(const char* operation, const char* hook) const;
};
