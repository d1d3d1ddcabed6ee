// The Real16 relational operators, conversions, elemental intrinsics,
// negation and Complex32 helpers: rows from their rules, bit for bit, and
// random arguments against MPFR wherever the rules give way to values.
//
// Bounds: 0 ulp. Integers, Real4 and Real8 convert to Real16 exactly;
// g_dbleq and g_snglq round to nearest, ties to even (subnormal results
// included), saturate at the largest finite value with x's sign and give
// +0.0 below half the smallest subnormal; g_iqint and g_ajcq truncate with
// their saturation rules; AINT, ANINT, MOD and g_qprod are the rounded
// arithmetic they are made of.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using namespace support;
using oracle::Op;
using oracle::same_bits;

// Results of every type as Real16 words, so that one table compares them:
// integers and the bits of Real8 and Real4 values in words 0 and 1.
Real16 w(std::uint64_t v) {
  return real16(0, 0, static_cast<std::uint32_t>(v >> 32), static_cast<std::uint32_t>(v));
}
Real16 d(double x) { return w(std::bit_cast<std::uint64_t>(x)); }
Real16 f(float x) { return w(std::bit_cast<std::uint32_t>(x)); }
// The Real16 result of fn on arguments passed by address.
template <class... A>
Real16 q(Real16 *(*fn)(Real16 *, const A *...), const A &...x) {
  Real16 r;
  fn(&r, &x...);
  return r;
}
// The result of a conversion of x, as words.
template <auto kFn>
Real16 v(Real16 x) {
  const auto r = kFn(&x);
  std::uint64_t bits = 0;
  std::memcpy(&bits, &r, sizeof r);
  return w(bits);
}
Real16 neg(const Real16 &x) {
  Real16 r;
  return ulx_gqqc(&r, x) == &r ? r : kNaN;
}
// The six relations as the hex digits eq ne gt ge lt le.
std::uint64_t relations(const Real16 &a, const Real16 &b) {
  return std::uint64_t(g_afeq(&a, &b)) << 20 | g_afne(&a, &b) << 16 | g_afgt(&a, &b) << 12 |
         g_afge(&a, &b) << 8 | g_aflt(&a, &b) << 4 | g_afle(&a, &b);
}
constexpr std::uint64_t kEqual = 0x100101, kBelow = 0x010011, kAbove = 0x011100,
                        kUnordered = 0x010000;

// y of type code `code` beside x = 1: the imaginary part of g_qcmpxo, or with
// the presence flag 0 the +0 it gives instead.
Real16 cmpxo(const void *y, std::int32_t code, std::int32_t present = 1) {
  Complex32 z;
  if (g_qcmpxo(&z, &kOne, y, &present, &code) != &z || !same_bits(z.re, kOne)) return kNaN;
  return z.im;
}

