// The arc kernels: the angle whose tangent is Y / X for two nonnegative
// Fixed128 values at one scale, by pseudo-division (the vectoring
// counterpart of the sine and cosine rotations), in radians, degrees or
// quadrant units, optionally as its complement to a right angle.
//
// (X, Y) is rotated towards the X axis by angles atan(2^-s): the scan runs
// over the bit positions j = 0 to 126 of Y from the top, testing the
// current Y; where bit j is set, s = j (or j + 1 when Y < X >> j, so that
// X >> s never exceeds Y), Y -= X >> s, X += (Y before) >> s while j < 64
// (from there on that term is below one unit of X), and the angle sum
// gains the table entry of index s. Each step multiplies the length by
// sqrt(1 + 2^-2s): X must start at 1.0 or more at scale 1 (so that each
// step clears bit j) and stay below 2, which the caller's rescaling
// (rescale_pair) or X = 1.0 ensures. Radians use the single bit 2^-s for
// atan(2^-s) from s = 43 on, where the two agree to the table's 127 bits.
//
// Result scales: radians 1 (complement pi/2 - A, also 1); degrees 6
// (complement 90 - A at 7); quadrant units 0 (complement 1 - A at 1).
#pragma once

#include <cstdint>

#include "fixed/fixed128.h"

namespace vx::fixed {

enum class AngleUnit : std::uint8_t { radians, degrees, quadrants };

// The scale of an arc kernel's result.
constexpr std::int32_t arc_scale(AngleUnit unit, bool complement) {
  switch (unit) {
    case AngleUnit::radians:
      return 1;
    case AngleUnit::degrees:
      return complement ? 7 : 6;
    case AngleUnit::quadrants:
      break;
  }
  return complement ? 1 : 0;
}

// atan(y / x), or its complement, at arc_scale(unit, complement).
U128 arc(AngleUnit unit, bool complement, U128 y, U128 x);

}  // namespace vx::fixed
