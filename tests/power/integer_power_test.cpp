// x ** n for an integer n: g_arxi g_arxj g_adxi g_adxj g_aqxi g_aqxj.
//
// Each entry against a reference written from the rules of its method, bit
// for bit, over a grid of bases (zeros, +-1, NaN, infinities, subnormals,
// values near 1 and near the extremes) times exponents (0, +-1, +-2, small,
// huge, the most negative), and over random pairs; the entries that round
// once (the INTEGER*8 forms) also against MPFR within the bound of their
// register loop. Then the zero-base errors under both defaults, with resume
// and with the exception reports switched off.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "support/checks.h"
#include "support/real16_checks.h"

namespace {

using namespace support;
using ld = long double;
using std::int32_t, std::int64_t;

constexpr int32_t kMin4 = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax4 = std::numeric_limits<int32_t>::max();
constexpr int64_t kMin8 = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax8 = std::numeric_limits<int64_t>::max();

template <class I>
std::uint64_t abs_of(I n) {
  return n < 0 ? 0 - static_cast<std::uint64_t>(static_cast<int64_t>(n)) : std::uint64_t(n);
}

// Method 1 (INTEGER*4): S is the type a square is stored in, A the
// accumulator's. squares[k] = x^(2^k) as the register forms it; the
// accumulator starts at the square of the lowest set bit t of |n| (twice it,
// with numerator 2, when n < 0 and it lies in [-1, 1]), takes the squares of
// the higher set bits in increasing order, and is divided into the
// numerator after one rounding to Real8.
template <class T, class S, class A>
T method1(T x, int32_t n) {
  if (x == 0) return n == 0 ? T(1) : T(0);  // n < 0: the error rows
  if (n == 0 || x == 1) return 1;
  if (n == 1) return x;
  if (n == 2) return static_cast<T>(ld{x} * x);
  if (x == -1) return (n % 2) ? -1 : 1;
  const std::uint64_t m = abs_of(n);
  std::vector<S> squares{x};
  while (squares.size() < 32)
    squares.push_back(static_cast<S>(ld{squares.back()} * squares.back()));
  const int t = std::countr_zero(m);
  const bool doubled = n < 0 && std::fabs(ld{squares[t]}) <= 1;
  A acc = static_cast<A>(ld{squares[t]} * (doubled ? 2 : 1));
  for (int k = t + 1; k < 32; ++k)
    if ((m >> k) & 1) acc = static_cast<A>(ld{acc} * squares[k]);
  if (n > 0) return static_cast<T>(acc);
  return static_cast<T>((doubled ? 2 : 1) / ld{static_cast<double>(acc)});
}

// Method 2 (INTEGER*8): reciprocal first for n < 0, then the power of the
// register value by right-to-left squaring, all in the register.
template <class T>
T method2(T x, int64_t n) {
  if (x == 0) return n == 0 ? T(1) : T(0);
  if (n == 0 || x == 1) return 1;
  if (x == -1) return (n & 1) ? -1 : 1;
  ld p = n < 0 ? 1 / ld{x} : ld{x}, r = 1;
  for (std::uint64_t m = abs_of(n); m; m >>= 1, p *= p)
    if (m & 1) r *= p;
  return static_cast<T>(r);
}

// Method 3 (Real16): the same with the correctly rounded Real16 operations
// of the oracle; nullopt-like `ok` false when a step overflows or
// underflows (the arithmetic's own reports, checked apart).
template <class I>
Real16 method3(const Real16 &x, I n, bool &ok) {
  ok = true;
  const bool zero = (x.w[3] & 0x7fffffff) == 0;
  if (n == 0) return kOne;
  if (zero) return kZero;
  auto step = [&](oracle::Op op, const Real16 &a, const Real16 &b) {
    const oracle::Real16Result r = oracle::reference(op, a, b);
    ok = ok && r.outcome == oracle::Outcome::value;
    return r.bits;
  };
  Real16 p = n < 0 ? step(oracle::Op::div, kOne, x) : x, r = kOne;
  for (std::uint64_t m = abs_of(n);; p = step(oracle::Op::mul, p, p)) {
    if (m & 1) r = step(oracle::Op::mul, r, p);
    if ((m >>= 1) == 0) return r;
  }
}

template <class I>
Real16 q_entry(Real16 *(*f)(Real16 *, const Real16 *, const I *), Real16 x, I n) {
  Real16 r;
  EXPECT_EQ(f(&r, &x, &n), &r);
  return r;
}

template <class T>
std::vector<T> bases() {
  using L = std::numeric_limits<T>;
  return {0,
          -T(0),
          1,
          -1,
          2,
          -2,
          0.5,
          3,
          -3,
          T(1.5),
          T(0.1),
          T(-0.7),
          T(1) + L::epsilon(),
          T(1) - L::epsilon() / 2,
          L::min(),
          L::denorm_min(),
          L::max(),
          -L::max(),
          L::infinity(),
          -L::infinity(),
          L::quiet_NaN(),
          T(1e10),
          T(-1e-10)};
}
template <class I>
std::vector<I> exponents() {
  using L = std::numeric_limits<I>;
  std::vector<I> e = {0,    1,    -1,    2,     -2,     3,        -3,       4,           -4,
                      7,    -7,   8,     -8,    31,     -31,      40,       -40,         127,
                      -128, 1000, -1023, 65536, -65537, L::max(), L::min(), L::min() + 1};
  if constexpr (sizeof(I) == 8)
    e.insert(e.end(), {I(1) << 32, -(I(1) << 32) - 1, I(0x100000001), I(-3000000000)});
  return e;
}

// ---- Bit for bit against the reference of the method ------------------------

template <class T, class I>
void expect_grid(const char *name, T (*fn)(const T *, const I *), T (*ref)(T, I)) {
  Recorder rec;
  for (const T x : bases<T>())
    for (const I n : exponents<I>()) {
      if (x == 0 && n < 0) continue;
      const T got = fn(&x, &n), want = ref(x, n);
      EXPECT_TRUE(bits_of(got) == bits_of(want) || (got != got && want != want))
          << name << "(" << std::hexfloat << x << ", " << n << "): " << got << " want " << want;
    }
  Sampler s(std::hash<std::string>{}(name));
  for (std::uint64_t i = 0; i < scaled(20000); ++i) {
    const T x = static_cast<T>(s.log_uniform_signed(0x1p-12, 0x1p12));
    const I n = static_cast<I>(s.uniform(-400, 400));
    const T got = fn(&x, &n), want = ref(x, n);
    if (bits_of(got) != bits_of(want))
      ADD_FAILURE() << name << "(" << std::hexfloat << x << ", " << n << ")";
  }
  EXPECT_TRUE(rec.reports.empty()) << name;
}

TEST(IntegerPower, Real4AndReal8MatchTheirMethods) {
  expect_grid("g_arxi", g_arxi, method1<float, float, double>);
  expect_grid("g_adxi", g_adxi, method1<double, ld, ld>);
  expect_grid("g_arxj", g_arxj, method2<float>);
  expect_grid("g_adxj", g_adxj, method2<double>);
}

// The INTEGER*8 forms round once: every register operation errs by 2^-64
// relative; a square doubles the relative error it is given, so the k-th
// square carries (2^k - 1) 2^-64 and the reciprocal's error is raised to
// |n|: the result lies within 0.5 ulp + (2 |n| + 128) 2^(p - 64) ulp of x^n
// (p = 24, 53).
template <class T>
void expect_mpfr(const char *name, T (*fn)(const T *, const int64_t *)) {
  Sampler s(std::hash<std::string>{}(name));
  oracle::Big e, b;
  oracle::WorstCase worst;
  constexpr int p = std::numeric_limits<T>::digits;
  for (std::uint64_t i = 0; i < scaled(20000); ++i) {
    const T x = static_cast<T>(s.log_uniform_signed(0.5, 2));
    const int64_t n = static_cast<int64_t>(s.uniform(-1e4, 1e4));
    mpfr_set_d(b, static_cast<double>(x), MPFR_RNDN);
    mpfr_pow_si(e, b, n, MPFR_RNDN);
    if (mpfr_get_exp(e) < std::numeric_limits<T>::min_exponent ||
        mpfr_get_exp(e) > std::numeric_limits<T>::max_exponent)
      continue;
    const double err = oracle::ulp_error(fn(&x, &n), e);
    const double bound = 0.5 + static_cast<double>(2 * abs_of(n) + 128) * std::ldexp(1.0, p - 64);
    worst.add(err, static_cast<double>(n));
    EXPECT_LE(err, bound) << name << "(" << std::hexfloat << x << ", " << n << ")";
  }
  std::printf("  %s |x| in [0.5, 2), |n| < 1e4: %s\n", name, worst.describe().c_str());
}

TEST(IntegerPower, Integer8FormsAgainstMpfr) {
  expect_mpfr("g_arxj", g_arxj);
  expect_mpfr("g_adxj", g_adxj);
}

template <class I>
void expect_real16(const char *name, Real16 *(*fn)(Real16 *, const Real16 *, const I *)) {
  Recorder rec;
  Real16Sampler s(std::hash<std::string>{}(name));
  std::vector<Real16> xs = {kZero,
                            kMinusZero,
                            kOne,
                            real16(0xbfff0000),
                            kNaN,
                            kLargest,
                            real16(0x40000000),
                            real16(0x3ffe0000),
                            real16(0x3fff0000, 0, 0, 1)};
  for (int i = 0; i < 60; ++i) xs.push_back(s.with_exponent(0x3ffe + s.below32(3), s.below(2)));
  for (const Real16 &x : xs)
    for (const I n : exponents<I>()) {
      if ((x.w[3] & 0x7fffffff) == 0 && n < 0) continue;
      bool ok;
      const Real16 want = method3(x, n, ok);
      if (!ok) continue;
      const Real16 got = q_entry(fn, x, n);
      EXPECT_TRUE(oracle::same_bits(got, want)) << name << "(" << show(x) << ", " << n << ")";
    }
  EXPECT_TRUE(rec.reports.empty()) << name;
}

// A step that overflows reports as the product does (1397): (2^16369)^2
// becomes the largest finite value, and 1 times it is that value.
template <class I>
void expect_step_overflow(Real16 *(*fn)(Real16 *, const Real16 *, const I *)) {
  Recorder rec(0);
  EXPECT_TRUE(oracle::same_bits(q_entry(fn, real16(0x7ff00000), I(2)), kLargest));
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, 1397);
}

