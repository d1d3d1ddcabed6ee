// The internal quadrant-unit kernels ulx_ga1q and ulx_gd1q, and the tables
// of the inverse trigonometric functions recomputed with MPFR: atantbl
// (tables/atan_table.h) and the expansions of the fused multiply-add route
// (tables/arc_fma_table.h) against the rationals they stand for.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "elem/inverse_trig/inverse_trig.h"
#include "elem/inverse_trig/tables/arc_fma_table.h"
#include "elem/inverse_trig/tables/atan_table.h"
#include "oracle/angle_units.h"
#include "support/family_table.h"
#include "tools/tables/arc_fma_rationals.h"

namespace {

using oracle::Big;
using support::bits_of;

// acos(1 - v) in quadrant units for 0 <= v <= 1/2 (v uniform, and
// log-uniform towards 0 every other one): Real4 0.6 ulp (the series 0.09
// units of 2^-24), Real8 0.8 (0.25 units of 2^-53). From |x| = 1/2 on, the
// quadrant arc cosine is the kernel at v = 1 - |x| rounded once: k(v) for
// x > 0, 2 - k(v) for x < 0; for 1/2 < v < 2 the kernel is the arc cosine
// entry at 1 - v, and 2 from v = 2 on and for a NaN; k(0) = 0.
template <class T>
void expect_kernel(const char *name, long double (*kernel)(T), T (*acosq)(const T *),
                   double bound) {
  SCOPED_TRACE(name);
  support::Sampler s(0x91a1 + sizeof(T));
  oracle::WorstCase worst;
  Big exact;
  std::vector<T> xs = {0.5, std::nextafter(T(0.5), T(1)), 0.75, std::nextafter(T(1), T(0)), 1};
  int failures = 0;
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    const T v = static_cast<T>(i % 2 ? s.uniform(0, 0.5) : std::exp(s.uniform(-60, std::log(0.5))));
    mpfr_set_d(exact, static_cast<double>(v), MPFR_RNDN);
    mpfr_ui_sub(exact, 1, exact, MPFR_RNDN);  // exact at 320 bits
    mpfr_acosu(exact, exact, oracle::kQuadrants, MPFR_RNDN);
    const double err = oracle::ulp_error(static_cast<T>(kernel(v)), exact);
    worst.add(err, static_cast<double>(v));
    if (!(err <= bound) && ++failures <= 5) ADD_FAILURE() << "v = " << v << ": " << err << " ulp";
    xs.push_back(static_cast<T>(s.uniform(0.5, 1)));
  }
  std::printf("  %-9s v in [0, 1/2]: %s (x = v)\n", name, worst.describe().c_str());
  for (T x : xs) {
    const T neg = -x;
    const long double k = kernel(1 - x);  // 1 - x exact
    if ((bits_of(acosq(&x)) != bits_of(static_cast<T>(k)) ||
         bits_of(acosq(&neg)) != bits_of(static_cast<T>(2 - k))) &&
        ++failures <= 5)
      ADD_FAILURE() << std::hexfloat << "x = +-" << x << ": kernel " << static_cast<T>(k);
  }
  for (T v : {std::nextafter(T(0.5), T(1)), T(0.75), T(1), T(1.3), std::nextafter(T(2), T(0))}) {
    const T w = 1 - v;
    EXPECT_EQ(bits_of(static_cast<T>(kernel(v))), bits_of(acosq(&w))) << "v = " << v;
  }
  for (T v :
       {T(2), T(1e30), std::numeric_limits<T>::infinity(), std::numeric_limits<T>::quiet_NaN()})
    EXPECT_EQ(kernel(v), 2.0L) << "v = " << v;
  EXPECT_EQ(kernel(0), 0.0L);
}

TEST(QuadrantKernels, SeriesAndArcCosineEntries) {
  expect_kernel<float>("ulx_ga1q", ulx_ga1q, g_acosq, 0.6);
  expect_kernel<double>("ulx_gd1q", ulx_gd1q, g_dacosq, 0.8);
}

