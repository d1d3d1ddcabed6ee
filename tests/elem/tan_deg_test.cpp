// g_tand, g_cotd, g_dtand, g_dcotd against MPFR, their kernels and table,
// the exact values and poles at multiples of 45 and 90 degrees, the limits
// and the error protocol.
//
// Bounds. Every reduction is exact (r = |x| - 90 k, or |x| - 90 m/256 in
// the table step), so the errors are the kernels' and the final rounding:
//   Real4: P 0.02 ulp, Q 0.002 ulp, evaluated in the 64-bit register and
//     rounded once: 0.52 ulp (0.5196 over every Real4: degree_quadrant_slow_test);
//   Real8 direct and large ranges: the rational tangent 0.03 ulp and the
//     cotangent series 0.06 ulp (tan_deg_coefficients.h) plus the 64-bit
//     evaluation: 0.6 ulp (measured 0.56);
//   Real8 table step (90 < |x| <= 1e13): the short tangent G is 0.15 ulp
//     low near r = 0 (its leading coefficient pi/180 rounded to Real8) and
//     the addition formula adds a few 2^-64: 0.7 ulp (measured 0.66).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "elem/trig/tables/tan_table.h"
#include "elem/trig_units/tables/tan_degrees_table.h"
#include "support/checks.h"
#include "support/ieee_constants.h"

namespace {

using support::ErrorRow;
using support::Range;
using support::Sampler;
using namespace support;  // the special values: kInfF, kNaNF, kBigF, kSqrtHalfF, ...

// Arguments from `gen` rounded to T, without the poles (the odd multiples
// of 90 for the tangent, the even ones for the cotangent), which report.
template <class T, class Gen>
auto off_poles(oracle::Fn1 f, Gen gen) {
  return support::off_poles<T>(180, f == oracle::tand ? 90 : 0, gen);
}

template <class T>
void run_ranges(const char *name, support::Unary<T> fn, oracle::Fn1 f,
                std::initializer_list<Range> ranges, double bound, std::uint64_t n) {
  support::expect_accuracy_in_ranges<T>(name, fn, f, ranges, bound, n,
                                        [f](auto gen) { return off_poles<T>(f, gen); });
}

TEST(TanDeg4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(20000);
  const auto ranges = {Range{0, 45}, Range{45, 90}, Range{90, 720}, Range{720, 1e6},
                       Range{1e6, 4.72e7}};
  run_ranges<float>("g_tand", g_tand, oracle::tand, ranges, 0.52, n);
  run_ranges<float>("g_cotd", g_cotd, oracle::cotd, ranges, 0.52, n);
}

TEST(TanDeg8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(40000);
  // The kernels (up to 90 and beyond 1e13), and the table step.
  const auto kernels = {Range{0, 45}, Range{45, 90}, Range{1e13, 1e15}, Range{1e15, 2.03e17}};
  const auto table = {Range{90, 720}, Range{720, 1e6}, Range{1e6, 1e13}};
  run_ranges<double>("g_dtand", g_dtand, oracle::tand, kernels, 0.6, n);
  run_ranges<double>("g_dtand", g_dtand, oracle::tand, table, 0.7, n);
  run_ranges<double>("g_dcotd", g_dcotd, oracle::cotd, kernels, 0.6, n);
  run_ranges<double>("g_dcotd", g_dcotd, oracle::cotd, table, 0.7, n);
}

// Next to the poles and zeros the remainder is tiny and the kernels work on
// it alone: 90 j + d for d a few ulps up to 1 degree.
TEST(TanDeg, NearPolesAndZeros) {
  Sampler s(0x9011);
  for (double j : {0.0, 1.0, 2.0, 3.0, 7.0, 1001.0, 100002.0}) {
    const auto near = [&] { return 90 * j + s.log_uniform_signed(1e-5, 1); };
    support::expect_accuracy<float>("g_tand near 90 j", g_tand, oracle::tand, support::scaled(4000),
                                    off_poles<float>(oracle::tand, near), support::ulps(0.52));
    support::expect_accuracy<float>("g_cotd near 90 j", g_cotd, oracle::cotd, support::scaled(4000),
                                    off_poles<float>(oracle::cotd, near), support::ulps(0.52));
  }
  for (double j : {0.0, 1.0, 2.0, 3.0, 7.0, 1001.0, 100002.0, 1e11 + 1, 2e11 + 1, 1e12 + 2}) {
    const double bound = j == 0 || j > 1.2e11 ? 0.6 : 0.7;
    const auto near = [&] { return 90 * j + s.log_uniform_signed(1e-9, 1); };
    support::expect_accuracy<double>("g_dtand near 90 j", g_dtand, oracle::tand,
                                     support::scaled(4000), off_poles<double>(oracle::tand, near),
                                     support::ulps(bound));
    support::expect_accuracy<double>("g_dcotd near 90 j", g_dcotd, oracle::cotd,
                                     support::scaled(4000), off_poles<double>(oracle::cotd, near),
                                     support::ulps(bound));
  }
}

TEST(TanDeg, TinyArguments) {
  Sampler s(0x7d);
  support::expect_accuracy<float>(
      "g_tand tiny", g_tand, oracle::tand, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-45, 1e-3); }, support::ulps(0.52));
  support::expect_accuracy<float>(
      "g_cotd tiny", g_cotd, oracle::cotd, support::scaled(20000),
      [&] { return s.log_uniform_signed(2e-37, 1e-3); }, support::ulps(0.52));
  support::expect_accuracy<double>(
      "g_dtand tiny", g_dtand, oracle::tand, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-320, 1e-6); }, support::ulps(0.6));
  support::expect_accuracy<double>(
      "g_dcotd tiny", g_dcotd, oracle::cotd, support::scaled(20000),
      [&] { return s.log_uniform_signed(1e-306, 1e-6); }, support::ulps(0.6));
  // Below 180/pi over the largest finite value the cotangent overflows to
  // infinity; only zero itself is the pole.
  support::expect_exact("g_cotd", g_cotd, 1e-37f, kInfF);
  support::expect_exact("g_cotd", g_cotd, -0x1p-149f, -kInfF);
  support::expect_exact("g_dcotd", g_dcotd, 1e-307, kInfD);
  support::expect_exact("g_dcotd", g_dcotd, -0x1p-1074, -kInfD);
}

