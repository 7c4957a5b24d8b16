#include "runtime/BlitRows.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/KernelChoice.h"

namespace {

// Pixels of 2 and 4 bytes are read and written as whole words through
// types that may alias the surface's bytes; rows start on 4-byte boundaries,
// so the words are aligned.
typedef uint16_t __attribute__((__may_alias__)) Word16;
typedef uint32_t __attribute__((__may_alias__)) Word32;

// ---- key rules: one test per pixel, no branches on the format ----

struct NoKey {
  bool IsKeyed(uint32_t /*pixel*/) const { return false; }
};

struct SingleKey {
  uint32_t mask;
  uint32_t key;
  bool IsKeyed(uint32_t pixel) const { return (pixel & mask) == key; }
};

struct RangeKey {
  uint32_t masks[3];
  uint32_t lows[3];
  uint32_t highs[3];
  bool IsKeyed(uint32_t pixel) const {
    // Non-short-circuit ands keep the loop free of branches.
    bool keyed = true;
    for (int channel = 0; channel < 3; ++channel) {
      const uint32_t value = pixel & masks[channel];
      keyed &= (value >= lows[channel]) & (value <= highs[channel]);
    }
    return keyed;
  }
};

SingleKey MakeSingle(const tBlitKey& key) {
  const uint32_t mask = key.ChannelMasks[0] | key.ChannelMasks[1] | key.ChannelMasks[2];
  return {mask, key.Low & mask};
}

RangeKey MakeRange(const tBlitKey& key) {
  RangeKey range{};
  for (int channel = 0; channel < 3; ++channel) {
    range.masks[channel] = key.ChannelMasks[channel];
    range.lows[channel] = key.Low & key.ChannelMasks[channel];
    range.highs[channel] = key.High & key.ChannelMasks[channel];
  }
  return range;
}

// ---- pixel access by size ----

template <uint32_t Bytes>
inline uint32_t LoadAt(const uint8_t* row, int32_t index) {
  if constexpr (Bytes == 2) {
    return reinterpret_cast<const Word16*>(row)[index];
  } else if constexpr (Bytes == 4) {
    return reinterpret_cast<const Word32*>(row)[index];
  } else {
    uint32_t value = 0;
    std::memcpy(&value, row + static_cast<size_t>(index) * 3, 3);
    return value;
  }
}

template <uint32_t Bytes>
inline void StoreAt(uint8_t* row, int32_t index, uint32_t value) {
  if constexpr (Bytes == 2) {
    reinterpret_cast<Word16*>(row)[index] = static_cast<uint16_t>(value);
  } else if constexpr (Bytes == 4) {
    reinterpret_cast<Word32*>(row)[index] = value;
  } else {
    std::memcpy(row + static_cast<size_t>(index) * 3, &value, 3);
  }
}

// ---- unscaled ----

// A block for the kernels: the rows of both sides, the size in pixels.
struct KeyedBlock {
  uint8_t* to;
  int32_t toPitch;
  const uint8_t* from;
  int32_t fromPitch;
  int32_t width;
  int32_t height;
};

// A key range in 16-bit lanes: each channel's masked value against its
// ends. A 16-bit pixel's masked value never exceeds 0xFFFF, so ends above it
// are cut there (a low end above it keys nothing).
struct RangeKey16 {
  uint16_t masks[3];
  uint16_t lows[3];
  uint16_t highs[3];
  bool keysNothing;
};

RangeKey16 NarrowRange(const RangeKey& range) {
  RangeKey16 narrow{};
  for (int channel = 0; channel < 3; ++channel) {
    narrow.keysNothing |= range.lows[channel] > 0xFFFF;
    narrow.masks[channel] = static_cast<uint16_t>(range.masks[channel]);
    narrow.lows[channel] = static_cast<uint16_t>(range.lows[channel]);
    narrow.highs[channel] = static_cast<uint16_t>(std::min<uint32_t>(range.highs[channel], 0xFFFF));
  }
  return narrow;
}

// The kernels for any processor, and the same built for AVX2, run only where
// the processor has it.
namespace portable_kernels {
#include "runtime/BlitKernels.inl"
}  // namespace portable_kernels

#if defined(__x86_64__) && defined(__GNUC__)
#pragma GCC push_options
#pragma GCC target("avx2")
namespace avx2_kernels {
#include "runtime/BlitKernels.inl"
}  // namespace avx2_kernels
#pragma GCC pop_options
#define LUMO_CHOOSE_KERNEL(kernel, ...)                                      \
  (ActiveKernelSet() == tKernelSet::Avx2 ? avx2_kernels::kernel(__VA_ARGS__) \
                                         : portable_kernels::kernel(__VA_ARGS__))
#else
#define LUMO_CHOOSE_KERNEL(kernel, ...) portable_kernels::kernel(__VA_ARGS__)
#endif

// 3-byte pixels are read byte by byte (a memcpy of three bytes per pixel is
// a call on some compilers) and a kept pixel is written; a keyed one is left
// alone rather than written back.
template <typename Rule>
void KeyedRows24(const KeyedBlock block, const Rule rule) {
  portable_kernels::ForRows<uint8_t>(
      block, [&](uint8_t* __restrict to, const uint8_t* __restrict from, int32_t width) {
        for (int32_t column = 0; column < width; ++column, to += 3, from += 3) {
          const uint32_t pixel = from[0] | (uint32_t{from[1]} << 8) | (uint32_t{from[2]} << 16);
          if (!rule.IsKeyed(pixel)) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
          }
        }
      });
}

