// g_aqmq and g_aqdq against MPFR at 113 bits, mapped through the format's
// zero, overflow and underflow rules (oracle/real16.h).
//
// Bound: 0 ulp. Products and quotients are correctly rounded (to nearest,
// ties to even): every result must match the reference bit for bit, and
// every overflow, underflow and division by zero must be reported with its
// number and give its default.
//
// Random pairs: exponents mostly around the middle of the range (results
// in range), and for one pair in eight anywhere (results that overflow or
// underflow); signs and significand patterns random. Hard cases: products
// that are exact ties (a 114-bit odd product), carries of the rounding into
// the next binade, quotients next to representable values, exact
// quotients, quotients within a few units of 2^-226 of a midpoint or of a
// representable value (which only an exact remainder rounds), and results
// at the ends of the exponent range.
#include <gtest/gtest.h>

#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using oracle::real16;
using oracle::Real16Reference;
using support::Operator16;
using support::real16_of;
using support::Real16Sampler;

const Operator16 kMul = {"g_aqmq", g_aqmq, &Real16Reference::mul, 1397, 1398, 0, false};
const Operator16 kDiv = {"g_aqdq", g_aqdq, &Real16Reference::div, 278, 279, 280, false};

using namespace support::real16_constants;

std::uint32_t random_exponent(Real16Sampler &s) {
  if (s.below(8) == 0) return static_cast<std::uint32_t>(s.below(0x8000));
  return static_cast<std::uint32_t>(0x3fff - 0x1000 + s.below(0x2000));
}

void run_random(const Operator16 &op, std::uint64_t seed, std::uint64_t n) {
  Real16Sampler s(seed);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  std::uint64_t failures = 0;
  for (std::uint64_t i = 0; i < n; ++i) {
    const Real16 a = s.with_exponent(random_exponent(s));
    const Real16 b = s.with_exponent(random_exponent(s));
    if (!support::check_operator(op, ref, rec, a, b, &budget)) ++failures;
  }
  EXPECT_EQ(failures, 0u) << op.name << ": " << failures << " of " << n << " pairs differ";
}

TEST(MulDiv, RandomPairsAgainstMpfr) {
  const std::uint64_t n = support::scaled(1000000);
  run_random(kMul, 0x3a116, n);
  run_random(kDiv, 0xd1716, n);
}

// Odd significands p (57 bits) and q (58 bits) whose product has 114 bits:
// the 113 kept bits are followed by a single 1, a tie.
TEST(MulDiv, ProductTiesAndCarries) {
  Real16Sampler s(0x71e5);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  std::uint64_t ties = 0;
  for (std::uint64_t i = 0; ties < support::scaled(20000); ++i) {
    const std::uint64_t fp = (s.bits() >> 8) | 1, fq = (s.bits() >> 7) | 1;  // 56 and 57 bits
    const std::uint64_t p = (std::uint64_t{1} << 56) | fp, q = (std::uint64_t{1} << 57) | fq;
    // p q is odd; below 2^114 it has 114 bits (the extended product decides,
    // except where it rounds to 2^114 itself).
    if (static_cast<long double>(p) * static_cast<long double>(q) >= 0x1p114L) continue;
    ++ties;
    const Real16 x = real16_of(s.bits() & 1, 0x3fff + static_cast<std::uint32_t>(s.below(64)),
                               fp >> 8, fp << 56);
    const Real16 y = real16_of(s.bits() & 1, 0x3fff - static_cast<std::uint32_t>(s.below(64)),
                               fq >> 9, fq << 55);
    support::check_operator(kMul, ref, rec, x, y, &budget);
  }
  // All-ones significands: the product rounds up into the next binade.
  const Real16 ones = real16_of(false, 0x3fff, 0xffffffffffff, ~std::uint64_t{0});
  support::check_operator(kMul, ref, rec, ones, ones, &budget);
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    const Real16 a = s.with_exponent(0x3fff), b = s.with_exponent(0x3fff);
    support::check_operator(kMul, ref, rec, a, b, &budget);
  }
}

