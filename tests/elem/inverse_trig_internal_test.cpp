// The internal quadrant-unit kernels ulx_ga1q and ulx_gd1q, and the tables
// of the inverse trigonometric functions recomputed with MPFR: atantbl
// (tables/atan_table.h) and the expansions of the fused multiply-add route
// (tables/arc_fma_table.h).
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "elem/inverse_trig/inverse_trig.h"
#include "elem/inverse_trig/tables/arc_fma_table.h"
#include "elem/inverse_trig/tables/atan_table.h"
#include "oracle/angle_units.h"
#include "oracle/oracle.h"
#include "support/sampling.h"

namespace {

using oracle::Big;

template <class T>
bool same(T a, T b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// v is the pair high + low to the nearest Real8 each.
void expect_pair(const Big &v, double high, double low, const std::string &what) {
  Big rest;
  EXPECT_EQ(high, mpfr_get_d(v, MPFR_RNDN)) << what;
  mpfr_sub_d(rest, v, high, MPFR_RNDN);
  EXPECT_EQ(low, mpfr_get_d(rest, MPFR_RNDN)) << what;
}

// |sum / exact - 1|; sum is overwritten.
double relative(Big &sum, const Big &exact) {
  mpfr_sub(sum, sum, exact, MPFR_RNDN);
  mpfr_div(sum, sum, exact, MPFR_RNDN);
  return std::fabs(mpfr_get_d(sum, MPFR_RNDN));
}

template <class T>
using Kernel = long double (*)(T);

// acos(1 - v) in quadrant units for 0 <= v <= 1/2 (v uniform, and
// log-uniform towards 0 for every other one): the series rounded to T
// within 0.6 ulp (Real4, the series 0.09 units of 2^-24) and 0.8 (Real8,
// 0.25 units of 2^-53).
template <class T>
void expect_series(const char *name, Kernel<T> kernel, double bound) {
  support::Sampler s(0x91a1 + sizeof(T));
  oracle::WorstCase worst;
  Big exact;
  const std::uint64_t n = support::scaled(20000);
  for (std::uint64_t i = 0; i < n; ++i) {
    const T v = static_cast<T>(i % 2 ? s.uniform(0, 0.5) : std::exp(s.uniform(-60, std::log(0.5))));
    mpfr_set_d(exact, static_cast<double>(v), MPFR_RNDN);
    mpfr_ui_sub(exact, 1, exact, MPFR_RNDN);  // exact at 320 bits
    mpfr_acosu(exact, exact, oracle::kQuadrants, MPFR_RNDN);
    const double err = oracle::ulp_error(static_cast<T>(kernel(v)), exact);
    worst.add(err, static_cast<double>(v));
    if (!(err <= bound)) ADD_FAILURE() << name << "(" << v << "): " << err << " ulp";
  }
  std::printf("  %-9s v in [0, 1/2]: %s (x = v)\n", name, worst.describe().c_str());
}

// From |x| = 1/2 on, the quadrant arc cosine is the kernel's value at
// v = 1 - |x| rounded once: k(v) for x > 0, 2 - k(v) for x < 0. For
// 1/2 < v < 2 the kernel is the arc cosine entry at 1 - v, and 2 from v = 2
// on and for a NaN; k(0) = 0.
template <class T>
void expect_kernel_entry(const char *name, Kernel<T> kernel, T (*acosq)(const T *)) {
  SCOPED_TRACE(name);
  support::Sampler s(0x91a3);
  std::vector<T> xs = {0.5, std::nextafter(T(0.5), T(1)), 0.75, std::nextafter(T(1), T(0)), 1};
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i)
    xs.push_back(static_cast<T>(s.uniform(0.5, 1)));
  int failures = 0;
  for (T x : xs) {
    const T neg = -x;
    const long double k = kernel(1 - x);  // 1 - x exact
    if ((!same(acosq(&x), static_cast<T>(k)) || !same(acosq(&neg), static_cast<T>(2 - k))) &&
        ++failures <= 5)
      ADD_FAILURE() << std::hexfloat << "x = +-" << x << ": kernel " << static_cast<T>(k);
  }
  for (T v : {std::nextafter(T(0.5), T(1)), T(0.75), T(1), T(1.3), std::nextafter(T(2), T(0))}) {
    const T w = 1 - v;
    EXPECT_TRUE(same(static_cast<T>(kernel(v)), acosq(&w))) << "v = " << v;
  }
  for (T v :
       {T(2), T(1e30), std::numeric_limits<T>::infinity(), std::numeric_limits<T>::quiet_NaN()})
    EXPECT_EQ(kernel(v), 2.0L) << "v = " << v;
  EXPECT_EQ(kernel(0), 0.0L);
}

TEST(QuadrantKernels, SeriesAgainstMpfr) {
  expect_series<float>("ulx_ga1q", ulx_ga1q, 0.6);
  expect_series<double>("ulx_gd1q", ulx_gd1q, 0.8);
}

TEST(QuadrantKernels, ArcCosineEntriesFromOneHalf) {
  expect_kernel_entry<float>("ulx_ga1q", ulx_ga1q, g_acosq);
  expect_kernel_entry<double>("ulx_gd1q", ulx_gd1q, g_dacosq);
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
    for (const auto &[table, turn] :
         {std::pair{vx::atantbl_degrees8, oracle::kDegrees}, {vx::atantbl_quadrants8, oracle::kQuadrants}}) {
      mpfr_atanu(v, a, turn, MPFR_RNDN);
      expect_pair(v, table[i].high, table[i].low,
                  std::to_string(i) + ", turn " + std::to_string(turn));
    }
  }
}

