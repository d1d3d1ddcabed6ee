// Gamma function and its logarithm for positive arguments: g_dgamma
// (Real8).
//
// Below 16: k = the integer nearest x (adding and subtracting bg), f = x - k
// in [-1/2, 1/2], and gamma(2 + f) = 1 + f A(f)/B(f) with A = a1 + a2 f +
// ... + a7 f^6 and B = b0 + ... + b6 f^6 + f^7 (within 2e-17 of gamma(2 + f);
// read without the f^7 term the form is off by 2e-7). Then the recurrence:
// k = 0 divides by (x + 1) x, k = 1 by x, k = 2 leaves it, larger k
// multiply by x - 1, x - 2, ..., x - k + 2. Everything in the x87 register,
// rounded once.
//
// From 16 below xm: Stirling's form in double-double, ln gamma(x) = L =
// (x - 1/2) ln x - x + y (p0 + w (p1 + ... + w p5)), y = 1/x, w = y^2, with
// ln x from ulx_gtlg and (x - 1/2) ln x from ulx_gtml; 2^(L log2 e) by
// ulx_gte2 is x^(x - 1/2) e^(-x) e^(series) sqrt(2 pi), with sqrt(2 pi)
// added to L as its logarithm (two parts) rather than multiplied after
// the rounding of ulx_gte2.
//
// Errors (argument reported as value):
//   251  x zero or negative (also -infinity): default 1.7976931348623011e+308,
//        NaN with the infinity flag
//   251  x at or above xm = 171.6243 (also +infinity): default
//        1.7976931348623011e+308, +infinity with the infinity flag
// A NaN is not reported and gives a NaN. A positive x below 5.6e-309 gives
// +infinity (1/x beyond the Real8 range) without a report.
//
// Accuracy against MPFR (gamma_test): the bounds are stated there.
#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "common/bits.h"
#include "elem/double_double.h"
#include "elem/horner.h"
#include "frame/resume.h"
#include "frame/special.h"

