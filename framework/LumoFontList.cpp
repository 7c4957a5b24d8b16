#include "framework/LumoFontList.h"

#include <new>

LumoFontList::LumoFontList() { SetUnique(true); }

const char* LumoFontList::GetClassName() const { return "LumoFontList"; }

LumoNode* LumoFontList::CreateItem() { return new (std::nothrow) LumoFontNode; }

LumoFontNode* LumoFontList::ConfigureFont(const char* name, int32_t lineHeight, int32_t spaceWidth,
                                          int32_t spacing, int32_t fixedWidth) {
  return ConfigureFontWithInk(name, lineHeight, spaceWidth, spacing, fixedWidth, sRGB{});
}

LumoFontNode* LumoFontList::ConfigureFontWithInk(const char* name, int32_t lineHeight, int32_t spaceWidth,
                                                 int32_t spacing, int32_t fixedWidth, const sRGB& ink) {
  auto* font = dynamic_cast<LumoFontNode*>(FindOrCreate(name));
  if (font == nullptr) {
    return nullptr;
  }
  font->SetLineHeight(lineHeight);
  font->SetSpaceWidth(spaceWidth);
  font->SetSpacing(spacing);
  font->SetFixedWidth(fixedWidth);
  font->SetInkColour(ink);
  return font;
}

LumoFontNode* LumoFontList::ConfigureFontWithColours(const char* name, int32_t lineHeight, int32_t spaceWidth,
                                                     int32_t spacing, int32_t fixedWidth, const sRGB& ink,
                                                     const sRGB& paper) {
  LumoFontNode* font = ConfigureFontWithInk(name, lineHeight, spaceWidth, spacing, fixedWidth, ink);
  if (font != nullptr) {
    font->SetPaperColour(paper);
  }
  return font;
}
