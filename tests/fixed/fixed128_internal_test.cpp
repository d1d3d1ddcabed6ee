// The Fixed128 primitives against GMP and MPFR over random operands at every scale and the
// ends of the ranges; the division against its 16-bit long division on GMP integers.
#include <gtest/gtest.h>

#include "fixed/fixed128.h"
#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using support::Mpz;
using vx::fixed::U128;
namespace w = vx::w128;

const U128 kOnes = {~0ull, ~0ull};
mpz_ptr set(Mpz &z, U128 n) { return z.set({n.hi, n.lo}), z.get(); }
U128 low128(mpz_srcptr z) { return {support::word_of(z, 1), support::word_of(z, 0)}; }
std::string hex(U128 n) { return testing::PrintToString(std::pair{n.hi, n.lo}); }

// Random bits, all ones or one bit below a random lead, or a top word at a scaling threshold.
U128 sample(support::Real16Sampler &s) {
  const auto lead = static_cast<unsigned>(s.below(128));
  const std::uint32_t edges[] = {0x4d000000, 0x55800000, 0x67000000, 0x7b000000};
  const U128 n = {s.bits(), s.bits()};
  const U128 picks[] = {
      w::shl({0, 1}, lead),
      w::shr(kOnes, lead),
      w::shr(n, lead),
      w::shr(n, lead),
      {std::uint64_t{edges[lead % 4] + s.below32(3) - 1} << 32 | n.lo >> 32, n.lo}};
  return picks[s.below(5)];
}

// a 2^127 / b by 16-bit long division: window W = (a >> 2) 2^16 over D = b >> 1 of n half-words;
// digit = W's top 32 bits over D's top half-word (0xffff when that is 0 or the quotient more),
// lowered while W - digit D < 0; W shifts up 16. Before digits 3, 5, 7 D (rounded by bit 31)
// and W drop 32 bits.
U128 long_division(U128 a, U128 b) {
  Mpz wz, dz, qz, top, t;
  mpz_ptr win = set(wz, w::shr(a, 2)), d = set(dz, w::shr(b, 1)), q = qz.get();
  mpz_mul_2exp(win, win, 16);
  for (int j = 0, n = 8; j < 8; ++j) {
    if (j > 0 && j % 2 == 0) {
      const int round = mpz_tstbit(d, 31);
      mpz_fdiv_q_2exp(d, d, 32), mpz_add_ui(d, d, round), mpz_fdiv_q_2exp(win, win, 32), n -= 2;
    }
    mpz_fdiv_q_2exp(top.get(), win, 16 * (n - 1));
    mpz_fdiv_q_2exp(t.get(), d, 16 * (n - 1));  // the top half-word
    unsigned long digit = 0xffff;
    if (mpz_sgn(t.get()) != 0 && mpz_cmp_ui(top.get(), 0xffff * mpz_get_ui(t.get())) < 0)
      digit = mpz_get_ui(top.get()) / mpz_get_ui(t.get());
    for (mpz_submul_ui(win, d, digit); mpz_sgn(win) < 0; --digit) mpz_add(win, win, d);
    mpz_mul_2exp(q, q, 16), mpz_add_ui(q, q, digit), mpz_mul_2exp(win, win, 16);
  }
  return low128(q);
}

