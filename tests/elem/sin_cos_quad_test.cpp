// g_sinq, g_cosq, g_dsinq, g_dcosq against MPFR, at the integers (exact
// 0 and +-1, also beyond 2^23 / 2^52 and for infinities and NaNs), at the
// range boundaries; they never report.
//
// Bounds. The reduction r = |x| - k is exact, so the only errors are the
// series' and the final rounding. The series are evaluated in the 64-bit
// register; their approximation errors, measured with MPFR on |r| <= 1/2:
//   Real4 S 0.0003 ulp, C 0.002 ulp: bound 0.51 ulp (0.5017 over every Real4);
//   Real8 S 0.07 ulp, C 0.15 ulp, and near r = 1/2 the cosine's terms
//   cancel to half of the leading 1 (a few 2^-64 more): bound 0.66 ulp
//   (measured 0.643).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/checks.h"
#include "support/ieee_constants.h"

namespace {

using support::Range;
using support::Sampler;
using namespace support;  // the special values: kInfF, kNaNF, ...
using namespace support;  // the special values: kInfF, kNaNF, kBigF, kSqrtHalfF, ...

TEST(SinCosQuad4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(20000);
  const auto ranges = {Range{0, 0.5}, Range{0.5, 1}, Range{1, 8}, Range{8, 1e4},
                       Range{1e4, 0x1p23}};
  support::expect_accuracy_in_ranges<float>("g_sinq", g_sinq, oracle::sinq, ranges, 0.51, n);
  support::expect_accuracy_in_ranges<float>("g_cosq", g_cosq, oracle::cosq, ranges, 0.51, n);
}

TEST(SinCosQuad8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(40000);
  const auto ranges = {Range{0, 0.5}, Range{0.5, 1},    Range{1, 8},
                       Range{8, 1e6}, Range{1e6, 1e12}, Range{1e12, 0x1p52}};
  support::expect_accuracy_in_ranges<double>("g_dsinq", g_dsinq, oracle::sinq, ranges, 0.66, n);
  support::expect_accuracy_in_ranges<double>("g_dcosq", g_dcosq, oracle::cosq, ranges, 0.66, n);
}

TEST(SinCosQuad, TinyArguments) {
  Sampler s(0x91);
  support::expect_accuracy<float>(
      "g_sinq tiny", g_sinq, oracle::sinq, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-45, 1e-3); }, support::ulps(0.51));
  support::expect_accuracy<double>(
      "g_dsinq tiny", g_dsinq, oracle::sinq, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-320, 1e-6); }, support::ulps(0.66));
  for (float x : {1e-30f, -0x1p-149f}) support::expect_exact("g_cosq", g_cosq, x, 1.0f);
  for (double x : {1e-300, -0x1p-1074}) support::expect_exact("g_dcosq", g_dcosq, x, 1.0);
}

// At an integer k the sine is 0, 1, 0, -1 and the cosine 1, 0, -1, 0 for
// k mod 4 = 0..3; sine zeros take the sign of x, cosine zeros are +0.
template <class T>
void expect_integer(support::Unary<T> sine, support::Unary<T> cosine, T x) {
  const long m = static_cast<long>(std::fmod(std::fabs(static_cast<long double>(x)), 4.0L));
  const T sin_values[4] = {0, 1, 0, -1};
  const T cos_values[4] = {1, 0, -1, 0};
  const T s = std::signbit(x) ? -sin_values[m] : sin_values[m];
  support::expect_exact("sine", sine, x, s);
  support::expect_exact("cosine", cosine, x, cos_values[m]);
}

