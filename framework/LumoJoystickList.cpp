#include "framework/LumoJoystickList.h"

#include <new>

#include "framework/LumoJoystickNode.h"
#include "runtime/Joystick.h"

LumoJoystickList::LumoJoystickList() = default;

const char* LumoJoystickList::GetClassName() const { return "LumoJoystickList"; }

LumoNode* LumoJoystickList::CreateItem() { return new (std::nothrow) LumoJoystickNode; }

void LumoJoystickList::DoPopulate() {
  LumoList::DoPopulate();
  const int32_t supported = SupportedJoysticks();
  for (int32_t index = 0; index < supported; ++index) {
    if (ValidJoystick(index)) {
      AddJoystick(index);
    }
  }
}

LumoJoystickNode* LumoJoystickList::AddJoystick(int32_t index) {
  if (!ValidJoystick(index)) {
    return nullptr;
  }
  const JoystickHandle joystick = CreateJoystick(index);
  if (joystick == nullptr) {
    return nullptr;
  }
  auto* node = dynamic_cast<LumoJoystickNode*>(CreateItem());
  if (node == nullptr) {
    DestroyJoystick(joystick);
    return nullptr;
  }
  node->SetID(static_cast<uint32_t>(index));
  node->SetData(reinterpret_cast<uintptr_t>(joystick));
  if (Append(node) == nullptr) {
    DestroyObject(node);
    return nullptr;
  }
  return node;
}

void LumoJoystickList::EnableAll() {
  VisitItems([](LumoNode* item) {
    if (auto* joystick = dynamic_cast<LumoJoystickNode*>(item)) {
      joystick->Enable();
    }
    return false;
  });
}

void LumoJoystickList::DisableAll() {
  VisitItems([](LumoNode* item) {
    if (auto* joystick = dynamic_cast<LumoJoystickNode*>(item)) {
      joystick->Disable();
    }
    return false;
  });
}
