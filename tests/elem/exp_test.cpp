// g_exp, g_exp2, g_exp10 and their Real8 forms against MPFR, at their
// limits, through the error protocol, and the 2^(j/64) and (ln 2) 2^(j/64)
// tables.
//
// Bounds (ulps of the result; the maxima of a run are printed):
//   g_exp    0.501: x log2(e) errs by |y| 2^-64 at most, which costs
//            nothing at Real4 precision.
//   g_dexp   0.86: the same error of y costs up to ln 2 |y| 2^-64 relative,
//            0.35 ulp at |y| near 1024, on top of the final rounding.
//   g_exp2, g_exp10  0.508: 2^f - 1 errs by 4.4e-10 relative (up to 0.007
//            ulp), the sums are formed in the register.
//   g_dexp2, g_dexp10  0.53: the polynomials err by 2.4e-18 and 2.7e-18
//            relative (up to 0.024 ulp), e[j] is exact to 2^-106, the sums
//            are formed in the register and rounded once (g_dexp2 rounds
//            correctly on SSE where its error bound allows, and takes the
//            register value elsewhere).
// Subnormal results are held to the same bounds in units of the smallest
// subnormal.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <limits>

#include "elem/exp_log/tables/exp2_ln2_table.h"
#include "elem/exp_log/tables/exp2_table.h"
#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/ranges.h"

