#include "runtime/KernelChoice.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

// YOB_PORTABLE_KERNELS=1 in the environment starts the program on the
// portable kernels, so a benchmark can measure them on any machine.
std::atomic<bool>& PortableForced() {
  static std::atomic<bool> forced{[] {
    const char* value = std::getenv("YOB_PORTABLE_KERNELS");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
  }()};
  return forced;
}

}  // namespace

bool ProcessorHasAvx2() {
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool hasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return hasAvx2;
#else
  return false;
#endif
}

tKernelSet ActiveKernelSet() {
  return !PortableForced().load(std::memory_order_relaxed) && ProcessorHasAvx2()
             ? tKernelSet::Avx2
             : tKernelSet::Portable;
}

void ForcePortableKernels(bool force) {
  PortableForced().store(force, std::memory_order_relaxed);
}
