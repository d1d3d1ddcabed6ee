// g_aqaq and g_aqsq against MPFR at 113 bits, mapped through the format's
// zero, overflow and underflow rules (oracle/real16.h).
//
// Bound: 0 ulp. Sums and differences are correctly rounded (to nearest,
// ties to even), so every result must match the reference bit for bit,
// and every overflow and underflow must be reported with its number and
// give its default.
//
// Random pairs: a's exponent anywhere (now and then at the ends of the
// range), b's at an alignment distance drawn mostly from 0..3, the word
// boundaries around 32, 64, 96, 112, 128 and 146, 0..160, or anywhere;
// signs and significand patterns (random, all ones, single bits, runs)
// random. Hard cases are built on purpose below.
#include <gtest/gtest.h>

#include <vector>

#include "support/real16_checks.h"

namespace {

using oracle::real16;
using oracle::Real16Reference;
using support::Operator16;
using support::real16_of;
using support::Real16Sampler;

const Operator16 kAdd = {"g_aqaq", g_aqaq, &Real16Reference::add, 1397, 1398, 0, true};
const Operator16 kSub = {"g_aqsq", g_aqsq, &Real16Reference::sub, 1397, 1398, 0, true};

using namespace support::real16_constants;

constexpr unsigned kDistances[] = {0,   1,   2,   3,   31,  32,  33,   63,    64,    65,    95,
                                   96,  97,  111, 112, 113, 114, 115,  127,   128,   129,   145,
                                   146, 147, 160, 200, 255, 256, 1000, 16000, 32765, 32766, 32767};

unsigned random_distance(Real16Sampler &s) {
  switch (s.below(4)) {
    case 0:
      return static_cast<unsigned>(s.below(4));
    case 1:
      return kDistances[s.below(std::size(kDistances))];
    case 2:
      return static_cast<unsigned>(s.below(161));
    default:
      return static_cast<unsigned>(s.below(0x8000));
  }
}

std::uint32_t random_exponent(Real16Sampler &s) {
  switch (s.below(32)) {
    case 0:
      return static_cast<std::uint32_t>(s.below(4));  // 0..3, 0 a normal number here
    case 1:
      return 0x7fff - static_cast<std::uint32_t>(s.below(4));  // 0x7ffc..0x7fff
    default:
      return static_cast<std::uint32_t>(s.below(0x8000));
  }
}

// b's exponent at `distance` from a's, inside 0..0x7fff.
std::uint32_t at_distance(std::uint32_t ea, unsigned distance, bool above) {
  const std::int64_t e = above ? std::int64_t{ea} + distance : std::int64_t{ea} - distance;
  return static_cast<std::uint32_t>(e < 0 ? 0 : (e > 0x7fff ? 0x7fff : e));
}

void run_random(const Operator16 &op, std::uint64_t seed, std::uint64_t n) {
  Real16Sampler s(seed);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  std::uint64_t failures = 0;
  for (std::uint64_t i = 0; i < n; ++i) {
    const std::uint32_t ea = random_exponent(s);
    const Real16 a = s.with_exponent(ea);
    const Real16 b = s.with_exponent(at_distance(ea, random_distance(s), s.bits() & 1));
    if (!support::check_operator(op, ref, rec, a, b, &budget)) ++failures;
  }
  EXPECT_EQ(failures, 0u) << op.name << ": " << failures << " of " << n << " pairs differ";
}

TEST(AddSub, RandomPairsAgainstMpfr) {
  const std::uint64_t n = support::scaled(1000000);
  run_random(kAdd, 0xadd16, n);
  run_random(kSub, 0x5ab16, n);
}

// Every alignment distance of interest, with both signs and both orders.
TEST(AddSub, AlignmentDistances) {
  Real16Sampler s(0xa119);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  const std::uint64_t per_distance = support::scaled(3000);
  for (unsigned d : kDistances) {
    for (std::uint64_t i = 0; i < per_distance; ++i) {
      const auto ea = static_cast<std::uint32_t>(0x4000 + s.below(0x3000)) - 0x1800;
      const Real16 a = s.with_exponent(ea);
      const Real16 b = s.with_exponent(at_distance(ea, d, false));
      for (const Operator16 *op : {&kAdd, &kSub}) {
        support::check_operator(*op, ref, rec, a, b, &budget);
        support::check_operator(*op, ref, rec, b, a, &budget);
      }
    }
  }
}

// Differences that cancel all or nearly all bits: b is a with some of its
// low bits changed, so the result needs a long normalisation.
TEST(AddSub, TotalAndNearTotalCancellation) {
  Real16Sampler s(0xca7c);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    const auto e = static_cast<std::uint32_t>(1 + s.below(0x7ffd));
    const Real16 a = s.with_exponent(e);
    Real16 b = a;
    const unsigned k = static_cast<unsigned>(s.below(113));  // change bits below 2^k ulps
    const std::uint64_t mask_low = k >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << k) - 1;
    const std::uint64_t mask_high = k <= 64 ? 0 : (std::uint64_t{1} << (k - 64)) - 1;
    const std::uint64_t r1 = s.bits(), r2 = s.bits();
    b.w[0] ^= static_cast<std::uint32_t>(r1 & mask_low);
    b.w[1] ^= static_cast<std::uint32_t>((r1 & mask_low) >> 32);
    b.w[2] ^= static_cast<std::uint32_t>(r2 & mask_high);
    b.w[3] ^= static_cast<std::uint32_t>((r2 & mask_high) >> 32) & 0xffff;
    support::check_operator(kSub, ref, rec, a, b, &budget);
    support::check_operator(kSub, ref, rec, b, a, &budget);
    Real16 minus_b = b;
    minus_b.w[3] ^= support::kSign16;
    support::check_operator(kAdd, ref, rec, a, minus_b, &budget);
    // 1.0 * 2^e minus (2 - 2^-112) * 2^(e-1): a single ulp of the lower
    // binade, found after 113 places of normalisation.
    const Real16 power = real16_of(false, e, 0, 0);
    const Real16 below = real16_of(false, e - 1, 0xffffffffffff, ~std::uint64_t{0});
    support::check_operator(kSub, ref, rec, power, below, &budget);
  }
}

