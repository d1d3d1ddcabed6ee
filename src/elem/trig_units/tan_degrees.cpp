// Tangent and cotangent of an angle in degrees: g_tand, g_cotd (Real4),
// g_dtand, g_dcotd (Real8).
//
// Method: |x| is taken apart as q right angles plus r, |r| <= 45, exactly
// (unit_trig.h). An even q gives the function's own kernel at r, an odd q
// minus the other one (tan(90 + r) = -cot r); the sign of x is applied
// last. r = 0 gives an exact zero or a pole: tand(180) = 0, tand(90) and
// cotd(0) are poles. The odd multiples of 45 come out as exactly +-1.
//
// Real4: tan(r deg) = r P(r^2), cot(r deg) = Q(r^2)/r (series P = p0 +
// ... + p7 s^7, Q = q0 + ... + q5 s^5 in degrees).
//
// Real8: tan(r deg) = r/64 + r A(s)/B(s) and cot(r deg) = (c0 + c1 s + ...
// + c9 s^9)/r (tables/tan_degrees_table.h). For 90 < |x| <= about 1e13 a table
// step replaces the kernels: |x|/90 is rounded to a multiple of 1/256, the
// exact remainder r (|r| <= 90/512) goes to the short tangent G, and the
// tangent of the table angle j 90/256 degrees, which is tblp[j] = tan(j
// pi/512) of the radian tangent, joins it by the addition formula.
//
// Errors (argument reported as value; resume re-runs the function):
//   1363 / 1364  |x| >= 47200000.0 / 2.03e17, infinities and NaNs:
//                default 1.0, NaN with the infinity flag
//   1365 / 1366  a pole (tangent at an odd, cotangent at an even multiple
//                of 90, zero included): default 3.40282002e+38 /
//                1.7976931348623011e+308, plus infinity with the flag
// Only x = 0 is the cotangent's pole: a nonzero |x| below 180/pi over the
// largest finite value overflows to an infinity without a report.
//
// Accuracy against MPFR (trig_units_test, which states why), by analysis
// of the kernels' errors and the one rounding: Real4 within 0.52 ulp, Real8
// within 0.6 ulp and 0.7 ulp in the table step. Measured: 0.5196 over every
// Real4; 0.555 and 0.663 the largest in the random runs.
#include <cmath>
#include <cstdint>

#include "common/horner.h"
#include "elem/trig/tables/tan_table.h"
#include "elem/trig_units/tables/tan_degrees_table.h"
#include "elem/trig_units/unit_trig.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;
using unit_trig::Quarter;

// ---- Real4 -----------------------------------------------------------------

namespace r4 {

// r P(s), s = r^2: tan(r deg), |r| <= 45.
constexpr double p0 = 0.0174532924995;     // 0x3F91DF46A1F8B41E: pi/180
constexpr double p1 = 1.77219359609e-06;   // 0x3EBDBB83772FAB3A
constexpr double p2 = 2.15923124685e-10;   // 0x3DEDAD1E9B951DAD
constexpr double p3 = 2.66751286704e-14;   // 0x3D1E0895163CC18D
constexpr double p4 = 3.19150057344e-18;   // 0x3C4D6FB7B9286FA2
constexpr double p5 = 5.00452247843e-22;   // 0x3B82E813C02E8F37
constexpr double p6 = -2.19241648731e-28;  // 0xBA315EBFB955D56A
constexpr double p7 = 1.87841259919e-29;   // 0x39F7CFCC225109A3
// Q(s) / r: cot(r deg).
constexpr double q0 = 57.2957795189;       // 0x404CA5DC1A704045: 180/pi
constexpr double q1 = -0.00581776433294;   // 0xBF77D45E38BBA5F2
constexpr double q2 = -1.18145267572e-07;  // 0xBE7FB6E1870349ED
constexpr double q3 = -3.42936552326e-12;  // 0xBD8E2A3EA12469FA
constexpr double q4 = -1.02752220121e-16;  // 0xBC9D9DC68FB54033
constexpr double q5 = -3.90192621854e-21;  // 0xBBB26D23AC8FA7EC

constexpr double tangent[] = {p0, p1, p2, p3, p4, p5, p6, p7};
constexpr double cotangent[] = {q0, q1, q2, q3, q4, q5};

struct Kernels {
  static ld tan(ld r) { return r * horner(tangent, r * r); }
  static ld cot(ld r) { return horner(cotangent, r * r) / r; }
};

Attempt<float> pole() { return argument_error(err::kTandPole, kOverflowF, _Inf_F); }

// One attempt of g_tand (kCot false) or g_cotd (kCot true).
template <bool kCot>
Attempt<float> tan_cot(float x) {
  const float ax = std::fabs(x);
  // |x| >= 47200000, infinities and NaNs: error 1363, default 1.0.
  if (bits(ax) >= bits(unit_trig::Degrees<float>::xmax))
    return argument_error(err::kTandRange, 1.0f, _NaN_F);
  return unit_trig::tangent<float, kCot, Kernels>(unit_trig::reduce_degrees(ax), std::signbit(x),
                                                  pole());
}

}  // namespace r4

// ---- Real8 -----------------------------------------------------------------

