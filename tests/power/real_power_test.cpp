// The ** operators: x ** n bit for bit against each method written from its
// rules; x ** y, 2 ** x, 10 ** x and the INTEGER*8 real forms against MPFR;
// the complex powers against their composition; the Real16 log tables; one
// table of the fixed points and errors of all 24 entries.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "power/tables/log_steps_table.h"
#include "support/family_table.h"
#include "support/ieee_constants.h"
#include "support/real16_functions.h"

namespace {

using namespace support;
using std::int32_t, std::int64_t;
using ld = long double;

// Result, base and exponent of x ** n, x ** y (the result by value or through
// a result address), 2 ** x and 10 ** x (whose base is only reported).
// clang-format off
template <class R, class X, class Y> std::tuple<R, X, Y> sig(R (*)(const X *, const Y *));
template <class R, class X, class Y> std::tuple<R, X, Y> sig(R *(*)(R *, const X *, const Y *));
template <class R> std::tuple<R, R, R> sig(R (*)(const R *));
template <class R> std::tuple<R, R, R> sig(R *(*)(R *, const R *));
template <auto fn> using Result = std::tuple_element_t<0, decltype(sig(fn))>;
template <auto fn> using Base = std::tuple_element_t<1, decltype(sig(fn))>;
template <auto fn> using Exponent = std::tuple_element_t<2, decltype(sig(fn))>;
// clang-format on

// fn(a, b); a result address must come back.
template <auto fn>
Result<fn> call(const Base<fn> &a, const Exponent<fn> &b) {
  using F = decltype(fn);
  Result<fn> r;
  if constexpr (std::is_invocable_v<F, const Base<fn> *, const Exponent<fn> *>)
    r = fn(&a, &b);
  else if constexpr (std::is_invocable_v<F, const Exponent<fn> *>)
    r = fn(&b);
  else if constexpr (std::is_invocable_v<F, Result<fn> *, const Exponent<fn> *>)
    EXPECT_EQ(fn(&r, &b), &r);
  else
    EXPECT_EQ(fn(&r, &a, &b), &r);
  return r;
}

// "g_arxi" for fn = g_arxi.
template <auto fn>
std::string name_of() {
  const std::string s = __PRETTY_FUNCTION__;  // "... [with auto fn = g_arxi; ...]"
  const std::size_t at = s.find("fn = ") + 5;
  return s.substr(at, s.find_first_of(";]", at) - at);
}

constexpr auto same = [](const auto &a, const auto &b) { return !std::memcmp(&a, &b, sizeof a); };
constexpr auto abs_of = [](auto n) { return n < 0 ? 0 - std::uint64_t(n) : std::uint64_t(n); };
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
// then p squared for each further bit and multiplied into r where it is set.
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
    if (is_zero(mod) || n == 0) return n == 0 ? kUnit<C> : C{};
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
    if (!(mod > 0) || n == 0) return n == 0 ? kUnit<C> : C{};
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

// Bases: zeros, +-1, NaN, infinities, subnormals, values near 1, the
// extremes and random ones.
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
  std::vector<C> v = {{0, 0},        {-T(0), 0}, {1, 0},           {-1, 0}, {0, 1},
                      {2, 0},        {.5, .5},   {T(0.6), T(0.8)}, {3, -4}, {T(1e-3), T(2e-3)},
                      {INFINITY, 1}, {NAN, 1}};
  Sampler s(sizeof(C));
  for (int i = 0; i < 150; ++i)
    v.push_back({T(s.log_uniform_signed(0.25, 4)), T(s.log_uniform_signed(0x1p-10, 4))});
  return v;
}
// fn(x, n) is ref(x, n) for the bases times exponents 0, +-1, +-2, small,
// huge, the most negative and random ones, without a report (the Real16
// forms with the reports off: the reference's steps overflow alike); a zero
// base with n < 0 (complex INTEGER*4: a NaN modulus too) is an error point.
template <auto fn>
void expect_method(Result<fn> (*ref)(Base<fn>, Exponent<fn>), const std::vector<Base<fn>> &xs) {
  using X = Base<fn>;
  using I = Exponent<fn>;
  using L = std::numeric_limits<I>;
  Recorder rec(1, !std::is_same_v<X, Real16> && !std::is_same_v<X, Complex32>);
  Sampler s(std::hash<std::string>{}(name_of<fn>()));
  for (const X &x : xs) {
    std::vector<I> ns = {0,    1,    -1,    2,     -2,     3,        -3,       4,           -4,
                         7,    -7,   8,     -8,    31,     -31,      40,       -40,         127,
                         -128, 1000, -1023, 65536, -65537, L::max(), L::min(), L::min() + 1};
    if (sizeof(I) == 8) ns.insert(ns.end(), {I(1ll << 32), I(-(1ll << 32) - 1), I(-3000000000)});
    for (int i = 0; i < 40; ++i) ns.push_back(static_cast<I>(s.uniform(-400, 400)));
    for (const I n : ns) {
      bool skip = n < 0 && is_zero(x);
      if constexpr (std::is_same_v<X, Complex8> || std::is_same_v<X, Complex16>)
        skip = skip || (n < 0 && sizeof n == 4 && x.re != x.re);
      EXPECT_TRUE(skip || same(call<fn>(x, n), ref(x, n))) << name_of<fn>() << " " << n;
    }
  }
  EXPECT_TRUE(rec.reports.empty()) << name_of<fn>();
}

