// Sine and cosine of an angle in degrees: g_sind, g_cosd (Real4), g_dsind,
// g_dcosd (Real8).
//
// Method: |x| is taken apart as q right angles plus r, |r| <= 45, exactly
// (unit_trig.h): |x| itself up to 45, |x| - 90 up to 90, beyond that k =
// |x|/90 rounded to an integer with 1/90 and 2^52, r = |x| - 90 k. The
// series S(r) = sin(r deg) and C(r) = cos(r deg), with coefficients in
// degrees, give the value by the quadrant q mod 4: sine S, C, -S, -C;
// cosine C, -S, -C, S. r = 0 (a multiple of 90) gives the exact 0 or +-1.
// The series are evaluated in the 64-bit register and rounded once. Real4:
// the reduction and the series run in Real8 arithmetic instead, a branch
// on q picking the series, and the register's evaluation takes over for
// the one argument in about 2^18 whose Real8 value lies too close to a
// Real4 half-way point (real4_rounding.h): the result is the register's
// for every Real4, which an exhaustive comparison with the register's
// evaluation checks.
//
// Special cases (argument reported as value, resume re-runs the function):
//   1361  g_sind, g_cosd: |x| >= 47200000.0, infinities and NaNs
//   1362  g_dsind, g_dcosd: |x| >= 2.03e17, infinities and NaNs
//   default 0.70710677 (Real4), 0.7071067811865476 (Real8); NaN with the
//   infinity flag.
//
// Accuracy against MPFR (trig_units_test, which states why), by analysis
// of the series' errors and the one rounding: Real4 within 0.52 ulp, Real8
// within 0.75 ulp. Measured: 0.513 over every Real4, 0.722 the largest in
// the random runs.
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "common/horner.h"
#include "elem/trig_units/unit_trig.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;
using unit_trig::Quarter;

// ---- Real4 -----------------------------------------------------------------

namespace r4 {

// S(r) = r (a0 + a1 s + ... + a4 s^4), s = r^2: sin(r deg), |r| <= 45.
constexpr double a0 = 0.01745329252;     // 0x3F91DF46A252DD11: pi/180
constexpr double a1 = -8.860961538e-07;  // 0xBEADBB820C822DF4
constexpr double a2 = 1.349600871e-11;   // 0x3DADAD93D5613DD9
constexpr double a3 = -9.787353061e-17;  // 0xBC9C35CAB8D8579F
constexpr double a4 = 4.083291395e-22;   // 0x3B7EDA3BF6C72145
// C(r) = 1 + b1 s + ... + b4 s^4: cos(r deg).
constexpr double b1 = -0.000152308709;  // 0xBF23F6A1D91D35CD
constexpr double b2 = 3.86631889e-09;   // 0x3E309B1004FF2DC5
constexpr double b3 = -3.92516498e-14;  // 0xBD2618C246D361FF
constexpr double b4 = 2.09856401e-19;   // 0x3C0EF8269298B168

constexpr double sine[] = {a0, a1, a2, a3, a4};
constexpr double cosine[] = {b1, b2, b3, b4};

using Kernels = unit_trig::SeriesKernels<sine, cosine>;

}  // namespace r4

// ---- Real8 -----------------------------------------------------------------

namespace r8 {

// S(r) = r (((p6 s + p5) s + ... + p1) s + p0 + 1/64), s = r^2: sin(r deg),
// |r| <= 45; the leading coefficient pi/180 is held as p0 + 1/64, added last.
constexpr double p0 = 0.0018282925199432957;    // 0x3F5DF46A2529D391: pi/180 - 1/64
constexpr double p1 = -8.860961557012952e-07;   // 0xBEADBB820D942F5E
constexpr double p2 = 1.3496016231610962e-11;   // 0x3DADAD94EAE0D93E
constexpr double p3 = -9.788384855269842e-17;   // 0xBC9C368D9F5ABB50
constexpr double p4 = 4.141266526876061e-22;    // 0x3B7F4A5FDBD9966A
constexpr double p5 = -1.1467559733392375e-27;  // 0xBA56B6BE5C06266C
constexpr double p6 = 2.2163723339533255e-33;   // 0x39270420D8F921A8
// C(r) = 1 + s (q1 + s (q2 + ... + s q7)): cos(r deg).
constexpr double q1 = -0.00015230870989335428;  // 0xBF23F6A1DB141FB9
constexpr double q2 = 3.866323851562971e-09;    // 0x3E309B116A83DC73
constexpr double q3 = -3.925831985734635e-14;   // 0xBD2619B85BBC78AF
constexpr double q4 = 2.135494301985906e-19;    // 0x3C0F83AB5C04D1E3
constexpr double q5 = -7.227873495986066e-25;   // 0xBAEBF623A296B4B6
constexpr double q6 = 1.6678863124226153e-30;   // 0x39C0EA149712B6CB
constexpr double q7 = -2.7628686762104072e-36;  // 0xB88D613E72EBDE32

constexpr double sine[] = {p1, p2, p3, p4, p5, p6};
constexpr double cosine[] = {q1, q2, q3, q4, q5, q6, q7};

struct Kernels {
  static ld sin(ld r) {
    const ld s = r * r;
    return r * ((s * horner(sine, s) + p0) + 0.015625);
  }
  static ld cos(ld r) { return 1 + r * r * horner(cosine, r * r); }
};

}  // namespace r8

// The kernels of each type, and the error of an argument too large.
template <class T>
using KernelsOf = std::conditional_t<sizeof(T) == 4, r4::Kernels, r8::Kernels>;
template <class T>
constexpr std::int32_t kTooLarge = sizeof(T) == 4 ? err::kSindRange : err::kDsindRange;

// One attempt of the sine (kCosine false) or the cosine, inlined into the
// entry so that its no-error path is this code alone.
template <class T, bool kCosine>
[[gnu::always_inline]] inline Attempt<T> sin_cos_degrees(T x) {
  using K = KernelsOf<T>;
  const T ax = std::fabs(x);
  // |x| >= xmax, infinities and NaNs (compared as bit patterns): error
  // 1361 / 1362, default sqrt(1/2).
  if (bits(ax) >= bits(unit_trig::Degrees<T>::xmax))
    return argument_error(kTooLarge<T>, kSqrtHalf<T>, kNaN<T>);
  if constexpr (sizeof(T) == 4) {
    const unit_trig::Quarter4 a = unit_trig::reduce_degrees4(ax);
    return result(kCosine ? unit_trig::cosine_real4<K>(a)
                          : unit_trig::sine_real4<K>(a, std::signbit(x)));
  }
  const Quarter a = unit_trig::reduce_degrees(ax);
  if (kCosine) return result(static_cast<T>(unit_trig::cosine<K>(a)));
  const ld v = unit_trig::sine<K>(a);
  return result(static_cast<T>(std::signbit(x) ? -v : v));
}

}  // namespace
}  // namespace vx

float g_sind(const float *x) { return vx::resume_loop(vx::sin_cos_degrees<float, false>, *x); }
float g_cosd(const float *x) { return vx::resume_loop(vx::sin_cos_degrees<float, true>, *x); }
double g_dsind(const double *x) { return vx::resume_loop(vx::sin_cos_degrees<double, false>, *x); }
double g_dcosd(const double *x) { return vx::resume_loop(vx::sin_cos_degrees<double, true>, *x); }