// Exact values at multiples of 45 degrees, from k = x/45 mod 8: the
// tangent is 0, 1, pole, -1 for k mod 4 = 0..3 and the cotangent pole, 1,
// 0, -1; zeros take the sign of x, and the values for negative x are the
// negated ones. Poles are checked in PolesReport.
template <class T>
void expect_multiples_of_45(support::Unary<T> tan, support::Unary<T> cot, double k) {
  const long double angle = 45.0L * k;  // exact
  const T x = static_cast<T>(angle);
  ASSERT_EQ(static_cast<long double>(x), angle) << "45 k not representable, k = " << k;
  const int m = static_cast<int>(std::fmod(std::fabs(k), 4));
  const T sign = std::signbit(x) ? -1 : 1;
  const T tan_values[4] = {0, 1, 0 /* pole */, -1};
  const T cot_values[4] = {0 /* pole */, 1, 0, -1};
  if (m != 2) support::expect_exact("tangent", tan, x, sign * tan_values[m]);
  if (m != 0) support::expect_exact("cotangent", cot, x, sign * cot_values[m]);
}

TEST(TanDeg, ExactAtMultiplesOf45) {
  for (double k = -2000; k <= 2000; ++k) {
    expect_multiples_of_45<float>(g_tand, g_cotd, k);
    expect_multiples_of_45<double>(g_dtand, g_dcotd, k);
  }
  for (double k : {262145.0, 372827.0, 745654.0, 1048572.0}) {
    expect_multiples_of_45<float>(g_tand, g_cotd, k);
    expect_multiples_of_45<float>(g_tand, g_cotd, -k);
  }
  // The table step up to 1e13, then the large-argument reduction up to the
  // limit 2.03e17.
  for (double k : {1e6 + 1, 1e6 + 3, 2.2e11 + 1, 2.2e11 + 3, 2.3e11 + 1, 2.3e11 + 7, 1e14 + 1,
                   1e14 + 3, 2e14 + 1, 2e14 + 2, 4.5e15 + 32}) {
    expect_multiples_of_45<double>(g_dtand, g_dcotd, k);
    expect_multiples_of_45<double>(g_dtand, g_dcotd, -k);
  }
}

