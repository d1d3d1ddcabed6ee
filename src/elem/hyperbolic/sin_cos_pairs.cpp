// Paired sine and cosine: g_scns, g_scnsq (Real4), g_dscn, g_dscnq (Real8).
// Each stores sin and cos of one argument through the hidden result
// address, as a Complex8 or Complex16 (sine first), and returns that
// address.
//
// Radians (g_scns, g_dscn): the processor's FSIN and FCOS on the argument,
// each stored in the type (x87_sin_cos.h, one reduction for both where the
// model settles them): the same values as g_sin/g_cos, g_dsin/g_dcos.
// Quadrant units (one unit is a right angle):
//   g_scnsq: one reduction of |x| (unit_trig.h) and the series of g_sinq and
//     g_cosq (quadrant_series.h), so the pair is theirs bit for bit; from
//     2^23 on, infinities and NaNs included, the values are 0 or +-1.
//   g_dscnq: series in u = 2 r, S(u) = sin(u pi/4) and C(u) = cos(u pi/4)
//     for |u| <= 1: |x| <= 1/2 takes u = 2x, up to 1 u = 2 - 2|x|; beyond,
//     2x is rounded to an even integer 2k with bg = 1.5 2^53 (u = 2x - 2k is
//     exact) and k mod 4 places the series.
//
// Errors (argument reported as value):
//   202 g_scns: |x| >= 823000, infinities and NaNs; both values 0.70710677,
//       or both NaN with the infinity flag.
//   203 g_dscn: |x| >= 3.53e15, infinities and NaNs; both 0.7071067811865476,
//       or both NaN with the infinity flag.
//   203 g_dscnq: |x| >= 2.25e15, infinities and NaNs; both
//       0.7071067811865476 whatever the infinity flag holds.
//   g_scnsq never reports (infinities and NaNs give (+-0, 1)).
//
// Accuracy against MPFR (hyperbolic_test): the radian pairs as g_sin/g_cos;
// g_scnsq as the single quadrant functions; g_dscnq, by analysis, within
// 0.7 ulp of sin(x pi/2) and cos(x pi/2) (series 0.1 and 0.2 ulp from the
// functions, evaluated in the x87 register and rounded once).
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "common/bits.h"
#include "common/x87.h"
#include "elem/trig/sin_cos_limits.h"
#include "elem/trig/x87_sin_cos.h"
#include "elem/trig_units/quadrant_series.h"
#include "elem/trig_units/unit_trig.h"
#include "frame/hidden_result.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

// ---- Radians ---------------------------------------------------------------

// The pair of sin x and cos x: Complex8 or Complex16.
template <class T>
using PairOf = std::conditional_t<sizeof(T) == 4, Complex8, Complex16>;

template <class T>
Attempt<PairOf<T>> radian_pair(T x) {
  using C = PairOf<T>;
  // |x| >= limit, infinities and NaNs: too large to reduce.
  if (!(std::fabs(x) < kSinCosLimit<T>))
    return argument_error(kSinCosError<T>, C{kSqrtHalf<T>, kSqrtHalf<T>}, C{kNaN<T>, kNaN<T>});
  const SineCosine<T> v = x87_sine_cosine(x);
  return result(C{v.sin, v.cos});
}

// ---- Real4 quadrant units --------------------------------------------------

// One reduction for both values, then the kernels of g_sinq and g_cosq:
// the pair is theirs bit for bit. The sine takes the sign of x last.
Complex8 quadrant_pair4(float x) {
  using K = quadrant_series::KernelsOf<float>;
  const unit_trig::Quarter4 a = unit_trig::reduce_quadrants4(std::fabs(x));
  return {unit_trig::sine_real4<K>(a, std::signbit(x)), unit_trig::cosine_real4<K>(a)};
}

// ---- Real8 quadrant units --------------------------------------------------

