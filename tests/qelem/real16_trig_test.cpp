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

enum class Kind { sin, cos, tan, cot };

// f(x) exactly in the unit of which `turn` makes a full turn (0: radians);
// the cotangent is 1/tan (infinite at its poles).
void exact(Big &out, Kind k, unsigned long turn, mpfr_srcptr x) {
  const auto rnd = MPFR_RNDN;
  switch (k) {
    case Kind::sin:
      turn ? mpfr_sinu(out, x, turn, rnd) : mpfr_sin(out, x, rnd);
      break;
    case Kind::cos:
      turn ? mpfr_cosu(out, x, turn, rnd) : mpfr_cos(out, x, rnd);
      break;
    case Kind::tan:
    case Kind::cot:
      turn ? mpfr_tanu(out, x, turn, rnd) : mpfr_tan(out, x, rnd);
      if (k == Kind::cot) mpfr_ui_div(out, 1, out, rnd);
  }
}
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
// `near` bands put x within a few ulps of a multiple of a right angle.
struct Band {
  const char *name;
  std::uint32_t lo, hi;
  bool near = false;
};
struct Row {
  const char *name;
  Fn16 fn;
  Kind kind;
  unsigned long turn;
  std::uint32_t reduce_from;  // high word where the reduction starts
  std::vector<Band> bands;
};

// Ranges as the entries split them (high words of |x|).
const std::vector<Band> kSinBands = {{"tiny", 0x3f000000, 0x3fbeffff},
                                     {"direct", 0x3fbf0000, 0x3ffee665},
                                     {"complement", 0x3ffee666, 0x3fff921e},
                                     {"reduced", 0x3fff921f, 0x403e921e},
                                     {"near", 0x3fff921f, 0x403e921e, true}};
const std::vector<Band> kTanBands = {{"tiny", 0x3f000000, 0x3fbeffff},
                                     {"direct", 0x3fbf0000, 0x3ffe921e},
                                     {"reduced", 0x3ffe921f, 0x403e921e},
                                     {"near", 0x3ffe921f, 0x403e921e, true}};
const std::vector<Band> kSindBands = {{"direct", 0x3f000000, 0x4004afff},
                                      {"complement", 0x4004b000, 0x400567ff},
                                      {"reduced", 0x40056800, 0x404467ff},
                                      {"near", 0x40056800, 0x404467ff, true}};
const std::vector<Band> kTandBands = {{"direct", 0x3f000000, 0x400467ff},
                                      {"complement", 0x40046800, 0x400567ff},
                                      {"reduced", 0x40056800, 0x404467ff},
                                      {"near", 0x40056800, 0x404467ff, true}};
const std::vector<Band> kSinqBands = {{"direct", 0x3f000000, 0x3ffe3332},
                                      {"complement", 0x3ffe3333, 0x3ffeffff},
                                      {"reduced", 0x3fff0000, 0x406effff},
                                      {"near", 0x3fff0000, 0x406effff, true},
                                      {"integers", 0x406f0000, 0x7fffffff}};
const std::vector<Band> kTanqBands = {{"direct", 0x3f000000, 0x3ffdffff},
                                      {"complement", 0x3ffe0000, 0x3ffeffff},
                                      {"reduced", 0x3fff0000, 0x406effff},
                                      {"near", 0x3fff0000, 0x406effff, true},
                                      {"integers", 0x406f0000, 0x7fffffff}};
