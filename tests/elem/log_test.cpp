// g_log, g_log2, g_log10 (and g_alog, g_alog2, g_alog10), g_dlog, g_dlog2,
// g_dlog10 against MPFR, their exact points, the error protocol, and the
// tables of the base-2 logarithms (with the reciprocals of the Real8 table
// points that g_dlog2's fused multiply-add route uses).
//
// Bounds (ulps of the result; the maxima of a run are printed):
//   g_log, g_log10, g_dlog, g_dlog10  0.501: one FYL2X, exact to about one
//            unit of the register's 64 bits, and the final rounding.
//   g_log2   0.502: the per-point series err by at most 1.3e-9 relative to
//            f; next to 1 (point 0) by 5e-10 relative to the result.
//   g_dlog2  0.51: the series next to 1 errs by 3.4e-19 relative, atbl is
//            exact to 2^-106, the odd series in s by less than 1e-21; all
//            sums are formed in the register.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "elem/exp_log/tables/atbl_table.h"
#include "elem/exp_log/tables/log2_fma_table.h"
#include "elem/exp_log/tables/log2_table.h"
#include "support/checks.h"
#include "support/ieee_constants.h"
#include "support/ranges.h"

namespace {

using namespace support;

struct Fn4 {
  const char *name;
  support::Unary<float> fn;
  oracle::Fn1 exact;
  double ulps;
};
struct Fn8 {
  const char *name;
  support::Unary<double> fn;
  oracle::Fn1 exact;
  double ulps;
};

const Fn4 kReal4[] = {
    {"g_log", g_log, mpfr_log, 0.501},       {"g_alog", g_alog, mpfr_log, 0.501},
    {"g_log10", g_log10, mpfr_log10, 0.501}, {"g_alog10", g_alog10, mpfr_log10, 0.501},
    {"g_log2", g_log2, mpfr_log2, 0.512},    {"g_alog2", g_alog2, mpfr_log2, 0.512},
};
const Fn4 kReal4Distinct[] = {kReal4[0], kReal4[2], kReal4[4]};
const Fn8 kReal8[] = {
    {"g_dlog", g_dlog, mpfr_log, 0.501},
    {"g_dlog10", g_dlog10, mpfr_log10, 0.501},
    {"g_dlog2", g_dlog2, mpfr_log2, 0.53},
};

// The g_alog forms are held to the same values by PairedNamesAgree.
TEST(Log4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(30000);
  for (const Fn4 &f : kReal4Distinct) {
    expect_accuracy_over<float>(f.name, f.fn, f.exact,
                                {{0.98, 1.02, f.ulps},  // results next to zero
                                 {0.7, 1.6, f.ulps},
                                 {1e-38, 3e38, f.ulps, true},
                                 {1e-45, 1.2e-38, f.ulps, true}},  // subnormal arguments
                                n);
  }
}

TEST(Log8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(30000);
  for (const Fn8 &f : kReal8) {
    expect_accuracy_over<double>(f.name, f.fn, f.exact,
                                 {{0.99, 1.01, f.ulps},  // results next to zero
                                  {0.7, 1.6, f.ulps},
                                  {1e-300, 1e300, f.ulps, true},
                                  {5e-324, 2.2e-308, f.ulps, true}},  // subnormal arguments
                                 n);
  }
}

// Next to 1 on a fine grid, where the results are smallest: every fifth
// float from 1 - 2^-7 to 1 + 2^-6 (the whole first table point of g_log2),
// and Real8 arguments a few ulps from 1.
TEST(Log, NextToOne) {
  const std::uint32_t stride = support::scaled(100) < 100 ? 25 : 5;  // fewer under emulation
  for (const Fn4 &f : kReal4Distinct) {
    oracle::WorstCase worst;
    for (float x = 0.9921875f; x < 1.015625f;
         x = std::bit_cast<float>(std::bit_cast<std::uint32_t>(x) + stride)) {
      if (x == 1.0f) continue;
      const double e = oracle::ulp_error(f.fn(&x), f.exact, x);
      worst.add(e, x);
      ASSERT_LE(e, f.ulps) << f.name << " " << std::hexfloat << x;
    }
    std::printf("  %-10s next to 1: %s\n", f.name, worst.describe().c_str());
  }
  for (const Fn8 &f : kReal8) {
    for (int k = 1; k < 64; ++k) {
      for (double x : {1 + k * 0x1p-52, 1 - k * 0x1p-53, 1 + k * 0x1p-30, 1 - k * 0x1p-31}) {
        EXPECT_LE(oracle::ulp_error(f.fn(&x), f.exact, x), f.ulps) << f.name << " " << x;
      }
    }
  }
}

// log2 of a power of two is its exponent, subnormals included.
TEST(Log2, PowersOfTwoAreExact) {
  for (int k = -149; k <= 127; ++k) {
    const float x = std::ldexp(1.0f, k);
    expect_exact("g_log2", g_log2, x, static_cast<float>(k));
    expect_exact("g_alog2", g_alog2, x, static_cast<float>(k));
  }
  for (int k = -1074; k <= 1023; ++k) {
    expect_exact("g_dlog2", g_dlog2, std::ldexp(1.0, k), static_cast<double>(k));
  }
  expect_exact("g_log", g_log, 1.0f, 0.0f);
  expect_exact("g_log10", g_log10, 1.0f, 0.0f);
  expect_exact("g_dlog", g_dlog, 1.0, 0.0);
  expect_exact("g_dlog10", g_dlog10, 1.0, 0.0);
}

// Plus infinity: plus infinity, without a report.
TEST(Log, PlusInfinity) {
  for (const Fn4 &f : kReal4) expect_exact(f.name, f.fn, kInfF, kInfF);
  for (const Fn8 &f : kReal8) expect_exact(f.name, f.fn, kInfD, kInfD);
}

// The paired names are the same function at another address.
TEST(Log, PairedNamesAgree) {
  EXPECT_NE(reinterpret_cast<void *>(g_log), reinterpret_cast<void *>(g_alog));
  EXPECT_NE(reinterpret_cast<void *>(g_log2), reinterpret_cast<void *>(g_alog2));
  EXPECT_NE(reinterpret_cast<void *>(g_log10), reinterpret_cast<void *>(g_alog10));
  support::Sampler s(0xa1095);
  for (int i = 0; i < 20000; ++i) {
    const float x = std::bit_cast<float>(static_cast<std::uint32_t>(s.bits()) & 0x7f7fffffu);
    ASSERT_EQ(support::bits_of(g_log(&x)), support::bits_of(g_alog(&x))) << x;
    ASSERT_EQ(support::bits_of(g_log2(&x)), support::bits_of(g_alog2(&x))) << x;
    ASSERT_EQ(support::bits_of(g_log10(&x)), support::bits_of(g_alog10(&x))) << x;
  }
}

TEST(Log, ArgumentErrors) {
  for (const Fn4 &f : kReal4) {
    SCOPED_TRACE(f.name);
    const float eight = 8.0f, tiny = 0x1p-149f;
    const ErrorRow<float> rows[] = {
        // zero: -3.40282002e+38 or minus infinity
        {f.name, f.fn, 0.0f, 244, -kBigF, -kInfF},
        {f.name, f.fn, -0.0f, 244, -kBigF, -kInfF},
        // negative: the logarithm of -x, or NaN
        {f.name, f.fn, -8.0f, 244, f.fn(&eight), kNaNF},
        {f.name, f.fn, -0x1p-149f, 244, f.fn(&tiny), kNaNF},
        {f.name, f.fn, -kInfF, 244, kInfF, kNaNF},
        // NaN: the NaN (negated) without the flag, which ends the loop
        {f.name, f.fn, kNaNF, 244, kMNaNF, kNaNF},
        {f.name, f.fn, kMNaNF, 244, kNaNF, kNaNF},
    };
    for (const auto &row : rows) support::expect_error_row(row);
  }
  for (const Fn8 &f : kReal8) {
    SCOPED_TRACE(f.name);
    const double eight = 8.0, tiny = 0x1p-1074;
    const ErrorRow<double> rows[] = {
        {f.name, f.fn, 0.0, 245, -kBigD, -kInfD},
        {f.name, f.fn, -0.0, 245, -kBigD, -kInfD},
        {f.name, f.fn, -8.0, 245, f.fn(&eight), kNaND},
        {f.name, f.fn, -0x1p-1074, 245, f.fn(&tiny), kNaND},
        {f.name, f.fn, -kInfD, 245, kInfD, kNaND},
        {f.name, f.fn, kNaND, 245, kMNaND, kNaND},
        {f.name, f.fn, kMNaND, 245, kNaND, kNaND},
    };
    for (const auto &row : rows) support::expect_error_row(row);
  }
  // The declined default of a negative argument is the logarithm itself.
  support::Recorder rec(0);
  const float m8 = -8.0f;
  EXPECT_NEAR(g_log(&m8), 2.0794415f, 2e-7f);
}

TEST(Log, ResumeComputesTheReplacement) {
  for (const Fn4 &f : kReal4) support::expect_resume_with<float>(f.fn, -1.0f, 2.0f, 244);
  for (const Fn8 &f : kReal8) support::expect_resume_with<double>(f.fn, 0.0, 8.0, 245);
  support::expect_resume_with<float>(g_log2, kNaNF, 0x1p-140f, 244);
  support::expect_resume_with<double>(g_dlog2, -kInfD, 3.0, 245);
}

// A replacement that is still not positive reports again.
TEST(Log, ReplacementStillOutsideReportsAgain) {
  support::Recorder rec(0);
  rec.answer = [](const support::Report &r, int index) {
    support::replace(r, 1, 0.0f);
    return index == 0 ? 1 : 0;
  };
  const float x = -2.0f;
  EXPECT_EQ(support::bits_of(g_alog2(&x)), support::bits_of(-kBigF));
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[1].number, 244);
  EXPECT_EQ(rec.reports[1].value_as<float>(0), 0.0f);
}

