#include "runtime/Background.h"

#include "runtime/Display.h"
#include "runtime/DisplaySeams.h"

namespace {

uint32_t ColorWord(const sRGB& color) {
  return uint32_t{color.Blue} | (uint32_t{color.Green} << 8) | (uint32_t{color.Red} << 16);
}

sRGB WordColor(uint32_t word) {
  return {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
          static_cast<uint8_t>(word >> 16)};
}

}  // namespace

std::array<uint32_t, 8> BlitDataWords(const tBlitData& data) {
  return {static_cast<uint32_t>(data.Left),
          static_cast<uint32_t>(data.Top),
          data.Key.Mode,
          ColorWord(data.Key.Low) | (uint32_t{data.Key.LowPadding} << 24),
          ColorWord(data.Key.High) | (uint32_t{data.Key.HighPadding} << 24),
          data.Unused[0],
          data.Unused[1],
          data.Unused[2]};
}

tBlitData BlitDataFromWords(const std::array<uint32_t, 8>& words) {
  tBlitData data;
  data.Left = static_cast<int32_t>(words[0]);
  data.Top = static_cast<int32_t>(words[1]);
  data.Key.Mode = words[2];
  data.Key.Low = WordColor(words[3]);
  data.Key.LowPadding = static_cast<uint8_t>(words[3] >> 24);
  data.Key.High = WordColor(words[4]);
  data.Key.HighPadding = static_cast<uint8_t>(words[4] >> 24);
  data.Unused[0] = words[5];
  data.Unused[1] = words[6];
  data.Unused[2] = words[7];
  return data;
}

void SetBackgroundColor(const sRGB& color) {
  BackgroundState().Color = color;
}

void SetBackgroundGraphic(GraphicHandle graphic, const tBlitData* data) {
  tBackgroundState& background = BackgroundState();
  if (graphic == nullptr || data == nullptr) {
    background.Graphic = nullptr;
    return;
  }
  background.Graphic = graphic;
  background.BlitData = BlitDataWords(*data);
}

void StartBackground(uint32_t kind) {
  BackgroundState().Kind = kind;
}

void StopBackground() {
  BackgroundState().Kind = 0;
}

// BeginScreenUpdate's hook: the background graphic into the render buffer.
void DrawBackgroundGraphic(const tBackgroundState& background) {
  const tBlitData data = BlitDataFromWords(background.BlitData);
  GraphicToGraphic(background.Graphic, GetBackground(), &data);
}
