// Complex sines and cosines, in radians and in quadrant units (of z pi/2):
// g_csin, g_ccos, g_csinq, g_ccosq (Complex8), g_cdsin, g_cdcos, g_cdsinq,
// g_cdcosq (Complex16).
//
// With (s, c) the sine and cosine of x and (sh, ch) the hyperbolic sine
// and cosine of y, by the Real8 pairs g_dscn and g_dsch (radians) or
// g_dscnq and g_dschq (quadrant units, which take pi/2 into the pairs, so
// z is never multiplied by pi/2):
//   sin z = s ch + (c sh) i,  cos z = c ch - (s sh) i,
// the products in Real8 and rounded to Real4 (Complex8), or in the x87
// register and rounded to Real8 (Complex16).
//
// Limits, |x| >= xmax and |y| >= ymax (infinities included; a NaN passes
// and meets the pairs' own tests): errors with the part as the value
//   g_csin g_ccos     823000    89.415               205, 206
//   g_cdsin g_cdcos   3.53e15   710.4749755859375    207, 208
//   g_csinq g_ccosq   524000    56.92                1407, 1408
//   g_cdsinq g_cdcosq 2.25e15   452.3                1409, 1410
// Defaults once the handler declines (r = sqrt(2)/2 as a Real8; H and D of
// complex_functions.h), the pairs of the part type (Complex8: g_scns,
// g_scnh, g_scnsq, g_scnhq; Complex16: those of the computation):
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
// y pi/2 (a relative |y| pi/2 2^-52.4).
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <type_traits>

#include "complex/complex_functions.h"
#include "frame/error_numbers.h"
#include "frame/hidden_result.h"

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

template <class T, bool kQuadrant, bool kCosine>
ComplexOf<T> *entry(ComplexOf<T> *result, const ComplexOf<T> *z) {
  return store_result(result, refusing<SinCos<T, kQuadrant, kCosine>>(z->re, z->im));
}

}  // namespace
}  // namespace vx::complex

using vx::complex::entry;

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
