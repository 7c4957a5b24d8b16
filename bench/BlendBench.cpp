#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BenchRates.h"
#include "runtime/Blend.h"
#include "runtime/Display.h"
#include "runtime/Graphics.h"

// Plain and keyed alpha blends of 64 x 64 sprites and of a whole 800 x 600
// frame at 16 and 32 bits, measured in the same run against SDL's alpha blit
// of surfaces of the same format (a surface alpha of 128; the keyed blend
// against SDL's alpha blit with a colour key). The ratios (from CPU time) are
// printed at the end.

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

uint32_t KeyOf(int32_t depth) { return depth == 16 ? 0xF81F : 0xFF00FF; }
int32_t BytesOf(int32_t depth) { return depth / 8; }

// About a third of the pixels carry the key, in runs, as sprites do.
uint32_t SpritePixel(int32_t depth, int32_t x, int32_t y) {
  if (((x * 7 + y * 3) % 23) < 8) {
    return KeyOf(depth);
  }
  const uint32_t shade = static_cast<uint32_t>((x + y) % 31);
  return depth == 16 ? 0x0841 * shade + 0x0020 : 0x080808 * shade + 0x002000;
}

uint32_t ScreenPixel(int32_t depth, int32_t x, int32_t y) {
  const uint32_t shade = static_cast<uint32_t>((x * 3 + y) % 29);
  return depth == 16 ? 0x1082 * (shade % 15) + 0x0800 : 0x0A0B0C * (shade % 20) + 0x101010;
}

std::string Label(const char* who, int32_t depth, int32_t size, uint32_t alpha) {
  return std::string(who) + " " + std::to_string(depth) + " " + std::to_string(size) + " " +
         std::to_string(alpha);
}

void Blocks(benchmark::State& state, int32_t& size, int32_t& depth, int32_t& width,
            int32_t& height, bool& keyed, uint32_t& alpha) {
  size = static_cast<int32_t>(state.range(0));
  depth = static_cast<int32_t>(state.range(1));
  keyed = state.range(2) != 0;
  alpha = static_cast<uint32_t>(state.range(3));
  width = size == 0 ? kScreenWidth : size;
  height = size == 0 ? kScreenHeight : size;
}

// ---- ours ----

GraphicHandle MakeGraphic(int32_t width, int32_t height, uint32_t (*pixel)(int32_t, int32_t, int32_t),
                          int32_t depth) {
  GraphicHandle graphic = CreateGraphic(width, height, sRGB{});
  LockedGraphic* locked = LockGraphic(graphic);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      SetPixelColorAt(locked, x, y, pixel(depth, x, y));
    }
  }
  UnlockGraphic(locked);
  return graphic;
}

void OurBlend(benchmark::State& state) {
  int32_t size = 0, depth = 0, width = 0, height = 0;
  bool keyed = false;
  uint32_t alpha = 0;
  Blocks(state, size, depth, width, height, keyed, alpha);
  tDisplaySettings settings;
  settings.ScreenWidth = kScreenWidth;
  settings.ScreenHeight = kScreenHeight;
  settings.BitsPerPixel = depth;
  if (!StartDisplay(settings) || BitsPerPixel() != depth) {
    state.SkipWithError("the display did not start");
    return;
  }
  GraphicHandle screen = MakeGraphic(kScreenWidth, kScreenHeight, ScreenPixel, depth);
  GraphicHandle sprite = MakeGraphic(width, height, SpritePixel, depth);
  LockedGraphic* to = LockGraphic(screen);
  LockedGraphic* from = LockGraphic(sprite);
  int32_t step = 0;
  bench_rates::Measure(state, Label(keyed ? "ours keyed" : "ours plain", depth, size, alpha), "pixels",
                       int64_t{width} * height, [&] {
                         SelectPixelAt(to, (step * 37) % (kScreenWidth - width + 1),
                                       (step * 53) % (kScreenHeight - height + 1));
                         SelectPixelAt(from, 0, 0);
                         ++step;
                         if (keyed) {
                           BlendTransparent(to, from, alpha, KeyOf(depth), width, height);
                         } else {
                           BlendPlain(to, from, alpha, width, height);
                         }
                       });
  UnlockGraphic(from);
  UnlockGraphic(to);
  DestroyGraphic(sprite);
  DestroyGraphic(screen);
  StopDisplay();
}

