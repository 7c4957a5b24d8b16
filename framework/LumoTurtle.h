#pragma once

#include <cstdint>

#include "framework/LumoGraphicNode.h"

// A graphic node that draws into its own graphic with turtle steps: a pen
// position (pixels), a heading (degrees, clockwise with y growing down) and
// a pen that is up or down. It draws in the pen colour, only while its node
// is locked (CreateLock); without a lock it only moves.
class LumoTurtle : public LumoGraphicNode {
 public:
  LumoTurtle();

  const char* GetClassName() const override;
  // Back to (0, 0), heading 0, pen down.
  uintptr_t Reset() override;

  // Draws (pen down) from the position by the heading's step and moves there.
  void Forward(double distance);
  // As Forward, with the step given.
  void Move(double dx, double dy);
  // Moves without drawing.
  void MoveTo(double x, double y);
  // Adds to the heading, kept in [0, 360).
  void Turn(double degrees);
  // Sets the pixel at the position (pen down); points outside are skipped.
  void Plot();
  // The pixel at the position; 0 outside the graphic or without a lock.
  uint32_t Peek();
  // The four sides, turning right after each: back at the start with the
  // heading unchanged.
  void Rectangle(double width, double height);
  // The outline, then its inside line by line.
  void FilledRectangle(double width, double height);
  void PenUp() { PenDown = false; }
  void PenDownAgain() { PenDown = true; }

  // Half away from zero.
  static int32_t Round(double value);

  double X = 0;
  double Y = 0;
  double Heading = 0;
  bool PenDown = false;

 private:
  void SelectPosition();
};
