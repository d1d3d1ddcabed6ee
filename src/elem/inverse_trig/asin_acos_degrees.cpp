// Arc sine and arc cosine in degrees: g_asind, g_acosd (Real4), g_dasind,
// g_dacosd (Real8).
//
// Method: approximations of their own, with coefficients already in
// degrees (no radian result is converted), evaluated in the x87 register
// and rounded once to the result type. With v = 1 - |x|:
//   Real4  |x| <= 1/2       x A(s), s = x^2 (both functions; the arc
//                           cosine is 90 minus it);
//          1/2 < |x| <= rh  x B(s), with one B for the arc sine and one for
//                           the arc cosine;
//          rh < |x| <= 1    sqrt(v) P(v), the arc cosine of |x|;
//   Real8  |x| <= 1/2       x A(t) / B(t), t = 1/4 - x^2;
//          1/2 < |x| <= 1   sqrt(v) P(w) / Q(w), w = |x| - 1/2, the arc
//                           cosine of |x|.
// The Real4 forms are evaluated in Real8 arithmetic and rounded to Real4
// where that is certain to give the register's result, else in the
// register (real4_rounding.h): every Real4 result is the register's. The
// Real8 entries load the argument from memory straight into the register
// and take its range from its bits (inverse_trig.h). Where the processor
// has fused multiply-adds (common/cpu.h), they take a rounding bracket on
// SSE instead (arc_fma.h), with the same results; the register decides
// only the arguments it leaves open.
// The arc sine beyond the first range is 90 minus the arc cosine of |x|,
// signed by x; the arc cosine of a negative x is 180 minus that of |x|.
// Hence asind(+-1) = +-90, acosd(0) = 90, acosd(1) = 0 and acosd(-1) = 180
// exactly.
//
// The Real8 rationals are fitted in t = 1/4 - x^2 and w = |x| - 1/2, not in
// x^2 and v: A(0) / B(0) = 60 = asind(1/2) / (1/2) and P(0) / Q(0) =
// 60 sqrt(2) = acosd(1/2) / sqrt(1/2), while at the other end of the ranges
// they give 180/pi and the limit 180 sqrt(2) / pi of acosd(x) / sqrt(v) at
// x = 1.
//
// Errors (argument reported as value; with the infinity flag every default
// is a NaN):
//   1367 / 1368  |x| > 1 or NaN: arc sine +-90 by x > 0 (a NaN gives -90);
//                arc cosine 0 for x > 1, 180 for any other x.
//
// Accuracy against MPFR (inverse_trig_test, which states why), by analysis
// of the approximations' errors, their register evaluation and the one
// rounding: Real4 within 0.55 ulp; Real8 within 1.1 ulp, and 1.6 ulp for
// the arc sine above 1/2 (90 minus a biased rational, doubled next to
// 1/2).
#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/real4_rounding.h"
#include "common/x87.h"
#include "elem/inverse_trig/arc_fma.h"
#include "elem/inverse_trig/inverse_trig.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

