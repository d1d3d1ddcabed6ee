// g_gamma and g_dgamma against MPFR, their exact values, errors, defaults and
// resume.
//
// Bounds (ulps; the printed maxima are this run's):
// Real4:
//   below 8: 0.75. The polynomial for gamma(2 + f) is within 1.3e-8 (0.2
//     ulp) at f = -1/2; everything else is extended precision, rounded
//     once.
//   8 to 35.04: 0.52. L in the x87 register with ln x from g_dlog (Real8)
//     and g_dexp's Real8 result are far finer than Real4.
// Real8:
//   below 16: 0.7. The rational form is within 1.8e-17 (0.16 ulp) of
//     gamma(2 + f); the recurrence runs in the x87 register (2^-64 per
//     factor, 14 factors at most) and the result is rounded once.
//   16 to 171.6243: Stirling's exponent L is carried in double-double, but
//     ulx_gtlg's ln x is only good to 2^-60.3 absolute, which (x - 1/2)
//     carries into L: up to 2^-55 below 40 (0.25 ulp of the result) and
//     2^-52.9 near 171.6 (1.07 ulp). ulx_gte2 rounds 2^(L log2 e) to Real8
//     (0.61 ulp): 0.9 below 40, 1.7 above.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/ranges.h"

namespace {

using support::ErrorRow;
using support::kBigD;
using support::kBigF;
using support::kInfD;
using support::kInfF;
using support::kNaND;
using support::kNaNF;
using support::Sampler;

TEST(Gamma4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(3000);
  support::expect_accuracy_over<float>("g_gamma", g_gamma, mpfr_gamma,
                                       {{0, 0.5, 0.75},
                                        {0.5, 1.5, 0.75},
                                        {1.5, 2.5, 0.75},
                                        {2.5, 8, 0.75},
                                        {8, 20, 0.52},
                                        {20, 35.03986, 0.52},
                                        {2.94e-39, 1e-3, 0.75, true}},
                                       n);
}

// gamma(n) = (n - 1)! exactly below 8; 8 takes Stirling's form.
TEST(Gamma4, NamedValues) {
  float factorial = 1;
  for (int n = 1; n < 8; ++n) {
    support::expect_exact("g_gamma", g_gamma, static_cast<float>(n), factorial);
    factorial *= static_cast<float>(n);
  }
  const float half = 0.5f, eight = 8.0f, below = std::nextafter(35.03986f, 0.0f);
  EXPECT_LE(oracle::ulp_error(g_gamma(&half), mpfr_gamma, half), 0.75);
  EXPECT_NEAR(g_gamma(&half), 1.7724539f, 2e-7f);
  EXPECT_LE(oracle::ulp_error(g_gamma(&eight), mpfr_gamma, eight), 0.52);
  EXPECT_NEAR(g_gamma(&eight), 5040.0f, 0.01f);
  support::expect_no_report<float>("g_gamma", g_gamma, below);
  EXPECT_LE(oracle::ulp_error(g_gamma(&below), mpfr_gamma, below), 0.52);
}

TEST(Gamma4, TinyAndNaN) {
  for (float x : {0x1p-149f, 1e-40f, 2.9e-39f}) {
    support::expect_exact("g_gamma", g_gamma, x, std::numeric_limits<float>::infinity());
  }
  support::Recorder rec;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(std::isnan(g_gamma(&nan)));
  EXPECT_TRUE(rec.reports.empty());
}

TEST(Gamma8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(3000);
  support::expect_accuracy_over<double>("g_dgamma", g_dgamma, mpfr_gamma,
                                        {{0, 0.5, 0.7},
                                         {0.5, 1.5, 0.7},
                                         {1.5, 2.5, 0.7},
                                         {2.5, 8, 0.7},
                                         {8, 16, 0.7},
                                         {16, 40, 0.9},
                                         {40, 171.6243, 1.7},
                                         {5.6e-309, 1e-3, 0.7, true}},
                                        n);
}

// gamma(n) = (n - 1)! exactly below 16: f = 0 makes the form exactly 1 and
// the factors are small integers.
TEST(Gamma8, FactorialsAreExact) {
  double factorial = 1;
  for (int n = 1; n < 16; ++n) {
    support::expect_exact("g_dgamma", g_dgamma, static_cast<double>(n), factorial);
    factorial *= n;
  }
}

TEST(Gamma8, NamedValues) {
  struct Point {
    double x, bound;
  };
  // 0.5 (sqrt(pi)), the switch to Stirling's form, the last values
  // below the limit.
  for (const Point p : {Point{0.5, 0.7}, Point{std::nextafter(16.0, 0.0), 0.7}, Point{16.0, 0.9},
                        Point{171.0, 1.7}, Point{171.6242999999, 1.7}}) {
    support::Recorder rec;
    EXPECT_LE(oracle::ulp_error(g_dgamma(&p.x), mpfr_gamma, p.x), p.bound) << p.x;
    EXPECT_TRUE(rec.reports.empty());
  }
  const double x171 = 171.0;
  EXPECT_NEAR(g_dgamma(&x171) / 7.257415615307999e306, 1.0, 1e-15);
}

// Below 1/DBL_MAX the quotient leaves the Real8 range: +infinity, no
// report. A NaN gives a NaN without a report.
TEST(Gamma8, TinyAndNaN) {
  for (double x : {0x1p-1074, 4e-309, 5.5e-309}) {
    support::expect_exact("g_dgamma", g_dgamma, x, std::numeric_limits<double>::infinity());
  }
  support::Recorder rec;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(g_dgamma(&nan)));
  EXPECT_TRUE(rec.reports.empty());
}

