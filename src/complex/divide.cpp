// Complex quotients: g_acdc (Complex8), g_axdx (Complex16), g_azdz
// (Complex32), a / b with a = p + qi and b = c + di, by Smith's scaled
// formula: the divisor component of larger magnitude is divided into the
// smaller, so the squares of c and d are never formed.
//
// Complex8 and Complex16, in the x87 register (long double) with each part
// rounded once when stored:
//   |d| <= |c|: t = d/c, s = 1/(d*t + c),
//               real (t*q + p)*s, imaginary (q - t*p)*s;
//   otherwise (|d| > |c|, or unordered through a NaN):
//               t = c/d, s = 1/(c*t + d),
//               real (t*p + q)*s, imaginary (t*q - p)*s.
//   A zero divisor is not tested: 0/0 and x/0 give the unit's masked
//   results (NaN, infinity), which run through the rest of the formula.
//
// Complex32, each step one rounded Real16 operation (g_aqdq, g_aqmq,
// g_aqaq, g_aqsq), whose overflow, underflow and division-by-zero reports
// are the quotient's:
//   c and d both zero (word 3 without its sign 0): +0 + 0i, no report;
//   high word of |c| below that of |d| (unsigned): t = c/d, den = c*t + d,
//               real (p*t + q)/den, imaginary (q*t - p)/den;
//   otherwise:  t = d/c, den = d*t + c,
//               real (q*t + p)/den, imaginary (q - p*t)/den.
//
// Every operand is copied before the result is stored: the result may
// share storage with a or b.
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstdint>

#include "frame/hidden_result.h"
#include "quad/real16.h"

namespace {

template <class C>
[[gnu::always_inline]] inline void x87_quotient(C *result, const C *a, const C *b) {
  using T = decltype(a->re);
  const long double p = a->re, q = a->im, c = b->re, d = b->im;
  C r;
  if (std::fabs(d) <= std::fabs(c)) {
    const long double t = d / c;
    const long double s = 1.0L / (d * t + c);
    r = {static_cast<T>((t * q + p) * s), static_cast<T>((q - t * p) * s)};
  } else {
    const long double t = c / d;
    const long double s = 1.0L / (c * t + d);
    r = {static_cast<T>((t * p + q) * s), static_cast<T>((t * q - p) * s)};
  }
  vx::store_result(result, r);
}

}  // namespace

void g_acdc(Complex8 *result, const Complex8 *a, const Complex8 *b) { x87_quotient(result, a, b); }

void g_axdx(Complex16 *result, const Complex16 *a, const Complex16 *b) {
  x87_quotient(result, a, b);
}

void g_azdz(Complex32 *result, const Complex32 *a, const Complex32 *b) {
  using vx::quad::kSignBit;
  const Real16 p = a->re, q = a->im, c = b->re, d = b->im;
  const std::uint32_t high_c = c.w[3] & ~kSignBit, high_d = d.w[3] & ~kSignBit;
  Complex32 r = {vx::quad::kZero, vx::quad::kZero};
  if (high_c != 0 || high_d != 0) {
    Real16 t, den, x, y;
    if (high_c < high_d) {
      g_aqdq(&t, &c, &d);
      g_aqmq(&x, &c, &t);
      g_aqaq(&den, &x, &d);
      g_aqmq(&x, &p, &t);
      g_aqaq(&x, &x, &q);
      g_aqdq(&r.re, &x, &den);
      g_aqmq(&y, &q, &t);
      g_aqsq(&y, &y, &p);
      g_aqdq(&r.im, &y, &den);
    } else {
      g_aqdq(&t, &d, &c);
      g_aqmq(&x, &d, &t);
      g_aqaq(&den, &x, &c);
      g_aqmq(&x, &q, &t);
      g_aqaq(&x, &x, &p);
      g_aqdq(&r.re, &x, &den);
      g_aqmq(&y, &p, &t);
      g_aqsq(&y, &q, &y);
      g_aqdq(&r.im, &y, &den);
    }
  }
  vx::store_result(result, r);
}
