#pragma once

#include <cstdint>

#include "base/LumoList.h"
#include "framework/LumoFontNode.h"

// Fonts by name (names are unique); the engine owns one and makes its
// built-in font "Font" from it.
class LumoFontList : public LumoList {
 public:
  LumoFontList();

  const char* GetClassName() const override;
  // A font node.
  LumoNode* CreateItem() override;

  // The font of that name (made when missing) with the four metrics given
  // (a negative one keeps the font's value) and black ink; null when the
  // list cannot make it.
  LumoFontNode* ConfigureFont(const char* name, int32_t lineHeight, int32_t spaceWidth, int32_t spacing,
                              int32_t fixedWidth);
  LumoFontNode* ConfigureFontWithInk(const char* name, int32_t lineHeight, int32_t spaceWidth, int32_t spacing,
                                     int32_t fixedWidth, const sRGB& ink);
  LumoFontNode* ConfigureFontWithColours(const char* name, int32_t lineHeight, int32_t spaceWidth,
                                         int32_t spacing, int32_t fixedWidth, const sRGB& ink,
                                         const sRGB& paper);
};
