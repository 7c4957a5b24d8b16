#include "runtime/PixelFunctions.h"

#include "runtime/Graphics.h"

#include <algorithm>
#include <cstring>

namespace {

tPixelFormatInfo installedFormat;
tPixelFunctions installedFunctions;
tPixelLayout installedLayout = tPixelLayout::Rgb565;

tPixelChannel DescribeChannel(uint32_t mask) {
  tPixelChannel channel;
  channel.Mask = mask;
  channel.Shift = platform::MaskShift(mask);
  channel.Count = platform::MaskBitCount(mask);
  channel.Loss = channel.Count >= 8 ? 0 : 8 - channel.Count;
  return channel;
}

// ---- pack and unpack ----

uint32_t Pack565(uint32_t red, uint32_t green, uint32_t blue) {
  return ((red & 0xF8) << 8) | ((green & 0xFC) << 3) | (blue >> 3);
}
uint32_t Pack555(uint32_t red, uint32_t green, uint32_t blue) {
  return ((red & 0xF8) << 7) | ((green & 0xF8) << 2) | (blue >> 3);
}
uint32_t PackRgb(uint32_t red, uint32_t green, uint32_t blue) { return (red << 16) | (green << 8) | blue; }
uint32_t PackBgr(uint32_t red, uint32_t green, uint32_t blue) { return (blue << 16) | (green << 8) | red; }
uint32_t PackGeneric(uint32_t red, uint32_t green, uint32_t blue) {
  const tPixelFormatInfo& format = installedFormat;
  return ((red >> format.Red.Loss) << format.Red.Shift) | ((green >> format.Green.Loss) << format.Green.Shift) |
         ((blue >> format.Blue.Loss) << format.Blue.Shift);
}

void Unpack565(uint32_t pixel, uint32_t& red, uint32_t& green, uint32_t& blue) {
  red = (pixel >> 8) & 0xF8;
  green = (pixel >> 3) & 0xFC;
  blue = (pixel & 31) * 8;
}
void Unpack555(uint32_t pixel, uint32_t& red, uint32_t& green, uint32_t& blue) {
  red = (pixel >> 7) & 0xF8;
  green = (pixel >> 2) & 0xF8;
  blue = (pixel & 31) * 8;
}
void UnpackRgb(uint32_t pixel, uint32_t& red, uint32_t& green, uint32_t& blue) {
  red = (pixel >> 16) & 0xFF;
  green = (pixel >> 8) & 0xFF;
  blue = pixel & 0xFF;
}
void UnpackBgr(uint32_t pixel, uint32_t& red, uint32_t& green, uint32_t& blue) {
  blue = (pixel >> 16) & 0xFF;
  green = (pixel >> 8) & 0xFF;
  red = pixel & 0xFF;
}
inline uint32_t UnpackChannel(uint32_t pixel, const tPixelChannel& channel) {
  return ((pixel & channel.Mask) >> channel.Shift) << channel.Loss;
}
void UnpackGeneric(uint32_t pixel, uint32_t& red, uint32_t& green, uint32_t& blue) {
  red = UnpackChannel(pixel, installedFormat.Red);
  green = UnpackChannel(pixel, installedFormat.Green);
  blue = UnpackChannel(pixel, installedFormat.Blue);
}

// ---- single pixels ----

uint32_t Get16(const uint8_t* address) { return LoadPixelBytes<2>(address); }
uint32_t Get24(const uint8_t* address) { return LoadPixelBytes<3>(address); }
uint32_t Get32(const uint8_t* address) { return LoadPixelBytes<4>(address) & 0xFFFFFF; }
// A 4-byte format with a channel in the top byte keeps that channel.
uint32_t Get32Generic(const uint8_t* address) { return LoadPixelBytes<4>(address) & installedFormat.ColorMask; }
void Set16(uint8_t* address, uint32_t pixel) { StorePixelBytes<2>(address, pixel); }
void Set24(uint8_t* address, uint32_t pixel) { StorePixelBytes<3>(address, pixel); }
void Set32(uint8_t* address, uint32_t pixel) { StorePixelBytes<4>(address, pixel); }

// ---- runs ----

// Normalises a run: a negative length starts length pixels before.
inline bool RunStart(int32_t& start, int32_t& length) {
  if (length < 0) {
    start += length;
    length = -length;
  }
  return length > 0;
}

template <uint32_t Bytes>
void HorizontalRun(uint8_t* memory, int32_t pitch, int32_t x, int32_t y, int32_t length, uint32_t pixel) {
  if (!RunStart(x, length)) {
    return;
  }
  uint8_t* address = memory + static_cast<std::ptrdiff_t>(y) * pitch + static_cast<std::ptrdiff_t>(x) * Bytes;
  // The first pixel is written, the rest copied forward from what is written.
  StorePixelBytes<Bytes>(address, pixel);
  const size_t total = static_cast<size_t>(length) * Bytes;
  size_t filled = Bytes;
  while (filled < total) {
    const size_t chunk = std::min(filled, total - filled);
    std::memcpy(address + filled, address, chunk);
    filled += chunk;
  }
}

template <uint32_t Bytes>
void VerticalRun(uint8_t* memory, int32_t pitch, int32_t x, int32_t y, int32_t length, uint32_t pixel) {
  if (!RunStart(y, length)) {
    return;
  }
  uint8_t* address = memory + static_cast<std::ptrdiff_t>(y) * pitch + static_cast<std::ptrdiff_t>(x) * Bytes;
  for (int32_t step = 0; step < length; ++step, address += pitch) {
    StorePixelBytes<Bytes>(address, pixel);
  }
}

// ---- replacements ----

// The bits a replacement compares: the whole 16-bit value, or the colour
// bits of a wider pixel (the low 24 bits of the usual formats).
template <uint32_t Bytes>
inline uint32_t CompareMask() {
  return Bytes == 2 ? 0xFFFFu : installedFormat.ColorMask;
}

template <uint32_t Bytes>
void ReplaceInkAndPaper(uint8_t* block, int32_t pitch, int32_t width, int32_t height, uint32_t oldInk,
                        uint32_t newInk, uint32_t oldPaper, uint32_t newPaper) {
  const uint32_t mask = CompareMask<Bytes>();
  oldInk &= mask;
  oldPaper &= mask;
  for (int32_t row = 0; row < height; ++row, block += pitch) {
    uint8_t* address = block;
    for (int32_t column = 0; column < width; ++column, address += Bytes) {
      const uint32_t pixel = LoadPixelBytes<Bytes>(address) & mask;
      if (pixel == oldInk) {
        StorePixelBytes<Bytes>(address, newInk);
      } else if (pixel == oldPaper) {
        StorePixelBytes<Bytes>(address, newPaper);
      }
    }
  }
}

template <uint32_t Bytes>
void ReplacePaper(uint8_t* block, int32_t pitch, int32_t width, int32_t height, uint32_t key, uint32_t keyValue,
                  uint32_t otherValue) {
  const uint32_t mask = CompareMask<Bytes>();
  key &= mask;
  for (int32_t row = 0; row < height; ++row, block += pitch) {
    uint8_t* address = block;
    for (int32_t column = 0; column < width; ++column, address += Bytes) {
      StorePixelBytes<Bytes>(address, (LoadPixelBytes<Bytes>(address) & mask) == key ? keyValue : otherValue);
    }
  }
}

template <uint32_t Bytes>
void SetBlockMembers(tPixelFunctions& functions) {
  functions.HorizontalRun = HorizontalRun<Bytes>;
  functions.VerticalRun = VerticalRun<Bytes>;
  functions.ReplaceInkAndPaper = ReplaceInkAndPaper<Bytes>;
  functions.ReplacePaper = ReplacePaper<Bytes>;
}

tPixelFunctions SelectFunctions(const tPixelFormatInfo& format, tPixelLayout layout) {
  tPixelFunctions functions;
  switch (layout) {
    case tPixelLayout::Rgb565:
      functions.Pack = Pack565;
      functions.Unpack = Unpack565;
      break;
    case tPixelLayout::Rgb555:
      functions.Pack = Pack555;
      functions.Unpack = Unpack555;
      break;
    case tPixelLayout::Rgb:
      functions.Pack = PackRgb;
      functions.Unpack = UnpackRgb;
      break;
    case tPixelLayout::Bgr:
      functions.Pack = PackBgr;
      functions.Unpack = UnpackBgr;
      break;
    case tPixelLayout::Generic16:
    case tPixelLayout::GenericWide:
      functions.Pack = PackGeneric;
      functions.Unpack = UnpackGeneric;
      break;
  }
  switch (format.BytesPerPixel) {
    case 2:
      functions.GetPixel = Get16;
      functions.SetPixel = Set16;
      SetBlockMembers<2>(functions);
      break;
    case 3:
      functions.GetPixel = Get24;
      functions.SetPixel = Set24;
      SetBlockMembers<3>(functions);
      break;
    default:
      functions.GetPixel = layout == tPixelLayout::GenericWide ? Get32Generic : Get32;
      functions.SetPixel = Set32;
      SetBlockMembers<4>(functions);
      break;
  }
  return functions;
}

}  // namespace