// Quotients next to representable values: a = b * q rounded, so that a / b
// lies within an ulp of q; and exact quotients a = b * q for short q.
TEST(MulDiv, QuotientsNearAndAtRepresentableValues) {
  Real16Sampler s(0xd1e4);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  for (std::uint64_t i = 0; i < support::scaled(30000); ++i) {
    const Real16 b = s.with_exponent(0x3fff + static_cast<std::uint32_t>(s.below(200)) - 100);
    const Real16 q = s.with_exponent(0x3fff + static_cast<std::uint32_t>(s.below(200)) - 100);
    Real16 a;
    g_aqmq(&a, &b, &q);
    support::check_operator(kDiv, ref, rec, a, b, &budget);
    const Real16 short_q = real16_of(s.bits() & 1, 0x3fff + static_cast<std::uint32_t>(s.below(20)),
                                     s.bits() >> 40 << 24, 0);  // 25 significant bits
    const Real16 short_b = real16_of(s.bits() & 1, 0x3fff - static_cast<std::uint32_t>(s.below(20)),
                                     s.bits() >> 16, 0);  // 49 significant bits
    g_aqmq(&a, &short_b, &short_q);                       // exact
    Real16 got;
    g_aqdq(&got, &a, &short_b);
    EXPECT_TRUE(oracle::same_bits(got, short_q))
        << support::show(a) << " / " << support::show(short_b);
    support::check_operator(kDiv, ref, rec, a, short_b, &budget);
  }
}

// Quotients at a distance of a few units of 2^-226 from a rounding
// boundary: from the midpoint between two quotients, or from a quotient.
// The quotient is first estimated to within 2 units of 2^-127 (relative),
// and only an exact remainder decides these; they come from B K + t =
// A 2^114 with t small: A / B = K / 2^114 + t / (B 2^114). K odd (114
// bits) is a midpoint of quotients in [1/2, 1); K = 2K' is a quotient.
// Given K and t, B is -t / K modulo 2^114 (over 2 for an even K), kept
// when it is a significand, and A follows.
TEST(MulDiv, QuotientsAtATinyDistanceFromRoundingBoundaries) {
  Real16Sampler s(0xb0d7);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  support::Mpz k, modulus, b, a, t, low, high;
  mpz_set_ui(low.get(), 1);
  mpz_mul_2exp(low.get(), low.get(), 112);  // significands lie in [2^112, 2^113)
  mpz_mul_2exp(high.get(), low.get(), 1);
  auto significand = [](mpz_srcptr z, std::uint32_t biased, bool negative) {
    return real16_of(negative, biased, support::word_of(z, 1) & 0xffffffffffff,
                     support::word_of(z, 0));
  };
  std::uint64_t found[2] = {0, 0};
  const std::uint64_t wanted = support::scaled(20000);
  while (found[0] < wanted || found[1] < wanted) {
    const bool midpoint = (s.bits() & 1) != 0;
    if (found[midpoint ? 1 : 0] >= wanted) continue;
    // The odd part of K and its modulus: 114 and 113 bits.
    const unsigned bits = midpoint ? 114 : 113;
    k.set({(s.bits() >> (128 - bits)) | (std::uint64_t{1} << (bits - 65)), s.bits() | 1});
    mpz_set_ui(modulus.get(), 1);
    mpz_mul_2exp(modulus.get(), modulus.get(), bits);
    const long step = static_cast<long>(s.below(6)) - 3;  // t / (2^114 / modulus), nonzero
    mpz_set_si(t.get(), step >= 0 ? step + 1 : step);
    mpz_invert(b.get(), k.get(), modulus.get());
    mpz_mul(b.get(), b.get(), t.get());
    mpz_neg(b.get(), b.get());
    mpz_mod(b.get(), b.get(), modulus.get());
    if (mpz_cmp(b.get(), low.get()) < 0 || mpz_cmp(b.get(), high.get()) >= 0) continue;
    mpz_mul(a.get(), b.get(), k.get());
    mpz_add(a.get(), a.get(), t.get());
    mpz_tdiv_q_2exp(a.get(), a.get(), bits);  // exact: B K + t is a multiple of the modulus
    if (mpz_cmp(a.get(), low.get()) < 0 || mpz_cmp(a.get(), high.get()) >= 0) continue;
    ++found[midpoint ? 1 : 0];
    const auto ea = static_cast<std::uint32_t>(0x3fff + s.below(400) - 200);
    const auto eb = static_cast<std::uint32_t>(0x3fff + s.below(400) - 200);
    support::check_operator(kDiv, ref, rec, significand(a.get(), ea, s.bits() & 1),
                            significand(b.get(), eb, s.bits() & 1), &budget);
  }
}