// The definition's exactness claims as stated: tand(45) = 1, cotd(90) = 0.
TEST(TanDeg, ExactValuesNamed) {
  support::expect_exact("g_tand", g_tand, 45.0f, 1.0f);
  support::expect_exact("g_dtand", g_dtand, 45.0, 1.0);
  support::expect_exact("g_tand", g_tand, 180.0f, 0.0f);
  support::expect_exact("g_tand", g_tand, -180.0f, -0.0f);
  support::expect_exact("g_cotd", g_cotd, 90.0f, 0.0f);
  support::expect_exact("g_cotd", g_cotd, -90.0f, -0.0f);
  support::expect_exact("g_dcotd", g_dcotd, 90.0, 0.0);
  support::expect_exact("g_dcotd", g_dcotd, 270.0, 0.0);
  support::expect_exact("g_dtand", g_dtand, -0.0, -0.0);
}

// tand and cotd are odd, bit for bit (away from the poles, whose default is
// positive for either sign).
TEST(TanDeg, Symmetry) {
  Sampler s(0x0dd);
  const auto x4 = [&] { return s.log_uniform_signed(1e-3, 4.7e7); };
  const auto x8 = [&] { return s.log_uniform_signed(1e-3, 2e17); };
  support::expect_symmetry<float>("g_tand", g_tand, true, 20000,
                                  off_poles<float>(oracle::tand, x4));
  support::expect_symmetry<float>("g_cotd", g_cotd, true, 20000,
                                  off_poles<float>(oracle::cotd, x4));
  support::expect_symmetry<double>("g_dtand", g_dtand, true, 20000,
                                   off_poles<double>(oracle::tand, x8));
  support::expect_symmetry<double>("g_dcotd", g_dcotd, true, 20000,
                                   off_poles<double>(oracle::cotd, x8));
}

// The Real8 range boundaries, by high word: 45 and 90 (+2^-15 and +2^-14
// still belong to the lower range), the end of the table step (high word
// 0x42A2309C, about 1e13) and the limit.
TEST(TanDeg8, RangeBoundaries) {
  for (std::uint64_t b : {0x4046800000000000ull, 0x40468000ffffffffull, 0x4046800100000000ull,
                          0x4056800000000000ull + 1, 0x40568000ffffffffull, 0x4056800100000000ull,
                          0x42a2309c00000000ull, 0x42a2309cffffffffull, 0x42a2309d00000000ull,
                          0x4386899b654b3bffull}) {
    const double bound = b > 0x40568000ffffffffull && b < 0x42a2309d00000000ull ? 0.7 : 0.6;
    for (double v : {std::bit_cast<double>(b), -std::bit_cast<double>(b)}) {
      EXPECT_LE(oracle::ulp_error(g_dtand(&v), oracle::tand, v), bound) << std::hexfloat << v;
      EXPECT_LE(oracle::ulp_error(g_dcotd(&v), oracle::cotd, v), bound) << std::hexfloat << v;
    }
  }
  for (float b : {45.0f, 90.0f, 4.72e7f}) {
    for (float x : {std::nextafter(b, 0.0f), std::nextafter(b, 1e38f)}) {
      if (x >= 4.72e7f) continue;
      EXPECT_LE(oracle::ulp_error(g_tand(&x), oracle::tand, x), 0.52) << x;
      EXPECT_LE(oracle::ulp_error(g_cotd(&x), oracle::cotd, x), 0.52) << x;
    }
  }
}