TEST(IntegerPower, Real16MatchesItsMethod) {
  expect_real16<int32_t>("g_aqxi", g_aqxi);
  expect_real16<int64_t>("g_aqxj", g_aqxj);
  expect_step_overflow(g_aqxi);
  expect_step_overflow(g_aqxj);
}

// Rows named in the definition of the operators.
TEST(IntegerPower, DefinedRows) {
  const float f3 = 3;
  const int32_t n20 = 20, n7 = 7, nm8 = -8, nm3 = -3;
  const int64_t j20 = 20;
  // Through g_arxi every square is rounded to Real4 (3^16 = 43046721 is
  // not one), so 3.0 ** 20 differs from the exactly rounded 3486784401;
  // through g_arxj it is rounded once.
  EXPECT_NE(g_arxi(&f3, &n20), 3486784401.0f);
  EXPECT_EQ(g_arxj(&f3, &j20), 3486784401.0f);
  // (-1.0) ** 7 is -1.0 and (-1.0) ** (-8) is 1.0.
  const float m1 = -1;
  EXPECT_EQ(g_arxi(&m1, &n7), -1.0f);
  EXPECT_EQ(g_arxi(&m1, &nm8), 1.0f);
  // 2.0 ** (-3) is exactly 0.125; 0.5 ** (-3) is exactly 8.0.
  const double two = 2, half = 0.5;
  EXPECT_EQ(g_adxi(&two, &nm3), 0.125);
  EXPECT_EQ(g_adxi(&half, &nm3), 8.0);
  // (-0.0) ** 3 is +0.0.
  const double mz = -0.0;
  const int32_t n3 = 3;
  EXPECT_EQ(bits_of(g_adxi(&mz, &n3)), 0u);
}

