#pragma once

#include <filesystem>
#include <vector>

#include "platform/Joystick.h"

namespace testing_support {

// A joystick of three axes from 0 to 65535 and four buttons.
inline platform::JoystickCapabilities ThreeAxes() {
  platform::JoystickCapabilities caps;
  caps.maximumX = 65535;
  caps.maximumY = 65535;
  caps.maximumZ = 65535;
  caps.buttons = 4;
  caps.axes = 3;
  return caps;
}

// The pages the headless printer wrote into the test's "prints" folder.
inline std::vector<std::filesystem::path> PrintedPages() {
  std::vector<std::filesystem::path> pages;
  if (std::filesystem::is_directory("prints")) {
    for (const auto& entry : std::filesystem::directory_iterator("prints")) {
      pages.push_back(entry.path());
    }
  }
  return pages;
}

}  // namespace testing_support
