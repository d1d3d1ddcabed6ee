// The quotient and square-root estimates against GMP.
//
// The rounding of g_aqdq and g_qsqrt trusts an estimate E of the exact
// value V (scaled to [2^127, 2^128)) wherever E lies 2 or more away from a
// multiple of 2^14, so the bound |V - E| < 2 is what correct rounding rests
// on; a breach would show in the results only when it also meets a rounding
// boundary, which random operands almost never do. These tests check the
// bounds that estimates.h proves, V - E in (-2^-19, 1.01) for the quotient
// and (-2^-16, 1.01) for the root, with exact integers: over random
// significands, over the patterns of the Real16 sampler, and at the ends of
// the ranges, where the double reciprocal is 2^53 or the double root 2.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "quad/estimates.h"
#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using support::Mpz;
using vx::quad::U128;

constexpr U128 kLeastSignificand = {std::uint64_t{1} << 48, 0};
constexpr U128 kGreatestSignificand = {(std::uint64_t{1} << 49) - 1, ~std::uint64_t{0}};

// The documented bounds of V - E, checked with exact integers.
class Bounds {
 public:
  // V = n 2^127 / d.
  bool quotient_within(U128 n, U128 d, U128 e) {
    num_.set({n.hi, n.lo});
    mpz_mul_2exp(num_.get(), num_.get(), 127);
    den_.set({d.hi, d.lo});
    est_.set({e.hi, e.lo});
    // E - 2^-19 < V: (E 2^19 - 1) d < n 2^146.
    mpz_mul_2exp(lhs_.get(), est_.get(), 19);
    mpz_sub_ui(lhs_.get(), lhs_.get(), 1);
    mpz_mul(lhs_.get(), lhs_.get(), den_.get());
    mpz_mul_2exp(rhs_.get(), num_.get(), 19);
    if (mpz_cmp(lhs_.get(), rhs_.get()) >= 0) return false;
    // V < E + 1.01: 100 n 2^127 < (100 E + 101) d.
    mpz_mul_ui(lhs_.get(), num_.get(), 100);
    mpz_mul_ui(rhs_.get(), est_.get(), 100);
    mpz_add_ui(rhs_.get(), rhs_.get(), 101);
    mpz_mul(rhs_.get(), rhs_.get(), den_.get());
    return mpz_cmp(lhs_.get(), rhs_.get()) < 0;
  }

  // V = sqrt(x 2^128).
  bool root_within(U128 x, U128 e) {
    num_.set({x.hi, x.lo, 0, 0});
    est_.set({e.hi, e.lo});
    // E - 2^-16 < V: (E 2^16 - 1)^2 < x 2^160.
    mpz_mul_2exp(lhs_.get(), est_.get(), 16);
    mpz_sub_ui(lhs_.get(), lhs_.get(), 1);
    mpz_mul(lhs_.get(), lhs_.get(), lhs_.get());
    mpz_mul_2exp(rhs_.get(), num_.get(), 32);
    if (mpz_cmp(lhs_.get(), rhs_.get()) >= 0) return false;
    // V < E + 1.01: 10000 x 2^128 < (100 E + 101)^2.
    mpz_mul_ui(lhs_.get(), num_.get(), 10000);
    mpz_mul_ui(rhs_.get(), est_.get(), 100);
    mpz_add_ui(rhs_.get(), rhs_.get(), 101);
    mpz_mul(rhs_.get(), rhs_.get(), rhs_.get());
    return mpz_cmp(lhs_.get(), rhs_.get()) < 0;
  }

 private:
  Mpz num_, den_, est_, lhs_, rhs_;
};

std::string hex(U128 x) {
  char text[40];
  std::snprintf(text, sizeof text, "%016llx'%016llx", static_cast<unsigned long long>(x.hi),
                static_cast<unsigned long long>(x.lo));
  return text;
}

