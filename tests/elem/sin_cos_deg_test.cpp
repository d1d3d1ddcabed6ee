// g_sind, g_cosd, g_dsind, g_dcosd against MPFR, at the multiples of a
// right angle, at their limits and through the error protocol.
//
// Bounds. The reduction r = |x| - 90 k is exact, so the only errors are the
// series' and the final rounding. The series are evaluated in the 64-bit
// register (a relative error near 2^-63, 0.0001 ulp of Real8) with these
// approximation errors, measured with MPFR on |r| <= 45:
//   Real4 S 0.0002 ulp, C 0.013 ulp: bound 0.52 ulp (0.513 over every Real4);
//   Real8 S 0.05 ulp (0.24 on the slack up to 45.1 that the large-argument
//   rounding of k leaves), C 0.23 ulp: bound 0.75 ulp (measured 0.72).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/checks.h"
#include "support/ieee_constants.h"

namespace {

using support::ErrorRow;
using support::Range;
using support::Sampler;
using namespace support;  // the special values: kInfF, kNaNF, kBigF, kSqrtHalfF, ...

TEST(SinCosDeg4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(20000);
  const auto ranges = {Range{0, 45}, Range{45, 90}, Range{90, 720}, Range{720, 1e6},
                       Range{1e6, 4.72e7}};
  support::expect_accuracy_in_ranges<float>("g_sind", g_sind, oracle::sind, ranges, 0.52, n);
  support::expect_accuracy_in_ranges<float>("g_cosd", g_cosd, oracle::cosd, ranges, 0.52, n);
}

TEST(SinCosDeg8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(40000);
  const auto ranges = {Range{0, 45},    Range{45, 90},    Range{90, 720},
                       Range{720, 1e9}, Range{1e9, 1e15}, Range{1e15, 2.03e17}};
  support::expect_accuracy_in_ranges<double>("g_dsind", g_dsind, oracle::sind, ranges, 0.75, n);
  support::expect_accuracy_in_ranges<double>("g_dcosd", g_dcosd, oracle::cosd, ranges, 0.75, n);
}

// Tiny angles: sin(x deg) is x pi/180 (down into the subnormals), cos is 1.
TEST(SinCosDeg, TinyArguments) {
  Sampler s(0x71);
  support::expect_accuracy<float>(
      "g_sind tiny", g_sind, oracle::sind, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-45, 1e-3); }, support::ulps(0.52));
  support::expect_accuracy<double>(
      "g_dsind tiny", g_dsind, oracle::sind, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-320, 1e-6); }, support::ulps(0.75));
  for (float x : {1e-30f, -0x1p-149f}) support::expect_exact("g_cosd", g_cosd, x, 1.0f);
  for (double x : {1e-300, -0x1p-1074}) support::expect_exact("g_dcosd", g_dcosd, x, 1.0);
}

// At k right angles the value is exactly 0 or +-1: sine 0, 1, 0, -1 and
// cosine 1, 0, -1, 0 for k mod 4 = 0..3; sine zeros take the sign of x,
// cosine zeros are +0 (as MPFR's sinu and cosu).
template <class T>
void expect_right_angles(support::Unary<T> sine, support::Unary<T> cosine, double k) {
  const long double angle = 90.0L * k;  // exact
  const T x = static_cast<T>(angle);
  ASSERT_EQ(static_cast<long double>(x), angle) << "90 k not representable, k = " << k;
  const long m = static_cast<long>(std::fmod(std::fabs(k), 4));
  const T sin_values[4] = {0, 1, 0, -1};
  const T cos_values[4] = {1, 0, -1, 0};
  T s = sin_values[m];
  if (std::signbit(x)) s = -s;
  support::expect_exact("sine", sine, x, s);
  support::expect_exact("cosine", cosine, x, cos_values[m]);
}

TEST(SinCosDeg, ExactAtRightAngles) {
  for (double k = -1000; k <= 1000; ++k) {
    expect_right_angles<float>(g_sind, g_cosd, k);
    expect_right_angles<double>(g_dsind, g_dcosd, k);
  }
  // Large multiples, up to the limits (4.72e7 and 2.03e17 degrees); above
  // 2^24 (Real4) and 2^53 (Real8) only some multiples are representable.
  for (double k : {131071.0, 186413.0, 262145.0, 372826.0, 372827.0, 524442.0, 524444.0}) {
    expect_right_angles<float>(g_sind, g_cosd, k);
    expect_right_angles<float>(g_sind, g_cosd, -k);
  }
  for (double k : {1e6 + 1, 1e13 + 3, 1e14 + 1, 1e14 + 2, 1e14 + 3, 3e14 + 2, 2e15, 2.25e15 + 16}) {
    expect_right_angles<double>(g_dsind, g_dcosd, k);
    expect_right_angles<double>(g_dsind, g_dcosd, -k);
  }
  // The same against MPFR, which computes these values exactly.
  for (float x : {180.0f, -180.0f, 90.0f, -90.0f, 270.0f, -450.0f, 2.7e7f}) {
    support::expect_exact("g_sind", g_sind, x, oracle::rounded(oracle::sind, x));
    support::expect_exact("g_cosd", g_cosd, x, oracle::rounded(oracle::cosd, x));
  }
  for (double x : {180.0, -180.0, 90.0, -270.0, 1.8e17, -1.8e17 - 2880}) {
    support::expect_exact("g_dsind", g_dsind, x, oracle::rounded(oracle::sind, x));
    support::expect_exact("g_dcosd", g_dcosd, x, oracle::rounded(oracle::cosd, x));
  }
}

