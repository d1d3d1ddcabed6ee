// The double-double kernels (ulx_gtmt, ulx_gtml, ulx_gte2, ulx_gtem,
// ulx_gtlg, ulx_gtep) and their tables against MPFR.
//
// Bounds:
//   products: relative error below 2^-103, about 103 bits (the partial
//     products are exact but the last, 27 by 27 bits, which may round at
//     2^-106; the two cross terms, their sum and its sum with the error
//     term round at 2^-106 or 2^-105 each). Squares
//     of a Real8 (the only rounding is the last partial product) stay
//     below 2^-105. The low part is within half an ulp of the high part.
//   ulx_gte2, ulx_gtem: 0.61 ulp. The polynomial is within 2^-56.8 of 2^f
//     on |f| <= 1/32 (0.072 ulp where the result is just below a power of
//     two) and the terms before the last sum are kept to about 2^-58, so
//     all but 0.1 ulp is the rounding of the last sum. A subnormal result
//     (2^v below 2^-1022) is that Real8 rounded again to the subnormal
//     grid: 0.8 ulp of that grid.
//   ulx_gtlg: absolute error below 2^-59.9 plus 2^-96 |ln x|. The series
//     is a minimax fit whose error in ln m reaches 2^-60.3 at the ends of
//     [sqrt(1/2), sqrt(2)); k ln 2 with the two-part ln 2 is good to
//     2^-88 for |k| up to 1075.
//   ulx_gtep: 1 ulp. The table entries are single rounded Real8 values
//     (half an ulp each), the polynomial is within 2^-58.6.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "elem/erf_gamma/double_double.h"
#include "elem/erf_gamma/tables/exp2_16_table.h"
#include "support/checks.h"