TEST(Rows, FollowTheRules) {
  const Real16 two = real16(0x40000000), minus_two = real16(0xc0000000);
  const Real16 half = real16(0x3ffe0000), minus_half = real16(0xbffe0000);
  const Real16 x = real16(0xc0011234, 5, 6, 7), abs_x = real16(0x40011234, 5, 6, 7);
  const Real16 garbage_zero = real16(0, 0, 0, 1), low_nan = real16(0x7fff0000, 0, 0, 1);
  const std::int8_t i1 = -5;
  const std::int16_t i2 = -300;
  const std::int32_t i4 = 123456;
  const std::int64_t i8 = -(1ll << 40);
  const float r4 = 0.5f;
  const double r8 = -0.25;
  const Complex32 z = {real16(0x40001111, 1, 2, 3), kZero};
  Complex32 c;
  const struct {
    const char *rule;
    Real16 got, want;
  } rows[] = {
      // Relations: equal zeros first, then NaN patterns, then identity or
      // sign and magnitude.
      {"+0 and -0 are equal zeros", w(relations(kZero, kMinusZero)), w(kEqual)},
      {"-0 < +0 does not hold", w(relations(kMinusZero, kZero)), w(kEqual)},
      {"+0 and a zero with a nonzero word 0 differ", w(relations(kZero, garbage_zero)), w(kBelow)},
      {"-0 and a zero with garbage are not equal zeros", w(relations(kMinusZero, garbage_zero)),
       w(kBelow)},
      {"NaN against a number: only /= holds", w(relations(kNaN, kOne)), w(kUnordered)},
      {"a NaN by its lowest fraction bit", w(relations(low_nan, low_nan)), w(kUnordered)},
      {"_Inf_Q is ordered like a number", w(relations(kInf, kOne)), w(kAbove)},
      {"word 0 decides, negative", w(relations(x, real16(0xc0011234, 5, 6, 8))), w(kAbove)},
      // Integers to Real16: exact; the most negative values directly.
      {"QFLOAT(-2^31)", q(g_qfloat, std::int32_t{INT32_MIN}), real16(0xc01e0000)},
      {"g_aqcj(-2^63)", q(g_aqcj, std::int64_t{INT64_MIN}), real16(0xc03e0000)},
      {"g_aqcj(0) is +0", q(g_aqcj, std::int64_t{0}), kZero},
      // Real4 and Real8 to Real16.
      {"-0.0f gives +0", q(g_qext, -0.0f), kZero},
      {"-0.0 gives +0", q(g_qextd, -0.0), kZero},
      {"the smallest Real4 subnormal is 2^-149", q(g_qext, 0x1p-149f), real16(0x3f6a0000)},
      {"a Real4 infinity is rebiased to 2^128", q(g_qext, std::numeric_limits<float>::infinity()),
       real16(0x407f0000)},
      {"a Real8 NaN keeps its fraction bits",
       q(g_qextd, std::bit_cast<double>(0xfff8000000000001ull)), real16(0xc3ff8000, 0, 0x10000000)},
      // Real16 to Real8 and integers.
      {"1 + 2^-53 is a tie: 1.0", v<g_dbleq>(real16(0x3fff0000, 0, 0x08000000)), d(1.0)},
      {"1 + 3 * 2^-54 rounds up", v<g_dbleq>(real16(0x3fff0000, 0, 0x0c000000)), d(1.0 + 0x1p-52)},
      {"a zero with garbage is +0.0", v<g_dbleq>(real16(kSign16, 1, 2, 3)), d(0.0)},
      {"g_ajcq of a zero with garbage is 0", v<g_ajcq>(real16(kSign16, 1, 2, 3)), w(0)},
      // Elemental intrinsics.
      {"ABS clears the sign bit", q(g_qabs, x), abs_x},
      {"SIGN(|x|, -2) is -|x|", q(g_qsign, abs_x, minus_two), x},
      {"SIGN(x, -0) counts -0 as positive", q(g_qsign, x, kMinusZero), abs_x},
      {"SIGN(x, -0 with garbage) is negative", q(g_qsign, abs_x, real16(kSign16, 1)), x},
      {"DIM(2, -2) is 4", q(g_qdim, two, minus_two), real16(0x40010000)},
      {"DIM(-2, 2) is +0", q(g_qdim, minus_two, two), kZero},
      {"DIM(-0, +0): a - b is -0, whose sign bit gives +0", q(g_qdim, kMinusZero, kZero), kZero},
      {"MAX(-0, +0) is +0", q(g_qmax1, kMinusZero, kZero), kZero},
      {"MIN(+0, -0) is -0", q(g_qmin1, kZero, kMinusZero), kMinusZero},
      {"MAX(-2, -0.5) is -0.5", q(g_qmax1, minus_two, minus_half), minus_half},
      {"MIN(2, 0.5) is 0.5", q(g_qmin1, two, half), half},
      {"ANINT(-0) is +0", q(g_qnint, kMinusZero), kZero},
      // Negation by value: a word 3 of 0x80000000 gives +0, words 0 to 2 kept.
      {"-(+0) is +0", neg(kZero), kZero},
      {"-(-0 with garbage) is +0 with the garbage", neg(real16(kSign16, 1, 2, 3)),
       real16(0, 1, 2, 3)},
      {"-(-1) is 1", neg(real16(0xbfff0000, 0, 0, 5)), real16(0x3fff0000, 0, 0, 5)},
      // Complex32.
      {"REAL(CMPLX(re, im))", q(g_qreal, (g_qcmplx(&c, &x, &abs_x), c)), x},
      {"AIMAG(CMPLX(re, im))", q(g_qimag, c), abs_x},
      {"CONJG inverts the sign of +0", (g_qconjg(&c, &z), c.im), kMinusZero},
      {"CONJG keeps the real part", c.re, z.re},
      {"CMPLX(1, INTEGER*1 -5)", cmpxo(&i1, 1), real16(0xc0014000)},
      {"CMPLX(1, INTEGER*2 -300)", cmpxo(&i2, 2), real16(0xc0072c00)},
      {"CMPLX(1, INTEGER*4 123456)", cmpxo(&i4, 3), real16(0x400fe240)},
      {"CMPLX(1, INTEGER*8 -2^40)", cmpxo(&i8, 4), real16(0xc0270000)},
      {"CMPLX(1, Real4 0.5)", cmpxo(&r4, 9), half},
      {"CMPLX(1, Real8 -0.25)", cmpxo(&r8, 10), real16(0xbffd0000)},
      {"CMPLX(1, Real16 x)", cmpxo(&x, 11), x},
      {"CMPLX(1) without y: +0", cmpxo(&r8, 10, 0), kZero},
  };
  for (const auto &r : rows)
    EXPECT_TRUE(same_bits(r.got, r.want)) << r.rule << ": got " << show(r.got);
}

