// SCALE and SET_EXPONENT on the bits:
//   g_scale g_scaled g_scaleq (x * 2^i), g_stexp g_stexpd g_stexpq
//   (x with EXPONENT i).
//
// SCALE: a zero (FPU test) gives +0.0 for Real4 and Real8 (the sign of -0.0
//   is not kept); a Real16 zero by the full test is returned unchanged.
//   Otherwise the exponent field becomes e + i + bias - 1, e = EXPONENT(x):
//   F + i for a normal x; a subnormal is taken as 1.f * 2^(e-1). For a
//   Real16 whose word 3 is a zero pattern (words 0..2 not all zero) e is 0.
// SET_EXPONENT: a zero (Real4 the pattern test, Real8 the FPU test, Real16
//   the full test) is returned with its sign; otherwise the field becomes
//   i + bias - 1.
// The new field is shifted into place in 32-bit arithmetic and ORed over
// the sign and fraction: there is no range check. The caller keeps it
// within 1 .. 2 * bias; outside, the result has no numeric meaning.
// No errors.
#include <cstdint>

#include "frame/hidden_result.h"
#include "model/model.h"

using namespace vx::model;

float g_scale(const float *x, const std::int32_t *i) {
  if (*x == 0.0f) return 0.0f;
  const std::uint32_t w = vx::bits(*x);
  return vx::real4_from_bits((w & 0x807fffff) | placed_field(exponent(*x) + 126, *i, 23));
}

double g_scaled(const double *x, const std::int32_t *i) {
  if (*x == 0.0) return 0.0;
  const std::uint32_t high = vx::high_word(*x);
  return vx::real8_from_words((high & 0x800fffff) | placed_field(exponent(*x) + 1022, *i, 20),
                              vx::low_word(*x));
}

Real16 *g_scaleq(Real16 *result, const Real16 *x, const std::int32_t *i) {
  Real16 v = *x;
  if (!full_zero(v)) v.w[3] = (v.w[3] & 0x8000ffff) | placed_field(exponent(v) + 16382, *i, 16);
  return vx::store_result(result, v);
}

float g_stexp(const float *x, const std::int32_t *i) {
  const std::uint32_t w = vx::bits(*x);
  if (zero_pattern(w)) return *x;
  return vx::real4_from_bits(placed_field(126, *i, 23) | (w & 0x807fffff));
}

double g_stexpd(const double *x, const std::int32_t *i) {
  if (*x == 0.0) return *x;
  const std::uint32_t high = vx::high_word(*x);
  return vx::real8_from_words(placed_field(1022, *i, 20) | (high & 0x800fffff), vx::low_word(*x));
}

Real16 *g_stexpq(Real16 *result, const Real16 *x, const std::int32_t *i) {
  Real16 v = *x;
  if (!full_zero(v)) v.w[3] = placed_field(16382, *i, 16) | (v.w[3] & 0x8000ffff);
  return vx::store_result(result, v);
}
