// The fused multiply-add route of the Real8 arc sines and arc cosines in
// radians, quadrant units and degrees (asin_acos.cpp,
// asin_acos_quadrants.cpp, asin_acos_degrees.cpp), for processors that
// have FMA (common/cpu.h).
//
// The register rounds its value of each Real8 rational to 64 bits, and
// that to a Real8. Here the same rationals are formed on SSE as high + low
// from the expansions of arc_fma_table.h, within 2^-65 of their size, and
// when high + low moved by a slack either way rounds to the same Real8, so
// does the register's value; otherwise (about one argument in 100) the
// register evaluation runs. With Y the arc sine's rational (up to 1/2, in
// radians up to sqrt(1/2)) and K = sqrt(1 - |x|) G the arc cosine beyond,
// the register's errors, each rounding counted at 2^-64 of its result and
// weighed by what it adds to the result (largest seen in 2 10^6 arguments
// against MPFR in brackets):
//   quadrants  Y within 7.3 roundings (2^-61.1, seen 2^-62.2), slack 2^-60
//              of |Y|; K within 3.6 (2^-62.1, seen 2^-63.0), slack 2^-61 of
//              K; 1 - Y, 1 - K and 2 - K within 2^-62.2 (seen 2^-62.9),
//              slack 2^-61;
//   degrees    Y within 6.3 roundings (2^-61.3, seen 2^-61.9), slack 2^-60
//              of |Y|; K within 7.2 (2^-61.2, seen 2^-61.7), slack 2^-60 of
//              K; 90 - Y, 90 - K and 180 - K within 2^-61.4 of 90 (seen
//              2^-62.3), slack 2^-60 of 90;
//   radians    Y within 4.6 roundings (2^-61.8, seen 2^-62.8), slack 2^-60
//              of |Y|; K within 3.7 (2^-62.1, seen 2^-62.7), slack 2^-61 of
//              K; pi/2 - Y, pi/2 - K and pi - K, with pi/2 and pi as head
//              and tail, within 4.1 roundings of pi/2 (seen 2^-62.6 of it),
//              slack 2^-61 of pi/2.
// The slack stays normal: arc sines below 2^-900 take the register.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "common/bits.h"
#include "common/cpu.h"
#include "common/double_double.h"
#include "elem/inverse_trig/inverse_trig.h"
#include "elem/inverse_trig/tables/arc_fma_table.h"