namespace {

using oracle::Big;
using support::Sampler;
using vx::DoubleDouble;

void set_dd(Big &out, DoubleDouble v) {
  mpfr_set_d(out, v.high, MPFR_RNDN);
  mpfr_add_d(out, out, v.low, MPFR_RNDN);  // exact at 320 bits
}

// |got - exact| / |exact| as a power of two (log2), or -inf when equal.
double log2_relative_error(DoubleDouble got, mpfr_srcptr exact) {
  Big g, d;
  set_dd(g, got);
  mpfr_sub(d, g, exact, MPFR_RNDN);
  if (mpfr_zero_p(d)) return -INFINITY;
  mpfr_div(d, d, exact, MPFR_RNDN);
  mpfr_abs(d, d, MPFR_RNDN);
  return std::log2(mpfr_get_d(d, MPFR_RNDN));
}

// The low part is at most half an ulp of the high part.
void expect_normalized(DoubleDouble v) {
  EXPECT_LE(std::fabs(v.low), 0.5 * support::ulp_of<double>(v.high))
      << std::hexfloat << v.high << " " << v.low;
}

DoubleDouble random_dd(Sampler &s, double lo, double hi) {
  const double h = s.log_uniform_signed(lo, hi);
  const double l = s.uniform(-0.5, 0.5) * support::ulp_of<double>(h);
  return {h, l};
}

TEST(DoubleDouble, ProductsAgainstMpfr) {
  Sampler s(0xdd01);
  double worst_mt = -INFINITY, worst_ml = -INFINITY;
  const std::uint64_t n = support::scaled(60000);
  for (std::uint64_t i = 0; i < n; ++i) {
    const DoubleDouble a = random_dd(s, 1e-30, 1e30), b = random_dd(s, 1e-30, 1e30);
    Big ea, eb, exact;
    set_dd(ea, a);
    set_dd(eb, b);
    mpfr_mul(exact, ea, eb, MPFR_RNDN);
    DoubleDouble p;
    ulx_gtmt(&p, &a, &b);
    const double e_mt = log2_relative_error(p, exact);
    EXPECT_LT(e_mt, -103) << std::hexfloat << a.high << " " << a.low << " * " << b.high << " "
                          << b.low;
    expect_normalized(p);
    worst_mt = std::max(worst_mt, e_mt);

    mpfr_mul_d(exact, ea, b.high, MPFR_RNDN);
    ulx_gtml(&p, &a, &b.high);
    const double e_ml = log2_relative_error(p, exact);
    EXPECT_LT(e_ml, -103) << std::hexfloat << a.high << " " << a.low << " * " << b.high;
    expect_normalized(p);
    worst_ml = std::max(worst_ml, e_ml);
    if (HasFailure()) break;
  }
  std::printf("  ulx_gtmt worst relative error 2^%.2f, ulx_gtml 2^%.2f\n", worst_mt, worst_ml);
}

TEST(DoubleDouble, ProductWithAZeroFactorIsZero) {
  const DoubleDouble zero = {0.0, 0.0}, minus_zero = {-0.0, 0.0}, x = {3.5, 1e-17};
  for (const auto &[a, b] : {std::pair{zero, x}, std::pair{x, zero}, std::pair{minus_zero, x}}) {
    DoubleDouble p = {1.0, 1.0};
    ulx_gtmt(&p, &a, &b);
    EXPECT_EQ(support::bits_of(p.high), 0u);
    EXPECT_EQ(support::bits_of(p.low), 0u);
  }
}

// Squares of 53-bit values need all 106 bits.
TEST(DoubleDouble, SquaresOfFullSignificands) {
  for (double x : {0x1.fffffffffffffp+0, 0x1.0000000000001p+0, 0x1.5555555555555p-3, 26.628736,
                   3.0000000000000004}) {
    const DoubleDouble a = {x, 0.0};
    DoubleDouble p;
    ulx_gtmt(&p, &a, &a);
    Big e(x), exact;
    mpfr_sqr(exact, e, MPFR_RNDN);
    EXPECT_LT(log2_relative_error(p, exact), -105) << std::hexfloat << x;
  }
}

// 2^v rounded: the ulp error of a Real8 result against 2^(high + low).
double exp2_error(double got, DoubleDouble v) {
  Big e, r;
  set_dd(e, v);
  mpfr_exp2(r, e, MPFR_RNDN);
  return oracle::ulp_error(got, r);
}

TEST(DoubleDouble, Exp2AgainstMpfr) {
  Sampler s(0xdd02);
  struct Range {
    double lo, hi, bound;
  };
  for (const Range r : {Range{-1, 1, 0.61}, Range{-60, 60, 0.61}, Range{-1022, 1023.9, 0.61},
                        Range{-1023, -1022, 0.8}}) {
    oracle::WorstCase worst;
    const std::uint64_t n = support::scaled(40000);
    for (std::uint64_t i = 0; i < n; ++i) {
      const double h = s.uniform(r.lo, r.hi);
      const DoubleDouble v = {h, s.uniform(-0.5, 0.5) * support::ulp_of<double>(h)};
      const double err = exp2_error(ulx_gte2(&v), v);
      worst.add(err, h);
      EXPECT_LE(err, r.bound) << std::hexfloat << v.high << " " << v.low;
      if (HasFailure()) break;
    }
    std::printf("  ulx_gte2 v in [%g, %g): %s\n", r.lo, r.hi, worst.describe().c_str());
  }
}

TEST(DoubleDouble, Exp2OutsideItsDomainIsZero) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double h : {-1023.0, -1100.0, 1024.0, 5000.0, -inf, inf, std::nan("")}) {
    const DoubleDouble v = {h, 0.0};
    EXPECT_EQ(support::bits_of(ulx_gte2(&v)), 0u) << h;
  }
  // Just inside: 2^-1023 + a little is the subnormal next to 2^-1023.
  const DoubleDouble v = {std::nextafter(-1023.0, 0.0), 0.0};
  EXPECT_LE(exp2_error(ulx_gte2(&v), v), 0.8);
  EXPECT_GT(ulx_gte2(&v), 0.0);
}

TEST(DoubleDouble, Exp2OfIntegersIsExact) {
  for (int k = -1022; k <= 1023; k += 7) {
    const DoubleDouble v = {static_cast<double>(k), 0.0};
    EXPECT_EQ(ulx_gte2(&v), std::ldexp(1.0, k)) << k;
  }
}

TEST(DoubleDouble, GaussianAgainstMpfr) {
  Sampler s(0xdd03);
  oracle::WorstCase worst;
  const std::uint64_t n = support::scaled(60000);
  for (std::uint64_t i = 0; i < n; ++i) {
    const double x = s.uniform_signed(0, 26.6287);  // x^2/ln 2 below 1023
    Big e(x), r;
    mpfr_sqr(r, e, MPFR_RNDN);
    mpfr_neg(r, r, MPFR_RNDN);
    mpfr_exp(r, r, MPFR_RNDN);
    const double err = oracle::ulp_error(ulx_gtem(&x), r);
    worst.add(err, x);
    const bool subnormal = mpfr_get_exp(r) <= -1022;
    EXPECT_LE(err, subnormal ? 0.8 : 0.61) << std::hexfloat << x;
    if (HasFailure()) break;
  }
  std::printf("  ulx_gtem |x| < 26.6287: %s\n", worst.describe().c_str());
  const double zero = 0.0, beyond = 26.6288;  // x^2/ln 2 above 1023: 0.0
  EXPECT_EQ(ulx_gtem(&zero), 1.0);
  EXPECT_EQ(support::bits_of(ulx_gtem(&beyond)), 0u);
}

