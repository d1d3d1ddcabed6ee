// Sine and cosine of an angle in quadrant units (one unit is a right angle,
// pi/2 radians): g_sinq, g_cosq (Real4), g_dsinq, g_dcosq (Real8).
//
// Method: |x| is taken apart as k right angles plus r, |r| <= 1/2, exactly
// (unit_trig.h): |x| itself up to 1/2, |x| - 1 up to 1, then k the nearest
// integer found by adding 2^23 (Real4) or 2^52 (Real8) in the argument's own
// precision. From 2^23 / 2^52 on |x| is an integer and the value comes from
// k mod 4 alone; infinities and NaNs count as multiples of 4. The series
// S(r) = sin(r pi/2) and C(r) = cos(r pi/2) give the value by k mod 4: sine
// S, C, -S, -C; cosine C, -S, -C, S; r = 0 gives the exact 0 or +-1. The
// series are evaluated in the 64-bit register and rounded once; the Real4
// functions evaluate them in Real8 arithmetic instead, with the same
// result for every Real4 (unit_trig.h, real4_rounding.h), and reduce with
// the single sum |x| + 2^23.
//
// No argument is reported: sinq(inf) = 0, cosq(inf) = 1 (and the same for
// NaNs, with the NaN's sign for the sine). Several other routines call these
// four entries directly.
//
// Accuracy against MPFR (trig_units_test, which states why), by analysis
// of the series' errors and the one rounding: Real4 within 0.51 ulp, Real8
// within 0.66 ulp. Measured: 0.5017 over every Real4, 0.643 the largest in
// the random runs.
#include <cmath>

#include "elem/trig_units/quadrant_series.h"
#include "elem/trig_units/unit_trig.h"

namespace vx {
namespace {

using ld = long double;

template <class T>
using KernelsOf = quadrant_series::KernelsOf<T>;

float sinq(float x) {
  return unit_trig::sine_real4<KernelsOf<float>>(unit_trig::reduce_quadrants4(std::fabs(x)),
                                                 std::signbit(x));
}

float cosq(float x) {
  return unit_trig::cosine_real4<KernelsOf<float>>(unit_trig::reduce_quadrants4(std::fabs(x)));
}

template <class T>
T sinq(T x) {
  const ld v = unit_trig::sine<KernelsOf<T>>(unit_trig::reduce_quadrants(std::fabs(x)));
  return static_cast<T>(std::signbit(x) ? -v : v);
}

template <class T>
T cosq(T x) {
  return static_cast<T>(unit_trig::cosine<KernelsOf<T>>(unit_trig::reduce_quadrants(std::fabs(x))));
}

}  // namespace
}  // namespace vx

float g_sinq(const float *x) { return vx::sinq(*x); }
float g_cosq(const float *x) { return vx::cosq(*x); }
double g_dsinq(const double *x) { return vx::sinq(*x); }
double g_dcosq(const double *x) { return vx::cosq(*x); }