constexpr double xmax = 2.25e15;               // 0x431FF973CAFA8000: argument limit
constexpr double bg8 = 1.3510798882111488e16;  // 0x4348000000000000: 1.5 2^53, rounds to even
// S(u) = u (1 + a0 + z (a1 + ... + z a6)): sin(u pi/4), |u| <= 1, z = u^2;
// 1 + da0 is pi/4, kept apart so that the leading term u is exact.
constexpr double da0 = -0.2146018366025517;      // 0xBFCB7812AEEF4B9F
constexpr double da1 = -0.08074551218828054;     // 0xBFB4ABBCE625BE41
constexpr double da2 = 0.0024903945701887364;    // 0x3F6466BC67758700
constexpr double da3 = -3.657620415845714e-05;   // 0xBF032D2CCE2D53CF
constexpr double da4 = 3.133616216643858e-07;    // 0x3E950782FCA3D618
constexpr double da5 = -1.7571492947429407e-09;  // 0xBE1E30063A2DB065
constexpr double da6 = 6.877100950353697e-12;    // 0x3D9E3EED64CD0B8E
// C(u) = 1 + z (b1 + z (b2 + ... + z b7)): cos(u pi/4).
constexpr double db1 = -0.30842513753404244;     // 0xBFD3BD3CC9BE45DE
constexpr double db2 = 0.01585434424381542;      // 0x3F903C1F081B5AAC
constexpr double db3 = -0.0003259918869267379;   // 0xBF355D3C7E3C90FD
constexpr double db4 = 3.590860446028774e-06;    // 0x3ECE1F50683565A9
constexpr double db5 = -2.4611364034857753e-08;  // 0xBE5A6D1EC795FAEC
constexpr double db6 = 1.1500512115863823e-10;   // 0x3DDF9CC4154B7A9D
constexpr double db7 = -3.858191511496504e-13;   // 0xBD5B264CC8F5A725

double sin_q8(ld u) {
  const ld z = u * u;
  return static_cast<double>(
      u + u * (da0 + z * (da1 + z * (da2 + z * (da3 + z * (da4 + z * (da5 + z * da6)))))));
}
double cos_q8(ld u) {
  const ld z = u * u;
  return static_cast<double>(
      1 + z * (db1 + z * (db2 + z * (db3 + z * (db4 + z * (db5 + z * (db6 + z * db7)))))));
}

Attempt<Complex16> quadrant_pair8(double x) {
  const double ax = std::fabs(x);
  if (ax <= 0.5) return result(Complex16{sin_q8(2 * x), cos_q8(2 * x)});
  if (ax <= 1) {  // sin = C(2 - 2|x|) with the sign of x, cos = S(2 - 2|x|)
    const double u = 2 - 2 * ax;
    const double s = cos_q8(u);
    return result(Complex16{x < 0 ? -s : s, sin_q8(u)});
  }
  // |x| >= 2.25e15, infinities and NaNs: error 203, default sqrt(1/2) for
  // both values whatever the infinity flag.
  if (!(ax < xmax)) {
    constexpr Complex16 half_root{kSqrtHalfD, kSqrtHalfD};
    return argument_error(err::kDsinRange, half_root, half_root);
  }
  const double t = 2 * x;
  const double n = t + bg8;        // stored: bg8 + 2k, k the integer nearest x
  const double u = t + (bg8 - n);  // 2 (x - k), in [-1, 1], exact
  const double s = sin_q8(u), c = cos_q8(u);
  switch (low_word(n) & 3) {  // k mod 4
    case 0:
      return result(Complex16{s, c});
    case 1:
      return result(Complex16{c, -s});
    case 2:
      return result(Complex16{-s, -c});
    default:
      return result(Complex16{-c, s});
  }
}

}  // namespace
}  // namespace vx

Complex8 *g_scns(Complex8 *result, const float *x) {
  return vx::store_result(result, vx::resume_loop(vx::radian_pair<float>, *x));
}
Complex16 *g_dscn(Complex16 *result, const double *x) {
  return vx::store_result(result, vx::resume_loop(vx::radian_pair<double>, *x));
}
Complex8 *g_scnsq(Complex8 *result, const float *x) {
  return vx::store_result(result, vx::quadrant_pair4(*x));
}
Complex16 *g_dscnq(Complex16 *result, const double *x) {
  return vx::store_result(result, vx::resume_loop(vx::quadrant_pair8, *x));
}