// ---- arc_fma_table.h --------------------------------------------------------

// The rationals of the Real8 arc sines that the expansions stand for, from
// the coefficients the register evaluates (ascending), with value 1 + N/D
// or N/D:
//   quadrants  Y(x) = x (1 + A(x^2)/B(x^2)),        G(v) = 1 + P(v)/Q(v);
//   degrees    Y(x) = x A(1/4 - x^2)/B(1/4 - x^2),  G(w) = P(w)/Q(w);
//   radians    Y(x) = x (1 + x^2 A(x^2)/B(x^2)), and above 1/2
//              x (1 + C(x^2)/D(x^2)),               G(v) = 1 + P(v)/Q(v).
struct Rational {
  std::vector<double> num, den;
  bool one_plus;
};

const std::vector<double> kArcsinDenominator = {21.68566860889831, -48.513762320053395,
                                                37.07087034958211, -11.026014708098247, 1.0};
const Rational kQuadrantArcsin{{-7.880143195462664, 19.92986289740539, -17.582876954309587,
                                6.239933816479386, -0.7226209670820288, 0.003742091165584263},
                               kArcsinDenominator,
                               true};
const Rational kQuadrantKernel{
    {-34.58731733649902, 64.72019272828881, -38.04274314620163, 8.514948401112278,
     -0.6077268097294719, 0.002646058039002904},
    {346.970697742373, -388.11009856042716, 148.28348139832843, -22.052029416196493, 1.0},
    true};
const Rational kRadianArcsin{{0, 3.614278101483137, -6.459201907684824, 3.5080564238000966,
                              -0.5642940339625301, 0.005878063057431393},
                             kArcsinDenominator,
                             true};
const Rational kRadianArcsinHigh{{-2.9337113789701198e-09, -13.010108037691234, 30.273171587675083,
                                  -24.065314885421614, 7.382121834580398, -0.6604179821333029},
                                 {-78.06064870727668, 216.76632724636363, -221.02767465604543,
                                  99.92275963114773, -18.76080406637674, 1.0},
                                 true};
const Rational kRadianKernel{
    {381.04888728363596, -270.0958785644958, 39.33262011832943, 3.7062731896116072,
     -0.5205674656916033},
    {919.9333916073307, -913.8065550136159, 296.06065281142884, -34.31514791522208, 1.0},
    true};
const Rational kDegreeArcsin{{41120.43221627929, 105728.48812409185, 88407.21073854952,
                              26524.45143336623, 2071.1651883632517},
                             {685.3405369379882, 1902.8525597300802, 1782.474677170776,
                              644.9542641821329, 74.16145440473538, 1.0},
                             false};
const Rational kDegreeKernel{{1860898.0837388965, 2392362.3083943785, 1000213.315715641,
                              150044.945702257, 5858.139627752877},
                             {21930.89423514709, 30445.637342083905, 14259.7960053086,
                              2579.816866128876, 148.3229026897477, 1.0},
                             false};

void horner(Big &r, const std::vector<double> &c, const Big &u) {
  mpfr_set_zero(r, 1);
  for (auto k = c.rbegin(); k != c.rend(); ++k) {
    mpfr_mul(r, r, u, MPFR_RNDN);
    mpfr_add_d(r, r, *k, MPFR_RNDN);
  }
}

enum class Variable { kSquare, kQuarterLessSquare, kLinear };

