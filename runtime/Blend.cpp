#include "runtime/Blend.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/DebugFormat.h"
#include "runtime/BlendKernels.h"
#include "runtime/CursorBlock.h"
#include "runtime/PixelFunctions.h"

namespace {

// ---- mixing one pixel ----

// 5/6/5 and 5/5/5: each masked field is blended where it lies.
struct FieldMixer {
  uint32_t masks[3];
  uint32_t operator()(uint32_t source, uint32_t destination, uint32_t alpha) const {
    const uint32_t inverse = 255 - alpha;
    uint32_t result = 0;
    for (uint32_t mask : masks) {
      result |= (((source & mask) * alpha + (destination & mask) * inverse) >> 8) & mask;
    }
    return result;
  }
};

// Other 2-byte formats: both pixels unpacked to 0-255 channels and packed.
struct ChannelMixer {
  tPixelChannel channels[3];
  uint32_t operator()(uint32_t source, uint32_t destination, uint32_t alpha) const {
    const uint32_t inverse = 255 - alpha;
    uint32_t result = 0;
    for (const tPixelChannel& channel : channels) {
      const uint32_t from = ((source & channel.Mask) >> channel.Shift) << channel.Loss;
      const uint32_t to = ((destination & channel.Mask) >> channel.Shift) << channel.Loss;
      const uint32_t mixed = ((to * inverse) >> 8) + ((from * alpha) >> 8);
      result |= (mixed >> channel.Loss) << channel.Shift;
    }
    return result;
  }
};

// 3- and 4-byte formats: the three low bytes; the fourth byte is kept.
struct ByteMixer {
  uint32_t operator()(uint32_t source, uint32_t destination, uint32_t alpha) const {
    const uint32_t inverse = 255 - alpha;
    uint32_t result = destination & 0xFF000000u;
    for (uint32_t shift = 0; shift < 24; shift += 8) {
      const uint32_t from = (source >> shift) & 0xFF;
      const uint32_t to = (destination >> shift) & 0xFF;
      result |= (((to * inverse) >> 8) + ((from * alpha) >> 8)) << shift;
    }
    return result;
  }
};

enum class MixKind : uint8_t { Fields, Channels, Bytes };

template <MixKind Kind>
auto MakeMixer() {
  const tPixelFormatInfo& format = DisplayPixelFormat();
  if constexpr (Kind == MixKind::Fields) {
    return FieldMixer{{format.Red.Mask, format.Green.Mask, format.Blue.Mask}};
  } else if constexpr (Kind == MixKind::Channels) {
    return ChannelMixer{{format.Red, format.Green, format.Blue}};
  } else {
    return ByteMixer{};
  }
}

// ---- rows ----

// The part of a blend inside the graphics: top-left addresses and pitches.
struct tBlendBlock {
  uint8_t* Destination = nullptr;
  int32_t DestinationPitch = 0;
  const uint8_t* Source = nullptr;  // plain, transparent and alpha-map blends
  int32_t SourcePitch = 0;
  const uint8_t* Map = nullptr;  // alpha-map and mask blends
  int32_t MapPitch = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// Runs pixel(destination address, source address, map byte address) over the
// block; the source and map addresses are null when the blend has none.
template <uint32_t Bytes, typename PixelWork>
void ForEachPixel(const tBlendBlock& block, PixelWork work) {
  for (int32_t row = 0; row < block.Height; ++row) {
    uint8_t* to = block.Destination + static_cast<std::ptrdiff_t>(row) * block.DestinationPitch;
    const uint8_t* from = block.Source
                              ? block.Source + static_cast<std::ptrdiff_t>(row) * block.SourcePitch
                              : nullptr;
    const uint8_t* map =
        block.Map ? block.Map + static_cast<std::ptrdiff_t>(row) * block.MapPitch : nullptr;
    for (int32_t column = 0; column < block.Width; ++column) {
      work(to + column * Bytes, from ? from + column * Bytes : nullptr,
           map ? map + column : nullptr);
    }
  }
}

// The key compares whole 16-bit pixels, or the low 24 bits of wider ones.
template <uint32_t Bytes>
constexpr uint32_t KeyMask() {
  return Bytes == 2 ? 0xFFFFu : 0xFFFFFFu;
}

// 2- and 4-byte pixels as whole words of any alignment, for the row loops
// below: the rows are restrict-qualified and the width a value, so the
// compiler turns a row into vector code.
template <uint32_t Bytes>
struct LooseWordOf;
template <>
struct LooseWordOf<2> {
  typedef uint16_t __attribute__((__may_alias__, __aligned__(1))) Type;
};
template <>
struct LooseWordOf<4> {
  typedef uint32_t __attribute__((__may_alias__, __aligned__(1))) Type;
};
template <uint32_t Bytes>
using LooseWord = typename LooseWordOf<Bytes>::Type;

template <uint32_t Bytes, typename Mixer>
void PlainRow(LooseWord<Bytes>* __restrict to, const LooseWord<Bytes>* __restrict from,
              const int32_t width, const Mixer mix, const uint32_t alpha) {
  for (int32_t column = 0; column < width; ++column) {
    to[column] = static_cast<LooseWord<Bytes>>(mix(from[column], to[column], alpha));
  }
}

// Every destination pixel is written: the blend, or the pixel already there
// where the source carries the key (a select, not a branch).
template <uint32_t Bytes, typename Mixer>
void KeyedRow(LooseWord<Bytes>* __restrict to, const LooseWord<Bytes>* __restrict from,
              const int32_t width, const Mixer mix, const uint32_t alpha, const uint32_t keyValue) {
  for (int32_t column = 0; column < width; ++column) {
    const uint32_t source = from[column];
    const uint32_t destination = to[column];
    const uint32_t mixed = mix(source, destination, alpha);
    to[column] = static_cast<LooseWord<Bytes>>((source & KeyMask<Bytes>()) != keyValue ? mixed
                                                                                       : destination);
  }
}

// Runs row(destination row, source row) over the block's rows.
template <uint32_t Bytes, typename Row>
void ForEachRow(const tBlendBlock& block, Row row) {
  for (int32_t line = 0; line < block.Height; ++line) {
    row(reinterpret_cast<LooseWord<Bytes>*>(block.Destination +
                                            static_cast<std::ptrdiff_t>(line) * block.DestinationPitch),
        reinterpret_cast<const LooseWord<Bytes>*>(
            block.Source + static_cast<std::ptrdiff_t>(line) * block.SourcePitch));
  }
}

// Whether the source rows lie apart from the destination rows or are the
// very same rows; the row loops and vector kernels read a row ahead of what
// they write, which only a blend pixel by pixel may not.
template <uint32_t Bytes>
bool RowsApartOrSame(const tBlendBlock& block) {
  if (block.Destination == block.Source && block.DestinationPitch == block.SourcePitch) {
    return true;
  }
  const auto span = [&](const uint8_t* first, int32_t pitch) {
    const std::ptrdiff_t rows = static_cast<std::ptrdiff_t>(block.Height - 1) * pitch;
    const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(block.Width) * Bytes;
    const uintptr_t start = reinterpret_cast<uintptr_t>(first) +
                            static_cast<uintptr_t>(std::min<std::ptrdiff_t>(rows, 0));
    const uintptr_t end = reinterpret_cast<uintptr_t>(first) +
                          static_cast<uintptr_t>(std::max<std::ptrdiff_t>(rows, 0) + row);
    return std::pair<uintptr_t, uintptr_t>{start, end};
  };
  const auto to = span(block.Destination, block.DestinationPitch);
  const auto from = span(block.Source, block.SourcePitch);
  return to.second <= from.first || from.second <= to.first;
}

// Blends the front columns of every row with the vector kernels where the
// format has them; the block is left with the columns still to blend.
template <uint32_t Bytes, MixKind Kind>
void VectorColumns(tBlendBlock& block, uint32_t alpha, bool keyed, uint32_t keyValue) {
  const tBlendRows rows{block.Destination, block.DestinationPitch,
                        block.Source,      block.SourcePitch,
                        block.Width,       block.Height};
  int32_t done = 0;
  if constexpr (Bytes == 4) {
    done = BlendByteRows(rows, alpha, keyed, keyValue);
  } else if constexpr (Bytes == 2 && Kind == MixKind::Fields) {
    const tPixelFormatInfo& format = DisplayPixelFormat();
    tFieldLayout layout;
    if (MakeFieldLayout(format.Red.Mask, format.Green.Mask, format.Blue.Mask, layout)) {
      done = BlendFieldRows(rows, layout, alpha, keyed, keyValue);
    }
  }
  block.Destination += static_cast<std::ptrdiff_t>(done) * Bytes;
  block.Source += static_cast<std::ptrdiff_t>(done) * Bytes;
  block.Width -= done;
}

template <uint32_t Bytes, MixKind Kind>
void PlainMember(const tBlendBlock& whole, uint32_t alpha) {
  const auto mix = MakeMixer<Kind>();
  const auto pixelByPixel = [&](const tBlendBlock& block) {
    ForEachPixel<Bytes>(block, [&](uint8_t* to, const uint8_t* from, const uint8_t*) {
      StorePixelBytes<Bytes>(to,
                             mix(LoadPixelBytes<Bytes>(from), LoadPixelBytes<Bytes>(to), alpha));
    });
  };
  if constexpr (Bytes == 3) {
    pixelByPixel(whole);
  } else {
    if (!RowsApartOrSame<Bytes>(whole)) {
      pixelByPixel(whole);
      return;
    }
    tBlendBlock block = whole;
    VectorColumns<Bytes, Kind>(block, alpha, false, 0);
    const int32_t width = block.Width;
    if (width > 0) {
      ForEachRow<Bytes>(block, [&](LooseWord<Bytes>* to, const LooseWord<Bytes>* from) {
        PlainRow<Bytes>(to, from, width, mix, alpha);
      });
    }
  }
}

template <uint32_t Bytes, MixKind Kind>
void KeyedMember(const tBlendBlock& whole, uint32_t alpha, uint32_t key) {
  const auto mix = MakeMixer<Kind>();
  const uint32_t keyValue = key & KeyMask<Bytes>();
  const auto pixelByPixel = [&](const tBlendBlock& block) {
    ForEachPixel<Bytes>(block, [&](uint8_t* to, const uint8_t* from, const uint8_t*) {
      const uint32_t source = LoadPixelBytes<Bytes>(from);
      if ((source & KeyMask<Bytes>()) != keyValue) {
        StorePixelBytes<Bytes>(to, mix(source, LoadPixelBytes<Bytes>(to), alpha));
      }
    });
  };
  if constexpr (Bytes == 3) {
    pixelByPixel(whole);
  } else {
    if (!RowsApartOrSame<Bytes>(whole)) {
      pixelByPixel(whole);
      return;
    }
    tBlendBlock block = whole;
    VectorColumns<Bytes, Kind>(block, alpha, true, keyValue);
    const int32_t width = block.Width;
    if (width > 0) {
      ForEachRow<Bytes>(block, [&](LooseWord<Bytes>* to, const LooseWord<Bytes>* from) {
        KeyedRow<Bytes>(to, from, width, mix, alpha, keyValue);
      });
    }
  }
}

template <uint32_t Bytes, MixKind Kind>
void AlphaMember(const tBlendBlock& block) {
  const auto mix = MakeMixer<Kind>();
  ForEachPixel<Bytes>(block, [&](uint8_t* to, const uint8_t* from, const uint8_t* map) {
    if (*map != 0) {
      StorePixelBytes<Bytes>(to, mix(LoadPixelBytes<Bytes>(from), LoadPixelBytes<Bytes>(to), *map));
    }
  });
}

template <uint32_t Bytes, MixKind Kind>
void MaskMember(const tBlendBlock& block, uint32_t color) {
  const auto mix = MakeMixer<Kind>();
  ForEachPixel<Bytes>(block, [&](uint8_t* to, const uint8_t*, const uint8_t* map) {
    if (*map != 0) {
      StorePixelBytes<Bytes>(to, mix(color, LoadPixelBytes<Bytes>(to), *map));
    }
  });
}

template <uint32_t Bytes, MixKind Kind>
void ColorMember(const tBlendBlock& block, uint32_t color, uint32_t alpha) {
  const auto mix = MakeMixer<Kind>();
  ForEachPixel<Bytes>(block, [&](uint8_t* to, const uint8_t*, const uint8_t*) {
    StorePixelBytes<Bytes>(to, mix(color, LoadPixelBytes<Bytes>(to), alpha));
  });
}

// ---- the members of the installed format ----

struct tBlendMembers {
  void (*Plain)(const tBlendBlock&, uint32_t alpha);
  void (*Keyed)(const tBlendBlock&, uint32_t alpha, uint32_t key);
  void (*Alpha)(const tBlendBlock&);
  void (*Mask)(const tBlendBlock&, uint32_t color);
  void (*Color)(const tBlendBlock&, uint32_t color, uint32_t alpha);
};

// The mask and colour blends work on 0-255 channels on every format.
template <uint32_t Bytes, MixKind Kind, MixKind ChannelKind>
constexpr tBlendMembers MembersFor() {
  return {PlainMember<Bytes, Kind>, KeyedMember<Bytes, Kind>, AlphaMember<Bytes, Kind>,
          MaskMember<Bytes, ChannelKind>, ColorMember<Bytes, ChannelKind>};
}

constexpr tBlendMembers kFieldMembers = MembersFor<2, MixKind::Fields, MixKind::Channels>();
constexpr tBlendMembers kChannelMembers = MembersFor<2, MixKind::Channels, MixKind::Channels>();
constexpr tBlendMembers kThreeByteMembers = MembersFor<3, MixKind::Bytes, MixKind::Bytes>();
constexpr tBlendMembers kFourByteMembers = MembersFor<4, MixKind::Bytes, MixKind::Bytes>();

const tBlendMembers& BlendMembers() {
  switch (InstalledPixelLayout()) {
    case tPixelLayout::Rgb565:
    case tPixelLayout::Rgb555:
      return kFieldMembers;
    case tPixelLayout::Generic16:
      return kChannelMembers;
    default:
      return DisplayPixelFormat().BytesPerPixel == 3 ? kThreeByteMembers : kFourByteMembers;
  }
}

uint32_t ClampAlpha(uint32_t alpha) {
  return std::min<uint32_t>(alpha, 255);
}

// ---- cursor blocks ----

// A blend over one graphic: the block at its cursor and the part inside.
struct tSingleBlend {
  tLockedPixels pixels;
  tCursorBlock block;
  tBlockSpan span;
};

bool TakeSingle(const char* prefix, LockedGraphic* destination, int32_t width, int32_t height,
                tSingleBlend& blend) {
  if (!LockedPixels(prefix, destination, blend.pixels)) {
    return false;
  }
  blend.block = TakeCursorBlock(destination, width, height);
  blend.span = SpanInside(blend.block, blend.pixels);
  return true;
}

uint8_t* SpanStart(const tLockedPixels& pixels, const tCursorBlock& block, const tBlockSpan& span) {
  return pixels.At(static_cast<int32_t>(block.Left + span.FirstColumn),
                   static_cast<int32_t>(block.Top + span.FirstRow));
}

tBlendBlock DestinationBlock(const tSingleBlend& blend) {
  tBlendBlock block;
  block.Destination = SpanStart(blend.pixels, blend.block, blend.span);
  block.DestinationPitch = blend.pixels.Pitch;
  block.Width = blend.span.Columns();
  block.Height = blend.span.Rows();
  return block;
}

// A blend from one graphic into another: both blocks and the part inside both.
struct tPairBlend {
  tLockedPixels destinationPixels;
  tLockedPixels sourcePixels;
  tCursorBlock destinationBlock;
  tCursorBlock sourceBlock;
  tBlockSpan span;

