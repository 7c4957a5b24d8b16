#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/Testing.h"
#include "runtime/DebugLog.h"
#include "runtime/Display.h"
#include "support/DebugLogReader.h"

// Starts a headless display for a test, with the debug log on, and stops it
// afterwards.
class DisplayFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::Reset();
    platform::testing::ResetDisplaySettings();
    SetDebugMode(DebugModeOverwrite);
  }

  void TearDown() override {
    StopDisplay();
    platform::testing::ResetDisplaySettings();
    ResetGraphicMemory();
    SetDebugMode(DebugModeOff);
  }

  static tDisplaySettings Settings(bool windowed, bool backBlitting, int32_t bitsPerPixel = 16) {
    tDisplaySettings settings;
    settings.Windowed = windowed;
    settings.BackBlitting = backBlitting;
    settings.BitsPerPixel = bitsPerPixel;
    settings.ScreenLeft = 30;
    settings.ScreenTop = 40;
    return settings;
  }

  static bool LogHas(const std::string& text) {
    return testing_support::ReadDebugLog().find(text) != std::string::npos;
  }
};