TEST(IntegerPower, MatchTheirMethods) {
  Real16Sampler r(32);  // Real16 bases near 1, Complex32 ones of pairs of them
  std::vector<Real16> q = {kZero, kMinusZero, kOne, real16(0xbfff0000), kNaN, kLargest};
  for (int i = 0; i < 60; ++i) q.push_back(r.with_exponent(0x3ffe + r.below32(3), r.below(2)));
  std::vector<Complex32> z = {{kZero, kZero}, {kMinusZero, kZero}, {kOne, kZero}};
  for (int i = 6; i < 22; i += 2) z.push_back({q[i], q[i + 1]});
  expect_method<g_arxi>(method1<float, float, double>, real_bases<float>());
  expect_method<g_adxi>(method1<double, ld, ld>, real_bases<double>());
  expect_method<g_arxj>(method2<float>, real_bases<float>());
  expect_method<g_adxj>(method2<double>, real_bases<double>());
  expect_method<g_aqxi>(method3<int32_t>, q);
  expect_method<g_aqxj>(method3<int64_t>, q);
  expect_method<g_acxi>(method4<Complex8>, complex_bases<Complex8>());
  expect_method<g_axxi>(method4<Complex16>, complex_bases<Complex16>());
  expect_method<g_azxi>(method4<Complex32>, z);
  expect_method<g_acxj>(method5<g_acmc, g_acdc, Complex8>, complex_bases<Complex8>());
  expect_method<g_axxj>(method5<g_axmx, g_axdx, Complex16>, complex_bases<Complex16>());
  expect_method<g_azxj>(method5<g_azmz, g_azdz, Complex32>, z);
}

// The INTEGER*8 real forms round once; each register operation errs by
// 2^-64 relative, doubled by a square, and the reciprocal's is raised to
// |n|: within 0.5 + (2 |n| + 128) 2^(p - 64) ulp (p = 24, 53).
template <auto fn>
void expect_integer8() {
  using T = Result<fn>;
  Sampler s(std::hash<std::string>{}(name_of<fn>()));
  oracle::Big e;
  oracle::WorstCase worst;
  for (std::uint64_t i = 0; i < scaled(20000); ++i) {
    const T x = static_cast<T>(s.log_uniform_signed(0.5, 2));
    const int64_t n = static_cast<int64_t>(s.uniform(-1e4, 1e4));
    mpfr_pow_si(e, oracle::Big(static_cast<double>(x)), n, MPFR_RNDN);
    if (std::abs(mpfr_get_exp(e)) >= std::numeric_limits<T>::max_exponent - 2) continue;
    const double err = oracle::ulp_error(call<fn>(x, n), e);
    worst.add(err, static_cast<double>(n));
    EXPECT_LE(err, 0.5 + double(2 * abs_of(n) + 128) *
                             std::ldexp(1.0, std::numeric_limits<T>::digits - 64))
        << name_of<fn>() << "(" << std::hexfloat << x << ", " << n << ")";
  }
  print_worst((name_of<fn>() + " |x| in [0.5, 2), |n| < 1e4").c_str(), worst);
}