TEST(Fixed128, ConversionsAtEveryScale) {
  using oracle::real16;
  support::Real16Sampler s(20261206);
  // At scale 1, 1.0 gives word 0 = 0x80000000, 2.0 and -1.0 give 0; back, 1.0 and 2^-127.
  const std::pair<Real16, U128> rows[] = {
      {real16(0x3fff0000), {1ull << 63, 0}}, {real16(0x3f800000), {0, 1}}, {real16(0), {0, 0}}};
  for (auto [x, n] : rows)
    EXPECT_TRUE(oracle::same_bits(vx::quad::real16_from_bits(vx::fixed::to_real16(1, n)), x));
  for (std::uint64_t out : {0x40000000u, 0xbfff0000u, 0x80000000u})
    EXPECT_TRUE(w::is_zero(vx::fixed::from_real16(1, {out << 32, 0})));
  Mpz z;
  oracle::Big v;
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    const std::int32_t k = std::array{-1, 0, 1, 2, 6, 7}[s.below(6)];  // the kernels' scales
    // x from below 2^(k - 128) to above 2^k: floor(x 2^(128 - k)), 0 from 2^128 on.
    const Real16 x = s.with_exponent(16383u + k - 130 + s.below32(134), s.below(8) == 0);
    set(z, vx::quad::significand_of(x));
    const long shift = static_cast<long>(vx::quad::exponent_of(x)) - 16367 - k;
    shift >= 0 ? mpz_mul_2exp(z.get(), z.get(), shift) : mpz_fdiv_q_2exp(z.get(), z.get(), -shift);
    const bool fits = x.w[3] != 0 && x.w[3] >> 31 == 0 && mpz_sizeinbase(z.get(), 2) <= 128;
    const U128 n = vx::fixed::from_real16(k, vx::quad::bits_of(x));
    ASSERT_TRUE(w::equal(n, fits ? low128(z.get()) : U128{0, 0})) << k << " " << support::show(x);
    // And back: exact from 2^(k - 16) on (no bit lost); any N rounded as by MPFR.
    const Real16 round_trip = vx::quad::real16_from_bits(vx::fixed::to_real16(k, n));
    ASSERT_TRUE(!fits || x.w[3] >> 16 < 16383u + k - 16 || oracle::same_bits(round_trip, x));
    const U128 m = sample(s);
    mpfr_set_z_2exp(v, set(z, m), k - 128, MPFR_RNDN);
    const Real16 back = vx::quad::real16_from_bits(vx::fixed::to_real16(k, m));
    ASSERT_TRUE(
        oracle::same_bits(back, w::is_zero(m) ? support::kZero : oracle::round_to_real16(v).bits))
        << k << " " << hex(m) << " " << support::show(back);
  }
}

// Ordered (flag 0 for a = b); a top word up to 0x55800000 doubles, then 7/8 above 0x9a000000
// (v - floor(v / 8) = ceil(7v / 8)); else times 3/2, 5/4 or 9/8 up to 0x67000000, 0x7b000000 and
// beyond, truncated.
TEST(Fixed128, PairRescaling) {
  support::Real16Sampler s(20261207);
  Mpz x, y, ex, ey;
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    const U128 a = sample(s), b = s.below(16) == 0 ? a : sample(s);
    const vx::fixed::Pair p = vx::fixed::rescale_pair(a, b);
    ASSERT_EQ(p.swapped, mpz_cmp(set(x, a), set(y, b)) < 0);
    if (p.swapped) mpz_swap(x.get(), y.get());
    const std::uint32_t top = w::word(p.swapped ? b : a, 3);
    const bool seven_eighths = top > 0x4d000000 || (top == 0x4d000000 && mpz_tstbit(x.get(), 95));
    const unsigned shift = top <= 0x67000000 ? 1 : top <= 0x7b000000 ? 2 : 3;
    for (auto [in, out] : {std::pair{x.get(), ex.get()}, {y.get(), ey.get()}}) {
      if (top > 0x55800000) {
        mpz_mul_ui(out, in, (1u << shift) + 1), mpz_fdiv_q_2exp(out, out, shift);
      } else {
        mpz_mul_ui(out, in, seven_eighths ? 14 : 16), mpz_cdiv_q_2exp(out, out, 3);
      }
    }
    ASSERT_TRUE(w::equal(p.x, low128(ex.get())) && w::equal(p.y, low128(ey.get())))
        << hex(a) << " " << hex(b);
  }
}

