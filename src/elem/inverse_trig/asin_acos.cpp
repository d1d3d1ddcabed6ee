// Radian arc sine and arc cosine: g_asin, g_acos (Real4), g_dasin, g_dacos
// (Real8).
//
// Method, in the x87 register, rounded once to the result type at the end:
//   |x| <= 1/2        arc sine series in s = x^2: Real4 x (1 + s A(s)),
//                     Real8 x + x s A(s) / B(s);
//   1/2 < |x| <= rh   a second fit for the arc sine: Real4 x B(s), Real8
//                     x + x C(s) / D(s);
//   rh < |x| <= 1     the arc cosine of |x| as sqrt(v) times a series in
//                     v = 1 - |x| (Real4 sqrt(v) P(v), Real8 sqrt(v) +
//                     sqrt(v) P(v) / Q(v)).
// The Real4 functions take the same steps in Real8 arithmetic (SQRTSD for
// FSQRT) and round that to Real4 where it is certain to give the
// register's result; near a Real4 half-way point the register's steps
// decide (real4_rounding.h), so every Real4 result is the register's. The
// Real8 entries load the argument from memory straight into the register
// and take its range from its bits (inverse_trig.h). Where the processor
// has fused multiply-adds (common/cpu.h), they take a rounding bracket on
// SSE instead (arc_fma.h), with the same results; the register decides
// only the arguments it leaves open.
// The arc cosine is pi/2 minus the arc sine below rh; at and above rh it
// is the sqrt(v) form, and pi minus it for negative x. The arc sine above
// rh is pi/2 minus that form. rh is sqrt(1/2) rounded to the type.
//
// Errors (argument reported as value; with the infinity flag every default
// is a NaN):
//   217 / 218  |x| > 1 or NaN: arc sine +-pi/2 by x > 0 (a NaN gives
//              -pi/2); arc cosine 0 for x > 1, pi for any other x.
//
// Constants. pi/2 and pi are quoted as 1.5707963272 and 3.1415926536 for
// the Real4 forms; the nearest Real8 values are used, so that they add
// nothing to the error of a Real4 result (a Real4 pi/2 would add up to 0.7
// ulp next to rh). The Real8 forms add pi/2 and pi as a head and a tail
// (math_constants.h).
// The Real8 arc cosine form reads sqrt(v) + sqrt(v) P(v) / Q(v): P(0) / Q(0)
// is sqrt(2) - 1, so the sqrt(v) term is the leading one.
//
// Accuracy against MPFR (inverse_trig_test, which states why), by analysis
// of the approximations' errors, their register evaluation and the one
// rounding: Real4 within 0.7 ulp, Real8 within 0.8 ulp.
#include <bit>
#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/math_constants.h"
#include "common/real4_rounding.h"
#include "common/x87.h"
#include "elem/inverse_trig/arc_fma.h"
#include "elem/inverse_trig/inverse_trig.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

