// g_aqaq, g_aqsq, g_aqmq, g_aqdq and g_qsqrt against MPFR at 113 bits under
// the format's zero, overflow and underflow rules (oracle/real16.h).
//
// Bound: 0 ulp (correctly rounded, ties to even), every overflow, underflow
// and division by zero reported with its number and default. Per operator a
// table of operand families (random operands, and what they almost never
// reach: near-total cancellation, exact ties, quotients and roots within a
// few units of 2^-226 of a rounding boundary, results at the ends of the
// exponent range); then fixed rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <utility>

#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using namespace support;
using oracle::Op;
using Pair = std::pair<Real16, Real16>;

using Binary16 = Real16 *(*)(Real16 *, const Real16 *, const Real16 *);
Real16 *square_root(Real16 *r, const Real16 *a, const Real16 *) { return g_qsqrt(r, a); }

struct Operator16 {
  const char *name;
  Binary16 fn;
  Op op;
  std::int32_t overflow_error, underflow_error, zero_divisor_error, negative_error;
  int values;
  bool infinity_by_sign_of_a;
};

// An operator: its reference, error numbers, the values its overflow and
// underflow report, and the sign of its infinity default. Sums, differences
// and products report overflow 1397 and underflow 1398 without values;
// quotients 278 and 279 with both operands as values, and a zero divisor 280
// without; the root of a negative 228 with it as value. The infinity of a
// sum or difference takes a's sign, of a product or quotient the result's.
const Operator16 kAdd = {"g_aqaq", g_aqaq, Op::add, 1397, 1398, 0, 0, 0, true};
const Operator16 kSub = {"g_aqsq", g_aqsq, Op::sub, 1397, 1398, 0, 0, 0, true};
const Operator16 kMul = {"g_aqmq", g_aqmq, Op::mul, 1397, 1398, 0, 0, 0, false};
const Operator16 kDiv = {"g_aqdq", g_aqdq, Op::div, 278, 279, 280, 0, 2, false};
const Operator16 kSqrt = {"g_qsqrt", square_root, Op::sqrt, 0, 0, 0, 228, 0, false};

class Arithmetic : public Real16Test {
 public:
  // op(a, b) against the reference: the value bit for bit and no report;
  // for an error one report of its number and values, and the default
  // under infinity flag 1 and then 0 (the recorder declines).
  void check(const Operator16 &op, const Real16 &a, const Real16 &b) {
    using oracle::Outcome;
    const oracle::Real16Result want = oracle::reference(op.op, a, b);
    const std::uint32_t sign_a = a.w[3] & kSign16;
    const bool negative = (op.infinity_by_sign_of_a ? sign_a : sign_a ^ (b.w[3] & kSign16)) != 0;
    const bool zero_a = (a.w[3] & ~kSign16) == 0;
    Real16 ieee = want.bits, finite = kZero;  // the defaults under infinity flag 1 and 0
    std::int32_t error = 0;
    int values = op.values;
    if (want.outcome == Outcome::overflow) {
      error = op.overflow_error, ieee = negative ? kMinusInf : kInf, finite = kLargest;
    } else if (want.outcome == Outcome::underflow) {
      error = op.underflow_error;
    } else if (want.outcome == Outcome::divide_by_zero) {
      error = op.zero_divisor_error, values = 0;
      ieee = zero_a ? kNaN : real16(sign_a | 0x7fff0000), finite = zero_a ? kZero : kLargest;
    } else if (op.negative_error != 0 && !zero_a && sign_a != 0) {
      error = op.negative_error, values = 1, ieee = kNaN, finite = want.bits;
    }
    for (const std::uint8_t flag : {1, 0}) {
      vexmori_set_infinity_flag(flag);
      rec.reports.clear();
      Real16 got;
      op.fn(&got, &a, &b);
      const Real16 &expected = flag == 1 ? ieee : finite;
      const auto &r = rec.reports;
      if (!oracle::same_bits(got, expected) || r.size() != (error != 0 ? 1u : 0u) ||
          (error != 0 && (r[0].number != error || r[0].value_count != values))) {
        std::ostringstream m;
        m << op.name << "(" << show(a) << ", " << show(b) << "), flag " << int{flag} << ": got "
          << show(got) << ", " << r.size() << " report(s); want " << show(expected) << ", error "
          << error << " with " << values << " values";
        fail(m.str());
        break;
      }
      if (error == 0) break;
    }
    vexmori_set_infinity_flag(1);
  }

