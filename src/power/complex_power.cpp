// Complex to a complex power: g_acxc (Complex8), g_axxx (Complex16), as
// exp(y log x) in Complex16: g_cdlog, the product g_axmx, g_cdexp; the
// Complex8 operands are widened exactly and the result is rounded to Real4
// parts at the end. g_azxz (Complex32) the same with g_cqlog, g_azmz,
// g_cqexp. A zero x gives (1, 0) for a zero y and (0, 0) otherwise, without
// a report; the logarithm and the exponential report their own errors.
#include <vexmorg/vexmorg.h>

#include "frame/hidden_result.h"
#include "quad/real16.h"

namespace {

Complex16 power16(const Complex16 &x, const Complex16 &y) {
  if (x.re == 0 && x.im == 0) return y.re == 0 && y.im == 0 ? Complex16{1, 0} : Complex16{0, 0};
  Complex16 w;
  g_cdlog(&w, &x);
  g_axmx(&w, &w, &y);
  g_cdexp(&w, &w);
  return w;
}

bool is_zero(const Complex32 &z) { return vx::quad::is_zero(z.re) && vx::quad::is_zero(z.im); }

Complex32 power32(const Complex32 &x, const Complex32 &y) {
  constexpr Real16 zero = vx::quad::kZero, one = vx::real16_from_words(0x3fff0000, 0, 0, 0);
  if (is_zero(x)) return is_zero(y) ? Complex32{one, zero} : Complex32{zero, zero};
  Complex32 w;
  g_cqlog(&w, &x);
  g_azmz(&w, &w, &y);
  g_cqexp(&w, &w);
  return w;
}

}  // namespace

Complex8 *g_acxc(Complex8 *result, const Complex8 *x, const Complex8 *y) {
  const Complex16 r = power16({x->re, x->im}, {y->re, y->im});
  return vx::store_result(result, Complex8{static_cast<float>(r.re), static_cast<float>(r.im)});
}
Complex16 *g_axxx(Complex16 *result, const Complex16 *x, const Complex16 *y) {
  return vx::store_result(result, power16(*x, *y));
}
Complex32 *g_azxz(Complex32 *result, const Complex32 *x, const Complex32 *y) {
  return vx::store_result(result, power32(*x, *y));
}
