// x ** n for an integer n: g_arxi g_arxj g_adxi g_adxj g_aqxi g_aqxj and
// the complex g_acxi g_acxj g_axxi g_axxj g_azxi g_azxj.
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

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
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

// ---- Complex bases --------------------------------------------------------

struct Reg {
  ld re, im;
};

// Method 4 in the register: the squares (a a - b b, 2ab), the products
// (pc - qd, qc + pd), the reciprocals by g_axdx, the first one of the base
// when its modulus is below 1, of the power otherwise; rounded at the end.
template <class C>
C method4(C z, int32_t n) {
  using T = decltype(z.re);
  auto div = [](Reg a) {
    const Complex16 one{1, 0}, d{double(a.re), double(a.im)};
    Complex16 q;
    g_axdx(&q, &one, &d);
    return Reg{q.re, q.im};
  };
  const ld mod = std::hypot(ld{z.re}, ld{z.im});
  if (!(mod > 0)) return n == 0 ? C{1, 0} : C{0, 0};  // n < 0: the error rows
  if (n == 0) return {1, 0};
  if (n == 1) return z;
  const Reg x{z.re, z.im};
  if (n == 2) return {T((x.re - x.im) * (x.re + x.im)), T(2 * x.re * x.im)};
  std::vector<Reg> squares{n < 0 && mod < 1 ? div(x) : x};
  while (squares.size() < 32) {
    const Reg &a = squares.back();
    squares.push_back({a.re * a.re - a.im * a.im, 2 * a.re * a.im});
  }
  const std::uint64_t m = abs_of(n);
  const int t = std::countr_zero(m);
  Reg r = squares[t];
  for (int k = t + 1; k < 32; ++k)
    if ((m >> k) & 1)
      r = {r.re * squares[k].re - r.im * squares[k].im,
           r.im * squares[k].re + r.re * squares[k].im};
  if (n < 0 && mod >= 1) r = div(r);
  return {T(r.re), T(r.im)};
}

// Method 5 with the product rounded to the type's parts after every step
// (written out here) and the library's quotient for the reciprocal.
template <class C>
C method5(C z, int64_t n, void (*div)(C *, const C *, const C *)) {
  using T = decltype(z.re);
  auto mul = [](C a, C b) {
    return C{T(ld{a.re} * b.re - ld{a.im} * b.im), T(ld{a.im} * b.re + ld{a.re} * b.im)};
  };
  if (z.re == 0 && z.im == 0) return n == 0 ? C{1, 0} : C{0, 0};
  const C one{1, 0};
  C p = z, r = one;
  if (n < 0) div(&p, &one, &z);
  for (std::uint64_t m = abs_of(n); m; m >>= 1, p = mul(p, p))
    if (m & 1) r = mul(r, p);
  return r;
}

// g_axxj's own shortcuts before method 5.
Complex16 method5_xj(Complex16 z, int64_t n) {
  if (z.im == 0 && (z.re == 1 || z.re == -1)) return {z.re == 1 || !(n & 1) ? 1.0 : -1.0, 0};
  if (n < -(int64_t(1) << 32) && g_cdabs(&z) >= 1.0000001652591795) return {0, 0};
  return method5(z, n, g_axdx);
}

template <class C>
bool same(const C &a, const C &b) {
  return (bits_of(a.re) == bits_of(b.re) || (a.re != a.re && b.re != b.re)) &&
         (bits_of(a.im) == bits_of(b.im) || (a.im != a.im && b.im != b.im));
}

template <class C, class I>
void expect_complex(const char *name, C *(*fn)(C *, const C *, const I *), C (*ref)(C, I)) {
  using T = decltype(C::re);
  Recorder rec;
  std::vector<C> zs = {{0, 0},
                       {-T(0), 0},
                       {1, 0},
                       {-1, 0},
                       {0, 1},
                       {2, 0},
                       {T(0.5), T(0.5)},
                       {1, 1},
                       {T(0.6), T(0.8)},
                       {3, -4},
                       {T(1e-3), T(2e-3)},
                       {T(-1.5), T(0.25)},
                       {INFINITY, 1},
                       {NAN, 1}};
  Sampler s(std::hash<std::string>{}(name));
  for (int i = 0; i < 200; ++i)
    zs.push_back({T(s.log_uniform_signed(0.25, 4)), T(s.log_uniform_signed(0x1p-10, 4))});
  std::vector<I> ns = exponents<I>();
  for (int i = 0; i < 20; ++i) ns.push_back(static_cast<I>(s.uniform(-300, 300)));
  for (const C &z : zs)
    for (const I n : ns) {
      if (((z.re == 0 && z.im == 0) || (sizeof(I) == 4 && z.re != z.re)) && n < 0) continue;
      C got;
      EXPECT_EQ(fn(&got, &z, &n), &got);
      const C want = ref(z, n);
      EXPECT_TRUE(same(got, want))
          << name << "((" << std::hexfloat << z.re << ", " << z.im << "), " << n << "): (" << got.re
          << ", " << got.im << ") want (" << want.re << ", " << want.im << ")";
    }
  EXPECT_TRUE(rec.reports.empty()) << name;
}

