#include "framework/LumoTurtle.h"

#include <cmath>

#include "base/LumoClass.h"
#include "runtime/Drawing.h"

namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

}  // namespace

LumoTurtle::LumoTurtle() = default;

const char* LumoTurtle::GetClassName() const { return "LumoTurtle"; }

uintptr_t LumoTurtle::Reset() {
  X = 0;
  Y = 0;
  Heading = 0;
  PenDown = true;
  return Data;
}

int32_t LumoTurtle::Round(double value) {
  return static_cast<int32_t>(value >= 0 ? value + 0.5 : value - 0.5);
}

// The pen position handed to the pixel cursor is truncated, not rounded.
void LumoTurtle::SelectPosition() {
  if (Lock != nullptr) {
    SelectPixelAt(Lock, static_cast<int32_t>(X), static_cast<int32_t>(Y));
  }
}

void LumoTurtle::Move(double dx, double dy) {
  if (PenDown && Lock != nullptr) {
    SelectPixelAt(Lock, Round(X), Round(Y));
    NextLine(Lock, Round(dx), Round(dy), PenColor);
  }
  X += dx;
  Y += dy;
  SelectPosition();
}

void LumoTurtle::Forward(double distance) {
  const double radians = Heading * kRadiansPerDegree;
  Move(std::cos(radians) * distance, std::sin(radians) * distance);
}

void LumoTurtle::MoveTo(double x, double y) {
  X = x;
  Y = y;
  SelectPosition();
}

void LumoTurtle::Turn(double degrees) {
  Heading = std::fmod(Heading + degrees, 360.0);
  if (Heading < 0) {
    Heading += 360.0;
  }
}

// The run-time's point access does not check its point, so a point outside
// the graphic is skipped (Plot) or answered as 0 (Peek).
void LumoTurtle::Plot() {
  const int32_t x = Round(X);
  const int32_t y = Round(Y);
  if (PenDown && Lock != nullptr && Inside(x, y)) {
    SetPixelColorAt(Lock, x, y, PenColor);
  }
}

uint32_t LumoTurtle::Peek() {
  const int32_t x = Round(X);
  const int32_t y = Round(Y);
  if (Lock == nullptr || !Inside(x, y)) {
    return 0;
  }
  return GetPixelColorAt(Lock, x, y);
}

void LumoTurtle::Rectangle(double width, double height) {
  const double startX = X;
  const double startY = Y;
  Forward(width);
  Turn(90);
  Forward(height);
  Turn(90);
  Forward(width);
  Turn(90);
  Forward(height);
  MoveTo(startX, startY);
  Turn(90);
}

void LumoTurtle::FilledRectangle(double width, double height) {
  const double startX = X;
  const double startY = Y;
  const double heading = Heading;
  Rectangle(width, height);
  if (!PenDown || Lock == nullptr) {
    return;
  }
  // The inside, line by line one pixel apart, along the rectangle's sides.
  const double radians = heading * kRadiansPerDegree;
  const double alongX = std::cos(radians);
  const double alongY = std::sin(radians);
  const int32_t lines = Round(height < 0 ? -height : height);
  const double side = height < 0 ? -1.0 : 1.0;
  for (int32_t line = 1; line < lines; ++line) {
    // One pixel further along the turned direction (90 degrees clockwise).
    MoveTo(startX - alongY * side * line, startY + alongX * side * line);
    Forward(width);
  }
  MoveTo(startX, startY);
}
