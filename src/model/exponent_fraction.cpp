// EXPONENT and FRACTION on the bits:
//   g_expon g_expond g_exponq (INTEGER*4), g_jexpon g_jexpnd g_jexpnq
//   (INTEGER*8, the same value sign-extended), g_fract g_fractd g_fractq.
//
// EXPONENT: 0 for a zero (FPU test; Real16 the word-3 test, so a word 3 of
//   0 or 0x80000000 gives 0 whatever words 0..2 hold), else F - (bias - 1).
// FRACTION: an exponent field of 0 (zero or subnormal; Real8 looks at the
//   high word only) returns x; otherwise the field becomes bias - 1, sign and
//   fraction kept: [0.5, 1) in magnitude, an infinity gives 0.5 with its sign.
// No errors.
#include <cstdint>

#include "frame/hidden_result.h"
#include "model/model.h"

using namespace vx::model;

std::int32_t g_expon(const float *x) { return exponent(*x); }
std::int32_t g_expond(const double *x) { return exponent(*x); }
std::int32_t g_exponq(const Real16 *x) { return exponent(*x); }
std::int64_t g_jexpon(const float *x) { return exponent(*x); }
std::int64_t g_jexpnd(const double *x) { return exponent(*x); }
std::int64_t g_jexpnq(const Real16 *x) { return exponent(*x); }

float g_fract(const float *x) {
  const std::uint32_t w = vx::bits(*x);
  if (field4(w) == 0) return *x;
  return vx::real4_from_bits((w & 0x807fffff) | 0x3f000000);
}

// The high word's masks applied to the whole pattern (the low word passes).
double g_fractd(const double *x) {
  const std::uint64_t b = vx::bits_at(x);
  if ((b & 0x7ff0000000000000) == 0) return *x;
  return vx::real8_from_bits((b & 0x800fffffffffffff) | 0x3fe0000000000000);
}

Real16 *g_fractq(Real16 *result, const Real16 *x) {
  Real16 v = *x;
  if (field16(v.w[3]) != 0) v.w[3] = (v.w[3] & 0x8000ffff) | 0x3ffe0000;
  return vx::store_result(result, v);
}