namespace r8 {

using Degrees = unit_trig::Degrees<double>;
constexpr double bg8 = 17592186044416.0;         // 0x42B0000000000000: 2^44, rounds to 1/256
constexpr std::uint32_t kTableEnd = 0x42a2309c;  // high word of 1e13: end of the table step

// G(r) = r (g1 + g2 s + g3 s^2): tan(r deg), |r| <= 90/512.
constexpr double g1 = 0.017453292519943295;   // 0x3F91DF46A2529D39: pi/180
constexpr double g2 = 1.772192311388298e-06;  // 0x3EBDBB820D9327B8
constexpr double g3 = 2.159374936861102e-10;  // 0x3DEDADA0083E4533

// The rational tangent's numerator and monic denominator, the cotangent
// series without its leading c0 (tables/tan_degrees_table.h), and G.
constexpr double numerator[] = {tan_degrees8::a0, tan_degrees8::a1, tan_degrees8::a2,
                                tan_degrees8::a3, tan_degrees8::a4};
constexpr double denominator[] = {tan_degrees8::b0, tan_degrees8::b1, tan_degrees8::b2};
constexpr double cotangent[] = {tan_degrees8::c1, tan_degrees8::c2, tan_degrees8::c3,
                                tan_degrees8::c4, tan_degrees8::c5, tan_degrees8::c6,
                                tan_degrees8::c7, tan_degrees8::c8, tan_degrees8::c9};
constexpr double short_tangent[] = {g1, g2, g3};

struct Kernels {
  // r/64 + r A(s)/B(s): the leading term r pi/180 as the exact r/64 and the
  // rest of the rational.
  static ld tan(ld r) {
    const ld s = r * r;
    return r * 0.015625L + r * horner(numerator, s) / horner_monic(denominator, s);
  }
  static ld cot(ld r) {
    const ld s = r * r;
    return (s * horner(cotangent, s) + tan_degrees8::c0) / r;
  }
};

Attempt<double> pole() { return argument_error(err::kDtandPole, kOverflowD, _Inf_D); }

// Table step for 90 < |x| <= about 1e13: |x| = 90 (m/256) + r, m the low
// word of n, r exact (90 m/256 has at most 52 bits) and |r| <= 90/512.
// The angle within its right angle is (j/256) 90 + r (bit 7 of m clear)
// or 90 - ((128 - j)/256) 90 + r (bit 7 set), j = m mod 128; bit 8 is the
// parity of q. With t = G(r) and T + L the table entry, the tangent of
// that angle is num/den:
//   lower half: (t + L + T) / (1 - T t)        (tan(phi + r))
//   upper half: (T t + 1) / (T - (t - L))      (cot(phi - r))
// and minus its reciprocal, -den/num, is the tangent one right angle on.
// Only a multiple of 90 makes num or den zero (t and T share no other
// zero, and T >= tan(90/256 deg) > |t| in the upper half): that case is
// left to the exact values of unit_trig::tangent.
template <bool kCot>
Attempt<double> table_step(double ax, bool negative) {
  // Stored: |x|/90 to a multiple of 1/256.
  const double n = static_cast<double>(ld{ax} * Degrees::r90 + bg8);
  const ld r = ld{ax} - (n - bg8) * ld{90};
  const std::uint32_t m = low_word(n);
  if (r == 0 && (m & 255) == 0) {  // a multiple of 90: exact zero or pole
    return unit_trig::tangent<double, kCot, Kernels>({m >> 8, 0}, negative, pole());
  }
  const ld t = r * horner(short_tangent, r * r);
  const bool upper = (m & 128) != 0;
  const DoubleDouble &e = tblp[upper ? 128 - (m & 127) : m & 127];
  const ld T = e.high, L = e.low;
  const ld num = upper ? T * t + 1 : t + L + T;
  const ld den = upper ? T - (t - L) : 1 - T * t;
  const bool odd = (m & 256) != 0;
  // tan: num/den (even q), -den/num (odd q); cot: the negated opposites.
  ld v = odd == kCot ? num / den : -den / num;
  if (kCot) v = -v;
  return result(static_cast<double>(negative ? -v : v));
}

// One attempt of g_dtand (kCot false) or g_dcotd (kCot true).
template <bool kCot>
Attempt<double> tan_cot(double x) {
  const double ax = std::fabs(x);
  const bool negative = std::signbit(x);
  // |x| >= 2.03e17, infinities and NaNs: error 1364, default 1.0.
  if (bits(ax) >= bits(Degrees::xmax)) return argument_error(err::kDtandRange, 1.0, _NaN_D);
  const std::uint32_t h = high_word(ax);
  if (h > Degrees::k90 && h <= kTableEnd) return table_step<kCot>(ax, negative);
  return unit_trig::tangent<double, kCot, Kernels>(unit_trig::reduce_degrees(ax), negative, pole());
}

}  // namespace r8

}  // namespace
}  // namespace vx

float g_tand(const float *x) { return vx::resume_loop(vx::r4::tan_cot<false>, *x); }
float g_cotd(const float *x) { return vx::resume_loop(vx::r4::tan_cot<true>, *x); }
double g_dtand(const double *x) { return vx::resume_loop(vx::r8::tan_cot<false>, *x); }
double g_dcotd(const double *x) { return vx::resume_loop(vx::r8::tan_cot<true>, *x); }
