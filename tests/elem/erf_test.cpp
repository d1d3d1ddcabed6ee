// g_erf, g_erfc, g_derf, g_derfc against MPFR, their fixed values and
// cut-offs. These functions never report.
//
// Bounds (ulps of the result's type; the printed maxima are this run's):
//   erf, Real4: 2.0 up to 2. The rational form itself is off by up to 1.4
//     ulp near |x| = 1 (its leading ratio a0/b0 is 5e-8 below 2/sqrt(pi));
//     plus the final rounding. Beyond 2 the error of 1 - v^16 stays below
//     0.01 ulp: 0.51.
//   erf, Real8: 1.6 up to 2 (the form is off by up to 1 ulp near 0.2),
//     0.51 beyond.
//   erfc, Real4: 0.51 on every range but x < -2 (1 - erf(x) with erf
//     already rounded to Real4: 1.0). The forms are within 4e-10 and the
//     table exponential within 2^-36; everything else is extended
//     precision, rounded once, also where the result is subnormal.
//   erfc, Real8: 1 - erf below 0.4765625 carries erf's error: 1.6 ulp of
//     erf near 0.2 becomes 0.5 ulp of 1 - erf, plus its own rounding: 1.2.
//     Up to 3 and in the tail: E from ulx_gtem, rounded to Real8 (0.61
//     ulp of E, which is up to 1.22 ulp of a result that lies just below a
//     power of two), times forms within 0.42 ulp (up to 3) and 0.87 ulp
//     (tail, near x = 14), rounded once more: 2.2 and 2.6 (this run's
//     maxima are 1.7 and 1.9).
//     Subnormal results lose nothing more: their grid is coarser than E's
//     error. Both tails are cut to 0.0 where the exponential's argument
//     reaches its limit (Real4 above xmax = 9.3823996; Real8 from
//     sqrt(1023 ln 2) = 26.6287357, just below xmax = 26.628736), although
//     erfc is still subnormal there.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/ranges.h"

