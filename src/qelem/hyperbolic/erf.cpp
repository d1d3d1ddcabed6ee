// Real16 error function and its complement: g_qerf, g_qerfc.
//
// Method:
//   g_qerf   |x| <= 1: erf x = x + x R(x^2), R = P/Q a rational function
//            (numerator degree 9, monic denominator degree 9); the leading
//            term x is never rounded apart. |x| > 1: 1 - erfc |x| with the
//            sign of x.
//   g_qerfc  |x| below 0.476806640625 (word 3 below 0x3ffde840): 1 - erf x.
//            Otherwise, a = |x|, erfc a = e^(-a^2) R with R = erfc(a)
//            e^(a^2) a rational function of a - 1 (a below 1.25), a - 1.25
//            (below 2.5), a - 2.5 (below 4.5) or 4.5/a (numerators of 11
//            and 12 coefficients, monic denominators of degree 11 and 12);
//            -a^2 is the rounded product, negated, and e^(-a^2) is g_qexp,
//            which gives +0 from a^2 >= 11355.125 on. A negative x gives
//            2 - erfc |x|.
// The coefficients level their error over their intervals
// (tools/tables/gen_qhyperbolic.cpp). From 4.5 on, the rational function of
// 4.5/a of these sizes follows erfc(a) e^(a^2) to 2^-88.5 relative at best
// (up to a = 106.6, where e^(-a^2) underflows): the variable puts the
// function's singularity at infinity next to the interval.
//
// Nothing is reported of their own; the arithmetic reports what it
// reports (a^2 overflows beyond 2^8192).
//
// Accuracy: erf within 2 ulp; erfc below 4.5 within 2 ulp of e^(-a^2) R
// taken with a^2 as rounded (the rounding of a^2 alone moves the result by
// up to a^2 2^-113 relative), from 4.5 on within 2^-88 relative;
// real16_hyperbolic_test measures both.
#include "qelem/hyperbolic/tables/hyperbolic_table.h"
#include "qelem/real16_ops.h"

namespace vx::qelem {
namespace {

namespace t = hyperbolic_table;

constexpr Real16 oneq = q16(0x3fff4000), two = q16(0x40000000), twoh = q16(0x40004000),
                 fourh = q16(0x40012000);  // 1.25, 2, 2.5, 4.5

Real16 erf_small(const Real16 &x) {
  // Below 2^-64, x^2 (which could underflow) is taken as 0: R(0).
  const Real16 z = high_word(x) < 0x3fbf0000 ? quad::kZero : mul(x, x);
  const Real16 r = rational(t::erf_a, t::erf_b, z);
  return add(x, mul(x, r));
}

// erfc a for a = |x| >= 0.4768.
Real16 erfc_large(const Real16 &a) {
  const std::uint32_t h = high_word(a);
  Real16 r;
  if (h < 0x3fff4000) {  // below 1.25
    r = rational(t::erfc_a, t::erfc_b, sub(a, kOne));
  } else if (h < 0x40004000) {  // below 2.5
    r = rational(t::erfc_c, t::erfc_d, sub(a, oneq));
  } else if (h < 0x40012000) {  // below 4.5
    r = rational(t::erfc_e, t::erfc_f, sub(a, twoh));
  } else {
    r = rational(t::erfc_g, t::erfc_h, div(fourh, a));
  }
  Real16 minus_square;
  const Real16 square = mul(a, a);
  ulx_gqqc(&minus_square, square);
  return mul(exp_of(minus_square), r);
}

Real16 erf_of(const Real16 &x) {
  const std::uint32_t h = high_word(x);
  if (h < 0x3fff0000 || (h == 0x3fff0000 && (x.w[0] | x.w[1] | x.w[2]) == 0))  // |x| <= 1
    return erf_small(x);
  const Real16 e = sub(kOne, erfc_large(quad::with_sign(x, 0)));
  return quad::is_zero(e) ? e : quad::with_sign(e, x.w[3] & quad::kSignBit);
}

Real16 erfc_of(const Real16 &x) {
  if (high_word(x) < 0x3ffde840) return sub(kOne, erf_of(x));  // |x| < 0.4768
  const Real16 c = erfc_large(quad::with_sign(x, 0));
  return is_negative(x) ? sub(two, c) : c;
}

}  // namespace
}  // namespace vx::qelem

Real16 *g_qerf(Real16 *result, const Real16 *x) {
  return vx::store_result(result, vx::qelem::erf_of(*x));
}

Real16 *g_qerfc(Real16 *result, const Real16 *x) {
  return vx::store_result(result, vx::qelem::erfc_of(*x));
}