namespace r4 {

constexpr float rh = 0.70710677f;  // 0x3F3504F3: sqrt(1/2)
constexpr double hpi = kHalfPi;
constexpr double pi = kPi;
constexpr float hpi_default = 1.5707964f;  // 0x3FC90FDB: pi/2 rounded to Real4
constexpr float pi_default = 3.1415927f;   // 0x40490FDB: pi rounded to Real4

// The coefficients are Real4 values (the hex is their Real4 pattern), held
// as Real8 so that the register and Real8 evaluations take them alike.
// asin x = x (1 + s (a1 + a2 s + ... + a5 s^4)), |x| <= 1/2.
constexpr double a1 = 0.16666791f;   // 0x3E2AAAFE
constexpr double a2 = 0.074944347f;  // 0x3D997C6C
constexpr double a3 = 0.045550179f;  // 0x3D3A92D3
constexpr double a4 = 0.023858188f;  // 0x3CC3723F
constexpr double a5 = 0.042635631f;  // 0x3D2EA2B3
// asin x = x (1 + b0 + b1 s + ... + b6 s^6), 1/2 < |x| <= rh.
constexpr double b0 = 0.00019281065f;  // 0x394A2D37
constexpr double b1 = 0.16303021f;     // 0x3E26F164
constexpr double b2 = 0.103678f;       // 0x3DD45522
constexpr double b3 = -0.076990493f;   // 0xBD9DAD31
constexpr double b4 = 0.3254739f;      // 0x3EA6A484
constexpr double b5 = -0.37262934f;    // 0xBEBEC946
constexpr double b6 = 0.2572596f;      // 0x3E83B788
// acos x = sqrt(v) (1 + p0 + p1 v + ... + p4 v^4), v = 1 - x, rh <= x <= 1.
constexpr double p0 = 0.41421357f;    // 0x3ED413CD: 1 + p0 is sqrt(2)
constexpr double p1 = 0.11785014f;    // 0x3DF15B6A
constexpr double p2 = 0.026542842f;   // 0x3CD97060
constexpr double p3 = 0.0076487437f;  // 0x3BFAA250
constexpr double p4 = 0.0035728686f;  // 0x3B6A26CA

// asin x for |x| <= rh, evaluated in E (long double: the register).
template <class E>
E asin_series(float x) {
  const E xe = x;
  const E s = xe * xe;
  if (std::fabs(x) <= 0.5f) return xe * (1 + s * (a1 + s * (a2 + s * (a3 + s * (a4 + s * a5)))));
  return xe * (E{1} + b0 + s * (b1 + s * (b2 + s * (b3 + s * (b4 + s * (b5 + s * b6))))));
}

// acos ax for rh <= ax <= 1, evaluated in E.
template <class E>
E acos_root(float ax) {
  const E v = 1 - E{ax};  // exact
  return square_root(v) * (E{1} + p0 + v * (p1 + v * (p2 + v * (p3 + v * p4))));
}

// asin x and acos x for |x| <= 1, evaluated in E.
template <class E>
E arcsin_value(float x) {
  const float ax = std::fabs(x);
  if (ax <= rh) return asin_series<E>(x);
  const E r = hpi - acos_root<E>(ax);
  return x < 0 ? -r : r;
}

template <class E>
E arccos_value(float x) {
  const float ax = std::fabs(x);
  if (ax < rh) return hpi - asin_series<E>(x);
  const E r = acos_root<E>(ax);
  return x < 0 ? pi - r : r;
}

Attempt<float> arcsin(float x) {
  // |x| > 1 or NaN: error 217, default +-pi/2
  if (outside_arc_domain(x)) return arcsin_error(err::kAsinDomain, x, hpi_default);
  return result(via_real8<float>([x](auto e) { return arcsin_value<decltype(e)>(x); }));
}

Attempt<float> arccos(float x) {
  // |x| > 1 or NaN: error 217, default 0 (x > 1) or pi
  if (outside_arc_domain(x)) return arccos_error(err::kAsinDomain, x, pi_default);
  return result(via_real8<float>([x](auto e) { return arccos_value<decltype(e)>(x); }));
}

}  // namespace r4

// ---- Real8 -----------------------------------------------------------------