// a[j] = ln c_j with c_j = 1 + j/32 (j < 16) or (1 + j/32)/2.
double table_point4(int j) { return (1 + j / 32.0) / (j < 16 ? 1 : 2); }

TEST(Log2Table, LogarithmsOfThePointsRecomputedWithMpfr) {
  oracle::Big v;
  for (int j = 0; j < 32; ++j) {
    oracle::exact(v, mpfr_log, table_point4(j));
    EXPECT_EQ(vx::log2_table::a[j], mpfr_get_d(v, MPFR_RNDN)) << "entry " << j;
  }
  EXPECT_EQ(vx::log2_table::a[1], 0.030771658666753687);  // ln(33/32)
}

// p[j] is the cubic through T(f) = (ln(1 + f/c_j) - f)/f at the Chebyshev
// nodes of f's interval: it matches T there to the rounding of its
// coefficients, and stays within the stated bound of T in between.
TEST(Log2Table, SeriesInterpolateAtTheChebyshevNodes) {
  oracle::Big t, w;
  for (int j = 0; j < 32; ++j) {
    const double c = table_point4(j);
    const double lo = j == 0 || j >= 16 ? -1 / 128.0 : -1 / 64.0;
    const double hi = j >= 16 ? 1 / 128.0 : 1 / 64.0;
    const vx::log2_table::Series &s = vx::log2_table::p[j];
    // |P(f) - T(f)| with P evaluated exactly from the stored coefficients.
    const auto error = [&](double f) {
      mpfr_set_d(t, f, MPFR_RNDN);
      mpfr_div_d(t, t, c, MPFR_RNDN);
      mpfr_log1p(t, t, MPFR_RNDN);
      mpfr_sub_d(t, t, f, MPFR_RNDN);
      mpfr_div_d(t, t, f, MPFR_RNDN);
      mpfr_set_d(w, s.c3, MPFR_RNDN);
      for (double k : {s.c2, s.c1, -s.c0}) {
        mpfr_mul_d(w, w, f, MPFR_RNDN);
        mpfr_add_d(w, w, k, MPFR_RNDN);
      }
      mpfr_sub(w, w, t, MPFR_RNDN);
      return std::fabs(mpfr_get_d(w, MPFR_RNDN));
    };
    for (int k = 0; k < 4; ++k) {
      const double f = (lo + hi) / 2 + (hi - lo) / 2 * std::cos((2 * k + 1) * M_PI / 8);
      EXPECT_LE(error(f), 1e-16) << "group " << j << ", node " << k;
    }
    double worst = 0;
    for (int i = 0; i <= 400; ++i) {
      const double f = lo + (hi - lo) * i / 400;
      if (f != 0) worst = std::max(worst, error(f));
    }
    EXPECT_LE(worst, j == 0 ? 5e-10 : 1.3e-9) << "group " << j;
  }
}