namespace {

using namespace support;

float f32(std::uint32_t b) { return std::bit_cast<float>(b); }
float up(float x) { return std::nextafter(x, kInfF); }
float down(float x) { return std::nextafter(x, -kInfF); }
double up(double x) { return std::nextafter(x, kInfD); }
double down(double x) { return std::nextafter(x, -kInfD); }

TEST(Exp4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(40000);
  expect_accuracy_over<float>("g_exp", g_exp, mpfr_exp,
                              {{-88.0289f, -87.33f, 0.501},  // subnormal results
                               {-87.33f, -1, 0.501},
                               {-1, 1, 0.501},
                               {1, 88.7219f, 0.501}},
                              n);
  expect_accuracy_over<float>("g_exp2", g_exp2, mpfr_exp2,
                              {{-126.999f, -126, 0.508},  // subnormal results
                               {-126, -1, 0.508},
                               {-1, 1, 0.508},
                               {1, 127.999f, 0.508}},
                              n);
  expect_accuracy_over<float>("g_exp10", g_exp10, mpfr_exp10,
                              {{-38.2299f, -37.93f, 0.508},  // subnormal results
                               {-37.93f, -1, 0.508},
                               {-1, 1, 0.508},
                               {1, 38.5309f, 0.508}},
                              n);
}

TEST(Exp8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(40000);
  expect_accuracy_over<double>("g_dexp", g_dexp, mpfr_exp,
                               {{-709.089, -708.3964, 0.86},  // subnormal results
                                {-708.3964, -20, 0.86},
                                {-20, 20, 0.86},
                                {20, 709.782, 0.86}},
                               n);
  expect_accuracy_over<double>("g_dexp2", g_dexp2, mpfr_exp2,
                               {{-1023, -1022, 0.53},  // subnormal results
                                {-1022, -1, 0.53},
                                {-1, 1, 0.53},
                                {1, 1023, 0.53},
                                {1023, 1024, 0.53}},  // top-range variant
                               n);
  expect_accuracy_over<double>("g_dexp10", g_dexp10, mpfr_exp10,
                               {{-307.95, -307.6527, 0.53},  // subnormal results
                                {-307.6527, -1, 0.53},
                                {-1, 1, 0.53},
                                {1, 304, 0.53},
                                {304, 308.254, 0.53}},  // top-range variant
                               n);
}

// Tiny arguments: e^x, 2^x and 10^x round to 1.
TEST(Exp, TinyArgumentsGiveOne) {
  for (float x : {0.0f, -0.0f, 1e-30f, -1e-30f, 0x1p-149f}) {
    expect_exact("g_exp", g_exp, x, 1.0f);
    expect_exact("g_exp2", g_exp2, x, 1.0f);
    expect_exact("g_exp10", g_exp10, x, 1.0f);
  }
  for (double x : {0.0, -0.0, 1e-300, -1e-300, 0x1p-1074}) {
    expect_exact("g_dexp", g_dexp, x, 1.0);
    expect_exact("g_dexp2", g_dexp2, x, 1.0);
    expect_exact("g_dexp10", g_dexp10, x, 1.0);
  }
}

// 2^k for an integer k has f = 0 and j = 0: the table's 1.0 times 2^k.
TEST(Exp2, IntegersGivePowersOfTwo) {
  for (int k = -126; k <= 127; ++k) {
    expect_exact("g_exp2", g_exp2, static_cast<float>(k), std::ldexp(1.0f, k));
  }
  for (int k = -1022; k <= 1023; ++k) {
    expect_exact("g_dexp2", g_dexp2, static_cast<double>(k), std::ldexp(1.0, k));
  }
  // Multiples of 1/64 are one table entry times a power of two.
  expect_exact("g_dexp2", g_dexp2, 0.5, 0x1.6a09e667f3bcdp-1 * 2);
  expect_exact("g_dexp2", g_dexp2, -1022.5, 0x1.6a09e667f3bcdp-1 * 0x1p-1022);
}

// Underflow returns 0.0 without a report, from the stated limits on; one
// ulp inside them the functions compute a nonzero result.
TEST(Exp, UnderflowLimits) {
  struct Row4 {
    const char *name;
    support::Unary<float> fn;
    float limit;
  };
  const Row4 rows4[] = {
      {"g_exp", g_exp, f32(0xc2b00ed9)},      // -88.029
      {"g_exp2", g_exp2, -127.0f},            //
      {"g_exp10", g_exp10, f32(0xc218eb85)},  // -38.23
  };
  for (const Row4 &r : rows4) {
    for (float x : {r.limit, down(r.limit), -1000.0f, -kInfF, kMNaNF}) {
      expect_exact(r.name, r.fn, x, 0.0f);
    }
    const float inside = up(r.limit);
    const float got = r.fn(&inside);
    EXPECT_GT(got, 0.0f) << r.name;
    EXPECT_LT(got, 0x1p-125f) << r.name;
  }
  struct Row8 {
    const char *name;
    support::Unary<double> fn;
    double limit;
  };
  const Row8 rows8[] = {
      {"g_dexp", g_dexp, -709.089},
      {"g_dexp2", g_dexp2, -1023.0},
      {"g_dexp10", g_dexp10, -307.95},
  };
  for (const Row8 &r : rows8) {
    for (double x : {r.limit, down(r.limit), -1e5, -kInfD}) expect_exact(r.name, r.fn, x, 0.0);
    const double inside = up(r.limit);
    const double got = r.fn(&inside);
    EXPECT_GT(got, 0.0) << r.name;
    EXPECT_LT(got, 0x1p-1021) << r.name;
  }
}

// The last arguments that compute give results close to the largest
// finite values, without a report.
TEST(Exp, LastArgumentsBelowTheOverflowLimits) {
  const float x4[] = {down(f32(0x42b171aa)), down(128.0f), down(f32(0x421a1fbe))};
  const support::Unary<float> fn4[] = {g_exp, g_exp2, g_exp10};
  const oracle::Fn1 mpfr4[] = {mpfr_exp, mpfr_exp2, mpfr_exp10};
  for (int i = 0; i < 3; ++i) {
    expect_no_report<float>("Real4", fn4[i], x4[i]);
    EXPECT_LE(oracle::ulp_error(fn4[i](&x4[i]), mpfr4[i], x4[i]), 0.508) << i;
  }
  // 2^127.5 from the Real4 kernel
  EXPECT_NEAR(g_exp2(std::array<float, 1>{127.5f}.data()), 2.4061596e38f, 1e32f);
  const double x8[] = {down(709.782), down(1024.0), down(308.254), 1023.0, up(1023.0)};
  const support::Unary<double> fn8[] = {g_dexp, g_dexp2, g_dexp10, g_dexp2, g_dexp2};
  const oracle::Fn1 mpfr8[] = {mpfr_exp, mpfr_exp2, mpfr_exp10, mpfr_exp2, mpfr_exp2};
  for (int i = 0; i < 5; ++i) {
    expect_no_report<double>("Real8", fn8[i], x8[i]);
    EXPECT_LE(oracle::ulp_error(fn8[i](&x8[i]), mpfr8[i], x8[i]), 0.86) << i;
  }
}

TEST(Exp, NaNs) {
  support::Recorder rec;
  // Real8: a NaN of either sign computes, without a report.
  for (double x : {kNaND, kMNaND}) {
    EXPECT_TRUE(std::isnan(g_dexp(&x)));
    EXPECT_TRUE(std::isnan(g_dexp2(&x)));
    EXPECT_TRUE(std::isnan(g_dexp10(&x)));
  }
  EXPECT_TRUE(rec.reports.empty());
}

TEST(Exp, Overflow) {
  const ErrorRow<float> rows4[] = {
      // At or above the limit, plus infinity and positive NaNs.
      {"g_exp", g_exp, f32(0x42b171aa), 229, kBigF, kInfF},  // 88.722
      {"g_exp", g_exp, 89.0f, 229, kBigF, kInfF},
      {"g_exp", g_exp, kInfF, 229, kBigF, kInfF},
      {"g_exp", g_exp, kNaNF, 229, kBigF, kInfF},
      {"g_exp2", g_exp2, 128.0f, 238, kBigF, kInfF},
      {"g_exp2", g_exp2, 1e30f, 238, kBigF, kInfF},
      {"g_exp2", g_exp2, kInfF, 238, kBigF, kInfF},
      {"g_exp2", g_exp2, kNaNF, 238, kBigF, kInfF},
      {"g_exp10", g_exp10, f32(0x421a1fbe), 241, kBigF, kInfF},  // 38.531
      {"g_exp10", g_exp10, 40.0f, 241, kBigF, kInfF},
      {"g_exp10", g_exp10, kInfF, 241, kBigF, kInfF},
      {"g_exp10", g_exp10, kNaNF, 241, kBigF, kInfF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      {"g_dexp", g_dexp, 709.782, 230, kBigD, kInfD},
      {"g_dexp", g_dexp, 710.0, 230, kBigD, kInfD},
      {"g_dexp", g_dexp, kInfD, 230, kBigD, kInfD},
      {"g_dexp2", g_dexp2, 1024.0, 239, kBigD, kInfD},
      {"g_dexp2", g_dexp2, 1e300, 239, kBigD, kInfD},
      {"g_dexp2", g_dexp2, kInfD, 239, kBigD, kInfD},
      {"g_dexp10", g_dexp10, 308.254, 242, kBigD, kInfD},
      {"g_dexp10", g_dexp10, 400.0, 242, kBigD, kInfD},
      {"g_dexp10", g_dexp10, kInfD, 242, kBigD, kInfD},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
}

TEST(Exp, ResumeComputesTheReplacement) {
  support::expect_resume_with<float>(g_exp, 100.0f, 1.0f, 229);
  support::expect_resume_with<float>(g_exp2, kInfF, -3.25f, 238);
  support::expect_resume_with<float>(g_exp10, 39.0f, 2.0f, 241);
  support::expect_resume_with<double>(g_dexp, 1000.0, -2.5, 230);
  support::expect_resume_with<double>(g_dexp2, 1024.0, 1023.5, 239);
  support::expect_resume_with<double>(g_dexp10, kInfD, 0.125, 242);
}

// A replacement that still overflows reports again; the second answer
// declines and the default follows the flag.
TEST(Exp, ReplacementStillTooLargeReportsAgain) {
  support::Recorder rec(0);
  rec.answer = [](const support::Report &r, int index) {
    support::replace(r, 1, 2000.0);
    return index == 0 ? 1 : 0;
  };
  const double x = 1e10;
  EXPECT_EQ(support::bits_of(g_dexp2(&x)), support::bits_of(kBigD));
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[1].number, 239);
  EXPECT_EQ(rec.reports[1].value_as<double>(0), 2000.0);
}

TEST(Exp2Table, RecomputedWithMpfr) {
  oracle::Big v, rest;
  for (int j = 0; j < 64; ++j) {
    mpfr_set_si(v, j, MPFR_RNDN);
    mpfr_div_ui(v, v, 64, MPFR_RNDN);
    mpfr_exp2(v, v, MPFR_RNDN);
    const double high = mpfr_get_d(v, MPFR_RNDN);
    EXPECT_EQ(vx::exp2_table::e[j].high, high) << "entry " << j;
    mpfr_sub_d(rest, v, high, MPFR_RNDN);
    EXPECT_EQ(vx::exp2_table::e[j].low, mpfr_get_d(rest, MPFR_RNDN)) << "entry " << j;
  }
  EXPECT_EQ(vx::exp2_table::e[0].high, 1.0);
  EXPECT_EQ(vx::exp2_table::e[32].high, 0x1.6a09e667f3bcdp+0);  // sqrt(2)
}

// k[j] = H p1: a 26-bit head, so that it times a 27-bit remainder is exact,
// and the nearest Real8 to the rest. Compared inside MPFR (the i386 MPFR
// hands Real8 results back through the x87 register).
TEST(Exp2Ln2Table, RecomputedWithMpfr) {
  constexpr double p1 = 0x1.62e42fefa39efp-1;
  oracle::Big k;
  oracle::Big high(oracle::Precision{26});
  oracle::Big low(oracle::Precision{53});
  for (int j = 0; j < 64; ++j) {
    mpfr_set_d(k, vx::exp2_table::e[j].high, MPFR_RNDN);
    mpfr_mul_d(k, k, p1, MPFR_RNDN);    // exact
    mpfr_set(high, k, MPFR_RNDN);       // to 26 bits
    mpfr_sub(low, k, high, MPFR_RNDN);  // the rest, to 53 bits
    const vx::DoubleDouble &t = vx::exp2_ln2_table::k[j];
    EXPECT_EQ(mpfr_cmp_d(high, t.high), 0) << "entry " << j;
    EXPECT_EQ(mpfr_cmp_d(low, t.low), 0) << "entry " << j;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(t.high) & 0x7ffffff, 0u) << "entry " << j;
  }
}

}  // namespace
