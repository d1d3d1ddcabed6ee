// Complex exponentials and logarithms: g_cexp, g_clog (Complex8), g_cdexp,
// g_cdlog (Complex16), g_cqexp, g_cqlog (Complex32).
//
// Exponential, e^z = e^x cos y + i e^x sin y:
//   g_cexp: e = g_dexp(x), (s, c) = g_dscn(y) in Real8; e c and e s rounded
//     to Real4.
//   g_cqexp: e = g_qexp(x), (s, c) = g_qpscn(y), e c and e s by g_aqmq
//     (whose underflow reports, for e below 2^-16382 times c or s, stand).
//   g_cdexp: e = e^x in the x87 register (ulx_gdex: F2XM1 and FSCALE, no
//     range check, so x = -infinity gives inf - inf, a NaN); (s, c) the
//     processor's FSIN and FCOS of y stored as Real8 (ulx_gpds); e c and
//     e s rounded to Real8.
// Limits (a NaN passes both and runs through the formula):
//   x >= xmax (signed): 232 / 234 with x; |y| >= ymax: 233 / 235 with y.
//   g_cqexp tests the high words: x's as a signed word from 0x400c62e4
//   (11356.5), |y|'s from 0x403e921f (g_qpscn's reduction limit): 236 with
//   x, 237 with y. Infinities and NaN patterns of x > 0 and of y are
//   refused; a negative x (-infinity included) passes.
//   Defaults once the handler declines (x refused is reported first):
//     x only:  L c + L s i, (s, c) of y by g_scns / ulx_gpds / g_qpscn; with the
//              infinity flag +-infinity, + for c >= 0 and by the sign bit
//              of s (so e^(x - 0i) gives +infinity - infinity i);
//     y only:  g_exp(x) / e^x / g_qexp(x) + 0i; with the flag NaN + NaN i;
//     both:    D + D i; with the flag NaN + NaN i.
//
// Logarithm, ln |z| + i atan2(y, x):
//   g_clog: m = g_cdabs of the parts widened to Real8, stored; real part
//     g_dlog(m), imaginary part g_datan2(y, x), each rounded to Real4.
//   g_cdlog: m = g_cdabs's modulus as the register holds it (its value
//     before the Real8 rounding of the entry); real part ln 2 log2 m by
//     FYL2X, imaginary part g_datan2(y, x).
//   g_cqlog: parts that are -0 in all four words become +0; m = g_cqabs(z)
//     (zero when both high words are); real part g_qlog(m), imaginary part
//     g_qatan2(y, x).
//   m zero: 247 / 248 / 249 with z in the argument slot and no values;
//     defaults log-of-zero (-3.40282002e38 / -1.7976931348623011e308 / the
//     negative largest finite Real16) + 0i, with the infinity flag
//     +infinity + NaN i. A resumed z starts again from its modulus.
//
// Accuracy against MPC (complex_functions_test states each bound and its
// terms): the parts of g_cexp within 0.501 ulp, of g_cdexp 2.2 ulp (the
// Real8 sine and cosine and the register's e^x, 1.5 measured), plus
// FSIN/FCOS's |y| 2^-62 carried by e^x; the logarithms' imaginary parts
// those of g_datan2 rounded, their real parts half an ulp plus the
// rounding of m carried by 1/m (2^-53 for g_clog, 2^-64 for g_cdlog).
// Complex32: g_qexp's and g_qpscn's errors plus the product's rounding;
// g_qlog's plus g_cqabs's carried by 1/ln m, and g_qatan2's.
#include <vexmorg/vexmorg.h>

#include <cmath>

#include "common/x87.h"
#include "complex/complex_functions.h"
#include "elem/exp_log/exp_kernel.h"
#include "elem/exp_log/exp_log_routes.h"
#include "frame/error_numbers.h"
#include "frame/hidden_result.h"
#include "qelem/real16_ops.h"

