#pragma once

#include <climits>
#include <cmath>
#include <limits>

namespace lua_channel {

// Script numbers are doubles. Indices and modes are truncated toward zero;
// values beyond the int range stop at its limits and NaN reads as 0.
inline int TruncatedInt(double number) {
  if (std::isnan(number)) return 0;
  if (number >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (number <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(number);
}

// Channel values are floats; a double beyond the float range becomes an
// infinity of its sign instead of an undefined conversion.
inline float NarrowToFloat(double number) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (number > kLargest) return std::numeric_limits<float>::infinity();
  if (number < -kLargest) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(number);
}

}  // namespace lua_channel
