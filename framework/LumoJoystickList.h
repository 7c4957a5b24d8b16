#pragma once

#include <cstdint>

#include "base/LumoList.h"

class LumoJoystickNode;

// One node per usable joystick of the run-time system, by index (the nodes'
// IDs). Not stored.
class LumoJoystickList : public LumoList {
 public:
  LumoJoystickList();

  const char* GetClassName() const override;
  // A joystick node.
  LumoNode* CreateItem() override;
  // Adds every valid joystick, by index (populating has emptied the list).
  void DoPopulate() override;

  // A node for the joystick of that index, appended; null for an invalid
  // index or when the joystick cannot be had.
  LumoJoystickNode* AddJoystick(int32_t index);
  void EnableAll();
  void DisableAll();
};
