#pragma once

#include <cstdint>
#include <type_traits>

// Points (and sizes) of N coordinates of type T. The two-coordinate form
// names its coordinates x and y; every form gives the address of component n
// and sets its first one to six components at once.

namespace point_arithmetic {

// Integer coordinates wrap on overflow (as the 32-bit machine did) instead of
// overflowing, which the language leaves undefined; floats compute as floats.
template <typename T>
using Wide = std::conditional_t<std::is_integral_v<T>, int64_t, T>;

template <typename T>
T Add(T a, T b) { return static_cast<T>(static_cast<Wide<T>>(a) + static_cast<Wide<T>>(b)); }
template <typename T>
T Subtract(T a, T b) { return static_cast<T>(static_cast<Wide<T>>(a) - static_cast<Wide<T>>(b)); }
template <typename T>
T Multiply(T a, int32_t b) { return static_cast<T>(static_cast<Wide<T>>(a) * static_cast<Wide<T>>(b)); }
template <typename T>
T Divide(T a, int32_t b) { return static_cast<T>(static_cast<Wide<T>>(a) / static_cast<Wide<T>>(b)); }

}  // namespace point_arithmetic

template <int N, typename T>
struct LumoPoint {
  static_assert(N >= 1 && N <= 6, "a point has one to six components");

  T component[N] = {};

  // The address of component n; null outside 0..N-1.
  T* Component(int n) { return n >= 0 && n < N ? &component[n] : nullptr; }
  const T* Component(int n) const { return n >= 0 && n < N ? &component[n] : nullptr; }

  // Sets the first components; the others keep their values.
  template <typename... Values>
  void Set(Values... values) {
    static_assert(sizeof...(Values) >= 1 && sizeof...(Values) <= N, "more values than components");
    int n = 0;
    ((component[n++] = static_cast<T>(values)), ...);
  }
};

template <typename T>
struct LumoPoint<2, T> {
  T x = 0;
  T y = 0;

  LumoPoint() = default;
  LumoPoint(T newX, T newY) : x(newX), y(newY) {}

  T* Component(int n) { return n == 0 ? &x : n == 1 ? &y : nullptr; }
  const T* Component(int n) const { return n == 0 ? &x : n == 1 ? &y : nullptr; }

  void Set(T newX) { x = newX; }
  void Set(T newX, T newY) {
    x = newX;
    y = newY;
  }

  LumoPoint& operator+=(const LumoPoint& other) {
    x = point_arithmetic::Add(x, other.x);
    y = point_arithmetic::Add(y, other.y);
    return *this;
  }
  LumoPoint& operator-=(const LumoPoint& other) {
    x = point_arithmetic::Subtract(x, other.x);
    y = point_arithmetic::Subtract(y, other.y);
    return *this;
  }
  // Scaling by a whole number; the integer form's division truncates
  // towards zero. A division by zero leaves the point unchanged.
  LumoPoint& operator*=(int32_t factor) {
    x = point_arithmetic::Multiply(x, factor);
    y = point_arithmetic::Multiply(y, factor);
    return *this;
  }
  LumoPoint& operator/=(int32_t divisor) {
    if (divisor == 0) {
      return *this;
    }
    x = point_arithmetic::Divide(x, divisor);
    y = point_arithmetic::Divide(y, divisor);
    return *this;
  }

  bool operator==(const LumoPoint& other) const = default;
};

// Two signed 32-bit coordinates, used as a point and as a size.
using IntPoint = LumoPoint<2, int32_t>;
// Two 32-bit floating-point coordinates.
using FloatPoint = LumoPoint<2, float>;
