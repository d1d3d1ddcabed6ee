// What the complex elementary functions share: the moduli their square
// roots and logarithms start from, and the report of one refused part.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cmath>

#include "frame/resume.h"

namespace vx::complex {

using ld = long double;

// |z| of a Complex8 in Real8: sqrt(x^2 + y^2). The squares of two Real4
// are exact in Real8 and their sum cannot overflow there.
inline double modulus8(float x, float y) {
  const double a = x, b = y;
  return std::sqrt(a * a + b * b);
}

// |z| of a Complex16 in the x87 register, scaled by the larger part:
//   a = |x|, b = |y|;
//   a < b, or unordered (a NaN): t = a/b, b sqrt(t^2 + 1);
//   a = 0 (so b = 0 too): 0;
//   otherwise: t = b/a, a sqrt(t^2 + 1).
// Neither t^2 nor the product can overflow before the result is rounded.
// Infinite parts follow the formula: (inf, inf) gives inf/inf, a NaN.
inline ld modulus_x87(double x, double y) {
  const ld a = std::fabs(x), b = std::fabs(y);
  if (!(a >= b)) {
    const ld t = a / b;
    return b * std::sqrt(t * t + 1);
  }
  if (a == 0) return 0;
  const ld t = b / a;
  return a * std::sqrt(t * t + 1);
}

// One refused part: reported as argument error `number` with the part in
// the argument slot and as the one value (type code of the component);
// true when the handler resumes, the part then taking the slot's value.
template <class T>
bool report_part(std::int32_t number, T &part) {
  return detail::report_args<kFirstValue>(Via::argument_error, number, true, part);
}

}  // namespace vx::complex
