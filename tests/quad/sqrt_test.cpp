// g_qsqrt against MPFR at 113 bits (oracle/real16.h).
//
// Bound: 0 ulp. The root is correctly rounded (to nearest, ties to even;
// a root cannot be a tie), bit for bit, for every exponent, odd and even.
// Hard cases: perfect squares (exact roots, no sticky bit), their
// neighbours one ulp away (roots just off a representable value), roots
// within 2^-93 ulp of a midpoint or of a representable value (which
// only an exact remainder rounds), and significands at the ends of both
// binades. Error 228 is an argument error: reported whatever the exception
// flags say.
#include <gtest/gtest.h>

#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using oracle::real16;
using oracle::Real16Reference;
using support::real16_of;
using support::Real16Sampler;

constexpr Real16 kZero = real16(0);
constexpr Real16 kNaN = real16(0x7fff8000);

bool check_root(Real16Reference &ref, const Real16 &x, int *budget) {
  const oracle::Real16Result want = ref.sqrt(x);
  Real16 got;
  g_qsqrt(&got, &x);
  const bool ok = want.outcome == oracle::Outcome::value && oracle::same_bits(got, want.bits);
  if (!ok && (*budget)-- > 0) {
    ADD_FAILURE() << "g_qsqrt(" << support::show(x) << ")\n  got      " << support::show(got)
                  << "\n  expected " << support::show(want.bits);
  }
  return ok;
}

TEST(Sqrt, RandomArgumentsAgainstMpfr) {
  Real16Sampler s(0x5a7);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  std::uint64_t failures = 0;
  const std::uint64_t n = support::scaled(1000000);
  for (std::uint64_t i = 0; i < n; ++i) {
    const Real16 x = s.with_exponent(static_cast<std::uint32_t>(s.below(0x8000)), false);
    if (!check_root(ref, x, &budget)) ++failures;
  }
  EXPECT_EQ(failures, 0u) << failures << " of " << n << " roots differ";
  EXPECT_TRUE(rec.reports.empty());
}

// r^2 for a root r of up to 56 significant bits is exact in 113 bits; its
// root is r again, and the neighbours of r^2 have roots just off r.
TEST(Sqrt, PerfectSquaresAndTheirNeighbours) {
  Real16Sampler s(0x5a8);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  for (std::uint64_t i = 0; i < support::scaled(30000); ++i) {
    const Real16 r = real16_of(false, static_cast<std::uint32_t>(0x2001 + s.below(0x3ffc)),
                               s.bits() >> (16 + s.below(48)) << 8 >> 8, 0);
    Real16 square;
    g_aqmq(&square, &r, &r);
    Real16 got;
    g_qsqrt(&got, &square);
    EXPECT_TRUE(oracle::same_bits(got, r)) << support::show(square);
    check_root(ref, square, &budget);
    for (const std::uint64_t step : {1ull, 2ull}) {
      Real16 up = square, down = square;
      up.w[0] += static_cast<std::uint32_t>(step);  // no carry: the low word of r^2 is 0
      down.w[0] -= static_cast<std::uint32_t>(step);
      if (down.w[0] > square.w[0]) down.w[1] -= 1;  // borrow (words 1, 2 are not all 0 here)
      check_root(ref, up, &budget);
      if (down.w[1] != 0xffffffffu) check_root(ref, down, &budget);
    }
  }
  // Ends of both binades, exponents odd and even, including 0 and 0x7fff.
  for (std::uint32_t e : {0u, 1u, 2u, 3u, 0x3ffeu, 0x3fffu, 0x4000u, 0x7ffdu, 0x7ffeu, 0x7fffu}) {
    check_root(ref, real16_of(false, e, 0, 0), &budget);
    check_root(ref, real16_of(false, e, 0, 1), &budget);
    check_root(ref, real16_of(false, e, 0xffffffffffff, ~std::uint64_t{0}), &budget);
    check_root(ref, real16_of(false, e, 0xffffffffffff, ~std::uint64_t{0} - 1), &budget);
  }
}

