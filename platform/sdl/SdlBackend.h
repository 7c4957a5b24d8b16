#pragma once

#include <memory>

#include "platform/Backend.h"

namespace platform::sdl {

// The SDL2 back end: a real window, device events turned into window
// messages, frames presented through the window surface, system message
// boxes. Null when SDL's video cannot start.
std::unique_ptr<Backend> CreateSdlBackend();

}  // namespace platform::sdl
