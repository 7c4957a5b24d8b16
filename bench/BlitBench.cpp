#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchRates.h"
#include "runtime/Blit.h"
#include "runtime/Display.h"
#include "runtime/Graphics.h"

// A keyed blit of 64 x 64 sprites and of a whole 800 x 600 frame at 16, 24
// and 32 bits, measured three ways in the same run: our blitter
// (GraphicToGraphic into the render buffer), memcpy of the same bytes row by
// row, and SDL's SDL_BlitSurface with SDL_SetColorKey on surfaces of the same
// format. The ratios (from CPU time) are printed at the end.

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

// The sprite's pixels at each depth: the key is magenta.
uint32_t KeyOf(int32_t depth) { return depth == 16 ? 0xF81F : 0xFF00FF; }

// About a third of the pixels carry the key, in runs, as sprites do.
uint32_t SpritePixel(int32_t depth, int32_t x, int32_t y) {
  const bool keyed = ((x * 7 + y * 3) % 23) < 8;
  if (keyed) {
    return KeyOf(depth);
  }
  const uint32_t shade = static_cast<uint32_t>((x + y) % 31);
  return depth == 16 ? 0x0841 * shade + 0x0020 : 0x080808 * shade + 0x002000;
}

int32_t BytesOf(int32_t depth) { return depth == 16 ? 2 : depth / 8; }

std::string Label(const char* who, int32_t depth, int32_t size) {
  return std::string(who) + " " + std::to_string(depth) + " " + std::to_string(size);
}

// ---- ours ----

bool StartFrame(int32_t depth) {
  tDisplaySettings settings;
  settings.ScreenWidth = kScreenWidth;
  settings.ScreenHeight = kScreenHeight;
  settings.BitsPerPixel = depth;
  return StartDisplay(settings) && BitsPerPixel() == depth;
}

GraphicHandle MakeSprite(int32_t depth, int32_t width, int32_t height) {
  GraphicHandle graphic = CreateGraphic(width, height, sRGB{});
  LockedGraphic* locked = LockGraphic(graphic);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      SetPixelColorAt(locked, x, y, SpritePixel(depth, x, y));
    }
  }
  UnlockGraphic(locked);
  return graphic;
}

void OurKeyedBlit(benchmark::State& state) {
  const int32_t size = static_cast<int32_t>(state.range(0));
  const int32_t depth = static_cast<int32_t>(state.range(1));
  const int32_t width = size == 0 ? kScreenWidth : size;
  const int32_t height = size == 0 ? kScreenHeight : size;
  if (!StartFrame(depth)) {
    state.SkipWithError("the display did not start");
    return;
  }
  GraphicHandle sprite = MakeSprite(depth, width, height);
  tBlitData data;
  data.Key.Mode = KeyColor;
  data.Key.Low = sRGB{255, 0, 255};
  int32_t step = 0;
  bench_rates::Measure(state, Label("ours", depth, size), "pixels", int64_t{width} * height, [&] {
    data.Left = (step * 37) % (kScreenWidth - width + 1);
    data.Top = (step * 53) % (kScreenHeight - height + 1);
    ++step;
    GraphicToGraphic(sprite, GetBackground(), &data);
  });
  DestroyGraphic(sprite);
  StopDisplay();
}

// ---- memcpy of the same rows ----

void MemcpyRows(benchmark::State& state) {
  const int32_t size = static_cast<int32_t>(state.range(0));
  const int32_t depth = static_cast<int32_t>(state.range(1));
  const size_t bytes = static_cast<size_t>(BytesOf(depth));
  const int32_t width = size == 0 ? kScreenWidth : size;
  const int32_t height = size == 0 ? kScreenHeight : size;
  const size_t rowBytes = static_cast<size_t>(width) * bytes;
  const size_t screenPitch = static_cast<size_t>(kScreenWidth) * bytes;
  std::vector<uint8_t> source(rowBytes * static_cast<size_t>(height), 0x5A);
  std::vector<uint8_t> screen(screenPitch * kScreenHeight);
  int32_t step = 0;
  bench_rates::Measure(state, Label("memcpy", depth, size), "pixels", int64_t{width} * height, [&] {
    const size_t left = static_cast<size_t>((step * 37) % (kScreenWidth - width + 1));
    const size_t top = static_cast<size_t>((step * 53) % (kScreenHeight - height + 1));
    ++step;
    for (int32_t row = 0; row < height; ++row) {
      std::memcpy(screen.data() + (top + static_cast<size_t>(row)) * screenPitch + left * bytes,
                  source.data() + static_cast<size_t>(row) * rowBytes, rowBytes);
    }
    benchmark::DoNotOptimize(screen.data());
  });
}