namespace vx::complex {
namespace {

struct Exp8 {
  static constexpr float xmax = 88.722f;    // 0x42B171AA
  static constexpr float ymax = 823000.0f;  // 0x4948ED80
  static constexpr std::int32_t x_error = err::kCexpX, y_error = err::kCexpY;
  static bool x_refused(float x) { return x >= xmax; }
  static bool y_refused(float y) { return std::fabs(y) >= ymax; }
  static Complex8 compute(float x, float y) {
    const double xd = x, yd = y;
    const double e = g_dexp(&xd);
    Complex16 sc;
    g_dscn(&sc, &yd);
    return {static_cast<float>(e * sc.im), static_cast<float>(e * sc.re)};
  }
  static Complex8 refused(float x, float y, bool xr, bool yr) {
    using K = Defaults<float>;
    const bool ieee = infinity_defaults();
    if (xr && yr) return ieee ? Complex8{K::nan, K::nan} : Complex8{K::D, K::D};
    if (yr) return ieee ? Complex8{K::nan, K::nan} : Complex8{g_exp(&x), 0};
    Complex8 sc;
    g_scns(&sc, &y);
    if (ieee) return {inf_unless_negative(sc.im), inf_signed_as(sc.re)};
    return {static_cast<float>(double{K::L} * double{sc.im}),
            static_cast<float>(double{K::L} * double{sc.re})};
  }
};

struct Exp16 {
  static constexpr double xmax = 709.782;  // 0x40862E4189374BC7
  static constexpr double ymax = 3.53e15;  // 0x43291508581D4000
  static constexpr std::int32_t x_error = err::kCdexpX, y_error = err::kCdexpY;
  static bool x_refused(double x) { return x >= xmax; }
  static bool y_refused(double y) { return std::fabs(y) >= ymax; }
  static Complex16 compute(double x, double y) {
    const ld e = exp_x87(x);
    const SinCos sc = sin_cos_x87(y);
    return {static_cast<double>(e * sc.c), static_cast<double>(e * sc.s)};
  }
  static Complex16 refused(double x, double y, bool xr, bool yr) {
    using K = Defaults<double>;
    const bool ieee = infinity_defaults();
    if (xr && yr) return ieee ? Complex16{K::nan, K::nan} : Complex16{K::D, K::D};
    if (yr) return ieee ? Complex16{K::nan, K::nan} : Complex16{exp_as_real8(x), 0};
    const SinCos sc = sin_cos_x87(y);
    if (ieee) return {inf_unless_negative(sc.c), inf_signed_as(sc.s)};
    return {static_cast<double>(ld{K::L} * sc.c), static_cast<double>(ld{K::L} * sc.s)};
  }
};

struct Exp32 {
  static constexpr std::int32_t x_error = err::kCqexpX, y_error = err::kCqexpY;
  static bool x_refused(const Real16 &x) { return static_cast<std::int32_t>(x.w[3]) >= 0x400c62e4; }
  static bool y_refused(const Real16 &y) { return qelem::high_word(y) >= 0x403e921f; }
  static Complex32 compute(Real16 x, Real16 y) {
    Real16 e, s, c;
    g_qexp(&e, &x);
    g_qpscn(&y, &s, &c);
    return {qelem::mul(e, c), qelem::mul(e, s)};
  }
  static Complex32 refused(Real16 x, Real16 y, bool xr, bool yr) {
    using K = Defaults<Real16>;
    const bool ieee = infinity_defaults();
    if (xr && yr) return ieee ? Complex32{K::nan, K::nan} : Complex32{K::D, K::D};
    if (yr) {
      if (ieee) return {K::nan, K::nan};
      Real16 e;
      g_qexp(&e, &x);
      return {e, quad::kZero};
    }
    Real16 s, c;
    g_qpscn(&y, &s, &c);
    if (ieee) return {inf16(below_zero16(c)), inf16(qelem::is_negative(s))};
    return {qelem::mul(K::L, c), qelem::mul(K::L, s)};
  }
};

// The logarithm once the modulus is known to be nonzero.
Complex8 log8(float x, float y, double m) {
  const double xd = x, yd = y;
  return {static_cast<float>(g_dlog(&m)), static_cast<float>(g_datan2(&yd, &xd))};
}
Complex16 log16(double x, double y, ld m) {
  return {static_cast<double>(x87::fyl2x(x87::fldln2(), m)), g_datan2(&y, &x)};
}

template <class C, std::int32_t kError>
[[gnu::noinline, gnu::cold]] C log_of_zero(C z) {
  using K = Defaults<decltype(z.re)>;
  for (;;) {
    if (!report_zero(kError, z)) return infinity_defaults() ? C{K::inf, K::nan} : C{K::log_zero, 0};
    const ld m = modulus_x87(z.re, z.im);
    if (m != 0) {
      if constexpr (sizeof(z.re) == 4) {
        return log8(z.re, z.im, static_cast<double>(m));
      } else {
        return log16(z.re, z.im, m);
      }
    }
  }
}

Complex32 log32(const Complex32 &z, const Real16 &m) {
  Complex32 r;
  g_qlog(&r.re, &m);
  g_qatan2(&r.im, &z.im, &z.re);
  return r;
}
[[gnu::noinline, gnu::cold]] Complex32 log32_of_zero(Complex32 z) {
  using K = Defaults<Real16>;
  for (;;) {
    if (!report_zero(err::kCqlogZero, z))
      return infinity_defaults() ? Complex32{K::inf, K::nan} : Complex32{K::log_zero, quad::kZero};
    Real16 m;
    g_cqabs(&m, &z);
    if (!quad::is_zero(m)) return log32(z, m);
  }
}

}  // namespace
}  // namespace vx::complex

using namespace vx::complex;

Complex8 *g_cexp(Complex8 *result, const Complex8 *z) {
  return vx::store_result(result, refusing<Exp8>(z->re, z->im));
}

Complex16 *g_cdexp(Complex16 *result, const Complex16 *z) {
  return vx::store_result(result, refusing<Exp16>(z->re, z->im));
}

Complex8 *g_clog(Complex8 *result, const Complex8 *z) {
  const Complex8 w = *z;
  const double m = static_cast<double>(modulus_x87(w.re, w.im));  // g_cdabs
  if (m != 0) [[likely]]
    return vx::store_result(result, log8(w.re, w.im, m));
  return vx::store_result(result, log_of_zero<Complex8, vx::err::kClogZero>(w));
}

Complex16 *g_cdlog(Complex16 *result, const Complex16 *z) {
  const Complex16 w = *z;
  const ld m = modulus_x87(w.re, w.im);
  if (m != 0) [[likely]]
    return vx::store_result(result, log16(w.re, w.im, m));
  return vx::store_result(result, log_of_zero<Complex16, vx::err::kCdlogZero>(w));
}

Complex32 *g_cqexp(Complex32 *result, const Complex32 *z) {
  return vx::store_result(result, refusing<Exp32>(z->re, z->im));
}

Complex32 *g_cqlog(Complex32 *result, const Complex32 *z) {
  const Complex32 w = {plus_zero(z->re), plus_zero(z->im)};
  Real16 m;
  g_cqabs(&m, &w);
  if (!vx::quad::is_zero(m)) [[likely]]
    return vx::store_result(result, log32(w, m));
  return vx::store_result(result, log32_of_zero(w));
}
