// g_sin, g_cos, g_dsin, g_dcos against MPFR, at their limits, and through
// the error protocol.
//
// Bound: the processor's FSIN/FCOS result, rounded once to the type, is
// within 0.5 ulp plus the error of the instruction's own reduction by pi,
// which is absolute and grows with |x| (about |x| 2^-66 with the 66-bit pi
// of the hardware). The bound allows 0.52 ulp plus |x| 2^-62 in the
// result's ulps; the second term only matters near the zeros of large
// arguments. (The hardware measures 0.5002 ulp away from them; the i386
// emulator's FSIN/FCOS get a few low bits of the 64-bit result wrong and
// measure 0.512 ulp for Real8.)
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/checks.h"
#include "support/ieee_constants.h"

namespace {

using support::ErrorRow;
using support::Sampler;

// Bound in ulps for f(x), f = sin or cos, as explained above.
template <class T>
auto sin_cos_bound() {
  return [](T x, mpfr_srcptr exact) {
    const double f = std::fabs(mpfr_get_d(exact, MPFR_RNDN));
    return 0.52 + std::fabs(static_cast<double>(x)) * 0x1p-62 / support::ulp_of<T>(f);
  };
}

using support::Range;

template <class T>
void run_ranges(const char *name, support::Unary<T> fn, oracle::Fn1 f,
                std::initializer_list<Range> ranges, std::uint64_t n) {
  for (const Range &r : ranges)
    support::expect_accuracy_in<T>(name, fn, f, r, n, sin_cos_bound<T>());
}

TEST(SinCos4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(100000);
  const auto ranges = {Range{0, 0.785}, Range{0.785, 3.15}, Range{3.15, 1000}, Range{1000, 823000}};
  run_ranges<float>("g_sin", g_sin, mpfr_sin, ranges, n);
  run_ranges<float>("g_cos", g_cos, mpfr_cos, ranges, n);
}

TEST(SinCos8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(100000);
  const auto ranges = {Range{0, 0.785}, Range{0.785, 3.15}, Range{3.15, 1e5}, Range{1e5, 1e10},
                       Range{1e10, 3.53e15}};
  run_ranges<double>("g_dsin", g_dsin, mpfr_sin, ranges, n);
  run_ranges<double>("g_dcos", g_dcos, mpfr_cos, ranges, n);
}

TEST(SinCos, TinyArgumentsAndZeros) {
  // sin x rounds to x and cos x to 1 below 2^-13 (Real4) / 2^-27 (Real8).
  for (float x : {0.0f, -0.0f, 1e-30f, -3e-8f, 0x1p-126f, 0x1p-149f}) {
    support::expect_exact("g_sin", g_sin, x, x);
    support::expect_exact("g_cos", g_cos, x, 1.0f);
  }
  for (double x : {0.0, -0.0, 1e-300, -1e-10, 0x1p-1022, 0x1p-1074}) {
    support::expect_exact("g_dsin", g_dsin, x, x);
    support::expect_exact("g_dcos", g_dcos, x, 1.0);
  }
}

TEST(SinCos, NaNComputesWithoutReport) {
  const float nf = std::numeric_limits<float>::quiet_NaN();
  const double nd = std::numeric_limits<double>::quiet_NaN();
  support::Recorder rec;
  EXPECT_TRUE(std::isnan(g_sin(&nf)));
  EXPECT_TRUE(std::isnan(g_cos(&nf)));
  EXPECT_TRUE(std::isnan(g_dsin(&nd)));
  EXPECT_TRUE(std::isnan(g_dcos(&nd)));
  EXPECT_TRUE(rec.reports.empty());
}

TEST(SinCos, JustBelowTheLimitComputes) {
  const float below4 = std::nextafter(823000.0f, 0.0f);
  const double below8 = 3.5299999999999995e15;
  for (auto fn : {g_sin, g_cos}) {
    support::expect_no_report("Real4", fn, below4);
    support::expect_no_report("Real4", fn, -below4);
  }
  for (auto fn : {g_dsin, g_dcos}) {
    support::expect_no_report("Real8", fn, below8);
    support::expect_no_report("Real8", fn, -below8);
  }
  EXPECT_LT(std::fabs(g_dsin(&below8)), 1.0);
}

using support::kInfD;
using support::kInfF;
constexpr float kHalfRootF = support::kSqrtHalfF;
constexpr double kHalfRootD = support::kSqrtHalfD;
using support::kNaND;
using support::kNaNF;

TEST(SinCos, ArgumentsTooLargeToReduce) {
  const ErrorRow<float> rows4[] = {
      {"g_sin", g_sin, 823000.0f, 202, kHalfRootF, kNaNF},
      {"g_sin", g_sin, -823000.0f, 202, kHalfRootF, kNaNF},
      {"g_sin", g_sin, 1.0e6f, 202, kHalfRootF, kNaNF},
      {"g_sin", g_sin, kInfF, 202, kHalfRootF, kNaNF},
      {"g_cos", g_cos, -kInfF, 202, kHalfRootF, kNaNF},
      {"g_cos", g_cos, 3.4e38f, 202, kHalfRootF, kNaNF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      {"g_dsin", g_dsin, 3.53e15, 203, kHalfRootD, kNaND},
      {"g_dsin", g_dsin, -1e300, 203, kHalfRootD, kNaND},
      {"g_dcos", g_dcos, kInfD, 203, kHalfRootD, kNaND},
      {"g_dcos", g_dcos, -3.53e15, 203, kHalfRootD, kNaND},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
}

TEST(SinCos, ResumeComputesTheReplacement) {
  support::expect_resume_with<float>(g_sin, 1.0e6f, 0.5f, 202);
  support::expect_resume_with<float>(g_cos, kInfF, 2.0f, 202);
  support::expect_resume_with<double>(g_dsin, 1e16, 0.5, 203);
  support::expect_resume_with<double>(g_dcos, -kInfD, 3.0, 203);
}

TEST(SinCos, AnotherLargeReplacementReportsAgain) {
  support::Recorder rec(0);
  rec.answer = [](const support::Report &r, int index) {
    support::replace(r, 1, 2.0e6f);
    return index == 0 ? 1 : 0;
  };
  const float x = 1.0e6f;
  EXPECT_EQ(support::bits_of(g_sin(&x)), 0x3f3504f3u);
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[1].number, 202);
  EXPECT_EQ(rec.reports[1].value_as<float>(0), 2.0e6f);
}

}  // namespace