TEST(Atbl, RecomputedWithMpfr) {
  oracle::Big v, rest;
  for (int j = 0; j < 512; ++j) {
    oracle::exact(v, mpfr_log2, (1 + j / 512.0) / (j < 256 ? 1 : 2));
    const double high = mpfr_get_d(v, MPFR_RNDN);
    EXPECT_EQ(vx::atbl_table::atbl[j].high, high) << "entry " << j;
    mpfr_sub_d(rest, v, high, MPFR_RNDN);
    EXPECT_EQ(vx::atbl_table::atbl[j].low, mpfr_get_d(rest, MPFR_RNDN)) << "entry " << j;
  }
  EXPECT_EQ(vx::atbl_table::atbl[0].high, 0.0);
  EXPECT_EQ(vx::atbl_table::atbl[256].high, std::log2(0.75));
}

// The tables of g_dlog2's fused multiply-add route, from MPFR and atbl.
TEST(Log2FmaTable, RecomputedWithMpfr) {
  const double k1 = 0x1.71547652b82fep+1;  // 2/ln 2 as a Real8
  oracle::Big v, rest;
  for (int j = 0; j < 512; ++j) {
    const vx::DoubleDouble &s = vx::log2_fma_table::split[j];
    const vx::DoubleDouble &t = vx::atbl_table::atbl[j];
    // top: a multiple of 2^-42 within 2^-43 of atbl's high part
    EXPECT_EQ(s.high, std::ldexp(std::nearbyint(std::ldexp(t.high, 42)), -42)) << "entry " << j;
    mpfr_set_d(v, t.high, MPFR_RNDN);
    mpfr_add_d(v, v, t.low, MPFR_RNDN);
    mpfr_sub_d(v, v, s.high, MPFR_RNDN);
    EXPECT_EQ(s.low, mpfr_get_d(v, MPFR_RNDN)) << "entry " << j;

    const double c = (1 + j / 512.0) / (j < 256 ? 1 : 2);
    mpfr_set_d(v, 2 * c, MPFR_RNDN);
    mpfr_ui_div(v, 1, v, MPFR_RNDN);
    mpfr_div_2ui(v, v, j < 256 ? 52 : 53, MPFR_RNDN);  // per unit of the last place next to c
    EXPECT_EQ(vx::log2_fma_table::half_rcp[j], mpfr_get_d(v, MPFR_RNDN)) << "entry " << j;
    mpfr_mul_d(v, v, k1, MPFR_RNDN);
    const double high = mpfr_get_d(v, MPFR_RNDN);
    EXPECT_EQ(vx::log2_fma_table::k1_rcp[j].high, high) << "entry " << j;
    mpfr_sub_d(rest, v, high, MPFR_RNDN);
    EXPECT_EQ(vx::log2_fma_table::k1_rcp[j].low, mpfr_get_d(rest, MPFR_RNDN)) << "entry " << j;
  }
  // e + top is exact for every exponent of a normal argument
  for (int j = 0; j < 512; ++j) {
    const double top = vx::log2_fma_table::split[j].high;
    EXPECT_EQ(1024 + top - 1024, top) << "entry " << j;
    EXPECT_EQ(-1022 + top + 1022, top) << "entry " << j;
  }
  EXPECT_EQ(vx::log2_fma_table::k1_rcp[0].high, std::ldexp(k1, -53));
  EXPECT_EQ(vx::log2_fma_table::half_rcp[256], std::ldexp(2.0 / 3, -53));
}

}  // namespace
