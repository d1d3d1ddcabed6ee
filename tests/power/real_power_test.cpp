// x ** y for a real y (g_arxr, g_adxd), 2 ** x and 10 ** x (g_a2xr g_atxr
// g_a2xd g_atxd).
//
// Against MPFR over pairs drawn so that w = y log2 x covers the result
// range: the bounds come from the evaluation (Real4: the series of the core
// in Real8, about 1e-9 relative, on top of the final rounding; Real8: the
// 2^r series, 2.4e-18 relative, and the register sums: 0.52 ulp). Then the
// rows of the driver (y = 0, the integer shortcut, negative and zero bases,
// overflow), and every error with both defaults, resume and the hand-over
// of a changed base.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "power/tables/log_steps_table.h"
#include "support/checks.h"
#include "support/real16_checks.h"

namespace {

using namespace support;
using std::int32_t;

template <class T>
using Binary = T (*)(const T *, const T *);
template <class T>
using Unary1 = T (*)(const T *);

constexpr float kBigF = std::bit_cast<float>(0x7f7fffeeu);
constexpr double kBigD = std::bit_cast<double>(0x7fefffffffffffb6ull);
constexpr double kInf = INFINITY;

// x log-uniform in [xlo, xhi) (negated when `negative`), w uniform in
// [wlo, whi), y = w / log2|x| (rounded to an integer when `integral`);
// pairs whose w = y log2|x| leaves [wlo, whi) after the rounding of x and y
// are left out. The bound at w is ulps + per_w |w|.
struct PowRange {
  double xlo, xhi, wlo, whi, ulps;
  bool negative = false, integral = false;
};

// The Real4 core's series for ln m errs by up to 1.378e-9 relative over
// |s| <= 0.1716, that is by |w| 1.378e-9 in w = y log2 x (|y log2 m| <=
// |w| whatever k is), and by ln 2 times that relative in the result; the
// 2^r series adds 2.6e-12, the Real8 steps a few 2^-53: in Real4 ulps
// (2^-24 relative at most) 0.5 + 0.01602 |w| + 0.0001.
constexpr double kPerW4 = 0.01602;

template <class T>
void expect_accuracy(const char *name, Binary<T> fn, const std::vector<PowRange> &ranges) {
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
      const double bound = r.ulps + (sizeof(T) == 4 ? kPerW4 * std::fabs(w) : 0);
      worst.add(err, static_cast<double>(yt));
      if (!(err <= bound) && ++failures <= 5)
        ADD_FAILURE() << name << "(" << std::hexfloat << x << ", " << yt << "): " << err << " ulp";
    }
    std::printf("  %s x in +-[%g, %g), w in [%g, %g): %s\n", name, r.xlo, r.xhi, r.wlo, r.whi,
                worst.describe().c_str());
  }
  EXPECT_TRUE(rec.reports.empty()) << name;
}

TEST(RealPower, Real4AgainstMpfr) {
  expect_accuracy<float>("g_arxr", g_arxr,
                         {{0x1p-60, 0x1p60, -126, 127.9, 0.5001},
                          {0.99, 1.01, -126, 127.9, 0.5001},
                          {0x1p-149, 0x1p-126, -126, 127.9, 0.5001},
                          {0.1, 1e4, -100, 100, 0.5001, true, true}});
}

TEST(RealPower, Real8AgainstMpfr) {
  expect_accuracy<double>("g_adxd", g_adxd,
                          {{0x1p-1000, 0x1p1000, -1022, 1023.99, 0.52},
                           {1 - 0x1p-30, 1 + 0x1p-30, -1022, 1023.99, 0.52},
                           {0x1p-1074, 0x1p-1022, -1022, 1023, 0.52},
                           {0x1p-10, 0x1p10, -1074, -1022, 0.52},
                           {0.1, 1e4, -1000, 1000, 0.52, true, true}});
}

// 2 ** x and 10 ** x against MPFR: the bounds of the exponentials whose
// steps they share.
template <class T>
void expect_unary(const char *name, Unary1<T> fn, oracle::Fn1 exact, double lo, double hi,
                  double ulps) {
  Recorder rec;
  Sampler s(std::hash<std::string>{}(name));
  oracle::WorstCase worst;
  for (std::uint64_t i = 0; i < scaled(20000); ++i) {
    const T x = static_cast<T>(s.uniform(lo, hi));
    const double err = oracle::ulp_error(fn(&x), exact, x);
    worst.add(err, static_cast<double>(x));
    EXPECT_LE(err, ulps) << name << "(" << std::hexfloat << x << ")";
  }
  std::printf("  %s [%g, %g): %s\n", name, lo, hi, worst.describe().c_str());
  EXPECT_TRUE(rec.reports.empty()) << name;
}