KeyedBlock BlockOf(const tPixelBlock& destination, const tConstPixelBlock& source) {
  return {destination.Memory, destination.Pitch, source.Memory,
          source.Pitch,       destination.Width, destination.Height};
}

void PlainRows(uint32_t bytesPerPixel, const tPixelBlock& destination,
               const tConstPixelBlock& source);

void SingleKeyRows(uint32_t bytesPerPixel, const tPixelBlock& destination,
                   const tConstPixelBlock& source, const SingleKey key) {
  if (bytesPerPixel == 2) {
    if (key.key > 0xFFFF) {
      PlainRows(2, destination, source);  // no 16-bit pixel can match
      return;
    }
    LUMO_CHOOSE_KERNEL(SingleKeyRows16, BlockOf(destination, source),
                       static_cast<uint16_t>(key.mask), static_cast<uint16_t>(key.key));
  } else if (bytesPerPixel == 4) {
    LUMO_CHOOSE_KERNEL(SingleKeyRows32, BlockOf(destination, source), key.mask, key.key);
  } else {
    KeyedRows24(BlockOf(destination, source), key);
  }
}

void RangeKeyRows(uint32_t bytesPerPixel, const tPixelBlock& destination,
                  const tConstPixelBlock& source, const RangeKey& key) {
  if (bytesPerPixel == 2) {
    const RangeKey16 narrow = NarrowRange(key);
    if (narrow.keysNothing) {
      PlainRows(2, destination, source);
      return;
    }
    LUMO_CHOOSE_KERNEL(RangeKeyRows16, BlockOf(destination, source), narrow);
  } else if (bytesPerPixel == 4) {
    LUMO_CHOOSE_KERNEL(RangeKeyRows32, BlockOf(destination, source), key);
  } else {
    KeyedRows24(BlockOf(destination, source), key);
  }
}

void PlainRows(uint32_t bytesPerPixel, const tPixelBlock& destination,
               const tConstPixelBlock& source) {
  const size_t rowBytes = static_cast<size_t>(destination.Width) * bytesPerPixel;
  uint8_t* to = destination.Memory;
  const uint8_t* from = source.Memory;
  for (int32_t row = 0; row < destination.Height;
       ++row, to += destination.Pitch, from += source.Pitch) {
    std::memmove(to, from, rowBytes);
  }
}

