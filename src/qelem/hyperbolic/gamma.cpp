// Real16 gamma function and its logarithm: g_qgamma, g_qlgama.
//
// Method:
//   g_qgamma  x below 32: n = trunc(x), f = x - n, G = Gamma(2 + f) from a
//             rational function of f (numerator and monic denominator of
//             degree 12); Gamma(x) = G / (x (x + 1)) for n = 0, G / x for
//             n = 1, G for n = 2, and G (x - 1)(x - 2) ... (x - n + 2) from
//             n = 3 on (the factors are exact). From 32 on: e^(ln Gamma(x)),
//             g_qexp of g_qlgama.
//   g_qlgama  x below 32: n = trunc(x + 1/2), f = x - n in [-1/2, 1/2),
//             ln Gamma(3 + f) = P(f)/Q(f) (degrees 12 and 11), then the
//             recurrence through one logarithm of a product: ln Gamma(x) =
//             that - ln(x (x + 1) ... (2 + f)) below n = 3, + ln((3 + f)
//             ... (x - 1)) above. (About the base point 2, the logarithmic
//             singularity of ln Gamma(2 + f) at f = -2 holds these degrees to
//             2^-105; about 3 they reach 2^-126.) From 32 on, Stirling: w =
//             1/x, v = w^2, S = w Pc(v)/Pd(v) (degrees 4 and 5), ln Gamma(x)
//             = ((x - 1/2) ln x - x) + (S + ln sqrt(2 pi)).
// The coefficients level their relative error over their intervals
// (tools/tables/gen_qhyperbolic.cpp).
//
// Special cases:
//   g_qgamma  x zero or negative (word 3 0, or the sign bit set), or x >=
//             1755 (word 3 >= 0x4009b6c0): error 252, default the largest
//             finite Real16; with the infinity flag _NaN_Q for x <= 0,
//             _Inf_Q above.
//   g_qlgama  x zero or negative, or word 3 >= 0x7ff17176 (x from about
//             1.048e4928): error 255, defaults as for g_qgamma.
//   x is reported as a value (type 11); a resume starts again with the slot.
//
// Accuracy (real16_hyperbolic_test): g_qlgama within 6 ulp from 2.5 to 32
// (P/Q in Horner's rule for a negative f: alternating terms), 3 ulp from
// 32 on and 2 below 0.5; between 0.5 and 2.5, around its zeros at 1 and 2,
// within 3 units of 2^-112 absolute (the difference of ln Gamma(3 + f) and
// a logarithm of 2 to 9). g_qgamma within 4 ulp below 1 and 16 ulp up to
// 32 (G and the roundings of up to 29 factors; 8.7 measured); from 32 on within 2 ulp of e^y for
// the y that g_qlgama returns (whose own rounding moves Gamma by up to y
// 2^-113 relative).
#include "qelem/hyperbolic/tables/hyperbolic_table.h"
#include "qelem/real16_ops.h"

namespace vx::qelem {

namespace {

namespace t = hyperbolic_table;
using quad::Result16;

constexpr Real16 half = q16(0x3ffe0000), three = q16(0x40008000);
constexpr Real16 lr2p = q16(0x3ffed67f, 0x1c864beb, 0x4a692979, 0x20028832);  // ln sqrt(2 pi)

// ln Gamma(x) for x in the domain.
Real16 log_gamma(const Real16 &x) {
  if (x.w[3] >= 0x40040000) {  // x >= 32: Stirling
    // From 2^121 on S < 2^-124 lies below the result's last bit, and w^2
    // would underflow from 2^8191 on: S is left out.
    Real16 s = quad::kZero;
    if (x.w[3] < 0x40780000) {
      const Real16 w = div(kOne, x), v = mul(w, w);
      s = mul(w, rational(t::lgamma_c, t::lgamma_d, v));
    }
    return add(sub(mul(sub(x, half), log_of(x)), x), add(s, lr2p));
  }
  const std::int32_t n = trunc_int(add(x, half));
  const Real16 f = sub(x, from_int(n));
  const Real16 r = rational(t::lgamma_a, t::lgamma_b, f);  // ln Gamma(3 + f)
  if (n == 3) return r;
  if (n < 3) {  // less ln(x (x + 1) ... (2 + f))
    Real16 product = x;
    for (std::int32_t k = n + 1; k < 3; ++k) product = mul(product, add(from_int(k), f));
    return sub(r, log_of(product));
  }
  Real16 product = add(three, f);  // plus ln((3 + f) ... (x - 1))
  for (std::int32_t k = 4; k < n; ++k) product = mul(product, add(from_int(k), f));
  return add(r, log_of(product));
}

Result16 domain_error(std::int32_t error, const Real16 &x) {
  const bool negative = is_negative(x) || quad::is_zero(x);
  return argument_error(error, quad::bits_of(kOverflowQ),
                        quad::bits_of(negative ? _NaN_Q : _Inf_Q));
}

Result16 gamma(const Real16 &x) {
  if (is_negative(x) || quad::is_zero(x) || x.w[3] >= 0x4009b6c0)  // x <= 0 or x >= 1755
    return domain_error(err::kQgammaRange, x);
  if (x.w[3] >= 0x40040000) {  // x >= 32
    return result(quad::bits_of(exp_of(log_gamma(x))));
  }
  const std::int32_t n = trunc_int(x);
  const Real16 f = sub(x, from_int(n));
  Real16 g = rational(t::gamma_a, t::gamma_b, f);  // Gamma(2 + f)
  if (n == 0) return result(quad::bits_of(div(g, mul(x, add(x, kOne)))));
  if (n == 1) return result(quad::bits_of(div(g, x)));
  for (std::int32_t k = n - 1; k >= 2; --k) g = mul(g, add(from_int(k), f));
  return result(quad::bits_of(g));
}

Result16 lgamma(const Real16 &x) {
  if (is_negative(x) || quad::is_zero(x) || x.w[3] >= 0x7ff17176)
    return domain_error(err::kQlgamaRange, x);
  return result(quad::bits_of(log_gamma(x)));
}

}  // namespace
}  // namespace vx::qelem

Real16 *g_qgamma(Real16 *result, const Real16 *x) {
  return vx::quad::resume_and_store<vx::kFirstValue>(result, vx::qelem::gamma, *x);
}

Real16 *g_qlgama(Real16 *result, const Real16 *x) {
  return vx::quad::resume_and_store<vx::kFirstValue>(result, vx::qelem::lgamma, *x);
}