TEST(RealPower, TwoAndTenToTheX) {
  expect_unary<float>("g_a2xr", g_a2xr, mpfr_exp2, -126, 127.99, 0.508);
  expect_unary<float>("g_atxr", g_atxr, mpfr_exp10, -37.9, 38.5, 0.508);
  expect_unary<double>("g_a2xd", g_a2xd, mpfr_exp2, -1022, 1023.99, 0.53);
  expect_unary<double>("g_atxd", g_atxd, mpfr_exp10, -307, 308.25, 0.53);
}

// ---- Rows of the driver -------------------------------------------------------

template <class T>
struct Row {
  T x, y, want;  // want NaN: any NaN
};

template <class T>
void expect_rows(const char *name, Binary<T> fn, const std::vector<Row<T>> &rows) {
  Recorder rec;
  for (const Row<T> &r : rows) {
    const T got = fn(&r.x, &r.y);
    EXPECT_TRUE(bits_of(got) == bits_of(r.want) || (got != got && r.want != r.want))
        << name << "(" << std::hexfloat << r.x << ", " << r.y << ") = " << got;
  }
  EXPECT_TRUE(rec.reports.empty()) << name;
}

template <class T>
T cube(T x) {
  return static_cast<T>(static_cast<long double>(x) * x * x);
}

TEST(RealPower, DriverRows) {
  const float nanf = std::numeric_limits<float>::quiet_NaN(), x3 = 1.1f;
  const double nand = std::numeric_limits<double>::quiet_NaN(), d3 = 1.1;
  expect_rows<float>("g_arxr", g_arxr,
                     {
                         {nanf, 0, 1},       // y = 0 gives 1 for every x
                         {0, 0, 1},          // 0.0 ** 0.0 is 1.0 before any zero test
                         {-2, 3, -8},        // the integer shortcut
                         {-2, 10, 1024},     // the core and the parity of y
                         {2, 8, 256},        // the core
                         {-2, -3, -0.125},   // negative integral y, odd
                         {x3, 3, cube(x3)},  // x * x * x in the register, rounded once
                         {0, 2.5f, 0},       // a zero x with y > 0 gives +0
                         {-0.0f, 1, -0.0f},  // the shortcut keeps the sign
                         {nanf, 2.5f, 0},    // a NaN x is not above 0: +0
                         {2, -150, 0},       // w below -127: +0 without a report
                         {INFINITY, -1.5f, 0},
                     });
  expect_rows<double>("g_adxd", g_adxd,
                      {
                          {nand, 0, 1},
                          {-2, 3, -8},
                          {-2, 10, 1024},
                          {2, 8, 256},
                          {2, -1074, 0x1p-1074},
                          {2, 1023, 0x1p1023},
                          {d3, 3, cube(d3)},
                          {0, 0.5, 0},
                          {nand, 0.5, 0},
                          {8, nand, nand},
                          {0.5, 1080, 0},
                      });
}

// ---- Errors -----------------------------------------------------------------

// One error row: arguments (a, b) of fn (for 2 ** x and 10 ** x a is the
// base the report carries and fn ignores it), the number, the values
// reported (1: b alone, 2: both), the defaults.
template <class T>
struct Fault {
  T a, b;
  int32_t error;
  int values;
  T finite, ieee;
};