// atantbl: atan(c) in degrees and quadrant units at the breakpoints c. Real4
// entry i: c the Real4 with bit pattern (496 + i) << 21, the nearest Real8.
// Real8 entry i: c with high word 0x3FC00000 + i 0x20000 (i <= 8) or
// 0x3FC80000 + i 0x10000 (i >= 8), the nearest Real8 and the nearest Real8
// to the rest.
TEST(AtanTable, RecomputedWithMpfr) {
  Big a, v;
  for (int i = 0; i < 25; ++i) {
    mpfr_set_d(a, std::bit_cast<float>(static_cast<std::uint32_t>(496 + i) << 21), MPFR_RNDN);
    mpfr_atanu(v, a, oracle::kDegrees, MPFR_RNDN);
    EXPECT_EQ(vx::atantbl_degrees4[i], mpfr_get_d(v, MPFR_RNDN)) << "entry " << i;
    mpfr_atanu(v, a, oracle::kQuadrants, MPFR_RNDN);
    EXPECT_EQ(vx::atantbl_quadrants4[i], mpfr_get_d(v, MPFR_RNDN)) << "entry " << i;
  }
  for (std::uint64_t i = 0; i < 121; ++i) {
    const std::uint64_t high = i <= 8 ? 0x3fc00000 + i * 0x20000 : 0x3fc80000 + i * 0x10000;
    mpfr_set_d(a, std::bit_cast<double>(high << 32), MPFR_RNDN);
    for (const auto &[table, turn] : {std::pair{vx::atantbl_degrees8, oracle::kDegrees},
                                      {vx::atantbl_quadrants8, oracle::kQuadrants}}) {
      mpfr_atanu(v, a, turn, MPFR_RNDN);
      support::expect_split(v, table[i].high, table[i].low,
                            std::to_string(i) + " of " + std::to_string(turn));
    }
  }
}

// ---- arc_fma_table.h --------------------------------------------------------

using arc_rationals::Rational;
enum class Variable { kSquare, kQuarterLessSquare, kLinear };

// Y(t) = t f(t^2) or t f(1/4 - t^2), or G(t) = f(t).
void value(Big &r, const Rational &f, Variable var, double t) {
  Big x(t), u, d;
  mpfr_set(u, x, MPFR_RNDN);
  if (var != Variable::kLinear) mpfr_sqr(u, x, MPFR_RNDN);
  if (var == Variable::kQuarterLessSquare) mpfr_d_sub(u, 0.25, u, MPFR_RNDN);
  support::horner(r, f.num, u);
  support::horner(d, f.den, u);
  mpfr_div(r, r, d, MPFR_RNDN);
  mpfr_add_ui(r, r, f.one, MPFR_RNDN);
  if (var != Variable::kLinear) mpfr_mul(r, r, x, MPFR_RNDN);
}

// high + low + step (tail[n - 1] + ... + tail[0] step) step, in MPFR.
void expansion(Big &sum, double high, double low, double step, const double *tail, int n) {
  mpfr_set_zero(sum, 1);
  for (int i = n - 1; i >= 0; --i) {
    mpfr_add_d(sum, sum, tail[i], MPFR_RNDN);
    mpfr_mul_d(sum, sum, step, MPFR_RNDN);
  }
  for (double v : {high, low}) mpfr_add_d(sum, sum, v, MPFR_RNDN);
}