  Recorder rec{1, 1, 0};
};

// Sums: a's exponent anywhere (now and then at the ends), b's at a distance
// drawn from 0..3, the word boundaries of the alignment, 0..160 or anywhere.
Pair sums(Real16Sampler &s) {
  constexpr unsigned kDistances[] = {31,  32,  33,  63,  64,  65,  95,  96,  97,  111,
                                     112, 113, 114, 127, 128, 129, 145, 146, 147, 32767};
  const auto ea =
      s.below(32) == 0 ? (s.bits() & 1 ? s.below32(4) : 0x7fff - s.below32(4)) : s.below32(0x8000);
  const unsigned kind = s.below32(4);
  const unsigned d = kind == 0   ? s.below32(4)
                     : kind == 1 ? kDistances[s.below(std::size(kDistances))]
                     : kind == 2 ? s.below32(161)
                                 : s.below32(0x8000);
  const std::int64_t eb = s.bits() & 1 ? std::int64_t{ea} + d : std::int64_t{ea} - d;
  return {s.with_exponent(ea),
          s.with_exponent(static_cast<std::uint32_t>(std::clamp<std::int64_t>(eb, 0, 0x7fff)))};
}

// Near-total cancellation: b is a with its low k bits changed, with either
// sign, in either order.
Pair cancellations(Real16Sampler &s) {
  const Real16 a = s.with_exponent(1 + s.below32(0x7ffd));
  const unsigned k = s.below32(113);
  const std::uint64_t low = k >= 64 ? ~0ull : (1ull << k) - 1,
                      high = k <= 64 ? 0 : (1ull << (k - 64)) - 1;
  const std::uint64_t r1 = s.bits() & low, r2 = s.bits() & high;
  Real16 b = a;
  b.w[0] ^= static_cast<std::uint32_t>(r1), b.w[1] ^= static_cast<std::uint32_t>(r1 >> 32);
  b.w[2] ^= static_cast<std::uint32_t>(r2), b.w[3] ^= static_cast<std::uint32_t>(r2 >> 32) & 0xffff;
  if (s.bits() & 1) b.w[3] ^= kSign16;
  return s.bits() & 1 ? Pair{a, b} : Pair{b, a};
}

// Products and quotients: exponents around the middle, one pair in eight
// anywhere (results that overflow or underflow).
Pair factors(Real16Sampler &s) {
  auto e = [&s] { return s.below(8) == 0 ? s.below32(0x8000) : 0x2fff + s.below32(0x2000); };
  return {s.with_exponent(e()), s.with_exponent(e())};
}

// Odd significands of 57 and 58 bits whose product has 114 bits: the 113
// kept bits are followed by a single 1, a tie; or two significands of the
// same binade, whose rounding may carry into the next one.
Pair product_ties(Real16Sampler &s) {
  for (;;) {
    if (s.bits() & 1) return {s.with_exponent(0x3fff), s.with_exponent(0x3fff)};
    const std::uint64_t fp = (s.bits() >> 8) | 1, fq = (s.bits() >> 7) | 1;
    const long double p = 0x1p56L + fp, q = 0x1p57L + fq;
    if (p * q >= 0x1p114L) continue;  // 115 bits: no tie
    return {real16_of(s.bits() & 1, 0x3fff + s.below32(64), fp >> 8, fp << 56),
            real16_of(s.bits() & 1, 0x3fff - s.below32(64), fq >> 9, fq << 55)};
  }
}