template <class T, class F>
void expect_fault(const char *name, F call, const Fault<T> &f) {
  for (std::uint8_t flag : {0, 1}) {
    SCOPED_TRACE(std::string(name) + " flag " + std::to_string(flag));
    Recorder rec(flag);
    T slots[2] = {0, 0};
    rec.answer = [&](const Report &r, int) {
      slots[0] = r.slot_as<T>(1), slots[1] = r.slot_as<T>(2);
      return 0;
    };
    const T got = call(f.a, f.b);
    ASSERT_EQ(rec.reports.size(), 1u);
    const Report &r = rec.reports[0];
    EXPECT_EQ(r.number, f.error);
    EXPECT_EQ(r.value_count, f.values);
    EXPECT_EQ(r.value_type[0], kTypeCode<T>);
    EXPECT_EQ(r.value_as<T>(0), f.values == 2 ? f.a : f.b);
    if (f.values == 2) {
      EXPECT_EQ(r.value_as<T>(1), f.b);
    }
    EXPECT_EQ(slots[0], f.a);
    EXPECT_EQ(slots[1], f.b);
    const T want = flag ? f.ieee : f.finite;
    EXPECT_TRUE(bits_of(got) == bits_of(want) || (got != got && want != want)) << got;
  }
  Recorder rec(0, 0);  // no exception reports: the default at once
  EXPECT_EQ(bits_of(call(f.a, f.b)), bits_of(f.finite));
  EXPECT_TRUE(rec.reports.empty());
}

template <class T>
auto binary(Binary<T> fn) {
  return [fn](T x, T y) { return fn(&x, &y); };
}
template <class T>
auto base_of(Unary1<T> fn) {
  return [fn](T, T x) { return fn(&x); };
}

TEST(RealPower, Errors) {
  const float nanf = std::numeric_limits<float>::quiet_NaN();
  const double nand = std::numeric_limits<double>::quiet_NaN();
  // A negative base with a non-integral exponent: NaN, else the power of |x|
  // ((-8.0) ** (1.0/3.0) gives about 2.0).
  const float eight = 8, quarter = 0.25f, root = g_arxr(&eight, &quarter);
  expect_fault<float>("g_arxr", binary(g_arxr), {-8, 0.25f, 263, 2, root, nanf});
  expect_fault<double>("g_adxd", binary(g_adxd), {-16, 0.25, 267, 2, 2.0, nand});
  // A zero base, exponent not positive: y reported; infinity or the huge value.
  expect_fault<float>("g_arxr", binary(g_arxr), {0, -1, 262, 1, kBigF, INFINITY});
  expect_fault<float>("g_arxr", binary(g_arxr), {-0.0f, -2.5f, 262, 1, kBigF, INFINITY});
  expect_fault<double>("g_adxd", binary(g_adxd), {0, -0.5, 266, 1, kBigD, kInf});
  // Overflow: both arguments reported.
  expect_fault<float>("g_arxr", binary(g_arxr), {10, 50, 1416, 2, kBigF, INFINITY});
  expect_fault<float>("g_arxr", binary(g_arxr), {-10, 51, 1416, 2, kBigF, INFINITY});
  expect_fault<double>("g_adxd", binary(g_adxd), {10, 400, 1417, 2, kBigD, kInf});
  expect_fault<double>("g_adxd", binary(g_adxd), {INFINITY, 0.5, 1417, 2, kBigD, kInf});
  // 2 ** x and 10 ** x: the base and x reported.
  expect_fault<float>("g_a2xr", base_of(g_a2xr), {2, 128, 1416, 2, kBigF, INFINITY});
  expect_fault<float>("g_atxr", base_of(g_atxr), {10, 38.6f, 1416, 2, kBigF, INFINITY});
  expect_fault<double>("g_a2xd", base_of(g_a2xd), {2, 1024, 1417, 2, kBigD, kInf});
  expect_fault<double>("g_atxd", base_of(g_atxd), {10, 308.5, 1417, 2, kBigD, kInf});
}

// Resume: new arguments start again; for 2 ** x and 10 ** x a changed base
// hands over to the power operator.
TEST(RealPower, Resume) {
  const float eight = 8, m8 = -8, quarter = 0.25f, x128 = 128, ten = 10, big = 50;
  const float root = g_arxr(&eight, &quarter);
  Recorder rec(1);
  rec.answer = [](const Report &r, int) { return replace(r, 1, 8.0f), 1; };
  EXPECT_EQ(g_arxr(&m8, &quarter), root);
  rec.answer = [](const Report &r, int) { return replace(r, 1, 3.0f), replace(r, 2, 2.0f), 1; };
  EXPECT_EQ(g_a2xr(&x128), 9.0f);  // g_arxr(3, 2)
  rec.answer = [](const Report &r, int) { return replace(r, 2, 3.0f), 1; };
  EXPECT_EQ(g_a2xr(&x128), 8.0f);          // the same base: 2 ** 3
  EXPECT_EQ(g_arxr(&ten, &big), 1000.0f);  // 10 ** 3
  rec.answer = [](const Report &r, int) { return replace(r, 1, 4.0), 1; };
  const double zero = 0, minus = -0.5;
  EXPECT_EQ(g_adxd(&zero, &minus), 0.5);
}