TEST(Gamma4, Errors) {
  const ErrorRow<float> rows[] = {
      // x zero or negative: 250, NaN with the flag.
      {"g_gamma", g_gamma, 0.0f, 250, kBigF, kNaNF},
      {"g_gamma", g_gamma, -0.0f, 250, kBigF, kNaNF},
      {"g_gamma", g_gamma, -0.5f, 250, kBigF, kNaNF},
      {"g_gamma", g_gamma, -2.0f, 250, kBigF, kNaNF},
      {"g_gamma", g_gamma, -kInfF, 250, kBigF, kNaNF},
      // x at or above 35.03986: 250, +infinity with the flag.
      {"g_gamma", g_gamma, 35.03986f, 250, kBigF, kInfF},
      {"g_gamma", g_gamma, 36.0f, 250, kBigF, kInfF},
      {"g_gamma", g_gamma, kInfF, 250, kBigF, kInfF},
  };
  for (const auto &row : rows) support::expect_error_row(row);
  support::expect_resume_with<float>(g_gamma, -0.5f, 0.5f, 250);
  support::expect_resume_with<float>(g_gamma, 40.0f, 12.25f, 250);
}

TEST(Gamma8, Errors) {
  const ErrorRow<double> rows[] = {
      // x zero or negative (negative non-integers too): 251, NaN with the flag.
      {"g_dgamma", g_dgamma, 0.0, 251, kBigD, kNaND},
      {"g_dgamma", g_dgamma, -0.0, 251, kBigD, kNaND},
      {"g_dgamma", g_dgamma, -0.5, 251, kBigD, kNaND},
      {"g_dgamma", g_dgamma, -3.0, 251, kBigD, kNaND},
      {"g_dgamma", g_dgamma, -kInfD, 251, kBigD, kNaND},
      // x at or above 171.6243: 251, +infinity with the flag.
      {"g_dgamma", g_dgamma, 171.6243, 251, kBigD, kInfD},
      {"g_dgamma", g_dgamma, 171.7, 251, kBigD, kInfD},
      {"g_dgamma", g_dgamma, 1e300, 251, kBigD, kInfD},
      {"g_dgamma", g_dgamma, kInfD, 251, kBigD, kInfD},
  };
  for (const auto &row : rows) support::expect_error_row(row);
}

TEST(Gamma8, ResumeComputesTheReplacement) {
  support::expect_resume_with<double>(g_dgamma, -2.5, 4.5, 251);
  support::expect_resume_with<double>(g_dgamma, 200.0, 20.5, 251);
}

// A replacement that fails the other test reports again, with its value.
TEST(Gamma8, ReplacementFailingAgainReportsAgain) {
  support::Recorder rec(0);
  rec.answer = [](const support::Report &r, int index) {
    if (index == 0) support::replace(r, 1, 500.0);  // negative -> too large
    return index == 0 ? 1 : 0;
  };
  const double x = -1.0;
  EXPECT_EQ(support::bits_of(g_dgamma(&x)), support::bits_of(kBigD));
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[1].number, 251);
  EXPECT_EQ(rec.reports[1].value_as<double>(0), 500.0);
}

}  // namespace
