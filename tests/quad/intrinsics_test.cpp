// The Real16 elemental intrinsics, the negation helper and the Complex32
// constructors and selectors: rows from their rules, and AINT, ANINT, MOD
// and the Real8 product against MPFR on random arguments.
#include <gtest/gtest.h>

#include "support/real16_checks.h"

namespace {

using oracle::real16;
using oracle::Real16Reference;
using oracle::same_bits;
using support::show;

constexpr Real16 kZero = real16(0), kMinusZero = real16(0x80000000);

Real16 call(Real16 *(*fn)(Real16 *, const Real16 *), const Real16 &x) {
  Real16 r;
  fn(&r, &x);
  return r;
}
Real16 call(support::Binary16 fn, const Real16 &a, const Real16 &b) {
  Real16 r;
  fn(&r, &a, &b);
  return r;
}

struct Row {
  const char *rule;
  Real16 got, want;
};

TEST(Intrinsics, Rows) {
  const Real16 two = real16(0x40000000), minus_two = real16(0xc0000000);
  const Real16 x = real16(0xc0011234, 5, 6, 7), abs_x = real16(0x40011234, 5, 6, 7);
  const Real16 half = real16(0x3ffe0000), minus_half = real16(0xbffe0000);
  const Row rows[] = {
      {"ABS clears the sign bit", call(g_qabs, x), abs_x},
      {"ABS(-0) is +0", call(g_qabs, kMinusZero), kZero},
      {"SIGN(x, 2) is |x|", call(g_qsign, x, two), abs_x},
      {"SIGN(|x|, -2) is -|x|", call(g_qsign, abs_x, minus_two), x},
      {"SIGN(x, -0) counts -0 as positive", call(g_qsign, x, kMinusZero), abs_x},
      {"SIGN(x, -0 with garbage) is negative", call(g_qsign, abs_x, real16(0x80000000, 1)), x},
      {"DIM(2, -2) is 4", call(g_qdim, two, minus_two), real16(0x40010000)},
      {"DIM(-2, 2) is +0", call(g_qdim, minus_two, two), kZero},
      {"DIM(-0, +0): a - b is -0, whose sign bit gives +0", call(g_qdim, kMinusZero, kZero), kZero},
      {"MAX(-0, +0) is +0", call(g_qmax1, kMinusZero, kZero), kZero},
      {"MIN(+0, -0) is -0", call(g_qmin1, kZero, kMinusZero), kMinusZero},
      {"MAX(-2, -0.5) is -0.5", call(g_qmax1, minus_two, minus_half), minus_half},
      {"MIN(2, 0.5) is 0.5", call(g_qmin1, two, half), half},
      {"AINT(-0.5) is +0", call(g_qint, minus_half), kZero},
      {"AINT(2.75) is 2", call(g_qint, real16(0x40006000)), two},
      {"AINT(-2.75) is -2", call(g_qint, real16(0xc0006000)), minus_two},
      {"AINT of 2^112 + 1 is itself", call(g_qint, real16(0x406f0000, 0, 0, 1)),
       real16(0x406f0000, 0, 0, 1)},
      {"AINT of -0 with garbage is +0", call(g_qint, real16(0x80000000, 9)), kZero},
      {"ANINT(2.5) is 3", call(g_qnint, real16(0x40004000)), real16(0x40008000)},
      {"ANINT(-2.5) is -3", call(g_qnint, real16(0xc0004000)), real16(0xc0008000)},
      {"ANINT(0.25) is +0", call(g_qnint, real16(0x3ffd0000)), kZero},
      {"ANINT(-0) is +0", call(g_qnint, kMinusZero), kZero},
      {"MOD(7, 3) is 1", call(g_qmod, real16(0x4001c000), real16(0x40008000)), real16(0x3fff0000)},
      {"MOD(-7, 3) is -1", call(g_qmod, real16(0xc001c000), real16(0x40008000)),
       real16(0xbfff0000)},
  };
  for (const Row &r : rows)
    EXPECT_TRUE(same_bits(r.got, r.want)) << r.rule << ": got " << show(r.got);

  EXPECT_EQ(g_iqnint(&rows[18].got), 3);
  const Real16 minus_two_and_half = real16(0xc0004000);
  EXPECT_EQ(g_iqnint(&minus_two_and_half), -3);
  EXPECT_EQ(g_jqnint(&minus_two_and_half), -3);
  const Real16 big = real16(0x403d8000, 0, 0, 0);  // 1.5 * 2^62
  EXPECT_EQ(g_jqnint(&big), 0x6000000000000000);
  EXPECT_EQ(g_iqnint(&big), INT32_MAX);
}

TEST(Intrinsics, NegationByValue) {
  const Row rows[] = {
      {"-(+0) is +0", kZero, kZero},
      {"-(-0) is +0", kMinusZero, kZero},
      {"-(-0 with garbage) is +0, words 0 to 2 kept", real16(0x80000000, 1, 2, 3),
       real16(0, 1, 2, 3)},
      {"-(1) is -1", real16(0x3fff0000, 4), real16(0xbfff0000, 4)},
      {"-(-1) is 1", real16(0xbfff0000, 0, 0, 5), real16(0x3fff0000, 0, 0, 5)},
  };
  for (const Row &r : rows) {
    Real16 got;
    EXPECT_EQ(ulx_gqqc(&got, r.got), &got);
    EXPECT_TRUE(same_bits(got, r.want)) << r.rule << ": got " << show(got);
  }
}

TEST(Intrinsics, AgainstMpfr) {
  support::Real16Sampler s(0x1a75);
  Real16Reference ref;
  oracle::Real16Result want;
  int budget = 10;
  mpfr_t t, u;
  mpfr_init2(t, 113);
  mpfr_init2(u, 400);
  for (std::uint64_t i = 0; i < support::scaled(50000); ++i) {
    const Real16 x = s.with_exponent(0x3fff - 4 + static_cast<std::uint32_t>(s.below(130)));
    // AINT and ANINT (halves away from zero, through x +- 1/2 rounded).
    mpfr_trunc(t, ref.exact(x));
    want = oracle::round_to_real16(t);
    const Real16 got_int = call(g_qint, x);
    if (!same_bits(got_int, want.bits) && budget-- > 0) ADD_FAILURE() << "AINT " << show(x);
    Real16 shifted;
    const Real16 half = real16(0x3ffe0000);
    (x.w[3] & 0x80000000 ? g_aqsq : g_aqaq)(&shifted, &x, &half);
    mpfr_trunc(t, ref.exact(shifted));
    want = oracle::round_to_real16(t);
    if (!same_bits(call(g_qnint, x), want.bits) && budget-- > 0)
      ADD_FAILURE() << "ANINT " << show(x);
    // MOD(a, p) = a - AINT(a / p) * p with each step rounded.
    const Real16 p = s.with_exponent(0x3fff - 4 + static_cast<std::uint32_t>(s.below(20)));
    const Real16 q = ref.div(x, p).bits;
    mpfr_trunc(t, ref.exact(q));
    const Real16 tq = oracle::round_to_real16(t).bits;
    const Real16 back = ref.mul(tq, p).bits;
    want = ref.sub(x, back);
    if (!same_bits(call(g_qmod, x, p), want.bits) && budget-- > 0)
      ADD_FAILURE() << "MOD " << show(x) << ", " << show(p);
    // The Real8 product is exact.
    const double a =
        std::ldexp(static_cast<double>(s.bits() >> 11), -30 - static_cast<int>(s.below(40)));
    const double b =
        -std::ldexp(static_cast<double>(s.bits() >> 11), static_cast<int>(s.below(40)));
    Real16 prod;
    g_qprod(&prod, &a, &b);
    mpfr_set_d(u, a, MPFR_RNDN);
    mpfr_mul_d(u, u, b, MPFR_RNDN);
    want = oracle::round_to_real16(u);
    if (!same_bits(prod, want.bits) && budget-- > 0) ADD_FAILURE() << "g_qprod " << a << " " << b;
    EXPECT_TRUE(mpfr_cmp(u, ref.exact(prod)) == 0 || a == 0 || b == 0);
  }
  mpfr_clear(t);
  mpfr_clear(u);
}

TEST(Intrinsics, ErrorsOfTheArithmeticTheyCall) {
  support::Recorder rec(0, 1, 0);
  const Real16 one = real16(0x3fff0000), zero = kZero;
  Real16 got;
  g_qmod(&got, &one, &zero);  // 1 / 0 first
  ASSERT_GE(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, 280);
  const Real16 huge = real16(0x7ffeffff, 0xffffffff, 0xffffffff, 0xffffffff);
  const Real16 minus_huge = real16(0xfffeffff, 0xffffffff, 0xffffffff, 0xffffffff);
  rec.reports.clear();
  g_qdim(&got, &huge, &minus_huge);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, 1397);
  EXPECT_TRUE(same_bits(got, huge));  // the finite default
}