// ---- Complex powers -------------------------------------------------------

// A Complex8 as a Complex16, out of line: GCC 12 at -O2 folds the
// aggregate {x8.re, x8.im} built right after x8 = {float(x.re), ...} back
// into x's Real8 parts.
[[gnu::noinline]] Complex16 widened(const Complex8 &z) { return {z.re, z.im}; }

// exp(y log x) composed of g_cdlog, g_axmx and g_cdexp in Complex16, bit for
// bit (Complex8 widened, rounded at the end); then rows with known values.
TEST(RealPower, ComplexPowers) {
  Recorder rec;
  Sampler s(99);
  for (std::uint64_t i = 0; i < scaled(2000); ++i) {
    const Complex16 x{s.log_uniform_signed(1e-3, 1e3), s.log_uniform_signed(1e-3, 1e3)},
        y{s.uniform(-20, 20), s.uniform(-20, 20)};
    Complex16 w, got;
    g_cdlog(&w, &x);
    g_axmx(&w, &w, &y);
    g_cdexp(&w, &w);
    g_axxx(&got, &x, &y);
    EXPECT_TRUE(bits_of(got.re) == bits_of(w.re) && bits_of(got.im) == bits_of(w.im))
        << std::hexfloat << "g_axxx((" << x.re << ", " << x.im << "), (" << y.re << ", " << y.im
        << "))";
    const Complex8 x8{static_cast<float>(x.re), static_cast<float>(x.im)},
        y8{static_cast<float>(y.re), static_cast<float>(y.im)};
    const Complex16 xw = widened(x8), yw = widened(y8);
    Complex8 got8;
    g_acxc(&got8, &x8, &y8);
    g_axxx(&w, &xw, &yw);
    EXPECT_TRUE(got8.re == static_cast<float>(w.re) && got8.im == static_cast<float>(w.im))
        << std::hexfloat << x8.re << " " << x8.im << " " << y8.re << " " << y8.im;
  }
  EXPECT_TRUE(rec.reports.empty());
  struct CRow {
    Complex16 x, y, want;
    double tolerance;  // absolute, per part; 0: bit for bit
  };
  const CRow rows[] = {
      {{0, 0}, {0, 0}, {1, 0}, 0},  // (0, 0) ** (0, 0) is (1, 0)
      {{0, 0}, {1, 1}, {0, 0}, 0},  // (0, 0) ** (1, 1) is (0, 0), no report
      {{-0.0, 0}, {-2, 0}, {0, 0}, 0},
      {{1, 0}, {2, 3}, {1, 0}, 0},
      {{2, 0}, {3, 0}, {8, 0}, 1e-14},
      {{0, 1}, {0, 1}, {std::exp(-M_PI / 2), 0}, 1e-15},  // i ** i
      {{-1, 0}, {0.5, 0}, {0, 1}, 1e-15},
  };
  for (const CRow &r : rows) {
    Complex16 got;
    g_axxx(&got, &r.x, &r.y);
    if (r.tolerance == 0) {
      EXPECT_EQ(bits_of(got.re), bits_of(r.want.re));
      EXPECT_EQ(bits_of(got.im), bits_of(r.want.im));
    } else {
      EXPECT_NEAR(got.re, r.want.re, r.tolerance) << r.x.re << " " << r.y.re;
      EXPECT_NEAR(got.im, r.want.im, r.tolerance) << r.x.re << " " << r.y.re;
    }
  }
  EXPECT_TRUE(rec.reports.empty());
}

// ---- Real16 2 ** x and 10 ** x ----------------------------------------------

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
      mpfr_mul_2si(v, v, ten ? 129 : 127, MPFR_RNDN);
      const Fixed128 &got = (ten ? vx::log_steps_table::a10 : vx::log_steps_table::a2)[k];
      mpfr_set_ui(b, 0, MPFR_RNDN);
      for (int i = 0; i < 4; ++i) {
        mpfr_mul_2ui(b, b, 32, MPFR_RNDN);
        mpfr_add_ui(b, b, got.w[i], MPFR_RNDN);
      }
      mpfr_sub(v, v, b, MPFR_RNDN);
      EXPECT_LE(std::fabs(mpfr_get_d(v, MPFR_RNDN)), 0.5) << (ten ? "a10[" : "a2[") << k << "]";
    }
  EXPECT_EQ(vx::log_steps_table::a2[1].w[3], 0x0345d6e9u);
  EXPECT_EQ(vx::log_steps_table::a10[0].w[0], 0x9a209a84u);
}

