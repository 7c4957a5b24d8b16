#include "runtime/BlendKernels.h"

#include <cstddef>
#include <cstdint>

#include "runtime/KernelChoice.h"

// The kernels for any processor.
#define LUMO_KERNEL_VECTOR_BYTES 16
namespace portable_kernels {
#include "runtime/BlendKernels.inl"
}  // namespace portable_kernels
#undef LUMO_KERNEL_VECTOR_BYTES

// The same kernels once more, built for AVX2 and run only where the
// processor has it.
#if defined(__x86_64__) && defined(__GNUC__)
#pragma GCC push_options
#pragma GCC target("avx2")
#define LUMO_KERNEL_VECTOR_BYTES 32
namespace avx2_kernels {
#include "runtime/BlendKernels.inl"
}  // namespace avx2_kernels
#undef LUMO_KERNEL_VECTOR_BYTES
#pragma GCC pop_options
#define LUMO_HAS_AVX2_KERNELS 1
#endif

bool MakeFieldLayout(uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                     tFieldLayout& layout) {
  const uint32_t masks[3] = {redMask, greenMask, blueMask};
  for (int channel = 0; channel < 3; ++channel) {
    const uint32_t mask = masks[channel];
    if (mask == 0 || mask > 0xFFFF) {
      return false;
    }
    const int shift = __builtin_ctz(mask);
    const uint32_t run = mask >> shift;
    // One run of ones, at most 8 of them.
    if ((run & (run + 1)) != 0 || run > 0xFF) {
      return false;
    }
    layout.Masks[channel] = static_cast<uint16_t>(mask);
    layout.Shifts[channel] = static_cast<uint16_t>(shift);
  }
  return true;
}

int32_t BlendFieldRows(const tBlendRows& rows, const tFieldLayout& layout, uint32_t alpha,
                       bool keyed, uint32_t key) {
#if defined(LUMO_HAS_AVX2_KERNELS)
  if (ActiveKernelSet() == tKernelSet::Avx2) {
    return avx2_kernels::FieldRows(rows, layout, alpha, keyed, key);
  }
#endif
  return portable_kernels::FieldRows(rows, layout, alpha, keyed, key);
}

int32_t BlendByteRows(const tBlendRows& rows, uint32_t alpha, bool keyed, uint32_t key) {
#if defined(LUMO_HAS_AVX2_KERNELS)
  if (ActiveKernelSet() == tKernelSet::Avx2) {
    return avx2_kernels::ByteRows(rows, alpha, keyed, key);
  }
#endif
  return portable_kernels::ByteRows(rows, alpha, keyed, key);
}
