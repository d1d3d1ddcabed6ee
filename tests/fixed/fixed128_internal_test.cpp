// The Fixed128 primitives against exact integers (GMP) and MPFR: each one's
// definition computed independently, over random operands at every scale
// and the ends of the ranges. The division runs beside the 16-bit long
// division it is defined by, digit by digit on GMP integers.
#include <gtest/gtest.h>

#include "fixed/fixed128.h"
#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using support::Mpz;
using vx::fixed::U128;

void set(Mpz &z, U128 n) { z.set({n.hi, n.lo}); }
U128 low128(mpz_srcptr z) { return {support::word_of(z, 1), support::word_of(z, 0)}; }
std::string hex(U128 n) {
  return testing::PrintToString(n.hi) + ":" + testing::PrintToString(n.lo);
}
const U128 kAllOnes = {~0ull, ~0ull};

// Random N: random bits below a random leading position, all ones or one
// bit there, or a top word on either side of the thresholds of the pair's
// scaling.
U128 sample(support::Real16Sampler &s) {
  const auto lead = static_cast<unsigned>(s.below(128));
  U128 n = {s.bits(), s.bits()};
  switch (s.below(5)) {
    case 0:
      return vx::w128::shl({0, 1}, lead);
    case 1:
      return vx::w128::shr(kAllOnes, lead);
    case 2: {
      const std::uint32_t edges[] = {0x4d000000, 0x55800000, 0x67000000, 0x7b000000};
      return {std::uint64_t{edges[s.below(4)] + s.below32(3) - 1} << 32 | (n.hi & 0xffffffff),
              n.lo};
    }
    default:
      return vx::w128::shr(n, lead);
  }
}

// a 2^127 / b by the 16-bit long division: A = a >> 2, B = b >> 1; the
// window W (A 2^16 at first) over the n-half-word divisor D; digit = top
// 32 bits of W over D's top half-word, 0xffff when that is 0 or the
// quotient larger, lowered while W - digit D is negative; W shifts up 16
// bits. Before digits 3, 5 and 7 D and W drop 32 bits (D rounded by bit 31).
U128 long_division(U128 a, U128 b) {
  Mpz w, d, q, top, t;
  set(w, vx::w128::shr(a, 2)), set(d, vx::w128::shr(b, 1));
  mpz_mul_2exp(w.get(), w.get(), 16);
  for (int j = 0, n = 8; j < 8; ++j) {
    if (j > 0 && j % 2 == 0) {
      const int round = mpz_tstbit(d.get(), 31);
      mpz_fdiv_q_2exp(d.get(), d.get(), 32), mpz_add_ui(d.get(), d.get(), round);
      mpz_fdiv_q_2exp(w.get(), w.get(), 32), n -= 2;
    }
    mpz_fdiv_q_2exp(top.get(), w.get(), 16 * (n - 1));
    mpz_fdiv_q_2exp(t.get(), d.get(), 16 * (n - 1));  // the top half-word
    unsigned long digit = 0xffff;
    if (mpz_sgn(t.get()) != 0 && mpz_cmp_ui(top.get(), 0xffff * mpz_get_ui(t.get())) < 0)
      digit = mpz_get_ui(top.get()) / mpz_get_ui(t.get());
    mpz_submul_ui(w.get(), d.get(), digit);
    for (; mpz_sgn(w.get()) < 0; --digit) mpz_add(w.get(), w.get(), d.get());
    mpz_mul_2exp(q.get(), q.get(), 16), mpz_add_ui(q.get(), q.get(), digit);
    mpz_mul_2exp(w.get(), w.get(), 16);
  }
  return low128(q.get());
}

// floor(x 2^(128 - k)) for a positive x, 0 from 2^128 on.
U128 scaled(std::int32_t k, const Real16 &x) {
  if (x.w[3] == 0 || x.w[3] >> 31) return {0, 0};
  Mpz z;
  set(z, vx::quad::significand_of(x));
  const long shift = static_cast<long>(vx::quad::exponent_of(x)) - 16367 - k;
  if (shift >= 0)
    mpz_mul_2exp(z.get(), z.get(), static_cast<unsigned long>(shift));
  else
    mpz_fdiv_q_2exp(z.get(), z.get(), static_cast<unsigned long>(-shift));
  return mpz_sizeinbase(z.get(), 2) > 128 ? U128{0, 0} : low128(z.get());
}

// The scales of the kernels.
constexpr std::int32_t kScales[] = {-1, 0, 1, 2, 6, 7};