TEST(IntegerPower, Integer8FormsAgainstMpfr) {
  expect_integer8<g_arxj>();
  expect_integer8<g_adxj>();
}

// x log-uniform in [xlo, xhi) (negated when `negative`), w uniform in
// [wlo, whi), y = w / log2|x| (an integer when `integral`; Real16 operands
// with random bits to the last place); pairs whose w leaves [wlo, whi) once
// x and y are rounded are left out. The bound: ulps + per_w |w|.
struct PowRange {
  double xlo, xhi, wlo, whi, ulps, per_w = 0;
  bool negative = false, integral = false;
};

// Operands as the type (Real16: random bits to the last place), as a Real8
// and exactly.
// clang-format off
template <class T> T operand(double v, Sampler &) { return static_cast<T>(v); }
template <> Real16 operand(double v, Sampler &s) { return support::widened(v, s.bits()); }
// clang-format on
double to_d(double v) { return v; }
double to_d(const Real16 &v) { return g_dbleq(&v); }
oracle::Big big(double v) { return oracle::Big(v); }
oracle::Exact big(const Real16 &v) { return oracle::Exact(v); }

template <auto fn>
void expect_pow(const std::vector<PowRange> &ranges) {
  using T = Result<fn>;
  Recorder rec;
  for (const PowRange &r : ranges) {
    char what[96];
    std::snprintf(what, sizeof what, "%s x in %s[%g, %g), w in [%g, %g)", name_of<fn>().c_str(),
                  r.negative ? "-" : "", r.xlo, r.xhi, r.wlo, r.whi);
    Sampler s(std::hash<std::string>{}(name_of<fn>()) + std::uint64_t(r.xlo * 1e6 + r.wlo));
    oracle::WorstCase worst;
    oracle::Big e;
    int failures = 0;
    for (std::uint64_t i = 0; i < scaled(8000); ++i) {
      const double ax = std::exp2(s.uniform(std::log2(r.xlo), std::log2(r.xhi)));
      const double y = s.uniform(r.wlo, r.whi) / std::log2(ax);
      const T x = operand<T>(r.negative ? -ax : ax, s),
              yt = operand<T>(r.integral ? std::nearbyint(y) : y, s);
      const double w = to_d(yt) * std::log2(std::fabs(to_d(x)));
      if (std::fabs(to_d(x)) == 1 || to_d(yt) == 0 || !(w >= r.wlo && w < r.whi)) continue;
      mpfr_pow(e, big(x), big(yt), MPFR_RNDN);
      const double err = oracle::ulp_error(call<fn>(x, yt), e);
      worst.add(err, to_d(yt));
      if (!(err <= r.ulps + r.per_w * std::fabs(w)) && ++failures <= 5)
        ADD_FAILURE() << what << ": " << std::hexfloat << to_d(x) << ", " << to_d(yt) << ": "
                      << err;
    }
    print_worst(what, worst);
  }
  EXPECT_TRUE(rec.reports.empty()) << name_of<fn>();
}

