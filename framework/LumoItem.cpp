#include "framework/LumoItem.h"

#include <new>

#include "runtime/Keyboard.h"

LumoItem::LumoItem() = default;

const char* LumoItem::GetClassName() const { return "LumoItem"; }

LumoNode* LumoItem::CreateItem() { return new (std::nothrow) LumoItem; }

const char* LumoItem::SetName(const char* text) {
  const char* name = LumoList::SetName(text);
  if (name == nullptr) {
    FreeCharStr(Caption);
    Accelerator = 0;
    AcceleratorIndex = -1;
    return name;
  }
  int32_t index = -1;
  const char accelerator = StringToAccelerator(name, Caption, index);
  Accelerator = static_cast<unsigned char>(accelerator);
  AcceleratorIndex = accelerator != 0 ? index : -1;
  return name;
}

uint32_t LumoItem::SetShortcut(uint32_t key, uint32_t modifiers) {
  if (key == 0 || key > static_cast<uint32_t>(INT32_MAX) ||
      !KeyToString(static_cast<int32_t>(key), modifiers, ShortcutText)) {
    ShortcutKey = 0;
    ShortcutModifiers = 0;
    FreeCharStr(ShortcutText);
    return 0;
  }
  ShortcutKey = key;
  ShortcutModifiers = modifiers;
  return key;
}

bool LumoItem::SetHidden(bool hidden) {
  Hidden = hidden;
  return Hidden;
}

bool LumoItem::SetHorizontal(bool horizontal) {
  Horizontal = horizontal;
  return Horizontal;
}

void LumoItem::DoFree() {
  FreeCharStr(ShortcutText);
  FreeCharStr(Caption);
  LumoList::DoFree();
}
