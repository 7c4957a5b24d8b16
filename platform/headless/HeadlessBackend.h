#pragma once

#include <memory>

#include "platform/Backend.h"

namespace platform::headless {

// A back end without output: the window exists only as a record, frames are
// kept for tests, message boxes go to standard error and answer what a test
// preset (errors OK, questions No by default). Device events come only from
// the test hooks of platform/Testing.h.
std::unique_ptr<Backend> CreateHeadlessBackend();

}  // namespace platform::headless
