#include "runtime/BlitRows.h"

#include <cstring>
#include <vector>

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

// The keyed inner loop writes every destination pixel, either the source
// pixel or the pixel already there: a select the compiler turns into vector
// code for 2- and 4-byte pixels. The width and the rule are values and the
// rows restrict-qualified, so no store can seem to change them.
template <uint32_t Bytes, typename Rule>
void KeyedRow(uint8_t* __restrict to, const uint8_t* __restrict from, int32_t width,
              const Rule rule) {
  for (int32_t column = 0; column < width; ++column) {
    const uint32_t pixel = LoadAt<Bytes>(from, column);
    StoreAt<Bytes>(to, column, rule.IsKeyed(pixel) ? LoadAt<Bytes>(to, column) : pixel);
  }
}

template <uint32_t Bytes, typename Rule>
void KeyedRows(const tPixelBlock& destination, const tConstPixelBlock& source, const Rule& rule) {
  uint8_t* to = destination.Memory;
  const uint8_t* from = source.Memory;
  const int32_t width = destination.Width;
  for (int32_t row = 0; row < destination.Height;
       ++row, to += destination.Pitch, from += source.Pitch) {
    KeyedRow<Bytes>(to, from, width, rule);
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
      KeyedRows<Bytes>(destination, source, MakeSingle(key));
      break;
    case tBlitKey::Kind::Range:
      KeyedRows<Bytes>(destination, source, MakeRange(key));
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