// Y(t) = t f(t^2) or t f(1/4 - t^2), or G(t) = f(t).
void value(Big &r, const Rational &f, Variable var, double t) {
  Big x(t), u, d;
  if (var == Variable::kLinear) {
    mpfr_set(u, x, MPFR_RNDN);
  } else {
    mpfr_sqr(u, x, MPFR_RNDN);
    if (var == Variable::kQuarterLessSquare) mpfr_d_sub(u, 0.25, u, MPFR_RNDN);
  }
  horner(r, f.num, u);
  horner(d, f.den, u);
  mpfr_div(r, r, d, MPFR_RNDN);
  if (f.one_plus) mpfr_add_ui(r, r, 1, MPFR_RNDN);
  if (var != Variable::kLinear) mpfr_mul(r, r, x, MPFR_RNDN);
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
    Big exact, up, down, sum, term;
    value(exact, f, var, c);
    expect_pair(exact, p.y0, p.y0_low, name + std::string("[") + std::to_string(j) + "]");
    value(up, f, var, c + 0x1p-40);
    value(down, f, var, c - 0x1p-40);
    mpfr_sub(term, up, down, MPFR_RNDN);
    mpfr_mul_2si(term, term, 39, MPFR_RNDN);
    mpfr_sub_d(term, term, p.y1, MPFR_RNDN);
    mpfr_sub_d(term, term, p.y1_low, MPFR_RNDN);
    EXPECT_LT(std::fabs(mpfr_get_d(term, MPFR_RNDN)), 0x1p-70 * std::fabs(p.y1))
        << name << "[" << j << "] slope";
    for (int k = -32; k <= 32; ++k) {
      const double h = k / 4096.0;
      if (c + h < 0) continue;
      value(exact, f, var, c + h);
      mpfr_set_zero(sum, 1);  // h (y2 + y3 h + ...), then y0 + y1 h + that h
      for (int i = kTail - 1; i >= 0; --i) {
        mpfr_add_d(sum, sum, p.y[i], MPFR_RNDN);
        mpfr_mul_d(sum, sum, h, MPFR_RNDN);
      }
      for (double y1 : {p.y1, p.y1_low}) mpfr_add_d(sum, sum, y1, MPFR_RNDN);
      mpfr_mul_d(sum, sum, h, MPFR_RNDN);
      for (double y0 : {p.y0, p.y0_low}) mpfr_add_d(sum, sum, y0, MPFR_RNDN);
      worst = std::fmax(worst, relative(sum, exact));
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
  expect_pair(exact, c.c0, c.c0_low, name);
  double worst = 0;
  for (int k = 1; k <= 64; ++k) {
    const double x = k / 8192.0, s = x * x;  // exact
    value(exact, f, var, x);
    mpfr_set_zero(sum, 1);
    for (int i = 3; i >= 0; --i) {
      mpfr_add_d(sum, sum, c.t[i], MPFR_RNDN);
      mpfr_mul_d(sum, sum, s, MPFR_RNDN);
    }
    for (double c0 : {c.c0, c.c0_low}) mpfr_add_d(sum, sum, c0, MPFR_RNDN);
    mpfr_mul_d(sum, sum, x, MPFR_RNDN);
    worst = std::fmax(worst, relative(sum, exact));
  }
  EXPECT_LT(worst, 0x1p-67) << name;
}

TEST(ArcFmaTable, ExpansionsMatchTheRationals) {
  namespace t = vx::arc_fma_table;
  using enum Variable;
  expect_series("quadrants::series", t::quadrants::series, kQuadrantArcsin, kSquare);
  expect_rows("quadrants::arcsin", t::quadrants::arcsin, kQuadrantArcsin, kSquare);
  expect_rows("quadrants::kernel", t::quadrants::kernel, kQuadrantKernel, kLinear);
  expect_series("degrees::series", t::degrees::series, kDegreeArcsin, kQuarterLessSquare);
  expect_rows("degrees::arcsin", t::degrees::arcsin, kDegreeArcsin, kQuarterLessSquare);
  expect_rows("degrees::kernel", t::degrees::kernel, kDegreeKernel, kLinear);
  expect_series("radians::series", t::radians::series, kRadianArcsin, kSquare);
  expect_rows("radians::arcsin", t::radians::arcsin, kRadianArcsin, kSquare);
  expect_rows("radians::arcsin_high", t::radians::arcsin_high, kRadianArcsinHigh, kSquare);
  expect_rows("radians::kernel", t::radians::kernel, kRadianKernel, kLinear);
}

}  // namespace