// The kernels of tan_deg_coefficients.h on (0, 45.1], evaluated exactly
// with MPFR: the errors the header states.
TEST(TanDegKernels, WithinTheirStatedErrors) {
  using namespace vx::tan_degrees8;
  oracle::Big r, s, a, b, c, t, e, c0v;
  mpfr_set_ld(c0v, c0, MPFR_RNDN);
  double tan_worst = 0, cot_worst = 0;
  const int n = static_cast<int>(support::scaled(20000));
  for (int i = 1; i <= n; ++i) {
    mpfr_set_d(r, 45.1 * i / n, MPFR_RNDN);
    mpfr_sqr(s, r, MPFR_RNDN);
    mpfr_set_d(a, a4, MPFR_RNDN);
    for (double k : {a3, a2, a1, a0}) {
      mpfr_mul(a, a, s, MPFR_RNDN);
      mpfr_add_d(a, a, k, MPFR_RNDN);
    }
    mpfr_add_d(b, s, b2, MPFR_RNDN);
    for (double k : {b1, b0}) {
      mpfr_mul(b, b, s, MPFR_RNDN);
      mpfr_add_d(b, b, k, MPFR_RNDN);
    }
    mpfr_div(a, a, b, MPFR_RNDN);
    mpfr_add_d(a, a, 1.0 / 64, MPFR_RNDN);
    mpfr_mul(a, a, r, MPFR_RNDN);  // r/64 + r A/B
    mpfr_tanu(t, r, 360, MPFR_RNDN);
    mpfr_div(e, a, t, MPFR_RNDN);
    mpfr_sub_ui(e, e, 1, MPFR_RNDN);
    tan_worst = std::fmax(tan_worst, std::fabs(mpfr_get_d(e, MPFR_RNDN)) * 0x1p53);

    mpfr_set_d(c, c9, MPFR_RNDN);
    for (double k : {c8, c7, c6, c5, c4, c3, c2, c1}) {
      mpfr_mul(c, c, s, MPFR_RNDN);
      mpfr_add_d(c, c, k, MPFR_RNDN);
    }
    mpfr_mul(c, c, s, MPFR_RNDN);
    mpfr_add(c, c, c0v, MPFR_RNDN);
    mpfr_div(c, c, r, MPFR_RNDN);  // (c0 + c1 s + ... + c9 s^9) / r
    mpfr_mul(e, c, t, MPFR_RNDN);  // cot times tan
    mpfr_sub_ui(e, e, 1, MPFR_RNDN);
    cot_worst = std::fmax(cot_worst, std::fabs(mpfr_get_d(e, MPFR_RNDN)) * 0x1p53);
  }
  std::printf("  rational tangent %.4f, cotangent series %.4f units of 2^-53\n", tan_worst,
              cot_worst);
  EXPECT_LE(tan_worst, 0.031);
  EXPECT_LE(cot_worst, 0.057);
}

// The table step uses the radian tangent's tblp: its angles j pi/512 are
// j 90/256 degrees.
TEST(TanDegTable, IsTheTangentOfTheDegreeBreakpoints) {
  oracle::Big x, v, rest;
  for (int j = 0; j <= 128; ++j) {
    mpfr_set_d(x, 90.0 * j / 256, MPFR_RNDN);
    mpfr_tanu(v, x, 360, MPFR_RNDN);
    EXPECT_EQ(vx::tblp[j].high, mpfr_get_d(v, MPFR_RNDN)) << "entry " << j;
    mpfr_sub_d(rest, v, vx::tblp[j].high, MPFR_RNDN);
    EXPECT_EQ(vx::tblp[j].low, mpfr_get_d(rest, MPFR_RNDN)) << "entry " << j;
  }
}

