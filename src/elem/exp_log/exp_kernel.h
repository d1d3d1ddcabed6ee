// The exponential kernels: the processor's e^x (exp_x87), and the
// reconstruction steps shared by the table-driven exponentials g_exp2,
// g_exp10 (Real4) and g_dexp2, g_dexp10 (Real8).
//
// In the table-driven ones the exponent, in powers of two, is split as
// m + j/64 + f, |f| <= 1/128:
// adding bg = 1.5 2^k (whose ulp in the stored type is 1/64) and storing
// leaves m + j/64 in the low bits of the sum n, so that the low word v of n
// (the bit pattern for Real4) is 64 m + j modulo 2^32, plus bits that a
// shift by 14 pushes out. Then 2^y = 2^m e[j] 2^f.
#pragma once

#include <cstdint>

#include "common/bits.h"
#include "common/x87.h"
#include "elem/exp_log/tables/exp2_table.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {

// e^x on the processor, in the register: y = x log2(e) (FLDL2E); k = y
// rounded to an integer (FRNDINT); 2^(y - k) by F2XM1 (|y - k| <= 1/2),
// scaled by 2^k with FSCALE. The kernel of g_exp and g_dexp, also for the
// callers that use their result as the register holds it (the hyperbolic
// functions).
inline long double exp_x87(long double x) {
  const long double y = x * x87::fldl2e();
  const long double k = x87::frndint(y);
  return x87::fscale(x87::f2xm1(y - k) + 1, k);
}

}  // namespace vx

namespace vx::exp_kernel {

using ld = long double;

// 2^m from v - j = 64 m: the Real8 with high word (64 m + 0xFFC0) << 14,
// that is (m + 1023) << 20, and low word zero. m >= -1022 gives a normal
// number; m = -1023 gives zero.
inline double two_to(std::uint32_t v_less_j) {
  return real8_from_words((v_less_j + 0xffc0) << 14, 0);
}

// ---- Real4 -----------------------------------------------------------------

// 2^f - 1 = f (p1 + p2 f + p3 f^2) for |f| <= 1/128, relative error 4.4e-10.
constexpr double p1 = 0.693147189749275;   // 0x3FE62E4303E932BB
constexpr double p2 = 0.240223564101224;   // 0x3FCEBFA54FC58B67
constexpr double p3 = 0.0558054086718037;  // 0x3FAC9286CA5EE12C

// S e[j] + S e[j] f (p1 + p2 f + p3 f^2); v is the low word of n (for
// g_exp2 the Real4 bit pattern of n). T = long double is the register
// evaluation, T = double the same formula in Real8: S e[j] is exact in both,
// and the Real8 value lies within 0.6 of its ulps of the register value
// (the correction term, at most 0.0055 of the result, carries four
// roundings of 2^-53 of itself; the final sum rounds by half an ulp; the
// register's own error is near 2^-63 of the result).
template <class T>
T real4_result(std::uint32_t v, T f) {
  const std::uint32_t j = v & 63;
  const T t = two_to(v - j) * T{exp2_table::e[j].high};
  return t + t * f * (p1 + p2 * f + p3 * f * f);
}

// ---- Real8 -----------------------------------------------------------------

// H + (L + H f P) with (H, L) = e[j]: 2^(j/64 + f) given p = P(f), the
// series of (2^f - 1)/f, in the register.
inline ld real8_mantissa(std::uint32_t j, ld f, ld p) {
  const DoubleDouble &e = exp2_table::e[j];
  return e.high + (e.low + e.high * f * p);
}

// The normal range: S (H + (L + H f P)) with S = 2^m. At m = -1023, below
// the normal range, S would be zero: the product is formed in the register
// from 2^-1022 and halved there, so that the subnormal result is rounded
// once.
inline double real8_result(std::uint32_t v, ld f, ld p) {
  const std::uint32_t j = v & 63;
  const ld r = real8_mantissa(j, f, p);
  const double s = two_to(v - j);
  if (s != 0) [[likely]]
    return static_cast<double>(s * r);
  return static_cast<double>(r * 0x1p-1022 * 0.5L);
}

// The top of the range (2^1023 <= 2^y < 2^1024): H + (L + H f P) is stored
// as a Real8 and m is added to its exponent, so that no 2^1024 is formed.
inline double real8_top_result(std::uint32_t v, ld f, ld p) {
  const std::uint32_t j = v & 63;
  const double r = static_cast<double>(real8_mantissa(j, f, p));
  return real8_from_words(high_word(r) + ((v - j) << 14), low_word(r));
}

// A value rounded twice, after moving it by its error bound either way:
// when the two agree, every value within the bound, the exact one among
// them, rounds to `up`.
struct Bracket {
  double up, down;
};

// r 2^m for a normal result, v - j = 64 m: m is added to r's exponent.
inline double scaled(double r, std::uint32_t v_less_j) {
  return real8_from_bits(bits(r) + (std::uint64_t{v_less_j} << 46));
}

// The ranges of a Real8 table exponential.
struct Limits {
  std::uint32_t top;   // high word of |x| from which the limits apply
  double zero;         // at or below it (minus infinity too): 0.0, no report
  double overflow;     // at or above it (plus infinity too): `error`
  std::int32_t error;  // default 1.7976931348623011e+308, or plus infinity
};

// One attempt of a Real8 table exponential, given x reduced to the low
// word v of n and the remainder f, with p = P(f). Beyond the limits' high
// word a positive x takes the top-range variant; a NaN computes.
inline Attempt<double> real8_attempt(double x, const Limits &limits, std::uint32_t v, ld f, ld p) {
  if ((high_word(x) & 0x7fffffff) >= limits.top) [[unlikely]] {
    if (x <= limits.zero) return result(0.0);
    if (x >= limits.overflow) return argument_error(limits.error, kOverflowD, _Inf_D);
    if (x > 0) return result(real8_top_result(v, f, p));
  }
  return result(real8_result(v, f, p));
}

}  // namespace vx::exp_kernel
