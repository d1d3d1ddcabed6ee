// Hyperbolic functions and sine-cosine pairs beside glibc's. A pair is
// measured as one call storing both values; its reference computes the
// same two values the way a program would otherwise (sincosf/sincos, or
// sinh and cosh), and both sides return their sum so that neither half is
// optimised away.
#include <vexmorg/vexmorg.h>

#include <cmath>

#include "bench.h"

namespace {

const auto args4 = bench::uniform<float>(-5.0f, 5.0f);
const auto large4 = bench::uniform<float>(-80.0f, 80.0f);
const auto args8 = bench::uniform<double>(-5.0, 5.0);
const auto large8 = bench::uniform<double>(-700.0, 700.0);
const auto quadrant4 = bench::uniform<float>(-3.0f, 3.0f);
const auto quadrant8 = bench::uniform<double>(-3.0, 3.0);

constexpr float kHalfPiF = 1.57079637f;
constexpr double kHalfPi = 1.5707963267948966;

float g_sinh_large(const float *x) { return g_sinh(x); }
double g_dsinh_large(const double *x) { return g_dsinh(x); }

template <class C, class T, C *(*kPair)(C *, const T *)>
T sum_of(const T *x) {
  C r;
  kPair(&r, x);
  return r.re + r.im;
}
float g_scns_pair(const float *x) { return sum_of<Complex8, float, g_scns>(x); }
float g_scnsq_pair(const float *x) { return sum_of<Complex8, float, g_scnsq>(x); }
float g_scnh_pair(const float *x) { return sum_of<Complex8, float, g_scnh>(x); }
float g_scnhq_pair(const float *x) { return sum_of<Complex8, float, g_scnhq>(x); }
double g_dscn_pair(const double *x) { return sum_of<Complex16, double, g_dscn>(x); }
double g_dscnq_pair(const double *x) { return sum_of<Complex16, double, g_dscnq>(x); }
double g_dsch_pair(const double *x) { return sum_of<Complex16, double, g_dsch>(x); }
double g_dschq_pair(const double *x) { return sum_of<Complex16, double, g_dschq>(x); }

float sincosf_sum(float x) {
  float s, c;
  sincosf(x, &s, &c);
  return s + c;
}
double sincos_sum(double x) {
  double s, c;
  sincos(x, &s, &c);
  return s + c;
}
float sinhf_coshf(float x) { return sinhf(x) + coshf(x); }
double sinh_cosh(double x) { return sinh(x) + cosh(x); }
float sincosf_halfpi(float x) { return sincosf_sum(kHalfPiF * x); }
double sincos_halfpi(double x) { return sincos_sum(kHalfPi * x); }
float sinhf_coshf_halfpi(float x) { return sinhf_coshf(kHalfPiF * x); }
double sinh_cosh_halfpi(double x) { return sinh_cosh(kHalfPi * x); }

}  // namespace

VX_BENCH_PAIR(hyperbolic, g_sinh, sinhf, args4);
VX_BENCH_PAIR(hyperbolic, g_cosh, coshf, args4);
VX_BENCH_PAIR(hyperbolic, g_tanh, tanhf, args4);
VX_BENCH_PAIR(hyperbolic, g_dsinh, sinh, args8);
VX_BENCH_PAIR(hyperbolic, g_dcosh, cosh, args8);
VX_BENCH_PAIR(hyperbolic, g_dtanh, tanh, args8);
VX_BENCH_PAIR(hyperbolic, g_sinh_large, sinhf, large4);
VX_BENCH_PAIR(hyperbolic, g_dsinh_large, sinh, large8);
VX_BENCH_PAIR(hyperbolic, g_scns_pair, sincosf_sum, args4);
VX_BENCH_PAIR(hyperbolic, g_dscn_pair, sincos_sum, args8);
VX_BENCH_PAIR(hyperbolic, g_scnsq_pair, sincosf_halfpi, quadrant4);
VX_BENCH_PAIR(hyperbolic, g_dscnq_pair, sincos_halfpi, quadrant8);
VX_BENCH_PAIR(hyperbolic, g_scnh_pair, sinhf_coshf, args4);
VX_BENCH_PAIR(hyperbolic, g_dsch_pair, sinh_cosh, args8);
VX_BENCH_PAIR(hyperbolic, g_scnhq_pair, sinhf_coshf_halfpi, quadrant4);
VX_BENCH_PAIR(hyperbolic, g_dschq_pair, sinh_cosh_halfpi, quadrant8);
