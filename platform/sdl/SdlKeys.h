#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform::sdl {

// The numeric virtual-key code the game uses for an SDL scancode; 0 for a
// key the game does not know.
uint32_t VirtualKeyFromScancode(SDL_Scancode scancode);

}  // namespace platform::sdl