// Results at the ends of the exponent range: sums that reach 0x7fff, and
// differences whose result falls to biased exponent 0 or below.
TEST(AddSub, ResultsAtTheLargestAndSmallestExponents) {
  Real16Sampler s(0xed9e);
  Real16Reference ref;
  support::Recorder rec(1, 1, 0);
  int budget = 10;
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    const auto high = static_cast<std::uint32_t>(0x7ffe - s.below(3));
    const auto low = static_cast<std::uint32_t>(s.below(3));
    const Real16 a = s.with_exponent(high), b = s.with_exponent(high - s.below(2));
    const Real16 c = s.with_exponent(low), d = s.with_exponent(low + s.below(2));
    for (const Operator16 *op : {&kAdd, &kSub}) {
      support::check_operator(*op, ref, rec, a, b, &budget);
      support::check_operator(*op, ref, rec, c, d, &budget);
      support::check_operator(*op, ref, rec, d, c, &budget);
    }
  }
  // The largest value plus half its ulp is a tie that rounds up to 2^16384.
  const Real16 half_ulp = real16_of(false, 0x7ffe - 113, 0);
  support::check_operator(kAdd, ref, rec, kLargest, half_ulp, &budget);
  EXPECT_EQ(ref.add(kLargest, half_ulp).outcome, oracle::Outcome::overflow);
}

// Bit-exact rows, each from a rule of the format.
struct ExactRow {
  const char *rule;
  support::Binary16 fn;
  Real16 a, b, want;
};