TEST(IntegerPower, ComplexMatchTheirMethods) {
  expect_complex<Complex8, int32_t>("g_acxi", g_acxi, method4<Complex8>);
  expect_complex<Complex16, int32_t>("g_axxi", g_axxi, method4<Complex16>);
  expect_complex<Complex8, int64_t>("g_acxj", g_acxj,
                                    [](Complex8 z, int64_t n) { return method5(z, n, g_acdc); });
  expect_complex<Complex16, int64_t>("g_axxj", g_axxj, method5_xj);
}

// (2, 0) ** (-2^40) through g_axxj is (0, 0) at once; so is any base whose
// modulus is at least 1.0000001652591795, (infinity, 1) too.
TEST(IntegerPower, Complex16HugeNegativeExponent) {
  const int64_t n = -(int64_t(1) << 40);
  for (const Complex16 z : {Complex16{2, 0}, Complex16{INFINITY, 1}, Complex16{0, -1.0000002}}) {
    Complex16 r{1, 1};
    g_axxj(&r, &z, &n);
    EXPECT_EQ(bits_of(r.re), 0u);
    EXPECT_EQ(bits_of(r.im), 0u);
  }
}

// Complex32: the squares with the oracle's rounded Real16 operations, the
// products and quotients the library's g_azmz and g_azdz, as the methods
// name them.
Real16 op(oracle::Op o, const Real16 &a, const Real16 &b) {
  return oracle::reference(o, a, b).bits;
}
Complex32 times(const Complex32 &a, const Complex32 &b) {
  Complex32 r;
  g_azmz(&r, &a, &b);
  return r;
}
Complex32 one_over(const Complex32 &z) {
  const Complex32 one{kOne, kZero};
  Complex32 r;
  g_azdz(&r, &one, &z);
  return r;
}
Complex32 square32(const Complex32 &z) {
  using oracle::Op;
  const Real16 ab = op(Op::mul, z.re, z.im);
  return {op(Op::sub, op(Op::mul, z.re, z.re), op(Op::mul, z.im, z.im)), op(Op::add, ab, ab)};
}

Complex32 method4_32(Complex32 z, int32_t n) {
  using oracle::Op;
  Real16 mod;
  g_cqabs(&mod, &z);
  if (n == 0) return {kOne, kZero};
  if (n == 1) return z;
  if (n == 2) {
    const Real16 ab = op(Op::mul, z.re, z.im);
    return {op(Op::mul, op(Op::sub, z.re, z.im), op(Op::add, z.re, z.im)), op(Op::add, ab, ab)};
  }
  const bool large = g_afge(&mod, &kOne);
  std::vector<Complex32> squares{n < 0 && !large ? one_over(z) : z};
  while (squares.size() < 32) squares.push_back(square32(squares.back()));
  const std::uint64_t m = abs_of(n);
  const int t = std::countr_zero(m);
  Complex32 r = squares[t];
  for (int k = t + 1; k < 32; ++k)
    if ((m >> k) & 1) r = times(r, squares[k]);
  return n < 0 && large ? one_over(r) : r;
}

Complex32 method5_32(Complex32 z, int64_t n) {
  Complex32 p = n < 0 ? one_over(z) : z, r{kOne, kZero};
  for (std::uint64_t m = abs_of(n);; p = times(p, p)) {
    if (m & 1) r = times(r, p);
    if ((m >>= 1) == 0) return r;
  }
}