namespace r4 {

constexpr float rh = 0.707106781f;  // 0x3F3504F3: sqrt(1/2)

// x A(s) = x (a0 + a1 s + ... + a6 s^6): asind x, |x| <= 1/2.
constexpr double a0 = 57.295779528;  // 0x404CA5DC1A83CB0C: 180/pi
constexpr double a1 = 9.549291015;   // 0x4023193CAC02D2C3
constexpr double a2 = 4.297529591;   // 0x401130AB98DBBFC0
constexpr double a3 = 2.549838962;   // 0x40046611F83EDA4A
constexpr double a4 = 1.827782014;   // 0x3FFD3E985A658D5F
constexpr double a5 = 0.810131189;   // 0x3FE9EC983E472FE2
constexpr double a6 = 2.170686627;   // 0x40015D90F346A2EB
// sqrt(v) P(v) = sqrt(v) (p0 + p1 v + ... + p5 v^5): acosd x, rh < x <= 1.
constexpr double p0 = 81.02846844;    // 0x405441D26D4AB129: 180 sqrt(2) / pi
constexpr double p1 = 6.752374874;    // 0x401B026E8F18A603
constexpr double p2 = 1.51918603;     // 0x3FF84E9602B63DBF
constexpr double p3 = 0.4535551724;   // 0x3FDD070C4618EFE4
constexpr double p4 = 0.145089285;    // 0x3FC2924923099A5E
constexpr double p5 = 0.08127948713;  // 0x3FB4CEBB830F1AD0

// x B(s) = x (b0 + b1 s + ... + b7 s^7): asind x, 1/2 < |x| <= rh.
namespace asin_b {
constexpr double b0 = 57.29046676;   // 0x404CA52E03C96336
constexpr double b1 = 9.664434218;   // 0x40235430B8C94E82
constexpr double b2 = 3.226709676;   // 0x4009D04D29A0DAA3
constexpr double b3 = 8.107719131;   // 0x40203726F64198DA
constexpr double b4 = -15.66087488;  // 0xC02F525E3138B223
constexpr double b5 = 34.51673532;   // 0x40414224620A0B47
constexpr double b6 = -35.31854757;  // 0xC041A8C62AB1AF65
constexpr double b7 = 19.04552005;   // 0x40330BA733B60FF2
}  // namespace asin_b

// 90 - x B(s) = 90 - x (b0 + b1 s + ... + b6 s^6): acosd x, 1/2 < |x| <= rh.
namespace acos_b {
constexpr double b0 = 57.30682659;   // 0x404CA74617FCCBEE
constexpr double b1 = 9.340944935;   // 0x4022AE9055A31FAA
constexpr double b2 = 5.940296804;   // 0x4017C2DD2A56DA71
constexpr double b3 = -4.41118335;   // 0xC011A50D3F83A38E
constexpr double b4 = 18.64819967;   // 0x4032A5F069DFED91
constexpr double b5 = -21.35001815;  // 0xC035599ACA1B41A5
constexpr double b6 = 14.73986611;   // 0x402D7ACFBB13BCCB
}  // namespace acos_b

// The evaluations below run in E: long double (the register) or double.
template <class E>
E asin_series(E x, E s) {
  return x * (a0 + s * (a1 + s * (a2 + s * (a3 + s * (a4 + s * (a5 + s * a6))))));
}

// acosd ax for rh < ax <= 1.
template <class E>
E acos_root(float ax) {
  const E v = 1 - E{ax};  // exact
  return square_root(v) * (p0 + v * (p1 + v * (p2 + v * (p3 + v * (p4 + v * p5)))));
}

// asind x for |x| <= 1.
template <class E>
E arcsin_value(float x) {
  const float ax = std::fabs(x);
  const E xe = x;
  const E s = xe * xe;
  if (ax <= 0.5f) return asin_series(xe, s);
  if (ax <= rh) {
    using namespace asin_b;
    return xe * (b0 + s * (b1 + s * (b2 + s * (b3 + s * (b4 + s * (b5 + s * (b6 + s * b7)))))));
  }
  const E r = 90 - acos_root<E>(ax);
  return x < 0 ? -r : r;
}

// acosd x for |x| <= 1.
template <class E>
E arccos_value(float x) {
  const float ax = std::fabs(x);
  const E xe = x;
  const E s = xe * xe;
  if (ax <= 0.5f) return 90 - asin_series(xe, s);
  if (ax <= rh) {
    using namespace acos_b;
    return 90 - xe * (b0 + s * (b1 + s * (b2 + s * (b3 + s * (b4 + s * (b5 + s * b6))))));
  }
  const E r = acos_root<E>(ax);
  return x > 0 ? r : 180 - r;
}

Attempt<float> arcsin(float x) {
  // |x| > 1 or NaN: error 1367, default +-90
  if (outside_arc_domain(x)) return arcsin_error(err::kAsindDomain, x, 90.0f);
  return result(via_real8<float>([x](auto e) { return arcsin_value<decltype(e)>(x); }));
}

Attempt<float> arccos(float x) {
  // |x| > 1 or NaN: error 1367, default 0 (x > 1) or 180
  if (outside_arc_domain(x)) return arccos_error(err::kAsindDomain, x, 180.0f);
  return result(via_real8<float>([x](auto e) { return arccos_value<decltype(e)>(x); }));
}

}  // namespace r4

// ---- Real8 -----------------------------------------------------------------

