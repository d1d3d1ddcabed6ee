// The pair of Real8 numbers that carries a value as the unevaluated sum
// high + low, and the exact operations that form one.
//
// The tables of Real8 kernels hold such pairs (the nearest Real8 to a value
// and the nearest Real8 to the remainder, or a head of fewer bits and the
// rest), and the kernels form them from sums and products whose rounding
// error they keep. The operations are exact, for the arguments each names,
// under round to nearest.
#pragma once

#include <cstdint>

#include "common/bits.h"

namespace vx {

struct DoubleDouble {
  double high, low;
};

namespace dd {

// s + e = a + b exactly, for any a and b (s the rounded sum).
inline DoubleDouble two_sum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// s + e = a + b exactly when |a| >= |b| or a is zero.
inline DoubleDouble fast_two_sum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// The upper 26 bits of a significand: the low 27 bits of the low word
// cleared. The rest, x - upper26(x), holds at most 27 bits, and the product
// of two such upper parts, or of an upper part and a rest, is exact.
inline double upper26(double x) { return real8_from_bits(bits(x) & ~std::uint64_t{0x7ffffff}); }

// p + e = a b: p the rounded product, e its rounding error to within
// 2^-106 |a b| (the products of the halves are exact but the last, 27 by
// 27 bits, which may round).
inline DoubleDouble two_product(double a, double b) {
  const double p = a * b;
  const double a1 = upper26(a), a2 = a - a1;
  const double b1 = upper26(b), b2 = b - b1;
  return {p, (((a1 * b1 - p) + a1 * b2) + a2 * b1) + a2 * b2};
}

// Whether high + low moved by `by` either way rounds to one Real8 (a NaN
// does not); r is that Real8. The SSE routes keep their value where this
// holds, `by` being their bound on the distance to the value they
// reproduce.
[[gnu::always_inline]] inline bool settle(DoubleDouble y, double by, double &r) {
  const double up = y.high + (y.low + by);
  r = y.high + (y.low - by);
  return up == r;
}

}  // namespace dd
}  // namespace vx
