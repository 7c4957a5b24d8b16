#include "game/PlayerColourTable.h"

namespace {

constexpr sRGB Colour(uint8_t red, uint8_t green, uint8_t blue) {
  sRGB colour;
  colour.Red = red;
  colour.Green = green;
  colour.Blue = blue;
  return colour;
}

const uint32_t* publishedTable = nullptr;

}  // namespace

const sRGB kBasePlayerColours[kPlayerColourCount] = {
    Colour(160, 160, 160), Colour(156, 45, 45), Colour(50, 44, 155),  Colour(16, 16, 64),
    Colour(70, 149, 83),   Colour(224, 141, 83), Colour(239, 213, 0), Colour(148, 63, 163),
};

void PublishPlayerColours(const uint32_t* displayColours) { publishedTable = displayColours; }

const uint32_t* PublishedPlayerColours() { return publishedTable; }

bool GetPlayerMaskColour(int32_t variant, sRGB& colour) {
  colour = sRGB{};
  if (variant < 0 || variant >= kPlayerColourCount) {
    return false;
  }
  if (publishedTable == nullptr) {
    colour = kBasePlayerColours[variant];
    return true;
  }
  ConvertColor(publishedTable[variant], colour);
  return true;
}
