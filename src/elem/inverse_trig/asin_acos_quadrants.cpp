// Arc sine and arc cosine in quadrant units (a right angle is 1): g_asinq,
// g_acosq (Real4), g_dasinq, g_dacosq (Real8), and their kernels ulx_ga1q
// and ulx_gd1q, the arc cosine of 1 - v (internal, not exported).
//
// Method: approximations of their own, with coefficients already in
// quadrant units, evaluated in the x87 register and rounded once to the
// result type:
//   |x| <= 1/2       asinq x = x (1 + a0 + a1 s + ... + a5 s^5) (Real4),
//                    x (1 + A(s) / B(s)) (Real8), s = x^2;
//   1/2 < |x| <= 1   acosq |x| = sqrt(v) (1 + p0 + p1 v + ... + p5 v^5)
//                    (Real4), sqrt(v) + sqrt(v) P(v) / Q(v) (Real8), with
//                    v = 1 - |x|: the kernel's series.
// The Real4 forms are evaluated in Real8 arithmetic and rounded to Real4
// where that is certain to give the register's result, else in the
// register (real4_rounding.h): every Real4 result is the register's. The
// Real8 entries load the argument from memory straight into the register
// and take its range from its bits (inverse_trig.h).
// Where the processor has fused multiply-adds (common/cpu.h), the Real8
// entries take a rounding bracket on SSE instead (arc_fma.h), with the same
// results; the register decides only the arguments it leaves open.
// The arc sine above 1/2 is 1 minus the kernel's series, signed by x; the
// arc cosine below 1/2 is 1 minus the arc sine, above it the kernel, and 2
// minus the kernel for negative x. Hence asinq(+-1) = +-1, acosq(0) = 1,
// acosq(1) = 0 and acosq(-1) = 2 exactly.
//
// The kernels take v by value: 0 <= v <= 1/2 is the series above, for
// 1/2 < v < 2 they return the quadrant arc cosine entry at 1 - v, and 2 for
// v >= 2 or NaN.
//
// Errors (argument reported as value; with the infinity flag every default
// is a NaN):
//   1357 / 1358  |x| > 1 or NaN: arc sine +-1 by x > 0 (a NaN gives -1);
//                arc cosine 0 for x > 1, 2 for any other x.
//
// Accuracy against MPFR (inverse_trig_test and inverse_trig_internal_test,
// which state why), by analysis of the approximations' errors, their
// register evaluation and the one rounding: Real4 within 0.8 ulp, Real8
// within 1.0 ulp; the kernels' register values rounded to the type within
// 0.6 and 0.8 ulp.
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

// The coefficients are Real4 values (the hex is their Real4 pattern), held
// as Real8 so that the register and Real8 evaluations take them alike.
// asinq x = x (1 + a0 + a1 s + ... + a5 s^5), |x| <= 1/2.
constexpr double a0 = -0.36338022f;  // 0xBEBA0CF9: 1 + a0 is 2/pi
constexpr double a1 = 0.10610408f;   // 0x3DD94D19
constexpr double a2 = 0.047711056f;  // 0x3D436CAB
constexpr double a3 = 0.028998144f;  // 0x3CED8D84
constexpr double a4 = 0.015188593f;  // 0x3C78D994
constexpr double a5 = 0.027142685f;  // 0x3CDE5A56
// acosq(1 - v) = sqrt(v) (1 + p0 + p1 v + ... + p5 v^5), 0 <= v <= 1/2.
constexpr double p0 = -0.099683687f;  // 0xBDCC26F6: 1 + p0 is 2 sqrt(2)/pi
constexpr double p1 = 0.075026914f;   // 0x3D99A7B6
constexpr double p2 = 0.016868405f;   // 0x3C8A2F9C
constexpr double p3 = 0.005126197f;   // 0x3BA7F9A8
constexpr double p4 = 0.0013424937f;  // 0x3AAFF69D
constexpr double p5 = 0.001199549f;   // 0x3A9D3A2F

// Evaluated in E: long double (the register) or double.
template <class E>
E asin_series(float x) {
  const E xe = x;
  const E s = xe * xe;
  return xe * (E{1} + a0 + s * (a1 + s * (a2 + s * (a3 + s * (a4 + s * a5)))));
}

template <class E>
E kernel_series(E v) {
  return square_root(v) * (E{1} + p0 + v * (p1 + v * (p2 + v * (p3 + v * (p4 + v * p5)))));
}

}  // namespace r4

// ---- Real8 -----------------------------------------------------------------