TEST(AddSub, ExactRows) {
  const ExactRow rows[] = {
      {"1 + 2^-113 is a tie: to even, 1", g_aqaq, kOne, real16_of(false, 0x3fff - 113, 0), kOne},
      {"1 + 3 * 2^-114 rounds up by one ulp", g_aqaq, kOne,
       real16_of(false, 0x3fff - 113, 1ull << 47), real16(0x3fff0000, 0, 0, 1)},
      {"(1 + 2^-112) + 2^-113 is a tie: to even, 1 + 2^-111", g_aqaq, real16(0x3fff0000, 0, 0, 1),
       real16_of(false, 0x3fff - 113, 0), real16(0x3fff0000, 0, 0, 2)},
      {"1 + 2^-200: all in the sticky bit", g_aqaq, kOne, real16_of(false, 0x3fff - 200, 0), kOne},
      {"(2 - 2^-112) + 2^-112 carries out of the top word: 2", g_aqaq,
       real16(0x3fffffff, 0xffffffff, 0xffffffff, 0xffffffff), real16_of(false, 0x3fff - 112, 0),
       real16(0x40000000)},
      {"x + (-x) is +0, all words", g_aqaq, real16(0x4abc1234, 5, 6, 7),
       real16(0xcabc1234, 5, 6, 7), kZero},
      {"x - x is +0", g_aqsq, real16(0xc0011234, 5, 6, 7), real16(0xc0011234, 5, 6, 7), kZero},
      {"a zero passes b through, garbage and all", g_aqaq, real16(0, 1, 2, 3),
       real16(0x40001111, 0xdeadbeef, 1, 2), real16(0x40001111, 0xdeadbeef, 1, 2)},
      {"a zero b passes a through", g_aqaq, real16(0xc0001111, 9, 8, 7),
       real16(0x80000000, 0xffffffff, 0, 0), real16(0xc0001111, 9, 8, 7)},
      {"two zeros: the second", g_aqaq, kZero, real16(0x80000000), real16(0x80000000)},
      {"0 - 5 is -5: only b's sign bit changes", g_aqsq, real16(0, 0, 7, 0),
       real16(0x40014000, 0, 0, 9), real16(0xc0014000, 0, 0, 9)},
      {"(-0) - (+0) is -0: the first operand", g_aqsq, real16(0x80000000), kZero,
       real16(0x80000000)},
      {"(+0) - (-0) is +0", g_aqsq, kZero, real16(0x80000000), kZero},
      {"a zero b passes a through, even a zero a", g_aqsq, real16(0x80000000, 1, 2, 3),
       real16(0, 4), real16(0x80000000, 1, 2, 3)},
      {"_Inf_Q - _Inf_Q is +0", g_aqsq, kInf, kInf, kZero},
      {"_Inf_Q / 2 is an ordinary 2^16384 on input: minus 2^16383 is 2^16383", g_aqsq, kInf,
       real16(0x7ffe0000), real16(0x7ffe0000)},
      {"exponent 0 under a nonzero word 3 is a number: 2 * 2^-16383", g_aqaq, real16(0x00000001),
       real16(0x00000001), real16(0x00010001)},
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

TEST(AddSub, ErrorsAndDefaults) {
  const Real16 minus_largest = real16(0xfffeffff, 0xffffffff, 0xffffffff, 0xffffffff);
  const Real16 tiny = real16_of(false, 1, 0x123456789abc, 5);
  const Real16 tiny_next = real16_of(false, 1, 0x123456789abc, 6);
  const support::ErrorCase16 cases[] = {
      {"g_aqaq", g_aqaq, kLargest, kLargest, 1397, 0, kLargest, kInf},
      {"g_aqaq", g_aqaq, minus_largest, minus_largest, 1397, 0, kLargest, kMinusInf},
      {"g_aqsq", g_aqsq, minus_largest, kLargest, 1397, 0, kLargest, kMinusInf},
      // _Inf_Q + 1 is an overflow of an ordinary number.
      {"g_aqaq", g_aqaq, kInf, kOne, 1397, 0, kLargest, kInf},
      {"g_aqaq", g_aqaq, kNaN, kOne, 1397, 0, kLargest, kInf},
      // The infinity default takes the sign of a, not of the result.
      {"g_aqaq", g_aqaq, kOne, kMinusInf, 1397, 0, kLargest, kInf},
      {"g_aqsq", g_aqsq, kOne, kInf, 1397, 0, kLargest, kInf},
      // Results below biased exponent 1 underflow to +0; never a subnormal.
      {"g_aqsq", g_aqsq, tiny_next, tiny, 1398, 0, kZero, kZero},
      {"g_aqaq", g_aqaq, real16(0x80010000, 0, 0, 1), real16(0x00010000), 1398, 0, kZero, kZero},
  };
  for (const auto &c : cases) support::expect_error16(c);
}

TEST(AddSub, ResumeComputesTheReplacement) {
  const Real16 two = real16(0x40000000);
  support::expect_resume16(g_aqaq, kLargest, kLargest, kOne, two, 1397);
  support::expect_resume16(g_aqsq, real16_of(false, 1, 1), real16_of(false, 1, 0), two, kOne, 1398);
}

TEST(AddSub, ResultMayAliasAnOperand) {
  Real16 a = real16(0x3fff8000);        // 1.5
  const Real16 b = real16(0x3ffe0000);  // 0.5
  g_aqaq(&a, &a, &b);
  EXPECT_TRUE(oracle::same_bits(a, real16(0x40000000)));
  Real16 c = real16(0x40000000);
  g_aqsq(&c, &b, &c);  // 0.5 - 2
  EXPECT_TRUE(oracle::same_bits(c, real16(0xbfff8000)));
}

}  // namespace