// A significand in [2^112, 2^113): from the sampler's patterns, or with its
// leading 53 bits and the rest chosen apart (the double estimates see only
// the leading 53).
U128 significand(support::Real16Sampler &s) {
  if (s.below(4) != 0) return vx::quad::significand_of(s.with_exponent(0x3fff));
  const U128 head = vx::quad::significand_of(s.with_exponent(0x3fff));
  const U128 tail = vx::quad::significand_of(s.with_exponent(0x3fff));
  const std::uint64_t rest = (std::uint64_t{1} << 60) - 1;  // bits below the leading 53
  return {head.hi, (head.lo & ~rest) | (tail.lo & rest)};
}

// N in [D, 2D) from a second significand A: A when A >= D, else 2A.
U128 numerator(U128 a, U128 d) { return vx::w128::less(a, d) ? vx::w128::shl(a, 1) : a; }

TEST(Estimates, QuotientWithinItsBound) {
  support::Real16Sampler s(0xe571);
  Bounds bounds;
  for (std::uint64_t i = 0; i < support::scaled(300000); ++i) {
    const U128 d = significand(s), n = numerator(significand(s), d);
    const U128 e = vx::quad::quotient_estimate(n, d);
    ASSERT_TRUE(bounds.quotient_within(n, d, e)) << hex(n) << " / " << hex(d) << ": " << hex(e);
  }
  // The ends: N = D (V = 2^127 exactly) and N = 2D - 1 (V just below
  // 2^128), for the least and greatest divisors and for leading bits all
  // ones over a tail of zeros and of ones.
  const U128 divisors[] = {kLeastSignificand,
                           kGreatestSignificand,
                           {kGreatestSignificand.hi, ~std::uint64_t{0} << 60},
                           {kLeastSignificand.hi, (std::uint64_t{1} << 60) - 1},
                           {kLeastSignificand.hi | 1, 0}};
  for (const U128 d : divisors) {
    const U128 ends[] = {d, vx::w128::sub(vx::w128::shl(d, 1), {0, 1}),
                         numerator(kLeastSignificand, d), numerator(kGreatestSignificand, d)};
    for (const U128 n : ends) {
      const U128 e = vx::quad::quotient_estimate(n, d);
      EXPECT_TRUE(bounds.quotient_within(n, d, e)) << hex(n) << " / " << hex(d) << ": " << hex(e);
    }
  }
}

TEST(Estimates, RootWithinItsBound) {
  support::Real16Sampler s(0x5e57);
  Bounds bounds;
  auto check = [&bounds](U128 significand, std::uint32_t biased) {
    const U128 bits = {(std::uint64_t{biased} << 48) | (significand.hi & 0xffffffffffff),
                       significand.lo};
    const U128 e = vx::quad::root_estimate(bits);
    return bounds.root_within(vx::quad::radicand_of(bits), e);
  };
  for (std::uint64_t i = 0; i < support::scaled(300000); ++i) {
    const U128 m = significand(s);
    const auto biased = static_cast<std::uint32_t>(0x3fff + (s.bits() & 1));  // both parities
    ASSERT_TRUE(check(m, biased)) << hex(m) << " exponent " << biased;
  }
  // The ends of both binades of the radicand, [2^126, 2^127) and
  // [2^127, 2^128): 1, 1 + 2^-112, the greatest significand (whose double
  // root may round to 2) and leading bits all ones over a tail of zeros.
  const U128 ends[] = {kLeastSignificand,
                       {kLeastSignificand.hi, 1},
                       kGreatestSignificand,
                       {kGreatestSignificand.hi, ~std::uint64_t{0} << 60},
                       {kGreatestSignificand.hi, ~std::uint64_t{0} - 1}};
  for (const U128 m : ends) {
    for (const std::uint32_t biased : {0x3fffu, 0x4000u, 1u, 0x7ffeu}) {
      EXPECT_TRUE(check(m, biased)) << hex(m) << " exponent " << biased;
    }
  }
}

}  // namespace