// Real4: the core's series for ln m errs by 1.378e-9 relative, |w| 1.378e-9
// in w and ln 2 times that in the result: 0.01602 |w| ulp. Real16: w = y
// log2 x, one rounded product, errs by about |w| 2^-112 with g_qlog2's
// error, ln 2 times that relative in 2^w, and g_qexp2 adds half an ulp and a
// bit: 1 + 1.4 |w| ulp. Real8: P, the omitted L (2^r - 1) and the register
// err by 2.9e-18 relative, at most 0.0233 ulp (significand 1.947): 0.524 ulp.
TEST(RealPower, AgainstMpfr) {
  constexpr double k4 = 0.01602, k8 = 0.524;
  expect_pow<g_arxr>({{0x1p-60, 0x1p60, -126, 127.9, 0.5001, k4},
                      {0.99, 1.01, -126, 127.9, 0.5001, k4},
                      {0x1p-149, 0x1p-126, -126, 127.9, 0.5001, k4},
                      {0.1, 1e4, -100, 100, 0.5001, k4, true, true}});
  expect_pow<g_adxd>({{0x1p-1000, 0x1p1000, -1022, 1023.99, k8},
                      {1 - 0x1p-30, 1 + 0x1p-30, -1022, 1023.99, k8},
                      {0x1p-1074, 0x1p-1022, -1022, 1023, k8},
                      {0x1p-10, 0x1p10, -1074, -1022, k8},
                      {0.1, 1e4, -1000, 1000, k8, 0, true, true}});
  // r near 1/128, 2^w = 1.95 2^1014 near the top of its binade: 0.5208 ulp
  const double x8 = 0x1.fffffffd40fbdp-1, y8 = -0x1.002eb23ba6e73p+41;
  oracle::Big e8;
  mpfr_pow(e8, oracle::Big(x8), oracle::Big(y8), MPFR_RNDN);
  EXPECT_LE(oracle::ulp_error(g_adxd(&x8, &y8), e8), k8);
  expect_pow<g_aqxq>({{0x1p-40, 0x1p40, -16000, 16000, 1, 1.4}});
}

// 2 ** x and 10 ** x: the bounds of the exponentials whose steps they share.
// Real16: the steps and tables err by about 2^-120 relative; for x < 0 the
// reduction rounds f + 1 (2 ** x: ln 2 2^-114 relative, 0.35 ulp below a
// power of two) or x + log10 2 (10 ** x, n = -1: 1.16 ulp); r of 10 ** x is
// rounded once (ln 10 2^-115 relative: 0.58 ulp).
TEST(RealPower, TwoAndTenToTheX) {
  check(row<float>("g_a2xr", g_a2xr, mpfr_exp2, {{-126, 127.99, 0.508}}));
  check(row<float>("g_atxr", g_atxr, mpfr_exp10, {{-37.9, 38.5, 0.508}}));
  check(row<double>("g_a2xd", g_a2xd, mpfr_exp2, {{-1022, 1023.99, 0.53}}));
  check(row<double>("g_atxd", g_atxd, mpfr_exp10, {{-307, 308.25, 0.53}}));
  const auto ranges = [](double top, double ulps, double negative_ulps) {
    return std::vector<Range16>{{0, top, ulps},
                                {2 - top, 0, negative_ulps},
                                {0x1p-120, 1, ulps, Draw::positive_log},
                                {0x1p-120, 1, negative_ulps, Draw::log}};
  };
  check(Row16{"g_a2xq", g_a2xq, mpfr_exp2, kNone, ranges(16383.99, 0.51, 0.86), {}, {}, {}, 1500});
  check(Row16{"g_atxq", g_atxq, mpfr_exp10, kNone, ranges(4932, 1.08, 1.66), {}, {}, {}, 1500});
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
      mpfr_log_ui(b, ten ? 10 : 2, MPFR_RNDN);
      mpfr_div(v, v, b, MPFR_RNDN);
      mpfr_mul_2si(v, v, ten ? 129 - 96 : 127 - 96, MPFR_RNDN);  // in units of the top word
      const Fixed128 &got = (ten ? vx::log_steps_table::a10 : vx::log_steps_table::a2)[k];
      for (int i = 0; i < 4; ++i) {  // minus the entry, a word at a time
        mpfr_sub_ui(v, v, got.w[i], MPFR_RNDN);
        mpfr_mul_2ui(v, v, i < 3 ? 32 : 0, MPFR_RNDN);
      }
      EXPECT_LE(std::fabs(mpfr_get_d(v, MPFR_RNDN)), 0.5) << (ten ? "a10[" : "a2[") << k << "]";
    }
}