// |got - exact| in ulps of the Real16 at the exact value.
double ulps16(const Real16 &got, mpfr_srcptr exact) {
  oracle::Big d;
  oracle::set_real16(d, got);
  mpfr_sub(d, d, exact, MPFR_RNDN);
  mpfr_mul_2si(d, d, 113 - static_cast<long>(mpfr_get_exp(exact)), MPFR_RNDN);
  return std::fabs(mpfr_get_d(d, MPFR_RNDN));
}

using Entry16 = Real16 *(*)(Real16 *, const Real16 *);
Real16 call16(Entry16 fn, const Real16 &x) {
  Real16 r;
  EXPECT_EQ(fn(&r, &x), &r);
  return r;
}

// Random x over the range (|x| log-uniform from 2^-120, or uniform) against
// MPFR. The truncating steps and the tables err by about 2^-120 relative.
// 2 ** x: f = x - n is exact for x >= 0; for x < 0, f + 1 is rounded to
// 2^-114 at most, ln 2 2^-114 relative in 2^f in [1, 2), whose ulp is 2^-112
// relative at least... and 2^-113 below a power of two: 0.5 + 0.35 ulp.
// 10 ** x: x - n log2a is exact for |n| > 1 and r in [0, log10 2) is
// rounded once, by 2^-115 at most: ln 10 2^-115 relative in 10^r, 0.58 ulp
// of 2^-113; for n = +-1, x +- log2a rounds too (x < 0): 1.16 ulp.
TEST(RealPower, Real16TwoAndTenAgainstMpfr) {
  struct Case {
    const char *name;
    Entry16 fn;
    int (*exact)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
    double top;  // x below it computes
    double ulps, negative_ulps;
  };
  for (const Case &c : {Case{"g_a2xq", g_a2xq, mpfr_exp2, 16383.99, 0.51, 0.86},
                        Case{"g_atxq", g_atxq, mpfr_exp10, 4932.0, 1.08, 1.66}}) {
    Recorder rec;
    Real16Sampler s(std::hash<std::string>{}(c.name));
    oracle::Big e;
    double worst[2] = {0, 0};
    for (std::uint64_t i = 0; i < scaled(3000); ++i) {
      const double mag = i % 2 ? std::exp2(-120.0 * (static_cast<double>(s.below(1000)) / 1000))
                               : c.top * static_cast<double>(s.below(1000000)) / 1e6;
      Real16 x;
      const double xd = s.below(2) ? mag : -mag * (c.top - 2) / c.top;
      g_qextd(&x, &xd);
      x.w[0] ^= static_cast<std::uint32_t>(s.bits());  // all 113 bits
      x.w[1] ^= static_cast<std::uint32_t>(s.bits());
      const Real16 got = call16(c.fn, x);
      oracle::Exact ex(x);
      c.exact(e, ex, MPFR_RNDN);
      const double err = ulps16(got, e);
      const bool negative = x.w[3] >> 31;
      worst[negative] = std::max(worst[negative], err);
      EXPECT_LE(err, negative ? c.negative_ulps : c.ulps) << c.name << "(" << show(x) << ")";
    }
    std::printf("  %s: max %.4f ulp (x >= 0), %.4f ulp (x < 0)\n", c.name, worst[0], worst[1]);
    EXPECT_TRUE(rec.reports.empty()) << c.name;
  }
}