tPixelFormatInfo DescribePixelFormat(const platform::PixelFormat& format) {
  tPixelFormatInfo info;
  info.BitCount = format.bitCount;
  info.BytesPerPixel = format.BytesPerPixel();
  info.Red = DescribeChannel(format.redMask);
  info.Green = DescribeChannel(format.greenMask);
  info.Blue = DescribeChannel(format.blueMask);
  info.ColorMask = format.redMask | format.greenMask | format.blueMask;
  info.AlphaMask = format.AlphaMask();
  return info;
}

tPixelLayout ChoosePixelLayout(const tPixelFormatInfo& format) {
  const uint32_t red = format.Red.Mask;
  const uint32_t green = format.Green.Mask;
  const uint32_t blue = format.Blue.Mask;
  if (format.BytesPerPixel == 2) {
    if (red == 0xF800 && green == 0x07E0 && blue == 0x001F) {
      return tPixelLayout::Rgb565;
    }
    if (red == 0x7C00 && green == 0x03E0 && blue == 0x001F) {
      return tPixelLayout::Rgb555;
    }
    return tPixelLayout::Generic16;
  }
  if (red == 0xFF0000 && green == 0x00FF00 && blue == 0x0000FF) {
    return tPixelLayout::Rgb;
  }
  if (blue == 0xFF0000 && green == 0x00FF00 && red == 0x0000FF) {
    return tPixelLayout::Bgr;
  }
  return tPixelLayout::GenericWide;
}

bool IsSupportedPixelFormat(const tPixelFormatInfo& format) {
  if (format.BytesPerPixel < 2 || format.BytesPerPixel > 4) {
    return false;
  }
  const uint32_t red = format.Red.Count;
  const uint32_t green = format.Green.Count;
  const uint32_t blue = format.Blue.Count;
  return (red == 5 && green == 6 && blue == 5) || (red == 5 && green == 5 && blue == 5) ||
         (red == 8 && green == 8 && blue == 8);
}

void InstallPixelFormat(const platform::PixelFormat& format) {
  installedFormat = DescribePixelFormat(format);
  installedLayout = ChoosePixelLayout(installedFormat);
  installedFunctions = SelectFunctions(installedFormat, installedLayout);
  RebuildSystemColors();
}

namespace {
// The format before the display is set up is 5/6/5, so colour calls made
// early give sensible values instead of calling absent members.
struct InitialFormat {
  InitialFormat() { InstallPixelFormat(platform::Format565()); }
} initialFormat;
}  // namespace

const tPixelFormatInfo& DisplayPixelFormat() { return installedFormat; }
const tPixelFunctions& PixelFunctions() { return installedFunctions; }
tPixelLayout InstalledPixelLayout() { return installedLayout; }