TEST(IntegerPower, Complex32MatchesItsMethods) {
  Recorder rec(0);
  Real16Sampler s(32);
  std::vector<Complex32> zs = {{kOne, kZero},
                               {kZero, kOne},
                               {real16(0xbfff0000), kOne},
                               {real16(0x3ffe0000), real16(0x3ffd0000)}};
  for (int i = 0; i < 6; ++i)
    zs.push_back({s.with_exponent(0x3ffe + s.below32(2), s.below(2)),
                  s.with_exponent(0x3ffc + s.below32(4), s.below(2))});
  for (const Complex32 &z : zs)
    for (const int32_t n : {2, -2, 3, -3, 12, -12, 101, -101, 1000, -4097}) {
      Complex32 got;
      g_azxi(&got, &z, &n);
      const Complex32 want = method4_32(z, n);
      EXPECT_TRUE(oracle::same_bits(got.re, want.re) && oracle::same_bits(got.im, want.im))
          << "g_azxi(" << show(z.re) << ", " << show(z.im) << "; " << n << ")";
      const int64_t j = n;
      g_azxj(&got, &z, &j);
      const Complex32 want_j = method5_32(z, j);
      EXPECT_TRUE(oracle::same_bits(got.re, want_j.re) && oracle::same_bits(got.im, want_j.im))
          << "g_azxj(" << show(z.re) << ", " << show(z.im) << "; " << n << ")";
    }
  EXPECT_TRUE(rec.reports.empty());
}

// Zero base, negative exponent: the error with the exponent reported, the
// defaults (NaN, NaN) / (huge, 0), and a resume with the base (2, 0).
template <class C, class I>
void expect_complex_zero(const char *name, C *(*fn)(C *, const C *, const I *), int32_t number,
                         const C &finite, const C &ieee, I n, const C &two_to_n) {
  SCOPED_TRACE(name);
  const C zero{};
  for (std::uint8_t flag : {0, 1}) {
    Recorder rec(flag);
    C got;
    fn(&got, &zero, &n);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].number, number);
    EXPECT_EQ(rec.reports[0].value_count, 1);
    EXPECT_EQ(rec.reports[0].value_type[0], sizeof(I) == 4 ? 3 : 4);
    EXPECT_EQ(rec.reports[0].value_as<I>(0), n);
    EXPECT_EQ(std::memcmp(&got, flag ? &ieee : &finite, sizeof got), 0);
  }
  Recorder rec(1);
  rec.answer = [](const Report &r, int) {
    C two{};
    if constexpr (sizeof(C) == 32)
      two.re = real16(0x40000000);
    else
      two.re = 2;
    return replace(r, 1, two), 1;
  };
  C got;
  fn(&got, &zero, &n);
  EXPECT_EQ(std::memcmp(&got, &two_to_n, sizeof got), 0);
}

TEST(IntegerPower, ComplexZeroBaseErrors) {
  // (0, 0) ** (-2) for Complex16 under the infinity flag gives two Real8
  // NaNs (0x7ff8000000000000); without it (0x7fefffffffffffb6, 0).
  const float bigf = std::bit_cast<float>(0x7f7fffeeu), nanf = std::bit_cast<float>(0x7fc00000u);
  const double bigd = std::bit_cast<double>(0x7fefffffffffffb6ull),
               nand = std::bit_cast<double>(0x7ff8000000000000ull);
  expect_complex_zero<Complex8, int32_t>("g_acxi", g_acxi, 273, {bigf, 0}, {nanf, nanf}, -2,
                                         {0.25f, 0});
  expect_complex_zero<Complex8, int64_t>("g_acxj", g_acxj, 1414, {bigf, 0}, {nanf, nanf}, -1,
                                         {0.5f, 0});
  expect_complex_zero<Complex16, int32_t>("g_axxi", g_axxi, 274, {bigd, 0}, {nand, nand}, -2,
                                          {0.25, 0});
  expect_complex_zero<Complex16, int64_t>("g_axxj", g_axxj, 275, {bigd, 0}, {nand, nand}, -3,
                                          {0.125, 0});
  expect_complex_zero<Complex32, int32_t>("g_azxi", g_azxi, 276, {kLargest, kZero}, {kNaN, kNaN},
                                          -1, {real16(0x3ffe0000), kZero});
  expect_complex_zero<Complex32, int64_t>("g_azxj", g_azxj, 277, {kLargest, kZero}, {kNaN, kNaN},
                                          -2, {real16(0x3ffd0000), kZero});
  // The INTEGER*4 forms test the modulus: a NaN one is not above 0.
  Recorder rec(1);
  const Complex16 z{NAN, 1};
  const int32_t three = 3, minus = -1;
  Complex16 r;
  g_axxi(&r, &z, &three);
  EXPECT_TRUE(bits_of(r.re) == 0 && bits_of(r.im) == 0);
  EXPECT_TRUE(rec.reports.empty());
  g_axxi(&r, &z, &minus);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, 274);
}

}  // namespace
