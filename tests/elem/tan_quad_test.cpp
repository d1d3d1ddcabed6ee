// g_tanq, g_cotq, g_dtanq, g_dcotq against MPFR, their exact zeros and
// poles at the integers (also beyond 2^23 / 2^52, for infinities and NaNs),
// the range boundaries and the error protocol.
//
// Bounds. The reduction r = |x| - k is exact, so the only errors are the
// kernels' and the final rounding, in the 64-bit register:
//   Real4: P 0.02 ulp, Q 0.002 ulp: bound 0.52 ulp (0.5197 over every Real4);
//   Real8: 2r + r A/B 0.14 ulp, (e0 + C/D)/r 0.006 ulp: bound 0.65 ulp
//   (measured 0.635).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/checks.h"
#include "support/ieee_constants.h"

namespace {

using support::ErrorRow;
using support::Range;
using support::Sampler;
using namespace support;  // the special values: kInfF, kNaNF, kBigF, ...

// Arguments from `gen` rounded to T, without the poles (the odd integers
// for the tangent, the even ones for the cotangent), which report.
template <class T, class Gen>
auto off_poles(oracle::Fn1 f, Gen gen) {
  return support::off_poles<T>(2, f == oracle::tanq ? 1 : 0, gen);
}

template <class T>
void run_ranges(const char *name, support::Unary<T> fn, oracle::Fn1 f,
                std::initializer_list<Range> ranges, double bound, std::uint64_t n) {
  support::expect_accuracy_in_ranges<T>(name, fn, f, ranges, bound, n,
                                        [f](auto gen) { return off_poles<T>(f, gen); });
}

TEST(TanQuad4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(20000);
  const auto ranges = {Range{0, 0.5}, Range{0.5, 1}, Range{1, 8}, Range{8, 1e4},
                       Range{1e4, 0x1p23}};
  run_ranges<float>("g_tanq", g_tanq, oracle::tanq, ranges, 0.52, n);
  run_ranges<float>("g_cotq", g_cotq, oracle::cotq, ranges, 0.52, n);
}

TEST(TanQuad8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(40000);
  const auto ranges = {Range{0, 0.5}, Range{0.5, 1},    Range{1, 8},
                       Range{8, 1e6}, Range{1e6, 1e12}, Range{1e12, 0x1p52}};
  run_ranges<double>("g_dtanq", g_dtanq, oracle::tanq, ranges, 0.65, n);
  run_ranges<double>("g_dcotq", g_dcotq, oracle::cotq, ranges, 0.65, n);
}

// Next to the integers the remainder is tiny and the kernels work on it
// alone.
TEST(TanQuad, NearIntegers) {
  Sampler s(0x1e);
  for (double j : {0.0, 1.0, 2.0, 3.0, 1001.0, 100002.0}) {
    const auto near4 = [&] { return j + s.log_uniform_signed(1e-7, 0.5); };
    support::expect_accuracy<float>("g_tanq near j", g_tanq, oracle::tanq, support::scaled(4000),
                                    off_poles<float>(oracle::tanq, near4), support::ulps(0.52));
    support::expect_accuracy<float>("g_cotq near j", g_cotq, oracle::cotq, support::scaled(4000),
                                    off_poles<float>(oracle::cotq, near4), support::ulps(0.52));
  }
  for (double j : {0.0, 1.0, 2.0, 3.0, 1001.0, 1e9 + 2, 1e12 + 1}) {
    const auto near8 = [&] { return j + s.log_uniform_signed(1e-12, 0.5); };
    support::expect_accuracy<double>("g_dtanq near j", g_dtanq, oracle::tanq, support::scaled(4000),
                                     off_poles<double>(oracle::tanq, near8), support::ulps(0.65));
    support::expect_accuracy<double>("g_dcotq near j", g_dcotq, oracle::cotq, support::scaled(4000),
                                     off_poles<double>(oracle::cotq, near8), support::ulps(0.65));
  }
}

TEST(TanQuad, TinyArguments) {
  Sampler s(0x7e);
  support::expect_accuracy<float>(
      "g_tanq tiny", g_tanq, oracle::tanq, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-45, 1e-3); }, support::ulps(0.52));
  support::expect_accuracy<float>(
      "g_cotq tiny", g_cotq, oracle::cotq, support::scaled(20000),
      [&] { return s.log_uniform_signed(2e-39, 1e-3); }, support::ulps(0.52));
  support::expect_accuracy<double>(
      "g_dtanq tiny", g_dtanq, oracle::tanq, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-320, 1e-6); }, support::ulps(0.65));
  support::expect_accuracy<double>(
      "g_dcotq tiny", g_dcotq, oracle::cotq, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-308, 1e-6); }, support::ulps(0.65));
}

