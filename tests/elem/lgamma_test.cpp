// g_lgamma, g_algama and g_dlgama against MPFR, their zeros, errors and
// defaults, and resume.
//
// Bounds (ulps; the printed maxima are this run's):
//   Real4, 0.5 to 2.5: 1.05. The polynomial for ln gamma(2 + f) is within
//     3.2e-8 relative at f = -1/2, which is half an ulp of ln gamma(1.5) =
//     -0.12; the logarithms by g_dlog are Real8 and cost nothing here.
//     Elsewhere 0.65 below 8 and 0.52 for Stirling's form.
//   Real8, 0.5 to 2.5: 3.0. The rational form is within 3.3e-17 absolute
//     at f = -1/2, 2.35 ulp of ln gamma(1.5); between 0.5 and 1.5 the
//     result is H(f) - ln x with ln x rounded to Real8 by g_dlog, whose half
//     ulp of ln x is up to 1.7 ulp of the smaller result (near its minimum
//     at 1.46 and next to the zero at 1). 2.5 to 16: 1.6 (ln of the factors
//     rounded by g_dlog: 0.5 ulp of a logarithm of about the result's
//     size); below 0.5: 2.0 (ln((1 + x) x) takes the product rounded to
//     Real8, then g_dlog rounds the logarithm, each up to half an ulp of
//     a logarithm as large as the result). Stirling's form, with ln x from
//     ulx_gtlg in the x87 register: 0.52.
//   Next to the zeros at 1 and 2 the same bounds hold in ulps of the
//   (small) result: checked on both sides down to 1e-15 away.
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

TEST(Lgamma4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(2500);
  support::expect_accuracy_over<float>("g_lgamma", g_lgamma, mpfr_lngamma,
                                       {{0, 0.5, 0.65},
                                        {0.5, 1.5, 1.05},
                                        {1.5, 2.5, 1.05},
                                        {2.5, 8, 0.65},
                                        {8, 1000, 0.52},
                                        {1.4e-45, 0.5, 0.65, true},
                                        {1000, 4.03711e36, 0.52, true}},
                                       n);
}

TEST(Lgamma8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(2500);
  support::expect_accuracy_over<double>("g_dlgama", g_dlgama, mpfr_lngamma,
                                        {{0, 0.5, 2.0},
                                         {0.5, 1.5, 3.0},
                                         {1.5, 2.5, 3.0},
                                         {2.5, 16, 1.6},
                                         {16, 1000, 0.52},
                                         {1e-320, 0.5, 2.0, true},
                                         {1000, 2.55634e305, 0.52, true}},
                                        n);
}

// The zeros at 1 and 2, approached from both sides.
TEST(Lgamma, NextToTheZeros) {
  const std::uint64_t n = support::scaled(1000);
  Sampler s(0x1a03);
  for (double zero : {1.0, 2.0}) {
    for (double side : {-1.0, 1.0}) {
      const std::string where = (side < 0 ? " below " : " above ") + std::to_string(zero);
      support::expect_accuracy<double>(
          "g_dlgama" + where, g_dlgama, mpfr_lngamma, n,
          [&] { return zero + side * std::exp(s.uniform(std::log(1e-15), std::log(0.1))); },
          support::ulps(zero == 1.0 ? 3.0 : 1.0));
      support::expect_accuracy<float>(
          "g_lgamma" + where, g_lgamma, mpfr_lngamma, n,
          [&] { return zero + side * std::exp(s.uniform(std::log(1e-7), std::log(0.1))); },
          support::ulps(1.05));
    }
  }
}

TEST(Lgamma, ExactZeros) {
  for (float x : {1.0f, 2.0f}) {
    support::expect_exact("g_lgamma", g_lgamma, x, 0.0f);
    support::expect_exact("g_algama", g_algama, x, 0.0f);
  }
  for (double x : {1.0, 2.0}) support::expect_exact("g_dlgama", g_dlgama, x, 0.0);
}

// g_algama is g_lgamma under its second name: the same bits everywhere,
// reports included.
TEST(Lgamma, AlgamaIsLgamma) {
  Sampler s(0x1a04);
  for (int i = 0; i < 3000; ++i) {
    const float x = static_cast<float>(std::exp(s.uniform(-20, 80)));
    EXPECT_EQ(support::bits_of(g_algama(&x)), support::bits_of(g_lgamma(&x))) << x;
  }
  EXPECT_NE(reinterpret_cast<const void *>(&g_algama), reinterpret_cast<const void *>(&g_lgamma));
}

TEST(Lgamma, Errors) {
  const ErrorRow<float> rows4[] = {
      // x zero or negative: 253, NaN with the flag; at or above 4.03711e36:
      // 253, +infinity with the flag.
      {"g_lgamma", g_lgamma, 0.0f, 253, kBigF, kNaNF},
      {"g_lgamma", g_lgamma, -0.0f, 253, kBigF, kNaNF},
      {"g_lgamma", g_lgamma, -1.5f, 253, kBigF, kNaNF},
      {"g_lgamma", g_lgamma, -kInfF, 253, kBigF, kNaNF},
      {"g_lgamma", g_lgamma, 4.03711e36f, 253, kBigF, kInfF},
      {"g_lgamma", g_lgamma, kInfF, 253, kBigF, kInfF},
      {"g_algama", g_algama, -3.0f, 253, kBigF, kNaNF},
      {"g_algama", g_algama, 1e37f, 253, kBigF, kInfF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      {"g_dlgama", g_dlgama, 0.0, 254, kBigD, kNaND},
      {"g_dlgama", g_dlgama, -0.0, 254, kBigD, kNaND},
      {"g_dlgama", g_dlgama, -2.5, 254, kBigD, kNaND},
      {"g_dlgama", g_dlgama, -kInfD, 254, kBigD, kNaND},
      {"g_dlgama", g_dlgama, 2.55634e305, 254, kBigD, kInfD},
      {"g_dlgama", g_dlgama, kInfD, 254, kBigD, kInfD},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
}

TEST(Lgamma, JustBelowTheLimits) {
  const float below4 = std::nextafter(4.03711e36f, 0.0f);
  support::expect_no_report<float>("g_lgamma", g_lgamma, below4);
  EXPECT_LE(oracle::ulp_error(g_lgamma(&below4), mpfr_lngamma, below4), 0.52);
  const double below8 = std::nextafter(2.55634e305, 0.0);
  support::expect_no_report<double>("g_dlgama", g_dlgama, below8);
  EXPECT_LE(oracle::ulp_error(g_dlgama(&below8), mpfr_lngamma, below8), 0.52);
}

TEST(Lgamma, NaNIsNotReported) {
  support::Recorder rec;
  const float nf = std::numeric_limits<float>::quiet_NaN();
  const double nd = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(g_lgamma(&nf)));
  EXPECT_TRUE(std::isnan(g_algama(&nf)));
  EXPECT_TRUE(std::isnan(g_dlgama(&nd)));
  EXPECT_TRUE(rec.reports.empty());
}

TEST(Lgamma, ResumeComputesTheReplacement) {
  support::expect_resume_with<float>(g_lgamma, -1.0f, 3.5f, 253);
  support::expect_resume_with<float>(g_algama, 1e38f, 0.25f, 253);
  support::expect_resume_with<double>(g_dlgama, 0.0, 10.5, 254);
  support::expect_resume_with<double>(g_dlgama, 1e306, 1e300, 254);
}

}  // namespace
