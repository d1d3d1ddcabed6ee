// The expansions of arc_fma_table.h against the rationals they stand for,
// evaluated with MPFR from the Real8 coefficients of the arc sines (the
// register's formulas):
//   quadrants  Y(x) = x (1 + A(x^2)/B(x^2)),        G(v) = 1 + P(v)/Q(v);
//   degrees    Y(x) = x A(1/4 - x^2)/B(1/4 - x^2),  G(w) = P(w)/Q(w);
//   radians    Y(x) = x (1 + x^2 A(x^2)/B(x^2)), and above 1/2
//              x (1 + C(x^2)/D(x^2)),               G(v) = 1 + P(v)/Q(v).
// Each row's polynomial, its coefficients as stored, must stay within
// 2^-67 of the rational over its whole interval (the route's slack allows
// for 2^-65 for the polynomial and its evaluation together, with a factor
// of 2 to spare); its leading terms must be the nearest pairs to the
// rational's value and slope at the point.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "elem/inverse_trig/tables/arc_fma_table.h"
#include "oracle/oracle.h"

namespace {

using oracle::Big;
namespace table = vx::arc_fma_table;

struct Rational {
  std::vector<double> num, den;  // ascending
  bool one_plus;                 // value 1 + N/D, else N/D
};

const Rational kQuadrantArcsin{
    {-7.880143195462664, 19.92986289740539, -17.582876954309587, 6.239933816479386,
     -0.7226209670820288, 0.003742091165584263},
    {21.68566860889831, -48.513762320053395, 37.07087034958211, -11.026014708098247, 1.0},
    true};
const Rational kQuadrantKernel{
    {-34.58731733649902, 64.72019272828881, -38.04274314620163, 8.514948401112278,
     -0.6077268097294719, 0.002646058039002904},
    {346.970697742373, -388.11009856042716, 148.28348139832843, -22.052029416196493, 1.0},
    true};
const Rational kRadianArcsin{
    {0, 3.614278101483137, -6.459201907684824, 3.5080564238000966, -0.5642940339625301,
     0.005878063057431393},
    {21.68566860889831, -48.513762320053395, 37.07087034958211, -11.026014708098247, 1.0},
    true};  // x (1 + s A(s)/B(s))
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
  mpfr_set_d(r, c.back(), MPFR_RNDN);
  for (int i = static_cast<int>(c.size()) - 2; i >= 0; --i) {
    mpfr_mul(r, r, u, MPFR_RNDN);
    mpfr_add_d(r, r, c[i], MPFR_RNDN);
  }
}

// f at the variable u.
void rational(Big &r, const Rational &f, const Big &u) {
  Big d;
  horner(r, f.num, u);
  horner(d, f.den, u);
  mpfr_div(r, r, d, MPFR_RNDN);
  if (f.one_plus) mpfr_add_ui(r, r, 1, MPFR_RNDN);
}

enum class Variable { square, quarter_less_square, linear };

// Y(t) = t f(t^2) or t f(1/4 - t^2), or G(t) = f(t).
void value(Big &r, const Rational &f, Variable var, double t) {
  Big x(t), u;
  if (var == Variable::linear) {
    rational(r, f, x);
    return;
  }
  mpfr_sqr(u, x, MPFR_RNDN);
  if (var == Variable::quarter_less_square) mpfr_d_sub(u, 0.25, u, MPFR_RNDN);
  rational(r, f, u);
  mpfr_mul(r, r, x, MPFR_RNDN);
}

// The largest |polynomial - f| / |f| over 65 points of each row's interval,
// and the leading pairs checked against f and its slope (a central
// difference at 2^-40, good to 2^-80 relative).
template <class Point, int first, int last>
double worst_row_error(const char *name, const table::Rows<Point, first, last> &points,
                       const Rational &f, Variable var) {
  constexpr int kCoefficients = 4 + static_cast<int>(sizeof(Point{}.y) / sizeof(double));
  double worst = 0;
  for (int j = first; j <= last; ++j) {
    const Point &p = points.row[j - first];
    const double c = j / 64.0;
    Big exact, up, down, sum, term;
    value(exact, f, var, c);
    EXPECT_EQ(p.y0, mpfr_get_d(exact, MPFR_RNDN)) << name << "[" << j << "]";
    mpfr_sub_d(term, exact, p.y0, MPFR_RNDN);
    EXPECT_EQ(p.y0_low, mpfr_get_d(term, MPFR_RNDN)) << name << "[" << j << "]";
    value(up, f, var, c + 0x1p-40);
    value(down, f, var, c - 0x1p-40);
    mpfr_sub(term, up, down, MPFR_RNDN);
    mpfr_mul_2si(term, term, 39, MPFR_RNDN);  // slope
    mpfr_sub_d(term, term, p.y1, MPFR_RNDN);
    mpfr_sub_d(term, term, p.y1_low, MPFR_RNDN);
    EXPECT_LT(std::fabs(mpfr_get_d(term, MPFR_RNDN)), 0x1p-70 * std::fabs(p.y1))
        << name << "[" << j << "] slope";
    for (int k = -32; k <= 32; ++k) {
      const double h = k / 4096.0;  // |h| <= 1/128
      if (c + h < 0) continue;
      value(exact, f, var, c + h);
      // y0 + y1 h + ... in MPFR from the stored coefficients
      mpfr_set_zero(sum, 1);
      for (int i = kCoefficients - 5; i >= 0; --i) {
        mpfr_add_d(sum, sum, p.y[i], MPFR_RNDN);
        mpfr_mul_d(sum, sum, h, MPFR_RNDN);
      }
      mpfr_set_d(term, p.y1, MPFR_RNDN);  // sum is h (y2 + y3 h + ...)
      mpfr_add_d(term, term, p.y1_low, MPFR_RNDN);
      mpfr_add(sum, sum, term, MPFR_RNDN);
      mpfr_mul_d(sum, sum, h, MPFR_RNDN);
      mpfr_add_d(sum, sum, p.y0, MPFR_RNDN);
      mpfr_add_d(sum, sum, p.y0_low, MPFR_RNDN);
      mpfr_sub(sum, sum, exact, MPFR_RNDN);
      mpfr_div(sum, sum, exact, MPFR_RNDN);
      worst = std::fmax(worst, std::fabs(mpfr_get_d(sum, MPFR_RNDN)));
    }
  }
  return worst;
}

