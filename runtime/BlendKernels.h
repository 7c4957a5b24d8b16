#pragma once

#include <cstdint>

// Vector kernels of the plain and keyed blends at a fixed alpha, for 2-byte
// pixels of three fields (5/6/5, 5/5/5) and for 4-byte pixels. They blend
// whole groups of pixels at the front of every row and answer how many
// columns of each row they blended; the caller blends the columns left with
// its per-pixel mixers. Their results equal those mixers' bit for bit:
//
//   fields:  (((s & m) * alpha + (d & m) * (255 - alpha)) >> 8) & m per field
//            m, the fields ored, nothing else kept;
//   bytes:   ((d * (255 - alpha)) >> 8) + ((s * alpha) >> 8) for each of the
//            three low bytes, the destination's fourth byte kept;
//   keyed:   the destination pixel kept where the source's compared bits
//            (all 16 of a 2-byte pixel, the low 24 of a 4-byte one) equal the
//            key.
//
// The rows of the two blocks must not overlap unless they are the same rows.

struct tBlendRows {
  uint8_t* To = nullptr;
  int32_t ToPitch = 0;
  const uint8_t* From = nullptr;
  int32_t FromPitch = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// The three fields of a 2-byte format by their masks. False when a mask is
// not one run of at most 8 bits, for which there is no kernel.
struct tFieldLayout {
  uint16_t Masks[3] = {0, 0, 0};
  uint16_t Shifts[3] = {0, 0, 0};  // the lowest bit of each field
};
bool MakeFieldLayout(uint32_t redMask, uint32_t greenMask, uint32_t blueMask, tFieldLayout& layout);

// alpha 1-255. keyed: the source's key pixels leave the destination alone.
int32_t BlendFieldRows(const tBlendRows& rows, const tFieldLayout& layout, uint32_t alpha,
                       bool keyed, uint32_t key);
int32_t BlendByteRows(const tBlendRows& rows, uint32_t alpha, bool keyed, uint32_t key);
