// Complex sines and cosines, in radians and in quadrant units (of z pi/2):
// g_csin, g_ccos, g_csinq, g_ccosq (Complex8), g_cdsin, g_cdcos, g_cdsinq,
// g_cdcosq (Complex16), g_cqsin, g_cqcos, g_cqsinq, g_cqcosq (Complex32).
//
// With (s, c) the sine and cosine of x and (sh, ch) the hyperbolic sine
// and cosine of y, by the Real8 pairs g_dscn and g_dsch (radians) or
// g_dscnq and g_dschq (quadrant units, which take pi/2 into the pairs, so
// z is never multiplied by pi/2):
//   sin z = s ch + (c sh) i,  cos z = c ch - (s sh) i,
// the products in Real8 and rounded to Real4 (Complex8), or in the x87
// register and rounded to Real8 (Complex16). Complex32: the pairs g_qpscn,
// g_qpscnh (radians) or g_qpscnq, g_qpscnhq, each product one g_aqmq and
// every negation ulx_gqqc (so a zero part is +0); parts that are -0 in all
// four words become +0 first.
//
// Limits, |x| >= xmax and |y| >= ymax (infinities included; a NaN passes
// and meets the pairs' own tests): errors with the part as the value
//   g_csin g_ccos     823000    89.415               205, 206
//   g_cdsin g_cdcos   3.53e15   710.4749755859375    207, 208
//   g_csinq g_ccosq   524000    56.92                1407, 1408
//   g_cdsinq g_cdcosq 2.25e15   452.3                1409, 1410
// Complex32 tests the high words of |x| and |y| (a NaN pattern is refused):
//   g_cqsin g_cqcos   0x403e921f  0x400c62e9 (11357.125)   209, 210
//   g_cqsinq g_cqcosq 0x403e0000  0x400bc3e2 (7232.125)    1411, 1412
// (the limits of the Real16 pairs; g_qpscnhq's own overflow, error 225 for
// |y| from about 7230.19, t = |y| pi/2 from 11357.125, stands below it).
// Defaults once the handler declines (r = sqrt(2)/2 as a Real8, a Real16 for
// Complex32; H and D of complex_functions.h), the pairs of the part type
// (Complex8: g_scns, g_scnh, g_scnsq, g_scnhq; the others: those of the
// computation):
//   x only: sin r ch + (r sh) i, cos r ch - (r sh) i; with the infinity
//           flag NaN + NaN i;
//   y only: sin H s + (H c) i, cos H c - (H s) i, the imaginary part
//           negated for y < 0; with the flag +-infinity in each part, with
//           the signs of the finite result;
//   both:   sin D + D i, the imaginary part -D for y < 0; cos D - D i for
//           y > 0, D + D i otherwise; with the flag NaN + NaN i.
//
// Accuracy against MPC (complex_functions_test states each bound): the
// Complex8 parts within 0.501 ulp; Complex16 within the pairs' errors
// carried through one product (4 ulp radians, 4.3 quadrant units), plus
// FSIN/FCOS's |x| 2^-62 times cosh y and the quadrant pairs' error of
// y pi/2 (a relative |y| pi/2 2^-52.4). Complex32: the Real16 pairs' errors
// carried through one product, plus g_qpscn's reduction of x by pi/2 in two
// pieces (about |x| 2^-161) times cosh y.
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <type_traits>

#include "complex/complex_functions.h"
#include "frame/error_numbers.h"
#include "frame/hidden_result.h"
#include "qelem/real16_ops.h"