// Products and quotients whose exponent lands next to 0x7fff or 0.
Pair factors_at_the_ends(Real16Sampler &s) {
  const std::uint32_t ea = 0x4000 + s.below32(0x3ff0), small = 0x10 + s.below32(0x3fe0);
  switch (s.below(5)) {
    case 0:  // product near 0x7ffe
      return {s.with_exponent(ea), s.with_exponent(0x7ffe + 0x3fff - ea - s.below32(2))};
    case 1:  // product near 1
      return {s.with_exponent(small), s.with_exponent(0x4000 - small - s.below32(2))};
    case 2:  // quotient near 0x7ffe
      return {s.with_exponent(ea), s.with_exponent(ea + 0x3fff - 0x7ffe + s.below32(2))};
    default:  // quotient near 1
      return {s.with_exponent(ea - 0x3fff + s.below32(2)), s.with_exponent(ea)};
  }
}

Real16 significand(mpz_srcptr z, std::uint32_t biased, bool negative) {
  return real16_of(negative, biased, word_of(z, 1) & 0xffffffffffff, word_of(z, 0));
}

// Quotients within t / 2^114 units (0 < |t| <= 3) of a rounding boundary:
// B K + t = A 2^114 gives A / B = K / 2^114 + t / (B 2^114). K odd with 114
// bits is a midpoint of quotients in [1/2, 1); K = 2K' (K' odd, 113 bits) is
// a quotient. Given K and t, B = -t / K modulo 2^114 (over 2 for an even K),
// kept when it is a significand; A follows.
Pair quotients_at_boundaries(Real16Sampler &s) {
  static Mpz k, modulus, b, a, t;
  for (;;) {
    const unsigned bits = s.bits() & 1 ? 114 : 113;  // of K's odd part
    k.set({(s.bits() >> (128 - bits)) | (1ull << (bits - 65)), s.bits() | 1});
    mpz_set_ui(modulus.get(), 1);
    mpz_mul_2exp(modulus.get(), modulus.get(), bits);
    const long step = static_cast<long>(s.below(6)) - 3;
    mpz_set_si(t.get(), step >= 0 ? step + 1 : step);
    mpz_invert(b.get(), k.get(), modulus.get());
    mpz_mul(b.get(), b.get(), t.get());
    mpz_neg(b.get(), b.get());
    mpz_mod(b.get(), b.get(), modulus.get());
    if (mpz_sizeinbase(b.get(), 2) != 113) continue;  // not a significand
    mpz_mul(a.get(), b.get(), k.get());
    mpz_add(a.get(), a.get(), t.get());
    mpz_tdiv_q_2exp(a.get(), a.get(), bits);  // exact: B K + t is a multiple of the modulus
    if (mpz_sizeinbase(a.get(), 2) != 113) continue;
    return {significand(a.get(), 0x3fff + s.below32(400) - 200, s.bits() & 1),
            significand(b.get(), 0x3fff + s.below32(400) - 200, s.bits() & 1)};
  }
}

Pair radicands(Real16Sampler &s) { return {s.with_exponent(s.below32(0x8000)), kZero}; }

// Roots within about t / 2^114 units of a rounding boundary: s^2 = m 2^j + t
// with t = 1 (mod 8) and |t| < 2^20, so sqrt(m 2^j) lies within |t| / (2s)
// of s. An odd s of 114 bits is a midpoint between two roots of 113 bits;
// one of 113 bits is a root. s is a square root of t modulo 2^j (lifted bit
// by bit: when x^2 = t modulo 2^k, x or x + 2^(k-1) is a root modulo
// 2^(k+1)), moved into its range, and kept when m = (s^2 - t) / 2^j is a
// significand.
Pair roots_at_boundaries(Real16Sampler &s) {
  static Mpz t, x, sq, m, power;
  for (;;) {
    const unsigned length = s.bits() & 1 ? 114 : 113;  // of s
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
    if (mpz_sizeinbase(m.get(), 2) != 113) continue;
    // m 2^(e - 16495) has the root sqrt(m 2^j) 2^((e - 16495 - j) / 2).
    const std::uint32_t e = 0x3000 + s.below32(0x2000);
    return {significand(m.get(), e + ((e + 16495 + j) & 1), false), kZero};
  }
}

