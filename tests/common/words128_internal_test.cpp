// The 128-bit word primitives against GMP: products, shifts with the
// sticky bit, leading zeros, and the exact reciprocals and 3-by-2 word
// divisions. The same tests run on the fast and the portable paths
// (VEXMORG_PORTABLE_WORDS) and on i386, where only the portable one exists.
#include <gmp.h>
#include <gtest/gtest.h>

#include "common/words128.h"
#include "support/sampling.h"

namespace {

using vx::w128::U128;
using vx::w128::u64;

// An mpz of up to four 64-bit words, most significant first.
class Z {
 public:
  Z() { mpz_init(v_); }
  explicit Z(U128 x) : Z() { set({x.hi, x.lo}); }
  ~Z() { mpz_clear(v_); }
  Z(const Z &) = delete;
  Z &operator=(const Z &) = delete;
  void set(std::initializer_list<u64> words) {
    mpz_set_ui(v_, 0);
    for (u64 w : words) {  // 32 bits at a time: unsigned long may be 32 bits wide
      mpz_mul_2exp(v_, v_, 32);
      mpz_add_ui(v_, v_, static_cast<unsigned long>(w >> 32));
      mpz_mul_2exp(v_, v_, 32);
      mpz_add_ui(v_, v_, static_cast<unsigned long>(w & 0xffffffff));
    }
  }
  mpz_ptr get() { return v_; }

 private:
  mpz_t v_;
};

bool same(mpz_srcptr z, std::initializer_list<u64> words) {
  Z w;
  w.set(words);
  return mpz_cmp(z, w.get()) == 0;
}

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
    const int zeros =
        vx::w128::is_zero(x) ? 128 : 128 - static_cast<int>(mpz_sizeinbase(a.get(), 2));
    ASSERT_EQ(vx::w128::clz128(x), zeros);
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
