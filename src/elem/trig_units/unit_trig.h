// What the degree and quadrant trigonometric functions share
// (sin_cos_degrees.cpp, tan_degrees.cpp, sin_cos_quadrants.cpp,
// tan_quadrants.cpp): the argument taken apart as q right angles plus a
// remainder r, and the function values from q and r.
//
// Each reduction works on |x| and is exact in its own unit: r = |x| - 90 k
// (degrees) or |x| - k (quadrant units) with k an integer and |r| at most
// half a right angle (plus a rounding slack of the nearest-integer step).
// A multiple of a right angle therefore leaves r = 0 exactly and takes the
// exact values below; nothing is converted to radians.
//
// Real4 sines and cosines take r as a Real8 (Quarter4, r exact there) and
// evaluate the series in Real8 arithmetic, rounded once to Real4; where
// that rounding could differ from the register's, the register's
// evaluation decides (real4_rounding.h), so every result is the register's.
//
// Signs: sine, tangent and cotangent are odd and take the sign of x last,
// a zero result included, so f(-x) is -f(x) bit for bit and a zero at a
// positive argument is +0; cosine is even and its zeros are +0.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/bits.h"
#include "common/horner.h"
#include "common/real4_rounding.h"
#include "frame/resume.h"

namespace vx::unit_trig {

using ld = long double;

// The kernels of a Real4 sine and cosine series in s = r^2, S(r) =
// r (k0 + k1 s + ...) with the coefficients kSine and C(r) = 1 + s (c1 +
// c2 s + ...) with kCosine, evaluated in the register (long double r) or
// in Real8 arithmetic (double r).
template <const auto &kSine, const auto &kCosine>
struct SeriesKernels {
  static ld sin(ld r) { return r * horner(kSine, r * r); }
  static ld cos(ld r) { return 1 + r * r * horner(kCosine, r * r); }
  static double sin(double r) { return r * horner_real8(kSine, r * r); }
  static double cos(double r) { return 1 + r * r * horner_real8(kCosine, r * r); }
};

// |x| = q right angles + r; q matters only mod 4.
struct Quarter {
  unsigned q;
  ld r;
};

// The same for a Real4 argument, r held in a Real8 (where it is exact).
struct Quarter4 {
  unsigned q;
  double r;
};

// Rounds a non-negative t < 2^52 to an integer: 2^52 + t has unit 1 in its
// last place. (1.5 x 2^52, which also takes negative t, leaves that binade
// from t = 2^51 on, and |x|/90 reaches 2^51 at 2.0266e17 degrees, below the
// Real8 limit 2.03e17; where both apply, both round alike.)
constexpr double kRoundToInteger = 4503599627370496.0;  // 0x4330000000000000: 2^52

// The value mod 4 of |x| >= 2^23 (Real4) or 2^52 (Real8), an integer whose
// significand counts units of 2^j: the low two bits of the pattern shifted
// left by j, j at most 2 (from 2^2 units on the value is a multiple of 4).
// Infinities and NaNs have the largest exponent and give 0.
template <class T>
unsigned integer_mod4(T ax) {
  // The fraction's width (23, 52) and the biased exponent of 2^that (150, 1075).
  constexpr int kFraction = std::numeric_limits<T>::digits - 1;
  constexpr int kUnitExponent = std::numeric_limits<T>::max_exponent - 1 + kFraction;
  const auto b = bits(ax);
  const int j = std::min(static_cast<int>(b >> kFraction) - kUnitExponent, 2);
  return static_cast<unsigned>(b << j) & 3;
}

// |x| in quadrant units. Up to 1/2 the remainder is |x| itself, up to 1 it
// is |x| - 1; below 2^23 (Real4) or 2^52 (Real8) the sum |x| + that power,
// whose unit in the last place is 1, rounds |x| to the nearest integer k in
// the argument's own precision and its low two bits are k mod 4; from there
// on |x| is an integer (or an infinity or a NaN).
template <class T>
Quarter reduce_quadrants(T ax) {
  constexpr T kRound = T(1ull << (std::numeric_limits<T>::digits - 1));  // 2^23, 2^52
  const auto b = bits(ax);
  if (b <= bits(T(0.5))) return {0, ld{ax}};    // |x| <= 1/2
  if (b <= bits(T(1))) return {1, ld{ax} - 1};  // |x| <= 1: r = -(1 - |x|)
  if (b < bits(kRound)) {
    const T n = ax + kRound;                                             // stored: kRound + k
    return {static_cast<unsigned>(bits(n)) & 3, ld{ax - (n - kRound)}};  // r exact in T
  }
  return {integer_mod4(ax), 0};  // |x| >= 2^23 / 2^52, infinities and NaNs
}

// A Real4 |x| in quadrant units, as reduce_quadrants<float> but with one
// test: below 2^23 the sum |x| + 2^23 alone gives the same k and r, k = 0
// up to 1/2 (1/2 itself ties to the even 2^23) and k = 1 from there to 1.
inline Quarter4 reduce_quadrants4(float ax) {
  constexpr float kRound = 0x1p23f;
  if (bits(ax) < bits(kRound)) {
    const float n = ax + kRound;                                             // stored: 2^23 + k
    return {static_cast<unsigned>(bits(n)) & 3, double{ax - (n - kRound)}};  // r exact
  }
  return {integer_mod4(ax), 0};  // |x| >= 2^23, infinities and NaNs
}

// The degree ranges of each type: the argument limit, and the range key of
// |x| (the bit pattern of a Real4, the high word of a Real8) with the keys
// of 45 and 90. 1/90 comes to the precision the range needs: as the
// nearest Real8 it makes k = |x|/90 up to 0.18 off near the Real8 limit
// (|r| up to 61, far outside the kernels' range), so Real8 takes 64 bits.
template <class T>
struct Degrees;
template <>
struct Degrees<float> {
  static constexpr float xmax = 47200000.0f;  // 0x4C340DC0: argument limit
  static std::uint32_t key(float ax) { return bits(ax); }
  static constexpr std::uint32_t k45 = 0x42340000;     // 45.0
  static constexpr std::uint32_t k90 = 0x42b40000;     // 90.0
  static constexpr double r90 = 0.011111111111111112;  // 0x3F86C16C16C16C17: 1/90
};
template <>
struct Degrees<double> {
  static constexpr double xmax = 2.03e17;  // 0x4386899B654B3C00: argument limit
  static std::uint32_t key(double ax) { return high_word(ax); }
  static constexpr std::uint32_t k45 = 0x40468000;              // 45.0
  static constexpr std::uint32_t k90 = 0x40568000;              // 90.0
  static constexpr long double r90 = 0xb.60b60b60b60b60bp-10L;  // 1/90
};

// |x| > 90 in degrees, by the register's steps: n = |x| 1/90 + 2^52 stored
// as a Real8 is 2^52 + k, k the integer nearest |x|/90, and its low two
// bits are k mod 4; r = |x| - 90 k is exact in the 64-bit register (90 k
// and |x| share 64 bits).
template <class T>
Quarter reduce_degrees_in_register(T ax) {
  const double n = static_cast<double>(ld{ax} * Degrees<T>::r90 + kRoundToInteger);  // 2^52 + k
  return {static_cast<unsigned>(bits(n)) & 3, (kRoundToInteger - n) * ld{90} + ld{ax}};
}

// |x| in degrees as a Real4: |x| itself up to 45, |x| - 90 up to 90, then
// k the integer nearest |x|/90.
//
// k comes from the same steps in Real8 arithmetic, which are faster and
// give the register's k unless |x|/90 lies within about 2^-12 of a
// half-integer: the register's sum rounds |x|/90 to a multiple of 2^-11
// before the store rounds it to an integer, the Real8 product is within
// 2^-33 of |x|/90, so the two can only part where |r| is within
// 90 (2^-12 + 2^-33) of 45. Beyond |r| = 44.95 the register's steps decide.
// (trig_units_slow_test compares the two for every Real4.) r is exact
// in Real8: |x| < 47200000 has 24 bits and r is a multiple of its place.
inline Quarter4 reduce_degrees4(float ax) {
  using D = Degrees<float>;
  if (D::key(ax) <= D::k45) return {0, double{ax}};       // |x| <= 45
  if (D::key(ax) <= D::k90) return {1, double{ax} - 90};  // |x| <= 90: r = -(90 - |x|)
  const double n = double{ax} * D::r90 + kRoundToInteger;
  const double r = (kRoundToInteger - n) * 90 + double{ax};  // exact
  if (std::fabs(r) < 44.95) return {static_cast<unsigned>(bits(n)) & 3, r};
  const Quarter a = reduce_degrees_in_register(ax);
  return {a.q, static_cast<double>(a.r)};  // exact
}

// |x| in degrees: |x| itself up to 45, |x| - 90 up to 90, then as above
// (Real4) or by the register's steps (Real8).
template <class T>
Quarter reduce_degrees(T ax) {
  if constexpr (sizeof(T) == 4) {
    const Quarter4 a = reduce_degrees4(ax);
    return {a.q, ld{a.r}};
  } else {
    using D = Degrees<T>;
    if (D::key(ax) <= D::k45) return {0, ld{ax}};       // |x| <= 45
    if (D::key(ax) <= D::k90) return {1, ld{ax} - 90};  // |x| <= 90: r = -(90 - |x|)
    return reduce_degrees_in_register(ax);
  }
}

// sin(q right angles + r) from the kernels K::sin and K::cos of r (|r| up
// to half a right angle): q = 0..3 give sin r, cos r, -sin r, -cos r. At
// r = 0, the exact value.
template <class K>
[[gnu::always_inline]] inline ld sine(Quarter a) {
  static constexpr ld kExact[4] = {0, 1, 0, -1};
  const unsigned q = a.q & 3;
  if (a.r == 0) return kExact[q];
  const ld v = (q & 1) ? K::cos(a.r) : K::sin(a.r);
  return (q & 2) ? -v : v;
}

// cos(q right angles + r) = sin(q + 1 right angles + r).
template <class K>
ld cosine(Quarter a) {
  return sine<K>({a.q + 1, a.r});
}

// The Real4 sine of q right angles + r, negated for a negative argument.
// The series K::sin or K::cos of r is evaluated in Real8 arithmetic (the
// Real8 overloads) and rounded once to a Real4 where that gives the
// register's result (real4_or_register); elsewhere, and for results that
// are zero or below the normal Real4 range, `sine` decides in the
// register. The signs are multiplications by +-1, exact, and leave the
// decision as it is.
template <class K>
[[gnu::always_inline]] inline float sine_real4(Quarter4 a, bool negative) {
  static constexpr double kSign[2] = {1, -1};
  const double v = (a.q & 1) ? K::cos(a.r) : K::sin(a.r);
  return real4_or_register(v * kSign[(a.q >> 1) & 1] * kSign[negative], [a, negative] {
    const ld w = sine<K>({a.q, ld{a.r}});
    return static_cast<float>(negative ? -w : w);
  });
}

// The Real4 cosine of q right angles + r, likewise.
template <class K>
[[gnu::always_inline]] inline float cosine_real4(Quarter4 a) {
  return sine_real4<K>({a.q + 1, a.r}, false);
}

// tan (kCot false) or cot (kCot true) of q right angles + r with the sign
// of x, from the kernels K::tan and K::cot of r. An even q keeps the
// function, an odd q turns it into minus the other one. At r = 0 the
// function is exactly zero (tangent, even q; cotangent, odd q) or at a
// pole, which is reported as `pole`.
template <class T, bool kCot, class K>
Attempt<T> tangent(Quarter a, bool negative, Attempt<T> pole) {
  const bool odd = (a.q & 1) != 0;
  const bool tan_kernel = odd == kCot;
  if (a.r == 0) {
    if (!tan_kernel) return pole;
    return result(negative ? -T(0) : T(0));
  }
  ld v = tan_kernel ? K::tan(a.r) : K::cot(a.r);
  if (odd) v = -v;
  return result(static_cast<T>(negative ? -v : v));
}

}  // namespace vx::unit_trig
