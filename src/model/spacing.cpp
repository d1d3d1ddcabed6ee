// SPACING and RRSPACING on the bits:
//   g_spaci g_spacid g_spaciq, g_rrspa g_rrspad g_rrspaq.
//
// SPACING: 2^(e - p), e = EXPONENT(x), built as a bit pattern, always
//   positive. A zero (FPU test; Real16 the full test) gives the smallest
//   normal 2^-126, 2^-1022, 2^-16382; a Real16 that is not zero by the full
//   test but whose word 3 is a zero pattern (EXPONENT 0) gives 2^-16494.
//   Below the normal range the single bit moves down the fraction words and
//   stops at the lowest bit: every subnormal Real4 or Real8 has the spacing
//   2^-149 or 2^-1074. An infinity or NaN gives 2^(129-24), 2^(1025-53),
//   2^(16385-113).
// RRSPACING: a zero (FPU test; Real16 the full test) returns x with its
//   sign; otherwise the sign is cleared and the exponent field becomes
//   bias + p - 1: 1.f * 2^(p-1) whatever the field was.
// No errors.
#include <cstdint>

#include "frame/hidden_result.h"
#include "model/model.h"

using namespace vx::model;

float g_spaci(const float *x) {
  if (*x == 0.0f) return vx::real4_from_bits(0x00800000);  // 2^-126
  const std::int32_t e = exponent(*x), t = e - 24;
  std::uint32_t w = 1;  // 2^-149
  if (t > -127) {       // normal
    w = static_cast<std::uint32_t>(e + 103) << 23;
  } else if (t >= -149) {  // a fraction bit
    w = 0x00800000u >> (-102 - e);
  }
  return vx::real4_from_bits(w);
}

double g_spacid(const double *x) {
  if (*x == 0.0) return vx::real8_from_words(0x00100000, 0);  // 2^-1022
  const std::int32_t e = exponent(*x), t = e - 53;
  std::uint32_t high = 0, low = 1;  // 2^-1074
  if (t > -1023) {                  // normal
    high = static_cast<std::uint32_t>(e + 970) << 20, low = 0;
  } else if (t > -1043) {  // a fraction bit of the high word
    high = 0x00100000u >> (-969 - e), low = 0;
  } else if (t >= -1074) {  // a bit of the low word
    low = 0x80000000u >> (-990 - e);
  }
  return vx::real8_from_words(high, low);
}

Real16 *g_spaciq(Real16 *result, const Real16 *x) {
  const Real16 v = *x;
  Real16 r = vx::real16_from_words(0, 0, 0, 1);  // 2^-16494
  if (full_zero(v)) {
    r = vx::real16_from_words(0x00010000, 0, 0, 0);  // 2^-16382
  } else if (!word3_zero(v)) {
    const std::int32_t t = exponent(v) - 113;
    if (t > -16383) {  // normal
      r.w[3] = static_cast<std::uint32_t>(t + 16383) << 16, r.w[0] = 0;
    } else if (t > -16399) {  // a fraction bit of word 3
      r.w[3] = 0x00010000u >> (-16382 - t), r.w[0] = 0;
    } else if (t > -16431) {  // of word 2
      r.w[2] = 0x80000000u >> (-16399 - t), r.w[0] = 0;
    } else if (t > -16463) {  // of word 1
      r.w[1] = 0x80000000u >> (-16431 - t), r.w[0] = 0;
    } else if (t > -16495) {  // of word 0
      r.w[0] = 0x80000000u >> (-16463 - t);
    }
  }
  return vx::store_result(result, r);
}

float g_rrspa(const float *x) {
  if (*x == 0.0f) return *x;
  return vx::real4_from_bits((vx::bits(*x) & 0x007fffff) | 0x4b000000);
}

double g_rrspad(const double *x) {
  if (*x == 0.0) return *x;
  return vx::real8_from_words((vx::high_word(*x) & 0x000fffff) | 0x43300000, vx::low_word(*x));
}

Real16 *g_rrspaq(Real16 *result, const Real16 *x) {
  Real16 v = *x;
  if (!full_zero(v)) v.w[3] = (v.w[3] & 0x0000ffff) | 0x406f0000;
  return vx::store_result(result, v);
}