const Row kRows[] = {
    {"qsin", g_qsin, Kind::sin, 0, 0x3fff921f, kSinBands},
    {"qcos", g_qcos, Kind::cos, 0, 0x3fff921f, kSinBands},
    {"qtan", g_qtan, Kind::tan, 0, 0x3ffe921f, kTanBands},
    {"qcotan", g_qcotan, Kind::cot, 0, 0x3ffe921f, kTanBands},
    {"qsind", g_qsind, Kind::sin, 360, 0, kSindBands},
    {"qcosd", g_qcosd, Kind::cos, 360, 0, kSindBands},
    {"qtand", g_qtand, Kind::tan, 360, 0, kTandBands},
    {"qcotd", g_qcotd, Kind::cot, 360, 0, kTandBands},
    {"qsinq", g_qsinq, Kind::sin, 4, 0, kSinqBands},
    {"qcosq", g_qcosq, Kind::cos, 4, 0, kSinqBands},
    {"qtanq", g_qtanq, Kind::tan, 4, 0, kTanqBands},
    {"qcotq", g_qcotq, Kind::cot, 4, 0, kTanqBands},
};

// x in the band; a `near` x is a multiple of a right angle rounded to
// Real16 (k random below the band's top), moved by up to 4 ulps.
Real16 draw(Real16Sampler &s, const Row &row, const Band &b) {
  const std::uint32_t sign = s.bits() & 1 ? kSign16 : 0;
  if (!b.near) {
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
    double worst = 0;
    for (std::uint64_t i = 0; i < scaled(b.near ? 600 : 1200); ++i) {
      const Real16 x = draw(s, row, b);
      const Real16 got = call(row.fn, x), mirror = call(row.fn, neg(x));
      Big e(kBits), ex(kBits);
      oracle::set_real16(ex, x);
      exact(e, row.kind, row.turn, ex);
      if (mpfr_inf_p(e)) {  // a pole: the default of the substitute runtime's answer 0
        if (!oracle::same_bits(got, kInf) || !oracle::same_bits(mirror, kInf))
          fail(std::string(row.name) + " pole " + show(x));
        continue;
      }
      const Real16 want_mirror = row.kind == Kind::cos || zero(got) ? got : neg(got);
      if (!oracle::same_bits(mirror, want_mirror))
        fail(std::string(row.name) + " not symmetric at " + show(x));
      double u = oracle::ulp_error(got, e);
      const Real16 a = real16(x.w[3] & 0x7fffffff, x.w[2], x.w[1], x.w[0]);
      if (row.turn == 0 && (a.w[3] >= row.reduce_from)) {  // the radian reduction's error
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
          exact(e, row.kind, 0, eff);
          u = oracle::ulp_error(got, e);
        }
      }
      worst = std::max(worst, u);
      if (!(u <= kUlps))
        fail(std::string(row.name) + " " + show(x) + " gives " + show(got) + ": " +
             std::to_string(u) + " ulp");
    }
    std::printf(" %s %.3f", b.name, worst);
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
  const struct {
    Fn16 fn;
    Real16 x, want;
  } rows[] = {
      {g_qsin, kMinusZero, kZero},  // g_qsin of -0 is +0
      // g_qtand of 180 returns +0; g_qsind of 270 gives -1 and of -270 gives 1
      {g_qtand, q(180), kZero},
      {g_qsind, q(270), kMinusOne},
      {g_qsind, q(-270), kOne_},
      // g_qsinq of 2^113 + 2 gives +0; of 2^112 + 1 gives 1; of +inf gives
      // +0 and g_qcosq of +inf gives 1
      {g_qsinq, op(Op::add, two113, q(2)), kZero},
      {g_qsinq, op(Op::add, two112, q(1)), kOne_},
      {g_qsinq, kInf, kZero},
      {g_qcosq, kInf, kOne_},
      // a result of 1 for negative x becomes -1; zeros stay +0
      {g_qsinq, neg(op(Op::add, two112, q(1))), kMinusOne},
      {g_qsinq, neg(op(Op::add, two113, q(2))), kZero},
      // g_qcotq of 2^112 + 1 returns +0; g_qtanq: n even gives +0
      {g_qcotq, op(Op::add, two112, q(1)), kZero},
      {g_qtanq, op(Op::add, two112, q(2)), kZero},
      // multiples of a right angle are exact
      {g_qcosd, q(-180), kMinusOne},
      {g_qsinq, q(-3), kOne_},
      {g_qcosq, q(4), kOne_},
  };
  for (const auto &r : rows)
    EXPECT_TRUE(oracle::same_bits(call(r.fn, r.x), r.want))
        << show(r.x) << " gives " << show(call(r.fn, r.x)) << ", want " << show(r.want);

  // g_qtand of exactly 45 uses the tangent kernel directly (the next value
  // up takes the complement); g_qcosq of 0.6 is the sine of 1 - 0.6 from the
  // quadrant kernel
  Real16 k, c, s, unused;
  EXPECT_TRUE(oracle::same_bits(call(g_qtand, q(45)), *ulx_gutd(&k, 0, q(45))));
  EXPECT_TRUE(oracle::same_bits(call(g_qcotd, q(45)), *ulx_gutd(&k, 1, q(45))));
  ulx_gusq(1, *ulx_gdsq(&c, 1.0, q(0.6)), &s, &unused);
  EXPECT_TRUE(oracle::same_bits(call(g_qcosq, q(0.6)), s));
  // ulx_gdsq(a, b) = a - b: the Real8 widened, one rounding
  EXPECT_TRUE(oracle::same_bits(*ulx_gdsq(&c, 0.1, q(1e-30)), op(Op::sub, q(0.1), q(1e-30))));
}