TEST(SinCosQuad, ExactAtIntegers) {
  for (int k = -2000; k <= 2000; ++k) {
    expect_integer<float>(g_sinq, g_cosq, static_cast<float>(k));
    expect_integer<double>(g_dsinq, g_dcosq, k);
  }
  // Around 2^23 / 2^52, where the argument becomes an integer and the value
  // comes from its bits, and far beyond (k mod 4 from the shifted pattern).
  for (float base : {0x1p23f, 0x1p24f, 0x1p25f, 0x1p26f, 0x1p100f, 3.4e38f}) {
    for (int step = -8; step <= 8; ++step) {
      float x = base;
      for (int i = 0; i < std::abs(step); ++i) x = std::nextafter(x, step < 0 ? 0.0f : 1e38f);
      if (std::trunc(x) != x) continue;  // below 2^23: halves
      expect_integer<float>(g_sinq, g_cosq, x);
      expect_integer<float>(g_sinq, g_cosq, -x);
    }
  }
  for (double base : {0x1p52, 0x1p53, 0x1p54, 0x1p55, 0x1p500, 1.7e308}) {
    for (int step = -8; step <= 8; ++step) {
      double x = base;
      for (int i = 0; i < std::abs(step); ++i) x = std::nextafter(x, step < 0 ? 0.0 : 1e308);
      if (std::trunc(x) != x) continue;  // below 2^52: halves
      expect_integer<double>(g_dsinq, g_dcosq, x);
      expect_integer<double>(g_dsinq, g_dcosq, -x);
    }
  }
}

// The edge cases as the definition states them.
TEST(SinCosQuad, NamedValues) {
  support::expect_exact("g_sinq", g_sinq, 1.0f, 1.0f);
  support::expect_exact("g_sinq", g_sinq, 2.0f, 0.0f);
  support::expect_exact("g_sinq", g_sinq, 3.0f, -1.0f);
  support::expect_exact("g_sinq", g_sinq, 0x1p24f + 4, 0.0f);
  support::expect_exact("g_dsinq", g_dsinq, 0x1p53 + 6, 0.0);
  support::expect_exact("g_dcosq", g_dcosq, 0x1p53 + 6, -1.0);
}

// Infinities and NaNs count as multiples of 4: the sine is 0 with the sign
// of the argument, the cosine 1; nothing is reported.
TEST(SinCosQuad, InfinitiesAndNaNs) {
  for (float x : {kInfF, -kInfF, kNaNF, kMNaNF}) {
    support::expect_exact("g_sinq", g_sinq, x, std::signbit(x) ? -0.0f : 0.0f);
    support::expect_exact("g_cosq", g_cosq, x, 1.0f);
  }
  for (double x : {kInfD, -kInfD, kNaND, kMNaND}) {
    support::expect_exact("g_dsinq", g_dsinq, x, std::signbit(x) ? -0.0 : 0.0);
    support::expect_exact("g_dcosq", g_dcosq, x, 1.0);
  }
}

// Half-integers lie on the boundary between two integers: sinq(0.5) =
// cosq(0.5) = sqrt(1/2) within the bound, from either side.
TEST(SinCosQuad, HalfIntegersAndBoundaries) {
  for (float b : {0.5f, 1.0f, 1.5f, 2.5f, 1000.5f, 0x1p22f + 0.5f, 0x1p23f}) {
    for (float x : {std::nextafter(b, 0.0f), b, std::nextafter(b, 1e38f)}) {
      for (float v : {x, -x}) {
        EXPECT_LE(oracle::ulp_error(g_sinq(&v), oracle::sinq, v), 0.51) << v;
        EXPECT_LE(oracle::ulp_error(g_cosq(&v), oracle::cosq, v), 0.51) << v;
      }
    }
  }
  for (double b : {0.5, 1.0, 1.5, 2.5, 1e9 + 0.5, 0x1p51 + 0.5, 0x1p52}) {
    for (double x : {std::nextafter(b, 0.0), b, std::nextafter(b, 1e308)}) {
      for (double v : {x, -x}) {
        EXPECT_LE(oracle::ulp_error(g_dsinq(&v), oracle::sinq, v), 0.66) << v;
        EXPECT_LE(oracle::ulp_error(g_dcosq(&v), oracle::cosq, v), 0.66) << v;
      }
    }
  }
}

// sinq is odd and cosq even, bit for bit.
TEST(SinCosQuad, Symmetry) {
  Sampler s(0x5f);
  const auto x4 = [&] { return s.log_uniform_signed(1e-6, 1e9); };
  const auto x8 = [&] { return s.log_uniform_signed(1e-6, 1e17); };
  support::expect_symmetry<float>("g_sinq", g_sinq, true, 20000, x4);
  support::expect_symmetry<float>("g_cosq", g_cosq, false, 20000, x4);
  support::expect_symmetry<double>("g_dsinq", g_dsinq, true, 20000, x8);
  support::expect_symmetry<double>("g_dcosq", g_dcosq, false, 20000, x8);
}

}  // namespace