namespace r8 {

// asinq x = x (1 + A(s) / B(s)), |x| <= 1/2, A = a0 + a1 s + ... + a5 s^5, and
// B = b0 + b1 s + b2 s^2 + b3 s^3 + s^4 (the denominator of the radian arc
// sine).
constexpr double a0 = -7.880143195462664;    // 0xC01F854442013C7F: 1 + a0 / b0 is 2/pi
constexpr double a1 = 19.92986289740539;     // 0x4033EE0B7EAE1EB5
constexpr double a2 = -17.582876954309587;   // 0xC03195376C905A0D
constexpr double a3 = 6.239933816479386;     // 0x4018F5B135DBEF08
constexpr double a4 = -0.7226209670820288;   // 0xBFE71FB601A0ADB9
constexpr double a5 = 0.003742091165584263;  // 0x3F6EA7BBE5983F6C
constexpr double b0 = 21.68566860889831;     // 0x4035AF87FA5B1CB0
constexpr double b1 = -48.513762320053395;   // 0xC04841C2F6B545F1
constexpr double b2 = 37.07087034958211;     // 0x404289124794DB0A
constexpr double b3 = -11.026014708098247;   // 0xC0260D51CCC0FE71
// acosq(1 - v) = sqrt(v) + sqrt(v) P(v) / Q(v), 0 <= v <= 1/2,
// P = p0 + p1 v + ... + p5 v^5, Q = q0 + q1 v + q2 v^2 + q3 v^3 + v^4.
constexpr double p0 = -34.58731733649902;    // 0xC0414B2D36E8518D: 1 + p0 / q0 is 2 sqrt(2)/pi
constexpr double p1 = 64.72019272828881;     // 0x40502E17A33DB451
constexpr double p2 = -38.04274314620163;    // 0xC04305789B7F8836
constexpr double p3 = 8.514948401112278;     // 0x402107A7511BCF38
constexpr double p4 = -0.6077268097294719;   // 0xBFE3727F7E96188C
constexpr double p5 = 0.002646058039002904;  // 0x3F65AD2F97B4EC5E
constexpr double q0 = 346.970697742373;      // 0x4075AF87FA5B1CB0
constexpr double q1 = -388.11009856042716;   // 0xC07841C2F6B545F1
constexpr double q2 = 148.28348139832843;    // 0x406289124794DB0A
constexpr double q3 = -22.052029416196493;   // 0xC0360D51CCC0FE71

// Inlined into every caller: a long double argument or result of a call
// goes through memory.
[[gnu::always_inline]] inline ld asin_series(ld x) {
  const ld s = x * x;
  const ld a = a0 + s * (a1 + s * (a2 + s * (a3 + s * (a4 + s * a5))));
  const ld b = b0 + s * (b1 + s * (b2 + s * (b3 + s)));
  return x * (1 + a / b);
}

[[gnu::always_inline]] inline ld kernel_series(ld v) {
  const ld r = x87::fsqrt(v);
  const ld p = p0 + v * (p1 + v * (p2 + v * (p3 + v * (p4 + v * p5))));
  const ld q = q0 + v * (q1 + v * (q2 + v * (q3 + v)));
  return r + r * p / q;
}

// asinq *x and acosq *x for |*x| <= 1, b the bits of *x. The argument goes
// from memory straight into the register (see inverse_trig.h); from 1/2 on
// the kernel's series of 1 - |x| (exact).
[[gnu::always_inline]] inline double arcsin_value(const double *x, std::uint64_t b) {
  const ld xe = x87::fld(x);
  if (!beyond_half(b)) return static_cast<double>(asin_series(xe));
  const double r = static_cast<double>(1 - kernel_series(1 - std::fabs(xe)));  // 1/3 <= r <= 1
  return negative(b) ? -r : r;
}

[[gnu::always_inline]] inline double arccos_value(const double *x, std::uint64_t b) {
  const ld xe = x87::fld(x);
  if (below_half(b)) return static_cast<double>(1 - asin_series(xe));
  const ld r = kernel_series(1 - std::fabs(xe));
  return static_cast<double>(negative(b) ? 2 - r : r);
}

}  // namespace r8

// ---- Real8 with fused multiply-adds ---------------------------------------

// What arc_fma.h needs of the quadrant units.
struct QuadrantsFma {
  static constexpr const arc_fma_table::Series &series = arc_fma_table::quadrants::series;
  static constexpr const auto &arcsin = arc_fma_table::quadrants::arcsin;
  static constexpr const auto &kernel = arc_fma_table::quadrants::kernel;
  static constexpr double quarter = 1, quarter_low = 0;
  static constexpr double half = 2, half_low = 0;
  static constexpr double slack = 0x1p-61;
  static constexpr bool two_rationals = false;
  static double kernel_variable(double ax) { return 1 - ax; }  // v, exact
  // the arc sine takes its rational up to 1/2, the arc cosine below 1/2
  static constexpr bool arcsin_by_series(std::uint64_t b) { return !beyond_half(b); }
  static constexpr bool arccos_by_series(std::uint64_t b) { return below_half(b); }
  static constexpr auto arcsin_register = r8::arcsin_value;
  static constexpr auto arccos_register = r8::arccos_value;
};

