// Gamma function and its logarithm for positive arguments: g_gamma,
// g_lgamma, g_algama (Real4), g_dgamma, g_dlgama (Real8). g_lgamma and
// g_algama are the same function under two names.
//
// Small arguments: k = the integer nearest x (adding and subtracting bg,
// ties to even), f = x - k in [-1/2, 1/2], and a form in f for gamma(2 + f)
// or its logarithm:
//   Real4 gamma   G = 1 + f (a1 + f (a2 + ... + f a8))
//   Real4 lgamma  H = f (1 + a0 + f (a1 + ... + f a7))
//   Real8 gamma   G = 1 + f A(f)/B(f), A = a1 + ... + a7 f^6,
//                 B = b0 + ... + b6 f^6 + f^7
//   Real8 lgamma  H = f (1/2 + A(f)/B(f)), A = a0 + ... + a6 f^6,
//                 B = b0 + ... + b5 f^5 + f^6
// (the Real8 forms with their monic denominators are within 1.8e-17 and
// 3.3e-17 of gamma(2 + f) and its logarithm; without the leading f^7 and
// f^6 terms they are off by 2e-7 and 6e-7, and the logarithm needs the
// 1/2, which its a0/b0 = (1 - Euler's gamma) - 1/2 completes). Then the
// recurrence: k = 0 divides G by (x + 1) x, k = 1 by x, k = 2 leaves it,
// larger k multiply by (x - 1)(x - 2)...(x - k + 2); H takes the logarithm
// of the same factors by g_dlog. The Real4 functions do this below 8, the
// Real8 functions below 16, in the x87 register.
//
// Large arguments: Stirling's form ln gamma(x) = L = (x - 1/2) ln x - x +
// ln sqrt(2 pi) + y (p0 + w (p1 + ...)), y = 1/x, w = y^2:
//   Real4 gamma   L in the x87 register with ln x by g_dlog; g_dexp(L)
//   Real4 lgamma  the same L
//   Real8 gamma   L in double-double: ln x from ulx_gtlg, (x - 1/2) ln x
//                 from ulx_gtml; 2^(L log2 e) by ulx_gte2 is x^(x - 1/2)
//                 e^(-x) e^(series) sqrt(2 pi), with sqrt(2 pi) (r2p)
//                 added to L as its logarithm (two parts) so that the
//                 result is rounded once
//   Real8 lgamma  L in the x87 register, ln x from ulx_gtlg (the
//                 double-double logarithm, good to 2^-60 absolute)
//
// Errors (argument reported as value; negative non-integers are rejected
// like the poles):
//   250 g_gamma   x <= 0: 3.40282002e+38, NaN with the infinity flag;
//                 x >= 35.03986: 3.40282002e+38, +infinity with the flag
//   251 g_dgamma  x <= 0 / x >= 171.6243: the same with 1.7976931348623011e+308
//   253 g_lgamma, g_algama  x <= 0 / x >= 4.03711e36: as 250
//   254 g_dlgama  x <= 0 / x >= 2.55634e305: as 251
// A NaN is not reported and gives a NaN. Below 1/3.4e38 (Real4) and
// 1/1.8e308 (Real8) gamma's quotient leaves the range: +infinity without a
// report.
//
// Accuracy against MPFR (erf_gamma_test, which states each range's bound
// by analysis of the approximations' errors and the roundings): gamma
// within 0.75 ulp (Real4) and 0.7 ulp (Real8) below Stirling's form, 0.52
// and 1.7 ulp in it (Real8 0.9 below 40: ulx_gtlg's 2^-60.3 in ln x grows
// with x - 1/2); ln gamma within 1.05 ulp (Real4) and 3.0 ulp (Real8)
// between 0.5 and 2.5, where the result is small, 0.65 and 2.0 ulp
// elsewhere.
#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "common/bits.h"
#include "common/horner.h"
#include "common/math_constants.h"
#include "elem/erf_gamma/double_double.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

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

// (x - 1)(x - 2) ... (x - k + 2), k >= 3: gamma(x) = gamma(x - k + 2)
// times this.
ld recurrence_factors(ld x, std::int32_t k) {
  ld product = x - 1;
  for (std::int32_t i = 2; i <= k - 2; ++i) product *= x - i;
  return product;
}

// gamma(x) from g = gamma(2 + f), x = k + f.
ld gamma_from_shifted(ld g, ld x, std::int32_t k) {
  if (k == 0) return g / ((x + 1) * x);
  if (k == 1) return g / x;
  if (k == 2) return g;
  return g * recurrence_factors(x, k);
}

// ln v by g_dlog, v stored as a Real8.
ld dlog(ld v) {
  const double d = static_cast<double>(v);
  return g_dlog(&d);
}