// ---- SDL's alpha blit ----

void SdlBlend(benchmark::State& state) {
  int32_t size = 0, depth = 0, width = 0, height = 0;
  bool keyed = false;
  uint32_t alpha = 0;
  Blocks(state, size, depth, width, height, keyed, alpha);
  const uint32_t format = depth == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, depth, format);
  SDL_Surface* sprite = SDL_CreateRGBSurfaceWithFormat(0, width, height, depth, format);
  if (screen == nullptr || sprite == nullptr) {
    state.SkipWithError("SDL could not make the surfaces");
    SDL_FreeSurface(screen);
    SDL_FreeSurface(sprite);
    return;
  }
  const int32_t bytes = BytesOf(depth);
  const auto fill = [&](SDL_Surface* surface, uint32_t (*pixel)(int32_t, int32_t, int32_t)) {
    for (int32_t y = 0; y < surface->h; ++y) {
      uint8_t* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
      for (int32_t x = 0; x < surface->w; ++x) {
        const uint32_t value = pixel(depth, x, y);
        std::memcpy(row + x * bytes, &value, static_cast<size_t>(bytes));
      }
    }
  };
  fill(screen, ScreenPixel);
  fill(sprite, SpritePixel);
  SDL_SetSurfaceBlendMode(sprite, SDL_BLENDMODE_BLEND);
  SDL_SetSurfaceAlphaMod(sprite, static_cast<uint8_t>(alpha));
  if (keyed) {
    SDL_SetColorKey(sprite, SDL_TRUE, KeyOf(depth));
  }
  int32_t step = 0;
  bench_rates::Measure(state, Label(keyed ? "SDL keyed" : "SDL plain", depth, size, alpha), "pixels",
                       int64_t{width} * height, [&] {
                         SDL_Rect place{(step * 37) % (kScreenWidth - width + 1),
                                        (step * 53) % (kScreenHeight - height + 1), width, height};
                         ++step;
                         SDL_BlitSurface(sprite, nullptr, screen, &place);
                       });
  SDL_FreeSurface(sprite);
  SDL_FreeSurface(screen);
}

void PrintRatios() {
  std::printf("\nAlpha blends, ours against SDL's alpha blit (CPU time):\n");
  for (const char* kind : {"plain", "keyed"}) {
    for (int32_t depth : {16, 32}) {
      for (int32_t size : {64, 0}) {
        for (uint32_t alpha : {64u, 128u, 200u}) {
          const std::string label = std::string(kind) + " " + std::to_string(depth) + "-bit " +
                                    (size == 0 ? "800 x 600" : "64 x 64") + " alpha " +
                                    std::to_string(alpha);
          const double ours =
              bench_rates::Rate(Label((std::string("ours ") + kind).c_str(), depth, size, alpha)) /
              1e6;
          const double sdl =
              bench_rates::Rate(Label((std::string("SDL ") + kind).c_str(), depth, size, alpha)) /
              1e6;
          if (ours <= 0 || sdl <= 0) {
            continue;
          }
          std::printf("  %-36s ours %8.1f Mpx/s   SDL %8.1f Mpx/s   ours/SDL %.2f\n", label.c_str(),
                      ours, sdl, ours / sdl);
        }
      }
    }
  }
}

}  // namespace

// Arguments: 64 for a 64 x 64 sprite or 0 for the whole 800 x 600 frame; bits
// per pixel; 1 for the keyed blend; the alpha (128 takes SDL's half-alpha path).
BENCHMARK(OurBlend)->ArgsProduct({{64, 0}, {16, 32}, {0, 1}, {64, 128, 200}});
BENCHMARK(SdlBlend)->ArgsProduct({{64, 0}, {16, 32}, {0, 1}, {64, 128, 200}});

int main(int argc, char** argv) {
  // The benchmark never needs a display.
  setenv("YOB_HEADLESS", "1", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatios();
  return 0;
}