namespace vx::complex {
namespace {

template <class T>
using ComplexOf = std::conditional_t<sizeof(T) == 4, Complex8, Complex16>;

// Limits and errors by part type and unit.
template <class T, bool kQuadrant>
struct Limits;
template <>
struct Limits<float, false> {
  static constexpr float xmax = 823000.0f, ymax = 89.415f;  // 0x4948ED80, 0x42B2D47B
  static constexpr std::int32_t x_error = err::kCsinX, y_error = err::kCsinY;
};
template <>
struct Limits<double, false> {
  static constexpr double xmax = 3.53e15;            // 0x43291508581D4000
  static constexpr double ymax = 710.4749755859375;  // 0x408633CCC0000000
  static constexpr std::int32_t x_error = err::kCdsinX, y_error = err::kCdsinY;
};
template <>
struct Limits<float, true> {
  static constexpr float xmax = 524000.0f, ymax = 56.92f;  // 0x48FFDC00, 0x4263AE14
  static constexpr std::int32_t x_error = err::kCsinqX, y_error = err::kCsinqY;
};
template <>
struct Limits<double, true> {
  static constexpr double xmax = 2.25e15, ymax = 452.3;  // 0x431FF973CAFA8000, 0x407C44CCCCCCCCCD
  static constexpr std::int32_t x_error = err::kCdsinqX, y_error = err::kCdsinqY;
};

// The pair (sin, cos) or (sinh, cosh) of a part, by the routine of the
// type and unit.
template <class T, bool kQuadrant, bool kHyperbolic>
ComplexOf<T> pair(T v) {
  ComplexOf<T> p;
  if constexpr (sizeof(T) == 4) {
    if constexpr (kQuadrant) {
      kHyperbolic ? g_scnhq(&p, &v) : g_scnsq(&p, &v);
    } else {
      kHyperbolic ? g_scnh(&p, &v) : g_scns(&p, &v);
    }
  } else {
    if constexpr (kQuadrant) {
      kHyperbolic ? g_dschq(&p, &v) : g_dscnq(&p, &v);
    } else {
      kHyperbolic ? g_dsch(&p, &v) : g_dscn(&p, &v);
    }
  }
  return p;
}

template <class T, bool kQuadrant, bool kCosine>
struct SinCos : Limits<T, kQuadrant> {
  using C = ComplexOf<T>;
  using W = std::conditional_t<sizeof(T) == 4, double, ld>;  // where the products are formed
  using K = Defaults<T>;
  static bool x_refused(T x) { return std::fabs(x) >= Limits<T, kQuadrant>::xmax; }
  static bool y_refused(T y) { return std::fabs(y) >= Limits<T, kQuadrant>::ymax; }

  // sin z = s ch + (c sh) i, cos z = c ch - (s sh) i, from the pairs.
  static C combine(W s, W c, W sh, W ch) {
    if constexpr (kCosine) {
      return {static_cast<T>(c * ch), static_cast<T>(-(s * sh))};
    } else {
      return {static_cast<T>(s * ch), static_cast<T>(c * sh)};
    }
  }
  static C compute(T x, T y) {
    const double xd = x, yd = y;
    const Complex16 sc = pair<double, kQuadrant, false>(xd);
    const Complex16 h = pair<double, kQuadrant, true>(yd);
    return combine(sc.re, sc.im, h.re, h.im);
  }

  static C refused(T x, T y, bool xr, bool yr) {
    const bool ieee = infinity_defaults();
    if (xr && ieee) return {K::nan, K::nan};
    if (xr && yr) {
      const T im = kCosine ? (y > 0 ? -K::D : K::D) : (y < 0 ? -K::D : K::D);
      return {K::D, im};
    }
    if (xr) {  // r ch + (r sh) i, or r ch - (r sh) i
      const ComplexOf<T> h = pair<T, kQuadrant, true>(y);
      const W r = kHalfRoot, sh = h.re, ch = h.im;
      return {static_cast<T>(r * ch), static_cast<T>(kCosine ? -(r * sh) : r * sh)};
    }
    const ComplexOf<T> sc = pair<T, kQuadrant, false>(x);
    const W big = K::H, s = sc.re, c = sc.im;
    C v = kCosine ? C{static_cast<T>(big * c), static_cast<T>(-(big * s))}
                  : C{static_cast<T>(big * s), static_cast<T>(big * c)};
    if (y < 0) v.im = -v.im;
    if (ieee) v = {inf_signed_as(v.re), inf_signed_as(v.im)};
    return v;
  }
};

template <bool kQuadrant, bool kCosine>
struct SinCos32 {
  using K = Defaults<Real16>;
  static constexpr std::uint32_t xmax = kQuadrant ? 0x403e0000 : 0x403e921f;
  static constexpr std::uint32_t ymax = kQuadrant ? 0x400bc3e2 : 0x400c62e9;
  static constexpr std::int32_t x_error = kQuadrant ? err::kCqsinqX : err::kCqsinX;
  static constexpr std::int32_t y_error = kQuadrant ? err::kCqsinqY : err::kCqsinY;
  static bool x_refused(const Real16 &x) { return qelem::high_word(x) >= xmax; }
  static bool y_refused(const Real16 &y) { return qelem::high_word(y) >= ymax; }