// ln gamma(x) from h = ln gamma(2 + f), x = k + f.
ld lgamma_from_shifted(ld h, ld x, std::int32_t k) {
  if (k == 0) return h - dlog((1 + x) * x);
  if (k == 1) return h - dlog(x);
  if (k == 2) return h;
  return h + dlog(recurrence_factors(x, k));
}

// ---- Real4 -----------------------------------------------------------------

namespace r4 {
constexpr double bg = 4503599627370496.0;  // 0x4330000000000000: 2^52, rounds to integers
constexpr float stirling = 8.0f;           // 0x41000000: start of Stirling's form
// gamma(2 + f) = 1 + f (a1 + f (a2 + ... + f a8)).
constexpr double a[] = {
    0.4227844732,      // 0x3FDB0EE69B69A33E: a1
    0.41183975,        // 0x3FDA5B951C5C5719: a2
    0.08156941043,     // 0x3FB4E1BB9E269E31: a3
    0.07426329572,     // 0x3FB302EB5A691B8F: a4
    -0.0001585416248,  // 0xBF24C7C62FE87FC7: a5
    0.01102991915,     // 0x3F8696DAB036D559: a6
    -0.003419868049,   // 0xBF6C03FBADAAB955: a7
    0.002539231592,    // 0x3F64CD2794A0A52F: a8
};
// ln gamma(2 + f) = f (1 + la0 + f (la[0] + f (la[1] + ... + f la[6]))).
constexpr double la0 = -0.5772156573;  // 0xBFE2788CF85AF6F0: a0 of the logarithm
constexpr double la[] = {
    0.3224670054,     // 0x3FD4A34CA68ED9FF: a1
    -0.06735327304,   // 0xBFB13E1068FC4074: a2
    0.02058202897,    // 0x3F951374953EF330: a3
    -0.007366343638,  // 0xBF7E2C2BD042CBD3: a4
    0.002875640244,   // 0x3F678EA799B28401: a5
    -0.001312771437,  // 0xBF55822998E5FF52: a6
    0.0005776308199,  // 0x3F42ED84BD855AD5: a7
};
// Stirling series y (p0 + w (p1 + w p2)).
constexpr double p[] = {
    0.08333333327,    // 0x3FB55555550FB296: p0
    -0.002777698905,  // 0xBF66C141BE9042DF: p1
    0.0007800577236,  // 0x3F498F9934B7A380: p2
};
constexpr double algr2p = 0.9189385332;     // 0x3FED67F1C8641A4C: ln sqrt(2 pi)
constexpr float gamma_xmax = 35.03986f;     // 0x420C28D1: gamma(xmax) = 3.39995e38
constexpr float lgamma_xmax = 4.03711e36f;  // 0x7C426139: its ln gamma is 3.36245e38
}  // namespace r4

// Stirling's ln gamma(x) for x >= 8, in the x87 register.
ld stirling_real4(float x) {
  using namespace r4;
  const double xd = x;
  const ld y = 1 / ld{x};
  return (ld{x} - 0.5L) * g_dlog(&xd) - x + algr2p + y * horner(p, y * y);
}

Attempt<float> gamma_real4(float x) {
  using namespace r4;
  if (x <= 0)
    return argument_error(err::kGammaRange, kOverflowF, _NaN_F);  // zero, negative: 250, NaN
  if (x < stirling) {
    const auto [k, f] = nearest_integer(x, bg);
    const ld g = 1 + f * horner(a, f);  // gamma(2 + f)
    return result(static_cast<float>(gamma_from_shifted(g, x, k)));
  }
  if (x < gamma_xmax) {
    const double big_l = static_cast<double>(stirling_real4(x));
    return result(static_cast<float>(g_dexp(&big_l)));
  }
  if (x >= gamma_xmax)
    return argument_error(err::kGammaRange, kOverflowF, _Inf_F);  // overflow: 250, +infinity
  return result(x);                                               // a NaN
}

Attempt<float> lgamma_real4(float x) {
  using namespace r4;
  if (x <= 0)
    return argument_error(err::kLgammaRange, kOverflowF, _NaN_F);  // zero, negative: 253, NaN
  if (x < stirling) {
    const auto [k, f] = nearest_integer(x, bg);
    const ld h = f * ((1 + la0) + f * horner(la, f));  // ln gamma(2 + f)
    return result(static_cast<float>(lgamma_from_shifted(h, x, k)));
  }
  if (x < lgamma_xmax) return result(static_cast<float>(stirling_real4(x)));
  if (x >= lgamma_xmax)
    return argument_error(err::kLgammaRange, kOverflowF, _Inf_F);  // overflow: 253, +infinity
  return result(x);                                                // a NaN
}