TEST(Fixed128, ConversionsAtEveryScale) {
  support::Real16Sampler s(20261206);
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    const std::int32_t k = kScales[s.below(6)];
    // Exponents from below one unit of scale k to above 2^k.
    const Real16 x = s.with_exponent(static_cast<std::uint32_t>(16383 + k - 130 + s.below(134)),
                                     s.below(8) == 0);
    const U128 n = vx::fixed::from_real16(k, vx::quad::bits_of(x));
    ASSERT_TRUE(vx::w128::equal(n, scaled(k, x))) << k << " " << support::show(x);
    // N 2^(k - 128) rounded by MPFR; its exact value, for x from
    // 2^(k - 16) on (no bit lost).
    const U128 m = sample(s);
    oracle::Big v;
    Mpz z;
    set(z, m);
    mpfr_set_z_2exp(v, z.get(), k - 128, MPFR_RNDN);
    const Real16 back = vx::quad::real16_from_bits(vx::fixed::to_real16(k, m));
    const Real16 expected = vx::w128::is_zero(m) ? support::kZero : oracle::round_to_real16(v).bits;
    ASSERT_TRUE(oracle::same_bits(back, expected))
        << k << " " << hex(m) << " " << support::show(back);
    if (x.w[3] >> 16 >= static_cast<std::uint32_t>(16383 + k - 16) && !vx::w128::is_zero(n)) {
      ASSERT_TRUE(oracle::same_bits(vx::quad::real16_from_bits(vx::fixed::to_real16(k, n)), x));
    }
  }
}

TEST(Fixed128, ConversionRows) {
  using oracle::real16;
  struct Row {
    std::int32_t k;
    Real16 x;
    U128 n;
  };
  // At scale 1, 1.0 gives word 0 = 0x80000000 and the rest 0; 2.0 gives 0
  // (out of range); -1.0 gives 0.
  const Row to_fixed[] = {{1, real16(0x3fff0000), {1ull << 63, 0}},
                          {1, real16(0x40000000), {0, 0}},
                          {1, real16(0xbfff0000), {0, 0}},
                          {1, real16(0x80000000), {0, 0}}};
  for (const Row &r : to_fixed)
    EXPECT_TRUE(vx::w128::equal(vx::fixed::from_real16(r.k, vx::quad::bits_of(r.x)), r.n)) << r.k;
  // At scale 1, word 0 = 0x80000000 gives exactly 1.0; N = 1 gives 2^-127.
  const Row to_real[] = {{1, real16(0x3fff0000), {1ull << 63, 0}},
                         {1, real16(0x3f800000), {0, 1}},
                         {0, real16(0), {0, 0}}};
  for (const Row &r : to_real)
    EXPECT_TRUE(oracle::same_bits(vx::quad::real16_from_bits(vx::fixed::to_real16(r.k, r.n)), r.x));
}

// The pair: ordered, then both times 2 (and 7/8 when the doubled top word
// is above 0x9a000000) for a top word up to 0x55800000, else times 3/2, 5/4
// or 9/8 up to 0x67000000, 0x7b000000 and beyond; each product truncated,
// the 7/8 of v being v - floor(v / 8) = ceil(7v / 8).
TEST(Fixed128, PairRescaling) {
  support::Real16Sampler s(20261207);
  Mpz x, y, ex, ey;
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    const U128 a = sample(s), b = s.below(16) == 0 ? a : sample(s);
    const vx::fixed::Pair p = vx::fixed::rescale_pair(a, b);
    const bool swapped = mpz_cmp((set(x, a), x.get()), (set(y, b), y.get())) < 0;
    ASSERT_EQ(p.swapped, swapped);  // a = b keeps the flag 0
    if (swapped) mpz_swap(x.get(), y.get());
    const std::uint32_t top = vx::w128::word(swapped ? b : a, 3);
    for (auto [in, out] : {std::pair{&x, &ex}, {&y, &ey}}) {
      if (top <= 0x55800000) {
        mpz_mul_2exp(out->get(), in->get(), 1);
        if (top > 0x4d000000 || (top == 0x4d000000 && mpz_tstbit(x.get(), 95))) {
          mpz_mul_ui(out->get(), out->get(), 7);
          mpz_cdiv_q_2exp(out->get(), out->get(), 3);
        }
      } else {
        const unsigned shift = top <= 0x67000000 ? 1 : top <= 0x7b000000 ? 2 : 3;
        mpz_mul_ui(out->get(), in->get(), (1u << shift) + 1);
        mpz_fdiv_q_2exp(out->get(), out->get(), shift);
      }
    }
    ASSERT_TRUE(vx::w128::equal(p.x, low128(ex.get())) && vx::w128::equal(p.y, low128(ey.get())))
        << hex(a) << " " << hex(b);
  }
}