// The ends of the ranges and the rows of the definition.
TEST(RealPower, Real16Rows) {
  Recorder rec;
  struct Row16 {
    Entry16 fn;
    Real16 x, want;
  };
  const Row16 rows[] = {
      {g_a2xq, kZero, kOne},
      {g_a2xq, real16(0x3fff0000), real16(0x40000000)},  // 2 ** 1
      {g_a2xq, real16(0x400c0000), real16(0x5fff0000)},  // 2 ** 8192
      {g_a2xq, real16(0xc00c0000), real16(0x3fff0000 - (8192u << 16))},
      {g_a2xq, real16(0xc00cfff0), kZero},  // x <= -16382: +0
      {g_a2xq, kMinusInf, kZero},
      {g_atxq, kZero, kOne},
      {g_atxq, real16(0x3fff0000), real16(0x40024000)},  // 10 ** 1
      {g_atxq, real16(0x40000000), real16(0x40059000)},  // 10 ** 2
      {g_atxq, real16(0xbfff0000), real16(0x3ffb9999, 0x99999999, 0x99999999, 0x9999999a)},
      {g_atxq, real16(0xc00b3437), kZero},  // x <= -4931.44: +0
  };
  for (const Row16 &r : rows)
    EXPECT_TRUE(oracle::same_bits(call16(r.fn, r.x), r.want))
        << show(r.x) << " " << show(call16(r.fn, r.x));
  // g_a2xq(-0.5) takes f = 0.5, n = -1: sqrt(1/2) to within the bound.
  oracle::Big e;
  mpfr_set_d(e, 0.5, MPFR_RNDN);
  mpfr_sqrt(e, e, MPFR_RNDN);
  EXPECT_LE(ulps16(call16(g_a2xq, real16(0xbffe0000)), e), 0.51);
  EXPECT_TRUE(rec.reports.empty());
}

// Overflow: error 272, the base and x reported with type code 11; declined,
// +infinity or the largest finite Real16; on resume with a new x, that x.
TEST(RealPower, Real16Overflow) {
  struct Case {
    Entry16 fn;
    Real16 base, x;
  };
  for (const Case &c : {Case{g_a2xq, real16(0x40000000), real16(0x400d0000)},
                        Case{g_a2xq, real16(0x40000000), kNaN},
                        Case{g_atxq, real16(0x40024000), real16(0x400b3441)}}) {
    for (std::uint8_t flag : {0, 1}) {
      Recorder rec(flag);
      const Real16 got = call16(c.fn, c.x);
      ASSERT_EQ(rec.reports.size(), 1u);
      const Report &r = rec.reports[0];
      EXPECT_EQ(r.number, 272);
      EXPECT_EQ(r.value_count, 2);
      EXPECT_EQ(r.value_type[0], 11);
      EXPECT_EQ(r.value_type[1], 11);
      EXPECT_TRUE(oracle::same_bits(r.value_as<Real16>(0), c.base));
      EXPECT_TRUE(oracle::same_bits(r.value_as<Real16>(1), c.x));
      EXPECT_TRUE(oracle::same_bits(got, flag ? support::kInf : kLargest)) << show(got);
    }
    Recorder rec(1);
    rec.answer = [](const Report &r, int) { return replace(r, 2, real16(0x40000000)), 1; };
    EXPECT_TRUE(oracle::same_bits(call16(c.fn, c.x), call16(c.fn, real16(0x40000000))));
  }
}

// ---- Real16 x ** y -----------------------------------------------------------

// x = 2^e (1 + f), y = w / log2 x for w uniform in [-16000, 16000], against
// MPFR. w = y log2 x is one rounded Real16 product: its rounding (|w|
// 2^-113) and g_qlog2's error (0.5 ulp and a bit, times |y|, that is about
// |w| 2^-113 again) reach 2^w as ln 2 times themselves, relative, and
// g_qexp2 adds its own half ulp and a bit: 1 + 1.4 |w| ulp (ulp 2^-112 of
// the result at least).
TEST(RealPower, Real16Power) {
  Recorder rec;
  Real16Sampler s(16);
  oracle::Big e, ex, ey;
  double worst = 0, worst_per_w = 0;
  for (std::uint64_t i = 0; i < scaled(1500); ++i) {
    const Real16 x = s.with_exponent(0x3fff - 40 + s.below32(80), false);
    const double w = (static_cast<double>(s.below(1 << 30)) / (1 << 29) - 1) * 16000;
    const double yd = w / std::log2(g_dbleq(&x));
    if (!std::isfinite(yd)) continue;  // x rounds to 1.0 in Real8
    Real16 y;
    g_qextd(&y, &yd);
    if (s.below(2)) y.w[0] ^= static_cast<std::uint32_t>(s.bits());
    Real16 got;
    g_aqxq(&got, &x, &y);
    oracle::set_real16(ex, x);
    oracle::set_real16(ey, y);
    mpfr_pow(e, ex, ey, MPFR_RNDN);
    const double err = ulps16(got, e), aw = std::fabs(w);
    worst = std::max(worst, err);
    worst_per_w = std::max(worst_per_w, (err - 1) / std::max(aw, 1.0));
    EXPECT_LE(err, 1 + 1.4 * aw) << "g_aqxq(" << show(x) << ", " << show(y) << ")";
  }
  std::printf("  g_aqxq |w| < 16000: max %.4g ulp, (err - 1)/|w| up to %.3g\n", worst, worst_per_w);
  EXPECT_TRUE(rec.reports.empty());
}