template <uint32_t Bytes>
void CopyRowsSized(const tPixelBlock& destination, const tConstPixelBlock& source,
                   const tBlitKey& key) {
  switch (key.KeyKind) {
    case tBlitKey::Kind::None:
      PlainRows(Bytes, destination, source);
      break;
    case tBlitKey::Kind::Single:
      SingleKeyRows(Bytes, destination, source, MakeSingle(key));
      break;
    case tBlitKey::Kind::Range:
      RangeKeyRows(Bytes, destination, source, MakeRange(key));
      break;
  }
}

// ---- stretched ----

// The source column of every destination column, kept between calls so a
// stretch allocates only when it is wider than any before.
std::vector<int32_t>& ColumnTable(int32_t width) {
  static std::vector<int32_t> columns;
  columns.resize(static_cast<size_t>(width));
  return columns;
}

template <uint32_t Bytes, typename Rule>
void StretchedRow(uint8_t* __restrict to, const uint8_t* __restrict from,
                  const int32_t* __restrict columns, int32_t width, const Rule rule) {
  for (int32_t column = 0; column < width; ++column) {
    const uint32_t pixel = LoadAt<Bytes>(from, columns[column]);
    if (!rule.IsKeyed(pixel)) {
      StoreAt<Bytes>(to, column, pixel);
    }
  }
}

template <uint32_t Bytes, typename Rule>
void StretchedRows(const tPixelBlock& destination, const tConstPixelBlock& source,
                   const Rule& rule) {
  std::vector<int32_t>& columns = ColumnTable(destination.Width);
  for (int32_t column = 0; column < destination.Width; ++column) {
    columns[static_cast<size_t>(column)] =
        StretchSourceIndex(column, destination.Width, source.Width);
  }
  uint8_t* to = destination.Memory;
  for (int32_t row = 0; row < destination.Height; ++row, to += destination.Pitch) {
    const int32_t sourceRow = StretchSourceIndex(row, destination.Height, source.Height);
    StretchedRow<Bytes>(to, source.Memory + static_cast<std::ptrdiff_t>(sourceRow) * source.Pitch,
                        columns.data(), destination.Width, rule);
  }
}

template <uint32_t Bytes>
void StretchRowsSized(const tPixelBlock& destination, const tConstPixelBlock& source,
                      const tBlitKey& key) {
  switch (key.KeyKind) {
    case tBlitKey::Kind::None:
      StretchedRows<Bytes>(destination, source, NoKey{});
      break;
    case tBlitKey::Kind::Single:
      StretchedRows<Bytes>(destination, source, MakeSingle(key));
      break;
    case tBlitKey::Kind::Range:
      StretchedRows<Bytes>(destination, source, MakeRange(key));
      break;
  }
}

}  // namespace

tBlitKey MakeBlitKey(uint32_t redMask, uint32_t greenMask, uint32_t blueMask, uint32_t low,
                     uint32_t high) {
  tBlitKey key;
  key.ChannelMasks[0] = redMask;
  key.ChannelMasks[1] = greenMask;
  key.ChannelMasks[2] = blueMask;
  key.Low = low;
  key.High = high;
  const uint32_t colorMask = redMask | greenMask | blueMask;
  key.KeyKind =
      (low & colorMask) == (high & colorMask) ? tBlitKey::Kind::Single : tBlitKey::Kind::Range;
  return key;
}

void CopyPixelRows(uint32_t bytesPerPixel, const tPixelBlock& destination,
                   const tConstPixelBlock& source, const tBlitKey& key) {
  switch (bytesPerPixel) {
    case 2:
      CopyRowsSized<2>(destination, source, key);
      break;
    case 3:
      CopyRowsSized<3>(destination, source, key);
      break;
    case 4:
      CopyRowsSized<4>(destination, source, key);
      break;
    default:
      break;
  }
}

void StretchPixelRows(uint32_t bytesPerPixel, const tPixelBlock& destination,
                      const tConstPixelBlock& source, const tBlitKey& key) {
  switch (bytesPerPixel) {
    case 2:
      StretchRowsSized<2>(destination, source, key);
      break;
    case 3:
      StretchRowsSized<3>(destination, source, key);
      break;
    case 4:
      StretchRowsSized<4>(destination, source, key);
      break;
    default:
      break;
  }
}
