// Colour masks applied to a frame: the input is the mask's data as a file
// may hold it (no terminator, runs past the frame's end), applied to a fixed
// 16 x 8 graphic with black and coloured pixels. Nothing outside the graphic
// or the data is touched (the sanitizers watch), and a black pixel stays
// black whatever the colour.

#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDisplay.h"
#include "game/YGColorMask.h"
#include "runtime/Graphics.h"

namespace {

constexpr int32_t kWidth = 16;
constexpr int32_t kHeight = 8;

bool IsBlackAt(int32_t x, int32_t y) { return (x + 3 * y) % 5 == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StartFuzzDisplay();
  sRGB light;
  light.Red = 240;
  light.Green = 200;
  light.Blue = 120;
  GraphicHandle graphic = CreateGraphic(kWidth, kHeight, light);
  FuzzRequire(graphic != nullptr, "the frame graphic is made");
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      if (IsBlackAt(x, y)) {
        SetGraphicPixel(graphic, x, y, 0);
      }
    }
  }
  YGColorMask mask;
  mask.Data.assign(data, data + size);
  sRGB colour;
  colour.Red = 255;
  colour.Green = 30;
  colour.Blue = 90;
  mask.Apply(colour, graphic);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      if (IsBlackAt(x, y)) {
        FuzzRequire(GetGraphicPixel(graphic, x, y) == 0, "a black pixel stays black");
      }
    }
  }
  DestroyGraphic(graphic);
  return 0;
}