// ---- Real8 -----------------------------------------------------------------

namespace r8 {
constexpr double bg = 6755399441055744.0;  // 0x4338000000000000: 1.5 * 2^52, rounds to integers
constexpr double stirling = 16.0;          // 0x4030000000000000: start of Stirling's form
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
// ln gamma(2 + f) = f (1/2 + LA(f)/LB(f)).
constexpr double la[] = {
    -5138.409676472843,  // 0xC0B41268E08EACCD: a0
    13815.353113708446,  // 0x40CAFBAD32D47AC6: a1
    23145.21360871324,   // 0x40D69A4DABC3E160: a2
    11506.77981793914,   // 0x40C67963D11300B8: a3
    2371.2630270496056,  // 0x40A28686AB7B400A: a4
    192.16991096775973,  // 0x4068056FE9203850: a5
    4.134053997379862,   // 0x40108945737A940C: a6
};
constexpr double lb[] = {
    66546.20772903344,   // 0x40F03F2352DBADD1: b0
    98990.34202509373,   // 0x40F82AE578EF4E00: b1
    55608.76941638958,   // 0x40EB27189F0F1EC8: b2
    14602.76907543406,   // 0x40CC8562711056B9: b3
    1788.3789539340937,  // 0x409BF1840C80067E: b4
    87.04133777869593,   // 0x4055C2A54735E5A7: b5
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
// ln sqrt(2 pi) in two parts: lr2p, 0.9189385332046728, the nearest Real8,
// and the nearest Real8 to the rest.
constexpr DoubleDouble lr2p = {
    0.9189385332046728,       // 0x3FED67F1C864BEB5
    -3.8782941580672414e-17,  // 0xBC865B5A1B7FF5DF
};
// log2(e) in two parts: the nearest Real8 and the nearest Real8 to the rest.
constexpr DoubleDouble lg2e = kLog2e;
constexpr double xm = 171.6243;       // 0x406573FA43FE5C92: gamma overflows from 171.62438
constexpr double xmax = 2.55634e305;  // 0x7F574C59092DD6B0: its ln gamma is 1.79513e308
}  // namespace r8

// gamma(x) for 16 <= x < xm.
double gamma_stirling(double x) {
  using namespace r8;
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
  using namespace r8;
  if (x <= 0)
    return argument_error(err::kDgammaRange, kOverflowD, _NaN_D);  // zero, negative: 251, NaN
  if (x < stirling) {
    const auto [k, f] = nearest_integer(x, bg);
    const ld g = 1 + f * horner(a, f) / horner_monic(b, f);  // gamma(2 + f)
    return result(static_cast<double>(gamma_from_shifted(g, x, k)));
  }
  if (x < xm) return result(gamma_stirling(x));
  if (x >= xm)
    return argument_error(err::kDgammaRange, kOverflowD, _Inf_D);  // overflow: 251, +infinity
  return result(x);                                                // a NaN
}

// Stirling's ln gamma(x) for 16 <= x < xmax, in the x87 register.
ld lgamma_stirling(double x) {
  using namespace r8;
  DoubleDouble lnx;
  ulx_gtlg(&lnx, &x);
  const ld y = 1 / ld{x};
  const ld log_x = ld{lnx.high} + lnx.low;
  return (ld{x} - 0.5L) * log_x - x + (ld{lr2p.high} + lr2p.low) + y * horner(p, y * y);
}

Attempt<double> lgamma_real8(double x) {
  using namespace r8;
  if (x <= 0)
    return argument_error(err::kDlgamaRange, kOverflowD, _NaN_D);  // zero, negative: 254, NaN
  if (x < stirling) {
    const auto [k, f] = nearest_integer(x, bg);
    const ld h = f * (0.5L + horner(la, f) / horner_monic(lb, f));  // ln gamma(2 + f)
    return result(static_cast<double>(lgamma_from_shifted(h, x, k)));
  }
  if (x < xmax) return result(static_cast<double>(lgamma_stirling(x)));
  if (x >= xmax)
    return argument_error(err::kDlgamaRange, kOverflowD, _Inf_D);  // overflow: 254, +infinity
  return result(x);                                                // a NaN
}

}  // namespace
}  // namespace vx

float g_gamma(const float *x) { return vx::resume_loop(vx::gamma_real4, *x); }
float g_lgamma(const float *x) { return vx::resume_loop(vx::lgamma_real4, *x); }
float g_algama(const float *x) { return vx::resume_loop(vx::lgamma_real4, *x); }
double g_dgamma(const double *x) { return vx::resume_loop(vx::gamma_real8, *x); }
double g_dlgama(const double *x) { return vx::resume_loop(vx::lgamma_real8, *x); }
