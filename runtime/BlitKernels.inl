// The keyed blit kernels' bodies: plain row loops the compiler turns into
// vector code. Included by BlitRows.cpp once for any processor and once more
// under the AVX2 target, each time inside a namespace of its own; nothing
// here may define a function shared with other files (a copy built for AVX2
// could be chosen by the linker for code that runs anywhere).
//
// Whole 2- and 4-byte pixels are compared and selected in lanes of their own
// width, so a vector holds twice (or four times) the pixels a 32-bit lane
// would.

namespace {

// Runs the row body over every row of the block; inlined into each kernel,
// so the rows of a small sprite cost no call each.
template <typename Word, typename Body>
inline __attribute__((always_inline)) void ForRows(const KeyedBlock& block, Body body) {
  uint8_t* to = block.to;
  const uint8_t* from = block.from;
  for (int32_t row = 0; row < block.height; ++row, to += block.toPitch, from += block.fromPitch) {
    body(reinterpret_cast<Word*>(to), reinterpret_cast<const Word*>(from), block.width);
  }
}

void SingleKeyRows16(const KeyedBlock block, uint16_t mask, uint16_t key) {
  ForRows<Word16>(block, [=](Word16* __restrict to, const Word16* __restrict from, int32_t width) {
    for (int32_t column = 0; column < width; ++column) {
      const uint16_t pixel = from[column];
      to[column] = (pixel & mask) == key ? to[column] : pixel;
    }
  });
}

void SingleKeyRows32(const KeyedBlock block, uint32_t mask, uint32_t key) {
  ForRows<Word32>(block, [=](Word32* __restrict to, const Word32* __restrict from, int32_t width) {
    for (int32_t column = 0; column < width; ++column) {
      const uint32_t pixel = from[column];
      to[column] = (pixel & mask) == key ? to[column] : pixel;
    }
  });
}

void RangeKeyRows16(const KeyedBlock block, const RangeKey16 range) {
  ForRows<Word16>(block, [=](Word16* __restrict to, const Word16* __restrict from, int32_t width) {
    for (int32_t column = 0; column < width; ++column) {
      const uint16_t pixel = from[column];
      bool keyed = true;
      for (int channel = 0; channel < 3; ++channel) {
        const uint16_t value = static_cast<uint16_t>(pixel & range.masks[channel]);
        keyed &= (value >= range.lows[channel]) & (value <= range.highs[channel]);
      }
      to[column] = keyed ? to[column] : pixel;
    }
  });
}

void RangeKeyRows32(const KeyedBlock block, const RangeKey range) {
  ForRows<Word32>(block, [=](Word32* __restrict to, const Word32* __restrict from, int32_t width) {
    for (int32_t column = 0; column < width; ++column) {
      const uint32_t pixel = from[column];
      to[column] = range.IsKeyed(pixel) ? to[column] : pixel;
    }
  });
}

}  // namespace
