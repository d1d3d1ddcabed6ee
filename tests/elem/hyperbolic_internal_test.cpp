// The internals of the hyperbolic family: the half exponential ulx_guhy
// against MPFR, and the fitted series of the Real8 sine. (The table of
// 2^(j/64) the family shares with the exponentials is recomputed by
// exp_test.)
//
// ulx_guhy bound: the table pair holds 2^(j/64) to about 2^-107, the series
// is 0.02 ulp from e^r on |r| <= ln2/128, and the sum is formed in the x87
// register (64 bits) before the one rounding to Real8: 0.5 ulp for the
// rounding plus a few hundredths, asserted as 0.52.
#include <gtest/gtest.h>

#include <cmath>

#include "elem/hyperbolic/half_exp.h"
#include "elem/hyperbolic/tables/sinh_series_table.h"
#include "support/checks.h"

namespace {

using support::Sampler;

int half_exp(mpfr_ptr out, mpfr_srcptr x, mpfr_rnd_t rnd) {
  const int t = mpfr_exp(out, x, rnd);
  mpfr_div_2ui(out, out, 1, rnd);
  return t;
}

TEST(Guhy, AgainstMpfr) {
  const std::uint64_t n = support::scaled(100000);
  Sampler s(0x6e4a);
  struct Range {
    double lo, hi;
  };
  // The ranges where the family calls it (|x| < 18.4), then the rest of
  // its domain, both signs.
  for (const Range r :
       {Range{0, 1}, Range{1, 18.4}, Range{18.4, 709}, Range{-1, 0}, Range{-700, -1}}) {
    support::expect_accuracy<double>(
        "ulx_guhy in [" + std::to_string(r.lo) + ", " + std::to_string(r.hi) + ")", ulx_guhy,
        half_exp, n, [&] { return s.uniform(r.lo, r.hi); }, support::ulps(0.52));
  }
}

// Arguments next to the points where k changes (odd multiples of ln2/128),
// where r reaches its largest magnitude, and tiny ones.
TEST(Guhy, NearReductionBoundaries) {
  oracle::Big b;
  const double ln2_128 = 0.0054152122465893625;
  for (int m = -4001; m <= 4001; m += 2) {
    for (double d : {-1e-15, 0.0, 1e-15}) {
      const double x = m * ln2_128 * (1 + d);
      oracle::exact(b, half_exp, x);
      EXPECT_LE(oracle::ulp_error(ulx_guhy(&x), b), 0.52) << std::hexfloat << x;
    }
  }
  for (double x : {0x1p-60, -0x1p-60, 1e-300, -1e-20, 0x1p-1074}) {
    oracle::exact(b, half_exp, x);
    EXPECT_LE(oracle::ulp_error(ulx_guhy(&x), b), 0.52) << std::hexfloat << x;
  }
}

TEST(Guhy, HalfAtZero) {
  for (double x : {0.0, -0.0}) EXPECT_EQ(support::bits_of(ulx_guhy(&x)), 0x3fe0000000000000u);
}

// The fitted odd series of the Real8 sine below 1, evaluated exactly with
// its Real8 coefficients: its relative error over (0, 1] stays within the
// 0.066 ulp the fit reached (Taylor's 1/6 and 1/120 with the same high
// coefficients would reach 1.6 ulp).
TEST(SinhSeries, Fit) {
  oracle::Big x, s, acc, sh, rel;
  double worst = 0;
  for (int k = 1; k <= 8192; ++k) {
    mpfr_set_d(x, k / 8192.0, MPFR_RNDN);
    mpfr_sqr(s, x, MPFR_RNDN);
    mpfr_set_d(acc, vx::sinh_series[6], MPFR_RNDN);
    for (int i = 5; i >= 0; --i) {
      mpfr_mul(acc, acc, s, MPFR_RNDN);
      mpfr_add_d(acc, acc, vx::sinh_series[i], MPFR_RNDN);
    }
    mpfr_mul(acc, acc, s, MPFR_RNDN);
    mpfr_mul(acc, acc, x, MPFR_RNDN);
    mpfr_add(acc, acc, x, MPFR_RNDN);
    mpfr_sinh(sh, x, MPFR_RNDN);
    mpfr_div(rel, acc, sh, MPFR_RNDN);
    mpfr_sub_ui(rel, rel, 1, MPFR_RNDN);
    worst = std::max(worst, std::fabs(mpfr_get_d(rel, MPFR_RNDN)) * 0x1p53);
  }
  std::printf("  sinh series: max %.4f ulp over (0, 1]\n", worst);
  EXPECT_LE(worst, 0.066);
}

}  // namespace