// Roots at a distance of about t / 2^114 units from a rounding boundary:
// from the midpoint between two roots, or from a root. The root is first
// estimated to within 2 units of 2^-127 (relative), and only an exact
// remainder decides these. They come from s^2 = m 2^j + t with t = 1
// (mod 8) and |t| < 2^20: sqrt(m 2^j) lies within |t| / (2s) of s. An odd
// s of 114 bits is a midpoint between two roots of 113 bits; one of 113
// bits is a root. s is a square root of t modulo 2^j (lifted bit by bit:
// when x^2 = t modulo 2^k, x or x + 2^(k-1) is a root modulo 2^(k+1)),
// moved into its range, and kept when m = (s^2 - t) / 2^j is a
// significand.
TEST(Sqrt, RootsAtATinyDistanceFromRoundingBoundaries) {
  Real16Sampler s(0x5a9);
  Real16Reference ref;
  int budget = 10;
  support::Mpz t, x, sq, m, power, low, high;
  mpz_set_ui(low.get(), 1);
  mpz_mul_2exp(low.get(), low.get(), 112);  // significands lie in [2^112, 2^113)
  mpz_mul_2exp(high.get(), low.get(), 1);
  std::uint64_t found[2] = {0, 0};
  const std::uint64_t wanted = support::scaled(10000);
  while (found[0] < wanted || found[1] < wanted) {
    const bool midpoint = (s.bits() & 1) != 0;
    if (found[midpoint ? 1 : 0] >= wanted) continue;
    const unsigned length = midpoint ? 114 : 113;  // of s
    const unsigned j = 2 * length - 114 + static_cast<unsigned>(s.bits() & 1);
    mpz_set_si(t.get(), 1 + 8 * (static_cast<long>(s.below(1 << 17)) - (1 << 16)));
    mpz_set_ui(x.get(), 1);  // a root of t modulo 8
    for (unsigned k = 3; k < j; ++k) {
      mpz_mul(sq.get(), x.get(), x.get());
      mpz_sub(sq.get(), sq.get(), t.get());
      if (!mpz_divisible_2exp_p(sq.get(), k + 1)) mpz_setbit(x.get(), k - 1);
    }
    // One of the four roots modulo 2^j: x, -x, x + 2^(j-1), -x + 2^(j-1).
    mpz_set_ui(power.get(), 1);
    mpz_mul_2exp(power.get(), power.get(), j);
    if (s.bits() & 1) mpz_sub(x.get(), power.get(), x.get());
    if (s.bits() & 1) mpz_combit(x.get(), j - 1);
    mpz_mod(x.get(), x.get(), power.get());
    while (mpz_sizeinbase(x.get(), 2) < length) mpz_add(x.get(), x.get(), power.get());
    if (mpz_sizeinbase(x.get(), 2) != length || mpz_even_p(x.get())) continue;
    mpz_mul(m.get(), x.get(), x.get());
    mpz_sub(m.get(), m.get(), t.get());
    mpz_tdiv_q_2exp(m.get(), m.get(), j);  // exact: s^2 = t modulo 2^j
    if (mpz_cmp(m.get(), low.get()) < 0 || mpz_cmp(m.get(), high.get()) >= 0) continue;
    ++found[midpoint ? 1 : 0];
    // x = m 2^(e - 16383 - 112) has the root sqrt(m 2^j) 2^((e - 16495 - j) / 2).
    auto e = static_cast<std::uint32_t>(0x3000 + s.below(0x2000));
    if (((e + 16495 + j) & 1) != 0) ++e;
    const Real16 v = real16_of(false, e, support::word_of(m.get(), 1) & 0xffffffffffff,
                               support::word_of(m.get(), 0));
    check_root(ref, v, &budget);
  }
}

TEST(Sqrt, ExactRows) {
  struct Row {
    const char *rule;
    Real16 x, want;
  } rows[] = {
      {"sqrt(4) is exactly 2", real16(0x40010000), real16(0x40000000)},
      {"sqrt(2) rounds correctly", real16(0x40000000),
       real16(0x3fff6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea95)},
      {"sqrt(+0) is +0", kZero, kZero},
      {"sqrt(-0) is +0", real16(0x80000000), kZero},
      {"a zero with garbage is +0", real16(0x80000000, 1, 2, 3), kZero},
      {"sqrt(_Inf_Q) is the ordinary 2^8192", real16(0x7fff0000), real16(0x5fff0000)},
      {"sqrt(2^-16382) is 2^-8191", real16(0x00010000), real16(0x20000000)},
  };
  Real16Reference ref;
  for (const Row &r : rows) {
    support::Recorder rec(1, 1, 0);
    Real16 got;
    g_qsqrt(&got, &r.x);
    EXPECT_TRUE(rec.reports.empty()) << r.rule;
    EXPECT_TRUE(oracle::same_bits(got, r.want))
        << r.rule << ": got " << support::show(got) << ", want " << support::show(r.want);
    EXPECT_TRUE(oracle::same_bits(got, ref.sqrt(r.x).bits)) << r.rule << " (MPFR)";
  }
}

TEST(Sqrt, NegativeArgumentIsError228) {
  const Real16 minus_four = real16(0xc0010000);
  for (std::uint8_t flag : {0, 1}) {
    // An argument error: the exception report and mute flags do not apply.
    support::Recorder rec(flag, 0, 1);
    Real16 slot{};  // read while the report is in progress
    rec.answer = [&slot](const support::Report &r, int) {
      slot = r.slot_as<Real16>(1);
      return 0;
    };
    Real16 got;
    g_qsqrt(&got, &minus_four);
    ASSERT_EQ(rec.reports.size(), 1u);
    const support::Report &r = rec.reports[0];
    EXPECT_EQ(r.number, 228);
    EXPECT_EQ(r.value_count, 1);
    EXPECT_EQ(r.value_type[0], 11);
    EXPECT_TRUE(oracle::same_bits(r.value_as<Real16>(0), minus_four));
    EXPECT_TRUE(oracle::same_bits(slot, minus_four));
    EXPECT_NE(r.slot1, r.value_address[0]);
    // Declined: the NaN pattern with the flag, else the root of |x|.
    EXPECT_TRUE(oracle::same_bits(got, flag == 1 ? kNaN : real16(0x40000000)))
        << support::show(got);
  }
}

TEST(Sqrt, ResumeComputesTheReplacement) {
  support::Recorder rec(1, 0, 0);
  rec.answer = [](const support::Report &r, int index) {
    support::replace(r, 1, index == 0 ? real16(0xc0000000) : real16(0x40010000));  // -2, then 4
    return 1;
  };
  const Real16 x = real16(0xbfff0000);
  Real16 got;
  g_qsqrt(&got, &x);
  ASSERT_EQ(rec.reports.size(), 2u);  // the negative replacement reports again
  EXPECT_TRUE(oracle::same_bits(rec.reports[1].value_as<Real16>(0), real16(0xc0000000)));
  EXPECT_TRUE(oracle::same_bits(got, real16(0x40000000)));
}

}  // namespace
