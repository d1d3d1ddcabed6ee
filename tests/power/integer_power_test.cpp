// x ** n for an integer n, every base type: each entry bit for bit against
// its method written from the rules (squares and products rounded where the
// method rounds them) over a grid of bases times exponents; the INTEGER*8
// real forms against MPFR; the fixed points and the zero-base errors.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "power/power_points.h"

namespace power_test {
namespace {

using ld = long double;

template <class I>
std::uint64_t abs_of(I n) {
  return n < 0 ? 0 - static_cast<std::uint64_t>(static_cast<int64_t>(n)) : std::uint64_t(n);
}

template <class T>
bool is_zero(const T &x) {
  if constexpr (std::is_same_v<T, Real16>)
    return (x.w[3] & 0x7fffffff) == 0;
  else if constexpr (std::is_arithmetic_v<T>)
    return x == 0;
  else
    return is_zero(x.re) && is_zero(x.im);
}

// The library's operation f(result, a, b) as a function of values.
template <auto f>
constexpr auto op = [](auto a, const auto &b) { return f(&a, &a, &b), a; };
template <class C>
const C kUnit{1, 0};
template <>
const Complex32 kUnit<Complex32>{kOne, kZero};

// Methods 1 and 4, m = |n| > 0: p squared while m is even, r = start(p),
// then for each further bit of m p squared and, for a set bit, multiplied
// into r.
template <class V, class Sq, class Mul, class Start>
V by_squares(V p, std::uint64_t m, Sq sq, Mul mul, Start start) {
  for (; (m & 1) == 0; m >>= 1) p = sq(p);
  V r = start(p);
  for (m >>= 1; m != 0; m >>= 1)
    if (p = sq(p), m & 1) r = mul(r, p);
  return r;
}

// Method 1: squares stored as S, the accumulator as A; for n < 0 and that
// square in [-1, 1], accumulator 2p and numerator 2; the accumulator rounded
// to Real8 before the division.
template <class T, class S, class A>
T method1(T x, int32_t n) {
  if (x == 0) return n == 0 ? 1 : 0;
  if (n == 0 || x == 1) return 1;
  if (n == 1) return x;
  if (n == 2) return static_cast<T>(ld{x} * x);
  if (x == -1) return n % 2 ? -1 : 1;
  bool twice = false;
  const auto start = [&](ld p) {
    twice = n < 0 && std::fabs(p) <= 1;
    return ld{static_cast<A>(twice ? 2 * p : p)};
  };
  const ld r = by_squares<ld>(
      x, abs_of(n), [](ld p) { return ld{static_cast<S>(p * p)}; },
      [](ld r, ld p) { return ld{static_cast<A>(r * p)}; }, start);
  return static_cast<T>(n > 0 ? r : (twice ? 2 : 1) / ld{static_cast<double>(r)});
}

// Method 4: squares (a a - b b, 2ab) and products in the register, or with
// the Real16 operations and g_azmz; (1, 0) / the base first for n < 0 and a
// modulus below 1, else / the power at the end (g_axdx, g_azdz).
struct Reg {
  ld re, im;
};
template <class C>
C method4(C z, int32_t n) {
  if constexpr (std::is_same_v<C, Complex32>) {
    Real16 mod;
    g_cqabs(&mod, &z);
    const auto twice_ab = [](const Complex32 &a) {
      const Real16 ab = op<g_aqmq>(a.re, a.im);
      return op<g_aqaq>(ab, ab);
    };
    const auto sq = [&](const Complex32 &a) {
      return Complex32{op<g_aqsq>(op<g_aqmq>(a.re, a.re), op<g_aqmq>(a.im, a.im)), twice_ab(a)};
    };
    const auto inverse = [](const Complex32 &a) { return op<g_azdz>(kUnit<Complex32>, a); };
    if (is_zero(mod) || n == 0) return {n == 0 ? kOne : kZero, kZero};
    if (n == 1) return z;
    if (n == 2) return {op<g_aqmq>(op<g_aqsq>(z.re, z.im), op<g_aqaq>(z.re, z.im)), twice_ab(z)};
    const bool first = n < 0 && g_aflt(&mod, &kOne);
    const Complex32 r =
        by_squares(first ? inverse(z) : z, abs_of(n), sq, op<g_azmz>, std::identity());
    return n < 0 && !first ? inverse(r) : r;
  } else {
    using T = decltype(z.re);
    const Reg x{z.re, z.im};
    const auto inverse = [](Reg a) {
      const Complex16 q = op<g_axdx>(Complex16{1, 0}, Complex16{double(a.re), double(a.im)});
      return Reg{q.re, q.im};
    };
    const auto sq = [](Reg a) { return Reg{a.re * a.re - a.im * a.im, 2 * a.re * a.im}; };
    const auto mul = [](Reg a, Reg b) {
      return Reg{a.re * b.re - a.im * b.im, a.im * b.re + a.re * b.im};
    };
    const ld mod = std::hypot(x.re, x.im);
    if (!(mod > 0) || n == 0) return {n == 0 ? T(1) : T(0), 0};
    if (n == 1) return z;
    if (n == 2) return {T((x.re - x.im) * (x.re + x.im)), T(2 * x.re * x.im)};
    const bool first = n < 0 && mod < 1;
    Reg r = by_squares(first ? inverse(x) : x, abs_of(n), sq, mul, std::identity());
    if (n < 0 && !first) r = inverse(r);
    return {T(r.re), T(r.im)};
  }
}

// Methods 2, 3 and 5: r = one, p = x or one / x for n < 0, then right to
// left over the bits of |n|: r = r p for a set bit, p = p p before the next.
template <class V, class Mul, class Div>
V right_to_left(V x, int64_t n, V one, Mul mul, Div div) {
  if (is_zero(x)) return n == 0 ? one : V{};
  V r = one, p = n < 0 ? div(one, x) : x;
  for (std::uint64_t m = abs_of(n);; p = mul(p, p)) {
    if (m & 1) r = mul(r, p);
    if ((m >>= 1) == 0) return r;
  }
}

// Method 2 in the register, rounded once; the bases +-1 first.
template <class T>
T method2(T x, int64_t n) {
  if (x == 1 || x == -1) return n & 1 ? x : 1;
  return static_cast<T>(right_to_left<ld>(x, n, 1, std::multiplies<ld>(), std::divides<ld>()));
}

template <class I>
Real16 method3(Real16 x, I n) {
  return right_to_left(x, n, kOne, op<g_aqmq>, op<g_aqdq>);
}

// Method 5 with the library's product and quotient; g_axxj first gives
// +-(1, 0) for the bases (+-1, 0) and (0, 0) for n < -2^32 and a modulus of
// at least 1.0000001652591795.
template <auto mul, auto div, class C>
C method5(C z, int64_t n) {
  if constexpr (std::is_same_v<C, Complex16>) {
    if (z.im == 0 && (z.re == 1 || z.re == -1)) return {n & 1 ? z.re : 1, 0};
    if (n < -(int64_t(1) << 32) && g_cdabs(&z) >= 1.0000001652591795) return {0, 0};
  }
  return right_to_left(z, n, kUnit<C>, op<mul>, op<div>);
}

// Bases: zeros, +-1, NaN, infinities, subnormals, values near 1 and the
// extremes, and random ones; Real16 bases near 1, Complex32 ones with
// parts near 1.
template <class T>
std::vector<T> real_bases() {
  using L = std::numeric_limits<T>;
  std::vector<T> v = {0, -T(0), 1, -1, 2, -2, 0.5, 3, -3, T(0.1), T(-0.7), L::infinity()};
  v.insert(v.end(), {T(1) + L::epsilon(), T(1) - L::epsilon() / 2, L::min(), L::denorm_min(),
                     L::max(), -L::max(), -L::infinity(), L::quiet_NaN()});
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
std::vector<Real16> real16_bases() {
  Real16Sampler s(32);
  std::vector<Real16> v = {kZero, kMinusZero, kOne, real16(0xbfff0000), kNaN, kLargest};
  for (int i = 0; i < 60; ++i) v.push_back(s.with_exponent(0x3ffe + s.below32(3), s.below(2)));
  return v;
}
std::vector<Complex32> complex32_bases() {
  Real16Sampler s(33);
  std::vector<Complex32> v = {{kZero, kZero}, {kMinusZero, kZero}, {kOne, kZero}};
  for (int i = 0; i < 8; ++i)
    v.push_back({s.with_exponent(0x3ffe + s.below32(2), s.below(2)),
                 s.with_exponent(0x3ffc + s.below32(4), s.below(2))});
  return v;
}

// Exponents 0, +-1, +-2, small, huge, the most negative, and 40 random ones.
template <class I>
std::vector<I> exponents(Sampler &s) {
  using L = std::numeric_limits<I>;
  std::vector<I> e = {0,    1,    -1,    2,     -2,     3,        -3,       4,           -4,
                      7,    -7,   8,     -8,    31,     -31,      40,       -40,         127,
                      -128, 1000, -1023, 65536, -65537, L::max(), L::min(), L::min() + 1};
  if constexpr (sizeof(I) == 8) e.insert(e.end(), {I(1) << 32, -(I(1) << 32) - 1, I(-3000000000)});
  for (int i = 0; i < 40; ++i) e.push_back(static_cast<I>(s.uniform(-400, 400)));
  return e;
}

// fn(x, n) is ref(x, n) over the bases times the exponents, without a report
// (the Real16 forms with the reports off: the reference's steps overflow
// alike). A zero base with n < 0, and for the complex INTEGER*4 forms a NaN
// modulus, are the error points'.
template <auto fn>
void expect_method(Result<fn> (*ref)(Base<fn>, Exponent<fn>), const std::vector<Base<fn>> &xs) {
  using X = Base<fn>;
  Recorder rec(1, !std::is_same_v<X, Real16> && !std::is_same_v<X, Complex32>);
  Sampler s(std::hash<std::string>{}(name_of<fn>()));
  for (const X &x : xs)
    for (const Exponent<fn> n : exponents<Exponent<fn>>(s)) {
      bool skip = n < 0 && is_zero(x);
      if constexpr (std::is_same_v<X, Complex8> || std::is_same_v<X, Complex16>)
        skip = skip || (n < 0 && sizeof n == 4 && x.re != x.re);
      EXPECT_TRUE(skip || same(call<fn>(x, n), ref(x, n))) << name_of<fn>() << " " << n;
    }
  EXPECT_TRUE(rec.reports.empty()) << name_of<fn>();
}

TEST(IntegerPower, MatchTheirMethods) {
  expect_method<g_arxi>(method1<float, float, double>, real_bases<float>());
  expect_method<g_adxi>(method1<double, ld, ld>, real_bases<double>());
  expect_method<g_arxj>(method2<float>, real_bases<float>());
  expect_method<g_adxj>(method2<double>, real_bases<double>());
  expect_method<g_aqxi>(method3<int32_t>, real16_bases());
  expect_method<g_aqxj>(method3<int64_t>, real16_bases());
  expect_method<g_acxi>(method4<Complex8>, complex_bases<Complex8>());
  expect_method<g_axxi>(method4<Complex16>, complex_bases<Complex16>());
  expect_method<g_azxi>(method4<Complex32>, complex32_bases());
  expect_method<g_acxj>(method5<g_acmc, g_acdc, Complex8>, complex_bases<Complex8>());
  expect_method<g_axxj>(method5<g_axmx, g_axdx, Complex16>, complex_bases<Complex16>());
  expect_method<g_azxj>(method5<g_azmz, g_azdz, Complex32>, complex32_bases());
}

// The INTEGER*8 real forms round once: every register operation errs by
// 2^-64 relative, a square doubles the error it is given and the
// reciprocal's is raised to |n|: within 0.5 + (2 |n| + 128) 2^(p - 64) ulp
// of x^n (p = 24, 53).
template <auto fn>
void expect_mpfr() {
  using T = Result<fn>;
  Sampler s(std::hash<std::string>{}(name_of<fn>()));
  oracle::Big e, b;
  oracle::WorstCase worst;
  for (std::uint64_t i = 0; i < scaled(20000); ++i) {
    const T x = static_cast<T>(s.log_uniform_signed(0.5, 2));
    const int64_t n = static_cast<int64_t>(s.uniform(-1e4, 1e4));
    mpfr_set_d(b, static_cast<double>(x), MPFR_RNDN);
    mpfr_pow_si(e, b, n, MPFR_RNDN);
    if (std::abs(mpfr_get_exp(e)) >= std::numeric_limits<T>::max_exponent - 2) continue;
    const double err = oracle::ulp_error(call<fn>(x, n), e);
    worst.add(err, static_cast<double>(n));
    EXPECT_LE(err, 0.5 + double(2 * abs_of(n) + 128) *
                             std::ldexp(1.0, std::numeric_limits<T>::digits - 64))
        << name_of<fn>() << "(" << std::hexfloat << x << ", " << n << ")";
  }
  std::printf("  %s |x| in [0.5, 2), |n| < 1e4: %s\n", name_of<fn>().c_str(),
              worst.describe().c_str());
}

TEST(IntegerPower, Integer8FormsAgainstMpfr) {
  expect_mpfr<g_arxj>();
  expect_mpfr<g_adxj>();
}

TEST(IntegerPower, FixedPoints) {
  const int32_t kMin4 = std::numeric_limits<int32_t>::min();
  const int64_t kMin8 = std::numeric_limits<int64_t>::min(), kHuge = -(int64_t(1) << 40);
  const Real16 two = real16(0x40000000);
  const Complex8 two8{2, 0};
  const Complex16 two16{2, 0};
  const Complex32 two32{two, kZero};
  const std::function<void()> points[] = {
      // Through g_arxj 3.0 ** 40 is rounded once.
      at<g_arxj>(3, 40, static_cast<float>(12157665459056928801.0L)),
      // 2.0 ** (-3) through g_adxi is exactly 0.125; 0.5 ** (-3) exactly 8.0;
      // (-0.0) ** 3 is +0.0.
      at<g_adxi>(2, -3, 0.125),
      at<g_adxi>(0.5, -3, 8),
      at<g_adxi>(-0.0, 3, 0),
      // (2, 0) ** (-2^40) through g_axxj is (0, 0) without any multiplication.
      at<g_axxj>(two16, kHuge, {0, 0}),
      at<g_axxj>({INFINITY, 1}, kHuge, {0, 0}),
      // Zero base, n < 0: the exponent reported; the defaults _Inf_F /
      // 0x7f7fffee, _Inf_D / 0x7fefffffffffffb6, _Inf_Q / the largest finite
      // Real16, complex (NaN, NaN) / (that value, 0). A replaced base goes on.
      at<g_arxi>(0, -3, kBigF, 261, 1, kInfF, 2, {}, 0.125f),
      at<g_arxj>(-0.0f, kMin8, kBigF, 1413, 1, kInfF, 2, {}, 0),
      at<g_adxi>(0, kMin4, kBigD, 264, 1, kInfD, 2, {}, 0),
      at<g_adxj>(0, -1, kBigD, 265, 1, kInfD, 2, {}, 0.5),
      at<g_aqxi>(kZero, -2, kLargest, 268, 1, kInf, two, {}, real16(0x3ffd0000)),
      at<g_aqxj>(kMinusZero, -16382, kLargest, 269, 1, kInf, two, {}, real16(0x00010000)),
      at<g_acxi>({}, -2, {kBigF, 0}, 273, 1, {kNaNF, kNaNF}, two8, {}, {0.25f, 0}),
      at<g_acxj>({}, -1, {kBigF, 0}, 1414, 1, {kNaNF, kNaNF}, two8, {}, {0.5f, 0}),
      // (0, 0) ** (-2) for Complex16 under the infinity flag: two Real8 NaNs.
      at<g_axxi>({}, -2, {kBigD, 0}, 274, 1, {kNaND, kNaND}, two16, {}, {0.25, 0}),
      at<g_axxj>({}, -3, {kBigD, 0}, 275, 1, {kNaND, kNaND}, two16, {}, {0.125, 0}),
      at<g_azxi>({}, -1, {kLargest, kZero}, 276, 1, {kNaN, kNaN}, two32, {},
                 {real16(0x3ffe0000), kZero}),
      at<g_azxj>({kMinusZero, kZero}, -2, {kLargest, kZero}, 277, 1, {kNaN, kNaN}, two32, {},
                 {real16(0x3ffd0000), kZero}),
      // The complex INTEGER*4 forms test the modulus: a NaN one is not above 0.
      at<g_axxi>({NAN, 1}, 3, {0, 0}),
      at<g_axxi>({NAN, 1}, -1, {kBigD, 0}, 274, 1, {kNaND, kNaND}),
      // A step that overflows reports as the product does (1397): (2^16369)^2
      // becomes the largest finite value, and 1 times it is that value.
      at<g_aqxi>(real16(0x7ff00000), 2, kLargest, 1397, 0, kInf),
  };
  for (const auto &point : points) point();
}

}  // namespace
}  // namespace power_test