TEST(TanDeg, PolesReport) {
  const ErrorRow<float> rows4[] = {
      // Tangent at odd multiples of 90, cotangent at even ones (zero
      // included): 1365, 3.40282002e+38 or plus infinity for either sign.
      {"g_tand", g_tand, 90.0f, 1365, kBigF, kInfF},
      {"g_tand", g_tand, -90.0f, 1365, kBigF, kInfF},
      {"g_tand", g_tand, 270.0f, 1365, kBigF, kInfF},
      {"g_tand", g_tand, -33554430.0f, 1365, kBigF, kInfF},  // 90 x 372827
      {"g_cotd", g_cotd, 0.0f, 1365, kBigF, kInfF},
      {"g_cotd", g_cotd, -0.0f, 1365, kBigF, kInfF},
      {"g_cotd", g_cotd, 180.0f, 1365, kBigF, kInfF},
      {"g_cotd", g_cotd, -360.0f, 1365, kBigF, kInfF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      {"g_dtand", g_dtand, 90.0, 1366, kBigD, kInfD},
      {"g_dtand", g_dtand, -270.0, 1366, kBigD, kInfD},
      {"g_dtand", g_dtand, 90.0 * 100001, 1366, kBigD, kInfD},         // table step
      {"g_dtand", g_dtand, -90.0 * 111111111111, 1366, kBigD, kInfD},  // table step
      {"g_dtand", g_dtand, 90.0 * 222222222223, 1366, kBigD, kInfD},   // large range
      {"g_dcotd", g_dcotd, 0.0, 1366, kBigD, kInfD},
      {"g_dcotd", g_dcotd, -0.0, 1366, kBigD, kInfD},
      {"g_dcotd", g_dcotd, 180.0, 1366, kBigD, kInfD},
      {"g_dcotd", g_dcotd, -90.0 * 100002, 1366, kBigD, kInfD},
      {"g_dcotd", g_dcotd, 90.0 * 2e15, 1366, kBigD, kInfD},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
}

TEST(TanDeg, ArgumentsTooLarge) {
  const ErrorRow<float> rows4[] = {
      // |x| >= 47200000, infinities and NaNs: 1363, 1.0 or NaN.
      {"g_tand", g_tand, 4.72e7f, 1363, 1.0f, kNaNF},
      {"g_tand", g_tand, -kInfF, 1363, 1.0f, kNaNF},
      {"g_tand", g_tand, kNaNF, 1363, 1.0f, kNaNF},
      {"g_cotd", g_cotd, -4.72e7f, 1363, 1.0f, kNaNF},
      {"g_cotd", g_cotd, kInfF, 1363, 1.0f, kNaNF},
  };
  for (const auto &row : rows4) support::expect_error_row(row);
  const ErrorRow<double> rows8[] = {
      // |x| >= 2.03e17, infinities and NaNs: 1364, 1.0 or NaN.
      {"g_dtand", g_dtand, 2.03e17, 1364, 1.0, kNaND},
      {"g_dtand", g_dtand, kInfD, 1364, 1.0, kNaND},
      {"g_dcotd", g_dcotd, -2.03e17, 1364, 1.0, kNaND},
      {"g_dcotd", g_dcotd, kNaND, 1364, 1.0, kNaND},
  };
  for (const auto &row : rows8) support::expect_error_row(row);
}

TEST(TanDeg, JustBelowTheLimitsComputes) {
  const float below4 = std::nextafter(4.72e7f, 0.0f);
  const double below8 = std::nextafter(2.03e17, 0.0);
  for (auto fn : {g_tand, g_cotd}) {
    support::expect_no_report("Real4", fn, below4);
    support::expect_no_report("Real4", fn, -below4);
  }
  for (auto fn : {g_dtand, g_dcotd}) {
    support::expect_no_report("Real8", fn, below8);
    support::expect_no_report("Real8", fn, -below8);
  }
}

TEST(TanDeg, ResumeComputesTheReplacement) {
  support::expect_resume_with<float>(g_tand, 90.0f, 30.0f, 1365);
  support::expect_resume_with<float>(g_cotd, 1e9f, 10.0f, 1363);
  support::expect_resume_with<double>(g_dtand, kNaND, 135.0, 1364);
  support::expect_resume_with<double>(g_dcotd, -0.0, 1e5 + 0.5, 1366);
}

// A replacement that fails another test reports with that test's number.
TEST(TanDeg, ReplacementFailingAnotherTestReportsItsNumber) {
  support::expect_replacement_reports_again<float>(g_tand, 1e20f, 270.0f, 1363, 1365, kBigF);
}

}  // namespace
