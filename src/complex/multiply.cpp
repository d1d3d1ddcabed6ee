// Complex products: g_acmc (Complex8), g_axmx (Complex16), g_azmz
// (Complex32), a * b with a = p + qi and b = c + di:
//   real part p*c - d*q, imaginary part q*c + d*p, in this order of
//   operands, with no scaling.
//
// Complex8 and Complex16 keep the products, the difference and the sum in
// the x87 register (long double, under the precision the runtime set) and
// round once, when each part is stored. Complex32 forms each product, the
// difference and the sum with one rounded Real16 operation (g_aqmq, g_aqsq,
// g_aqaq), whose overflow and underflow reports are the product's.
//
// Every operand is copied before the result is stored: the result may
// share storage with a or b.
#include <vexmorg/vexmorg.h>

#include "frame/hidden_result.h"

namespace {

template <class C>
[[gnu::always_inline]] inline void x87_product(C *result, const C *a, const C *b) {
  using T = decltype(a->re);
  const long double p = a->re, q = a->im, c = b->re, d = b->im;
  const C r = {static_cast<T>(p * c - d * q), static_cast<T>(q * c + d * p)};
  vx::store_result(result, r);
}

}  // namespace

void g_acmc(Complex8 *result, const Complex8 *a, const Complex8 *b) { x87_product(result, a, b); }

void g_axmx(Complex16 *result, const Complex16 *a, const Complex16 *b) {
  x87_product(result, a, b);
}

void g_azmz(Complex32 *result, const Complex32 *a, const Complex32 *b) {
  const Real16 p = a->re, q = a->im, c = b->re, d = b->im;
  Real16 pc, dq, qc, dp;
  Complex32 r;
  g_aqmq(&pc, &p, &c);
  g_aqmq(&dq, &d, &q);
  g_aqsq(&r.re, &pc, &dq);
  g_aqmq(&qc, &q, &c);
  g_aqmq(&dp, &d, &p);
  g_aqaq(&r.im, &qc, &dp);
  vx::store_result(result, r);
}
