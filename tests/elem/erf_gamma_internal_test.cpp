// The double-double kernels of g_derfc and g_dgamma (ulx_gtmt, ulx_gtml,
// ulx_gte2, ulx_gtem, ulx_gtlg, ulx_gtep) against MPFR, and their table.
//
// Bounds:
//   products 2^-103 relative (the cross terms and their sums round at
//     2^-106 or 2^-105 each), squares of a Real8 2^-105; the low part within
//     half an ulp of the high part.
//   ulx_gte2, ulx_gtem 0.61 ulp (the polynomial within 2^-56.8 of 2^f, the
//     sums within 2^-58); a subnormal result rounds again: 0.8 ulp.
//   ulx_gtlg 2^-59.9 absolute plus 2^-96 |ln x| (the series 2^-60.3 off at
//     the ends, k ln 2 good to 2^-88).
//   ulx_gtep 1 ulp: table entries rounded once, the polynomial 2^-58.6.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "elem/erf_gamma/double_double.h"
#include "elem/erf_gamma/tables/exp2_16_table.h"
#include "support/family_table.h"

namespace {

using oracle::Big;
using support::Sampler;
using vx::DoubleDouble;

void set_dd(Big &out, DoubleDouble v) {
  mpfr_set_d(out, v.high, MPFR_RNDN);
  mpfr_add_d(out, out, v.low, MPFR_RNDN);  // exact at 320 bits
}

// log2 |got/exact - 1| (-inf when equal), and the low part within half an
// ulp of the high part.
double log2_relative_error(DoubleDouble got, mpfr_srcptr exact) {
  EXPECT_LE(std::fabs(got.low), 0.5 * support::ulp_of<double>(got.high))
      << std::hexfloat << got.high << " " << got.low;
  Big d;
  set_dd(d, got);
  mpfr_sub(d, d, exact, MPFR_RNDN);
  mpfr_div(d, d, exact, MPFR_RNDN);
  return std::log2(std::fabs(mpfr_get_d(d, MPFR_RNDN)));
}

DoubleDouble random_dd(Sampler &s, double lo, double hi, bool log_scale) {
  const double h = log_scale ? s.log_uniform_signed(lo, hi) : s.uniform(lo, hi);
  return {h, s.uniform(-0.5, 0.5) * support::ulp_of<double>(h)};
}

TEST(DoubleDouble, Products) {
  Sampler s(0xdd01);
  Big ea, eb, exact;
  for (std::uint64_t i = 0; i < support::scaled(30000); ++i) {
    const DoubleDouble a = random_dd(s, 1e-30, 1e30, true), b = random_dd(s, 1e-30, 1e30, true);
    set_dd(ea, a), set_dd(eb, b);
    DoubleDouble p;
    ulx_gtmt(&p, &a, &b);
    mpfr_mul(exact, ea, eb, MPFR_RNDN);
    ASSERT_LT(log2_relative_error(p, exact), -103) << std::hexfloat << a.high << " " << b.high;
    ulx_gtml(&p, &a, &b.high);
    mpfr_mul_d(exact, ea, b.high, MPFR_RNDN);
    ASSERT_LT(log2_relative_error(p, exact), -103) << std::hexfloat << a.high << " " << b.high;
  }
  // Squares of 53-bit significands need all 106 bits.
  for (double x : {0x1.fffffffffffffp+0, 0x1.0000000000001p+0, 0x1.5555555555555p-3, 26.628736}) {
    const DoubleDouble a = {x, 0.0};
    DoubleDouble p;
    ulx_gtmt(&p, &a, &a);
    Big e(x);
    mpfr_sqr(exact, e, MPFR_RNDN);
    EXPECT_LT(log2_relative_error(p, exact), -105) << std::hexfloat << x;
  }
  // A zero factor gives (0, 0).
  const DoubleDouble zero = {-0.0, 0.0}, x = {3.5, 1e-17};
  DoubleDouble p = {1, 1}, q = {1, 1};
  ulx_gtmt(&p, &zero, &x), ulx_gtmt(&q, &x, &zero);
  EXPECT_TRUE(p.high == 0 && p.low == 0 && q.high == 0 && q.low == 0);
}

// The ulp error of a Real8 result of v against MPFR's f(v), v a double-double.
double ulps(double got, oracle::Fn1 f, DoubleDouble v) {
  Big e, r;
  set_dd(e, v);
  f(r, e, MPFR_RNDN);
  return oracle::ulp_error(got, r);
}

int minus_square_exp(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) {  // e^(-x^2)
  mpfr_sqr(y, x, rnd);
  mpfr_neg(y, y, rnd);
  return mpfr_exp(y, y, rnd);
}

// Each exponential kernel over its ranges, with the bound where the result
// is normal and where it is subnormal.
TEST(DoubleDouble, Exponentials) {
  const struct {
    const char *name;
    double (*kernel)(DoubleDouble v);
    oracle::Fn1 f;
    double lo, hi, normal, subnormal;
  } kernels[] = {
      {"ulx_gte2", [](DoubleDouble v) { return ulx_gte2(&v); }, mpfr_exp2, -1023, 1024, 0.61, 0.8},
      {"ulx_gtem", [](DoubleDouble v) { return ulx_gtem(&v.high); }, minus_square_exp, -26.6287,
       26.6287, 0.61, 0.8},
      {"ulx_gtep", [](DoubleDouble v) { return ulx_gtep(&v); }, mpfr_exp, -745.1, 709.78, 1.0, 1.0},
  };
  Sampler s(0xdd02);
  for (const auto &k : kernels) {
    oracle::WorstCase worst;
    for (std::uint64_t i = 0; i < support::scaled(40000); ++i) {
      // every fourth v in [-1, 1], every fourth in the lowest unit (subnormal results)
      const double lo = i % 4 == 0 ? -1 : k.lo, hi = i % 4 == 0 ? 1 : i % 4 == 1 ? k.lo + 1 : k.hi;
      DoubleDouble v = random_dd(s, lo, hi, false);
      if (k.f == minus_square_exp) v.low = 0;
      const double got = k.kernel(v), err = ulps(got, k.f, v);
      worst.add(err, v.high);
      ASSERT_LE(err, std::fabs(got) < 0x1p-1022 ? k.subnormal : k.normal)
          << k.name << std::hexfloat << " " << v.high << " " << v.low;
    }
    std::printf("  %-8s %s\n", k.name, worst.describe().c_str());
  }
  // 2^v of an integer is exact; 0.0 outside (-1023, 1024), NaN included;
  // e^(-x^2) 0.0 where x^2/ln 2 passes 1023; e^v overflows above 709.78.
  for (int k = -1022; k <= 1023; k += 7)
    EXPECT_EQ(kernels[0].kernel({static_cast<double>(k), 0.0}), std::ldexp(1.0, k)) << k;
  const struct {
    int kernel;
    double v, want;
  } fixed[] = {{0, -1023.0, 0},      {0, 1024.0, 0}, {0, -HUGE_VAL, 0}, {0, HUGE_VAL, 0},
               {0, NAN, 0},          {1, 0, 1},      {1, 26.6288, 0},   {2, 0, 1},
               {2, 709.8, INFINITY}, {2, -745.2, 0}};
  for (const auto &f : fixed)
    EXPECT_EQ(support::bits_of(kernels[f.kernel].kernel({f.v, 0.0})), support::bits_of(f.want))
        << kernels[f.kernel].name << "(" << f.v << ")";
}

TEST(DoubleDouble, Logarithm) {
  Sampler s(0xdd04);
  double worst = 0;
  // the ends of the range and of the reduced range [sqrt(1/2), sqrt(2))
  std::vector<double> xs = {0x1p-1074, 0x1.fffffffffffffp+1023, 0x1.6a09e667f3bccp+0,
                            0x1.6a09e667f3bcdp+0};
  for (std::uint64_t i = 0; i < support::scaled(60000); ++i)
    xs.push_back(i % 2 ? std::fabs(s.log_uniform_signed(1e-307, 1e308)) : s.uniform(0.7, 1.42));
  Big exact, d;
  for (const double x : xs) {
    DoubleDouble got;
    ulx_gtlg(&got, &x);
    EXPECT_LE(std::fabs(got.low), 0.5 * support::ulp_of<double>(got.high));
    oracle::exact(exact, mpfr_log, x);
    set_dd(d, got);
    mpfr_sub(d, d, exact, MPFR_RNDN);
    const double err = std::fabs(mpfr_get_d(d, MPFR_RNDN));
    worst = std::max(worst, err);
    ASSERT_LE(err, std::exp2(-59.9) + 0x1p-96 * std::fabs(mpfr_get_d(exact, MPFR_RNDN)))
        << std::hexfloat << x;
  }
  std::printf("  ulx_gtlg worst absolute error 2^%.2f\n", std::log2(worst));
  // ln 2^k is k times the two-part ln 2, to 2^-96 relative; ln 1 is 0.
  for (int k : {-1074, -1022, -1, 0, 1, 10, 1023}) {
    const double x = std::ldexp(1.0, k);
    DoubleDouble got;
    ulx_gtlg(&got, &x);
    oracle::exact(exact, mpfr_log, x);
    EXPECT_EQ(k == 0, (support::bits_of(got.high) | support::bits_of(got.low)) == 0) << k;
    if (k != 0) {
      EXPECT_LT(log2_relative_error(got, exact), -96) << k;
    }
  }
}

TEST(DoubleDouble, Exp2Table) {  // a[j] + b[j] = 2^(j/16)
  Big v;
  for (int j = 0; j < 16; ++j) {
    mpfr_set_d(v, j / 16.0, MPFR_RNDN);
    mpfr_exp2(v, v, MPFR_RNDN);
    support::expect_split(v, vx::exp2_16::a[j], vx::exp2_16::b[j], j);
  }
}

}  // namespace
