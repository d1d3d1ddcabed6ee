// MODULO(A, P) = A - FLOOR(A / P) * P: g_modlr (Real4), g_modld (Real8),
// g_modlq (Real16, through the result address).
//
// Real4, Real8: the quotient divided in extended precision and stored in
// the argument type, its floor by ulx_gflo / ulx_gfld, then the product and
// the difference in extended precision, rounded once to the type on return.
// Real16: g_aqdq, ulx_gflq, g_aqmq, g_aqsq, each correctly rounded; these
// report their own overflows and underflows.
// Errors (no values): 1396 for P zero (Real4, Real8: compared with 0.0, a
// NaN is not zero; Real16: word 3 of P 0 or 0x80000000, words 0..2 not
// looked at). Whatever the handler answers, the result is the largest
// finite value of the type, positive.
#include <cstdint>

#include "frame/error_numbers.h"
#include "frame/hidden_result.h"
#include "model/model.h"

namespace {

constexpr float kLargestF = vx::real4_from_bits(0x7f7fffff);           // 3.4028234663852886e+38
constexpr double kLargestD = vx::real8_from_bits(0x7fefffffffffffff);  // 1.7976931348623157e+308
constexpr Real16 qmx = vx::real16_from_words(0x7ffeffff, 0xffffffff, 0xffffffff, 0xffffffff);

// Real4 and Real8: the quotient stored in T, its floor, then A - f * P in
// the register, rounded to T once.
template <class T>
T modulo(const T *a, const T *p, T (*floor)(const T *), T largest) {
  const T va = *a, vp = *p;
  if (vp == 0) {  // error 1396
    vx::model::report_fixed_result(vx::err::kModuloZero, va, vp);
    return largest;
  }
  const T q = static_cast<T>(static_cast<long double>(va) / vp);
  const T f = floor(&q);
  return static_cast<T>(static_cast<long double>(va) - static_cast<long double>(f) * vp);
}

}  // namespace

float g_modlr(const float *a, const float *p) { return modulo(a, p, ulx_gflo, kLargestF); }
double g_modld(const double *a, const double *p) { return modulo(a, p, ulx_gfld, kLargestD); }

Real16 *g_modlq(Real16 *result, const Real16 *a, const Real16 *p) {
  const Real16 va = *a, vp = *p;
  if (vx::model::word3_zero(vp)) {  // error 1396
    vx::model::report_fixed_result(vx::err::kModuloZero, va, vp);
    return vx::store_result(result, qmx);
  }
  Real16 q, f, t, r;
  g_aqdq(&q, &va, &vp);
  ulx_gflq(&f, &q);
  g_aqmq(&t, &f, &vp);
  g_aqsq(&r, &va, &t);
  return vx::store_result(result, r);
}
