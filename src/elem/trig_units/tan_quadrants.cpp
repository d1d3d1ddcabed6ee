// Tangent and cotangent of an angle in quadrant units (one unit is a right
// angle, pi/2 radians): g_tanq, g_cotq (Real4), g_dtanq, g_dcotq (Real8).
//
// Method: |x| is taken apart as k right angles plus r, |r| <= 1/2, exactly
// (unit_trig.h), as for g_sinq. An even k gives the function's own kernel
// at r, an odd k minus the other one; the sign of x is applied last. r = 0
// gives an exact zero or a pole. From 2^23 / 2^52 on |x| is an integer;
// infinities and NaNs count as even integers, so their tangent is 0 and
// their cotangent a pole.
//
// Real4: the P and Q of the radian tangent, which are already the tangent
// and cotangent of r quadrant units (tan_quadrants4.h); P(r) holds its
// factor r, so the tangent at r is P(r) itself.
// Real8: tan = 2r + r A(s)/B(s) and cot = (e0 + C(s)/D(s))/r, s = r^2, the
// leading coefficients pi/2 and 2/pi held as the exact 2 and e0 plus the
// rationals' constant terms.
//
// Errors: 1355 (Real4) / 1356 (Real8), a pole: the tangent at an odd, the
// cotangent at an even integer (zero, infinities and NaNs included); the
// argument is reported as value, resume re-runs the function; default
// 3.40282002e+38 / 1.7976931348623011e+308, plus infinity with the
// infinity flag. A nonzero subnormal |x| whose cotangent exceeds the
// largest finite value gives an infinity without a report.
//
// Accuracy against MPFR (trig_units_test, which states why), by analysis
// of the kernels' errors and the one rounding: Real4 within 0.52 ulp, Real8
// within 0.65 ulp. Measured: 0.5197 over every Real4, 0.635 the largest in
// the random runs.
#include <cmath>
#include <type_traits>

#include "common/horner.h"
#include "elem/trig/tan_quadrants4.h"
#include "elem/trig_units/unit_trig.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

namespace r4 {

struct Tangent {
  static ld tan(ld r) { return tan_quadrants4::tangent(r); }
  static ld cot(ld r) { return tan_quadrants4::cotangent(r); }
  static Attempt<float> pole() { return argument_error(err::kTanqPole, kOverflowF, _Inf_F); }
};

}  // namespace r4

namespace r8 {

// tan = 2r + r A(s)/B(s), A = a0 + a1 s + ... + a4 s^4, B = b0 + b1 s +
// b2 s^2 + s^3.
constexpr double a0 = 111.58592943780367;     // 0x405BE57FDE2F4859
constexpr double a1 = -463.7225576613641;     // 0xC07CFB8F989F5087
constexpr double a2 = 69.99822993546842;      // 0x40517FE2FFCFAE67
constexpr double a3 = -1.9315489122564615;    // 0xBFFEE79FD50C4107
constexpr double a4 = 0.0002709310913854867;  // 0x3F31C1782D4DEC28
constexpr double b0 = -259.98363109180605;    // 0xC0703FBCF3F4AA2C
constexpr double b1 = 297.85946018929195;     // 0x40729DC05953D391
constexpr double b2 = -38.875829101485785;    // 0xC043701B2B01E21D
// cot = (e0 + C(s)/D(s))/r, C = c0 + c1 s + ... + c4 s^4, D = d0 + d1 s +
// d2 s^2 + s^3; e0 + c0/d0 is 2/pi.
constexpr double c0 = 14.92742796121569;     // 0x402DDAD7D675A27B
constexpr double c1 = 1946.532616347089;     // 0x409E6A21662E0040
constexpr double c2 = -320.93020086002963;   // 0xC0740EE21A4C089D
constexpr double c3 = 10.472971026923817;    // 0x4024F22942292FC9
constexpr double c4 = -0.04381226323784152;  // 0xBFA66E8F9B8A6125
constexpr double d0 = -3726.9861618829864;   // 0xC0AD1DF8EA35D7FA
constexpr double d1 = 1226.590630425474;     // 0x40932A5CCE38E5BC
constexpr double d2 = -77.71120373806976;    // 0xC0536D845CAEF35D
constexpr double e0 = 0.640625;              // 0x3FE4800000000000: 41/64

// A, B (monic), C, D (monic) as arrays for horner and horner_monic.
constexpr double A[] = {a0, a1, a2, a3, a4};
constexpr double B[] = {b0, b1, b2};
constexpr double C[] = {c0, c1, c2, c3, c4};
constexpr double D[] = {d0, d1, d2};

struct Tangent {
  static ld tan(ld r) {
    const ld s = r * r;
    return 2 * r + r * horner(A, s) / horner_monic(B, s);
  }
  static ld cot(ld r) {
    const ld s = r * r;
    return (e0 + horner(C, s) / horner_monic(D, s)) / r;
  }
  static Attempt<double> pole() { return argument_error(err::kDtanqPole, kOverflowD, _Inf_D); }
};

}  // namespace r8

// One attempt of the tangent (kCot false) or the cotangent.
template <class T, bool kCot>
Attempt<T> tan_cot_quadrants(T x) {
  using K = std::conditional_t<sizeof(T) == 4, r4::Tangent, r8::Tangent>;
  return unit_trig::tangent<T, kCot, K>(unit_trig::reduce_quadrants(std::fabs(x)), std::signbit(x),
                                        K::pole());
}

}  // namespace
}  // namespace vx

float g_tanq(const float *x) { return vx::resume_loop(vx::tan_cot_quadrants<float, false>, *x); }
float g_cotq(const float *x) { return vx::resume_loop(vx::tan_cot_quadrants<float, true>, *x); }
double g_dtanq(const double *x) {
  return vx::resume_loop(vx::tan_cot_quadrants<double, false>, *x);
}
double g_dcotq(const double *x) { return vx::resume_loop(vx::tan_cot_quadrants<double, true>, *x); }
