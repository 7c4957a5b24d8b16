#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// Libraries loaded at run time, integer scaling without overflow, and the
// multimedia version probe of the start-up banner.

using ModuleHandle = void*;

// Loads a shared library: a game name with a folder is mapped onto the file
// system, a bare name is searched where the system searches libraries.
LUMOGAME_API ModuleHandle OpenModule(const char* name);
LUMOGAME_API void CloseModule(ModuleHandle module);
// The address of an exported function, or null.
LUMOGAME_API void* GetModuleFunction(ModuleHandle module, const char* name);

// a * b / c with a 64-bit product, truncated toward 0; 0 (and a log line) for
// a divisor of 0.
LUMOGAME_API int32_t MatrixInt(int32_t a, int32_t b, int32_t c);
LUMOGAME_API uint32_t MatrixCard(uint32_t a, uint32_t b, uint32_t c);

// The level of multimedia service the platform layer gives, in the probe's
// codes (0x800 is the highest: "8.0 (or better)").
uint32_t GetDirectXVersion();