TEST(RealPower, Real16PowerRows) {
  Recorder rec;
  struct Row3 {
    Real16 x, y, want;
  };
  const Real16 two = real16(0x40000000), m2 = real16(0xc0000000);
  const Row3 rows[] = {
      {kNaN, kZero, kOne},             // x ** 0 is 1.0, a NaN pattern x too
      {kMinusZero, kMinusZero, kOne},  // zeros of either sign count as +0
      {kZero, two, kZero},             // 0 ** y, y > 0: +0
      {kMinusZero, real16(0x3ffe0000), kZero},
      {m2, real16(0x40008000), real16(0xc0020000)},   // (-2) ** 3 = -8
      {m2, real16(0x40024000), real16(0x40090000)},   // (-2) ** 10 = 1024
      {two, real16(0xc0024000), real16(0x3ff50000)},  // 2 ** -10
      {two, real16(0xc00cfff0), kZero},               // w <= -16382: +0
  };
  for (const Row3 &r : rows) {
    Real16 got;
    g_aqxq(&got, &r.x, &r.y);
    EXPECT_TRUE(oracle::same_bits(got, r.want))
        << show(r.x) << " ** " << show(r.y) << " = " << show(got);
  }
  EXPECT_TRUE(rec.reports.empty());
}

// 271 (negative x, y not integral; both reported): NaN pattern, else the
// power of |x|; 270 (zero x, y not positive; y reported) and 272 (overflow;
// both): +infinity or the largest finite Real16.
TEST(RealPower, Real16PowerErrors) {
  struct Fault16 {
    Real16 x, y;
    int32_t error;
    int values;
    Real16 finite, ieee;
  };
  const Real16 m4 = real16(0xc0010000), half = real16(0x3ffe0000), two = real16(0x40000000);
  const Fault16 faults[] = {
      {m4, half, 271, 2, two, kNaN},  // (-4) ** 0.5: 2 declined
      {kZero, real16(0xbfff0000), 270, 1, kLargest, support::kInf},
      {two, real16(0x400d0000), 272, 2, kLargest, support::kInf},  // 2 ** 16384
  };
  for (const Fault16 &f : faults) {
    for (std::uint8_t flag : {0, 1}) {
      Recorder rec(flag);
      Real16 got;
      g_aqxq(&got, &f.x, &f.y);
      EXPECT_TRUE(oracle::same_bits(got, flag ? f.ieee : f.finite))
          << show(f.x) << " " << show(got);
      if (f.error == 0) {
        EXPECT_TRUE(rec.reports.empty());
        continue;
      }
      ASSERT_EQ(rec.reports.size(), 1u);
      EXPECT_EQ(rec.reports[0].number, f.error);
      EXPECT_EQ(rec.reports[0].value_count, f.values);
      EXPECT_EQ(rec.reports[0].value_type[0], 11);
      EXPECT_TRUE(oracle::same_bits(rec.reports[0].value_as<Real16>(0), f.values == 2 ? f.x : f.y));
    }
  }
  // Resume: a positive base replaces -4; 2 ** 10 through g_a2xq's hand-over
  // of a changed base.
  Recorder rec(1);
  rec.answer = [](const Report &r, int) { return replace(r, 1, real16(0x40010000)), 1; };
  Real16 got;
  g_aqxq(&got, &m4, &half);
  EXPECT_TRUE(oracle::same_bits(got, two));
  rec.answer = [](const Report &r, int) {
    return replace(r, 1, real16(0x40010000)), replace(r, 2, real16(0x40008000)), 1;
  };
  const Real16 big = real16(0x400d0000);
  g_a2xq(&got, &big);
  EXPECT_TRUE(oracle::same_bits(got, real16(0x40050000)));  // 4 ** 3 = 64
}

}  // namespace