// ---- Zero base, negative exponent ---------------------------------------

// 0 ** n for n < 0: error `number` through the exception path, the exponent
// reported (type code 3 or 4), base and exponent in the slots; defaults
// `finite` / `ieee`; a handler that puts 2 in the base slot gets 2 ** n;
// with the reports switched off, the default at once.
template <class T, class I>
void expect_zero_base(const char *name, T (*fn)(const T *, const I *), int32_t number, T finite,
                      T ieee, T two_to_n, I n, T zero) {
  SCOPED_TRACE(name);
  for (std::uint8_t flag : {0, 1}) {
    Recorder rec(flag);
    T base_slot = 1;
    I exponent_slot = 0;
    rec.answer = [&](const Report &r, int) {
      base_slot = r.slot_as<T>(1), exponent_slot = r.slot_as<I>(2);
      return 0;
    };
    const T got = fn(&zero, &n);
    ASSERT_EQ(rec.reports.size(), 1u);
    const Report &r = rec.reports[0];
    EXPECT_EQ(r.number, number);
    EXPECT_EQ(r.value_count, 1);
    EXPECT_EQ(r.value_type[0], sizeof(I) == 4 ? 3 : 4);
    EXPECT_EQ(r.value_as<I>(0), n);
    EXPECT_EQ(bits_of(base_slot), bits_of(zero));
    EXPECT_EQ(exponent_slot, n);
    EXPECT_EQ(bits_of(got), bits_of(flag ? ieee : finite));
  }
  {
    Recorder rec(1);
    rec.answer = [](const Report &r, int) { return replace(r, 1, T(2)), 1; };
    EXPECT_EQ(fn(&zero, &n), two_to_n);
    EXPECT_EQ(rec.reports.size(), 1u);
  }
  for (std::uint8_t mute : {0, 1}) {
    Recorder rec(0, mute, mute);  // reports off, or muted
    EXPECT_EQ(bits_of(fn(&zero, &n)), bits_of(finite));
    EXPECT_TRUE(rec.reports.empty());
  }
}

