// The 128-bit word primitives under the Real16 arithmetic against GMP:
// products, shifts with the sticky bit and normalisation, on the fast and
// the portable bodies (preset portable; i386 has only the portable one).
#include <gtest/gtest.h>

#include "common/words128.h"
#include "support/mpz_words.h"
#include "support/sampling.h"

namespace {

using support::Mpz;
using support::same;
using vx::w128::U128;
using vx::w128::u64;

// Random words with long runs of ones and zeros now and then.
u64 word(support::Sampler &s) {
  const unsigned n = static_cast<unsigned>(s.bits() % 64);
  const u64 k = s.bits() % 8;
  return k == 0 ? ~u64{0} >> n : k == 1 ? ~u64{0} << n : k == 2 ? u64{1} << n : s.bits();
}

// x * y in full and modulo 2^128, x * y.lo modulo 2^128, x.hi * y.lo.
void expect_products(U128 x, U128 y) {
  Mpz a({x.hi, x.lo}), b({y.hi, y.lo}), lo({y.lo}), hi({x.hi}), p, m, p64, m64, q;
  mpz_mul(p.get(), a.get(), b.get());
  mpz_fdiv_r_2exp(m.get(), p.get(), 128);
  mpz_mul(p64.get(), a.get(), lo.get());
  mpz_fdiv_r_2exp(m64.get(), p64.get(), 128);
  mpz_mul(q.get(), hi.get(), lo.get());
  const vx::w128::U256 r = vx::w128::mul128x128(x, y);
  const U128 low = vx::w128::mul_low(x, y), low64 = vx::w128::mul_low(x, y.lo),
             q64 = vx::w128::mul64x64(x.hi, y.lo);
  ASSERT_TRUE(same(p.get(), {r.hi.hi, r.hi.lo, r.lo.hi, r.lo.lo}) &&
              same(m.get(), {low.hi, low.lo}) && same(m64.get(), {low64.hi, low64.lo}) &&
              same(q.get(), {q64.hi, q64.lo}))
      << std::hex << x.hi << " " << x.lo << " * " << y.hi << " " << y.lo;
}

TEST(Words128, Products) {
  // {2^63, 2^64 - 1} times {2^63 + 1, 2^64 - 1}: the middle partial
  // products sum to 2^128 - 1, and adding the high word of the low product
  // carries a second time. All ones squared carries once.
  constexpr u64 kTop = u64{1} << 63, kOnes = ~u64{0};
  expect_products({kTop, kOnes}, {kTop + 1, kOnes});
  expect_products({kTop + 1, kOnes}, {kTop, kOnes});
  expect_products({kOnes, kOnes}, {kOnes, kOnes});
  support::Sampler s(0x3017);
  for (std::uint64_t i = 0; i < support::scaled(200000); ++i)
    expect_products({word(s), word(s)}, {word(s), word(s)});
}

// Shifts by every count, the sticky shift beyond 128, and normalisation
// (of a high word of zeros too).
TEST(Words128, Shifts) {
  support::Sampler s(0x5417);
  Mpz a, r;
  for (std::uint64_t i = 0; i < support::scaled(100000); ++i) {
    const U128 x = {s.bits() % 4 == 0 ? 0 : word(s), word(s)};
    const auto n = static_cast<unsigned>(s.bits() % 140);
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
    if (mpz_scan1(a.get(), 0) < n) mpz_setbit(r.get(), 0);  // a bit was shifted out
    ASSERT_TRUE(same(r.get(), {sticky.hi, sticky.lo})) << n;
    if (vx::w128::is_zero(x)) continue;
    int shift = -1;
    const U128 top = vx::w128::normalize(x, shift);
    ASSERT_EQ(shift, 128 - static_cast<int>(mpz_sizeinbase(a.get(), 2)));
    ASSERT_TRUE(vx::w128::equal(top, vx::w128::shl(x, static_cast<unsigned>(shift))));
  }
}

}  // namespace
