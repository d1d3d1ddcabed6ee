// The internal quadrant-unit kernels ulx_ga1q (Real4) and ulx_gd1q
// (Real8): the arc cosine of 1 - v in quadrant units, v by value.
//
// Bounds: for 0 <= v <= 1/2 the kernels' series are within 0.09 (Real4)
// and 0.25 (Real8) units of 2^-24 or 2^-53 of their value; their register
// results rounded to the type are within 0.6 and 0.8 ulp. For 1/2 < v < 2
// they return the quadrant arc cosine entry of 1 - v, bit for bit, and 2
// for v >= 2 or NaN; from |x| = 1/2 on, the Real8 entry is the kernel's
// series, bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "elem/inverse_trig/inverse_trig.h"
#include "oracle/angle_units.h"
#include "support/checks.h"

namespace {

template <class T, class Kernel>
void expect_series_accuracy(const char *name, Kernel kernel, double bound, std::uint64_t n) {
  support::Sampler s(0x91a1 + sizeof(T));
  oracle::WorstCase worst;
  oracle::Big exact;
  int failures = 0;
  for (std::uint64_t i = 0; i < n; ++i) {
    // v uniform in [0, 1/2], and log-uniform towards 0 for every other one.
    const T v = static_cast<T>(i % 2 ? s.uniform(0, 0.5) : std::exp(s.uniform(-60, std::log(0.5))));
    mpfr_set_d(exact, static_cast<double>(v), MPFR_RNDN);
    mpfr_ui_sub(exact, 1, exact, MPFR_RNDN);  // 1 - v, exact at 320 bits
    mpfr_acosu(exact, exact, oracle::kQuadrants, MPFR_RNDN);
    const double err = oracle::ulp_error(static_cast<T>(kernel(v)), exact);
    worst.add(err, static_cast<double>(v));
    if (!(err <= bound) && ++failures <= 5) ADD_FAILURE() << name << "(" << v << "): " << err;
  }
  std::printf("  %-9s v in [0, 1/2]: %s (x = v)\n", name, worst.describe().c_str());
}

TEST(QuadrantKernels, SeriesAgainstMpfr) {
  const std::uint64_t n = support::scaled(20000);
  expect_series_accuracy<float>("ulx_ga1q", ulx_ga1q, 0.6, n);
  expect_series_accuracy<double>("ulx_gd1q", ulx_gd1q, 0.8, n);
}

TEST(QuadrantKernels, ZeroAndOneHalf) {
  EXPECT_EQ(ulx_ga1q(0.0f), 0.0L);
  EXPECT_EQ(ulx_gd1q(0.0), 0.0L);
  // v = 1/2 still takes the series: acosq(1/2) = 2/3.
  EXPECT_NEAR(static_cast<double>(ulx_ga1q(0.5f)), 2.0 / 3, 1e-7);
  EXPECT_NEAR(static_cast<double>(ulx_gd1q(0.5)), 2.0 / 3, 2e-16);
}

// From |x| = 1/2 on, the Real8 quadrant arc cosine is the kernel's series
// of v = 1 - |x| rounded once: acosq x = k(v), acosq(-x) = 2 - k(v) in the
// register. The entry takes its range from the bits of x and x straight
// into the register; the kernel takes v by value.
TEST(QuadrantKernels, ArcCosineEntryIsTheSeriesFromOneHalf) {
  support::Sampler s(0x91a3);
  std::vector<double> xs = {0.5, std::nextafter(0.5, 1.0), 0.75, std::nextafter(1.0, 0.0), 1.0};
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) xs.push_back(s.uniform(0.5, 1));
  int failures = 0;
  for (double x : xs) {
    const double v = 1 - x;  // exact
    const double neg = -x;
    const long double k = ulx_gd1q(v);
    const double plus = g_dacosq(&x), minus = g_dacosq(&neg);
    if ((support::bits_of(plus) != support::bits_of(static_cast<double>(k)) ||
         support::bits_of(minus) != support::bits_of(static_cast<double>(2 - k))) &&
        ++failures <= 5)
      ADD_FAILURE() << std::hexfloat << "x = +-" << x << ": " << plus << ", " << minus
                    << "; kernel " << static_cast<double>(k);
  }
}

// Between 1/2 and 2 the kernels are the quadrant arc cosine of 1 - v.
TEST(QuadrantKernels, BeyondOneHalfTheArcCosineOfOneMinusV) {
  for (float v :
       {std::nextafter(0.5f, 1.0f), 0.75f, 1.0f, 1.3f, 1.75f, std::nextafter(2.0f, 0.0f)}) {
    const float w = 1 - v;
    EXPECT_EQ(support::bits_of(static_cast<float>(ulx_ga1q(v))), support::bits_of(g_acosq(&w)))
        << "v = " << v;
  }
  for (double v : {std::nextafter(0.5, 1.0), 0.6, 1.0, 1.5, std::nextafter(2.0, 0.0)}) {
    const double w = 1 - v;
    EXPECT_EQ(support::bits_of(static_cast<double>(ulx_gd1q(v))), support::bits_of(g_dacosq(&w)))
        << "v = " << v;
  }
}

TEST(QuadrantKernels, TwoFromTwoOnAndForNaN) {
  for (float v : {2.0f, 3.5f, 1e30f, std::numeric_limits<float>::infinity(),
                  std::numeric_limits<float>::quiet_NaN()}) {
    EXPECT_EQ(ulx_ga1q(v), 2.0L) << "v = " << v;
  }
  for (double v : {2.0, 1e300, std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(ulx_gd1q(v), 2.0L) << "v = " << v;
  }
}

}  // namespace
