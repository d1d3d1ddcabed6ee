// x ** y for a real or complex y, 2 ** x and 10 ** x, every kind: against
// MPFR over arguments drawn so that w = y log2 x covers the result range,
// each bound derived from the evaluation; the complex powers against the
// composition they are defined as; the Real16 log tables recomputed; the
// fixed points of the drivers and every error with both defaults and resume.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <string>
#include <vector>

#include "power/power_points.h"
#include "power/tables/log_steps_table.h"
#include "support/family_table.h"
#include "support/real16_functions.h"

namespace power_test {
namespace {

using ld = long double;

// x log-uniform in [xlo, xhi) (negated when `negative`), w uniform in
// [wlo, whi), y = w / log2|x| (rounded to an integer when `integral`);
// pairs whose w leaves [wlo, whi) after the rounding of x and y are left
// out. The bound: `ulps`, and for Real4 kPerW4 |w| more.
struct PowRange {
  double xlo, xhi, wlo, whi, ulps;
  bool negative = false, integral = false;
};

// The Real4 core's series for ln m errs by up to 1.378e-9 relative over
// |s| <= 0.1716, that is by |w| 1.378e-9 in w, and by ln 2 times that
// relative in the result; the 2^r series adds 2.6e-12, the Real8 steps a few
// 2^-53: in Real4 ulps (2^-24 relative at most) 0.5 + 0.01602 |w| + 0.0001.
constexpr double kPerW4 = 0.01602;

template <class T>
void expect_accuracy(const char *name, T (*fn)(const T *, const T *),
                     const std::vector<PowRange> &ranges) {
  Recorder rec;
  for (const PowRange &r : ranges) {
    Sampler s(std::hash<std::string>{}(name) + static_cast<std::uint64_t>(r.xlo * 1e6 + r.wlo));
    oracle::WorstCase worst;
    int failures = 0;
    for (std::uint64_t i = 0; i < scaled(8000); ++i) {
      const double ax = std::exp2(s.uniform(std::log2(r.xlo), std::log2(r.xhi)));
      double y = s.uniform(r.wlo, r.whi) / std::log2(ax);
      if (r.integral) y = std::nearbyint(y);
      const T x = static_cast<T>(r.negative ? -ax : ax), yt = static_cast<T>(y);
      const double w = static_cast<double>(yt) * std::log2(std::fabs(static_cast<double>(x)));
      if (x == 1 || x == -1 || yt == 0 || !(w >= r.wlo && w < r.whi)) continue;
      const double err = oracle::ulp_error(fn(&x, &yt), mpfr_pow, x, yt);
      worst.add(err, static_cast<double>(yt));
      if (!(err <= r.ulps + (sizeof(T) == 4 ? kPerW4 * std::fabs(w) : 0)) && ++failures <= 5)
        ADD_FAILURE() << name << "(" << std::hexfloat << x << ", " << yt << "): " << err << " ulp";
    }
    std::printf("  %s x in +-[%g, %g), w in [%g, %g): %s\n", name, r.xlo, r.xhi, r.wlo, r.whi,
                worst.describe().c_str());
  }
  EXPECT_TRUE(rec.reports.empty()) << name;
}

TEST(RealPower, Real4AndReal8AgainstMpfr) {
  expect_accuracy<float>("g_arxr", g_arxr,
                         {{0x1p-60, 0x1p60, -126, 127.9, 0.5001},
                          {0.99, 1.01, -126, 127.9, 0.5001},
                          {0x1p-149, 0x1p-126, -126, 127.9, 0.5001},
                          {0.1, 1e4, -100, 100, 0.5001, true, true}});
  expect_accuracy<double>("g_adxd", g_adxd,
                          {{0x1p-1000, 0x1p1000, -1022, 1023.99, 0.52},
                           {1 - 0x1p-30, 1 + 0x1p-30, -1022, 1023.99, 0.52},
                           {0x1p-1074, 0x1p-1022, -1022, 1023, 0.52},
                           {0x1p-10, 0x1p10, -1074, -1022, 0.52},
                           {0.1, 1e4, -1000, 1000, 0.52, true, true}});
}

// 2 ** x and 10 ** x: the bounds of the exponentials whose steps they share.
TEST(RealPower, TwoAndTenToTheX) {
  check(support::row<float>("g_a2xr", g_a2xr, mpfr_exp2, {{-126, 127.99, 0.508}}));
  check(support::row<float>("g_atxr", g_atxr, mpfr_exp10, {{-37.9, 38.5, 0.508}}));
  check(support::row<double>("g_a2xd", g_a2xd, mpfr_exp2, {{-1022, 1023.99, 0.53}}));
  check(support::row<double>("g_atxd", g_atxd, mpfr_exp10, {{-307, 308.25, 0.53}}));
}

// exp(y log x) of the type's logarithm, product and exponential.
template <class C>
C composed(const C &x, const C &y, C *(*log)(C *, const C *),
           void (*mul)(C *, const C *, const C *), C *(*exp)(C *, const C *)) {
  C w;
  log(&w, &x);
  mul(&w, &w, &y);
  return *exp(&w, &w);
}
// A Complex8 as a Complex16, out of line: GCC 12 at -O2 folds the aggregate
// {x8.re, x8.im} built right after x8 = {float(x.re), ...} back into x's
// Real8 parts.
[[gnu::noinline]] Complex16 widened(const Complex8 &z) { return {z.re, z.im}; }

// Bit for bit: g_axxx and g_acxc (operands widened, the result rounded at
// the end) with g_cdlog, g_axmx and g_cdexp; g_azxz with g_cqlog, g_azmz
// and g_cqexp.
TEST(RealPower, ComplexPowersAreExpOfYLogX) {
  Recorder rec;
  Sampler s(99);
  const auto q = [](double v) {
    Real16 r;
    return *g_qextd(&r, &v);
  };
  for (std::uint64_t i = 0; i < scaled(2000); ++i) {
    const Complex16 x{s.log_uniform_signed(1e-3, 1e3), s.log_uniform_signed(1e-3, 1e3)},
        y{s.uniform(-20, 20), s.uniform(-20, 20)};
    const Complex8 x8{float(x.re), float(x.im)}, y8{float(y.re), float(y.im)};
    const Complex16 w = composed(widened(x8), widened(y8), g_cdlog, g_axmx, g_cdexp);
    EXPECT_TRUE(same(call<g_axxx>(x, y), composed(x, y, g_cdlog, g_axmx, g_cdexp)));
    EXPECT_TRUE(same(call<g_axxx>(widened(x8), widened(y8)), w));
    EXPECT_TRUE(same(call<g_acxc>(x8, y8), Complex8{float(w.re), float(w.im)}));
    if (i >= scaled(300)) continue;
    const Complex32 x32{q(x.re), q(x.im)}, y32{q(y.re), q(y.im)};
    EXPECT_TRUE(same(call<g_azxz>(x32, y32), composed(x32, y32, g_cqlog, g_azmz, g_cqexp)));
  }
  EXPECT_TRUE(rec.reports.empty());
}

// The tables: log2(1 + 2^-k) at scale 1 and log10(1 + 2^-k) at scale -1,
// rounded to nearest (entry 1 of the first is log2 1.5 = 0x4ae00d1c
// fdeb43cf d0058905 0345d6e9, entry 0 of the second log10 2 = 0x9a209a84
// fbcff798 8f8959ac 0b7c9178).
TEST(RealPower, LogStepTables) {
  oracle::Big v, b;
  for (int ten = 0; ten < 2; ++ten)
    for (int k = 0; k <= 128; ++k) {
      mpfr_set_ui_2exp(v, 1, -k, MPFR_RNDN);
      mpfr_log1p(v, v, MPFR_RNDN);
      mpfr_set_ui(b, ten ? 10 : 2, MPFR_RNDN);
      mpfr_log(b, b, MPFR_RNDN);
      mpfr_div(v, v, b, MPFR_RNDN);
      mpfr_mul_2si(v, v, ten ? 129 - 96 : 127 - 96, MPFR_RNDN);  // the top word's unit
      const Fixed128 &got = (ten ? vx::log_steps_table::a10 : vx::log_steps_table::a2)[k];
      for (int i = 0; i < 4; ++i) {  // minus the entry, a word at a time
        mpfr_sub_ui(v, v, got.w[i], MPFR_RNDN);
        mpfr_mul_2ui(v, v, i < 3 ? 32 : 0, MPFR_RNDN);
      }
      EXPECT_LE(std::fabs(mpfr_get_d(v, MPFR_RNDN)), 0.5) << (ten ? "a10[" : "a2[") << k << "]";
    }
  EXPECT_EQ(vx::log_steps_table::a2[1].w[3], 0x0345d6e9u);
  EXPECT_EQ(vx::log_steps_table::a10[0].w[0], 0x9a209a84u);
}

// Real16 against MPFR. 2 ** x and 10 ** x: the steps and tables err by
// about 2^-120 relative; for x < 0 the reduction rounds f + 1 (2 ** x, ln 2
// 2^-114 relative: 0.35 ulp below a power of two) or x + log10 2 (10 ** x,
// n = -1: 1.16 ulp); r of 10 ** x is rounded once (ln 10 2^-115: 0.58 ulp).
// x ** y: w = y log2 x, one rounded product, errs by about |w| 2^-112 with
// g_qlog2's error, ln 2 times that relative in 2^w, and g_qexp2 adds half an
// ulp and a bit: 1 + 1.4 |w| ulp.
TEST(RealPower, Real16AgainstMpfr) {
  for (const Row16 &row : {Row16{"g_a2xq",
                                 g_a2xq,
                                 mpfr_exp2,
                                 kNone,
                                 {{0, 16383.99, 0.51},
                                  {-16381.99, 0, 0.86},
                                  {0x1p-120, 1, 0.51, Draw::positive_log},
                                  {0x1p-120, 1, 0.86, Draw::log}},
                                 {},
                                 {},
                                 {},
                                 1500},
                           Row16{"g_atxq",
                                 g_atxq,
                                 mpfr_exp10,
                                 kNone,
                                 {{0, 4932, 1.08},
                                  {-4930, 0, 1.66},
                                  {0x1p-120, 1, 1.08, Draw::positive_log},
                                  {0x1p-120, 1, 1.66, Draw::log}},
                                 {},
                                 {},
                                 {},
                                 1500}})
    check(row);
  Recorder rec;
  Real16Sampler s(16);
  oracle::Big e;
  double worst = 0;
  for (std::uint64_t i = 0; i < scaled(1500); ++i) {  // w uniform in [-16000, 16000]
    const Real16 x = s.with_exponent(0x3fff - 40 + s.below32(80), false);
    const double w = (static_cast<double>(s.below(1 << 30)) / (1 << 29) - 1) * 16000;
    const double yd = w / std::log2(g_dbleq(&x));
    if (!std::isfinite(yd)) continue;  // x rounds to 1.0 in Real8
    Real16 y;
    g_qextd(&y, &yd);
    if (s.below(2)) y.w[0] ^= static_cast<std::uint32_t>(s.bits());
    mpfr_pow(e, oracle::Exact(x), oracle::Exact(y), MPFR_RNDN);
    const double err = oracle::ulp_error(call<g_aqxq>(x, y), e);
    worst = std::max(worst, (err - 1) / std::max(std::fabs(w), 1.0));
    EXPECT_LE(err, 1 + 1.4 * std::fabs(w)) << "g_aqxq(" << show(x) << ", " << show(y) << ")";
  }
  std::printf("  g_aqxq |w| < 16000: (err - 1)/|w| up to %.3g\n", worst);
  EXPECT_TRUE(rec.reports.empty());
}

TEST(RealPower, FixedPoints) {
  const float nanf = NAN, x3 = 1.1f, root = call<g_arxr>(8, 0.25f);
  const double nand = NAN, d3 = 1.1;
  const Real16 two = real16(0x40000000), m2 = real16(0xc0000000), four = real16(0x40010000),
               half = real16(0x3ffe0000), ten = real16(0x40024000), big = real16(0x400d0000);
  const std::function<void()> points[] = {
      at<g_arxr>(nanf, 0, 1),                      // y = 0 gives 1 for every x
      at<g_arxr>(0, 0, 1),                         // 0.0 ** 0.0 is 1.0 before any zero test
      at<g_arxr>(-2, 3, -8),                       // the integer shortcut
      at<g_arxr>(-2, 10, 1024),                    // the core and the parity of y
      at<g_arxr>(2, 8, 256),                       // the core
      at<g_arxr>(-2, -3, -0.125f),                 // negative integral y, odd
      at<g_arxr>(x3, 3, float(ld{x3} * x3 * x3)),  // x * x * x in the register, rounded once
      at<g_arxr>(0, 2.5f, 0),                      // a zero x with y > 0 gives +0
      at<g_arxr>(nanf, 2.5f, 0),                   // a NaN x is not above 0: +0
      at<g_arxr>(2, -127.5f, 0),                   // w below -127: +0 without a report
      at<g_a2xr>(2, -150, 0),                      // x at or below -127: +0
      at<g_adxd>(nand, 0, 1),
      at<g_adxd>(-2, 10, 1024),
      at<g_adxd>(d3, 3, double(ld{d3} * d3 * d3)),
      at<g_adxd>(2, -1074, 0x1p-1074),
      at<g_adxd>(2, 1023, 0x1p1023),
      at<g_adxd>(nand, 0.5, 0),
      at<g_adxd>(8, nand, nand),
      at<g_adxd>(0.5, 1080, 0),
      at<g_aqxq>(kNaN, kZero, kOne),                           // a NaN pattern x ** 0 is 1.0
      at<g_aqxq>(kMinusZero, kMinusZero, kOne),                // zeros of either sign are +0
      at<g_aqxq>(kMinusZero, half, kZero),                     // 0 ** y, y > 0: +0
      at<g_aqxq>(m2, real16(0x40008000), real16(0xc0020000)),  // (-2) ** 3 = -8
      at<g_aqxq>(m2, real16(0x40024000), real16(0x40090000)),  // (-2) ** 10 = 1024
      at<g_aqxq>(two, real16(0xc00cfff0), kZero),              // w <= -16382: +0
      at<g_a2xq>(two, kZero, kOne),
      at<g_a2xq>(two, kMinusInf, kZero),
      at<g_a2xq>(two, real16(0x400c0000), real16(0x5fff0000)),  // 2 ** 8192
      at<g_a2xq>(two, real16(0xc00cfff0), kZero),               // x <= -16382: +0
      at<g_atxq>(ten, two, real16(0x40059000)),                 // 10 ** 2
      at<g_atxq>(ten, real16(0xbfff0000), real16(0x3ffb9999, 0x99999999, 0x99999999, 0x9999999a)),
      at<g_atxq>(ten, real16(0xc00b3437), kZero),  // x <= -4931.44: +0
      // (0, 0) ** (0, 0) is (1, 0); (0, 0) ** (1, 1) is (0, 0), without a report.
      at<g_axxx>({0, 0}, {0, 0}, {1, 0}),
      at<g_axxx>({0, 0}, {1, 1}, {0, 0}),
      at<g_acxc>({-0.0f, 0}, {0, 0}, {1, 0}),
      at<g_azxz>({kMinusZero, kZero}, {kZero, kMinusZero}, {kOne, kZero}),
      at<g_azxz>({kZero, kMinusZero}, {kOne, kOne}, {kZero, kZero}),
      // A negative x with a non-integral y: both reported; NaN, else the power
      // of |x| ((-8.0) ** (1.0/3.0) gives about 2.0).
      at<g_arxr>(-8, 0.25f, root, 263, 2, kNaNF, 8, {}, root),
      at<g_adxd>(-16, 0.25, 2, 267, 2, kNaND),
      at<g_aqxq>(real16(0xc0010000), half, two, 271, 2, kNaN, four, {}, two),
      // A zero x with y not positive: y reported; infinity, else the huge
      // value (the largest finite Real16).
      at<g_arxr>(0, -1, kBigF, 262, 1, kInfF),
      at<g_arxr>(-0.0f, -2.5f, kBigF, 262, 1, kInfF),
      at<g_adxd>(0, -0.5, kBigD, 266, 1, kInfD, 4, {}, 0.5),
      at<g_aqxq>(kZero, real16(0xbfff0000), kLargest, 270, 1, kInf),
      // Overflow: both reported (for 2 ** x and 10 ** x the base first); the
      // same defaults; a changed base hands over to the power operator.
      at<g_arxr>(10, 50, kBigF, 1416, 2, kInfF, {}, 3, 1000),
      at<g_arxr>(-10, 51, kBigF, 1416, 2, kInfF),
      at<g_arxr>(2, 128, kBigF, 1416, 2, kInfF),
      at<g_a2xr>(2, 128, kBigF, 1416, 2, kInfF, 3, 2, 9),
      at<g_a2xr>(2, 128, kBigF, 1416, 2, kInfF, {}, 3, 8),
      at<g_atxr>(10, f32(0x421a1fbe), kBigF, 1416, 2, kInfF),  // 38.531
      at<g_adxd>(10, 400, kBigD, 1417, 2, kInfD),
      at<g_adxd>(INFINITY, 0.5, kBigD, 1417, 2, kInfD),
      at<g_a2xd>(2, 1024, kBigD, 1417, 2, kInfD),
      at<g_atxd>(10, 308.254, kBigD, 1417, 2, kInfD),
      at<g_aqxq>(two, big, kLargest, 272, 2, kInf),  // 2 ** 16384
      at<g_a2xq>(two, big, kLargest, 272, 2, kInf, four, real16(0x40008000), real16(0x40050000)),
      at<g_a2xq>(two, kNaN, kLargest, 272, 2, kInf),
      at<g_atxq>(ten, real16(0x400b3441), kLargest, 272, 2, kInf, {}, two, real16(0x40059000)),
  };
  for (const auto &point : points) point();
}

}  // namespace
}  // namespace power_test
