#pragma once

// Our own small stand-in of the modelling tool's plug-in interface: the value
// types every plug-in and the tool exchange. The tool itself is not part of
// this project; the stand-in declares only what our material plug-in needs,
// and a test host plays the tool.

#include <cstdint>

// ---- Time ----------------------------------------------------------------

// A moment of the modelling tool's animation time, in the tool's ticks.
using TimeValue = int32_t;

constexpr TimeValue kTimeNegativeInfinity = INT32_MIN;  // 0x80000000, before every moment
constexpr TimeValue kTimePositiveInfinity = INT32_MAX;  // 0x7FFFFFFF, after every moment

// A closed range of time, start and end included; the range over which a value
// or a change holds.
class Interval {
 public:
  constexpr Interval(TimeValue start, TimeValue end) : start(start), end(end) {}

  // The range of every moment: a value valid "forever" never needs re-evaluating.
  static constexpr Interval Forever() {
    return Interval(kTimeNegativeInfinity, kTimePositiveInfinity);
  }

  constexpr TimeValue Start() const { return start; }
  constexpr TimeValue End() const { return end; }
  constexpr bool Contains(TimeValue moment) const { return start <= moment && moment <= end; }

  constexpr bool operator==(const Interval&) const = default;

 private:
  TimeValue start;
  TimeValue end;
};

// ---- Colour ----------------------------------------------------------------

// A colour of three floats. Their scale is the material's own: the tool does
// not clamp them.
struct Color {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;

  constexpr Color() = default;
  constexpr Color(float red, float green, float blue) : r(red), g(green), b(blue) {}

  constexpr bool operator==(const Color&) const = default;
};

// ---- Class identifiers -------------------------------------------------------

// Names one plug-in class among all the tool knows: two 32-bit words, chosen
// once by the plug-in's author and never changed, since saved scenes refer to
// classes by them.
class Class_ID {
 public:
  constexpr Class_ID(uint32_t firstWord, uint32_t secondWord)
      : firstWord(firstWord), secondWord(secondWord) {}

  constexpr uint32_t FirstWord() const { return firstWord; }
  constexpr uint32_t SecondWord() const { return secondWord; }

  constexpr bool operator==(const Class_ID&) const = default;

 private:
  uint32_t firstWord;
  uint32_t secondWord;
};

// Names the kind of a plug-in class (material, map, modifier ...): the tool
// offers a class where objects of its kind are wanted.
using SClass_ID = uint32_t;

constexpr SClass_ID kMaterialSuperClassID = 0xC00;

// ---- The tool's own objects, opaque to plug-ins --------------------------------

class Interface;    // the modelling tool, handed to a descriptor around interactive creation
struct ToolWindow;  // one of the tool's windows