// The quotient is the long division's, bit for bit, and within a few units
// of a 2^127 / b for the kernels' divisors (from 2^127 on: the operands'
// shifts and the shortened divisor cost a few); a >> 2 above b >> 1 gives
// all ones.
TEST(Fixed128, DivisionIsTheLongDivision) {
  support::Real16Sampler s(20261208);
  Mpz a, b, exact, diff;
  std::vector<std::pair<U128, U128>> rows = {
      {{0, 0}, {1ull << 63, 0}},              // 0
      {{~0ull, ~2ull}, {~0ull >> 1, ~0ull}},  // 2b - 1: the largest quotient
      {{~0ull, ~1ull}, kAllOnes},             // about 1
      {{1, 1}, {0, 2}},                       // above 2
      {{0x1ffff, ~0ull}, {0x10000, 0}},       // b >> 1 with a zero top half-word
      {{0x7fff, 0}, {0, 3}}};                 // a zero shortened divisor
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    // b with its leading bit among the top 8: small top half-words of
    // b >> 1 make the long division's corrections long.
    U128 y = sample(s);
    y.hi |= 1ull << (63 - s.below(8));
    set(b, y), set(a, {s.bits(), s.bits()});
    mpz_mul_2exp(diff.get(), b.get(), 1);  // a below 2b
    if (mpz_sgn(diff.get()) != 0) mpz_mod(a.get(), a.get(), diff.get());
    rows.push_back({low128(a.get()), low128(b.get())});
  }
  for (auto [x, y] : rows) {
    const U128 q = vx::fixed::divide(x, y);
    set(a, x), set(b, y);
    if (mpz_cmp(a.get(), b.get()) >= 0 &&
        vx::w128::less(vx::w128::shr(y, 1), vx::w128::shr(x, 2))) {
      ASSERT_TRUE(vx::w128::equal(q, kAllOnes)) << hex(x) << " / " << hex(y);
      continue;
    }
    ASSERT_TRUE(vx::w128::equal(q, long_division(x, y))) << hex(x) << " / " << hex(y);
    if (vx::w128::word(y, 3) < 0x80000000) continue;  // the accuracy holds for the kernels' b
    mpz_mul_2exp(exact.get(), a.get(), 127);
    mpz_fdiv_q(exact.get(), exact.get(), b.get());
    set(diff, q), mpz_sub(diff.get(), diff.get(), exact.get());
    ASSERT_LE(std::abs(mpz_get_si(diff.get())), 10) << hex(x) << " / " << hex(y);  // seen: 8
  }
}

// The square: the top 128 bits of the half-word products h_i h_j summed
// over the columns i + j <= 8, one unit below N^2 / 2^128 at most.
TEST(Fixed128, SquareAndRoot) {
  support::Real16Sampler s(20261209);
  Mpz n, sum, term, r;
  std::vector<U128> rows = {
      {0, 0}, kAllOnes, {1ull << 62, 0}, {1ull << 60, 0}, {0x3fffffffffffffff, ~0ull}};
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) rows.push_back(sample(s));
  for (const U128 x : rows) {
    mpz_set_ui(sum.get(), 0);
    for (int i = 0; i < 8; ++i)
      for (int j = 0; i + j <= 8 && j < 8; ++j) {
        const auto half = [x](int h) {
          return (vx::w128::word(x, (7 - h) / 2) >> (h % 2 ? 0 : 16)) & 0xffff;
        };
        mpz_set_ui(term.get(), half(i));
        mpz_mul_ui(term.get(), term.get(), half(j));
        mpz_mul_2exp(term.get(), term.get(), 16 * (14 - i - j));
        mpz_add(sum.get(), sum.get(), term.get());
      }
    mpz_fdiv_q_2exp(sum.get(), sum.get(), 128);
    ASSERT_TRUE(vx::w128::equal(vx::fixed::square(x), low128(sum.get()))) << hex(x);
    // The root of N 2^128, or twice that of (N >> 2) 2^128 from 2^126 on.
    const bool halved = vx::w128::word(x, 3) >= 0x40000000;
    set(n, halved ? vx::w128::shr(x, 2) : x);
    mpz_mul_2exp(n.get(), n.get(), 128);
    mpz_sqrt(r.get(), n.get());
    mpz_mul_2exp(r.get(), r.get(), halved ? 1 : 0);
    ASSERT_TRUE(vx::w128::equal(vx::fixed::root(x), low128(r.get()))) << hex(x);
  }
  // 2^126 (1/4 at scale 0) gives exactly 2^127 (1/2), and 2^124 exactly 2^126.
  EXPECT_TRUE(vx::w128::equal(vx::fixed::root({1ull << 62, 0}), {1ull << 63, 0}));
  EXPECT_TRUE(vx::w128::equal(vx::fixed::root({1ull << 60, 0}), {1ull << 62, 0}));
}

}  // namespace
