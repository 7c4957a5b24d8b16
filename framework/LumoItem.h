#pragma once

#include <cstdint>

#include "base/LumoList.h"

// One entry of a menu tree; its children (items too) form its sub-menu.
// The item keeps its name in two forms: the name as given, with "&" marking
// the accelerator letter, and the caption shown, without the marks. A
// shortcut key is kept with its display text, so a key that has no name
// can never be a shortcut.
class LumoItem : public LumoList {
 public:
  LumoItem();

  const char* GetClassName() const override;
  // The name also sets Caption, Accelerator and AcceleratorIndex.
  const char* SetName(const char* text) override;
  // Frees the shortcut text and the caption.
  void DoFree() override;
  // A new item.
  LumoNode* CreateItem() override;

  // ShortcutText names the key with its modifiers; a key that cannot be
  // named (0 included) leaves no shortcut: key, modifiers and text are
  // cleared and 0 answered. Otherwise answers the key.
  virtual uint32_t SetShortcut(uint32_t key, uint32_t modifiers);
  virtual bool SetHidden(bool hidden);
  virtual bool SetHorizontal(bool horizontal);

  uint32_t ShortcutKey = 0;
  uint32_t ShortcutModifiers = 0;
  tCharStr ShortcutText = nullptr;
  tCharStr Caption = nullptr;
  uint32_t Accelerator = 0;  // the upper-cased letter or digit; 0 for none
  int32_t AcceleratorIndex = -1;  // its place in the caption; -1 for none
  bool Hidden = false;
  bool Horizontal = false;
  bool Open = false;
};