// exp(y log x) of the type's logarithm, product and exponential.
template <class C>
C composed(const C &x, const C &y, C *(*log)(C *, const C *),
           void (*mul)(C *, const C *, const C *), C *(*exp)(C *, const C *)) {
  C w;
  mul(&w, log(&w, &x), &y);
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
  for (std::uint64_t i = 0; i < scaled(2000); ++i) {
    const Complex16 x{s.log_uniform_signed(1e-3, 1e3), s.log_uniform_signed(1e-3, 1e3)},
        y{s.uniform(-20, 20), s.uniform(-20, 20)};
    const Complex8 x8{float(x.re), float(x.im)}, y8{float(y.re), float(y.im)};
    const Complex16 w = composed(widened(x8), widened(y8), g_cdlog, g_axmx, g_cdexp);
    EXPECT_TRUE(same(call<g_axxx>(x, y), composed(x, y, g_cdlog, g_axmx, g_cdexp)));
    EXPECT_TRUE(same(call<g_acxc>(x8, y8), Complex8{float(w.re), float(w.im)}));
    if (i >= scaled(300)) continue;
    using support::widened;  // a Real8 as a Real16
    const Complex32 x32{widened(x.re), widened(x.im)}, y32{widened(y.re), widened(y.im)};
    EXPECT_TRUE(same(call<g_azxz>(x32, y32), composed(x32, y32, g_cqlog, g_azmz, g_cqexp)));
  }
  EXPECT_TRUE(rec.reports.empty());
}

// The type code of a reported value.
template <class T>
constexpr int kCode = sizeof(T) == 16 ? 11 : (std::is_integral_v<T> ? 2 : 8) + sizeof(T) / 4;

// A row: fn(a, b) gives `want` without a report; or, with `error`, reports
// it with `values` values (1: b; 2: a and b; 0: reported by a step, with its
// own slots) and gives `want` under infinity flag 0 (or with the reports off
// or muted, at once), `ieee` under 1. A handler that writes fix_a and fix_b
// (those given) into the slots and resumes gets `fixed`.
template <auto fn>
std::function<void()> at(Base<fn> a, Exponent<fn> b, Result<fn> want, int32_t error = 0,
                         int values = 0, Result<fn> ieee = {}, std::optional<Base<fn>> fix_a = {},
                         std::optional<Exponent<fn>> fix_b = {}, Result<fn> fixed = {}) {
  return [=] {
    SCOPED_TRACE(name_of<fn>() + " error " + std::to_string(error));
    for (int mode : {0, 1, 2, 3}) {  // infinity flag 0, 1; reports off; muted
      Recorder rec(mode == 1, mode != 2, mode == 3);
      Base<fn> slot1{};
      Exponent<fn> slot2{};
      rec.answer = [&](const Report &r, int) {
        return slot1 = r.slot_as<Base<fn>>(1), slot2 = r.slot_as<Exponent<fn>>(2), 0;
      };
      EXPECT_TRUE(same(call<fn>(a, b), mode == 1 && error ? ieee : want)) << "mode " << mode;
      ASSERT_EQ(rec.reports.empty(), error == 0 || mode > 1);
      if (error == 0) return;
      if (mode > 1) continue;
      const Report &r = rec.reports[0];
      EXPECT_EQ(r.number, error);
      if (values == 0) continue;  // a step's report, once per step
      EXPECT_EQ(rec.reports.size(), 1u);
      EXPECT_EQ(r.value_count, values);
      EXPECT_EQ(r.value_type[values - 1], kCode<Exponent<fn>>);
      EXPECT_TRUE(same(r.value_as<Exponent<fn>>(values - 1), b));
      EXPECT_TRUE(values == 1 ||
                  (r.value_type[0] == kCode<Base<fn>> && same(r.value_as<Base<fn>>(0), a)));
      EXPECT_TRUE(same(slot1, a) && same(slot2, b));
    }
    if (!fix_a && !fix_b) return;
    Recorder rec;
    rec.answer = [&](const Report &r, int index) {
      if (fix_a) replace(r, 1, *fix_a);
      if (fix_b) replace(r, 2, *fix_b);
      return index == 0;
    };
    EXPECT_TRUE(same(call<fn>(a, b), fixed)) << "resumed";
  };
}