// |got - ln x| against the bound stated at the top.
void expect_log(double x, double *worst) {
  DoubleDouble got;
  ulx_gtlg(&got, &x);
  Big e(x), exact, g, d;
  mpfr_log(exact, e, MPFR_RNDN);
  set_dd(g, got);
  mpfr_sub(d, g, exact, MPFR_RNDN);
  const double err = std::fabs(mpfr_get_d(d, MPFR_RNDN));
  const double bound = std::exp2(-59.9) + 0x1p-96 * std::fabs(mpfr_get_d(exact, MPFR_RNDN));
  EXPECT_LE(err, bound) << std::hexfloat << x;
  expect_normalized(got);
  *worst = std::max(*worst, err);
}

TEST(DoubleDouble, LogarithmAgainstMpfr) {
  Sampler s(0xdd04);
  double worst = 0;
  const std::uint64_t n = support::scaled(60000);
  for (std::uint64_t i = 0; i < n; ++i) {
    expect_log(std::fabs(s.log_uniform_signed(1e-307, 1e308)), &worst);
    expect_log(s.uniform(0.7, 1.42), &worst);  // the reduced range itself
    if (HasFailure()) break;
  }
  for (double x : {0x1p-1074, 0x1.8p-1070, 0x1.fffffffffffffp-1023, 0x1.fffffffffffffp+1023,
                   0x1.6a09e667f3bccp+0, 0x1.6a09e667f3bcdp+0, 16.0, 171.6243}) {
    expect_log(x, &worst);
  }
  std::printf("  ulx_gtlg worst absolute error 2^%.2f\n", std::log2(worst));
}

// ln 2^k is k times the two-part ln 2 (to 2^-88 absolute), and ln 1 is
// exactly zero.
TEST(DoubleDouble, LogarithmOfPowersOfTwo) {
  for (int k : {-1074, -1022, -1, 1, 2, 10, 1023}) {
    const double x = std::ldexp(1.0, k);
    DoubleDouble got;
    ulx_gtlg(&got, &x);
    Big e(x), exact;
    mpfr_log(exact, e, MPFR_RNDN);
    EXPECT_LT(log2_relative_error(got, exact), -96) << k;
  }
  const double one = 1.0;
  DoubleDouble got;
  ulx_gtlg(&got, &one);
  EXPECT_EQ(got.high, 0.0);
  EXPECT_EQ(got.low, 0.0);
}

TEST(DoubleDouble, ExponentialAgainstMpfr) {
  Sampler s(0xdd05);
  oracle::WorstCase worst;
  const std::uint64_t n = support::scaled(60000);
  for (std::uint64_t i = 0; i < n; ++i) {
    const double h = s.uniform(-745.1, 709.78);
    const DoubleDouble v = {h, s.uniform(-0.5, 0.5) * support::ulp_of<double>(h)};
    Big e, r;
    set_dd(e, v);
    mpfr_exp(r, e, MPFR_RNDN);
    const double err = oracle::ulp_error(ulx_gtep(&v), r);
    worst.add(err, h);
    EXPECT_LE(err, 1.0) << std::hexfloat << v.high << " " << v.low;
    if (HasFailure()) break;
  }
  std::printf("  ulx_gtep v in [-745.1, 709.78): %s\n", worst.describe().c_str());
  const DoubleDouble zero = {0.0, 0.0}, high = {709.8, 0.0}, low = {-745.2, 0.0};
  EXPECT_EQ(ulx_gtep(&zero), 1.0);
  EXPECT_EQ(ulx_gtep(&high), INFINITY);
  EXPECT_EQ(ulx_gtep(&low), 0.0);
}

TEST(DoubleDoubleTables, RecomputedWithMpfr) {
  Big v, rest;
  for (int j = 0; j < 16; ++j) {
    mpfr_set_si(v, j, MPFR_RNDN);
    mpfr_div_ui(v, v, 16, MPFR_RNDN);
    mpfr_exp2(v, v, MPFR_RNDN);
    const double a = mpfr_get_d(v, MPFR_RNDN);
    EXPECT_EQ(vx::exp2_16::a[j], a) << "a[" << j << "]";
    mpfr_sub_d(rest, v, a, MPFR_RNDN);
    EXPECT_EQ(vx::exp2_16::b[j], mpfr_get_d(rest, MPFR_RNDN)) << "b[" << j << "]";
  }
  EXPECT_EQ(vx::exp2_16::a[8], 0x1.6a09e667f3bcdp+0);  // sqrt(2)
}

}  // namespace
