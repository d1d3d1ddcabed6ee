// What the complex elementary functions share: the moduli their square
// roots and logarithms start from, the constants of the default results,
// the processor's sine and cosine of a Real8, and the loop of the
// functions that refuse a part beyond a limit.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "elem/trig/x87_sin_cos.h"
#include "frame/ieee_constants.h"
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

// The constants of the default results, per kind: L (exponential), H
// (sine, cosine), D (both parts refused), the real part of the logarithm of
// zero, and the IEEE patterns of the part's type.
template <class T>
struct Defaults;
template <>
struct Defaults<float> {
  using C = Complex8;
  static constexpr float L = kOverflowF;                   // 0x7F7FFFEE: 3.40282e38
  static constexpr float H = real4_from_bits(0x7effffee);  // 1.70141e38
  static constexpr float D = real4_from_bits(0x7f3504e6);  // 2.4061570137871275e38
  static constexpr float log_zero = -kOverflowF;           // 0xFF7FFFEE
  static constexpr float nan = _NaN_F, inf = _Inf_F;
};
template <>
struct Defaults<double> {
  using C = Complex16;
  static constexpr double L = kOverflowD;                           // 1.7976931348623011e308
  static constexpr double H = real8_from_bits(0x7fdfffffffffffb6);  // 8.988465674311506e307
  static constexpr double D = real8_from_bits(0x7fe6a09e667f3b99);  // 1.271161006153636e308
  static constexpr double log_zero = -kOverflowD;                   // 0xFFEFFFFFFFFFFFB6
  static constexpr double nan = _NaN_D, inf = _Inf_D;
};
// Complex32: L the largest finite Real16, H half of it, D = L sqrt(2)/2.
template <>
struct Defaults<Real16> {
  using C = Complex32;
  static constexpr Real16 L = kOverflowQ;  // 7ffeffff ffffffff ffffffff ffffffff
  static constexpr Real16 H = real16_from_words(0x7ffdffff, ~0u, ~0u, ~0u);
  static constexpr Real16 D = real16_from_words(0x7ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea94);
  static constexpr Real16 log_zero = real16_from_words(0xfffeffff, ~0u, ~0u, ~0u);
  static constexpr Real16 nan = _NaN_Q, inf = _Inf_Q;
};
// r: sqrt(2)/2 as a Real8 for the two smaller kinds, as a Real16 for Complex32.
inline constexpr double kHalfRoot = kSqrtHalfD;  // 0x3FE6A09E667F3BCD
inline constexpr Real16 kHalfRoot16 =
    real16_from_words(0x3ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea95);

// A Real16 part that is -0 in all four words becomes +0.
constexpr Real16 plus_zero(Real16 v) {
  if (v.w[3] == 0x80000000 && (v.w[2] | v.w[1] | v.w[0]) == 0) v.w[3] = 0;
  return v;
}
// Real16 orderings against zero as the Real16 arithmetic reads them: a
// high word of 0 or 0x80000000 is a zero; no pattern is unordered.
constexpr bool below_zero16(const Real16 &v) {
  return (v.w[3] & 0x80000000) != 0 && (v.w[3] & 0x7fffffff) != 0;
}
constexpr bool above_zero16(const Real16 &v) { return (v.w[3] & 0x80000000) == 0 && v.w[3] != 0; }
// +infinity, or -infinity when `negative`.
constexpr Real16 inf16(bool negative) { return negative ? _MInf_Q : _Inf_Q; }

// +infinity for v >= 0, -infinity otherwise (a NaN included).
template <class T>
constexpr T inf_unless_negative(T v) {
  return v >= 0 ? Defaults<T>::inf : -Defaults<T>::inf;
}
// Infinity with the sign (bit) of v.
template <class T>
T inf_signed_as(T v) {
  return std::copysign(Defaults<T>::inf, v);
}

// sin y and cos y of a Real8 by the processor's FSIN and FCOS, each
// stored as a Real8 (|y| < 2^63; the callers' limits keep y below 3.53e15).
struct SinCos {
  double s, c;
};
inline SinCos sin_cos_x87(double y) {
  const SineCosine<double> v = x87_sine_cosine(y);
  return {v.sin, v.cos};
}

// One refused part: reported as argument error `number` with the part in
// the argument slot and as the one value (type code of the component);
// true when the handler resumes, the part then taking the slot's value.
template <class T>
bool report_part(std::int32_t number, T &part) {
  return detail::report_args<kFirstValue>(Via::argument_error, number, true, part);
}

// The logarithm's report of a zero z: z in the argument slot, no values;
// true when the handler resumes, z then taking the slot's value.
template <class C>
bool report_zero(std::int32_t number, C &z) {
  return detail::report_args<kNoValues>(Via::argument_error, number, true, z);
}

// A function that refuses a part beyond its limits. K gives, for the part
// type T and the complex type C:
//   x_refused(x), y_refused(y): the limit tests;
//   x_error, y_error: their error numbers;
//   compute(x, y): the result inside the limits;
//   refused(x, y, x_refused, y_refused): the default once the handler
//     declines, by which parts stand refused (the infinity flag read there).
// The tests run on x first; a refused x is reported (a refused y beside it
// is not), and a resumed report starts the tests again on the part the
// handler left in the slot.
template <class K, class T>
[[gnu::noinline, gnu::cold]] auto refusing_loop(T x, T y) -> decltype(K::compute(x, y)) {
  for (;;) {
    const bool xr = K::x_refused(x), yr = K::y_refused(y);
    if (!xr && !yr) return K::compute(x, y);
    if (xr ? report_part(K::x_error, x) : report_part(K::y_error, y)) continue;
    return K::refused(x, y, xr, yr);
  }
}
template <class K, class T>
[[gnu::always_inline]] inline auto refusing(T x, T y) -> decltype(K::compute(x, y)) {
  if (!K::x_refused(x) && !K::y_refused(y)) [[likely]]
    return K::compute(x, y);
  return refusing_loop<K>(x, y);
}

}  // namespace vx::complex