TEST(IntegerPower, ZeroBaseErrors) {
  // Default for 0 ** negative: _Inf_F / 0x7f7fffee, _Inf_D / 0x7fefffffffffffb6.
  const float bigf = std::bit_cast<float>(0x7f7fffeeu), inff = INFINITY;
  const double bigd = std::bit_cast<double>(0x7fefffffffffffb6ull), infd = INFINITY;
  expect_zero_base<float, int32_t>("g_arxi", g_arxi, 261, bigf, inff, 0.125f, -3, 0.0f);
  expect_zero_base<float, int64_t>("g_arxj", g_arxj, 1413, bigf, inff, 0.0f, kMin8, -0.0f);
  expect_zero_base<double, int32_t>("g_adxi", g_adxi, 264, bigd, infd, 0.0, kMin4, -0.0);
  expect_zero_base<double, int64_t>("g_adxj", g_adxj, 265, bigd, infd, 0.5, -1, 0.0);
}

// The same for the Real16 forms (-0 and +0 bases).
template <class I>
void expect_zero_base16(const char *name, Real16 *(*fn)(Real16 *, const Real16 *, const I *),
                        int32_t number, I n, const Real16 &two_to_n) {
  SCOPED_TRACE(name);
  for (std::uint8_t flag : {0, 1}) {
    Recorder rec(flag);
    const Real16 got = q_entry(fn, kMinusZero, n);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].number, number);
    EXPECT_EQ(rec.reports[0].value_count, 1);
    EXPECT_EQ(rec.reports[0].value_type[0], sizeof(I) == 4 ? 3 : 4);
    EXPECT_EQ(rec.reports[0].value_as<I>(0), n);
    // _Inf_Q / largest finite Real16.
    EXPECT_TRUE(oracle::same_bits(got, flag ? kInf : kLargest)) << show(got);
  }
  Recorder rec(1);
  rec.answer = [](const Report &r, int) { return replace(r, 1, real16(0x40000000)), 1; };
  EXPECT_TRUE(oracle::same_bits(q_entry(fn, kZero, n), two_to_n));
}

TEST(IntegerPower, Real16ZeroBaseErrors) {
  expect_zero_base16<int32_t>("g_aqxi", g_aqxi, 268, -2, real16(0x3ffd0000));
  expect_zero_base16<int64_t>("g_aqxj", g_aqxj, 269, -16382, real16(0x00010000));
}

}  // namespace