TEST(SinCosDeg, ThirtyDegrees) {
  for (float x : {30.0f, 150.0f, -210.0f}) {
    EXPECT_LE(oracle::ulp_error(g_sind(&x), oracle::sind, x), 0.52) << x;
    EXPECT_NEAR(std::fabs(g_sind(&x)), 0.5f, 0x1p-24f) << x;
  }
  for (float x : {60.0f, -300.0f}) EXPECT_NEAR(std::fabs(g_cosd(&x)), 0.5f, 0x1p-24f) << x;
  for (double x : {30.0, 150.0, -210.0}) {
    EXPECT_LE(oracle::ulp_error(g_dsind(&x), oracle::sind, x), 0.75) << x;
    EXPECT_NEAR(std::fabs(g_dsind(&x)), 0.5, 0x1p-53) << x;
  }
}

// sind is odd and cosd even, bit for bit.
TEST(SinCosDeg, Symmetry) {
  Sampler s(0x5e);
  const auto x4 = [&] { return s.log_uniform_signed(1e-3, 4.7e7); };
  const auto x8 = [&] { return s.log_uniform_signed(1e-3, 2e17); };
  support::expect_symmetry<float>("g_sind", g_sind, true, 20000, x4);
  support::expect_symmetry<float>("g_cosd", g_cosd, false, 20000, x4);
  support::expect_symmetry<double>("g_dsind", g_dsind, true, 20000, x8);
  support::expect_symmetry<double>("g_dcosd", g_dcosd, false, 20000, x8);
}

// The boundaries between the direct series (up to 45), the complementary
// one (up to 90) and the reduction, and the last arguments below the
// limits, with one ulp either side.
TEST(SinCosDeg, RangeBoundaries) {
  for (float b : {45.0f, 90.0f, 4.72e7f}) {
    for (float x : {std::nextafter(b, 0.0f), b, std::nextafter(b, 1e38f)}) {
      if (x >= 4.72e7f) continue;
      for (float v : {x, -x}) {
        EXPECT_LE(oracle::ulp_error(g_sind(&v), oracle::sind, v), 0.52) << v;
        EXPECT_LE(oracle::ulp_error(g_cosd(&v), oracle::cosd, v), 0.52) << v;
      }
    }
  }
  // Real8: the ranges go by the high word, so 45 + 2^-15 still takes the
  // direct series.
  for (std::uint64_t b :
       {0x4046800000000000ull, 0x40468000ffffffffull, 0x4046800100000000ull, 0x4056800000000000ull,
        0x40568000ffffffffull, 0x4056800100000000ull, 0x4386899b654b3bffull}) {
    for (double v : {std::bit_cast<double>(b), -std::bit_cast<double>(b)}) {
      EXPECT_LE(oracle::ulp_error(g_dsind(&v), oracle::sind, v), 0.75) << std::hexfloat << v;
      EXPECT_LE(oracle::ulp_error(g_dcosd(&v), oracle::cosd, v), 0.75) << std::hexfloat << v;
    }
  }
}

TEST(SinCosDeg, ArgumentsTooLarge) {
  const ErrorRow<float> rows4[] = {
      // |x| >= 47200000, infinities and NaNs: 1361, sqrt(1/2) or NaN.
      {"g_sind", g_sind, 4.72e7f, 1361, kSqrtHalfF, kNaNF},
      {"g_sind", g_sind, -4.72e7f, 1361, kSqrtHalfF, kNaNF},
      {"g_sind", g_sind, kInfF, 1361, kSqrtHalfF, kNaNF},
      {"g_sind", g_sind, kNaNF, 1361, kSqrtHalfF, kNaNF},
      {"g_cosd", g_cosd, -kInfF, 1361, kSqrtHalfF, kNaNF},
      {"g_cosd", g_cosd, 1e30f, 1361, kSqrtHalfF, kNaNF},
      {"g_cosd", g_cosd, -kNaNF, 1361, kSqrtHalfF, kNaNF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      // |x| >= 2.03e17, infinities and NaNs: 1362, sqrt(1/2) or NaN.
      {"g_dsind", g_dsind, 2.03e17, 1362, kSqrtHalfD, kNaND},
      {"g_dsind", g_dsind, -2.03e17, 1362, kSqrtHalfD, kNaND},
      {"g_dsind", g_dsind, kNaND, 1362, kSqrtHalfD, kNaND},
      {"g_dcosd", g_dcosd, kInfD, 1362, kSqrtHalfD, kNaND},
      {"g_dcosd", g_dcosd, -1e300, 1362, kSqrtHalfD, kNaND},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
}

TEST(SinCosDeg, JustBelowTheLimitsComputes) {
  const float below4 = std::nextafter(4.72e7f, 0.0f);
  const double below8 = std::nextafter(2.03e17, 0.0);
  for (auto fn : {g_sind, g_cosd}) {
    support::expect_no_report("Real4", fn, below4);
    support::expect_no_report("Real4", fn, -below4);
  }
  for (auto fn : {g_dsind, g_dcosd}) {
    support::expect_no_report("Real8", fn, below8);
    support::expect_no_report("Real8", fn, -below8);
  }
}

TEST(SinCosDeg, ResumeComputesTheReplacement) {
  support::expect_resume_with<float>(g_sind, 4.72e7f, 30.0f, 1361);
  support::expect_resume_with<float>(g_cosd, kNaNF, -120.0f, 1361);
  support::expect_resume_with<double>(g_dsind, -kInfD, 1234.5, 1362);
  support::expect_resume_with<double>(g_dcosd, 1e18, 90.0, 1362);
}

TEST(SinCosDeg, AnotherLargeReplacementReportsAgain) {
  support::expect_replacement_reports_again<float>(g_cosd, 4.72e7f, 5.0e7f, 1361, 1361, kSqrtHalfF);
}

}  // namespace
