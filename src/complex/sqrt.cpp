// Complex square roots: g_csqrt (Complex8), g_cdsqrt (Complex16),
// g_cqsqrt (Complex32), the principal root u + vi of z = x + yi:
//   m = |z|; m zero: 0 + 0i, without a division;
//   x >= 0: u = sqrt((m + x) 1/2), v = (1/2 / u) y;
//   x < 0 or a NaN: v = sqrt((m - x) 1/2), negated for y < 0 (-0 is not
//     negative, so the sign of a zero y does not move the result across
//     the cut: -4 - 0i gives -0 + 2i), u = (1/2 / v) y.
// Neither square root takes a difference: m + |x| has no cancellation.
//
//   g_csqrt: in Real8, m = sqrt(x^2 + y^2) unrounded to Real4 (the modulus
//     of g_cabs before its final rounding); u and v rounded to Real4.
//   g_cdsqrt: in the x87 register, m the scaled modulus of g_cdabs
//     (complex_functions.h), so nothing overflows before u and v are
//     rounded to Real8.
//   g_cqsqrt: parts whose word 3 is exactly 0x80000000 (a -0) become +0
//     first; m = g_cqabs(z); then the same steps, each one rounded Real16
//     operation (g_aqaq, g_aqsq, g_aqmq, g_aqdq, g_qsqrt) with v = (y 1/2)/u
//     and u = (y 1/2)/v, whose overflow and underflow reports are the
//     root's. A part with exponent 0x7fff and a nonzero fraction (a NaN
//     pattern) counts as below zero.
//
// No argument errors. complex_functions_test measures each against MPC.
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstdint>

#include "complex/complex_functions.h"
#include "frame/hidden_result.h"
#include "quad/real16.h"

namespace vx::complex {
namespace {

// The steps on the part type W (double or the register's long double).
template <class W, class C>
C root(W x, W y, W m) {
  using T = decltype(C{}.re);
  if (m == 0) return {0, 0};
  if (x >= 0) {
    const W u = std::sqrt((m + x) * W{0.5});
    return {static_cast<T>(u), static_cast<T>((W{0.5} / u) * y)};
  }
  W v = std::sqrt((m - x) * W{0.5});
  if (y < 0) v = -v;
  return {static_cast<T>((W{0.5} / v) * y), static_cast<T>(v)};
}

constexpr Real16 half = real16_from_words(0x3ffe0000, 0, 0, 0);  // 0.5

// Word 3 exactly 0x80000000 (a -0 with any lower words): +0.
Real16 without_minus_zero(Real16 v) { return v.w[3] == quad::kSignBit ? quad::kZero : v; }

// x < 0, or a NaN pattern (unordered against zero).
bool below_zero(const Real16 &v) {
  const bool nan =
      (v.w[3] & 0x7fff0000) == 0x7fff0000 && ((v.w[3] & 0xffff) | v.w[2] | v.w[1] | v.w[0]) != 0;
  return nan || (v.w[3] & quad::kSignBit) != 0;
}

}  // namespace
}  // namespace vx::complex

using namespace vx::complex;

Complex8 *g_csqrt(Complex8 *result, const Complex8 *z) {
  const Complex8 w = *z;
  return vx::store_result(result, root<double, Complex8>(w.re, w.im, modulus8(w.re, w.im)));
}

Complex16 *g_cdsqrt(Complex16 *result, const Complex16 *z) {
  const Complex16 w = *z;
  return vx::store_result(result, root<ld, Complex16>(w.re, w.im, modulus_x87(w.re, w.im)));
}

Complex32 *g_cqsqrt(Complex32 *result, const Complex32 *z) {
  const Complex32 w = {without_minus_zero(z->re), without_minus_zero(z->im)};
  Real16 m, a, b;
  g_cqabs(&m, &w);
  Complex32 r = {vx::quad::kZero, vx::quad::kZero};
  if (!vx::quad::is_zero(m)) {
    if (!below_zero(w.re)) {
      g_aqaq(&a, &m, &w.re);
      g_aqmq(&a, &a, &half);
      g_qsqrt(&r.re, &a);
      g_aqmq(&b, &w.im, &half);
      g_aqdq(&r.im, &b, &r.re);
    } else {
      g_aqsq(&a, &m, &w.re);
      g_aqmq(&a, &a, &half);
      g_qsqrt(&r.im, &a);
      if (vx::quad::sign_of(w.im) != 0) r.im.w[3] ^= vx::quad::kSignBit;  // y < 0
      g_aqmq(&b, &w.im, &half);
      g_aqdq(&r.re, &b, &r.im);
    }
  }
  return vx::store_result(result, r);
}