namespace r8 {

// x A(t) / B(t), t = 1/4 - x^2, A = a0 + a1 t + ... + a4 t^4,
// B = b0 + b1 t + ... + b4 t^4 + t^5: asind x, |x| <= 1/2.
constexpr double a0 = 41120.43221627929;   // 0x40E4140DD4B73C0B: a0 / b0 is 60
constexpr double a1 = 105728.48812409185;  // 0x40F9D007CF5B352E
constexpr double a2 = 88407.21073854952;   // 0x40F595735F2F62A3
constexpr double a3 = 26524.45143336623;   // 0x40D9E71CE448C612
constexpr double a4 = 2071.1651883632517;  // 0x40A02E549391B3B1
constexpr double b0 = 685.3405369379882;   // 0x40856AB96B6E1DEA
constexpr double b1 = 1902.8525597300802;  // 0x409DBB69056AFA53
constexpr double b2 = 1782.474677170776;   // 0x409BD9E611C5B290
constexpr double b3 = 644.9542641821329;   // 0x408427A25542700A
constexpr double b4 = 74.16145440473538;   // 0x40528A5544DB088D
// sqrt(v) P(w) / Q(w), v = 1 - x, w = x - 1/2, P = p0 + p1 w + ... + p4 w^4,
// Q = q0 + q1 w + ... + q4 w^4 + w^5: acosd x, 1/2 < x <= 1.
constexpr double p0 = 1860898.0837388965;  // 0x413C6522156FE98E: p0 / q0 is 60 sqrt(2)
constexpr double p1 = 2392362.3083943785;  // 0x414240952779778D
constexpr double p2 = 1000213.315715641;   // 0x412E862AA1A57B02
constexpr double p3 = 150044.945702257;    // 0x410250E790CC584D
constexpr double p4 = 5858.139627752877;   // 0x40B6E223BEA4F838
constexpr double q0 = 21930.89423514709;   // 0x40D56AB93B260DEC
constexpr double q1 = 30445.637342083905;  // 0x40DDBB68CA3673AF
constexpr double q2 = 14259.7960053086;    // 0x40CBD9E5E3807FF1
constexpr double q3 = 2579.816866128876;   // 0x40A427A23C46F977
constexpr double q4 = 148.3229026897477;   // 0x40628A5538058838

// asind x for |x| <= 1/2.
ld asin_series(ld x) {
  const ld t = 0.25L - x * x;
  const ld a = a0 + t * (a1 + t * (a2 + t * (a3 + t * a4)));
  const ld b = b0 + t * (b1 + t * (b2 + t * (b3 + t * (b4 + t))));
  return x * a / b;
}

// acosd ax for 1/2 < ax <= 1.
ld acos_root(ld ax) {
  const ld v = 1 - ax;     // exact
  const ld w = ax - 0.5L;  // exact
  const ld p = p0 + w * (p1 + w * (p2 + w * (p3 + w * p4)));
  const ld q = q0 + w * (q1 + w * (q2 + w * (q3 + w * (q4 + w))));
  return x87::fsqrt(v) * p / q;
}

// asind *x and acosd *x for |*x| <= 1, b the bits of *x. The argument goes
// from memory straight into the register (see inverse_trig.h).
[[gnu::always_inline]] inline double arcsin_value(const double *x, std::uint64_t b) {
  const ld xe = x87::fld(x);
  if (!beyond_half(b)) return static_cast<double>(asin_series(xe));
  const double r = static_cast<double>(90 - acos_root(std::fabs(xe)));  // 30 <= r <= 90
  return negative(b) ? -r : r;
}

[[gnu::always_inline]] inline double arccos_value(const double *x, std::uint64_t b) {
  const ld xe = x87::fld(x);
  if (!beyond_half(b)) return static_cast<double>(90 - asin_series(xe));
  const ld r = acos_root(std::fabs(xe));
  return static_cast<double>(negative(b) ? 180 - r : r);
}

Attempt<double> arcsin(double x) {
  // |x| > 1 or NaN: error 1368, default +-90
  if (outside_arc_domain(x)) return arcsin_error(err::kDasindDomain, x, 90.0);
  return result(arcsin_value(&x, bits(x)));
}

Attempt<double> arccos(double x) {
  // |x| > 1 or NaN: error 1368, default 0 (x > 1) or 180
  if (outside_arc_domain(x)) return arccos_error(err::kDasindDomain, x, 180.0);
  return result(arccos_value(&x, bits(x)));
}

}  // namespace r8

// ---- Real8 with fused multiply-adds ---------------------------------------

// What arc_fma.h needs of the degrees.
struct DegreesFma {
  static constexpr const arc_fma_table::Series &series = arc_fma_table::degrees::series;
  static constexpr const auto &arcsin = arc_fma_table::degrees::arcsin;
  static constexpr const auto &kernel = arc_fma_table::degrees::kernel;
  static constexpr double quarter = 90, quarter_low = 0;
  static constexpr double half = 180, half_low = 0;
  static constexpr double slack = 0x1p-60;
  static constexpr bool two_rationals = false;
  static double kernel_variable(double ax) { return ax - 0.5; }  // w, exact
  // the arc sine takes its rational up to 1/2, the arc cosine up to 1/2
  static constexpr bool arcsin_by_series(std::uint64_t b) { return !beyond_half(b); }
  static constexpr bool arccos_by_series(std::uint64_t b) { return !beyond_half(b); }
  static constexpr auto arcsin_register = r8::arcsin_value;
  static constexpr auto arccos_register = r8::arccos_value;
};

}  // namespace
}  // namespace vx

float g_asind(const float *x) { return vx::resume_loop(vx::r4::arcsin, *x); }
float g_acosd(const float *x) { return vx::resume_loop(vx::r4::arccos, *x); }
double g_dasind(const double *x) { return vx::arcsin_entry<vx::DegreesFma, vx::r8::arcsin>(x); }
double g_dacosd(const double *x) { return vx::arccos_entry<vx::DegreesFma, vx::r8::arccos>(x); }
