#pragma once

#include <cstdint>

#include "base/LumoNode.h"
#include "runtime/Joystick.h"

// One attached joystick of the run-time system: Data is its handle, ID its
// index. Not stored.
class LumoJoystickNode : public LumoNode {
 public:
  // The input codes of joystick index i are i * 256 plus these: the four
  // triggers, then the four directions.
  static constexpr int32_t kFirstTriggerCode = 256;
  static constexpr int32_t kFirstDirectionCode = 384;
  static constexpr int32_t kCodesPerKind = 4;

  LumoJoystickNode();

  const char* GetClassName() const override;
  // Destroys the joystick; no handle and ID 0 afterwards.
  void Unload() override;
  // No emulation, the range back to 5, every code unmapped. Answers the
  // handle.
  uintptr_t Reset() override;

  void Enable();
  void Disable();
  tJoystickEmulation GetEmulation();
  tJoystickEmulation SetEmulation(tJoystickEmulation emulation);
  int32_t GetRange();
  int32_t SetRange(int32_t range);
  // The key sent for one of this joystick's trigger or direction codes.
  int32_t Map(int32_t key, int32_t code);
  int32_t Unmap(int32_t code);
  // Every trigger and direction code of the joystick sends itself again.
  void UnmapAll();

  JoystickHandle Handle() const { return reinterpret_cast<JoystickHandle>(Data); }
};