// Each row's expansion y0 + y1 h + ... (its coefficients as stored) stays
// within 2^-67 of the rational, relative, over its interval j/64 + h,
// |h| <= 1/128 (65 points): the route's slack allows 2^-65 for the
// expansion and its evaluation. y0 and y1 (with their low parts) are the
// nearest pairs to the value and the slope at the centre (a central
// difference at 2^-40, good to 2^-80).
template <class Point, int first, int last>
void expect_rows(const char *name, const vx::arc_fma_table::Rows<Point, first, last> &points,
                 const Rational &f, Variable var) {
  constexpr int kTail = static_cast<int>(sizeof(Point{}.y) / sizeof(double));
  double worst = 0;
  for (int j = first; j <= last; ++j) {
    const Point &p = points.row[j - first];
    const double c = j / 64.0;
    const std::string row = name + std::string("[") + std::to_string(j) + "]";
    Big exact, up, sum;
    value(exact, f, var, c);
    support::expect_split(exact, p.y0, p.y0_low, row);
    value(up, f, var, c + 0x1p-40);
    value(sum, f, var, c - 0x1p-40);
    mpfr_sub(up, up, sum, MPFR_RNDN);
    mpfr_mul_2si(up, up, 39, MPFR_RNDN);
    mpfr_sub_d(up, up, p.y1, MPFR_RNDN);
    mpfr_sub_d(up, up, p.y1_low, MPFR_RNDN);
    EXPECT_LT(std::fabs(mpfr_get_d(up, MPFR_RNDN)), 0x1p-70 * std::fabs(p.y1)) << row << " slope";
    for (int k = -32; k <= 32; ++k) {
      const double h = k / 4096.0;
      if (c + h < 0) continue;
      value(exact, f, var, c + h);
      expansion(sum, p.y1, p.y1_low, h, p.y, kTail);  // y1 + h (y2 + ...)
      mpfr_mul_d(sum, sum, h, MPFR_RNDN);
      for (double y0 : {p.y0, p.y0_low}) mpfr_add_d(sum, sum, y0, MPFR_RNDN);
      worst = std::fmax(worst, support::relative(sum, exact));
    }
  }
  EXPECT_LT(worst, 0x1p-67) << name;
}

// The series x (c0 + t1 s + ... + t4 s^4), |x| <= 1/128: c0 (with its low
// part) the nearest pair to Y/x at 0, and within 2^-67 of Y.
void expect_series(const char *name, const vx::arc_fma_table::Series &c, const Rational &f,
                   Variable var) {
  Big exact, sum;
  value(exact, f, Variable::kLinear, var == Variable::kSquare ? 0 : 0.25);  // Y/x at x = 0
  support::expect_split(exact, c.c0, c.c0_low, name);
  double worst = 0;
  for (int k = 1; k <= 64; ++k) {
    const double x = k / 8192.0;
    value(exact, f, var, x);
    expansion(sum, c.c0, c.c0_low, x * x, c.t, 4);  // x * x exact
    mpfr_mul_d(sum, sum, x, MPFR_RNDN);
    worst = std::fmax(worst, support::relative(sum, exact));
  }
  EXPECT_LT(worst, 0x1p-67) << name;
}

TEST(ArcFmaTable, ExpansionsMatchTheRationals) {
  namespace t = vx::arc_fma_table;
  namespace r = arc_rationals;
  using enum Variable;
  expect_series("quadrants::series", t::quadrants::series, r::quadrant_arcsin, kSquare);
  expect_rows("quadrants::arcsin", t::quadrants::arcsin, r::quadrant_arcsin, kSquare);
  expect_rows("quadrants::kernel", t::quadrants::kernel, r::quadrant_kernel, kLinear);
  expect_series("degrees::series", t::degrees::series, r::degree_arcsin, kQuarterLessSquare);
  expect_rows("degrees::arcsin", t::degrees::arcsin, r::degree_arcsin, kQuarterLessSquare);
  expect_rows("degrees::kernel", t::degrees::kernel, r::degree_kernel, kLinear);
  expect_series("radians::series", t::radians::series, r::radian_arcsin, kSquare);
  expect_rows("radians::arcsin", t::radians::arcsin, r::radian_arcsin, kSquare);
  expect_rows("radians::arcsin_high", t::radians::arcsin_high, r::radian_arcsin_high, kSquare);
  expect_rows("radians::kernel", t::radians::kernel, r::radian_kernel, kLinear);
}

}  // namespace
