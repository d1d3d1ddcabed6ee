// g_tan, g_cotan, g_dtan, g_dcotan against MPFR, their table, their poles
// and limits.
//
// Bounds. A reduction leaves an absolute error in the reduced angle, which
// tan and cot carry with their logarithmic derivative |f'/f| = |2 / sin 2x|
// (large only next to their zeros and poles). The angle errors:
//   Real4 beyond pi/2: x 2/pi with 2/pi as one Real8 and a 64-bit product,
//     below |x| 2^-53;
//   Real8 table range: pi/2 = hpa + hpc, below |x| 2^-80 + 2^-66;
//   Real8 large range: pi/2 in three pieces; the correction term e sums
//     terms up to about 1 in Real8, so 2^-53, plus |x| 2^-105 for the pieces.
// On top of that the kernels reach the base bounds of each range (the
// printed maxima are what this run measured): the Real4 polynomials and the
// Real8 rationals are evaluated in extended precision and rounded once, and
// their own approximation errors stay below 0.03 ulp (Real4) and 0.3 ulp
// (Real8).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "elem/trig/tables/tan_table.h"
#include "support/checks.h"
#include "support/ieee_constants.h"

namespace {

using support::ErrorRow;
using support::Sampler;

// |f'/f| of tan and cot.
double log_derivative(double x) { return std::fabs(2 / std::sin(2 * x)); }

struct Range {
  support::Range r;
  double base;       // ulps
  double per_x;      // angle error per unit of |x|
  double fixed = 0;  // angle error independent of x
};

template <class T>
void run_ranges(const char *name, support::Unary<T> fn, oracle::Fn1 f,
                std::initializer_list<Range> ranges, std::uint64_t n) {
  for (const Range &r : ranges) {
    const auto angle_error = [r](double x) { return std::fabs(x) * r.per_x + r.fixed; };
    support::expect_accuracy_in<T>(
        name, fn, f, r.r, n, support::reduction_bound<T>(r.base, angle_error, log_derivative));
  }
}

constexpr double kQuarter = 0.7853981633974483;
constexpr double kHalfPi = 1.5707963267948966;

TEST(Tan4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(100000);
  const auto ranges = {Range{{0, kQuarter}, 0.53, 0}, Range{{kQuarter, kHalfPi}, 0.53, 0},
                       Range{{kHalfPi, 100}, 0.53, 0x1p-53}, Range{{100, 823000}, 0.53, 0x1p-53}};
  run_ranges<float>("g_tan", g_tan, mpfr_tan, ranges, n);
  run_ranges<float>("g_cotan", g_cotan, mpfr_cot, ranges, n);
}

TEST(Tan8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(100000);
  const auto ranges = {Range{{0, kQuarter}, 0.9, 0},
                       Range{{kQuarter, kHalfPi}, 0.9, 0},
                       Range{{kHalfPi, 100}, 0.8, 0x1p-80, 0x1p-66},
                       Range{{100, 100000}, 0.8, 0x1p-80, 0x1p-66},
                       Range{{100000, 1e9}, 0.8, 0x1p-105, 0x1p-53},
                       Range{{1e9, 3.53e15}, 0.8, 0x1p-105, 0x1p-53}};
  run_ranges<double>("g_dtan", g_dtan, mpfr_tan, ranges, n);
  run_ranges<double>("g_dcotan", g_dcotan, mpfr_cot, ranges, n);
}

// Arguments on the boundaries between the methods, and next to pi/2, with
// the angle error of the method that takes them (see the top of the file).
TEST(Tan8, RangeBoundaries) {
  struct Point {
    std::uint64_t bits;
    double angle_error;
  };
  const Point points[] = {
      {0x3fe921fbffffffff, 0},                                 // last high word of the pi/4 range
      {0x3fe921fc00000000, 0},                                 // first of the cotangent range
      {0x3ff921fb54442d18, 0},                                 // pi/2 rounded: tan about 1.6e16
      {0x3ff921fb54442d19, 0},       {0x3ff921fbffffffff, 0},  // last of the cotangent range
      {0x3ff921fc00000000, 0x1p-66},                           // first of the table range
      {0x40f86a0000000000, 0x1p-63},  // 100000.0: high word 0x40F86A00, table range
      {0x40f86a00ffffffff, 0x1p-63}, {0x40f86a0100000000, 0x1p-53},  // 100000.0625: large range
      {0x43291508581d3fff, 0x1p-52},                                 // just below 3.53e15
  };
  for (const Point &p : points) {
    const auto bound = support::reduction_bound<double>(
        0.9, [&p](double) { return p.angle_error; }, log_derivative);
    const double x = std::bit_cast<double>(p.bits);
    for (double v : {x, -x}) {
      oracle::Big t, c;
      oracle::exact(t, mpfr_tan, v);
      oracle::exact(c, mpfr_cot, v);
      EXPECT_LE(oracle::ulp_error(g_dtan(&v), t), bound(v, t)) << std::hexfloat << v;
      EXPECT_LE(oracle::ulp_error(g_dcotan(&v), c), bound(v, c)) << std::hexfloat << v;
    }
  }
}

TEST(Tan4, NearestFloatToHalfPiTakesTheCotangentBranch) {
  const float x = std::bit_cast<float>(0x3fc90fdbu);  // just above pi/2
  support::Recorder rec;
  const float t = g_tan(&x);
  EXPECT_TRUE(rec.reports.empty());
  EXPECT_NEAR(t, -2.2877332e7f, 3.0f);
  EXPECT_LE(oracle::ulp_error(t, mpfr_tan, x), 1.0);
  const float c = g_cotan(&x);
  EXPECT_LE(oracle::ulp_error(c, mpfr_cot, x), 1.0);
}

TEST(Tan, ExactAtZero) {
  for (float x : {0.0f, -0.0f}) support::expect_exact("g_tan", g_tan, x, x);
  for (double x : {0.0, -0.0}) support::expect_exact("g_dtan", g_dtan, x, x);
}

TEST(TanTable, RecomputedWithMpfr) {
  oracle::Big pi, v, rest;
  mpfr_const_pi(pi, MPFR_RNDN);
  for (int j = 0; j <= 128; ++j) {
    mpfr_mul_si(v, pi, j, MPFR_RNDN);
    mpfr_div_ui(v, v, 512, MPFR_RNDN);
    mpfr_tan(v, v, MPFR_RNDN);
    const double high = mpfr_get_d(v, MPFR_RNDN);
    EXPECT_EQ(vx::tblp[j].high, high) << "entry " << j;
    mpfr_sub_d(rest, v, high, MPFR_RNDN);
    EXPECT_EQ(vx::tblp[j].low, mpfr_get_d(rest, MPFR_RNDN)) << "entry " << j;
  }
  EXPECT_EQ(vx::tblp[0].high, 0.0);
  EXPECT_EQ(vx::tblp[128].high, 1.0);
  EXPECT_EQ(vx::tblp[128].low, 0.0);
}

using support::kBigD;
using support::kBigF;
using support::kInfD;
using support::kInfF;
using support::kNaND;
using support::kNaNF;

TEST(Tan, Errors) {
  const ErrorRow<float> rows4[] = {
      // Too large to reduce (infinities and NaNs included): 211, 1.0 or NaN.
      {"g_tan", g_tan, 823000.0f, 211, 1.0f, kNaNF},
      {"g_tan", g_tan, -823000.0f, 211, 1.0f, kNaNF},
      {"g_tan", g_tan, kInfF, 211, 1.0f, kNaNF},
      {"g_tan", g_tan, kNaNF, 211, 1.0f, kNaNF},
      {"g_cotan", g_cotan, -kInfF, 211, 1.0f, kNaNF},
      {"g_cotan", g_cotan, 1e30f, 211, 1.0f, kNaNF},
      // The pole of the cotangent at zero, positive default for both signs.
      {"g_cotan", g_cotan, 0.0f, 212, kBigF, kInfF},
      {"g_cotan", g_cotan, -0.0f, 212, kBigF, kInfF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      {"g_dtan", g_dtan, 3.53e15, 213, 1.0, kNaND},
      {"g_dtan", g_dtan, -3.53e15, 213, 1.0, kNaND},
      {"g_dtan", g_dtan, kInfD, 213, 1.0, kNaND},
      {"g_dtan", g_dtan, kNaND, 213, 1.0, kNaND},
      {"g_dcotan", g_dcotan, 1e300, 213, 1.0, kNaND},
      {"g_dcotan", g_dcotan, 0.0, 214, kBigD, kInfD},
      {"g_dcotan", g_dcotan, -0.0, 214, kBigD, kInfD},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
}

TEST(Tan, JustBelowTheLimitsComputes) {
  const float below4 = std::nextafter(823000.0f, 0.0f);
  support::expect_no_report<float>("g_tan", g_tan, below4);
  support::expect_no_report<float>("g_cotan", g_cotan, -below4);
  support::expect_no_report<double>("g_dtan", g_dtan, 3.5299999999999995e15);
  support::expect_no_report<double>("g_dcotan", g_dcotan, -3.5299999999999995e15);
  support::expect_no_report<float>("g_cotan", g_cotan, 0x1p-149f);
  support::expect_no_report<double>("g_dcotan", g_dcotan, -0x1p-1074);
}

TEST(Tan, ResumeComputesTheReplacement) {
  support::expect_resume_with<float>(g_tan, 1e9f, 0.5f, 211);
  support::expect_resume_with<float>(g_cotan, 0.0f, 2.0f, 212);
  support::expect_resume_with<double>(g_dtan, kNaND, 1.25, 213);
  support::expect_resume_with<double>(g_dcotan, -0.0, 100.5, 214);
}

// A replacement that fails another test reports with that test's number.
TEST(Tan, ReplacementFailingAnotherTestReportsItsNumber) {
  support::Recorder rec(0);
  rec.answer = [](const support::Report &r, int index) {
    if (index == 0) support::replace(r, 1, 0.0);  // too large -> pole
    return index == 0 ? 1 : 0;
  };
  const double x = 1e20;
  EXPECT_EQ(support::bits_of(g_dcotan(&x)), support::bits_of(kBigD));
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[0].number, 213);
  EXPECT_EQ(rec.reports[1].number, 214);
}

}  // namespace