TEST(Power, FixedPointsAndErrors) {
  const int64_t kMin8 = std::numeric_limits<int64_t>::min();
  const float nanf = NAN, x3 = 1.1f, root = call<g_arxr>(8, 0.25f);
  const double nand = NAN, d3 = 1.1;
  const Real16 two = real16(0x40000000), m2 = real16(0xc0000000), four = real16(0x40010000),
               half = real16(0x3ffe0000), ten = real16(0x40024000), big = real16(0x400d0000);
  const std::function<void()> points[] = {
      // Zero base, n < 0: the exponent reported; the defaults _Inf_F /
      // 0x7f7fffee, _Inf_D / 0x7fefffffffffffb6, _Inf_Q / the largest finite
      // Real16, complex (NaN, NaN) / (that value, 0). A replaced base goes on.
      at<g_arxi>(0, -3, kBigF, 261, 1, kInfF, 2, {}, 0.125f),
      at<g_arxj>(-0.0f, kMin8, kBigF, 1413, 1, kInfF, 2, {}, 0),
      at<g_adxi>(0, INT32_MIN, kBigD, 264, 1, kInfD, 2, {}, 0),
      at<g_adxj>(0, -1, kBigD, 265, 1, kInfD, 2, {}, 0.5),
      at<g_aqxi>(kZero, -2, kLargest, 268, 1, kInf, two, {}, real16(0x3ffd0000)),
      at<g_aqxj>(kMinusZero, -16382, kLargest, 269, 1, kInf, two, {}, real16(0x00010000)),
      at<g_acxi>({}, -2, {kBigF, 0}, 273, 1, {kNaNF, kNaNF}, Complex8{2, 0}, {}, {0.25f, 0}),
      at<g_acxj>({}, -1, {kBigF, 0}, 1414, 1, {kNaNF, kNaNF}, Complex8{2, 0}, {}, {0.5f, 0}),
      // (0, 0) ** (-2) for Complex16 under the infinity flag: two Real8 NaNs.
      at<g_axxi>({}, -2, {kBigD, 0}, 274, 1, {kNaND, kNaND}, Complex16{2, 0}, {}, {0.25, 0}),
      at<g_axxj>({}, -3, {kBigD, 0}, 275, 1, {kNaND, kNaND}, Complex16{2, 0}, {}, {0.125, 0}),
      at<g_azxi>({}, -1, {kLargest, kZero}, 276, 1, {kNaN, kNaN}, Complex32{two, kZero}, {},
                 {half, kZero}),
      at<g_azxj>({kMinusZero, kZero}, -2, {kLargest, kZero}, 277, 1, {kNaN, kNaN},
                 Complex32{two, kZero}, {}, {real16(0x3ffd0000), kZero}),
      // The complex INTEGER*4 forms test the modulus: a NaN one is not above 0.
      at<g_axxi>({NAN, 1}, -1, {kBigD, 0}, 274, 1, {kNaND, kNaND}),
      // A step that overflows reports as the product does (1397): (2^16369)^2
      // becomes the largest finite value, and 1 times it is that value.
      at<g_aqxi>(real16(0x7ff00000), 2, kLargest, 1397, 0, kInf),
      // x ** y: y = 0 gives 1 for every x (before any zero test); the integer
      // shortcut (x * x * x in the register, rounded once); the core and the
      // parity of y; a zero x with y > 0 gives +0, a NaN x too; w below -127
      // (-1080, -16382) gives +0 without a report.
      at<g_arxr>(nanf, 0, 1), at<g_arxr>(0, 0, 1), at<g_arxr>(-2, 3, -8),
      at<g_arxr>(x3, 3, float(ld{x3} * x3 * x3)), at<g_arxr>(-2, 10, 1024), at<g_arxr>(2, 8, 256),
      at<g_arxr>(-2, -3, -0.125f), at<g_arxr>(0, 2.5f, 0), at<g_arxr>(nanf, 2.5f, 0),
      at<g_arxr>(2, -127.5f, 0), at<g_adxd>(nand, 0, 1), at<g_adxd>(-2, 10, 1024),
      at<g_adxd>(d3, 3, double(ld{d3} * d3 * d3)), at<g_adxd>(2, -1074, 0x1p-1074),
      at<g_adxd>(2, 1023, 0x1p1023), at<g_adxd>(nand, 0.5, 0), at<g_adxd>(8, nand, nand),
      at<g_adxd>(0.5, 1080, 0), at<g_aqxq>(kNaN, kZero, kOne),
      at<g_aqxq>(kMinusZero, kMinusZero, kOne), at<g_aqxq>(kMinusZero, half, kZero),
      at<g_aqxq>(m2, real16(0x40008000), real16(0xc0020000)),  // (-2) ** 3 = -8
      at<g_aqxq>(m2, real16(0x40024000), real16(0x40090000)),  // (-2) ** 10 = 1024
      at<g_aqxq>(two, real16(0xc00cfff0), kZero),
      // 2 ** x, 10 ** x: x at or below -127 (-16382, -4931.44) gives +0.
      at<g_a2xr>(2, -150, 0), at<g_a2xq>(two, kZero, kOne), at<g_a2xq>(two, kMinusInf, kZero),
      at<g_a2xq>(two, real16(0x400c0000), real16(0x5fff0000)),  // 2 ** 8192
      at<g_a2xq>(two, real16(0xc00cfff0), kZero), at<g_atxq>(ten, real16(0xc00b3437), kZero),
      at<g_atxq>(ten, two, real16(0x40059000)),
      at<g_atxq>(ten, real16(0xbfff0000), real16(0x3ffb9999, 0x99999999, 0x99999999, 0x9999999a)),
      // (0, 0) ** (0, 0) is (1, 0); (0, 0) ** (1, 1) is (0, 0), without a report.
      at<g_axxx>({0, 0}, {0, 0}, {1, 0}), at<g_axxx>({0, 0}, {1, 1}, {0, 0}),
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
      at<g_arxr>(0, -1, kBigF, 262, 1, kInfF), at<g_arxr>(-0.0f, -2.5f, kBigF, 262, 1, kInfF),
      at<g_adxd>(0, -0.5, kBigD, 266, 1, kInfD, 4, {}, 0.5),
      at<g_aqxq>(kZero, real16(0xbfff0000), kLargest, 270, 1, kInf),
      // Overflow: both reported (for 2 ** x and 10 ** x the base first), the
      // same defaults; a changed base hands over to the power operator.
      at<g_arxr>(10, 50, kBigF, 1416, 2, kInfF, {}, 3, 1000),
      at<g_arxr>(-10, 51, kBigF, 1416, 2, kInfF), at<g_arxr>(2, 128, kBigF, 1416, 2, kInfF),
      at<g_a2xr>(2, 128, kBigF, 1416, 2, kInfF, 3, 2, 9),
      at<g_a2xr>(2, 128, kBigF, 1416, 2, kInfF, {}, 3, 8),
      at<g_atxr>(10, f32(0x421a1fbe), kBigF, 1416, 2, kInfF),  // 38.531
      at<g_adxd>(10, 400, kBigD, 1417, 2, kInfD), at<g_adxd>(INFINITY, 0.5, kBigD, 1417, 2, kInfD),
      at<g_a2xd>(2, 1024, kBigD, 1417, 2, kInfD), at<g_atxd>(10, 308.254, kBigD, 1417, 2, kInfD),
      at<g_aqxq>(two, big, kLargest, 272, 2, kInf),  // 2 ** 16384
      at<g_a2xq>(two, big, kLargest, 272, 2, kInf, four, real16(0x40008000), real16(0x40050000)),
      at<g_a2xq>(two, kNaN, kLargest, 272, 2, kInf),
      at<g_atxq>(ten, real16(0x400b3441), kLargest, 272, 2, kInf, {}, two, real16(0x40059000))};
  for (const auto &point : points) point();
}

}  // namespace