// The long division bit for bit, within a few units of a 2^127 / b for b from 2^127; a >> 2
// above b >> 1 (a quotient of 2 or more) gives all ones.
TEST(Fixed128, Division) {
  support::Real16Sampler s(20261208);
  Mpz a, b, exact;
  std::vector<std::pair<U128, U128>> rows = {
      {{0, 0}, {1ull << 63, 0}},              // 0
      {{~0ull, ~2ull}, {~0ull >> 1, ~0ull}},  // 2b - 1: the largest quotient
      {{1, 1}, {0, 2}},                       // above 2
      {{0x1ffff, ~0ull}, {0x10000, 0}},       // b >> 1 with a zero top half-word
      {{0x7fff, 0}, {0, 3}}};                 // a zero shortened divisor
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    U128 y = sample(s);
    y.hi |= 1ull << (63 - s.below(8));  // small top half-words make long corrections
    mpz_mul_2exp(exact.get(), set(b, y), 1);
    mpz_mod(a.get(), set(a, {s.bits(), s.bits()}), exact.get());  // a below 2b
    rows.push_back({low128(a.get()), y});
  }
  for (auto [x, y] : rows) {
    const U128 q = vx::fixed::divide(x, y);
    if (w::less(w::shr(y, 1), w::shr(x, 2))) {
      ASSERT_TRUE(w::equal(q, kOnes)) << hex(x) << " / " << hex(y);
      continue;
    }
    ASSERT_TRUE(w::equal(q, long_division(x, y))) << hex(x) << " / " << hex(y);
    mpz_mul_2exp(exact.get(), set(a, x), 127);
    mpz_fdiv_q(exact.get(), exact.get(), set(b, y));
    mpz_sub(exact.get(), set(a, q), exact.get());
    ASSERT_TRUE(w::word(y, 3) < 0x80000000 || std::abs(mpz_get_si(exact.get())) <= 10);  // seen: 8
  }
}

// Square: top 128 bits of the products h_i h_j summed for i + j <= 8. Root: of N 2^128, twice
// that of (N >> 2) 2^128 from 2^126 on.
TEST(Fixed128, SquareAndRoot) {
  support::Real16Sampler s(20261209);
  Mpz sum, term, r;
  std::vector<U128> rows = {{0, 0}, kOnes, {0x3fffffffffffffff, ~0ull}};
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) rows.push_back(sample(s));
  for (const U128 x : rows) {
    auto half = [x](int h) { return w::shr(x, 16 * (7 - h)).lo & 0xffff; };
    mpz_set_ui(sum.get(), 0);
    for (int i = 0; i < 8; ++i)
      for (int j = 0; i + j <= 8 && j < 8; ++j) {
        mpz_set_ui(term.get(), half(i)), mpz_mul_ui(term.get(), term.get(), half(j));
        mpz_mul_2exp(term.get(), term.get(), 16 * (14 - i - j));
        mpz_add(sum.get(), sum.get(), term.get());
      }
    mpz_fdiv_q_2exp(sum.get(), sum.get(), 128);
    ASSERT_TRUE(w::equal(vx::fixed::square(x), low128(sum.get()))) << hex(x);
    const bool halved = w::word(x, 3) >= 0x40000000;
    mpz_mul_2exp(r.get(), set(r, halved ? w::shr(x, 2) : x), 128);
    mpz_sqrt(r.get(), r.get());
    mpz_mul_2exp(r.get(), r.get(), halved ? 1 : 0);
    ASSERT_TRUE(w::equal(vx::fixed::root(x), low128(r.get()))) << hex(x);
  }
  // 2^126 (1/4 at scale 0) gives exactly 2^127 (1/2), and 2^124 exactly 2^126.
  EXPECT_TRUE(w::equal(vx::fixed::root({1ull << 62, 0}), {1ull << 63, 0}) &&
              w::equal(vx::fixed::root({1ull << 60, 0}), {1ull << 62, 0}));
}

}  // namespace