struct Family {
  const char *name;
  const Operator16 *op;
  Pair (*operands)(Real16Sampler &);
  std::uint64_t count;
};

const Family kFamilies[] = {
    {"add_random", &kAdd, sums, 1000000},
    {"sub_random", &kSub, sums, 1000000},
    {"add_cancellation", &kAdd, cancellations, 20000},
    {"sub_cancellation", &kSub, cancellations, 20000},
    {"mul_random", &kMul, factors, 1000000},
    {"mul_ties", &kMul, product_ties, 40000},
    {"mul_ends", &kMul, factors_at_the_ends, 20000},
    {"div_random", &kDiv, factors, 1000000},
    {"div_boundaries", &kDiv, quotients_at_boundaries, 40000},
    {"div_ends", &kDiv, factors_at_the_ends, 20000},
    {"sqrt_random", &kSqrt, radicands, 1000000},
    {"sqrt_boundaries", &kSqrt, roots_at_boundaries, 20000},
};

class Operands : public Arithmetic, public ::testing::WithParamInterface<Family> {};

TEST_P(Operands, MatchMpfrBitForBit) {
  const Family &f = GetParam();
  for (std::uint64_t i = 0, n = scaled(f.count); i < n; ++i) {
    const auto [a, b] = f.operands(s);
    check(*f.op, a, b);
  }
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, Operands, ::testing::ValuesIn(kFamilies),
                         [](const auto &info) { return std::string(info.param.name); });

// Each row against MPFR and the error rules, and against `want` (the value,
// or the default under infinity flag 1) where the rule fixes the bits.
struct Row {
  const char *rule;
  const Operator16 *op;
  Real16 a, b;
  std::optional<Real16> want;
};
using Rows = Arithmetic;