namespace {

using support::kInfD;
using support::kInfF;
using support::kMNaNF;
using support::kNaND;
using support::kNaNF;
using support::Sampler;

// Tiny arguments (log-scale ranges) meet the form's leading ratio: erf x
// is 2x/sqrt(pi) there.
TEST(Erf4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(4000);
  support::expect_accuracy_over<float>("g_erf", g_erf, mpfr_erf,
                                       {{-2, 0, 2.0},
                                        {0, 0.5, 2.0},
                                        {0.5, 2, 2.0},
                                        {2, 4.1, 0.55},
                                        {4.1, 20, 0.51},
                                        {1e-38, 1e-3, 2.0, true}},
                                       n);
}

TEST(Erf8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(4000);
  support::expect_accuracy_over<double>("g_derf", g_derf, mpfr_erf,
                                        {{-2, 0, 1.6},
                                         {0, 0.5, 1.6},
                                         {0.5, 2, 1.6},
                                         {2, 7, 0.7},
                                         {7, 30, 0.51},
                                         {1e-300, 1e-3, 1.6, true}},
                                        n);
}

TEST(Erfc4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(1000);
  support::expect_accuracy_over<float>("g_erfc", g_erfc, mpfr_erfc,
                                       {{-10, -2, 1.0},
                                        {-2, 0.4765625, 0.51},
                                        {0.4765625, 3, 0.51},
                                        {3, 6, 0.53},
                                        {6, 9.3823996, 0.53}},
                                       n);
}

TEST(Erfc8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(600);
  support::expect_accuracy_over<double>(
      "g_derfc", g_derfc, mpfr_erfc,
      {{-6, -0.5, 1.2},
       {-0.5, 0.4765625, 1.2},
       {0.4765625, 3, 2.2},
       {3, 10, 2.6},
       {10, 26.5, 2.6},
       {26.5, 26.6287357, 2.6}},  // subnormal results from 26.55 on
      n);
}

// Each function at the ends of its ranges, both sides.
TEST(Erf, RangeEnds) {
  struct Point {
    double x, bound;
  };
  for (const Point p : {Point{2.0, 2.0}, Point{4.1, 0.55}, Point{-2.0, 2.0}}) {
    for (float x : {static_cast<float>(p.x), std::nextafter(static_cast<float>(p.x), 0.0f),
                    std::nextafter(static_cast<float>(p.x), 100.0f)}) {
      EXPECT_LE(oracle::ulp_error(g_erf(&x), mpfr_erf, x), p.bound) << x;
    }
  }
  for (float x : {-2.0f, std::nextafter(-2.0f, 0.0f), 0.4765625f, std::nextafter(0.4765625f, 1.0f),
                  3.0f, std::nextafter(3.0f, 4.0f), 9.3823996f}) {
    EXPECT_LE(oracle::ulp_error(g_erfc(&x), mpfr_erfc, x), 1.0) << x;
  }
  for (double x : {2.0, std::nextafter(2.0, 3.0), 7.0, std::nextafter(7.0, 0.0)}) {
    EXPECT_LE(oracle::ulp_error(g_derf(&x), mpfr_erf, x), 1.6) << x;
  }
  for (double x :
       {0.4765625, std::nextafter(0.4765625, 1.0), 3.0, std::nextafter(3.0, 4.0), 26.6287357}) {
    EXPECT_LE(oracle::ulp_error(g_derfc(&x), mpfr_erfc, x), 2.6) << x;
  }
}

TEST(Erf, FixedValues) {
  struct Row4 {
    support::Unary<float> fn;
    float x, expected;
  };
  const Row4 rows4[] = {
      {g_erf, 0.0f, 0.0f},
      {g_erf, -0.0f, 0.0f},  // -0 is not below zero: +0
      {g_erf, 5.0f, 1.0f},
      {g_erf, -5.0f, -1.0f},
      {g_erf, kInfF, 1.0f},
      {g_erf, -kInfF, -1.0f},
      {g_erf, kNaNF, -1.0f},  // a NaN counts as negative
      {g_erf, kMNaNF, -1.0f},
      {g_erfc, 10.0f, 0.0f},
      {g_erfc, std::nextafter(9.3823996f, 10.0f), 0.0f},  // the tail is cut off above xmax
      {g_erfc, kInfF, 0.0f},
      {g_erfc, kNaNF, 0.0f},
      {g_erfc, -kInfF, 2.0f},
      {g_erfc, 0.0f, 1.0f},
  };
  for (const Row4 &r : rows4) support::expect_exact("Real4", r.fn, r.x, r.expected);
  struct Row8 {
    support::Unary<double> fn;
    double x, expected;
  };
  const Row8 rows8[] = {
      {g_derf, 0.0, 0.0},        {g_derf, -0.0, 0.0},  {g_derf, 7.5, 1.0},    {g_derf, -7.5, -1.0},
      {g_derf, kNaND, -1.0},     {g_derf, kInfD, 1.0}, {g_derfc, kNaND, 0.0}, {g_derfc, 27.0, 0.0},
      {g_derfc, 26.628736, 0.0},  // x^2/ln 2 >= 1023: E is 0
      {g_derfc, -kInfD, 2.0},    {g_derfc, 0.0, 1.0},  {g_derfc, kInfD, 0.0},
  };
  for (const Row8 &r : rows8) support::expect_exact("Real8", r.fn, r.x, r.expected);
  // erfc(-3) = 1 - erf(-3), about 2.
  const float m3 = -3.0f;
  EXPECT_LE(oracle::ulp_error(g_erfc(&m3), mpfr_erfc, m3), 1.0);
  EXPECT_NEAR(g_erfc(&m3), 2.0f, 3e-5f);
}

// erf is odd away from zero: g_erf(-x) is -g_erf(x) bit for bit.
TEST(Erf, OddSymmetry) {
  Sampler s(0xe4f3);
  for (int i = 0; i < 2000; ++i) {
    const float x = static_cast<float>(s.uniform(1e-6, 6));
    const float m = -x;
    EXPECT_EQ(support::bits_of(g_erf(&m)), support::bits_of(-g_erf(&x))) << x;
    const double y = s.uniform(1e-6, 8), my = -y;
    EXPECT_EQ(support::bits_of(g_derf(&my)), support::bits_of(-g_derf(&y))) << y;
  }
}

TEST(Erf, NeverReports) {
  for (float x : {kNaNF, kInfF, -kInfF, 1e30f, -1e30f, 0.0f}) {
    support::expect_no_report<float>("g_erf", g_erf, x);
    support::expect_no_report<float>("g_erfc", g_erfc, x);
  }
  for (double x : {kNaND, kInfD, -kInfD, 1e300, -1e300, 0.0}) {
    support::expect_no_report<double>("g_derf", g_derf, x);
    support::expect_no_report<double>("g_derfc", g_derfc, x);
  }
}

}  // namespace
