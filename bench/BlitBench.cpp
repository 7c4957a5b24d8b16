#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "runtime/Blit.h"
#include "runtime/Display.h"
#include "runtime/Graphics.h"

// A keyed 16-bit blit of 64 x 64 sprites and of a whole 800 x 600 frame,
// measured three ways in the same run: our blitter (GraphicToGraphic into
// the render buffer), memcpy of the same bytes row by row, and SDL's
// SDL_BlitSurface with SDL_SetColorKey on 16-bit surfaces. The ratios are
// printed at the end.

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr uint16_t kKey = 0xF81F;  // magenta in 5/6/5

// Megapixels per second of each measurement, by name, for the ratios.
std::map<std::string, double>& Rates() {
  static std::map<std::string, double> rates;
  return rates;
}

// About a third of the pixels carry the key, in runs, as sprites do.
uint16_t SpritePixel(int32_t x, int32_t y) {
  const bool keyed = ((x * 7 + y * 3) % 23) < 8;
  return keyed ? kKey : static_cast<uint16_t>(0x0841 * ((x + y) % 31) + 0x0020);
}

// Runs the loop, records the rate and sets the counter.
template <typename Body>
void Measure(benchmark::State& state, const std::string& name, int64_t pixelsPerIteration,
             Body body) {
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    body();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double pixels =
      static_cast<double>(pixelsPerIteration) * static_cast<double>(state.iterations());
  if (seconds > 0) {
    Rates()[name] = pixels / seconds / 1e6;
  }
  state.counters["pixels"] = benchmark::Counter(pixels, benchmark::Counter::kIsRate);
}

// ---- ours ----

bool StartFrame() {
  tDisplaySettings settings;
  settings.ScreenWidth = kScreenWidth;
  settings.ScreenHeight = kScreenHeight;
  settings.BitsPerPixel = 16;
  return StartDisplay(settings) && BitsPerPixel() == 16;
}

GraphicHandle MakeSprite(int32_t width, int32_t height) {
  GraphicHandle graphic = CreateGraphic(width, height, sRGB{});
  LockedGraphic* locked = LockGraphic(graphic);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      SetPixelColorAt(locked, x, y, SpritePixel(x, y));
    }
  }
  UnlockGraphic(locked);
  return graphic;
}

void OurKeyedBlit(benchmark::State& state) {
  const int32_t size = static_cast<int32_t>(state.range(0));
  const int32_t width = size == 0 ? kScreenWidth : size;
  const int32_t height = size == 0 ? kScreenHeight : size;
  if (!StartFrame()) {
    state.SkipWithError("the display did not start");
    return;
  }
  GraphicHandle sprite = MakeSprite(width, height);
  tBlitData data;
  data.Key.Mode = KeyColor;
  data.Key.Low = sRGB{255, 0, 255};
  int32_t step = 0;
  Measure(state, "ours " + std::to_string(size), int64_t{width} * height, [&] {
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
  const int32_t width = size == 0 ? kScreenWidth : size;
  const int32_t height = size == 0 ? kScreenHeight : size;
  const size_t rowBytes = static_cast<size_t>(width) * 2;
  const size_t screenPitch = static_cast<size_t>(kScreenWidth) * 2;
  std::vector<uint8_t> source(rowBytes * static_cast<size_t>(height), 0x5A);
  std::vector<uint8_t> screen(screenPitch * kScreenHeight);
  int32_t step = 0;
  Measure(state, "memcpy " + std::to_string(size), int64_t{width} * height, [&] {
    const size_t left = static_cast<size_t>((step * 37) % (kScreenWidth - width + 1));
    const size_t top = static_cast<size_t>((step * 53) % (kScreenHeight - height + 1));
    ++step;
    for (int32_t row = 0; row < height; ++row) {
      std::memcpy(screen.data() + (top + static_cast<size_t>(row)) * screenPitch + left * 2,
                  source.data() + static_cast<size_t>(row) * rowBytes, rowBytes);
    }
    benchmark::DoNotOptimize(screen.data());
  });
}

// ---- SDL's keyed blit ----

void SdlKeyedBlit(benchmark::State& state) {
  const int32_t size = static_cast<int32_t>(state.range(0));
  const int32_t width = size == 0 ? kScreenWidth : size;
  const int32_t height = size == 0 ? kScreenHeight : size;
  SDL_Surface* screen =
      SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 16, SDL_PIXELFORMAT_RGB565);
  SDL_Surface* sprite =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
  if (screen == nullptr || sprite == nullptr) {
    state.SkipWithError("SDL could not make the surfaces");
    SDL_FreeSurface(screen);
    SDL_FreeSurface(sprite);
    return;
  }
  for (int32_t y = 0; y < height; ++y) {
    auto* row =
        reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(sprite->pixels) + y * sprite->pitch);
    for (int32_t x = 0; x < width; ++x) {
      row[x] = SpritePixel(x, y);
    }
  }
  SDL_SetColorKey(sprite, SDL_TRUE, kKey);
  int32_t step = 0;
  Measure(state, "SDL " + std::to_string(size), int64_t{width} * height, [&] {
    SDL_Rect place{(step * 37) % (kScreenWidth - width + 1),
                   (step * 53) % (kScreenHeight - height + 1), width, height};
    ++step;
    SDL_BlitSurface(sprite, nullptr, screen, &place);
  });
  SDL_FreeSurface(sprite);
  SDL_FreeSurface(screen);
}

void PrintRatios() {
  std::printf("\nKeyed 16-bit blit, our blitter against the others (higher is faster for ours):\n");
  for (const char* size : {"64", "0"}) {
    const std::string label = std::string(size) == "0" ? "800 x 600 frame" : "64 x 64 sprite";
    const double ours = Rates()["ours " + std::string(size)];
    const double copy = Rates()["memcpy " + std::string(size)];
    const double sdl = Rates()["SDL " + std::string(size)];
    if (ours <= 0 || copy <= 0 || sdl <= 0) {
      continue;
    }
    std::printf(
        "  %-16s ours %8.1f Mpx/s   memcpy %8.1f Mpx/s   SDL %8.1f Mpx/s   ours/memcpy %.2f   "
        "ours/SDL %.2f\n",
        label.c_str(), ours, copy, sdl, ours / copy, ours / sdl);
  }
}

}  // namespace

// Argument 64: a 64 x 64 sprite; argument 0: the whole 800 x 600 frame.
BENCHMARK(OurKeyedBlit)->Arg(64)->Arg(0);
BENCHMARK(MemcpyRows)->Arg(64)->Arg(0);
BENCHMARK(SdlKeyedBlit)->Arg(64)->Arg(0);

int main(int argc, char** argv) {
  // The benchmark never needs a display.
  setenv("YOB_HEADLESS", "1", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatios();
  return 0;
}
