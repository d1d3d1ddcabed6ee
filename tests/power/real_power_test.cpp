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

#include "support/checks.h"

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

}  // namespace