// The pairs: g_qpscn as g_qsin and g_qcos (its flips are unconditional, so
// a zero may come out as -0), g_qpscnq as g_qsinq and g_qcosq bit for bit.
TEST_F(Real16Test, PairsAgreeWithTheSingleEntries) {
  for (std::uint64_t i = 0; i < scaled(2000); ++i) {
    const std::uint32_t h = 0x3f800000 + s.below32(0x403e921f - 0x3f800000);
    const Real16 x = real16((s.bits() & 1 ? kSign16 : 0) | h, s.below32(1ull << 32),
                            s.below32(1ull << 32), s.below32(1ull << 32));
    Real16 ps, pc, qs, qc;
    g_qpscn(&x, &ps, &pc);
    g_qpscnq(&x, &qs, &qc);
    const bool same =
        oracle::same_bits(ps, call(g_qsin, x)) && oracle::same_bits(pc, call(g_qcos, x)) &&
        oracle::same_bits(qs, call(g_qsinq, x)) && oracle::same_bits(qc, call(g_qcosq, x));
    if (!same) fail("pair at " + show(x));
  }
  // g_qpscn of -0 gives s = -0 and c = 1; g_qpscnq: (-1, 0) at n = 3 mod 4
  Real16 ps, pc;
  g_qpscn(&kMinusZero, &ps, &pc);
  EXPECT_TRUE(oracle::same_bits(ps, kMinusZero) && oracle::same_bits(pc, kOne));
  const Real16 three = op(Op::add, real16(0x406f0000), q(3));
  g_qpscnq(&three, &ps, &pc);
  EXPECT_TRUE(oracle::same_bits(ps, kMinusOne) && oracle::same_bits(pc, kZero));
}

