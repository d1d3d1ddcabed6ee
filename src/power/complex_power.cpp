// Complex to a complex power: g_acxc (Complex8), g_axxx (Complex16), as
// exp(y log x) in Complex16: g_cdlog, the product g_axmx, g_cdexp; the
// Complex8 operands are widened exactly and the result is rounded to Real4
// parts at the end. g_azxz (Complex32) the same with g_cqlog, g_azmz,
// g_cqexp. A zero x gives (1, 0) for a zero y and (0, 0) otherwise, without
// a report; the logarithm and the exponential report their own errors.
#include <vexmorg/vexmorg.h>

#include "frame/hidden_result.h"
#include "power/power.h"

namespace {

using vx::power::kOne32, vx::power::kZero32, vx::power::parts_zero;

// exp(y log x) by the given logarithm, product and exponential; a zero x
// gives `one` for a zero y, else `zero`.
template <class C, class Log, class Mul, class Exp>
C power(const C &x, const C &y, const C &one, const C &zero, Log log, Mul mul, Exp exp) {
  if (parts_zero(x)) return parts_zero(y) ? one : zero;
  C w;
  log(&w, &x);
  mul(&w, &w, &y);
  exp(&w, &w);
  return w;
}
Complex16 power16(const Complex16 &x, const Complex16 &y) {
  return power<Complex16>(x, y, {1, 0}, {0, 0}, g_cdlog, g_axmx, g_cdexp);
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
  return vx::store_result(result, power(*x, *y, kOne32, kZero32, g_cqlog, g_azmz, g_cqexp));
}