  struct Pair {
    Real16 s, c;
  };
  static Pair circular(const Real16 &v) {
    Pair p;
    kQuadrant ? g_qpscnq(&v, &p.s, &p.c) : g_qpscn(&v, &p.s, &p.c);
    return p;
  }
  static Pair hyperbolic(const Real16 &v) {
    Pair p;
    kQuadrant ? g_qpscnhq(&v, &p.s, &p.c) : g_qpscnh(&v, &p.s, &p.c);
    return p;
  }
  static Real16 minus(const Real16 &v) {
    Real16 r;
    ulx_gqqc(&r, v);
    return r;
  }
  // sin z = s ch + (c sh) i, cos z = c ch - (s sh) i; with (r, r) for (s,
  // c) the x-only default.
  static Complex32 combine(const Pair &sc, const Pair &h) {
    using qelem::mul;
    if constexpr (kCosine) {
      return {mul(sc.c, h.c), minus(mul(sc.s, h.s))};
    } else {
      return {mul(sc.s, h.c), mul(sc.c, h.s)};
    }
  }
  static Complex32 compute(Real16 x, Real16 y) { return combine(circular(x), hyperbolic(y)); }

  static Complex32 refused(Real16 x, Real16 y, bool xr, bool yr) {
    const bool ieee = infinity_defaults();
    if (xr && ieee) return {K::nan, K::nan};
    if (xr && yr) {
      const bool minus_d = kCosine ? above_zero16(y) : below_zero16(y);
      return {K::D, minus_d ? qelem::negated(K::D) : K::D};
    }
    if (xr) return combine({kHalfRoot16, kHalfRoot16}, hyperbolic(y));
    // H s + (H c) i, or H c - (H s) i, the imaginary part negated for y < 0.
    const Pair sc = circular(x);
    Complex32 v = kCosine ? Complex32{qelem::mul(K::H, sc.c), minus(qelem::mul(K::H, sc.s))}
                          : Complex32{qelem::mul(K::H, sc.s), qelem::mul(K::H, sc.c)};
    if (below_zero16(y)) v.im = minus(v.im);
    if (ieee) v = {inf16(qelem::is_negative(v.re)), inf16(qelem::is_negative(v.im))};
    return v;
  }
};

template <bool kQuadrant, bool kCosine>
Complex32 *entry32(Complex32 *result, const Complex32 *z) {
  return store_result(result,
                      refusing<SinCos32<kQuadrant, kCosine>>(plus_zero(z->re), plus_zero(z->im)));
}

template <class T, bool kQuadrant, bool kCosine>
ComplexOf<T> *entry(ComplexOf<T> *result, const ComplexOf<T> *z) {
  return store_result(result, refusing<SinCos<T, kQuadrant, kCosine>>(z->re, z->im));
}

}  // namespace
}  // namespace vx::complex

using vx::complex::entry;
using vx::complex::entry32;

Complex8 *g_csin(Complex8 *result, const Complex8 *z) {
  return entry<float, false, false>(result, z);
}
Complex8 *g_ccos(Complex8 *result, const Complex8 *z) {
  return entry<float, false, true>(result, z);
}
Complex8 *g_csinq(Complex8 *result, const Complex8 *z) {
  return entry<float, true, false>(result, z);
}
Complex8 *g_ccosq(Complex8 *result, const Complex8 *z) {
  return entry<float, true, true>(result, z);
}
Complex16 *g_cdsin(Complex16 *result, const Complex16 *z) {
  return entry<double, false, false>(result, z);
}
Complex16 *g_cdcos(Complex16 *result, const Complex16 *z) {
  return entry<double, false, true>(result, z);
}
Complex16 *g_cdsinq(Complex16 *result, const Complex16 *z) {
  return entry<double, true, false>(result, z);
}
Complex16 *g_cdcosq(Complex16 *result, const Complex16 *z) {
  return entry<double, true, true>(result, z);
}
Complex32 *g_cqsin(Complex32 *result, const Complex32 *z) {
  return entry32<false, false>(result, z);
}
Complex32 *g_cqcos(Complex32 *result, const Complex32 *z) {
  return entry32<false, true>(result, z);
}
Complex32 *g_cqsinq(Complex32 *result, const Complex32 *z) {
  return entry32<true, false>(result, z);
}
Complex32 *g_cqcosq(Complex32 *result, const Complex32 *z) {
  return entry32<true, true>(result, z);
}