// Every error: the number, the argument reported as a value (type 11), the
// default with the infinity flag clear and set, and a resume with a
// replacement (0.5) that computes the function of it.
struct ErrorRow {
  const char *name;
  Fn16 fn;
  Real16 x;
  std::int32_t number;
  Real16 finite, ieee;
};
TEST(Real16Trig, ErrorsDefaultsAndResume) {
  const Real16 radian_limit = real16(0x403e921f), degree_limit = real16(0x40446800);
  const ErrorRow rows[] = {
      // a >= 1.5707855224609375 2^63, infinities and NaNs included: 204,
      // sq22 / _NaN_Q; tangents 215, 1 / _NaN_Q
      {"qsin", g_qsin, radian_limit, 204, kSqrtHalf, kNaN},
      {"qcos", g_qcos, kInf, 204, kSqrtHalf, kNaN},
      {"qcos", g_qcos, neg(kNaN), 204, kSqrtHalf, kNaN},
      {"qtan", g_qtan, neg(radian_limit), 215, kOne, kNaN},
      {"qcotan", g_qcotan, kInf, 215, kOne, kNaN},
      // pole: cotangent of 0: 216, largest finite / _Inf_Q
      {"qcotan", g_qcotan, kMinusZero, 216, kLargest, kInf},
      // a >= 90 2^63: 1402, sq22 / NaN; 1403, 1 / NaN; pole 1404
      {"qsind", g_qsind, degree_limit, 1402, kSqrtHalf, kNaN},
      {"qcosd", g_qcosd, neg(kInf), 1402, kSqrtHalf, kNaN},
      {"qtand", g_qtand, degree_limit, 1403, kOne, kNaN},
      {"qcotd", g_qcotd, kNaN, 1403, kOne, kNaN},
      {"qtand", g_qtand, q(90), 1404, kLargest, kInf},  // reduces with k = 1, r = 0
      {"qtand", g_qtand, q(-270), 1404, kLargest, kInf},
      {"qcotd", g_qcotd, kZero, 1404, kLargest, kInf},
      {"qcotd", g_qcotd, q(360), 1404, kLargest, kInf},
      // quadrant poles: 1399, including integers from 2^112 of the wrong parity
      {"qtanq", g_qtanq, q(3), 1399, kLargest, kInf},
      {"qcotq", g_qcotq, kMinusZero, 1399, kLargest, kInf},
      {"qcotq", g_qcotq, q(-2), 1399, kLargest, kInf},
      {"qcotq", g_qcotq, op(Op::add, real16(0x406f0000), q(2)), 1399, kLargest, kInf},
      {"qtanq", g_qtanq, op(Op::add, real16(0x406f0000), q(1)), 1399, kLargest, kInf},
  };
  for (const auto &r : rows) {
    for (std::uint8_t flag : {0, 1}) {
      Recorder rec(flag);
      const Real16 got = call(r.fn, r.x);
      ASSERT_EQ(rec.reports.size(), 1u) << r.name << " " << show(r.x);
      const Report &rep = rec.reports[0];
      EXPECT_EQ(rep.number, r.number) << r.name;
      EXPECT_EQ(rep.value_count, 1) << r.name;
      EXPECT_EQ(rep.value_type[0], 11) << r.name;
      EXPECT_TRUE(oracle::same_bits(rep.value_as<Real16>(0), r.x)) << r.name;
      EXPECT_TRUE(oracle::same_bits(got, flag ? r.ieee : r.finite))
          << r.name << " " << show(r.x) << " flag " << int(flag) << " gives " << show(got);
    }
    // A replacement that still fails reports again with its number; then
    // 0.5 is computed.
    Recorder rec(1);
    rec.answer = [&](const Report &rep, int index) {
      replace(rep, 1, index == 0 ? r.x : q(0.5));
      return 1;
    };
    const Real16 got = call(r.fn, r.x);
    ASSERT_EQ(rec.reports.size(), 2u) << r.name;
    EXPECT_EQ(rec.reports[1].number, r.number) << r.name;
    EXPECT_TRUE(oracle::same_bits(got, call(r.fn, q(0.5)))) << r.name;
  }
  // g_qpscn on error 204 stores sq22 at both outputs whatever the flag.
  for (std::uint8_t flag : {0, 1}) {
    Recorder rec(flag);
    Real16 ps, pc;
    g_qpscn(&kNaN, &ps, &pc);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].number, 204);
    EXPECT_TRUE(oracle::same_bits(ps, kSqrtHalf) && oracle::same_bits(pc, kSqrtHalf));
  }
  // The value just below the radian limit is reduced, not reported; the
  // quadrant sines never report.
  Recorder rec(1);
  call(g_qsin, real16(0x403e921e, ~0u, ~0u, ~0u));
  call(g_qsinq, kNaN);
  Real16 ps, pc;
  g_qpscnq(&kNaN, &ps, &pc);
  EXPECT_TRUE(rec.reports.empty());
}

}  // namespace