TEST_F(Rows, MatchTheRulesAndMpfr) {
  const Real16 three = real16(0x40008000), five = real16(0x40014000),
               ulp = real16(0x3fff0000, 0, 0, 1);
  const Real16 minus_largest = real16(0xfffeffff, ~0u, ~0u, ~0u);
  const Real16 huge = real16(0x7ff00000, 1, 2, 3), tiny = real16(0x000f0000, 4, 5, 6);
  const Real16 passed = real16(0x40001111, 0xdeadbeef, 1, 2);
  const Row rows[] = {
      {"1 + 2^-113 is a tie: to even, 1", &kAdd, kOne, real16_of(false, 0x3fff - 113, 0), kOne},
      {"1 + 3 * 2^-114 rounds up by one ulp", &kAdd, kOne,
       real16_of(false, 0x3fff - 113, 1ull << 47), ulp},
      {"1 + 2^-200 is 1: all in the sticky bit", &kAdd, kOne, real16_of(false, 0x3fff - 200, 0),
       kOne},
      {"x + (-x) is +0, all words", &kAdd, real16(0x4abc1234, 5, 6, 7), real16(0xcabc1234, 5, 6, 7),
       kZero},
      {"a zero a passes b through, garbage and all", &kAdd, real16(0, 1, 2, 3), passed, passed},
      {"+0 + -0 is the second operand", &kAdd, kZero, kMinusZero, kMinusZero},
      {"0 - 5 is -5: only b's sign bit changes", &kSub, real16(0, 0, 7),
       real16(0x40014000, 0, 0, 9), real16(0xc0014000, 0, 0, 9)},
      {"(-0) - (+0) is -0, the first operand", &kSub, kMinusZero, kZero, kMinusZero},
      {"_Inf_Q - _Inf_Q is +0", &kSub, kInf, kInf, kZero},
      {"_Inf_Q + 1 is an overflow", &kAdd, kInf, kOne, kInf},
      {"an overflow of a sum takes a's sign", &kAdd, minus_largest, minus_largest, kMinusInf},
      {"... not the sign of the result", &kSub, kOne, kInf, kInf},
      {"a difference of tiny numbers underflows, never a subnormal", &kSub,
       real16_of(false, 1, 0x123456789abc, 6), real16_of(false, 1, 0x123456789abc, 5), kZero},
      {"(-3) * 0 is +0", &kMul, real16(0xc0008000), kZero, kZero},
      {"0 * (-3) is +0", &kMul, real16(kSign16, 1, 2, 3), real16(0xc0008000), kZero},
      {"(1 + 2^-112)^2 is 1 + 2^-111: 2^-224 only sets the sticky bit", &kMul, ulp, ulp,
       real16(0x3fff0000, 0, 0, 2)},
      // The significands set at bit 127 are {2^63, 2^64 - 2^15} and
      // {2^63 + 2^15, 2^64 - 2^15}: their middle partial products sum to just
      // below 2^128, and adding the high word of the low product carries.
      {"a product that needs the second carry of the middle column",
       &kMul,
       real16_of(false, 0x3fff, 0, (1ull << 49) - 1),
       real16_of(true, 0x4000, 1, (1ull << 49) - 1),
       {}},
      {"the same, operands swapped",
       &kMul,
       real16_of(false, 0x3fff, 1, (1ull << 49) - 1),
       real16_of(false, 0x3ffe, 0, (1ull << 49) - 1),
       {}},
      {"an overflow of a product takes the sign of the product", &kMul, real16(0xfff00000), huge,
       kMinusInf},
      {"a NaN pattern is an ordinary number", &kMul, kNaN, real16(0xbfff0000), kMinusInf},
      {"a product of tiny numbers underflows", &kMul, tiny, tiny, kZero},
      {"1 / 3 rounds down: 1.0101...01 * 2^-2", &kDiv, kOne, three,
       real16(0x3ffd5555, 0x55555555, 0x55555555, 0x55555555)},
      {"a zero with garbage divided: +0", &kDiv, real16(kSign16, ~0u), three, kZero},
      {"an overflow of a quotient takes its sign", &kDiv, huge, real16(0x800f0000), kMinusInf},
      {"a quotient of a tiny by a huge number underflows", &kDiv, tiny, huge, kZero},
      {"5 / (-0) is _Inf_Q: the divisor's sign plays no part", &kDiv, five, real16(kSign16, 7),
       kInf},
      {"-5 / 0 is _MInf_Q", &kDiv, real16(0xc0014000), kZero, kMinusInf},
      {"0 / 0 is the NaN pattern", &kDiv, kMinusZero, real16(0, 1), kNaN},
      {"sqrt(2) rounds correctly", &kSqrt, real16(0x40000000), kZero,
       real16(0x3fff6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea95)},
      {"sqrt(-0) is +0", &kSqrt, real16(kSign16, 1, 2, 3), kZero, kZero},
      {"sqrt(_Inf_Q) is the ordinary 2^8192", &kSqrt, kInf, kZero, real16(0x5fff0000)},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.rule);
    check(*r.op, r.a, r.b);
    Real16 got, x = r.a, y = r.b;
    r.op->fn(&got, &r.a, &r.b);
    EXPECT_TRUE(!r.want || oracle::same_bits(got, *r.want)) << show(got);
    // The operands are read before the result is stored: it may alias them.
    r.op->fn(&x, &x, &r.b);
    r.op->fn(&y, &r.a, &y);
    EXPECT_TRUE(oracle::same_bits(x, got) && oracle::same_bits(y, got)) << "aliased";
  }
}

}  // namespace