// Exact values at integers and half-integers, from k = 2x mod 8: the
// tangent is 0, 1, pole, -1 at x = 0, 1/2, 1, 3/2 (mod 2) and the
// cotangent pole, 1, 0, -1; zeros take the sign of x and the values for
// negative x are the negated ones. Poles are checked in PolesReport.
template <class T>
void expect_half_integer(support::Unary<T> tan, support::Unary<T> cot, T x) {
  const int m = static_cast<int>(std::fmod(std::fabs(2 * static_cast<long double>(x)), 4.0L));
  const T sign = std::signbit(x) ? -1 : 1;
  const T tan_values[4] = {0, 1, 0 /* pole */, -1};
  const T cot_values[4] = {0 /* pole */, 1, 0, -1};
  if (m != 2) support::expect_exact("tangent", tan, x, sign * tan_values[m]);
  if (m != 0) support::expect_exact("cotangent", cot, x, sign * cot_values[m]);
}

TEST(TanQuad, ExactAtHalfIntegers) {
  for (int k = -4000; k <= 4000; ++k) {
    expect_half_integer<float>(g_tanq, g_cotq, static_cast<float>(k) / 2);
    expect_half_integer<double>(g_dtanq, g_dcotq, k / 2.0);
  }
  for (float base : {0x1p22f, 0x1p23f, 0x1p24f, 0x1p25f, 0x1p90f}) {
    for (int step = -6; step <= 6; ++step) {
      float x = base;
      for (int i = 0; i < std::abs(step); ++i) x = std::nextafter(x, step < 0 ? 0.0f : 1e38f);
      if (std::trunc(2 * x) != 2 * x) continue;  // below 2^22: quarters
      expect_half_integer<float>(g_tanq, g_cotq, x);
      expect_half_integer<float>(g_tanq, g_cotq, -x);
    }
  }
  for (double base : {0x1p51, 0x1p52, 0x1p53, 0x1p54, 0x1p900}) {
    for (int step = -6; step <= 6; ++step) {
      double x = base;
      for (int i = 0; i < std::abs(step); ++i) x = std::nextafter(x, step < 0 ? 0.0 : 1e308);
      if (std::trunc(2 * x) != 2 * x) continue;  // below 2^51: quarters
      expect_half_integer<double>(g_dtanq, g_dcotq, x);
      expect_half_integer<double>(g_dtanq, g_dcotq, -x);
    }
  }
}

// Infinities and NaNs count as even integers: tangent 0 (sign of x),
// cotangent a pole.
TEST(TanQuad, InfinitiesAndNaNs) {
  for (float x : {kInfF, -kInfF, kNaNF, kMNaNF})
    support::expect_exact("g_tanq", g_tanq, x, std::signbit(x) ? -0.0f : 0.0f);
  for (double x : {kInfD, -kInfD, kNaND, kMNaND})
    support::expect_exact("g_dtanq", g_dtanq, x, std::signbit(x) ? -0.0 : 0.0);
  for (float x : {kInfF, kMNaNF})
    support::expect_error_row<float>({"g_cotq", g_cotq, x, 1355, kBigF, kInfF});
  for (double x : {-kInfD, kNaND})
    support::expect_error_row<double>({"g_dcotq", g_dcotq, x, 1356, kBigD, kInfD});
}

// tanq and cotq are odd, bit for bit (away from the poles).
TEST(TanQuad, Symmetry) {
  Sampler s(0x0de);
  const auto x4 = [&] { return s.log_uniform_signed(1e-6, 1e9); };
  const auto x8 = [&] { return s.log_uniform_signed(1e-6, 1e17); };
  support::expect_symmetry<float>("g_tanq", g_tanq, true, 20000,
                                  off_poles<float>(oracle::tanq, x4));
  support::expect_symmetry<float>("g_cotq", g_cotq, true, 20000,
                                  off_poles<float>(oracle::cotq, x4));
  support::expect_symmetry<double>("g_dtanq", g_dtanq, true, 20000,
                                   off_poles<double>(oracle::tanq, x8));
  support::expect_symmetry<double>("g_dcotq", g_dcotq, true, 20000,
                                   off_poles<double>(oracle::cotq, x8));
}

