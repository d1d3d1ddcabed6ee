// The half exponential ulx_guhy against MPFR, and the fitted odd series of
// the Real8 hyperbolic sine. ulx_guhy 0.52 ulp: the table pair to 2^-107,
// the series 0.02 ulp on |r| <= ln2/128, one rounding from the register.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "elem/hyperbolic/half_exp.h"
#include "elem/hyperbolic/tables/sinh_series_table.h"
#include "support/family_table.h"

namespace {

int half_exp(mpfr_ptr out, mpfr_srcptr x, mpfr_rnd_t rnd) {
  const int t = mpfr_exp(out, x, rnd);
  mpfr_div_2ui(out, out, 1, rnd);
  return t;
}

// The range where the family calls it (|x| < 18.4) and the rest of its
// domain; around the points where k changes (odd multiples of ln2/128,
// where |r| is largest) and tiny arguments.
TEST(HalfExp, AgainstMpfr) {
  std::vector<double> extra = {0x1p-60, -0x1p-60, -1e-20, 0x1p-1074};
  for (int m = -4001; m <= 4001; m += 2)
    for (double d : {-1e-15, 0.0, 1e-15}) extra.push_back(m * 0.0054152122465893625 * (1 + d));
  support::check(support::row("ulx_guhy", ulx_guhy, half_exp,
                              {{-1, 1, 0.52}, {-18.4, 18.4, 0.52}, {-700, 709, 0.52}})
                     .checked_at(extra)
                     .exactly({{0, 0.5}, {-0.0, 0.5}})
                     .samples(40000));
}

// The odd series x + x s (p1 + s (p2 + ... + s p7)), s = x^2, evaluated
// exactly from its Real8 coefficients: its relative error over (0, 1]
// stays within the 0.066 ulp the fit reached (Taylor's coefficients would
// reach 1.6 ulp).
TEST(SinhSeries, Fit) {
  oracle::Big x, s, acc, sh;
  double worst = 0;
  for (int k = 1; k <= 8192; ++k) {
    mpfr_set_d(x, k / 8192.0, MPFR_RNDN);
    mpfr_sqr(s, x, MPFR_RNDN);
    support::horner(acc, {std::begin(vx::sinh_series), std::end(vx::sinh_series)}, s);
    mpfr_mul(acc, acc, s, MPFR_RNDN);
    mpfr_mul(acc, acc, x, MPFR_RNDN);
    mpfr_add(acc, acc, x, MPFR_RNDN);
    mpfr_sinh(sh, x, MPFR_RNDN);
    worst = std::max(worst, support::relative(acc, sh) * 0x1p53);
  }
  std::printf("  sinh series: max %.4f ulp over (0, 1]\n", worst);
  EXPECT_LE(worst, 0.066);
}

}  // namespace