// ---- SDL's keyed blit ----

// The SDL format of our display format at each depth.
uint32_t SdlFormatOf(int32_t depth) {
  return depth == 16 ? SDL_PIXELFORMAT_RGB565
                     : (depth == 24 ? SDL_PIXELFORMAT_RGB24 : SDL_PIXELFORMAT_RGB888);
}

void SdlKeyedBlit(benchmark::State& state) {
  const int32_t size = static_cast<int32_t>(state.range(0));
  const int32_t depth = static_cast<int32_t>(state.range(1));
  const int32_t width = size == 0 ? kScreenWidth : size;
  const int32_t height = size == 0 ? kScreenHeight : size;
  SDL_Surface* screen =
      SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, depth, SdlFormatOf(depth));
  SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormat(0, width, height, depth, SdlFormatOf(depth));
  if (screen == nullptr || sprite == nullptr) {
    state.SkipWithError("SDL could not make the surfaces");
    SDL_FreeSurface(screen);
    SDL_FreeSurface(sprite);
    return;
  }
  const int32_t bytes = BytesOf(depth);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = static_cast<uint8_t*>(sprite->pixels) + y * sprite->pitch;
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t pixel = SpritePixel(depth, x, y);
      std::memcpy(row + x * bytes, &pixel, static_cast<size_t>(bytes));
    }
  }
  SDL_SetColorKey(sprite, SDL_TRUE, KeyOf(depth));
  int32_t step = 0;
  bench_rates::Measure(state, Label("SDL", depth, size), "pixels", int64_t{width} * height, [&] {
    SDL_Rect place{(step * 37) % (kScreenWidth - width + 1),
                   (step * 53) % (kScreenHeight - height + 1), width, height};
    ++step;
    SDL_BlitSurface(sprite, nullptr, screen, &place);
  });
  SDL_FreeSurface(sprite);
  SDL_FreeSurface(screen);
}

void PrintRatios() {
  std::printf("\nKeyed blits, our blitter against the others (CPU time; higher is faster for ours):\n");
  for (int32_t depth : {16, 24, 32}) {
    for (int32_t size : {64, 0}) {
      const std::string label =
          std::to_string(depth) + "-bit " + (size == 0 ? "800 x 600 frame" : "64 x 64 sprite");
      const double ours = bench_rates::Rate(Label("ours", depth, size)) / 1e6;
      const double copy = bench_rates::Rate(Label("memcpy", depth, size)) / 1e6;
      const double sdl = bench_rates::Rate(Label("SDL", depth, size)) / 1e6;
      if (ours <= 0 || copy <= 0 || sdl <= 0) {
        continue;
      }
      std::printf(
          "  %-22s ours %8.1f Mpx/s   memcpy %8.1f Mpx/s   SDL %8.1f Mpx/s   ours/memcpy %.2f   "
          "ours/SDL %.2f\n",
          label.c_str(), ours, copy, sdl, ours / copy, ours / sdl);
    }
  }
}

}  // namespace

// First argument 64: a 64 x 64 sprite; 0: the whole 800 x 600 frame. Second
// argument: bits per pixel.
BENCHMARK(OurKeyedBlit)->ArgsProduct({{64, 0}, {16, 24, 32}});
BENCHMARK(MemcpyRows)->ArgsProduct({{64, 0}, {16, 24, 32}});
BENCHMARK(SdlKeyedBlit)->ArgsProduct({{64, 0}, {16, 24, 32}});

int main(int argc, char** argv) {
  // The benchmark never needs a display.
  setenv("YOB_HEADLESS", "1", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatios();
  return 0;
}
