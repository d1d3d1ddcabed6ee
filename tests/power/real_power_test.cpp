// x ** y for a real or complex y, 2 ** x and 10 ** x, every kind.
//
// Against MPFR over arguments drawn so that w = y log2 x covers the result
// range, each bound derived from the evaluation; the Real16 log tables
// recomputed; the complex powers against the composition they are defined
// as. Then the rows of the drivers and every error with both defaults,
// resume and the hand-over of a changed base.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "power/tables/log_steps_table.h"
#include "support/checks.h"
#include "support/real16_checks.h"

// Real16 operands in failure messages.
std::ostream &operator<<(std::ostream &o, const Real16 &x) { return o << oracle::describe(x); }

namespace {

using namespace support;
using std::int32_t;

template <class T>
using Binary = T (*)(const T *, const T *);
template <class T>
using Unary1 = T (*)(const T *);

constexpr float kBigF = std::bit_cast<float>(0x7f7fffeeu);
constexpr double kBigD = std::bit_cast<double>(0x7fefffffffffffb6ull);

// Every entry as a function of its operands by value (a one-operand entry
// ignores the first: the base of 2 ** x and 10 ** x).
template <auto fn, class T>
T call(T a, T b) {
  using F = decltype(fn);
  if constexpr (std::is_invocable_r_v<T, F, const T *, const T *>) {
    return fn(&a, &b);
  } else if constexpr (std::is_invocable_r_v<T, F, const T *>) {
    return fn(&b);
  } else if constexpr (std::is_invocable_v<F, T *, const T *, const T *>) {
    T r;
    EXPECT_EQ(fn(&r, &a, &b), &r);
    return r;
  } else {
    T r;
    EXPECT_EQ(fn(&r, &b), &r);
    return r;
  }
}

template <class T>
bool same(const T &a, const T &b) {
  if constexpr (std::is_same_v<T, Real16>)
    return oracle::same_bits(a, b);
  else
    return bits_of(a) == bits_of(b) || (a != a && b != b);
}

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

// ---- Rows and errors ---------------------------------------------------------

// A row: fn(a, b) gives `want` (a NaN: any NaN) without a report.
template <class T>
struct Row {
  T (*fn)(T, T);
  T a, b, want;
};

template <class T>
void expect_rows(const std::vector<Row<T>> &rows) {
  Recorder rec;
  for (const Row<T> &r : rows) {
    const T got = r.fn(r.a, r.b);
    EXPECT_TRUE(same(got, r.want)) << std::hexfloat << r.a << " " << r.b << " " << got;
  }
  EXPECT_TRUE(rec.reports.empty()) << rec.reports[0].number;
}

template <class T>
T cube(T x) {
  return static_cast<T>(static_cast<long double>(x) * x * x);
}

TEST(RealPower, DriverRows) {
  const float nanf = NAN, x3 = 1.1f;
  const double nand = NAN, d3 = 1.1;
  const auto r = call<g_arxr, float>;
  const auto d = call<g_adxd, double>;
  expect_rows<float>({
      {r, nanf, 0, 1},       // y = 0 gives 1 for every x
      {r, 0, 0, 1},          // 0.0 ** 0.0 is 1.0 before any zero test
      {r, -2, 3, -8},        // the integer shortcut
      {r, -2, 10, 1024},     // the core and the parity of y
      {r, 2, 8, 256},        // the core
      {r, -2, -3, -0.125},   // negative integral y, odd
      {r, x3, 3, cube(x3)},  // x * x * x in the register, rounded once
      {r, 0, 2.5f, 0},       // a zero x with y > 0 gives +0
      {r, nanf, 2.5f, 0},    // a NaN x is not above 0: +0
      {r, 2, -150, 0},       // w below -127: +0 without a report
      {call<g_a2xr, float>, 0, -150, 0},
  });
  expect_rows<double>({
      {d, nand, 0, 1},
      {d, -2, 10, 1024},
      {d, 2, -1074, 0x1p-1074},
      {d, 2, 1023, 0x1p1023},
      {d, d3, 3, cube(d3)},
      {d, nand, 0.5, 0},
      {d, 8, nand, nand},
      {d, 0.5, 1080, 0},
  });
  const auto q = call<g_aqxq, Real16>;
  const auto q2 = call<g_a2xq, Real16>;
  const auto q10 = call<g_atxq, Real16>;
  const Real16 two = real16(0x40000000), m2 = real16(0xc0000000);
  expect_rows<Real16>({
      {q, kNaN, kZero, kOne},                           // x ** 0 is 1.0, a NaN pattern x too
      {q, kMinusZero, kMinusZero, kOne},                // zeros of either sign count as +0
      {q, kMinusZero, real16(0x3ffe0000), kZero},       // 0 ** y, y > 0: +0
      {q, m2, real16(0x40008000), real16(0xc0020000)},  // (-2) ** 3 = -8
      {q, m2, real16(0x40024000), real16(0x40090000)},  // (-2) ** 10 = 1024
      {q, two, real16(0xc00cfff0), kZero},              // w <= -16382: +0
      {q2, two, kZero, kOne},
      {q2, two, real16(0x400c0000), real16(0x5fff0000)},  // 2 ** 8192
      {q2, two, real16(0xc00cfff0), kZero},               // x <= -16382: +0
      {q2, two, kMinusInf, kZero},
      {q10, two, real16(0x40000000), real16(0x40059000)},  // 10 ** 2
      {q10, two, real16(0xbfff0000), real16(0x3ffb9999, 0x99999999, 0x99999999, 0x9999999a)},
      {q10, two, real16(0xc00b3437), kZero},  // x <= -4931.44: +0
  });
}

// fn(a, b) reports `error` with the values `values` (1: b, 2: a and b; for
// 2 ** x and 10 ** x, a is the base), a and b in the slots; declined,
// `finite` or `ieee` under the infinity flag; with the reports off,
// `finite` at once.
template <class T>
struct Fault {
  T (*fn)(T, T);
  T a, b;
  int32_t error;
  int values;
  T finite, ieee;
};

template <class T>
void expect_faults(const std::vector<Fault<T>> &faults) {
  for (const Fault<T> &f : faults) {
    for (std::uint8_t flag : {0, 1}) {
      SCOPED_TRACE(std::to_string(f.error) + " flag " + std::to_string(flag));
      Recorder rec(flag);
      T slots[2] = {};
      rec.answer = [&](const Report &r, int) {
        slots[0] = r.slot_as<T>(1), slots[1] = r.slot_as<T>(2);
        return 0;
      };
      const T got = f.fn(f.a, f.b);
      ASSERT_EQ(rec.reports.size(), 1u);
      const Report &r = rec.reports[0];
      EXPECT_EQ(r.number, f.error);
      EXPECT_EQ(r.value_count, f.values);
      EXPECT_EQ(r.value_type[0], sizeof(T) == 4 ? 9 : sizeof(T) == 8 ? 10 : 11);
      EXPECT_TRUE(same(r.value_as<T>(0), f.values == 2 ? f.a : f.b));
      EXPECT_TRUE(f.values == 1 || same(r.value_as<T>(1), f.b));
      EXPECT_TRUE(same(slots[0], f.a) && same(slots[1], f.b));
      EXPECT_TRUE(same(got, flag ? f.ieee : f.finite));
    }
    Recorder rec(0, 0);
    EXPECT_TRUE(same(f.fn(f.a, f.b), f.finite));
    EXPECT_TRUE(rec.reports.empty());
  }
}

TEST(RealPower, Errors) {
  const auto r = call<g_arxr, float>;
  const auto d = call<g_adxd, double>;
  const auto q = call<g_aqxq, Real16>;
  // A negative base with a non-integral exponent: NaN, else the power of
  // |x| ((-8.0) ** (1.0/3.0) gives about 2.0).
  const float root = r(8, 0.25f);
  expect_faults<float>({
      {r, -8, 0.25f, 263, 2, root, NAN},
      {r, 0, -1, 262, 1, kBigF, INFINITY},  // zero base, y not positive: y reported
      {r, -0.0f, -2.5f, 262, 1, kBigF, INFINITY},
      {r, 10, 50, 1416, 2, kBigF, INFINITY},  // overflow
      {r, -10, 51, 1416, 2, kBigF, INFINITY},
      {call<g_a2xr, float>, 2, 128, 1416, 2, kBigF, INFINITY},
      {call<g_atxr, float>, 10, 38.6f, 1416, 2, kBigF, INFINITY},
  });
  expect_faults<double>({
      {d, -16, 0.25, 267, 2, 2.0, NAN},
      {d, 0, -0.5, 266, 1, kBigD, INFINITY},
      {d, 10, 400, 1417, 2, kBigD, INFINITY},
      {d, INFINITY, 0.5, 1417, 2, kBigD, INFINITY},
      {call<g_a2xd, double>, 2, 1024, 1417, 2, kBigD, INFINITY},
      {call<g_atxd, double>, 10, 308.5, 1417, 2, kBigD, INFINITY},
  });
  const Real16 two = real16(0x40000000), ten = real16(0x40024000);
  expect_faults<Real16>({
      {q, real16(0xc0010000), real16(0x3ffe0000), 271, 2, two, kNaN},  // (-4) ** 0.5
      {q, kZero, real16(0xbfff0000), 270, 1, kLargest, kInf},
      {q, two, real16(0x400d0000), 272, 2, kLargest, kInf},  // 2 ** 16384
      {call<g_a2xq, Real16>, two, real16(0x400d0000), 272, 2, kLargest, kInf},
      {call<g_a2xq, Real16>, two, kNaN, 272, 2, kLargest, kInf},
      {call<g_atxq, Real16>, ten, real16(0x400b3441), 272, 2, kLargest, kInf},
  });
}

// Resume: new arguments start again; for 2 ** x and 10 ** x a changed base
// hands over to the power operator.
TEST(RealPower, Resume) {
  const auto r = call<g_arxr, float>;
  const auto r2 = call<g_a2xr, float>;
  const auto d = call<g_adxd, double>;
  const auto q = call<g_aqxq, Real16>;
  const auto q2 = call<g_a2xq, Real16>;
  const auto q10 = call<g_atxq, Real16>;
  const float root = r(8, 0.25f);
  Recorder rec(1);
  rec.answer = [](const Report &r, int) { return replace(r, 1, 8.0f), 1; };
  EXPECT_EQ(r(-8, 0.25f), root);
  rec.answer = [](const Report &r, int) { return replace(r, 1, 3.0f), replace(r, 2, 2.0f), 1; };
  EXPECT_EQ(r2(0, 128), 9.0f);  // g_arxr(3, 2)
  rec.answer = [](const Report &r, int) { return replace(r, 2, 3.0f), 1; };
  EXPECT_EQ(r2(0, 128), 8.0f);  // the same base: 2 ** 3
  EXPECT_EQ(r(10, 50), 1000.0f);
  rec.answer = [](const Report &r, int) { return replace(r, 1, 4.0), 1; };
  EXPECT_EQ(d(0, -0.5), 0.5);
  rec.answer = [](const Report &r, int) { return replace(r, 1, real16(0x40010000)), 1; };
  EXPECT_TRUE(same(q(real16(0xc0010000), real16(0x3ffe0000)), real16(0x40000000)));
  rec.answer = [](const Report &r, int) {
    return replace(r, 1, real16(0x40010000)), replace(r, 2, real16(0x40008000)), 1;
  };
  EXPECT_TRUE(same(q2(kZero, real16(0x400d0000)), real16(0x40050000)));  // 4 ** 3
  rec.answer = [](const Report &r, int) { return replace(r, 2, real16(0x40000000)), 1; };
  EXPECT_TRUE(same(q10(kZero, real16(0x400b3441)), real16(0x40059000)));  // 10 ** 2
}

// ---- Complex powers -------------------------------------------------------

// A Complex8 as a Complex16, out of line: GCC 12 at -O2 folds the
// aggregate {x8.re, x8.im} built right after x8 = {float(x.re), ...} back
// into x's Real8 parts.
[[gnu::noinline]] Complex16 widened(const Complex8 &z) { return {z.re, z.im}; }

// exp(y log x) composed of g_cdlog, g_axmx and g_cdexp in Complex16, bit for
// bit (Complex8 widened, rounded at the end); a zero x gives (1, 0) for a
// zero y, else (0, 0), without a report.
TEST(RealPower, ComplexPowers) {
  Recorder rec;
  Sampler s(99);
  for (std::uint64_t i = 0; i < scaled(2000); ++i) {
    const Complex16 x{s.log_uniform_signed(1e-3, 1e3), s.log_uniform_signed(1e-3, 1e3)},
        y{s.uniform(-20, 20), s.uniform(-20, 20)};
    const Complex8 x8{float(x.re), float(x.im)}, y8{float(y.re), float(y.im)};
    const Complex16 operands[2][2] = {{x, y}, {widened(x8), widened(y8)}};
    for (int k = 0; k < 2; ++k) {
      const Complex16 &a = operands[k][0], &b = operands[k][1];
      Complex16 w, got;
      g_cdlog(&w, &a);
      g_axmx(&w, &w, &b);
      g_cdexp(&w, &w);
      g_axxx(&got, &a, &b);
      EXPECT_TRUE(same(got.re, w.re) && same(got.im, w.im)) << std::hexfloat << a.re << " " << b.re;
      if (k == 0) continue;  // the Complex8 operands, widened: g_acxc
      Complex8 got8;
      g_acxc(&got8, &x8, &y8);
      EXPECT_TRUE(got8.re == float(w.re) && got8.im == float(w.im)) << std::hexfloat << x8.re;
    }
  }
  const Complex16 zero{0, 0}, one{1, 1};
  Complex16 got;
  EXPECT_TRUE(same(g_axxx(&got, &zero, &zero)->re, 1.0) && same(got.im, 0.0));
  EXPECT_TRUE(same(g_axxx(&got, &zero, &one)->re, 0.0) && same(got.im, 0.0));
  EXPECT_TRUE(rec.reports.empty());
}

// g_azxz: exp(y log x) composed of g_cqlog, g_azmz and g_cqexp, bit for bit;
// a zero x (either sign in either part) gives (1, 0) for
// a zero y, else (0, 0), without a report.
TEST(RealPower, Complex32Powers) {
  Recorder rec;
  Sampler s(98);
  const auto q = [](double v) {
    Real16 r;
    return *g_qextd(&r, &v);
  };
  for (std::uint64_t i = 0; i < scaled(300); ++i) {
    const Complex32 x{q(s.log_uniform_signed(1e-3, 1e3)), q(s.log_uniform_signed(1e-3, 1e3))},
        y{q(s.uniform(-20, 20)), q(s.uniform(-20, 20))};
    Complex32 w, got;
    g_cqlog(&w, &x);
    g_azmz(&w, &w, &y);
    g_cqexp(&w, &w);
    g_azxz(&got, &x, &y);
    EXPECT_TRUE(same(got.re, w.re) && same(got.im, w.im)) << x.re << " " << y.re;
  }
  const Complex32 zero{kMinusZero, kZero}, one{q(1), q(1)};
  Complex32 got;
  EXPECT_TRUE(same(g_azxz(&got, &zero, &zero)->re, q(1)) && same(got.im, kZero));
  EXPECT_TRUE(same(g_azxz(&got, &zero, &one)->re, kZero) && same(got.im, kZero));
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

}  // namespace
