#pragma once

#include <cstdint>

#include "framework/LumoPage.h"

// The caption of a control: a page that prints one caption text, stands
// beside its control by the control's caption side, and redraws itself in
// one of three looks (activated, hilited, dimmed) by recolouring its ink and
// paper with colour pairs of its font's palette. A click on it gives its
// control the focus.
class LumoLabel : public LumoPage {
 public:
  // The palette entries of each look's ink; its paper is the next entry.
  static constexpr int kActivatedInk = 6;
  static constexpr int kHilitedInk = 8;
  static constexpr int kDimmedInk = 10;

  // Input on, the engine's default control margins.
  LumoLabel();
  ~LumoLabel() override;

  const char* GetClassName() const override;
  // Stores a copy of the text as the caption.
  const char* ForwardToLabel(const char* text) override;
  // The control's own placement; otherwise the item goes beside this label
  // by its control's caption side.
  bool DoCalculateBounds(LumoSprite* item, int32_t& left, int32_t& top, int32_t& width, int32_t& height,
                         int32_t labelLeft, int32_t labelTop, int32_t labelWidth, int32_t labelHeight) override;
  // A press on the label focuses its control.
  bool DoMouseDown(tInputEvent* event) override;

  // Each draws the caption in its look; only with a graphic and a font.
  virtual void DoShowActivated();
  virtual void DoShowHilited();
  virtual void DoShowDimmed();
  virtual void OnShowActivated();
  virtual void OnShowHilited();
  virtual void OnShowDimmed();

  void ShowActivated();
  void ShowHilited();
  void ShowDimmed();

  // The control whose body the label belongs to, or null.
  LumoControl* Control() const;

  char* Caption = nullptr;  // owned

 private:
  // Paper, the caption, then ink and paper recoloured to the palette pair.
  void DrawLook(int inkEntry);
  // Runs a hook; a fault is reported as "LumoLabel::<operation>() Unhandled
  // exception during <hook>() (Control=%p:%s)" and passed on.
  template <typename Hook>
  void LabelGuarded(const char* operation, const char* hook, Hook&& body) {
    RunGuarded(std::forward<Hook>(body), [&] { ReportLabelFault(operation, hook); });
  }
  void ReportLabelFault(const char* operation, const char* hook) const;
};
