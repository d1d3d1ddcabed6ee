// The 128-bit word primitives against GMP: sums and differences with their
// carries, choices, products, shifts with the sticky bit, leading zeros,
// and the exact reciprocals and 3-by-2 word divisions. The same tests run
// on the fast and the portable paths (VEXMORG_PORTABLE_WORDS) and on i386,
// where only the portable one exists.
#include <gmp.h>
#include <gtest/gtest.h>

#include <utility>

#include "common/words128.h"
#include "support/mpz_words.h"
#include "support/sampling.h"

namespace {

using vx::w128::U128;
using vx::w128::u64;

using Z = support::Mpz;
using support::same;

// Random words with long runs of ones and zeros now and then.
u64 word(support::Sampler &s) {
  const u64 r = s.bits();
  switch (r % 8) {
    case 0:
      return ~u64{0} >> (s.bits() % 64);
    case 1:
      return ~u64{0} << (s.bits() % 64);
    case 2:
      return u64{1} << (s.bits() % 64);
    default:
      return s.bits();
  }
}

TEST(Words128, ProductsAgainstGmp) {
  support::Sampler s(0x3017);
  Z a, b, p;
  for (std::uint64_t i = 0; i < support::scaled(200000); ++i) {
    const U128 x = {word(s), word(s)}, y = {word(s), word(s)};
    const vx::w128::U256 r = vx::w128::mul128x128(x, y);
    a.set({x.hi, x.lo});
    b.set({y.hi, y.lo});
    mpz_mul(p.get(), a.get(), b.get());
    ASSERT_TRUE(same(p.get(), {r.hi.hi, r.hi.lo, r.lo.hi, r.lo.lo})) << i;
    const U128 q = vx::w128::mul64x64(x.hi, y.lo);
    a.set({x.hi});
    b.set({y.lo});
    mpz_mul(p.get(), a.get(), b.get());
    ASSERT_TRUE(same(p.get(), {q.hi, q.lo}));
  }
}

// Sums with their carries, differences, the conditional
// negation and choice, and products modulo 2^128.
TEST(Words128, CarriesSelectionsAndLowProducts) {
  support::Sampler s(0xadd5);
  Z a, b, r, m;
  mpz_set_ui(m.get(), 1);
  mpz_mul_2exp(m.get(), m.get(), 128);
  for (std::uint64_t i = 0; i < support::scaled(100000); ++i) {
    const U128 x = {word(s), word(s)}, y = {word(s), word(s)};
    const auto carry_in = static_cast<vx::w128::u32>(s.bits() & 1);
    a.set({x.hi, x.lo});
    b.set({y.hi, y.lo});
    vx::w128::u32 carry = 2;
    const U128 sum = vx::w128::add_carry(x, y, carry_in, carry);
    mpz_add(r.get(), a.get(), b.get());
    mpz_add_ui(r.get(), r.get(), carry_in);
    ASSERT_TRUE(same(r.get(), {carry, sum.hi, sum.lo})) << i;
    const U128 difference = vx::w128::sub(x, y);
    mpz_sub(r.get(), a.get(), b.get());
    mpz_mod(r.get(), r.get(), m.get());
    ASSERT_TRUE(same(r.get(), {difference.hi, difference.lo})) << i;
    const bool c = (s.bits() & 1) != 0;
    const U128 chosen = vx::w128::select(c, x, y);
    ASSERT_TRUE(vx::w128::equal(chosen, c ? x : y));
    const U128 negated = vx::w128::negate_if(c, x);
    if (c) {
      mpz_sub(r.get(), m.get(), a.get());
      mpz_mod(r.get(), r.get(), m.get());
    } else {
      mpz_set(r.get(), a.get());
    }
    ASSERT_TRUE(same(r.get(), {negated.hi, negated.lo})) << i;
    const U128 low = vx::w128::mul_low(x, y);
    mpz_mul(r.get(), a.get(), b.get());
    mpz_mod(r.get(), r.get(), m.get());
    ASSERT_TRUE(same(r.get(), {low.hi, low.lo})) << i;
    const U128 low64 = vx::w128::mul_low(x, y.lo);
    b.set({y.lo});
    mpz_mul(r.get(), a.get(), b.get());
    mpz_mod(r.get(), r.get(), m.get());
    ASSERT_TRUE(same(r.get(), {low64.hi, low64.lo})) << i;
  }
}

TEST(Words128, ShiftsAndLeadingZeros) {
  support::Sampler s(0x5417);
  Z a, r;
  for (std::uint64_t i = 0; i < support::scaled(100000); ++i) {
    const U128 x = {word(s), word(s)};
    const unsigned n = static_cast<unsigned>(s.bits() % 140);
    a.set({x.hi, x.lo});
    if (n < 128) {
      const U128 left = vx::w128::shl(x, n), right = vx::w128::shr(x, n);
      mpz_mul_2exp(r.get(), a.get(), n);
      mpz_fdiv_r_2exp(r.get(), r.get(), 128);
      ASSERT_TRUE(same(r.get(), {left.hi, left.lo})) << n;
      mpz_fdiv_q_2exp(r.get(), a.get(), n);
      ASSERT_TRUE(same(r.get(), {right.hi, right.lo})) << n;
    }
    const U128 sticky = vx::w128::shr_sticky(x, n);
    mpz_fdiv_q_2exp(r.get(), a.get(), n);
    const bool lost = mpz_scan1(a.get(), 0) < n;
    if (lost) mpz_setbit(r.get(), 0);
    ASSERT_TRUE(same(r.get(), {sticky.hi, sticky.lo})) << n;
  }
}

// Shifts by constant counts take other bodies than by variable ones: both
// must give the same bits (the variable ones are checked against GMP above).
template <unsigned... kCounts>
void expect_constant_shifts(U128 x, std::integer_sequence<unsigned, kCounts...>) {
  volatile unsigned hidden = 0;  // keeps the count from being a constant
  (
      [&] {
        hidden = kCounts;
        const unsigned n = hidden;
        EXPECT_TRUE(vx::w128::equal(vx::w128::shl(x, kCounts), vx::w128::shl(x, n))) << kCounts;
        EXPECT_TRUE(vx::w128::equal(vx::w128::shr(x, kCounts), vx::w128::shr(x, n))) << kCounts;
      }(),
      ...);
}

// Trailing zeros, the shift to bit 127, and shifts by constant counts.
TEST(Words128, TrailingZerosNormalisationAndConstantShifts) {
  support::Sampler s(0x7a11);
  Z a;
  for (std::uint64_t i = 0; i < support::scaled(100000); ++i) {
    const U128 x = {word(s), word(s)};
    a.set({x.hi, x.lo});
    const int zeros = vx::w128::is_zero(x) ? 128 : static_cast<int>(mpz_scan1(a.get(), 0));
    ASSERT_EQ(vx::w128::ctz128(x), zeros) << i;
    if (vx::w128::is_zero(x)) continue;
    int n = -1;
    const U128 top = vx::w128::normalize(x, n);
    ASSERT_EQ(n, 128 - static_cast<int>(mpz_sizeinbase(a.get(), 2))) << i;
    ASSERT_TRUE(vx::w128::equal(top, vx::w128::shl(x, static_cast<unsigned>(n)))) << i;
    ASSERT_TRUE(vx::w128::negative(top)) << i;
    if (i < 2000) {
      expect_constant_shifts(x, std::integer_sequence<unsigned, 0, 1, 14, 15, 28, 30, 49, 52, 53,
                                                      57, 63, 64, 68, 71, 78, 127>{});
    }
  }
}

TEST(Words128, ReciprocalsAndDivisionsAreExact) {
  support::Sampler s(0xd147);
  Z d, u, q, rem, v;
  for (std::uint64_t i = 0; i < support::scaled(100000); ++i) {
    const U128 divisor = {word(s) | (u64{1} << 63), word(s)};
    // v = floor((2^128 - 1) / d1) - 2^64 and floor((2^192 - 1) / d) - 2^64.
    const u64 v1 = vx::w128::reciprocal_word(divisor.hi);
    d.set({divisor.hi});
    u.set({~u64{0}, ~u64{0}});
    mpz_fdiv_q(v.get(), u.get(), d.get());
    ASSERT_TRUE(same(v.get(), {1, v1})) << std::hex << divisor.hi;
    const u64 v2 = vx::w128::reciprocal_3by2(divisor);
    d.set({divisor.hi, divisor.lo});
    u.set({~u64{0}, ~u64{0}, ~u64{0}});
    mpz_fdiv_q(v.get(), u.get(), d.get());
    ASSERT_TRUE(same(v.get(), {1, v2}));
    // A numerator whose top two words are below the divisor.
    U128 top = {word(s), word(s)};
    if (!vx::w128::less(top, divisor)) top = vx::w128::sub(top, divisor);
    if (!vx::w128::less(top, divisor)) top = {divisor.hi >> 1, divisor.lo};
    const u64 low = word(s);
    U128 r;
    const u64 digit = vx::w128::div_3by2(top.hi, top.lo, low, divisor, v2, r);
    u.set({top.hi, top.lo, low});
    mpz_fdiv_qr(q.get(), rem.get(), u.get(), d.get());
    ASSERT_TRUE(same(q.get(), {digit}));
    ASSERT_TRUE(same(rem.get(), {r.hi, r.lo}));
  }
}

}  // namespace
