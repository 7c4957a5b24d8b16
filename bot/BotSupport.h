#pragma once

// What every class of the computer player shares: the guard that logs a
// "(BOT)" line naming the class and operation before an exception passes
// on, the two squashing functions of the scores, and the starting score of
// every choice among scored candidates.

#include <cmath>
#include <numbers>
#include <utility>

#include "base/DebugFormat.h"
#include "base/LumoObject.h"

// A choice starts below every real score, so the first candidate is taken
// and ties keep the earlier one (a later candidate must be strictly greater).
inline constexpr float kLowestScore = -3.4028235e38f;

// Squashes an unbounded non-negative quantity into 0..1: (2/pi) atan(x).
inline float SquashUnsigned(float x) { return static_cast<float>(2.0 / std::numbers::pi * std::atan(x)); }
// Squashes a signed quantity into 0..1: 0.5 + atan(x)/pi.
inline float SquashSigned(float x) { return static_cast<float>(0.5 + std::atan(x) / std::numbers::pi); }

// Runs body; when it throws, the line is logged and the exception passes on.
template <typename Body>
decltype(auto) BotGuard(const char* line, Body&& body) {
  return RunGuarded(std::forward<Body>(body), [line] { DebugPrint("%s", line); });
}

#include <string>
#include <vector>

// The lists into which GetProperties appends property names and values.
using YBTextList = std::vector<std::string>;