  tBlendBlock Block() const {
    tBlendBlock block;
    block.Destination = SpanStart(destinationPixels, destinationBlock, span);
    block.DestinationPitch = destinationPixels.Pitch;
    block.Source = SpanStart(sourcePixels, sourceBlock, span);
    block.SourcePitch = sourcePixels.Pitch;
    block.Width = span.Columns();
    block.Height = span.Rows();
    return block;
  }
  void End(LockedGraphic* destination, LockedGraphic* source) const {
    EndCursorBlock(destination, destinationBlock);
    EndCursorBlock(source, sourceBlock);
  }
};

bool TakePair(const char* prefix, LockedGraphic* destination, LockedGraphic* source, int32_t width,
              int32_t height, tPairBlend& blend) {
  if (!LockedPixels(prefix, destination, blend.destinationPixels) ||
      !LockedPixels(prefix, source, blend.sourcePixels)) {
    return false;
  }
  blend.destinationBlock = TakeCursorBlock(destination, width, height);
  blend.sourceBlock = TakeCursorBlock(source, width, height);
  blend.span = SpanInsideBoth(blend.destinationBlock, blend.destinationPixels, blend.sourceBlock,
                              blend.sourcePixels);
  return true;
}

// Whether the map holds every byte of rows [first row, end row) and columns
// [first column, end column) of a map with the given row length, starting at
// (left, top) of the map; logs the shortfall otherwise.
bool MapHolds(const char* prefix, const tAlphaBytes& map, int64_t left, int64_t top,
              int64_t rowLength, const tBlockSpan& span) {
  const int64_t lastByte = (top + span.EndRow - 1) * rowLength + left + span.EndColumn - 1;
  if (lastByte < int64_t{map.Size}) {
    return true;
  }
  DebugPrint("%s Alpha map too small for the rows it reads (Size=%u, Needed=%lld)\n", prefix,
             map.Size, static_cast<long long>(lastByte + 1));
  return false;
}

// The bytes of a live alpha map; false, after the lookup's log line, for a
// null or unknown handle.
bool MapOf(const char* prefix, AlphaHandle alpha, tAlphaBytes& map) {
  const tAlphaRecord* record = FindAlpha(prefix, alpha);
  if (record == nullptr || record->Data == nullptr) {
    return false;
  }
  map = {record->Data.get(), record->DataSize};
  return true;
}

}  // namespace

void BlendPixel(LockedGraphic* destination, LockedGraphic* source, uint32_t alpha) {
  tLockedPixels to;
  tLockedPixels from;
  if (!LockedPixels("BlendPixel()", destination, to) ||
      !LockedPixels("BlendPixel()", source, from)) {
    return;
  }
  alpha = ClampAlpha(alpha);
  if (alpha == 0 || !to.Contains(destination->X, destination->Y) ||
      !from.Contains(source->X, source->Y)) {
    return;
  }
  const tPixelFunctions& functions = PixelFunctions();
  uint32_t sourceChannels[3];
  uint32_t destinationChannels[3];
  functions.Unpack(functions.GetPixel(from.At(source->X, source->Y)), sourceChannels[0],
                   sourceChannels[1], sourceChannels[2]);
  uint8_t* target = to.At(destination->X, destination->Y);
  functions.Unpack(functions.GetPixel(target), destinationChannels[0], destinationChannels[1],
                   destinationChannels[2]);
  uint32_t mixed[3];
  for (int channel = 0; channel < 3; ++channel) {
    mixed[channel] = ((sourceChannels[channel] * alpha) >> 8) +
                     ((destinationChannels[channel] * (255 - alpha)) >> 8);
  }
  functions.SetPixel(target, functions.Pack(mixed[0], mixed[1], mixed[2]));
}

void BlendPlain(LockedGraphic* destination, LockedGraphic* source, uint32_t alpha, int32_t width,
                int32_t height) {
  tPairBlend blend;
  if (!TakePair("BlendPlain()", destination, source, width, height, blend)) {
    return;
  }
  alpha = ClampAlpha(alpha);
  if (alpha != 0 && !blend.span.IsEmpty()) {
    BlendMembers().Plain(blend.Block(), alpha);
  }
  blend.End(destination, source);
}

void BlendTransparent(LockedGraphic* destination, LockedGraphic* source, uint32_t alpha,
                      uint32_t key, int32_t width, int32_t height) {
  tPairBlend blend;
  if (!TakePair("BlendTransparent()", destination, source, width, height, blend)) {
    return;
  }
  alpha = ClampAlpha(alpha);
  if (alpha != 0 && !blend.span.IsEmpty()) {
    BlendMembers().Keyed(blend.Block(), alpha, key);
  }
  blend.End(destination, source);
}

void BlendAlpha(LockedGraphic* destination, LockedGraphic* source, AlphaHandle alpha,
                int32_t width, int32_t height) {
  constexpr const char* prefix = "BlendAlpha()";
  tAlphaBytes bytes;
  if (!MapOf(prefix, alpha, bytes)) {
    return;
  }
  const tAlphaBytes* map = &bytes;
  if (source == nullptr) {
    // No source pixels to blend: the destination's block is passed over.
    tSingleBlend passed;
    if (TakeSingle(prefix, destination, width, height, passed)) {
      EndCursorBlock(destination, passed.block);
    }
    return;
  }
  tPairBlend blend;
  if (!TakePair(prefix, destination, source, width, height, blend)) {
    return;
  }
  if (!blend.span.IsEmpty()) {
    const int64_t rowLength = blend.sourcePixels.Width;
    const int64_t mapLeft = blend.sourceBlock.Left + blend.span.FirstColumn;
    const int64_t mapTop = blend.sourceBlock.Top + blend.span.FirstRow;
    if (!MapHolds(prefix, *map, blend.sourceBlock.Left, blend.sourceBlock.Top, rowLength,
                  blend.span)) {
      blend.End(destination, source);
      return;
    }
    tBlendBlock block = blend.Block();
    block.Map = map->Data + mapTop * rowLength + mapLeft;
    block.MapPitch = static_cast<int32_t>(rowLength);
    BlendMembers().Alpha(block);
  }
  blend.End(destination, source);
}

void BlendMask(LockedGraphic* destination, AlphaHandle alpha, uint32_t pixel, int32_t width,
               int32_t height) {
  constexpr const char* prefix = "BlendMask()";
  tAlphaBytes bytes;
  tSingleBlend blend;
  if (!MapOf(prefix, alpha, bytes) || !TakeSingle(prefix, destination, width, height, blend)) {
    return;
  }
  const tAlphaBytes* map = &bytes;
  if (!blend.span.IsEmpty() && MapHolds(prefix, *map, 0, 0, blend.block.Width, blend.span)) {
    tBlendBlock block = DestinationBlock(blend);
    block.Map =
        map->Data + int64_t{blend.span.FirstRow} * blend.block.Width + blend.span.FirstColumn;
    block.MapPitch = static_cast<int32_t>(blend.block.Width);
    BlendMembers().Mask(block, pixel);
  }
  EndCursorBlock(destination, blend.block);
}

void BlendColor(LockedGraphic* destination, uint32_t pixel, uint32_t alpha, int32_t width,
                int32_t height) {
  tSingleBlend blend;
  if (!TakeSingle("BlendColor()", destination, width, height, blend)) {
    return;
  }
  if (!blend.span.IsEmpty()) {
    BlendMembers().Color(DestinationBlock(blend), pixel, ClampAlpha(alpha));
  }
  EndCursorBlock(destination, blend.block);
}