namespace r8 {

constexpr double rh = 0.7071067811865476;  // 0x3FE6A09E667F3BCD: sqrt(1/2)
constexpr double hp1 = kHalfPi;            // pi/2 head
constexpr double hp2 = kHalfPiLow;         // pi/2 - hp1
constexpr double pi1 = kPi;                // pi head
constexpr double pi2 = kPiLow;             // pi - pi1

// asin x = x + x s A(s) / B(s), |x| <= 1/2, A = a1 + a2 s + ... + a5 s^4,
// B = b0 + b1 s + b2 s^2 + b3 s^3 + s^4.
constexpr double a1 = 3.614278101483137;     // 0x400CEA0AA3242700
constexpr double a2 = -6.459201907684824;    // 0xC019D639065F118B
constexpr double a3 = 3.5080564238000966;    // 0x400C107FE2E5F3FB
constexpr double a4 = -0.5642940339625301;   // 0xBFE20EB25CA64DA9
constexpr double a5 = 0.005878063057431393;  // 0x3F7813988987244D
constexpr double b0 = 21.68566860889831;     // 0x4035AF87FA5B1CB0
constexpr double b1 = -48.513762320053395;   // 0xC04841C2F6B545F1
constexpr double b2 = 37.07087034958211;     // 0x404289124794DB0A
constexpr double b3 = -11.026014708098247;   // 0xC0260D51CCC0FE71
// asin x = x + x C(s) / D(s), 1/2 < |x| <= rh, C = c0 + c1 s + ... + c5 s^5,
// D = d0 + d1 s + ... + d4 s^4 + s^5.
constexpr double c0 = -2.9337113789701198e-09;  // 0xBE29334CAF23FB90
constexpr double c1 = -13.010108037691234;      // 0xC02A052CE1769F05
constexpr double c2 = 30.273171587675083;       // 0x403E45EE92BB42C9
constexpr double c3 = -24.065314885421614;      // 0xC03810B879F0D3EC
constexpr double c4 = 7.382121834580398;        // 0x401D874AF23A70FB
constexpr double c5 = -0.6604179821333029;      // 0xBFE52224E45E7DBC
constexpr double d0 = -78.06064870727668;       // 0xC05383E1AB1D9313
constexpr double d1 = 216.76632724636363;       // 0x406B1885C0B7A54C
constexpr double d2 = -221.02767465604543;      // 0xC06BA0E2B5F5D495
constexpr double d3 = 99.92275963114773;        // 0x4058FB0E7E69764E
constexpr double d4 = -18.76080406637674;       // 0xC032C2C40E27C07D
// acos x = sqrt(v) + sqrt(v) P(v) / Q(v), v = 1 - x, rh <= x <= 1,
// P = p0 + p1 v + ... + p4 v^4, Q = q0 + q1 v + q2 v^2 + q3 v^3 + v^4.
constexpr double p0 = 381.04888728363596;   // 0x4077D0C83E084682: p0 / q0 is sqrt(2) - 1
constexpr double p1 = -270.0958785644958;   // 0xC070E188B7F62E5A
constexpr double p2 = 39.33262011832943;    // 0x4043AA934BC91BB8
constexpr double p3 = 3.7062731896116072;   // 0x400DA6728EDB633F
constexpr double p4 = -0.5205674656916033;  // 0xBFE0A87D1A1039A8
constexpr double q0 = 919.9333916073307;    // 0x408CBF779604DEC5
constexpr double q1 = -913.8065550136159;   // 0xC08C8E73D31D6F3E
constexpr double q2 = 296.06065281142884;   // 0x407280F86F1517F5
constexpr double q3 = -34.31514791522208;   // 0xC0412856C452A405

// asin x for |x| <= rh.
[[gnu::always_inline]] inline ld asin_series(ld x) {
  const ld s = x * x;
  if (std::fabs(x) <= 0.5L) {
    const ld a = a1 + s * (a2 + s * (a3 + s * (a4 + s * a5)));
    const ld b = b0 + s * (b1 + s * (b2 + s * (b3 + s)));
    return x + x * s * a / b;
  }
  const ld c = c0 + s * (c1 + s * (c2 + s * (c3 + s * (c4 + s * c5))));
  const ld d = d0 + s * (d1 + s * (d2 + s * (d3 + s * (d4 + s))));
  return x + x * c / d;
}

// acos ax for rh <= ax <= 1.
[[gnu::always_inline]] inline ld acos_root(ld ax) {
  const ld v = 1 - ax;  // exact
  const ld r = x87::fsqrt(v);
  const ld p = p0 + v * (p1 + v * (p2 + v * (p3 + v * p4)));
  const ld q = q0 + v * (q1 + v * (q2 + v * (q3 + v)));
  return r + r * p / q;
}

// pi/2 - r and pi - r, the head added last.
ld hpi_minus(ld r) { return (hp2 - r) + hp1; }
ld pi_minus(ld r) { return (pi2 - r) + pi1; }

constexpr std::uint64_t rh_bits = std::bit_cast<std::uint64_t>(rh);
static_assert(rh_bits == 0x3fe6a09e667f3bcd);

// asin *x and acos *x for |*x| <= 1, b the bits of *x: the argument goes
// from memory straight into the register (see inverse_trig.h), the ranges
// as in r4's arcsin_value and arccos_value.
[[gnu::always_inline]] inline double arcsin_value(const double *x, std::uint64_t b) {
  const ld xe = x87::fld(x);
  if ((b & kMagnitude) <= rh_bits) return static_cast<double>(asin_series(xe));
  const double r = static_cast<double>(hpi_minus(acos_root(std::fabs(xe))));
  return negative(b) ? -r : r;
}

[[gnu::always_inline]] inline double arccos_value(const double *x, std::uint64_t b) {
  const ld xe = x87::fld(x);
  if ((b & kMagnitude) < rh_bits) return static_cast<double>(hpi_minus(asin_series(xe)));
  const ld r = acos_root(std::fabs(xe));
  return static_cast<double>(negative(b) ? pi_minus(r) : r);
}

Attempt<double> arcsin(double x) {
  // |x| > 1 or NaN: error 218, default +-pi/2
  if (outside_arc_domain(x)) return arcsin_error(err::kDasinDomain, x, hp1);
  return result(arcsin_value(&x, bits(x)));
}

Attempt<double> arccos(double x) {
  // |x| > 1 or NaN: error 218, default 0 (x > 1) or pi
  if (outside_arc_domain(x)) return arccos_error(err::kDasinDomain, x, pi1);
  return result(arccos_value(&x, bits(x)));
}

}  // namespace r8

