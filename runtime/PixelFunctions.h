#pragma once

#include <cstdint>
#include <cstring>

#include "platform/PixelFormat.h"

// The display's pixel format and the pixel-format function set: one member
// per role, chosen once when the display is set up, so per-pixel work never
// asks which format it runs on.

// One colour channel of the display format.
struct tPixelChannel {
  uint32_t Mask = 0;
  uint32_t Shift = 0;  // position of the lowest mask bit
  uint32_t Count = 0;  // bits
  uint32_t Loss = 0;   // 8 minus the bits: how far a 0-255 value is cut
};

struct tPixelFormatInfo {
  uint32_t BitCount = 0;       // bits of storage: 16, 24 or 32
  uint32_t BytesPerPixel = 0;  // (BitCount + 7) / 8
  tPixelChannel Red;
  tPixelChannel Green;
  tPixelChannel Blue;
  uint32_t ColorMask = 0;  // the three channel masks together
  uint32_t AlphaMask = 0;  // the bits no channel uses
};

// Which members a format gets.
enum class tPixelLayout : uint8_t {
  Rgb565,       // 2 bytes, red 5 at 11, green 6 at 5, blue 5 at 0
  Rgb555,       // 2 bytes, red 5 at 10, green 5 at 5, blue 5 at 0
  Generic16,    // any other 2-byte format
  Rgb,          // 3 or 4 bytes, red at 16, green at 8, blue at 0
  Bgr,          // 3 or 4 bytes, blue at 16, green at 8, red at 0
  GenericWide,  // any other 3- or 4-byte format
};

// Runs and replacements take the memory of a locked graphic (its first row)
// and its pitch in bytes. A run of negative length starts at x + length (or
// y + length) and covers -length pixels; a length of 0 draws nothing.
struct tPixelFunctions {
  uint32_t (*Pack)(uint32_t red, uint32_t green, uint32_t blue) = nullptr;
  void (*Unpack)(uint32_t pixel, uint32_t& red, uint32_t& green, uint32_t& blue) = nullptr;
  uint32_t (*GetPixel)(const uint8_t* address) = nullptr;
  void (*SetPixel)(uint8_t* address, uint32_t pixel) = nullptr;
  void (*HorizontalRun)(uint8_t* memory, int32_t pitch, int32_t x, int32_t y, int32_t length,
                        uint32_t pixel) = nullptr;
  void (*VerticalRun)(uint8_t* memory, int32_t pitch, int32_t x, int32_t y, int32_t length,
                      uint32_t pixel) = nullptr;
  // Over width x height pixels from the block's top-left address: pixels
  // equal to old ink become new ink, else pixels equal to old paper become
  // new paper.
  void (*ReplaceInkAndPaper)(uint8_t* block, int32_t pitch, int32_t width, int32_t height, uint32_t oldInk,
                             uint32_t newInk, uint32_t oldPaper, uint32_t newPaper) = nullptr;
  // Pixels equal to the key become keyValue, every other pixel otherValue.
  void (*ReplacePaper)(uint8_t* block, int32_t pitch, int32_t width, int32_t height, uint32_t key,
                       uint32_t keyValue, uint32_t otherValue) = nullptr;
};

// The description of a platform format: shifts, counts, losses and masks.
tPixelFormatInfo DescribePixelFormat(const platform::PixelFormat& format);
tPixelLayout ChoosePixelLayout(const tPixelFormatInfo& format);
// The accepted display formats: red, green and blue counts of 5/6/5, 5/5/5
// or 8/8/8 in 2, 3 or 4 bytes.
bool IsSupportedPixelFormat(const tPixelFormatInfo& format);

// Installs the display's format: its description, its function set and the
// 16 packed system colours. Display set-up calls it once.
void InstallPixelFormat(const platform::PixelFormat& format);
const tPixelFormatInfo& DisplayPixelFormat();
const tPixelFunctions& PixelFunctions();
tPixelLayout InstalledPixelLayout();

// One pixel of 1 to 4 bytes at an address of any alignment, in the machine's
// byte order (as the display's pixels are stored).
template <uint32_t Bytes>
inline uint32_t LoadPixelBytes(const uint8_t* address) {
  uint32_t value = 0;
  std::memcpy(&value, address, Bytes);
  return value;
}

template <uint32_t Bytes>
inline void StorePixelBytes(uint8_t* address, uint32_t value) {
  std::memcpy(address, &value, Bytes);
}
