// The relational operators g_afeq, g_afne, g_afgt, g_afge, g_aflt, g_afle:
// rows from the rules (equal zeros first, then NaN patterns, then identity
// or sign-and-magnitude order), and random pairs against the order of the
// MPFR values wherever those rules give way to the values.
#include <gtest/gtest.h>

#include "oracle/oracle.h"
#include "support/real16_checks.h"

namespace {

using oracle::real16;
using Relational = std::int32_t (*)(const Real16 *, const Real16 *);

struct Relations {
  int eq, ne, gt, ge, lt, le;
};

void expect_relations(const Real16 &a, const Real16 &b, const Relations &want, const char *rule) {
  SCOPED_TRACE(std::string(rule) + ": " + support::show(a) + " vs " + support::show(b));
  EXPECT_EQ(g_afeq(&a, &b), want.eq);
  EXPECT_EQ(g_afne(&a, &b), want.ne);
  EXPECT_EQ(g_afgt(&a, &b), want.gt);
  EXPECT_EQ(g_afge(&a, &b), want.ge);
  EXPECT_EQ(g_aflt(&a, &b), want.lt);
  EXPECT_EQ(g_afle(&a, &b), want.le);
}

constexpr Relations kEqual = {1, 0, 0, 1, 0, 1};
constexpr Relations kBelow = {0, 1, 0, 0, 1, 1};
constexpr Relations kAbove = {0, 1, 1, 1, 0, 0};
constexpr Relations kUnordered = {0, 1, 0, 0, 0, 0};

TEST(Compare, Rows) {
  const Real16 zero = real16(0), minus_zero = real16(0x80000000);
  const Real16 garbage_zero = real16(0, 0, 0, 1);
  const Real16 nan = real16(0x7fff8000), low_nan = real16(0x7fff0000, 0, 0, 1);
  const Real16 inf = real16(0x7fff0000), minus_inf = real16(0xffff0000);
  const Real16 one = real16(0x3fff0000), minus_one = real16(0xbfff0000);
  const Real16 minus_two = real16(0xc0000000);
  struct Row {
    const char *rule;
    Real16 a, b;
    Relations want;
  } rows[] = {
      {"+0 and -0 are equal zeros", zero, minus_zero, kEqual},
      {"-0 and +0 are equal zeros: -0 < +0 does not hold", minus_zero, zero, kEqual},
      {"-0 and -0", minus_zero, minus_zero, kEqual},
      {"+0 and a zero with a nonzero word 0 differ as patterns", zero, garbage_zero, kBelow},
      {"-0 and a zero with garbage are not equal zeros", minus_zero, garbage_zero, kBelow},
      {"NaN against anything: only /= holds", nan, one, kUnordered},
      {"anything against NaN", one, nan, kUnordered},
      {"NaN against itself", nan, nan, kUnordered},
      {"a NaN by its lowest fraction bit", low_nan, low_nan, kUnordered},
      {"-0 against NaN", minus_zero, nan, kUnordered},
      {"+0 and +0 identical", zero, zero, kEqual},
      {"_Inf_Q is ordered like a number", inf, one, kAbove},
      {"_MInf_Q is below -1", minus_inf, minus_one, kBelow},
      {"-1 > -2", minus_one, minus_two, kAbove},
      {"negative below positive", minus_two, one, kBelow},
      {"-1 < +0", minus_one, zero, kBelow},
      {"identical patterns", real16(0x40001234, 5, 6, 7), real16(0x40001234, 5, 6, 7), kEqual},
      {"word 0 decides", real16(0x40001234, 5, 6, 7), real16(0x40001234, 5, 6, 8), kBelow},
      {"word 0 decides, negative", real16(0xc0001234, 5, 6, 7), real16(0xc0001234, 5, 6, 8),
       kAbove},
  };
  for (const Row &r : rows) expect_relations(r.a, r.b, r.want, r.rule);
}

TEST(Compare, RandomPairsFollowTheValues) {
  support::Real16Sampler s(0xc0a7);
  oracle::Real16Reference ref;
  oracle::Big va(oracle::Precision{113});
  int budget = 10;
  for (std::uint64_t i = 0; i < support::scaled(200000); ++i) {
    const auto e = static_cast<std::uint32_t>(1 + s.below(0x7ffe));
    const Real16 a = s.with_exponent(e);
    Real16 b = s.with_exponent(s.below(2) ? e : static_cast<std::uint32_t>(1 + s.below(0x7ffe)));
    if (s.below(8) == 0) b = a;
    if (s.below(8) == 0) b.w[3] ^= 0x80000000;
    mpfr_set(va, ref.exact(a), MPFR_RNDN);
    const int c = mpfr_cmp(va, ref.exact(b));
    const Relations want = c == 0 ? kEqual : (c < 0 ? kBelow : kAbove);
    const bool ok = g_afeq(&a, &b) == want.eq && g_afne(&a, &b) == want.ne &&
                    g_afgt(&a, &b) == want.gt && g_afge(&a, &b) == want.ge &&
                    g_aflt(&a, &b) == want.lt && g_afle(&a, &b) == want.le;
    if (!ok && budget-- > 0) ADD_FAILURE() << support::show(a) << " vs " << support::show(b);
  }
}

}  // namespace