// ---- Both types --------------------------------------------------------------

// What the Real4 and Real8 forms differ in: the approximations, the kernel
// entry and the error number.
struct Quadrants4 {
  using T = float;
  static constexpr std::int32_t error = err::kAsinqDomain;
  template <class E>
  static E asin_series(float x) {
    return r4::asin_series<E>(x);
  }
  template <class E>
  static E kernel_series(E v) {
    return r4::kernel_series(v);
  }
  static float arcsin_value(float x);
  static float arccos_value(float x);
};

// Real8 results are the register's whatever the arithmetic E asked for.
struct Quadrants8 {
  using T = double;
  static constexpr std::int32_t error = err::kDasinqDomain;
  template <class E>
  static ld kernel_series(ld v) {
    return r8::kernel_series(v);
  }
  static double arcsin_value(double x) { return r8::arcsin_value(&x, bits(x)); }
  static double arccos_value(double x) { return r8::arccos_value(&x, bits(x)); }
};

// asinq x for |x| <= 1 in the arithmetic E: the Real4 forms (the Real8
// entries have r8::arcsin_value and r8::arccos_value).
template <class K, class E, class T = typename K::T>
auto arcsin_value(T x) {
  const T ax = std::fabs(x);
  if (ax <= T{0.5}) return K::template asin_series<E>(x);
  const auto r = 1 - K::template kernel_series<E>(E{1 - ax});  // 1 - ax exact
  return x < 0 ? -r : r;
}

// acosq x for |x| <= 1, likewise; from 1/2 on the kernel's series (what
// the kernel entry gives for 1 - |x| <= 1/2).
template <class K, class E, class T = typename K::T>
auto arccos_value(T x) {
  const T ax = std::fabs(x);
  if (ax < T{0.5}) return 1 - K::template asin_series<E>(x);
  const auto r = K::template kernel_series<E>(E{1 - ax});  // 1 - ax exact
  return x < 0 ? 2 - r : r;
}

float Quadrants4::arcsin_value(float x) {
  return via_real8<float>([x](auto e) { return vx::arcsin_value<Quadrants4, decltype(e)>(x); });
}
float Quadrants4::arccos_value(float x) {
  return via_real8<float>([x](auto e) { return vx::arccos_value<Quadrants4, decltype(e)>(x); });
}

template <class K, class T = typename K::T>
Attempt<T> arcsin(T x) {
  // |x| > 1 or NaN: error 1357 / 1358, default +-1
  if (outside_arc_domain(x)) return arcsin_error(K::error, x, T{1});
  return result(K::arcsin_value(x));
}

template <class K, class T = typename K::T>
Attempt<T> arccos(T x) {
  // |x| > 1 or NaN: error 1357 / 1358, default 0 (x > 1) or 2
  if (outside_arc_domain(x)) return arccos_error(K::error, x, T{2});
  return result(K::arccos_value(x));
}

// The kernel entry: the series up to 1/2, the arc cosine entry `acosq` of
// 1 - v below 2, and 2 beyond (or for a NaN).
template <class K, class T = typename K::T>
ld kernel(T v, T (*acosq)(const T *)) {
  if (v <= T{0.5}) return K::template kernel_series<ld>(v);
  // 1/2 < v < 2: the arc cosine of w = 1 - v, exact, -1 < w < 1/2
  if (v < 2) {
    const T w = 1 - v;
    return acosq(&w);
  }
  return 2;  // v >= 2 or NaN
}

}  // namespace
}  // namespace vx

float g_asinq(const float *x) { return vx::resume_loop(vx::arcsin<vx::Quadrants4>, *x); }
float g_acosq(const float *x) { return vx::resume_loop(vx::arccos<vx::Quadrants4>, *x); }
double g_dasinq(const double *x) {
  return vx::arcsin_entry<vx::QuadrantsFma, vx::arcsin<vx::Quadrants8>>(x);
}
double g_dacosq(const double *x) {
  return vx::arccos_entry<vx::QuadrantsFma, vx::arccos<vx::Quadrants8>>(x);
}

long double ulx_ga1q(float v) { return vx::kernel<vx::Quadrants4>(v, g_acosq); }
long double ulx_gd1q(double v) { return vx::kernel<vx::Quadrants8>(v, g_dacosq); }