namespace vx::arc_fma {

namespace table = arc_fma_table;

constexpr double nearest = 0x1.8p52;                  // adding it rounds 64 t to an integer
constexpr double arcsin_slack = 0x1p-60;              // of |Y|, every unit
constexpr std::uint64_t kLeast = 0x07b0000000000000;  // 2^-900

// y[0] + y[1] h + ... by Estrin's scheme, h2 = h^2, h4 = h^4.
template <std::size_t n>
[[gnu::target("fma"), gnu::always_inline]] inline double estrin(const double (&y)[n], double h,
                                                                double h2, double h4) {
  static_assert(n == 7 || n == 9 || n == 11);
  const double f0 = std::fma(h2, std::fma(h, y[3], y[2]), std::fma(h, y[1], y[0]));
  if constexpr (n == 7) {
    return std::fma(h4, std::fma(h2, y[6], std::fma(h, y[5], y[4])), f0);
  } else {
    const double f1 = std::fma(h2, std::fma(h, y[7], y[6]), std::fma(h, y[5], y[4]));
    if constexpr (n == 9) return std::fma(h4, std::fma(h4, y[8], f1), f0);
    const double f2 = std::fma(h2, y[10], std::fma(h, y[9], y[8]));
    return std::fma(h4, std::fma(h4, f2, f1), f0);
  }
}

// y0 + y1 h + ... at t = j/64 + h, |h| <= 1/128, j = 64 t rounded and one
// of the table's rows: the first two terms as pairs, the rest by Estrin's
// scheme.
template <class Point, int first, int last>
[[gnu::target("fma"), gnu::always_inline]] inline DoubleDouble expansion(
    const table::Rows<Point, first, last> &points, double t) {
  const double n = std::fma(t, 64, nearest);  // t 64 is exact
  const Point &p = points.row[low_word(n) - first];
  const double h = std::fma(n - nearest, -0x1p-6, t);  // exact
  const double h2 = h * h;
  const double tail = estrin(p.y, h, h2, h2 * h2);
  const double m = h * p.y1;
  const double m_low = std::fma(h, p.y1, -m);  // exact
  const double hi = p.y0 + m;                  // |m| < y0
  // the terms the tail does not feed first, so that it enters last
  const double rest = ((p.y0 - hi) + m) + (m_low + std::fma(h, p.y1_low, p.y0_low));
  return {hi, std::fma(h2, tail, rest)};
}

// Y for x = ax, 0 <= ax up to where the arc sine's rational ends: the
// series, the table, and in radians the second rational's table above 1/2.
template <class Unit>
[[gnu::target("fma"), gnu::always_inline]] inline DoubleDouble arcsin_sum(double ax) {
  if (ax <= 0x1p-7) {
    const table::Series &c = Unit::series;
    const double s = ax * ax;
    const double q = std::fma(s, std::fma(s, std::fma(s, c.t[3], c.t[2]), c.t[1]), c.t[0]);
    const double hi = ax * c.c0;
    return {hi, std::fma(ax, c.c0, -hi) + ax * std::fma(s, q, c.c0_low)};
  }
  if constexpr (Unit::two_rationals) {
    if (ax > 0.5) return expansion(Unit::arcsin_high, ax);
  }
  return expansion(Unit::arcsin, ax);
}

// K for ax from where the kernel starts up to 1; NaN for ax = 1 (no
// bracket settles it).
template <class Unit>
[[gnu::target("fma"), gnu::always_inline]] inline DoubleDouble arccos_sum(double ax) {
  const double v = 1 - ax;  // exact
  const DoubleDouble g = expansion(Unit::kernel, Unit::kernel_variable(ax));
  const double r = std::sqrt(v);
  const double half_rcp = 0.5 / v;  // beside the square root, not after it
  // sqrt(v) - r = (v - r^2)/(2 r) = (v - r^2) r/(2 v), to 2^-52 of itself
  const double r_low = std::fma(-r, r, v) * r * half_rcp;
  const double hi = r * g.high;
  return {hi, std::fma(r, g.high, -hi) + std::fma(r, g.low, r_low * g.high)};
}

// c + c_low - y for |y.high| <= |c|, c_low at most half an ulp of c.
[[gnu::target("fma"), gnu::always_inline]] inline DoubleDouble minus(double c, double c_low,
                                                                     DoubleDouble y) {
  const double hi = c - y.high;
  return {hi, ((c - hi) - y.high) + (c_low - y.low)};
}

// The register evaluation `evaluate` out of line, for the arguments no
// bracket settles.
template <auto evaluate>
[[gnu::noinline, gnu::cold]] double register_value(const double *x, std::uint64_t b) {
  return evaluate(x, b);
}

// The arc sine and arc cosine for |*x| <= 1, b the bits of *x; what no
// bracket settles goes to Unit's register evaluation. Unit::quarter (with
// its tail quarter_low) is the arc sine of 1, Unit::half (half_low) the arc
// cosine of -1; the arc sine takes its rational where arcsin_by_series(b),
// the arc cosine where arccos_by_series(b), the kernel elsewhere.
template <class Unit>
[[gnu::target("fma")]] inline double arcsin_value(const double *x, std::uint64_t b) {
  const double ax = std::fabs(*x);
  const double slack = Unit::quarter * Unit::slack;
  double r;
  if (!Unit::arcsin_by_series(b)) {
    if (dd::settle(minus(Unit::quarter, Unit::quarter_low, arccos_sum<Unit>(ax)), slack, r))
        [[likely]]
      return negative(b) ? -r : r;
  } else if ((b & kMagnitude) >= kLeast) [[likely]] {
    const DoubleDouble y = arcsin_sum<Unit>(ax);
    if (dd::settle(y, y.high * arcsin_slack, r)) [[likely]]
      return negative(b) ? -r : r;
  }
  return register_value<Unit::arcsin_register>(x, b);
}

template <class Unit>
[[gnu::target("fma")]] inline double arccos_value(const double *x, std::uint64_t b) {
  const double ax = std::fabs(*x);
  const double slack = Unit::quarter * Unit::slack;
  double r;
  if (Unit::arccos_by_series(b)) {
    DoubleDouble y = arcsin_sum<Unit>(ax);
    if (negative(b)) y = {-y.high, -y.low};
    if (dd::settle(minus(Unit::quarter, Unit::quarter_low, y), slack, r)) [[likely]]
      return r;
  } else {
    const DoubleDouble k = arccos_sum<Unit>(ax);
    if (negative(b) ? dd::settle(minus(Unit::half, Unit::half_low, k), slack, r)
                    : dd::settle(k, k.high * Unit::slack, r)) [[likely]]
      return r;
  }
  return register_value<Unit::arccos_register>(x, b);
}

// The Real8 entries on this route: a target("fma") function inlines only
// into another, so the whole entry is instantiated for it; `attempt` is the
// entry's resume-loop attempt (errors).
template <class Unit, auto attempt>
[[gnu::target("fma")]] double arcsin_route(const double *x) {
  return arc_entry<arcsin_value<Unit>, attempt>(x);
}
template <class Unit, auto attempt>
[[gnu::target("fma")]] double arccos_route(const double *x) {
  return arc_entry<arccos_value<Unit>, attempt>(x);
}

}  // namespace vx::arc_fma

namespace vx {

// A Real8 arc sine or arc cosine entry: the route above where the processor
// has fused multiply-adds, else the register's steps Unit::arcsin_register
// or Unit::arccos_register (arc_entry).
template <class Unit, auto attempt>
[[gnu::always_inline]] inline double arcsin_entry(const double *x) {
  return cpu::fma_or_baseline<arc_fma::arcsin_route<Unit, attempt>,
                              arc_entry<Unit::arcsin_register, attempt>>(x);
}
template <class Unit, auto attempt>
[[gnu::always_inline]] inline double arccos_entry(const double *x) {
  return cpu::fma_or_baseline<arc_fma::arccos_route<Unit, attempt>,
                              arc_entry<Unit::arccos_register, attempt>>(x);
}

}  // namespace vx
