// x ** n for an integer n, every base type. Each entry against a reference
// written from its method's rules, bit for bit, over a grid of bases (zeros,
// +-1, NaN, infinities, subnormals, values near 1 and the extremes) times
// exponents (0, +-1, +-2, small, huge, the most negative) and random pairs;
// the INTEGER*8 real forms also against MPFR. Then the zero-base errors.
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

// The complex bases in failure messages.
std::ostream &operator<<(std::ostream &o, const Complex8 &z) { return o << z.re << "," << z.im; }
std::ostream &operator<<(std::ostream &o, const Complex16 &z) { return o << z.re << "," << z.im; }

namespace {

using namespace support;
using ld = long double;
using std::int32_t, std::int64_t;

template <class I>
std::uint64_t abs_of(I n) {
  return n < 0 ? 0 - static_cast<std::uint64_t>(static_cast<int64_t>(n)) : std::uint64_t(n);
}

// A register complex value and its operations as the methods write them.
struct Reg {
  ld re, im;
};
Reg sq(Reg a) { return {a.re * a.re - a.im * a.im, 2 * a.re * a.im}; }
Reg mul(Reg a, Reg b) { return {a.re * b.re - a.im * b.im, a.im * b.re + a.re * b.im}; }
Reg div16(Reg a) {  // (1, 0) / a by g_axdx
  const Complex16 one{1, 0}, d{double(a.re), double(a.im)};
  Complex16 q;
  g_axdx(&q, &one, &d);
  return {q.re, q.im};
}

// Methods 1 and 4 (INTEGER*4): squares[k] = x^(2^k) as each square is
// stored (S); the accumulator starts at the square of the lowest set bit t
// of |n| and takes the higher set bits' squares in increasing order (A).
// Real: for n < 0 and that square in [-1, 1], twice it and numerator 2,
// rounded to Real8 before the division. Complex: (1, 0) / the base first
// when its modulus is below 1, / the power at the end otherwise.
template <class S, class A>
Reg method14(Reg x, int32_t n, bool complex) {
  const ld mod = std::hypot(x.re, x.im);
  const bool first = complex && n < 0 && mod < 1;
  std::vector<Reg> squares{first ? div16(x) : x};
  auto store = [](Reg v) { return Reg{static_cast<S>(v.re), static_cast<S>(v.im)}; };
  auto times = [complex](Reg a, Reg b) { return complex ? mul(a, b) : Reg{a.re * b.re, 0}; };
  while (squares.size() < 32) {
    const Reg a = squares.back();
    squares.push_back(store(complex ? sq(a) : Reg{a.re * a.re, 0}));
  }
  const std::uint64_t m = abs_of(n);
  const int t = std::countr_zero(m);
  const bool twice = !complex && n < 0 && std::fabs(squares[t].re) <= 1;
  Reg r{static_cast<A>(squares[t].re * (twice ? 2 : 1)), static_cast<A>(squares[t].im)};
  for (int k = t + 1; k < 32; ++k)
    if ((m >> k) & 1)
      r = {static_cast<A>(times(r, squares[k]).re), static_cast<A>(times(r, squares[k]).im)};
  if (n > 0) return r;
  if (complex) return first ? r : div16(r);
  return {(twice ? 2 : 1) / ld{static_cast<double>(r.re)}, 0};
}

template <class T>
T method1(T x, int32_t n) {
  if (x == 0) return n == 0 ? T(1) : T(0);  // n < 0: the error rows
  if (n == 0 || x == 1) return 1;
  if (n == 1) return x;
  if (n == 2) return static_cast<T>(ld{x} * x);
  if (x == -1) return (n % 2) ? -1 : 1;
  if constexpr (sizeof(T) == 4)
    return static_cast<T>(method14<float, double>({x, 0}, n, false).re);
  else
    return static_cast<T>(method14<ld, ld>({x, 0}, n, false).re);
}

template <class C>
C method4(C z, int32_t n) {
  using T = decltype(z.re);
  if (!(std::hypot(ld{z.re}, ld{z.im}) > 0)) return n == 0 ? C{1, 0} : C{0, 0};
  if (n == 0) return {1, 0};
  if (n == 1) return z;
  if (n == 2) return {T((ld{z.re} - z.im) * (ld{z.re} + z.im)), T(2 * ld{z.re} * z.im)};
  const Reg r = method14<ld, ld>({z.re, z.im}, n, true);
  return {T(r.re), T(r.im)};
}

// Methods 2 and 5 (INTEGER*8): p = 1/x (or (1, 0) / z by the library's
// quotient) for n < 0, then right to left; real in the register, rounded
// once; complex rounded to the parts after every product.
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

template <class C>
C method5(C z, int64_t n, void (*div)(C *, const C *, const C *)) {
  using T = decltype(z.re);
  auto times = [](C a, C b) {
    return C{T(mul({a.re, a.im}, {b.re, b.im}).re), T(mul({a.re, a.im}, {b.re, b.im}).im)};
  };
  if (z.re == 0 && z.im == 0) return n == 0 ? C{1, 0} : C{0, 0};
  const C one{1, 0};
  C p = z, r = one;
  if (n < 0) div(&p, &one, &z);
  for (std::uint64_t m = abs_of(n); m; m >>= 1, p = times(p, p))
    if (m & 1) r = times(r, p);
  return r;
}

// g_axxj's shortcuts: the bases (+-1, 0); (0, 0) for n < -2^32 and a
// modulus of at least 1.0000001652591795.
Complex16 method5_xj(Complex16 z, int64_t n) {
  if (z.im == 0 && (z.re == 1 || z.re == -1)) return {z.re == 1 || !(n & 1) ? 1.0 : -1.0, 0};
  if (n < -(int64_t(1) << 32) && g_cdabs(&z) >= 1.0000001652591795) return {0, 0};
  return method5(z, n, g_axdx);
}

// Method 3 (Real16) with the oracle's correctly rounded operations; `ok`
// false when a step overflows or underflows.
template <class I>
Real16 method3(const Real16 &x, I n, bool &ok) {
  ok = true;
  if (n == 0) return kOne;
  if ((x.w[3] & 0x7fffffff) == 0) return kZero;
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

// Every entry as a function of (x, n) by value.
template <auto fn, class X, class I>
X call(X x, I n) {
  if constexpr (std::is_invocable_v<decltype(fn), X *, const X *, const I *>) {
    X r;
    EXPECT_EQ(fn(&r, &x, &n), &r);
    return r;
  } else {
    return fn(&x, &n);
  }
}

template <class T>
bool same(T a, T b) {
  if constexpr (std::is_floating_point_v<T>)
    return bits_of(a) == bits_of(b) || (a != a && b != b);
  else if constexpr (std::is_same_v<T, Real16>)
    return oracle::same_bits(a, b);
  else
    return same(a.re, b.re) && same(a.im, b.im);
}

template <class I>
std::vector<I> exponents() {
  using L = std::numeric_limits<I>;
  std::vector<I> e = {0,    1,    -1,    2,     -2,     3,        -3,       4,           -4,
                      7,    -7,   8,     -8,    31,     -31,      40,       -40,         127,
                      -128, 1000, -1023, 65536, -65537, L::max(), L::min(), L::min() + 1};
  if constexpr (sizeof(I) == 8) e.insert(e.end(), {I(1) << 32, -(I(1) << 32) - 1, I(-3000000000)});
  return e;
}

// The grid and random pairs, bit for bit; no reports (a zero base with
// n < 0, and for the INTEGER*4 complex forms a NaN modulus, are left to the
// error rows).
template <class X, class I>
void expect_method(const char *name, X (*fn)(X, I), X (*ref)(X, I), std::vector<X> xs) {
  Recorder rec;
  Sampler s(std::hash<std::string>{}(name));
  std::vector<I> ns = exponents<I>();
  for (int i = 0; i < 40; ++i) ns.push_back(static_cast<I>(s.uniform(-400, 400)));
  for (const X &x : xs)
    for (const I n : ns) {
      bool zero;
      if constexpr (std::is_floating_point_v<X>)
        zero = x == 0;
      else
        zero = (x.re == 0 && x.im == 0) || (sizeof(I) == 4 && x.re != x.re);
      if (zero && n < 0) continue;
      EXPECT_TRUE(same(fn(x, n), ref(x, n)))
          << name << "(" << std::hexfloat << x << ", " << n << ")";
    }
  EXPECT_TRUE(rec.reports.empty()) << name;
}

template <class T>
std::vector<T> real_bases() {
  using L = std::numeric_limits<T>;
  std::vector<T> v = {0,
                      -T(0),
                      1,
                      -1,
                      2,
                      -2,
                      0.5,
                      3,
                      -3,
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
                      L::quiet_NaN()};
  Sampler s(sizeof(T));
  for (int i = 0; i < 300; ++i) v.push_back(static_cast<T>(s.log_uniform_signed(0x1p-12, 0x1p12)));
  return v;
}
template <class C>
std::vector<C> complex_bases() {
  using T = decltype(C::re);
  std::vector<C> v = {
      {0, 0},        {-T(0), 0},       {1, 0},           {-1, 0}, {0, 1},
      {2, 0},        {T(0.5), T(0.5)}, {T(0.6), T(0.8)}, {3, -4}, {T(1e-3), T(2e-3)},
      {INFINITY, 1}, {NAN, 1}};
  Sampler s(sizeof(C));
  for (int i = 0; i < 150; ++i)
    v.push_back({T(s.log_uniform_signed(0.25, 4)), T(s.log_uniform_signed(0x1p-10, 4))});
  return v;
}

TEST(IntegerPower, MatchTheirMethods) {
  expect_method<float, int32_t>("g_arxi", call<g_arxi>, method1<float>, real_bases<float>());
  expect_method<double, int32_t>("g_adxi", call<g_adxi>, method1<double>, real_bases<double>());
  expect_method<float, int64_t>("g_arxj", call<g_arxj>, method2<float>, real_bases<float>());
  expect_method<double, int64_t>("g_adxj", call<g_adxj>, method2<double>, real_bases<double>());
  expect_method<Complex8, int32_t>("g_acxi", call<g_acxi>, method4<Complex8>,
                                   complex_bases<Complex8>());
  expect_method<Complex16, int32_t>("g_axxi", call<g_axxi>, method4<Complex16>,
                                    complex_bases<Complex16>());
  expect_method<Complex8, int64_t>(
      "g_acxj", call<g_acxj>, [](Complex8 z, int64_t n) { return method5(z, n, g_acdc); },
      complex_bases<Complex8>());
  expect_method<Complex16, int64_t>("g_axxj", call<g_axxj>, method5_xj, complex_bases<Complex16>());
}

// The INTEGER*8 real forms round once: every register operation errs by
// 2^-64 relative, a square doubles the error it is given and the
// reciprocal's is raised to |n|: within 0.5 + (2 |n| + 128) 2^(p - 64) ulp
// of x^n (p = 24, 53).
template <class T>
void expect_mpfr(const char *name, T (*fn)(const T *, const int64_t *)) {
  Sampler s(std::hash<std::string>{}(name));
  oracle::Big e, b;
  oracle::WorstCase worst;
  for (std::uint64_t i = 0; i < scaled(20000); ++i) {
    const T x = static_cast<T>(s.log_uniform_signed(0.5, 2));
    const int64_t n = static_cast<int64_t>(s.uniform(-1e4, 1e4));
    mpfr_set_d(b, static_cast<double>(x), MPFR_RNDN);
    mpfr_pow_si(e, b, n, MPFR_RNDN);
    if (std::abs(mpfr_get_exp(e)) >= std::numeric_limits<T>::max_exponent - 2) continue;
    const double err = oracle::ulp_error(fn(&x, &n), e);
    worst.add(err, static_cast<double>(n));
    EXPECT_LE(err, 0.5 + double(2 * abs_of(n) + 128) *
                             std::ldexp(1.0, std::numeric_limits<T>::digits - 64))
        << name << "(" << std::hexfloat << x << ", " << n << ")";
  }
  std::printf("  %s |x| in [0.5, 2), |n| < 1e4: %s\n", name, worst.describe().c_str());
}

TEST(IntegerPower, Integer8FormsAgainstMpfr) {
  expect_mpfr("g_arxj", g_arxj);
  expect_mpfr("g_adxj", g_adxj);
}

// Real16 and Complex32: Real16 bases near 1 against method 3; Complex32
// against methods 4 and 5 written with the oracle's squares and the
// library's g_azmz and g_azdz, as the methods name them.
TEST(IntegerPower, Real16AndComplex32) {
  Recorder rec(0);
  Real16Sampler s(32);
  std::vector<Real16> xs = {kZero, kMinusZero, kOne, real16(0xbfff0000), kNaN, kLargest};
  for (int i = 0; i < 60; ++i) xs.push_back(s.with_exponent(0x3ffe + s.below32(3), s.below(2)));
  for (const Real16 &x : xs)
    for (const int64_t n : exponents<int64_t>()) {
      bool ok;
      const Real16 want = method3(x, n, ok);
      if (!ok || ((x.w[3] & 0x7fffffff) == 0 && n < 0)) continue;
      EXPECT_TRUE(same(call<g_aqxj>(x, n), want)) << "g_aqxj(" << show(x) << ", " << n << ")";
      if (n == int32_t(n)) {
        EXPECT_TRUE(same(call<g_aqxi>(x, int32_t(n)), want))
            << "g_aqxi(" << show(x) << ", " << n << ")";
      }
    }
  using oracle::Op;
  auto op = [](Op o, const Real16 &a, const Real16 &b) { return oracle::reference(o, a, b).bits; };
  auto times = [](Complex32 a, const Complex32 &b) { return g_azmz(&a, &a, &b), a; };
  auto inverse = [](Complex32 z) {
    const Complex32 one{kOne, kZero};
    return g_azdz(&z, &one, &z), z;
  };
  for (int i = 0; i < 8; ++i) {
    const Complex32 z{s.with_exponent(0x3ffe + s.below32(2), s.below(2)),
                      s.with_exponent(0x3ffc + s.below32(4), s.below(2))};
    Real16 mod;
    g_cqabs(&mod, &z);
    for (const int32_t n : {3, -3, 12, -12, 101, -101, 1000, -4097}) {
      std::vector<Complex32> squares{n < 0 && g_aflt(&mod, &kOne) ? inverse(z) : z};
      while (squares.size() < 32) {
        const Complex32 &a = squares.back();
        const Real16 ab = op(Op::mul, a.re, a.im);
        squares.push_back(
            {op(Op::sub, op(Op::mul, a.re, a.re), op(Op::mul, a.im, a.im)), op(Op::add, ab, ab)});
      }
      const int t = std::countr_zero(abs_of(n));
      Complex32 want = squares[t], want_j{kOne, kZero}, p = n < 0 ? inverse(z) : z;
      for (int k = t + 1; k < 32; ++k)
        if ((abs_of(n) >> k) & 1) want = times(want, squares[k]);
      if (n < 0 && g_afge(&mod, &kOne)) want = inverse(want);
      for (std::uint64_t m = abs_of(n); m; m >>= 1, p = times(p, p))
        if (m & 1) want_j = times(want_j, p);
      const Complex32 got = call<g_azxi>(z, n), got_j = call<g_azxj>(z, int64_t(n));
      EXPECT_TRUE(same(got.re, want.re) && same(got.im, want.im)) << "g_azxi " << show(z.re) << n;
      EXPECT_TRUE(same(got_j.re, want_j.re) && same(got_j.im, want_j.im)) << "g_azxj " << n;
    }
  }
  EXPECT_TRUE(rec.reports.empty());
  // A step that overflows reports as the product does (1397): (2^16369)^2
  // becomes the largest finite value, and 1 times it is that value.
  EXPECT_TRUE(same(call<g_aqxi>(real16(0x7ff00000), 2), kLargest));
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, 1397);
}

// Rows named in the definition of the operators.
TEST(IntegerPower, DefinedRows) {
  // Through g_arxi every square is rounded to Real4 (3^16 = 43046721 is
  // not one), so 3.0 ** 20 differs from the exactly rounded 3486784401;
  // through g_arxj it is rounded once.
  EXPECT_NE(call<g_arxi>(3.0f, 20), 3486784401.0f);
  EXPECT_EQ(call<g_arxj>(3.0f, int64_t(20)), 3486784401.0f);
  // 2.0 ** (-3) is exactly 0.125; 0.5 ** (-3) exactly 8.0; (-0.0) ** 3 is +0.
  EXPECT_EQ(call<g_adxi>(2.0, -3), 0.125);
  EXPECT_EQ(call<g_adxi>(0.5, -3), 8.0);
  EXPECT_EQ(bits_of(call<g_adxi>(-0.0, 3)), 0u);
  // (2, 0) ** (-2^40) through g_axxj is (0, 0) at once, (infinity, 1) too.
  for (const Complex16 z : {Complex16{2, 0}, Complex16{INFINITY, 1}})
    EXPECT_TRUE(same(call<g_axxj>(z, -(int64_t(1) << 40)), Complex16{0, 0}));
}

// ---- Zero base, negative exponent ---------------------------------------

// Error `number` through the exception path, the exponent reported (type
// code 3 or 4), base and exponent in the slots; the defaults `finite` /
// `ieee`; a handler that puts `two` in the base slot gets two ** n; with the
// reports off or muted, the default at once.
template <class X, class I>
void expect_zero_base(const char *name, X (*fn)(X, I), int32_t number, X finite, X ieee, I n, X two,
                      X two_to_n) {
  SCOPED_TRACE(name);
  for (std::uint8_t flag : {0, 1}) {
    Recorder rec(flag);
    X base_slot{};
    I exponent_slot = 0;
    rec.answer = [&](const Report &r, int) {
      base_slot = r.slot_as<X>(1), exponent_slot = r.slot_as<I>(2);
      return 0;
    };
    const X got = fn(X{}, n);
    ASSERT_EQ(rec.reports.size(), 1u);
    const Report &r = rec.reports[0];
    EXPECT_EQ(r.number, number);
    EXPECT_EQ(r.value_count, 1);
    EXPECT_EQ(r.value_type[0], sizeof(I) == 4 ? 3 : 4);
    EXPECT_EQ(r.value_as<I>(0), n);
    EXPECT_TRUE(same(base_slot, X{}));
    EXPECT_EQ(exponent_slot, n);
    EXPECT_TRUE(same(got, flag ? ieee : finite));
  }
  {
    Recorder rec(1);
    rec.answer = [two](const Report &r, int) { return replace(r, 1, two), 1; };
    EXPECT_TRUE(same(fn(X{}, n), two_to_n));
  }
  for (std::uint8_t mute : {0, 1}) {
    Recorder rec(0, mute, mute);  // reports off, or muted
    EXPECT_TRUE(same(fn(X{}, n), finite));
    EXPECT_TRUE(rec.reports.empty());
  }
}

TEST(IntegerPower, ZeroBaseErrors) {
  // Defaults for 0 ** negative: infinity / 0x7f7fffee, 0x7fefffffffffffb6,
  // the largest finite Real16; complex: (NaN, NaN) / (that value, 0).
  const float bigf = std::bit_cast<float>(0x7f7fffeeu), inff = INFINITY, nanf = NAN;
  const double bigd = std::bit_cast<double>(0x7fefffffffffffb6ull), infd = INFINITY, nand = NAN;
  const int32_t kMin4 = std::numeric_limits<int32_t>::min();
  const int64_t kMin8 = std::numeric_limits<int64_t>::min();
  expect_zero_base<float, int32_t>("g_arxi", call<g_arxi>, 261, bigf, inff, -3, 2, 0.125f);
  expect_zero_base<float, int64_t>("g_arxj", call<g_arxj>, 1413, bigf, inff, kMin8, 2, 0);
  expect_zero_base<double, int32_t>("g_adxi", call<g_adxi>, 264, bigd, infd, kMin4, 2, 0);
  expect_zero_base<double, int64_t>("g_adxj", call<g_adxj>, 265, bigd, infd, -1, 2, 0.5);
  expect_zero_base<Real16, int32_t>("g_aqxi", call<g_aqxi>, 268, kLargest, kInf, -2,
                                    real16(0x40000000), real16(0x3ffd0000));
  expect_zero_base<Real16, int64_t>("g_aqxj", call<g_aqxj>, 269, kLargest, kInf, -16382,
                                    real16(0x40000000), real16(0x00010000));
  expect_zero_base<Complex8, int32_t>("g_acxi", call<g_acxi>, 273, {bigf, 0}, {nanf, nanf}, -2,
                                      {2, 0}, {0.25f, 0});
  expect_zero_base<Complex8, int64_t>("g_acxj", call<g_acxj>, 1414, {bigf, 0}, {nanf, nanf}, -1,
                                      {2, 0}, {0.5f, 0});
  // (0, 0) ** (-2) for Complex16 under the infinity flag: two Real8 NaNs.
  expect_zero_base<Complex16, int32_t>("g_axxi", call<g_axxi>, 274, {bigd, 0}, {nand, nand}, -2,
                                       {2, 0}, {0.25, 0});
  expect_zero_base<Complex16, int64_t>("g_axxj", call<g_axxj>, 275, {bigd, 0}, {nand, nand}, -3,
                                       {2, 0}, {0.125, 0});
  expect_zero_base<Complex32, int32_t>("g_azxi", call<g_azxi>, 276, {kLargest, kZero}, {kNaN, kNaN},
                                       -1, {real16(0x40000000), kZero},
                                       {real16(0x3ffe0000), kZero});
  expect_zero_base<Complex32, int64_t>("g_azxj", call<g_azxj>, 277, {kLargest, kZero}, {kNaN, kNaN},
                                       -2, {real16(0x40000000), kZero},
                                       {real16(0x3ffd0000), kZero});
  // The INTEGER*4 complex forms test the modulus: a NaN one is not above 0.
  Recorder rec(1);
  EXPECT_TRUE(same(call<g_axxi>(Complex16{NAN, 1}, 3), Complex16{0, 0}));
  EXPECT_TRUE(rec.reports.empty());
  call<g_axxi>(Complex16{NAN, 1}, -1);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, 274);
}

}  // namespace
