#include "framework/LumoJoystickNode.h"

LumoJoystickNode::LumoJoystickNode() = default;

const char* LumoJoystickNode::GetClassName() const { return "LumoJoystickNode"; }

void LumoJoystickNode::Unload() {
  if (Data != 0) {
    DestroyJoystick(Handle());
  }
  SetData(0);
  SetID(0);
}

uintptr_t LumoJoystickNode::Reset() {
  if (Data != 0) {
    SetEmulation(JoystickEmulationNone);
    SetJoystickRange(Handle(), JoystickDefaultRange);
    UnmapAll();
  }
  return Data;
}

void LumoJoystickNode::Enable() { EnableJoystick(Handle()); }
void LumoJoystickNode::Disable() { DisableJoystick(Handle()); }
tJoystickEmulation LumoJoystickNode::GetEmulation() { return GetJoystickEmulation(Handle()); }
tJoystickEmulation LumoJoystickNode::SetEmulation(tJoystickEmulation emulation) {
  return SetJoystickEmulation(Handle(), emulation);
}
int32_t LumoJoystickNode::GetRange() { return GetJoystickRange(Handle()); }
int32_t LumoJoystickNode::SetRange(int32_t range) { return SetJoystickRange(Handle(), range); }
int32_t LumoJoystickNode::Map(int32_t key, int32_t code) { return MapJoystick(Handle(), code, key); }
int32_t LumoJoystickNode::Unmap(int32_t code) { return UnmapJoystick(Handle(), code); }

void LumoJoystickNode::UnmapAll() {
  const int32_t base = static_cast<int32_t>(ID) * 256;
  for (int32_t code = 0; code < kCodesPerKind; ++code) {
    Unmap(base + kFirstTriggerCode + code);
  }
  for (int32_t code = 0; code < kCodesPerKind; ++code) {
    Unmap(base + kFirstDirectionCode + code);
  }
}