// One ulp either side of 1/2 and 1, and the last non-integers below 2^23
// and 2^52 (above them every argument is an integer: ExactAtHalfIntegers).
TEST(TanQuad, RangeBoundaries) {
  for (float x : {std::nextafter(0.5f, 0.0f), std::nextafter(0.5f, 1.0f),
                  std::nextafter(1.0f, 0.0f), std::nextafter(1.0f, 2.0f), 0x1p23f - 0.5f}) {
    for (float v : {x, -x}) {
      EXPECT_LE(oracle::ulp_error(g_tanq(&v), oracle::tanq, v), 0.52) << v;
      EXPECT_LE(oracle::ulp_error(g_cotq(&v), oracle::cotq, v), 0.52) << v;
    }
  }
  for (double x : {std::nextafter(0.5, 0.0), std::nextafter(0.5, 1.0), std::nextafter(1.0, 0.0),
                   std::nextafter(1.0, 2.0), 0x1p52 - 0.5}) {
    for (double v : {x, -x}) {
      EXPECT_LE(oracle::ulp_error(g_dtanq(&v), oracle::tanq, v), 0.65) << v;
      EXPECT_LE(oracle::ulp_error(g_dcotq(&v), oracle::cotq, v), 0.65) << v;
    }
  }
}

TEST(TanQuad, PolesReport) {
  const ErrorRow<float> rows4[] = {
      // Tangent at odd integers, cotangent at even ones (zero included):
      // 1355, 3.40282002e+38 or plus infinity for either sign.
      {"g_tanq", g_tanq, 1.0f, 1355, kBigF, kInfF},
      {"g_tanq", g_tanq, -1.0f, 1355, kBigF, kInfF},
      {"g_tanq", g_tanq, 3.0f, 1355, kBigF, kInfF},
      {"g_tanq", g_tanq, 8388609.0f, 1355, kBigF, kInfF},  // 2^23 + 1
      {"g_tanq", g_tanq, -16777215.0f, 1355, kBigF, kInfF},
      {"g_cotq", g_cotq, 0.0f, 1355, kBigF, kInfF},
      {"g_cotq", g_cotq, -0.0f, 1355, kBigF, kInfF},
      {"g_cotq", g_cotq, 2.0f, 1355, kBigF, kInfF},
      {"g_cotq", g_cotq, -1e30f, 1355, kBigF, kInfF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      {"g_dtanq", g_dtanq, 1.0, 1356, kBigD, kInfD},
      {"g_dtanq", g_dtanq, -5.0, 1356, kBigD, kInfD},
      {"g_dtanq", g_dtanq, 0x1p52 + 1, 1356, kBigD, kInfD},
      {"g_dtanq", g_dtanq, -(0x1p52 - 1), 1356, kBigD, kInfD},
      {"g_dcotq", g_dcotq, 0.0, 1356, kBigD, kInfD},
      {"g_dcotq", g_dcotq, -0.0, 1356, kBigD, kInfD},
      {"g_dcotq", g_dcotq, -2.0, 1356, kBigD, kInfD},
      {"g_dcotq", g_dcotq, 1e300, 1356, kBigD, kInfD},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
}

TEST(TanQuad, ResumeComputesTheReplacement) {
  support::expect_resume_with<float>(g_tanq, 1.0f, 0.25f, 1355);
  support::expect_resume_with<float>(g_cotq, 0.0f, -2.5f, 1355);
  support::expect_resume_with<double>(g_dtanq, 1e15 + 1, 0.75, 1356);
  support::expect_resume_with<double>(g_dcotq, 4.0, 3.0, 1356);
}

TEST(TanQuad, AnotherPoleReportsAgain) {
  support::expect_replacement_reports_again<double>(g_dtanq, 1.0, 7.0, 1356, 1356, kBigD);
}

}  // namespace
