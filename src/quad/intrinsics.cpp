// Elemental intrinsics of Real16 and the negation helper:
//   g_qabs (ABS), g_qsign (SIGN), g_qdim (DIM), g_qmax1, g_qmin1 (MAX, MIN
//   of two), g_qmod (MOD), g_qint (AINT), g_qnint (ANINT), g_iqnint (NINT to
//   INTEGER*4), g_jqnint (NINT to INTEGER*8), g_qprod (the exact Real16
//   product of two Real8) and ulx_gqqc (negation of a value passed by value).
//
// Rules:
//   g_qabs clears the sign bit; g_qsign puts b's sign on |a|, a b that is
//     exactly -0 (word 3 0x80000000, words 0 to 2 zero) counting as positive.
//   g_qdim is a - b (g_aqsq), or +0 when that difference has its sign bit.
//   g_qmax1, g_qmin1 order by sign, then magnitude; -0 is below +0.
//   g_qmod is a - AINT(a / p) * p through g_aqdq, g_qint, g_aqmq, g_aqsq.
//   g_qint: below 1 in magnitude +0 (the sign is not kept); up to 2^112 the
//     fraction bits below 2^0 are cleared; from 2^112 on x is whole already.
//   g_qnint, g_iqnint, g_jqnint add `half` (g_aqaq) to a positive x and
//     subtract it (g_aqsq) from a negative one, truncate with g_qint and
//     convert with g_iqint or g_ajcq. So halves round away from zero.
//   ulx_gqqc inverts the sign bit of word 3, except that a word 3 of 0 stays
//     0 (and 0x80000000 becomes 0): the negation of a zero is +0. Words 0 to
//     2 are copied.
//   Errors: only those of the arithmetic that g_qdim, g_qmod, g_qnint,
//   g_iqnint, g_jqnint and g_qprod call.
#include <cstdint>

#include "frame/hidden_result.h"
#include "quad/real16.h"

namespace vx::quad {
namespace {

constexpr Real16 half = real16_from_words(0x3ffe0000, 0, 0, 0);  // 0.5

// AINT: truncation toward zero.
Real16 truncate(const Real16 &x) {
  const std::int32_t e = exponent_of(x) - kBias;
  if (e < 0) return kZero;
  if (e > 112) return x;
  const auto fraction_bits = static_cast<unsigned>(112 - e);  // weights below 2^0
  const U128 whole = w128::from_words(x.w[3], x.w[2], x.w[1], x.w[0]);
  const U128 t = w128::shl(w128::shr(whole, fraction_bits), fraction_bits);
  return real16_from_words(w128::word(t, 3), w128::word(t, 2), w128::word(t, 1), w128::word(t, 0));
}

// x + 0.5 for a positive x, x - 0.5 for a negative one, then AINT.
Real16 nearest_whole(const Real16 &x) {
  Real16 shifted;
  if (sign_of(x) == 0) {
    g_aqaq(&shifted, &x, &half);
  } else {
    g_aqsq(&shifted, &x, &half);
  }
  Real16 whole;
  g_qint(&whole, &shifted);
  return whole;
}

}  // namespace
}  // namespace vx::quad

using vx::quad::kSignBit;

Real16 *g_qabs(Real16 *result, const Real16 *x) {
  Real16 v = *x;
  v.w[3] &= ~kSignBit;
  return vx::store_result(result, v);
}

Real16 *g_qsign(Real16 *result, const Real16 *a, const Real16 *b) {
  const Real16 va = *a, vb = *b;
  const bool minus_zero = vb.w[3] == kSignBit && (vb.w[0] | vb.w[1] | vb.w[2]) == 0;
  return vx::store_result(result, vx::quad::with_sign(va, minus_zero ? 0 : vx::quad::sign_of(vb)));
}

Real16 *g_qdim(Real16 *result, const Real16 *a, const Real16 *b) {
  Real16 d;
  g_aqsq(&d, a, b);
  return vx::store_result(result, vx::quad::sign_of(d) != 0 ? vx::quad::kZero : d);
}

Real16 *g_qmax1(Real16 *result, const Real16 *a, const Real16 *b) {
  const Real16 va = *a, vb = *b;
  return vx::store_result(result, vx::quad::order(va, vb) >= 0 ? va : vb);
}

Real16 *g_qmin1(Real16 *result, const Real16 *a, const Real16 *b) {
  const Real16 va = *a, vb = *b;
  return vx::store_result(result, vx::quad::order(va, vb) <= 0 ? va : vb);
}

Real16 *g_qmod(Real16 *result, const Real16 *a, const Real16 *p) {
  const Real16 va = *a, vp = *p;
  Real16 q, whole, back;
  g_aqdq(&q, &va, &vp);
  g_qint(&whole, &q);
  g_aqmq(&back, &whole, &vp);
  g_aqsq(result, &va, &back);
  return result;
}

Real16 *g_qint(Real16 *result, const Real16 *x) {
  return vx::store_result(result, vx::quad::truncate(*x));
}

Real16 *g_qnint(Real16 *result, const Real16 *x) {
  return vx::store_result(result, vx::quad::nearest_whole(*x));
}

std::int32_t g_iqnint(const Real16 *x) {
  const Real16 whole = vx::quad::nearest_whole(*x);
  return g_iqint(&whole);
}

std::int64_t g_jqnint(const Real16 *x) {
  const Real16 whole = vx::quad::nearest_whole(*x);
  return g_ajcq(&whole);
}

Real16 *g_qprod(Real16 *result, const double *x, const double *y) {
  Real16 wx, wy;
  g_qextd(&wx, x);
  g_qextd(&wy, y);
  g_aqmq(result, &wx, &wy);  // exact: 53 + 53 bits fit in 113
  return result;
}

Real16 *ulx_gqqc(Real16 *result, Real16 x) {
  if (x.w[3] != 0) x.w[3] ^= kSignBit;  // 0x80000000 becomes 0: +0
  return vx::store_result(result, x);
}
