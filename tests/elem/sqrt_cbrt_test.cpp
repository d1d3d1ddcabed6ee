// g_sqrt, g_dsqrt, g_cbrt, g_dcbrt against MPFR, their special arguments,
// the error protocol, and the cube-root buckets.
//
// Bounds (ulps of the result; the maxima of a run are printed):
//   g_sqrt   correctly rounded: FSQRT's 64-bit result rounded to 24 bits is
//            the correctly rounded root (64 >= 2 * 24 + 2).
//   g_dsqrt  0.5005: the double rounding from 64 to 53 bits can add 2^-11.
//   g_cbrt   1.02: the guess errs by up to 1.93e-4, one Newton step leaves
//            its square, 3.7e-8, up to 0.51 ulp where the root's fraction
//            is large; then the rounding.
//   g_dcbrt  0.57: the guess errs by up to 5.2e-5, two Newton steps leave
//            7.3e-18 (0.066 ulp at most); then the rounding.
// Negative arguments give exactly the negated root (the steps are odd in
// x), so the accuracy runs take positive arguments and a symmetry check
// covers the rest.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "elem/exp_log/tables/cbrt_table.h"
#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/ranges.h"

namespace {

using namespace support;

TEST(Sqrt4, CorrectlyRounded) {
  support::Sampler s(0x5a47);
  const std::uint64_t n = support::scaled(200000);
  for (std::uint64_t i = 0; i < n; ++i) {
    // every positive finite pattern, subnormals included
    const float x = std::bit_cast<float>(static_cast<std::uint32_t>(s.bits() % 0x7f800000u));
    ASSERT_EQ(support::bits_of(g_sqrt(&x)), support::bits_of(oracle::rounded(mpfr_sqrt, x)))
        << std::hexfloat << x;
  }
}

TEST(Sqrt8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(60000);
  expect_accuracy_over<double>(
      "g_dsqrt", g_dsqrt, mpfr_sqrt,
      {{0.25, 4, 0.5005}, {1e-300, 1e300, 0.5005, true}, {5e-324, 2.2e-308, 0.5005, true}}, n);
}

TEST(Sqrt, SpecialArguments) {
  // Zeros of either sign give +0.0; squares their roots; NaN and plus
  // infinity themselves; none reports.
  for (float x : {0.0f, -0.0f}) expect_exact("g_sqrt", g_sqrt, x, 0.0f);
  for (double x : {0.0, -0.0}) expect_exact("g_dsqrt", g_dsqrt, x, 0.0);
  expect_exact("g_sqrt", g_sqrt, 0x1p-148f, 0x1p-74f);
  expect_exact("g_sqrt", g_sqrt, 6.25f, 2.5f);
  expect_exact("g_sqrt", g_sqrt, kInfF, kInfF);
  expect_exact("g_dsqrt", g_dsqrt, 0x1p-1074, 0x1p-537);
  expect_exact("g_dsqrt", g_dsqrt, 1e300 * 1e-300 * 9, 3.0);
  expect_exact("g_dsqrt", g_dsqrt, kInfD, kInfD);
  support::Recorder rec;
  EXPECT_TRUE(std::isnan(g_sqrt(&kNaNF)));
  EXPECT_TRUE(std::isnan(g_dsqrt(&kNaND)));
  EXPECT_TRUE(rec.reports.empty());
}

TEST(Sqrt, NegativeArguments) {
  const ErrorRow<float> rows4[] = {
      // the root of -x, or NaN with the infinity flag
      {"g_sqrt", g_sqrt, -4.0f, 226, 2.0f, kNaNF},
      {"g_sqrt", g_sqrt, -0x1p-148f, 226, 0x1p-74f, kNaNF},
      {"g_sqrt", g_sqrt, -kInfF, 226, kInfF, kNaNF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      {"g_dsqrt", g_dsqrt, -4.0, 227, 2.0, kNaND},
      {"g_dsqrt", g_dsqrt, -2.0, 227, std::sqrt(2.0), kNaND},
      {"g_dsqrt", g_dsqrt, -kInfD, 227, kInfD, kNaND},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
  support::expect_resume_with<float>(g_sqrt, -1.0f, 2.0f, 226);
  support::expect_resume_with<double>(g_dsqrt, -kInfD, 0.0, 227);
}

TEST(Cbrt4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(60000);
  expect_accuracy_over<float>("g_cbrt", g_cbrt, mpfr_cbrt,
                              {{1, 8, 1.02},  // every bucket once
                               {1e-38, 3e38, 1.02, true},
                               {1e-45, 1.2e-38, 1.02, true}},  // subnormal arguments
                              n);
}

TEST(Cbrt8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(60000);
  expect_accuracy_over<double>("g_dcbrt", g_dcbrt, mpfr_cbrt,
                               {{1, 8, 0.57},
                                {1e-300, 1e300, 0.57, true},
                                {5e-324, 2.2e-308, 0.57, true}},  // subnormal arguments
                               n);
}

TEST(Cbrt, OddInX) {
  support::Sampler s(0xcb27);
  for (int i = 0; i < 20000; ++i) {
    const float x = std::bit_cast<float>(static_cast<std::uint32_t>(s.bits()) & 0x7fffffffu);
    const float m = -x;
    ASSERT_EQ(support::bits_of(g_cbrt(&m)), support::bits_of(-g_cbrt(&x))) << x;
    const double y = std::bit_cast<double>(s.bits() & 0x7fffffffffffffffull);
    const double my = -y;
    ASSERT_EQ(support::bits_of(g_dcbrt(&my)), support::bits_of(-g_dcbrt(&y))) << y;
  }
}

TEST(Cbrt, SpecialArguments) {
  for (float x : {0.0f, -0.0f}) expect_exact("g_cbrt", g_cbrt, x, 0.0f);
  for (double x : {0.0, -0.0}) expect_exact("g_dcbrt", g_dcbrt, x, 0.0);
  expect_exact("g_cbrt", g_cbrt, kInfF, kInfF);
  expect_exact("g_cbrt", g_cbrt, -kInfF, -kInfF);
  expect_exact("g_dcbrt", g_dcbrt, kInfD, kInfD);
  expect_exact("g_dcbrt", g_dcbrt, -kInfD, -kInfD);
  EXPECT_TRUE(std::isnan(g_cbrt(&kNaNF)));
  EXPECT_TRUE(std::isnan(g_dcbrt(&kNaND)));
  // Cubes, the smallest subnormals and the largest finite values.
  const float m27 = -27.0f;
  EXPECT_NEAR(g_cbrt(&m27), -3.0f, 3e-7f);
  for (float x : {-27.0f, 0x1p-149f, 0x1.fffffep127f, 1e-3f}) {
    EXPECT_LE(oracle::ulp_error(g_cbrt(&x), mpfr_cbrt, x), 1.02) << x;
  }
  for (double x : {-27.0, 0x1p-1074, 0x1.fffffffffffffp1023, 1e-3, 1.0}) {
    EXPECT_LE(oracle::ulp_error(g_dcbrt(&x), mpfr_cbrt, x), 0.57) << x;
  }
}

// The bucket constants recomputed: on [u0, u1] the line B (rho + u) of
// least maximal relative error to C u^(1/3) has
// rho = (u1^(2/3) - u0^(2/3)) / (u0^(-1/3) - u1^(-1/3)) and equal and
// opposite errors at u0 and rho/2; alpha = 3 B and the offset's fraction
// is (rho - 2 - r)/3.
struct Line {
  oracle::Big alpha, offset;  // offset fraction in units of the word's last bit
};

void best_line(Line &out, int r, int t, int n, int c_numerator, int fraction_bits) {
  oracle::Big u0, u1, third, w, v, rho, c;
  mpfr_set_ui(third, 1, MPFR_RNDN);
  mpfr_div_ui(third, third, 3, MPFR_RNDN);
  const auto root = [&](oracle::Big &o, mpfr_srcptr x) { mpfr_pow(o, x, third, MPFR_RNDN); };
  mpfr_set_d(u0, 1 + double(t) / n, MPFR_RNDN);
  mpfr_set_d(u1, 1 + double(t + 1) / n, MPFR_RNDN);
  oracle::Big r0, r1;  // cube roots of u0, u1
  root(r0, u0);
  root(r1, u1);
  mpfr_sqr(w, r1, MPFR_RNDN);
  mpfr_sqr(v, r0, MPFR_RNDN);
  mpfr_sub(w, w, v, MPFR_RNDN);  // u1^(2/3) - u0^(2/3)
  mpfr_ui_div(v, 1, r0, MPFR_RNDN);
  mpfr_ui_div(rho, 1, r1, MPFR_RNDN);
  mpfr_sub(v, v, rho, MPFR_RNDN);  // u0^(-1/3) - u1^(-1/3)
  mpfr_div(rho, w, v, MPFR_RNDN);
  // phi(u) = (rho + u) / u^(1/3) at u0 and rho/2
  oracle::Big us, phi0, phis;
  mpfr_div_2ui(us, rho, 1, MPFR_RNDN);
  mpfr_add(phi0, rho, u0, MPFR_RNDN);
  mpfr_div(phi0, phi0, r0, MPFR_RNDN);
  root(w, us);
  mpfr_add(phis, rho, us, MPFR_RNDN);
  mpfr_div(phis, phis, w, MPFR_RNDN);
  mpfr_set_si(c, c_numerator, MPFR_RNDN);
  mpfr_div_ui(c, c, 3, MPFR_RNDN);
  mpfr_exp2(c, c, MPFR_RNDN);
  mpfr_add(w, phi0, phis, MPFR_RNDN);
  mpfr_mul_ui(out.alpha, c, 6, MPFR_RNDN);
  mpfr_div(out.alpha, out.alpha, w, MPFR_RNDN);
  mpfr_sub_ui(w, rho, 2 + r, MPFR_RNDN);
  mpfr_mul_2ui(w, w, fraction_bits, MPFR_RNDN);
  mpfr_div_ui(out.offset, w, 3, MPFR_RNDN);
  mpfr_round(out.offset, out.offset);
}

TEST(CbrtTable, RecomputedWithMpfr) {
  Line line;
  for (int k = 0; k < 24; ++k) {
    best_line(line, k / 8, k % 8, 8, k / 8 - 1, 23);
    EXPECT_EQ(vx::cbrt_table::alpha[k], mpfr_get_flt(line.alpha, MPFR_RNDN)) << "alpha " << k;
    EXPECT_EQ(vx::cbrt_table::beta[k], (85u << 23) + mpfr_get_si(line.offset, MPFR_RNDN))
        << "beta " << k;
  }
  for (int k = 0; k < 48; ++k) {
    best_line(line, k / 16, k % 16, 16, k / 16, 20);
    EXPECT_EQ(vx::cbrt_table::a[k], mpfr_get_d(line.alpha, MPFR_RNDN)) << "a " << k;
    EXPECT_EQ(vx::cbrt_table::b[k], (682u << 20) + mpfr_get_si(line.offset, MPFR_RNDN))
        << "b " << k;
  }
}

// The property the buckets are made for: the first guess, formed as the
// functions form it, lies within 1.95e-4 (Real4) or 5.3e-5 (Real8) of the
// cube root over every bucket, so that one or two Newton steps suffice.
TEST(CbrtTable, FirstGuessesAreCloseEnough) {
  double worst4 = 0, worst8 = 0;
  for (std::uint32_t k = 0; k < 24; ++k) {
    for (int i = 0; i < 2048; ++i) {
      // exponent 127 + k/8 (residue k/8 modulo 3), fraction in bucket k % 8
      const std::uint32_t a = ((127 + k / 8) << 23) | ((k % 8) << 20) | (i << 9);
      const double guess =
          double{vx::cbrt_table::alpha[(a >> 20) % 24]} *
          double{std::bit_cast<float>(a / 3 + vx::cbrt_table::beta[(a >> 20) % 24])};
      const double root = std::cbrt(double{std::bit_cast<float>(a)});
      worst4 = std::max(worst4, std::fabs(guess / root - 1));
    }
  }
  for (std::uint64_t k = 0; k < 48; ++k) {
    for (int i = 0; i < 2048; ++i) {
      const std::uint64_t bits =
          ((1023 + k / 16) << 52) | ((k % 16) << 48) | (std::uint64_t(i) << 37);
      const std::uint32_t a = static_cast<std::uint32_t>(bits >> 32);
      const std::uint64_t g =
          (std::uint64_t{a / 3 + vx::cbrt_table::b[(a >> 16) % 48]} << 32) | (bits & 0xffffffffu);
      const double guess = vx::cbrt_table::a[(a >> 16) % 48] * std::bit_cast<double>(g);
      worst8 = std::max(worst8, std::fabs(guess / std::cbrt(std::bit_cast<double>(bits)) - 1));
    }
  }
  std::printf("  first guess: Real4 within %.3g, Real8 within %.3g\n", worst4, worst8);
  EXPECT_LE(worst4, 1.95e-4);
  EXPECT_LE(worst8, 5.3e-5);
}

}  // namespace
