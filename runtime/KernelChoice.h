#pragma once

#include <cstdint>

// Which build of the pixel kernels (keyed blits, plain and keyed blends) runs.
// Every kernel exists built for any x86-64 processor; on x86-64 a second build
// uses AVX2 and runs where the processor has it. The choice is made from what
// the processor reports, never from the machine the program was built on.
enum class tKernelSet : uint8_t { Portable, Avx2 };

// The kernels the next blit or blend runs. YOB_PORTABLE_KERNELS=1 in the
// environment starts the program on the portable ones.
tKernelSet ActiveKernelSet();

// Whether this processor runs the AVX2 kernels.
bool ProcessorHasAvx2();

// Makes the blits and blends run the portable kernels on any processor
// (true), or the best this processor runs again (false). Tests use it to run
// both builds.
void ForcePortableKernels(bool force);