TEST(Complex32, ConstructorsAndSelectors) {
  const Real16 re = real16(0x40001111, 1, 2, 3), im = real16(0xc0002222, 4, 5, 6);
  Complex32 z;
  EXPECT_EQ(g_qcmplx(&z, &re, &im), &z);
  EXPECT_TRUE(same_bits(z.re, re) && same_bits(z.im, im));
  Real16 part;
  g_qreal(&part, &z);
  EXPECT_TRUE(same_bits(part, re));
  g_qimag(&part, &z);
  EXPECT_TRUE(same_bits(part, im));
  Complex32 c;
  g_qconjg(&c, &z);
  EXPECT_TRUE(same_bits(c.re, re) && same_bits(c.im, real16(0x40002222, 4, 5, 6)));
  z.im = kZero;
  g_qconjg(&z, &z);  // aliasing; +0 becomes -0
  EXPECT_TRUE(same_bits(z.im, kMinusZero));
  g_qcmplx(&z, &z.im, &z.re);  // aliasing: swaps
  EXPECT_TRUE(same_bits(z.re, kMinusZero) && same_bits(z.im, re));
}

TEST(Complex32, CmplxOfAnyKind) {
  const Real16 x = real16(0x3fff0000);
  const std::int8_t i1 = -5;
  const std::int16_t i2 = -300;
  const std::int32_t i4 = 123456;
  const std::int64_t i8 = -(1ll << 40);
  const float r4 = 0.5f;
  const double r8 = -0.25;
  const Real16 r16 = real16(0x40001111, 1, 2, 3);
  struct Case {
    const void *y;
    std::int32_t code;
    Real16 want;
  } cases[] = {
      {&i1, 1, real16(0xc0014000)},
      {&i2, 2, real16(0xc0072c00)},
      {&i4, 3, real16(0x400fe240)},
      {&i8, 4, real16(0xc0270000)},
      {&r4, 9, real16(0x3ffe0000)},
      {&r8, 10, real16(0xbffd0000)},
      {&r16, 11, r16},
  };
  for (const Case &c : cases) {
    Complex32 z;
    const std::int32_t present = 1;
    EXPECT_EQ(g_qcmpxo(&z, &x, c.y, &present, &c.code), &z);
    EXPECT_TRUE(same_bits(z.re, x));
    EXPECT_TRUE(same_bits(z.im, c.want)) << "type " << c.code << ": " << show(z.im);
    const std::int32_t absent = 0;
    g_qcmpxo(&z, &x, c.y, &absent, &c.code);
    EXPECT_TRUE(same_bits(z.im, kZero)) << "absent, type " << c.code;
  }
}

}  // namespace
