// The floor helpers of MODULO, on the bits: ulx_gflo (Real4), ulx_gfld
// (Real8), ulx_gflq (Real16, through the result address).
//
// Truncate toward zero by clearing the fraction bits below the binary point
// (E = exponent field - bias), then step a negative non-integer down by one:
//   E < 0: +0 for a positive x and for a negative zero, -1 for any other
//     negative x (FLOOR(-0.0) is +0.0).
//   E from 0 to p - 2: the fraction bits below 2^0 cleared.
//   Larger E: x is integral (infinities and NaNs too) and comes back as it
//     is; a negative Real8 NaN goes through the final subtraction and stays
//     a NaN.
// No errors; ulx_gflq's subtraction of 1 is exact (|T| + 1 <= 2^113).
#include <cstdint>

#include "frame/hidden_result.h"
#include "model/model.h"

using namespace vx::model;

float ulx_gflo(const float *x) {
  const float v = *x;
  const std::uint32_t w = vx::bits(v);
  const std::int32_t e = static_cast<std::int32_t>(field4(w)) - 127;
  if (e >= 23) return v;                                            // integral, infinite or NaN
  if (e < 0) return (w & kSign) == 0 || w == kSign ? 0.0f : -1.0f;  // |x| < 1
  const float t = vx::real4_from_bits(w & 0x7fffffff & ~((1u << (23 - e)) - 1));
  if ((w & kSign) == 0) return t;
  return t + v == 0.0f ? -t : -(t + 1.0f);
}

double ulx_gfld(const double *x) {
  const double v = *x;
  const std::uint32_t high = vx::high_word(v), low = vx::low_word(v);
  const std::int32_t e = static_cast<std::int32_t>(field8(high)) - 1023;
  if (e < 0) return (high & kSign) == 0 || zero_pattern(high, low) ? 0.0 : -1.0;  // |x| < 1
  std::uint32_t t_high = high & ~kSign, t_low = low;
  if (e <= 20) {  // the point in the high word
    t_high &= ~((1u << (20 - e)) - 1), t_low = 0;
  } else if (e <= 52) {  // in the low word
    t_low &= ~((1u << (52 - e)) - 1);
  }
  const double t = vx::real8_from_words(t_high, t_low);
  if ((high & kSign) == 0) return t;
  return v == -t ? -t : -t - 1.0;
}

Real16 *ulx_gflq(Real16 *result, const Real16 *x) {
  constexpr Real16 one = vx::real16_from_words(0x3fff0000, 0, 0, 0);
  constexpr Real16 one_i = vx::real16_from_words(0xbfff0000, 0, 0, 0);  // -1.0
  const Real16 v = *x;
  const bool negative = (v.w[3] & kSign) != 0;
  const std::int32_t e = static_cast<std::int32_t>(field16(v.w[3])) - 16383;
  if (e < 0) {  // |x| < 1
    const Real16 zero = vx::real16_from_words(0, 0, 0, 0);
    return vx::store_result(result, !negative || v.w[3] == kSign ? zero : one_i);
  }
  // Word i keeps kWordTop[i] - E fraction bits (word 3 its 16 low bits,
  // words 2, 1, 0 all 32 each), which are cleared.
  Real16 t = v;
  constexpr std::int32_t kWordTop[4] = {112, 80, 48, 16};  // E at which word i is all integral
  for (int i = 0; i < 4; ++i) {
    const std::int32_t cleared = kWordTop[i] - e;  // fraction bits in word i
    if (cleared >= 32) {                           // never word 3: E >= 0 leaves it at most 16
      t.w[i] = 0;
    } else if (cleared > 0) {
      t.w[i] &= ~((1u << cleared) - 1);
    }
  }
  const bool changed = t.w[0] != v.w[0] || t.w[1] != v.w[1] || t.w[2] != v.w[2] || t.w[3] != v.w[3];
  if (negative && changed) {
    Real16 down;
    g_aqsq(&down, &t, &one);
    return vx::store_result(result, down);
  }
  return vx::store_result(result, t);
}
