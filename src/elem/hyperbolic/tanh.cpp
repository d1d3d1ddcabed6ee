// Hyperbolic tangent: g_tanh (Real4), g_dtanh (Real8). Neither reports.
//
// Method, on a = |x| (the result takes the sign of x):
//   a <= 1: a rational form x + x s P(s) / Q(s), s = x^2 (Real4 degree 1
//     over 2 in s, Real8 3 over 4), evaluated in the x87 register;
//   beyond: tanh a = 1 - 2e / (e + 1) with e = e^(-2a) from the
//     processor's F2XM1 and FSCALE (the kernel of g_exp and g_dexp, whose
//     result stays in the register), up to 9.0 (Real4) or 18.369 (Real8);
//     from there on the result is 1.0.
//
// Special cases: a NaN fails every range test of g_tanh and gives 1.0; in
// g_dtanh it takes the exponential branch and gives a NaN. Both zeros give
// +0: the rational form adds a correction term of +0 to x.
//
// Accuracy against MPFR (hyperbolic_test), by analysis: Real4 within 0.8
// ulp (the rational form is 0.28 ulp from tanh); Real8 within 0.55 ulp
// below 18.369, where the 1.0 that follows is 2 ulp from tanh 18.369 (the
// gap closes at 19.06, where tanh rounds to 1).
#include <vexmorg/vexmorg.h>

#include <cmath>

#include "elem/exp_log/exp_kernel.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

// tanh x = x + (p2 s + p1) s x / ((s + q1) s + q0), |x| <= 1.
constexpr float p1 = -21.210161f;   // 0xC1A9AE69
constexpr float p2 = -0.93430138f;  // 0xBF6F2E60
constexpr float q0 = 63.630489f;    // 0x427E859F
constexpr float q1 = 28.255085f;    // 0x41E20A6A
constexpr float xmax = 9.0f;        // 0x41100000: from here tanh rounds to 1.0

float tanh4(float x) {
  const float a = std::fabs(x);
  if (a <= 1) {
    const ld s = ld{x} * x;
    return static_cast<float>(x + (p2 * s + p1) * s * x / ((s + q1) * s + q0));
  }
  ld t = 1;        // |x| >= 9.0 or NaN
  if (a < xmax) {  // 1 < |x| < 9
    const ld e = exp_x87(-2 * ld{a});
    t = 1 - 2 * e / (e + 1);
  }
  return static_cast<float>(x < 0 ? -t : t);
}

// ---- Real8 -----------------------------------------------------------------

// tanh x = x + x s N(s) / D(s), |x| <= 1, D monic.
constexpr double n0 = -257446.81508084596;  // 0xC10F6D3685491B48
constexpr double n1 = -18158.832069902594;  // 0xC0D1BBB540A21EE8
constexpr double n2 = -287.60231921162375;  // 0xC071F9A319783AD3
constexpr double n3 = -0.9778922952118113;  // 0xBFEF4AE4C85E3E51
constexpr double d0 = 772340.4452425379;    // 0x412791E8E3F6D476
constexpr double d1 = 363412.67430672294;   // 0x41162E52B27D762A
constexpr double d2 = 21182.28078391318;    // 0x40D4AF91F85D1716
constexpr double d3 = 309.67502337003697;   // 0x40735ACCE54E2583
constexpr double dswitch = 18.369;          // 0x40325E76C8B43958: from here 1.0

double tanh8(double x) {
  const double a = std::fabs(x);
  if (a <= 1) {
    const ld s = ld{x} * x;
    const ld n = n0 + s * (n1 + s * (n2 + s * n3));
    const ld d = d0 + s * (d1 + s * (d2 + s * (d3 + s)));
    return static_cast<double>(x + x * s * n / d);
  }
  ld t = 1;                        // |x| >= 18.369
  if (!(a >= dswitch)) {           // 1 < |x| < 18.369, or NaN
    const ld e = exp_x87(-2 * a);  // g_dexp(-2|x|) as the register holds it
    t = 1 - 2 * e / (e + 1);
  }
  return static_cast<double>(x < 0 ? -t : t);
}

}  // namespace
}  // namespace vx

float g_tanh(const float *x) { return vx::tanh4(*x); }
double g_dtanh(const double *x) { return vx::tanh8(*x); }
