// The blend kernels' bodies in the compiler's generic vectors: included by
// BlendKernels.cpp once for any processor and once more under the AVX2
// target, each time inside a namespace of its own. Nothing here may define a
// function shared with other files (a copy built for AVX2 could be chosen by
// the linker for code that runs anywhere).

namespace {

// One vector of the target (LUMO_KERNEL_VECTOR_BYTES, 16 or 32 bytes): as
// 2-byte pixels, as 4-byte pixels, as bytes, and those bytes widened.
constexpr int32_t kVectorBytes = LUMO_KERNEL_VECTOR_BYTES;
typedef uint16_t tHalves __attribute__((vector_size(LUMO_KERNEL_VECTOR_BYTES)));
typedef uint32_t tWords __attribute__((vector_size(LUMO_KERNEL_VECTOR_BYTES)));
typedef uint8_t tBytes __attribute__((vector_size(LUMO_KERNEL_VECTOR_BYTES)));
typedef uint16_t tWideBytes __attribute__((vector_size(2 * LUMO_KERNEL_VECTOR_BYTES)));

template <typename Vector>
inline __attribute__((always_inline)) Vector LoadVector(const uint8_t* at) {
  Vector value;
  __builtin_memcpy(&value, at, sizeof value);
  return value;
}

template <typename Vector>
inline __attribute__((always_inline)) void StoreVector(uint8_t* at, const Vector& value) {
  __builtin_memcpy(at, &value, sizeof value);
}

// One field of a vector of pixels: its bits taken down to the bottom, blended in
// 16-bit lanes (at most 8 bits times at most 255 fits), then moved to the
// field's place. Shifting the sum left by the field's shift and right by 8,
// as the per-pixel mixer does, is the same as shifting it by the difference.
inline __attribute__((always_inline)) tHalves BlendField(tHalves source, tHalves destination,
                                                         uint16_t mask, uint16_t shift,
                                                         uint16_t alpha, uint16_t inverse) {
  const uint16_t low = static_cast<uint16_t>(mask >> shift);
  const tHalves sum = ((source >> shift) & low) * alpha + ((destination >> shift) & low) * inverse;
  const tHalves placed = shift >= 8 ? sum << (shift - 8) : sum >> (8 - shift);
  return placed & mask;
}

// The same blend at alpha 128 without multiplies, for fields of at most 7
// bits: (128 s + 127 d) >> 8 equals (s + d - 1) >> 1 where d is not 0, and
// s >> 1 where it is. A comparison's true lanes are all ones, so adding one
// takes 1 off exactly the lanes whose d is not 0.
inline __attribute__((always_inline)) tHalves HalfField(tHalves source, tHalves destination,
                                                        uint16_t mask, uint16_t shift) {
  const uint16_t low = static_cast<uint16_t>(mask >> shift);
  const tHalves fromField = (source >> shift) & low;
  tHalves toField = (destination >> shift) & low;
  toField += (tHalves)(toField != 0);
  return ((fromField + toField) >> 1) << shift;
}

inline bool FieldsFitHalfBlend(const tFieldLayout& layout) {
  for (int channel = 0; channel < 3; ++channel) {
    if ((layout.Masks[channel] >> layout.Shifts[channel]) > 0x7F) {
      return false;
    }
  }
  return true;
}

int32_t FieldRows(const tBlendRows& rows, const tFieldLayout& layout, uint32_t alpha, bool keyed,
                  uint32_t key) {
  constexpr int32_t kGroup = kVectorBytes / 2;
  const int32_t groups = rows.Width / kGroup;
  const uint16_t a = static_cast<uint16_t>(alpha);
  const uint16_t inverse = static_cast<uint16_t>(255 - alpha);
  const uint16_t keyValue = static_cast<uint16_t>(key);
  uint8_t* toRow = rows.To;
  const uint8_t* fromRow = rows.From;
  if (alpha == 128 && FieldsFitHalfBlend(layout)) {
    for (int32_t row = 0; row < rows.Height;
         ++row, toRow += rows.ToPitch, fromRow += rows.FromPitch) {
      for (int32_t group = 0; group < groups; ++group) {
        const size_t offset = static_cast<size_t>(group) * kGroup * 2;
        const tHalves source = LoadVector<tHalves>(fromRow + offset);
        const tHalves destination = LoadVector<tHalves>(toRow + offset);
        tHalves mixed = HalfField(source, destination, layout.Masks[0], layout.Shifts[0]) |
                        HalfField(source, destination, layout.Masks[1], layout.Shifts[1]) |
                        HalfField(source, destination, layout.Masks[2], layout.Shifts[2]);
        if (keyed) {
          const tHalves isKey = (tHalves)(source == keyValue);
          mixed = (isKey & destination) | (~isKey & mixed);
        }
        StoreVector(toRow + offset, mixed);
      }
    }
    return groups * kGroup;
  }
  for (int32_t row = 0; row < rows.Height;
       ++row, toRow += rows.ToPitch, fromRow += rows.FromPitch) {
    for (int32_t group = 0; group < groups; ++group) {
      const size_t offset = static_cast<size_t>(group) * kGroup * 2;
      const tHalves source = LoadVector<tHalves>(fromRow + offset);
      const tHalves destination = LoadVector<tHalves>(toRow + offset);
      tHalves mixed =
          BlendField(source, destination, layout.Masks[0], layout.Shifts[0], a, inverse) |
          BlendField(source, destination, layout.Masks[1], layout.Shifts[1], a, inverse) |
          BlendField(source, destination, layout.Masks[2], layout.Shifts[2], a, inverse);
      if (keyed) {
        const tHalves isKey = (tHalves)(source == keyValue);
        mixed = (isKey & destination) | (~isKey & mixed);
      }
      StoreVector(toRow + offset, mixed);
    }
  }
  return groups * kGroup;
}

int32_t ByteRows(const tBlendRows& rows, uint32_t alpha, bool keyed, uint32_t key) {
  constexpr int32_t kGroup = kVectorBytes / 4;
  const int32_t groups = rows.Width / kGroup;
  // Each pixel's three low bytes take the blend's weights; its fourth byte
  // weighs 256 from the destination and nothing from the source, which
  // keeps it as it was.
  tWideBytes sourceWeights;
  tWideBytes destinationWeights;
  for (int32_t lane = 0; lane < kVectorBytes; ++lane) {
    const bool fourth = lane % 4 == 3;
    sourceWeights[lane] = static_cast<uint16_t>(fourth ? 0 : alpha);
    destinationWeights[lane] = static_cast<uint16_t>(fourth ? 256 : 255 - alpha);
  }
  const uint32_t keyValue = key & 0xFFFFFFu;
  uint8_t* toRow = rows.To;
  const uint8_t* fromRow = rows.From;
  for (int32_t row = 0; row < rows.Height;
       ++row, toRow += rows.ToPitch, fromRow += rows.FromPitch) {
    for (int32_t group = 0; group < groups; ++group) {
      const size_t offset = static_cast<size_t>(group) * kGroup * 4;
      const tBytes source = LoadVector<tBytes>(fromRow + offset);
      const tBytes destination = LoadVector<tBytes>(toRow + offset);
      const tWideBytes wideSource = __builtin_convertvector(source, tWideBytes);
      const tWideBytes wideDestination = __builtin_convertvector(destination, tWideBytes);
      const tWideBytes sum =
          ((wideDestination * destinationWeights) >> 8) + ((wideSource * sourceWeights) >> 8);
      tWords mixed = (tWords) __builtin_convertvector(sum, tBytes);
      if (keyed) {
        const tWords isKey = (tWords)(((tWords)source & 0xFFFFFFu) == keyValue);
        mixed = (isKey & (tWords)destination) | (~isKey & mixed);
      }
      StoreVector(toRow + offset, mixed);
    }
  }
  return groups * kGroup;
}

}  // namespace
