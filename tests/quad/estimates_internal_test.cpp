// The quotient and square-root estimates against GMP.
//
// g_aqdq and g_qsqrt trust an estimate E of the exact value V (scaled to
// [2^127, 2^128)) wherever E lies 2 or more away from a multiple of 2^14:
// correct rounding rests on |V - E| < 2, and a breach shows in the results
// only where it meets a rounding boundary. Checked here with exact integers
// are the bounds estimates.h proves, V - E in (-2^-19, 1.01) for the
// quotient and (-2^-16, 1.01) for the root, over the sampler's patterns and
// at the ends of the ranges (the double reciprocal 2^53, the double root 2).
#include <gtest/gtest.h>

#include "quad/estimates.h"
#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using support::Mpz;
using vx::quad::U128;

// E - 2^-k < V < E + 1.01 for V = sqrt(num) (root) or num / den:
// (E 2^k - 1)^p den < num 2^(k p) and 100^p num < (100 E + 101)^p den.
bool within(const Mpz &num, const Mpz &den, U128 e, unsigned k, bool root) {
  Mpz est({e.hi, e.lo}), lhs, rhs;
  const unsigned p = root ? 2 : 1;
  mpz_mul_2exp(lhs.get(), est.get(), k);
  mpz_sub_ui(lhs.get(), lhs.get(), 1);
  mpz_pow_ui(lhs.get(), lhs.get(), p);
  mpz_mul(lhs.get(), lhs.get(), den.get());
  mpz_mul_2exp(rhs.get(), num.get(), k * p);
  if (mpz_cmp(lhs.get(), rhs.get()) >= 0) return false;
  mpz_mul_ui(lhs.get(), num.get(), root ? 10000 : 100);
  mpz_mul_ui(rhs.get(), est.get(), 100);
  mpz_add_ui(rhs.get(), rhs.get(), 101);
  mpz_pow_ui(rhs.get(), rhs.get(), p);
  mpz_mul(rhs.get(), rhs.get(), den.get());
  return mpz_cmp(lhs.get(), rhs.get()) < 0;
}

// V = N 2^127 / D for N in [D, 2D), N from a second significand A: A, or
// 2A when A < D.
bool quotient_within(U128 a, U128 d) {
  const U128 n = vx::w128::less(a, d) ? vx::w128::shl(a, 1) : a;
  Mpz num({n.hi, n.lo}), den({d.hi, d.lo});
  mpz_mul_2exp(num.get(), num.get(), 127);
  return within(num, den, vx::quad::quotient_estimate(n, d), 19, false);
}

// V = sqrt(X 2^128) for the radicand X of a significand under an exponent.
bool root_within(U128 m, std::uint32_t biased) {
  const U128 bits = {(std::uint64_t{biased} << 48) | (m.hi & 0xffffffffffff), m.lo};
  const U128 x = vx::quad::radicand_of(bits);
  Mpz num({x.hi, x.lo, 0, 0}), one({1});
  return within(num, one, vx::quad::root_estimate(bits), 16, true);
}

constexpr U128 kLeast = {1ull << 48, 0}, kGreatest = {(1ull << 49) - 1, ~0ull};
// Significands at the ends: 1, 1 + 2^-112, the greatest, leading 53 bits
// all ones over zeros, least leading bits over ones, and one just above 1.
constexpr U128 kEnds[] = {kLeast,
                          {kLeast.hi, 1},
                          kGreatest,
                          {kGreatest.hi, ~0ull << 60},
                          {kLeast.hi, (1ull << 60) - 1},
                          {kLeast.hi | 1, 0},
                          {kGreatest.hi, ~0ull - 1}};

using Estimates = support::Real16Test;

TEST_F(Estimates, WithinTheirBounds) {
  // From the sampler's patterns, or its leading 53 bits (all the double
  // estimates see) and the rest chosen apart.
  const auto significand = [this] {
    const U128 head = vx::quad::significand_of(s.with_exponent(0x3fff));
    if (s.below(4) != 0) return head;
    const U128 tail = vx::quad::significand_of(s.with_exponent(0x3fff));
    const std::uint64_t rest = (1ull << 60) - 1;
    return U128{head.hi, (head.lo & ~rest) | (tail.lo & rest)};
  };
  for (std::uint64_t i = 0; i < support::scaled(300000); ++i) {
    const U128 d = significand(), a = significand(), m = significand();
    if (!quotient_within(a, d)) fail("quotient estimate out of bounds");
    if (!root_within(m, static_cast<std::uint32_t>(0x3fff + (s.bits() & 1)))) fail("root estimate");
  }
  for (const U128 d : kEnds) {
    // N = D, N = 2D - 1, and the least and the greatest A.
    for (const U128 a : {d, vx::w128::sub(vx::w128::shl(d, 1), {0, 1}), kLeast, kGreatest})
      EXPECT_TRUE(quotient_within(a, d));
    for (const std::uint32_t biased : {0x3fffu, 0x4000u, 1u, 0x7ffeu})
      EXPECT_TRUE(root_within(d, biased));
  }
}

}  // namespace