// Exponents that put the result just inside or just outside the range,
// where the rounding may carry it across.
TEST(MulDiv, ResultsAtTheLargestAndSmallestExponents) {
  Real16Sampler s(0xed9f);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    // Product exponents ea + eb - 0x3fff near 0x7ffe and near 1.
    const auto ea = static_cast<std::uint32_t>(0x4000 + s.below(0x3ff0));
    const auto high = static_cast<std::uint32_t>(0x7ffe + 0x3fff - ea - s.below(2));
    const auto small = static_cast<std::uint32_t>(0x10 + s.below(0x3fe0));
    const auto low = static_cast<std::uint32_t>(0x4000 - small - s.below(2));
    const Real16 a = s.with_exponent(ea);
    support::check_operator(kMul, ref, rec, a, s.with_exponent(high), &budget);
    support::check_operator(kMul, ref, rec, s.with_exponent(small), s.with_exponent(low), &budget);
    // Quotient exponents ea - eb + 0x3fff near 0x7ffe and near 1.
    support::check_operator(
        kDiv, ref, rec, a,
        s.with_exponent(ea + 0x3fff - 0x7ffe + static_cast<std::uint32_t>(s.below(2))), &budget);
    support::check_operator(kDiv, ref, rec, s.with_exponent(ea - 0x3fff), a, &budget);
    support::check_operator(kDiv, ref, rec, s.with_exponent(ea - 0x3ffe), a, &budget);
  }
  const Real16 ones = real16_of(false, 0x3fff, 0xffffffffffff, ~std::uint64_t{0});
  support::check_operator(kMul, ref, rec, kLargest, ones, &budget);
  support::check_operator(kMul, ref, rec, kLargest, real16(0x3fff0000, 0, 0, 1), &budget);
  support::check_operator(kDiv, ref, rec, kLargest, ones, &budget);
}

struct ExactRow {
  const char *rule;
  support::Binary16 fn;
  Real16 a, b, want;
};

TEST(MulDiv, ExactRows) {
  const Real16 three = real16(0x40008000);
  const ExactRow rows[] = {
      {"(-3) * 0 is +0", g_aqmq, real16(0xc0008000), kZero, kZero},
      {"0 * (-3) is +0", g_aqmq, real16(0x80000000, 1, 2, 3), real16(0xc0008000), kZero},
      {"(1 + 2^-112)^2 is 1 + 2^-111: 2^-224 only sets the sticky bit", g_aqmq,
       real16(0x3fff0000, 0, 0, 1), real16(0x3fff0000, 0, 0, 1), real16(0x3fff0000, 0, 0, 2)},
      {"1 * 1 is 1", g_aqmq, kOne, kOne, kOne},
      {"_Inf_Q * 0.5 is the ordinary 2^16383", g_aqmq, kInf, real16(0x3ffe0000),
       real16(0x7ffe0000)},
      {"1 / 3 rounds down: 1.0101...01 * 2^-2", g_aqdq, kOne, three,
       real16(0x3ffd5555, 0x55555555, 0x55555555, 0x55555555)},
      {"1 / 1 is exactly 1", g_aqdq, kOne, kOne, kOne},
      {"-6 / 3 is -2", g_aqdq, real16(0xc0018000), three, real16(0xc0000000)},
      {"0 / 3 is +0", g_aqdq, real16(0x80000000), three, kZero},
      {"a zero with garbage divided: +0", g_aqdq, real16(0, 0xffffffff), three, kZero},
  };
  for (const ExactRow &r : rows) {
    support::Recorder rec(1, 1, 0);
    Real16 got;
    r.fn(&got, &r.a, &r.b);
    EXPECT_TRUE(rec.reports.empty()) << r.rule;
    EXPECT_TRUE(oracle::same_bits(got, r.want))
        << r.rule << ": got " << support::show(got) << ", want " << support::show(r.want);
  }
}