namespace vx {
namespace {

using ld = long double;

// (x - 1)(x - 2) ... (x - k + 2): gamma(x) = gamma(x - k + 2) times this,
// for k >= 3.
ld recurrence_factors(ld x, std::int32_t k) {
  ld product = x - 1;
  for (std::int32_t i = 2; i <= k - 2; ++i) product *= x - i;
  return product;
}

// x = k + f with k the nearest integer (ties to even), rounded by adding
// and subtracting a constant whose ulp is 1.
struct NearestInteger {
  std::int32_t k;
  double f;
};

NearestInteger nearest_integer(double x, double bg) {
  const double k = (x + bg) - bg;
  return {static_cast<std::int32_t>(k), x - k};
}

// ---- g_dgamma ----------------------------------------------------------------

namespace gamma8 {
constexpr double bg = 6755399441055744.0;  // 0x4338000000000000: 1.5 * 2^52, rounds to integers
// gamma(2 + f) = 1 + f A(f)/B(f).
constexpr double a[] = {
    3853.6892282211547,   // 0x40AE1B60E2857AAE: a1
    5535.230162076032,    // 0x40B59F3AEBE6DD56: a2
    1729.2430340411026,   // 0x409B04F8DDEA6967: a3
    71.58797178172478,    // 0x4051E5A154655EA4: a4
    39.994645894437284,   // 0x4043FF508E81DABA: a5
    15.604617552525642,   // 0x402F35906E8D5ED2: a6
    -0.5041605678221867,  // 0xBFE0221557D754A3: a7
};
constexpr double b[] = {
    9115.023685358692,    // 0x40C1CD83081F307D: b0
    4213.249280482967,    // 0x40B0753FD0D881E0: b1
    -1772.8151936923884,  // 0xC09BB342C222A2DB: b2
    -517.4757029887724,   // 0xC0802BCE3D5E5B18: b3
    206.57522474355002,   // 0x4069D2683DB8ACB7: b4
    9.054091033247554,    // 0x40221BB1D1E59C35: b5
    -9.765883350088695,   // 0xC0238821DCCA5D1D: b6
};
// Stirling series y (p0 + w p1 + ... + w^5 p5).
constexpr double p[] = {
    0.08333333333333333,     // 0x3FB5555555555555: p0
    -0.0027777777777775845,  // 0xBF66C16C16C16A59: p1
    0.0007936507930718006,   // 0x3F4A01A019B023AE: p2
    -0.0005952374602494071,  // 0xBF438136B66A8186: p3
    0.0008414354063514616,   // 0x3F4B9278C6A72646: p4
    -0.0018449065901472864,  // 0xBF5E3A195E01C2C4: p5
};
// ln sqrt(2 pi) in two parts: the nearest Real8 and the nearest Real8 to
// the rest. sqrt(2 pi) (r2p, 2.5066282746310007) enters through its
// logarithm, so that the result is rounded once, by ulx_gte2.
constexpr DoubleDouble lr2p = {
    0.9189385332046728,       // 0x3FED67F1C864BEB5
    -3.8782941580672414e-17,  // 0xBC865B5A1B7FF5DF
};
constexpr double stirling = 16.0;  // 0x4030000000000000: start of Stirling's form
constexpr double xm = 171.6243;    // 0x406573FA43FE5C92: gamma overflows from 171.62438
// log2(e) in two parts: the nearest Real8 and the nearest Real8 to the rest.
constexpr DoubleDouble lg2e = {
    1.4426950408889634,      // 0x3FF71547652B82FE
    2.0355273740931033e-17,  // 0x3C7777D0FFDA0D24
};
}  // namespace gamma8

// gamma(x) for 0 < x < 16, in the x87 register.
ld gamma_below16(double x) {
  using namespace gamma8;
  const auto [k, f] = nearest_integer(x, bg);
  const ld g = 1 + f * horner(a, f) / horner_monic(b, f);  // gamma(2 + f)
  if (k == 0) return g / ((ld{x} + 1) * x);
  if (k == 1) return g / x;
  if (k == 2) return g;
  return g * recurrence_factors(x, k);
}

// gamma(x) for 16 <= x < xm.
double gamma_stirling(double x) {
  using namespace gamma8;
  DoubleDouble lnx, t;
  ulx_gtlg(&lnx, &x);
  const double half_less = x - 0.5;  // exact
  ulx_gtml(&t, &lnx, &half_less);    // (x - 1/2) ln x
  const ld y = 1 / ld{x};
  const ld series = y * horner(p, y * y);  // below 1/192
  const double s_hi = static_cast<double>(series);
  const double s_lo = static_cast<double>(series - s_hi);
  // L = (x - 1/2) ln x - x + ln sqrt(2 pi) + series, summed in
  // double-double from the largest term down.
  const DoubleDouble u = dd::two_sum(t.high, -x);
  const DoubleDouble w = dd::two_sum(u.high, lr2p.high);
  const DoubleDouble z = dd::two_sum(w.high, s_hi);
  const double low = z.low + (w.low + (u.low + (t.low + (lr2p.low + s_lo))));
  const DoubleDouble big_l = dd::fast_two_sum(z.high, low);
  DoubleDouble v;
  ulx_gtmt(&v, &big_l, &lg2e);
  return ulx_gte2(&v);
}

Attempt<double> gamma_real8(double x) {
  using namespace gamma8;
  if (x <= 0) return argument_error(251, kOverflowD, _NaN_D);  // zero, negative: 251, NaN
  if (x < stirling) return result(static_cast<double>(gamma_below16(x)));
  if (x < xm) return result(gamma_stirling(x));
  if (x >= xm) return argument_error(251, kOverflowD, _Inf_D);  // overflow: 251, +infinity
  return result(x);                                             // a NaN
}

}  // namespace
}  // namespace vx

double g_dgamma(const double *x) { return vx::resume_loop(vx::gamma_real8, *x); }