// ---- Real8 with fused multiply-adds ---------------------------------------

// What arc_fma.h needs of the radians: pi/2 and pi as head and tail, the
// arc sine's two rationals, the kernel from sqrt(1/2) on.
struct RadiansFma {
  static constexpr const arc_fma_table::Series &series = arc_fma_table::radians::series;
  static constexpr const auto &arcsin = arc_fma_table::radians::arcsin;
  static constexpr const auto &arcsin_high = arc_fma_table::radians::arcsin_high;
  static constexpr const auto &kernel = arc_fma_table::radians::kernel;
  static constexpr double quarter = r8::hp1, quarter_low = r8::hp2;
  static constexpr double half = r8::pi1, half_low = r8::pi2;
  static constexpr double slack = 0x1p-61;
  static constexpr bool two_rationals = true;
  static double kernel_variable(double ax) { return 1 - ax; }  // v, exact
  // the arc sine takes its rationals up to sqrt(1/2), the arc cosine below
  static constexpr bool arcsin_by_series(std::uint64_t b) {
    return (b & kMagnitude) <= r8::rh_bits;
  }
  static constexpr bool arccos_by_series(std::uint64_t b) { return (b & kMagnitude) < r8::rh_bits; }
  static constexpr auto arcsin_register = r8::arcsin_value;
  static constexpr auto arccos_register = r8::arccos_value;
};

}  // namespace
}  // namespace vx

float g_asin(const float *x) { return vx::resume_loop(vx::r4::arcsin, *x); }
float g_acos(const float *x) { return vx::resume_loop(vx::r4::arccos, *x); }
double g_dasin(const double *x) { return vx::arcsin_entry<vx::RadiansFma, vx::r8::arcsin>(x); }
double g_dacos(const double *x) { return vx::arccos_entry<vx::RadiansFma, vx::r8::arccos>(x); }