// MOD and DIM report what the arithmetic they call reports: MOD(1, 0)
// first divides by zero (280), DIM of the largest and its negative
// overflows (1397) and gives the finite default.
TEST(Rows, ErrorsOfTheArithmeticTheyCall) {
  Recorder rec(0, 1, 0);
  Real16 got;
  g_qmod(&got, &kOne, &kZero);
  const Real16 minus_largest = real16(0xfffeffff, ~0u, ~0u, ~0u);
  g_qdim(&got, &kLargest, &minus_largest);
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports.front().number, 280);
  EXPECT_EQ(rec.reports.back().number, 1397);
  EXPECT_TRUE(same_bits(got, kLargest));
}

// ---- Random arguments against MPFR ----------------------------------------

// What a Real16 narrows to: rounded to T with its subnormals, the largest
// finite value with x's sign beyond it, +0.0 below 2^(emin - digits).
template <class T>
T narrowed(mpfr_srcptr x) {
  using L = std::numeric_limits<T>;
  if (mpfr_zero_p(x) || mpfr_get_exp(x) <= L::min_exponent - L::digits - 1) return T{0};
  const T t = sizeof(T) == 4 ? mpfr_get_flt(x, MPFR_RNDN) : mpfr_get_d(x, MPFR_RNDN);
  return std::isinf(t) ? std::copysign(L::max(), t) : t;
}

// A failure of t unless got is want, with what was computed and from what.
template <class... X>
void expect(Real16Test &t, const Real16 &got, const Real16 &want, std::string what, const X &...x) {
  if (same_bits(got, want)) return;
  ((what += " " + show(x)), ...);
  t.fail(what + ": got " + show(got) + ", want " + show(want));
}

Real16 rounded(mpfr_srcptr v) { return oracle::round_to_real16(v).bits; }

// x truncated toward zero, exactly.
Real16 truncated(const Real16 &x) {
  oracle::Exact e(x);
  mpfr_trunc(e, e);
  return rounded(e);
}

// x + 1/2, or x - 1/2 for a negative x, rounded: what the nearest-integer
// functions truncate.
Real16 plus_half(const Real16 &x) {
  return oracle::reference(x.w[3] & kSign16 ? Op::sub : Op::add, x, real16(0x3ffe0000)).bits;
}

// The INTEGER*4 and INTEGER*8 conversions of y: truncated; the first
// saturates from 2^31 on, the second gives the magnitude's bits from 2^63
// on and 0 from 2^64 on.
std::pair<Real16, Real16> integers(const Real16 &y) {
  Mpz z;
  mpfr_get_z(z.get(), oracle::Exact(truncated(y)), MPFR_RNDZ);
  const bool negative = mpz_sgn(z.get()) < 0;
  mpz_abs(z.get(), z.get());
  const std::size_t length = mpz_sgn(z.get()) == 0 ? 0 : mpz_sizeinbase(z.get(), 2);
  const std::uint64_t m = word_of(z.get(), 0);
  return {w(length > 31 ? (negative ? 0x80000000 : 0x7fffffff)
                        : static_cast<std::uint32_t>(negative ? 0 - m : m)),
          w(length > 64 ? 0 : (negative && length < 64 ? 0 - m : m))};
}

// One property over random arguments.
struct Property {
  const char *name;
  void (*check)(Real16Test &);
  std::uint64_t count;
};

