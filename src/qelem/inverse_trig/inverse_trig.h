// What the Real16 arc sines, arc cosines and arc tangents share: the
// software arithmetic they call, the polynomial of the ends of their
// ranges, the Fixed128 middle of the arc sine and cosine, and one
// description per angle unit.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "common/bits.h"
#include "fixed/arc.h"
#include "frame/error_numbers.h"
#include "qelem/inverse_trig/coefficients.h"
#include "qelem/inverse_trig/tables/arc_units_table.h"
#include "quad/operators.h"
#include "quad/real16.h"

namespace vx::qelem::arc {

using fixed::AngleUnit;
using w128::U128;

constexpr Real16 real16(const Words &w) { return real16_from_words(w.w3, w.w2, w.w1, w.w0); }
constexpr std::uint32_t high_word(const Real16 &x) { return x.w[3] & 0x7fffffff; }

inline constexpr Real16 kOne = real16_from_words(0x3fff0000, 0, 0, 0);
inline constexpr std::uint32_t kTinyWord = 0x3fbf0000;  // 2^-64: below it no polynomial
inline constexpr std::uint32_t kOneWord = 0x3fff0000;

// The software operations, through their entries (their errors, where
// they can have any, are theirs).
using quad::add, quad::div, quad::mul, quad::sub;
inline Real16 root(const Real16 &a) {
  Real16 r;
  return *g_qsqrt(&r, &a);
}
inline Real16 times(const Real16 &a, double b) {
  Real16 r;
  return *ulx_gqmd(&r, a, b);
}
// x 2^n for a nonzero x, on the exponent field.
constexpr Real16 scaled(Real16 x, std::int32_t n) {
  x.w[3] += static_cast<std::uint32_t>(n) << 16;
  return x;
}
constexpr Real16 with_sign_bit(Real16 x, std::uint32_t sign) {
  x.w[3] |= sign;
  return x;
}
constexpr Real16 with_sign_bit_if_nonzero(Real16 x, std::uint32_t sign) {
  return quad::is_zero(x) ? x : with_sign_bit(x, sign);
}

// f[n-1] z^(n-1) + ... + f[0] by Horner's rule from the top.
inline Real16 horner(const Words *f, int n, const Real16 &z) {
  Real16 p = real16(f[n - 1]);
  for (int i = n - 2; i >= 0; --i) p = add(mul(p, z), real16(f[i]));
  return p;
}

// An angle unit: its kernel, its right angle and half turn (as Real16 and,
// for the arc cosine of a negative argument, the half turn in Fixed128 at
// one scale above the kernel's complement), the factor K of the tiny
// regime and the power of two P split off the series (none in radians:
// their series carry their leading term as s itself), the polynomial
// tables, the range bounds and the error numbers.
struct Unit {
  AngleUnit kernel;
  Real16 right, half_turn;
  U128 half_turn_fixed;
  Real16 factor;
  double p;
  const Words *asin_series, *acos_series, *atan_series;
  int asin_rows, acos_rows;
  std::uint32_t small_limit;  // arc sine and arc tangent: polynomial up to this high word
  std::uint32_t atan_limit;   // arc tangent: fixed point up to this high word
  std::int32_t domain_error, zero_error;
};

inline constexpr Unit kRadians = {
    AngleUnit::radians,
    real16_from_words(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8),  // pi/2
    real16_from_words(0x4000921f, 0xb54442d1, 0x8469898c, 0xc51701b8),  // pi
    w128::from_words(0xc90fdaa2, 0x2168c234, 0xc4c6628b, 0x80dc1cd1),   // pi at scale 2
    kOne,
    1.0,
    kAsinSeries,
    kAcosSeries,
    kAtanSeries,
    5,
    8,
    0x3ff60000,  // asin: 0.0019531548023223877 (atan: its own, below)
    0x40074a00,  // 330.00390625 excluded
    err::kQasinDomain,
    err::kQatan2Zero};

inline constexpr Unit kDegrees = {AngleUnit::degrees,
                                  real16_from_words(0x40056800, 0, 0, 0),  // 90
                                  real16_from_words(0x40066800, 0, 0, 0),  // 180
                                  w128::from_words(0xb4000000, 0, 0, 0),   // 180 at scale 8
                                  real16(kRad),
                                  64.0,
                                  kAsindSeries,
                                  kAcosdSeries,
                                  kAtandSeries,
                                  6,
                                  9,
                                  0x3ff6899c,  // 0.003003031015396118
                                  0x40074d00,  // 333
                                  err::kQasindDomain,
                                  err::kQatan2dZero};

inline constexpr Unit kQuadrants = {AngleUnit::quadrants,
                                    kOne,                                    // 1
                                    real16_from_words(0x40000000, 0, 0, 0),  // 2
                                    w128::from_words(0x80000000, 0, 0, 0),   // 2 at scale 2
                                    real16(kRhp),
                                    0.5,
                                    kAsinqSeries,
                                    kAcosqSeries,
                                    kAtanqSeries,
                                    6,
                                    9,
                                    0x3ff6899c,
                                    0x40074d00,
                                    err::kQasinqDomain,
                                    err::kQatan2qZero};

// The radian arc tangent's polynomial reaches up to this high word.
inline constexpr std::uint32_t kAtanSmallRadians = 0x3ff68d30;  // 0.003030329942703247

// The series value at s (z = s^2) of an arc sine or arc cosine table of
// `rows` rows: radians s + s (f0 z + ... ), other units P s + s (f0 + f1 z
// + ...).
inline Real16 asin_series(const Unit &u, const Words *f, int rows, const Real16 &s,
                          const Real16 &z) {
  if (u.kernel == AngleUnit::radians) return add(mul(mul(horner(f, rows, z), z), s), s);
  return add(times(s, u.p), mul(s, horner(f, rows, z)));
}

// The Fixed128 middle of the arc sine and arc cosine for a = |x| below 1:
// A = a at scale 1, B = sqrt(1 - a^2) at scale 1 (the square at scale 2,
// where 1 is 0x40000000 0 0 0), the pair ordered and rescaled, and the
// kernel's atan(smaller / larger), complemented when the pair was
// exchanged (arc sine) or when it was not (arc cosine). Returns the angle
// and its scale.
struct FixedAngle {
  U128 angle;
  std::int32_t scale;
};
inline FixedAngle asin_acos_middle(const Unit &u, const Real16 &a, bool cosine) {
  const U128 fa = fixed::from_real16(1, quad::bits_of(a));
  const U128 q = w128::sub(w128::from_words(0x40000000, 0, 0, 0), fixed::square(fa));
  const fixed::Pair pair = fixed::rescale_pair(fixed::root(q), fa);
  const bool complement = pair.swapped != cosine;
  return {fixed::arc(u.kernel, complement, pair.y, pair.x), fixed::arc_scale(u.kernel, complement)};
}

// The one-argument arc tangent of x in the unit (atan.cpp); the
// two-argument one calls it for a quotient.
Real16 arc_tangent(const Unit &u, const Real16 &x);

}  // namespace vx::qelem::arc
