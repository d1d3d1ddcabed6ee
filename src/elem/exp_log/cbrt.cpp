// Cube root, table-driven: g_cbrt (Real4), g_dcbrt (Real8). No errors.
//
// Method: a first guess from the bit pattern, one third of |x|'s (of its
// high word for Real8) plus a per-bucket offset, times a per-bucket factor
// (cbrt_table.h: 24 buckets by exponent mod 3 and three fraction bits for
// Real4, 48 by exponent mod 3 and four bits for Real8). The guess is within
// 1.93e-4 (Real4) or 5.2e-5 (Real8) of the root; each Newton step
// y + (x/y^2 - y)/3 squares that error, so one step (Real4) or two (Real8)
// reach the type's precision.
//
// Special cases: +0.0 for a zero of either sign; infinities and NaNs return
// themselves; subnormal arguments are scaled by 2^24 (Real4) or 2^54
// (Real8) first and their root by 2^-8 or 2^-18 after, since the bit
// pattern of a subnormal does not give a guess.
//
// Accuracy against MPFR (exp_log_test), by analysis: after the Newton steps the
// relative error is below 3.7e-8 (Real4, up to 0.51 ulp where the root's
// fraction is large) or 7.3e-18 (Real8, up to 0.066 ulp), plus the final
// rounding: Real4 within 1.02 ulp, Real8 within 0.57 ulp.
#include <cstdint>

#include "common/bits.h"
#include "elem/exp_log/tables/cbrt_table.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

constexpr float third = 0.3333333f;  // 0x3EAAAAAA

// The root of a normal x from the guess and one Newton step, in the
// register.
ld cbrt_normal4(float x) {
  const std::uint32_t a = bits(x) & 0x7fffffff;
  const std::uint32_t k = (a >> 20) % 24;  // 8 (exponent mod 3) + top three fraction bits
  const ld g = cbrt_table::alpha[k] * ld{real4_from_bits(a / 3 + cbrt_table::beta[k])};
  const ld y0 = x < 0 ? -g : g;
  return y0 + (x / (y0 * y0) - y0) * third;
}

float cbrt4(float x) {
  const std::uint32_t a = bits(x) & 0x7fffffff;
  if (a - 0x00800000 < 0x7f000000) [[likely]]  // normal and finite
    return static_cast<float>(cbrt_normal4(x));
  if (a == 0) return 0.0f;                                         // either sign: +0.0
  if (a >= 0x7f800000) return x;                                   // infinities and NaNs
  return static_cast<float>(cbrt_normal4(x * 0x1p24f) * 0x1p-8L);  // subnormal
}

// ---- Real8 -----------------------------------------------------------------

constexpr double third8 = 0.3333333333333333;  // 0x3FD5555555555555

// The root of a normal x from the guess and two Newton steps, in the
// register.
ld cbrt_normal8(double x) {
  const std::uint32_t a = high_word(x) & 0x7fffffff;
  const std::uint32_t k = (a >> 16) % 48;  // 16 (exponent mod 3) + top four fraction bits
  const ld g = cbrt_table::a[k] * ld{real8_from_words(a / 3 + cbrt_table::b[k], low_word(x))};
  const ld y0 = x < 0 ? -g : g;
  const ld y1 = (x / (y0 * y0) + 2 * y0) * third8;
  return y1 + (x / (y1 * y1) - y1) * third8;
}

double cbrt8(double x) {
  const std::uint32_t a = high_word(x) & 0x7fffffff;
  if (a - 0x00100000 < 0x7fe00000) [[likely]]  // normal and finite
    return static_cast<double>(cbrt_normal8(x));
  if (x == 0) return 0.0;                                           // either sign: +0.0
  if (a >= 0x7ff00000) return x;                                    // infinities and NaNs
  return static_cast<double>(cbrt_normal8(x * 0x1p54) * 0x1p-18L);  // subnormal
}

}  // namespace
}  // namespace vx

float g_cbrt(const float *x) { return vx::cbrt4(*x); }
double g_dcbrt(const double *x) { return vx::cbrt8(*x); }