const Property kProperties[] = {
    {"relations_follow_the_values",
     [](Real16Test &t) {
       const auto e = 1 + t.s.below32(0x7ffe);
       const Real16 a = t.s.with_exponent(e);
       Real16 b = t.s.with_exponent(t.s.below(2) ? e : 1 + t.s.below32(0x7ffe));
       if (t.s.below(8) == 0) b = a;
       if (t.s.below(8) == 0) b.w[3] ^= kSign16;
       const int c = mpfr_cmp(oracle::Exact(a), oracle::Exact(b));
       expect(t, w(relations(a, b)), w(c == 0 ? kEqual : (c < 0 ? kBelow : kAbove)), "", a, b);
     },
     200000},
    {"integers_convert_exactly",
     [](Real16Test &t) {
       const std::uint64_t m = t.s.bits() >> (1 + t.s.below(63));  // below 2^63
       const auto n = static_cast<std::int64_t>(t.s.bits() & 1 ? m : 0 - m);
       // A long double holds every INTEGER*8 exactly.
       const Real16 want = rounded(oracle::Big(static_cast<long double>(n)));
       const auto n4 = static_cast<std::int32_t>(n);
       if (n == n4) expect(t, q(g_qfloat, n4), want, "g_qfloat " + std::to_string(n));
       expect(t, q(g_aqcj, n), want, "g_aqcj " + std::to_string(n));
     },
     20000},
    {"reals_convert_exactly",
     [](Real16Test &t) {
       std::uint64_t b8 = t.s.bits();
       if (t.s.below(4) == 0) b8 &= 0x800fffffffffffff;  // subnormals
       const auto b4 = static_cast<std::uint32_t>(t.s.below(4) == 0 ? b8 & 0x807fffff : b8 >> 32);
       const double x = std::bit_cast<double>(b8);
       const float y = std::bit_cast<float>(b4);
       if (std::isfinite(x)) expect(t, q(g_qextd, x), rounded(oracle::Big(x)), "g_qextd", w(b8));
       if (std::isfinite(y))
         expect(t, q(g_qext, y), rounded(oracle::Big(static_cast<double>(y))), "g_qext", w(b4));
     },
     200000},
    {"narrowing_rounds_to_nearest",
     [](Real16Test &t) {
       // Exponents from below half the smallest subnormal to beyond the largest.
       const Real16 x = t.s.with_exponent(0x3fff - 1080 + t.s.below32(2110));
       const Real16 y = t.s.with_exponent(0x3fff - 155 + t.s.below32(287));
       expect(t, v<g_dbleq>(x), d(narrowed<double>(oracle::Exact(x))), "g_dbleq", x);
       expect(t, v<g_snglq>(y), f(narrowed<float>(oracle::Exact(y))), "g_snglq", y);
     },
     200000},
    {"truncation_and_nearest_integers",
     [](Real16Test &t) {
       const Real16 x = t.s.with_exponent(0x3fff - 3 + t.s.below32(72));
       const auto [i4, i8] = integers(x);
       const auto [n4, n8] = integers(plus_half(x));
       expect(t, v<g_iqint>(x), i4, "g_iqint", x);
       expect(t, v<g_ajcq>(x), i8, "g_ajcq", x);
       expect(t, v<g_iqnint>(x), n4, "g_iqnint", x);
       expect(t, v<g_jqnint>(x), n8, "g_jqnint", x);
     },
     200000},
    {"aint_anint_mod_and_products",
     [](Real16Test &t) {
       // AINT truncates; ANINT is AINT(x +- 1/2); MOD(a, p) is
       // a - AINT(a / p) * p with each step rounded.
       const Real16 x = t.s.with_exponent(0x3fff - 4 + t.s.below32(130));
       const Real16 p = t.s.with_exponent(0x3fff - 4 + t.s.below32(20));
       const Real16 whole = truncated(oracle::reference(Op::div, x, p).bits);
       const Real16 mod =
           oracle::reference(Op::sub, x, oracle::reference(Op::mul, whole, p).bits).bits;
       expect(t, q(g_qint, x), truncated(x), "AINT", x);
       expect(t, q(g_qnint, x), truncated(plus_half(x)), "ANINT", x);
       expect(t, q(g_qmod, x, p), mod, "MOD", x, p);
       // The Real16 product of two Real8 is exact.
       const double a =
           std::ldexp(static_cast<double>(t.s.bits() >> 11), -30 - static_cast<int>(t.s.below(40)));
       const double b =
           -std::ldexp(static_cast<double>(t.s.bits() >> 11), static_cast<int>(t.s.below(40)));
       oracle::Big e(a);
       mpfr_mul_d(e, e, b, MPFR_RNDN);  // exact at 320 bits
       expect(t, q(g_qprod, a, b), rounded(e), "g_qprod", w(std::bit_cast<std::uint64_t>(a)),
              w(std::bit_cast<std::uint64_t>(b)));
     },
     50000},
};

class Random : public Real16Test, public ::testing::WithParamInterface<Property> {};

TEST_P(Random, AgreesWithMpfr) {
  for (std::uint64_t i = 0, n = scaled(GetParam().count); i < n; ++i) GetParam().check(*this);
}

INSTANTIATE_TEST_SUITE_P(Real16, Random, ::testing::ValuesIn(kProperties),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
