// The Real16 sines, cosines, tangents and cotangents in radians, degrees and
// quadrant units against MPFR at 256 bits: sampled arguments in every range
// the entries tell apart (by the high word of |x|) and next to multiples of
// a right angle; symmetries as bit identities; the rows of the definition
// bit for bit; every error number with both defaults and a resume; the
// pairs beside the single entries.
//
// Bound: 2 ulp of the Real16 result against the exact function wherever the
// reduction is exact (degrees, quadrant units, the direct and complement
// ranges) or its error k |pi/2 - hpa - hpb| + rounding of hpb k (below k
// 2^-159) stays under an eighth of an ulp of the remainder. Elsewhere (in
// radians next to a multiple of pi/2, or k large) the bound is 2 ulp of the
// exact function at the algorithm's own argument k pi/2 + r, r being the
// remainder the defined Real16 operations give (MPFR at 113 bits).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "support/real16_checks.h"

namespace {

using namespace support;
using oracle::Big;
using oracle::Op;
using Fn16 = Real16 *(*)(Real16 *, const Real16 *);
constexpr double kUlps = 2;
constexpr oracle::Precision kBits{256};

bool zero(const Real16 &x) { return (x.w[3] & 0x7fffffff) == 0; }
Real16 neg(Real16 x) { return x.w[3] ^= kSign16, x; }
Real16 call(Fn16 f, const Real16 &x) {
  Real16 r;
  return f(&r, &x) == &r ? r : kNaN;
}
Real16 op(Op o, const Real16 &a, const Real16 &b) { return oracle::reference(o, a, b).bits; }

// The radian reduction as defined, on MPFR at 113 bits: k and r with |x| =
// k pi/2 + r (up to the constants' error).
constexpr Real16 kHpa = real16(0x3fff921f, 0xb54442d1);
constexpr Real16 kHpb = real16(0x3fce08d3, 0x13198a2e, 0x03707344, 0xa4093822);
constexpr Real16 kRhp = real16(0x3ffe45f3, 0x06dc9c88, 0x2a53f84e, 0xafa3ea6a);
constexpr Real16 kBg = real16(0x406f0000);
struct Reduction {
  Real16 k, r;
};
Reduction reduce_radians(const Real16 &a) {
  const Real16 k = op(Op::sub, op(Op::add, op(Op::mul, kRhp, a), kBg), kBg);
  return {k, op(Op::sub, op(Op::sub, a, op(Op::mul, kHpa, k)), op(Op::mul, kHpb, k))};
}

// High words of |x|, inclusive, sampled uniformly with random low words;
// each "reduced" band runs a second time with x next to a multiple of a
// right angle. The ranges as the entries split them:
struct Band {
  const char *name;
  std::uint32_t lo, hi;
};
struct Row {
  const char *name;
  Fn16 fn;
  oracle::Fn1 exact;   // MPFR's function in the row's unit
  unsigned long turn;  // 0 radians, 360 degrees, 4 quadrant units
  std::vector<Band> bands;
};
// clang-format off
const std::vector<Band> kSin = {{"tiny", 0x3f000000, 0x3fbeffff}, {"direct", 0x3fbf0000, 0x3ffee665},
    {"complement", 0x3ffee666, 0x3fff921e}, {"reduced", 0x3fff921f, 0x403e921e}};
const std::vector<Band> kTan = {{"tiny", 0x3f000000, 0x3fbeffff}, {"direct", 0x3fbf0000, 0x3ffe921e},
    {"reduced", 0x3ffe921f, 0x403e921e}};
const std::vector<Band> kSind = {{"direct", 0x3f000000, 0x4004afff}, {"complement", 0x4004b000, 0x400567ff},
    {"reduced", 0x40056800, 0x404467ff}};
const std::vector<Band> kTand = {{"direct", 0x3f000000, 0x400467ff}, {"complement", 0x40046800, 0x400567ff},
    {"reduced", 0x40056800, 0x404467ff}};
const std::vector<Band> kSinq = {{"direct", 0x3f000000, 0x3ffe3332}, {"complement", 0x3ffe3333, 0x3ffeffff},
    {"reduced", 0x3fff0000, 0x406effff}, {"integers", 0x406f0000, 0x7fffffff}};
const std::vector<Band> kTanq = {{"direct", 0x3f000000, 0x3ffdffff}, {"complement", 0x3ffe0000, 0x3ffeffff},
    {"reduced", 0x3fff0000, 0x406effff}, {"integers", 0x406f0000, 0x7fffffff}};
const Row kRows[] = {
    {"qsin", g_qsin, mpfr_sin, 0, kSin},          {"qcos", g_qcos, mpfr_cos, 0, kSin},
    {"qtan", g_qtan, mpfr_tan, 0, kTan},          {"qcotan", g_qcotan, mpfr_cot, 0, kTan},
    {"qsind", g_qsind, oracle::sind, 360, kSind}, {"qcosd", g_qcosd, oracle::cosd, 360, kSind},
    {"qtand", g_qtand, oracle::tand, 360, kTand}, {"qcotd", g_qcotd, oracle::cotd, 360, kTand},
    {"qsinq", g_qsinq, oracle::sinq, 4, kSinq},   {"qcosq", g_qcosq, oracle::cosq, 4, kSinq},
    {"qtanq", g_qtanq, oracle::tanq, 4, kTanq},   {"qcotq", g_qcotq, oracle::cotq, 4, kTanq},
};
// clang-format on

// x in the band; a `near` x is a multiple of a right angle rounded to
// Real16 (k random below the band's top), moved by up to 4 ulps.
Real16 draw(Real16Sampler &s, const Row &row, const Band &b, bool near) {
  const std::uint32_t sign = s.bits() & 1 ? kSign16 : 0;
  if (!near) {
    const std::uint32_t h = b.lo + s.below32(b.hi - b.lo + 1ull);
    const std::uint64_t low = s.bits();
    return real16(sign | h, static_cast<std::uint32_t>(s.bits()),
                  static_cast<std::uint32_t>(low >> 32), static_cast<std::uint32_t>(low));
  }
  Big right(kBits), v(kBits);
  row.turn ? mpfr_set_ui(right, row.turn / 4, MPFR_RNDN) : mpfr_const_pi(right, MPFR_RNDN);
  if (!row.turn) mpfr_div_2ui(right, right, 1, MPFR_RNDN);
  const int bits = 1 + static_cast<int>(s.below(62));
  mpfr_mul_ui(v, right, 1 + s.bits() % (std::uint64_t{1} << std::min(bits, 31)), MPFR_RNDN);
  if (bits > 31) mpfr_mul_2ui(v, v, static_cast<unsigned long>(bits - 31), MPFR_RNDN);
  Real16 x = oracle::round_to_real16(v).bits;
  for (std::uint64_t n = s.below(9); n > 0; --n) x = op(Op::add, x, real16(x.w[3] - (112 << 16)));
  for (std::uint64_t n = s.below(5); n > 0; --n) x = op(Op::sub, x, real16(x.w[3] - (112 << 16)));
  x.w[3] = (x.w[3] & 0x7fffffff) | sign;
  return x;
}

class Entries : public Real16Test, public ::testing::WithParamInterface<Row> {};

// Every band against MPFR (the reduction's own error apart, as stated
// above); odd entries f(-x) = -f(x) (a zero stays +0), cosines even, bit
// for bit; at a pole the default, +infinity.
TEST_P(Entries, AgainstMpfr) {
  const Row &row = GetParam();
  std::printf("%-7s", row.name);
  for (const Band &b : row.bands) {
    const bool reduced = std::string(b.name) == "reduced";
    for (int near = 0; near <= reduced; ++near) {
      double worst = 0;
      for (std::uint64_t i = 0; i < scaled(near ? 600 : 1200); ++i) {
        const Real16 x = draw(s, row, b, near);
        const Real16 got = call(row.fn, x), mirror = call(row.fn, neg(x));
        Big e(kBits), ex(kBits);
        oracle::set_real16(ex, x);
        row.exact(e, ex, MPFR_RNDN);
        if (mpfr_inf_p(e)) {  // a pole: the default of the substitute runtime's answer 0
          if (!oracle::same_bits(got, kInf) || !oracle::same_bits(mirror, kInf))
            fail(std::string(row.name) + " pole " + show(x));
          continue;
        }
        const bool even =
            row.exact == mpfr_cos || row.exact == oracle::cosd || row.exact == oracle::cosq;
        const Real16 want_mirror = even || zero(got) ? got : neg(got);
        if (!oracle::same_bits(mirror, want_mirror))
          fail(std::string(row.name) + " not symmetric at " + show(x));
        double u = oracle::ulp_error(got, e);
        const Real16 a = real16(x.w[3] & 0x7fffffff, x.w[2], x.w[1], x.w[0]);
        if (row.turn == 0 && reduced) {  // the radian reduction's error
          const Reduction red = reduce_radians(a);
          Big eff(kBits), err(kBits), step(kBits);
          mpfr_const_pi(eff, MPFR_RNDN);
          mpfr_mul(eff, eff, oracle::Exact(red.k), MPFR_RNDN);
          mpfr_div_2ui(eff, eff, 1, MPFR_RNDN);
          mpfr_add(eff, eff, oracle::Exact(red.r), MPFR_RNDN);  // k pi/2 + r
          mpfr_sub(err, eff, oracle::Exact(a), MPFR_RNDN);
          mpfr_set_ui_2exp(step, 1, static_cast<long>(red.r.w[3] >> 16 & 0x7fff) - 16383 - 115,
                           MPFR_RNDN);
          if (mpfr_cmpabs(err, step) > 0) {  // beyond an eighth of an ulp of r
            if (x.w[3] & kSign16) mpfr_neg(eff, eff, MPFR_RNDN);
            row.exact(e, eff, MPFR_RNDN);
            u = oracle::ulp_error(got, e);
          }
        }
        worst = std::max(worst, u);
        if (!(u <= kUlps))
          fail(std::string(row.name) + " " + show(x) + " gives " + show(got) + ": " +
               std::to_string(u) + " ulp");
      }
      std::printf(" %s %.3f", near ? "near" : b.name, worst);
    }
  }
  std::printf(" ulp\n");
}
INSTANTIATE_TEST_SUITE_P(Real16Trig, Entries, ::testing::ValuesIn(kRows),
                         [](const auto &info) { return std::string(info.param.name); });

Real16 q(double v) {
  Real16 r;
  g_qextd(&r, &v);
  return r;
}
constexpr Real16 kOne_ = kOne, kMinusOne = real16(0xbfff0000);
constexpr Real16 kSqrtHalf = real16(0x3ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea96);

// Results the definition gives bit for bit.
TEST(Real16Trig, DefinedResults) {
  const Real16 two112 = real16(0x406f0000), two113 = real16(0x40700000);
  const Real16 n113_2 = op(Op::add, two113, q(2)), n112_1 = op(Op::add, two112, q(1));
  const struct {
    Fn16 fn;
    Real16 x, want;
  } rows[] = {
      // clang-format off
      {g_qsin, kMinusZero, kZero},  // g_qsin of -0 is +0
      // g_qtand of 180 returns +0; g_qsind of 270 gives -1 and of -270 gives 1
      {g_qtand, q(180), kZero}, {g_qsind, q(270), kMinusOne}, {g_qsind, q(-270), kOne_},
      // g_qsinq of 2^113 + 2 gives +0; of 2^112 + 1 gives 1; of +inf gives
      // +0 and g_qcosq of +inf gives 1
      {g_qsinq, n113_2, kZero}, {g_qsinq, n112_1, kOne_}, {g_qsinq, kInf, kZero}, {g_qcosq, kInf, kOne_},
      // a result of 1 for negative x becomes -1; zeros stay +0
      {g_qsinq, neg(n112_1), kMinusOne}, {g_qsinq, neg(n113_2), kZero},
      // g_qcotq of 2^112 + 1 returns +0; g_qtanq: n even gives +0
      {g_qcotq, n112_1, kZero}, {g_qtanq, op(Op::add, two112, q(2)), kZero},
      // multiples of a right angle are exact
      {g_qcosd, q(-180), kMinusOne}, {g_qsinq, q(-3), kOne_}, {g_qcosq, q(4), kOne_},
      // clang-format on
  };
  for (const auto &r : rows)
    EXPECT_TRUE(oracle::same_bits(call(r.fn, r.x), r.want))
        << show(r.x) << " gives " << show(call(r.fn, r.x)) << ", want " << show(r.want);

  // g_qtand of exactly 45 uses the tangent kernel directly (the next value
  // up takes the complement); g_qcosq of 0.6 is the sine of 1 - 0.6 from the
  // quadrant kernel; ulx_gdsq(a, b) = a - b, the Real8 widened, one rounding
  Real16 k, c, s, unused;
  EXPECT_TRUE(oracle::same_bits(call(g_qtand, q(45)), *ulx_gutd(&k, 0, q(45))));
  EXPECT_TRUE(oracle::same_bits(call(g_qcotd, q(45)), *ulx_gutd(&k, 1, q(45))));
  ulx_gusq(1, *ulx_gdsq(&c, 1.0, q(0.6)), &s, &unused);
  EXPECT_TRUE(oracle::same_bits(call(g_qcosq, q(0.6)), s));
  EXPECT_TRUE(oracle::same_bits(*ulx_gdsq(&c, 0.1, q(1e-30)), op(Op::sub, q(0.1), q(1e-30))));
}

// The pairs: g_qpscn as g_qsin and g_qcos, g_qpscnq as g_qsinq and g_qcosq,
// bit for bit; g_qpscn of -0 gives s = -0 and c = 1 (its flips are
// unconditional); g_qpscnq gives (-1, 0) at n = 3 mod 4.
TEST_F(Real16Test, PairsAgreeWithTheSingleEntries) {
  for (std::uint64_t i = 0; i < scaled(2000); ++i) {
    const std::uint32_t h = 0x3f800000 + s.below32(0x403e921f - 0x3f800000);
    const Real16 x = real16((s.bits() & 1 ? kSign16 : 0) | h, s.below32(1ull << 32),
                            s.below32(1ull << 32), s.below32(1ull << 32));
    Real16 ps, pc, qs, qc;
    g_qpscn(&x, &ps, &pc), g_qpscnq(&x, &qs, &qc);
    if (!oracle::same_bits(ps, call(g_qsin, x)) || !oracle::same_bits(pc, call(g_qcos, x)) ||
        !oracle::same_bits(qs, call(g_qsinq, x)) || !oracle::same_bits(qc, call(g_qcosq, x)))
      fail("pair at " + show(x));
  }
  Real16 ps, pc;
  g_qpscn(&kMinusZero, &ps, &pc);
  EXPECT_TRUE(oracle::same_bits(ps, kMinusZero) && oracle::same_bits(pc, kOne));
  const Real16 three = op(Op::add, real16(0x406f0000), q(3));
  g_qpscnq(&three, &ps, &pc);
  EXPECT_TRUE(oracle::same_bits(ps, kMinusOne) && oracle::same_bits(pc, kZero));
}

// Every error: the number, the argument reported as a value (type 11), the
// default with the infinity flag clear and set, and a resume: a replacement
// that still fails reports again with its number, then 0.5 is computed.
// Defaults: too large to reduce, sine and cosine sq22 / _NaN_Q, tangents
// 1 / _NaN_Q; poles the largest finite Real16 / _Inf_Q.
TEST(Real16Trig, ErrorsDefaultsAndResume) {
  const Real16 rad = real16(0x403e921f), deg = real16(0x40446800), two112 = real16(0x406f0000);
  const struct {
    Fn16 fn;
    Real16 x;
    std::int32_t number;
  } rows[] = {
      // clang-format off
      // a >= 1.5707855224609375 2^63, infinities and NaNs included: 204; 215
      {g_qsin, rad, 204}, {g_qcos, kInf, 204}, {g_qcos, neg(kNaN), 204}, {g_qtan, neg(rad), 215},
      {g_qcotan, kInf, 215},
      {g_qcotan, kMinusZero, 216},  // pole: the cotangent of 0
      // a >= 90 2^63: 1402; 1403; poles 1404 (90 reduces with k = 1, r = 0)
      {g_qsind, deg, 1402}, {g_qcosd, neg(kInf), 1402}, {g_qtand, deg, 1403}, {g_qcotd, kNaN, 1403},
      {g_qtand, q(90), 1404}, {g_qtand, q(-270), 1404}, {g_qcotd, kZero, 1404}, {g_qcotd, q(360), 1404},
      // quadrant poles: 1399, integers from 2^112 of the wrong parity too
      {g_qtanq, q(3), 1399}, {g_qcotq, kMinusZero, 1399}, {g_qcotq, q(-2), 1399},
      {g_qcotq, op(Op::add, two112, q(2)), 1399}, {g_qtanq, op(Op::add, two112, q(1)), 1399},
      // clang-format on
  };
  for (const auto &r : rows) {
    const bool range = r.number == 204 || r.number == 1402 || r.number == 215 || r.number == 1403;
    const Real16 finite = !range                                ? kLargest
                          : r.number == 204 || r.number == 1402 ? kSqrtHalf
                                                                : kOne;
    for (std::uint8_t flag : {0, 1}) {
      Recorder rec(flag);
      const Real16 got = call(r.fn, r.x);
      ASSERT_EQ(rec.reports.size(), 1u) << show(r.x);
      const Report &rep = rec.reports[0];
      EXPECT_TRUE(rep.number == r.number && rep.value_count == 1 && rep.value_type[0] == 11 &&
                  oracle::same_bits(rep.value_as<Real16>(0), r.x))
          << rep.number << " at " << show(r.x);
      EXPECT_TRUE(oracle::same_bits(got, flag ? (range ? kNaN : kInf) : finite))
          << r.number << " at " << show(r.x) << " flag " << int(flag) << " gives " << show(got);
    }
    Recorder rec(1);
    rec.answer = [&](const Report &rep, int index) {
      return replace(rep, 1, index == 0 ? r.x : q(0.5)), 1;
    };
    const Real16 got = call(r.fn, r.x);
    ASSERT_EQ(rec.reports.size(), 2u) << r.number;
    EXPECT_EQ(rec.reports[1].number, r.number);
    EXPECT_TRUE(oracle::same_bits(got, call(r.fn, q(0.5)))) << r.number;
  }
  // g_qpscn on error 204 stores sq22 at both outputs whatever the flag.
  for (std::uint8_t flag : {0, 1}) {
    Recorder rec(flag);
    Real16 ps, pc;
    g_qpscn(&kNaN, &ps, &pc);
    EXPECT_TRUE(rec.reports.size() == 1 && rec.reports[0].number == 204);
    EXPECT_TRUE(oracle::same_bits(ps, kSqrtHalf) && oracle::same_bits(pc, kSqrtHalf));
  }
  // The value just below the radian limit is reduced, not reported; the
  // quadrant sines never report.
  Recorder rec(1);
  Real16 ps, pc;
  call(g_qsin, real16(0x403e921e, ~0u, ~0u, ~0u)), call(g_qsinq, kNaN), g_qpscnq(&kNaN, &ps, &pc);
  EXPECT_TRUE(rec.reports.empty());
}

}  // namespace