// The series x (c0 + t1 s + ... + t4 s^4) for |x| <= 1/128.
double worst_series_error(const table::Series &c, const Rational &f, Variable var) {
  Big exact, u;
  mpfr_set_d(u, var == Variable::quarter_less_square ? 0.25 : 0.0, MPFR_RNDN);
  rational(exact, f, u);  // Y/x at 0
  EXPECT_EQ(c.c0, mpfr_get_d(exact, MPFR_RNDN));
  mpfr_sub_d(exact, exact, c.c0, MPFR_RNDN);
  EXPECT_EQ(c.c0_low, mpfr_get_d(exact, MPFR_RNDN));
  double worst = 0;
  for (int k = 1; k <= 64; ++k) {
    const double x = k / 8192.0;
    const double s = x * x;  // exact
    value(exact, f, var, x);
    Big sum;
    mpfr_set_d(sum, c.t[3], MPFR_RNDN);
    for (int i = 2; i >= 0; --i) {
      mpfr_mul_d(sum, sum, s, MPFR_RNDN);
      mpfr_add_d(sum, sum, c.t[i], MPFR_RNDN);
    }
    mpfr_mul_d(sum, sum, s, MPFR_RNDN);
    mpfr_add_d(sum, sum, c.c0, MPFR_RNDN);
    mpfr_add_d(sum, sum, c.c0_low, MPFR_RNDN);
    mpfr_mul_d(sum, sum, x, MPFR_RNDN);
    mpfr_sub(sum, sum, exact, MPFR_RNDN);
    mpfr_div(sum, sum, exact, MPFR_RNDN);
    worst = std::fmax(worst, std::fabs(mpfr_get_d(sum, MPFR_RNDN)));
  }
  return worst;
}

TEST(ArcFmaTable, QuadrantExpansionsMatchTheRationals) {
  EXPECT_LT(worst_series_error(table::quadrants::series, kQuadrantArcsin, Variable::square),
            0x1p-67);
  EXPECT_LT(worst_row_error("quadrants::arcsin", table::quadrants::arcsin, kQuadrantArcsin,
                            Variable::square),
            0x1p-67);
  EXPECT_LT(worst_row_error("quadrants::kernel", table::quadrants::kernel, kQuadrantKernel,
                            Variable::linear),
            0x1p-67);
}

TEST(ArcFmaTable, DegreeExpansionsMatchTheRationals) {
  EXPECT_LT(
      worst_series_error(table::degrees::series, kDegreeArcsin, Variable::quarter_less_square),
      0x1p-67);
  EXPECT_LT(worst_row_error("degrees::arcsin", table::degrees::arcsin, kDegreeArcsin,
                            Variable::quarter_less_square),
            0x1p-67);
  EXPECT_LT(
      worst_row_error("degrees::kernel", table::degrees::kernel, kDegreeKernel, Variable::linear),
      0x1p-67);
}

TEST(ArcFmaTable, RadianExpansionsMatchTheRationals) {
  EXPECT_LT(worst_series_error(table::radians::series, kRadianArcsin, Variable::square), 0x1p-67);
  EXPECT_LT(
      worst_row_error("radians::arcsin", table::radians::arcsin, kRadianArcsin, Variable::square),
      0x1p-67);
  EXPECT_LT(worst_row_error("radians::arcsin_high", table::radians::arcsin_high, kRadianArcsinHigh,
                            Variable::square),
            0x1p-67);
  EXPECT_LT(
      worst_row_error("radians::kernel", table::radians::kernel, kRadianKernel, Variable::linear),
      0x1p-67);
}

// The values the rationals were fitted to hold at the ends of the ranges:
// Y/x at 0 is the unit factor (2/pi, 180/pi, 1), acos |x| / sqrt(1 - |x|)
// tends to the factor times sqrt(2) at |x| = 1, and is 60 sqrt(2) at
// |x| = 1/2 in degrees.
TEST(ArcFmaTable, EndValuesAreTheUnitFactors) {
  EXPECT_NEAR(table::quadrants::series.c0, 2 / M_PI, 3e-16);
  EXPECT_NEAR(table::degrees::series.c0, 180 / M_PI, 1e-13);
  EXPECT_NEAR(table::quadrants::kernel.row[0].y0, 2 * M_SQRT2 / M_PI, 3e-16);   // v = 0
  EXPECT_NEAR(table::degrees::kernel.row[32].y0, 180 * M_SQRT2 / M_PI, 1e-13);  // w = 1/2
  EXPECT_DOUBLE_EQ(table::degrees::kernel.row[0].y0, 60 * M_SQRT2);             // w = 0
  EXPECT_EQ(table::radians::series.c0, 1.0);
  EXPECT_EQ(table::radians::series.c0_low, 0.0);
  EXPECT_NEAR(table::radians::kernel.row[0].y0, M_SQRT2, 3e-16);  // v = 0
}

}  // namespace