TEST(MulDiv, ErrorsAndDefaults) {
  const Real16 five = real16(0x40014000);
  const Real16 minus_five = real16(0xc0014000);
  const Real16 huge = real16(0x7ff00000, 1, 2, 3);
  const Real16 tiny = real16(0x000f0000, 4, 5, 6);
  const support::ErrorCase16 cases[] = {
      // Product overflow: infinity by the agreement of the signs.
      {"g_aqmq", g_aqmq, huge, huge, 1397, 0, kLargest, kInf},
      {"g_aqmq", g_aqmq, real16(0xfff00000), huge, 1397, 0, kLargest, kMinusInf},
      {"g_aqmq", g_aqmq, real16(0xfff00000), real16(0xfff00000), 1397, 0, kLargest, kInf},
      {"g_aqmq", g_aqmq, kLargest, kLargest, 1397, 0, kLargest, kInf},  // 0x7ffe + 0x7ffe
      {"g_aqmq", g_aqmq, kInf, kOne, 1397, 0, kLargest, kInf},
      {"g_aqmq", g_aqmq, kNaN, real16(0xbfff0000), 1397, 0, kLargest, kMinusInf},
      {"g_aqmq", g_aqmq, tiny, tiny, 1398, 0, kZero, kZero},
      {"g_aqmq", g_aqmq, real16(0x80010000), real16(0x3ffe0000), 1398, 0, kZero, kZero},
      // Quotient overflow and underflow report both operands as values.
      {"g_aqdq", g_aqdq, huge, tiny, 278, 2, kLargest, kInf},
      {"g_aqdq", g_aqdq, huge, real16(0x800f0000), 278, 2, kLargest, kMinusInf},
      {"g_aqdq", g_aqdq, kInf, real16(0x3ffe0000), 278, 2, kLargest, kInf},  // 0x7fff + 1
      {"g_aqdq", g_aqdq, tiny, huge, 279, 2, kZero, kZero},
      // Division by zero: no values; the divisor's sign plays no part.
      {"g_aqdq", g_aqdq, five, kZero, 280, 0, kLargest, kInf},
      {"g_aqdq", g_aqdq, five, real16(0x80000000), 280, 0, kLargest, kInf},
      {"g_aqdq", g_aqdq, minus_five, kZero, 280, 0, kLargest, kMinusInf},
      {"g_aqdq", g_aqdq, minus_five, real16(0x80000000, 7), 280, 0, kLargest, kMinusInf},
      {"g_aqdq", g_aqdq, kZero, kZero, 280, 0, kZero, kNaN},
      {"g_aqdq", g_aqdq, real16(0x80000000), real16(0, 1), 280, 0, kZero, kNaN},
  };
  for (const auto &c : cases) support::expect_error16(c);
}

TEST(MulDiv, ResumeComputesTheReplacement) {
  const Real16 two = real16(0x40000000), three = real16(0x40008000);
  const Real16 huge = real16(0x7ff00000);
  support::expect_resume16(g_aqmq, huge, huge, two, three, 1397);
  support::expect_resume16(g_aqdq, huge, real16(0x000f0000), three, two, 278);
  support::expect_resume16(g_aqdq, two, kZero, three, two, 280);
}

TEST(MulDiv, ResultMayAliasAnOperand) {
  Real16 a = real16(0x40008000);  // 3
  g_aqmq(&a, &a, &a);
  EXPECT_TRUE(oracle::same_bits(a, real16(0x40022000)));  // 9
  Real16 b = real16(0x40000000);                          // 2
  g_aqdq(&b, &a, &b);                                     // 9 / 2
  EXPECT_TRUE(oracle::same_bits(b, real16(0x40012000)));
}

}  // namespace
