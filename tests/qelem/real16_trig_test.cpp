// The Real16 sines, cosines, tangents and cotangents in radians, degrees and
// quadrant units, and the pairs, against MPFR at 256 bits: the high word of
// |x| over every range the entries tell apart, and x next to multiples of a
// right angle.
//
// Bound: 2 ulp of the exact function wherever the reduction is exact
// (degrees, quadrant units, the direct and complement ranges) or its error
// k |pi/2 - hpa - hpb| + rounding of hpb k (below k 2^-159) stays under an
// eighth of an ulp of the remainder; elsewhere 2 ulp of the exact function
// at the algorithm's own argument k pi/2 + r, r the remainder the defined
// Real16 operations give.
#include <gtest/gtest.h>

#include "support/real16_functions.h"

namespace {

using namespace support;
using oracle::Big;
using oracle::Op;

Real16 op(Op o, const Real16 &a, const Real16 &b) { return oracle::reference(o, a, b).bits; }
Real16 q(double x) { return widened(x); }

// F at k pi/2 + r for the radian reduction as defined, on MPFR at 113 bits
// (k = (rhp a + bg) - bg, r = (a - hpa k) - hpb k), where that differs from
// |x| by more than an eighth of an ulp of r; F(x) elsewhere.
constexpr Real16 kHpa = real16(0x3fff921f, 0xb54442d1);
constexpr Real16 kHpb = real16(0x3fce08d3, 0x13198a2e, 0x03707344, 0xa4093822);
constexpr Real16 kRhp = real16(0x3ffe45f3, 0x06dc9c88, 0x2a53f84e, 0xafa3ea6a);
constexpr Real16 kBg = real16(0x406f0000);
template <oracle::Fn1 F>
int radians(mpfr_ptr y, mpfr_srcptr x, mpfr_rnd_t rnd) {
  Real16 a = oracle::round_to_real16(x).bits;
  a.w[3] &= 0x7fffffff;
  const Real16 k = op(Op::sub, op(Op::add, op(Op::mul, kRhp, a), kBg), kBg);
  const Real16 r = op(Op::sub, op(Op::sub, a, op(Op::mul, kHpa, k)), op(Op::mul, kHpb, k));
  Big eff(oracle::Precision{256}), err(oracle::Precision{256}), step;
  mpfr_const_pi(eff, MPFR_RNDN);
  mpfr_mul(eff, eff, oracle::Exact(k), MPFR_RNDN);
  mpfr_div_2ui(eff, eff, 1, MPFR_RNDN);
  mpfr_add(eff, eff, oracle::Exact(r), MPFR_RNDN);
  mpfr_sub(err, eff, oracle::Exact(a), MPFR_RNDN);
  mpfr_set_ui_2exp(step, 1, static_cast<long>(r.w[3] >> 16 & 0x7fff) - 16383 - 115, MPFR_RNDN);
  if (is_zero16(r) || mpfr_cmpabs(err, step) <= 0) return F(y, x, rnd);
  if (mpfr_signbit(x)) mpfr_neg(eff, eff, MPFR_RNDN);
  return F(y, eff, rnd);
}

// The high words of |x| as each unit splits them (from each edge to below
// the next), and x next to a multiple of its right angle (0: pi/2).
std::vector<Range16> bands(std::vector<std::uint32_t> edges, double right) {
  std::vector<Range16> r;
  for (std::size_t i = 1; i < edges.size(); ++i) r.push_back(w(edges[i - 1], edges[i] - 1));
  return r.push_back({right, 0, 2, Draw::near}), r;
}
const auto kSin = bands({0x3f000000, 0x3fbf0000, 0x3ffee666, 0x3fff921f, 0x403e921f}, 0);
const auto kTan = bands({0x3f000000, 0x3fbf0000, 0x3ffe921f, 0x403e921f}, 0);
const auto kSind = bands({0x3f000000, 0x4004b000, 0x40056800, 0x40446800}, 90);
const auto kTand = bands({0x3f000000, 0x40046800, 0x40056800, 0x40446800}, 90);
const auto kSinq = bands({0x3f000000, 0x3ffe3333, 0x3fff0000, 0x406f0000, 0x80000000}, 1);
const auto kTanq = bands({0x3f000000, 0x3ffe0000, 0x3fff0000, 0x406f0000, 0x80000000}, 1);

constexpr Real16 kMinusOne = real16(0xbfff0000);
constexpr Real16 kSqrtHalf = real16(0x3ffe6a09, 0xe667f3bc, 0xc908b2fb, 0x1366ea96);
const Real16 k2p112 = real16(0x406f0000), kRad = real16(0x403e921f), kDeg = real16(0x40446800);
const Real16 k2p112_1 = op(Op::add, k2p112, q(1)), k2p112_2 = op(Op::add, k2p112, q(2)),
             k2p112_3 = op(Op::add, k2p112, q(3));
const Real16 k2p113_2 = op(Op::add, real16(0x40700000), q(2));

// A kernel's result at x: the tangent (mode 0) or cotangent in degrees,
// the sine in quadrant units.
Real16 gutd(std::int32_t mode, double x) {
  Real16 r;
  return *ulx_gutd(&r, mode, q(x));
}
Real16 gusq_sine(const Real16 &x) {
  Real16 s, c;
  return ulx_gusq(1, x, &s, &c), s;
}
Real16 gdsq(double a, const Real16 &b) {
  Real16 r;
  return *ulx_gdsq(&r, a, b);
}

// Too large to reduce: the sines sqrt(1/2) / NaN, the tangents 1 / NaN;
// poles: the largest Real16 / +infinity.
std::vector<Fault16> range(std::int32_t error, Real16 finite, std::vector<Real16> xs) {
  return faults(error, finite, kNaN, xs);
}
std::vector<Fault16> poles(std::int32_t error, std::vector<Real16> xs) {
  return faults(error, kLargest, kInf, xs);
}

// clang-format off
const Row16 kRows[] = {
    // a >= 1.5707855224609375 2^63, infinities and NaNs included: 204; the
    // value just below is reduced, not reported; g_qsin of -0 is +0.
    {"g_qsin", g_qsin, radians<mpfr_sin>, kOdd, kSin, {{real16(0x403e921e, ~0u, ~0u, ~0u), 2}},
     {{kMinusZero, kZero}}, range(204, kSqrtHalf, {kRad, kNaN}), 1200, 0, part<g_qpscn, 0>},
    {"g_qcos", g_qcos, radians<mpfr_cos>, kEven, kSin, {}, {},
     range(204, kSqrtHalf, {kInf, negated(kNaN)}), 1200, 0, part<g_qpscn, 1>},
    // 215; the cotangent of 0 is a pole: 216.
    {"g_qtan", g_qtan, radians<mpfr_tan>, kOdd, kTan, {}, {}, range(215, kOne, {negated(kRad)}), 1200},
    {"g_qcotan", g_qcotan, radians<mpfr_cot>, kOdd, kTan, {}, {},
     range(215, kOne, {kInf}) + poles(216, {kMinusZero}), 1200},
    // a >= 90 2^63: 1402; g_qsind of 270 gives -1 and of -270 gives 1.
    {"g_qsind", g_qsind, oracle::sind, kOdd, kSind, {}, {{q(270), kMinusOne}, {q(-270), kOne}},
     range(1402, kSqrtHalf, {kDeg}), 1200},
    {"g_qcosd", g_qcosd, oracle::cosd, kEven, kSind, {}, {{q(-180), kMinusOne}},
     range(1402, kSqrtHalf, {negated(kInf)}), 1200},
    // 1403; poles 1404 (90 reduces with k = 1, r = 0); g_qtand of 180 is
    // +0; of exactly 45 the tangent kernel directly (the next value up
    // takes the complement).
    {"g_qtand", g_qtand, oracle::tand, kOdd, kTand, {}, {{q(180), kZero}, {q(45), gutd(0, 45)}},
     range(1403, kOne, {kDeg}) + poles(1404, {q(90), q(-270)}), 1200},
    {"g_qcotd", g_qcotd, oracle::cotd, kOdd, kTand, {}, {{q(45), gutd(1, 45)}},
     range(1403, kOne, {kNaN}) + poles(1404, {kZero, q(360)}), 1200},
    // No errors. g_qsinq of 2^113 + 2 gives +0, of 2^112 + 1 gives 1, of
    // +inf +0 (a NaN likewise); a result of 1 for negative x becomes -1;
    // zeros stay +0.
    {"g_qsinq", g_qsinq, oracle::sinq, kOdd, kSinq, {},
     {{k2p113_2, kZero}, {k2p112_1, kOne}, {kInf, kZero}, {kNaN, kZero},
      {negated(k2p112_1), kMinusOne}, {negated(k2p113_2), kZero}, {q(-3), kOne}},
     {}, 1200, 0, part<g_qpscnq, 0>},
    // g_qcosq of +inf gives 1; of 0.6 the sine of 1 - 0.6 (ulx_gdsq) from
    // the quadrant kernel.
    {"g_qcosq", g_qcosq, oracle::cosq, kEven, kSinq, {},
     {{kInf, kOne}, {q(4), kOne}, {q(0.6), gusq_sine(gdsq(1.0, q(0.6)))}}, {}, 1200, 0,
     part<g_qpscnq, 1>},
    // Poles 1399, integers from 2^112 of the wrong parity too; n even
    // gives +0.
    {"g_qtanq", g_qtanq, oracle::tanq, kOdd, kTanq, {}, {{k2p112_2, kZero}},
     poles(1399, {q(3), k2p112_1}), 1200},
    {"g_qcotq", g_qcotq, oracle::cotq, kOdd, kTanq, {}, {{k2p112_1, kZero}},
     poles(1399, {kMinusZero, q(-2), k2p112_2}), 1200},
    // The pairs return g_qsin's and g_qcos's (g_qsinq's, g_qcosq's) bits at
    // every sampled x (the twins above); g_qpscn of -0 gives s = -0 and
    // c = 1 (its flips are unconditional), and on 204 stores sq22 at both
    // outputs whatever the flag; g_qpscnq gives (-1, 0) at n = 3 mod 4 and
    // never reports.
    {"g_qpscn_s", part<g_qpscn, 0>, mpfr_sin, kNone, {}, {}, {{kMinusZero, kMinusZero}},
     faults(204, kSqrtHalf, kSqrtHalf, {kNaN})},
    {"g_qpscn_c", part<g_qpscn, 1>, mpfr_cos, kNone, {}, {}, {{kMinusZero, kOne}},
     faults(204, kSqrtHalf, kSqrtHalf, {kNaN})},
    {"g_qpscnq_s", part<g_qpscnq, 0>, mpfr_sin, kNone, {}, {}, {{k2p112_3, kMinusOne}, {kNaN, kZero}}},
    {"g_qpscnq_c", part<g_qpscnq, 1>, mpfr_cos, kNone, {}, {}, {{k2p112_3, kZero}}},
};
// clang-format on

VEXMORG_TABLE16(Real16Trig, Entries, kRows);

// ulx_gdsq, ulx_gqmd, ulx_gddq: the Real8 widened, then one Real16
// operation; ulx_gddq gives +0 for a zero word 3 of b, and divides by -0.
TEST(Real16Trig, MixedHelpers) {
  Real16Sampler s(20261206);
  Real16 r, d;
  for (std::uint64_t i = 0; i < scaled(2000); ++i) {
    const Real16 a = s.with_exponent(16383 + s.below32(200) - 100);
    const double b = std::ldexp(static_cast<double>(s.bits() >> 11) * (s.bits() & 1 ? -1 : 1),
                                -50 + static_cast<int>(s.below(40)));
    ASSERT_TRUE(oracle::same_bits(*ulx_gdsq(&r, b, a), op(Op::sub, q(b), a))) << show(a) << b;
    ASSERT_TRUE(oracle::same_bits(*ulx_gqmd(&r, a, b), op(Op::mul, a, q(b)))) << show(a) << b;
    ASSERT_TRUE(oracle::same_bits(*ulx_gddq(&r, b, a), op(Op::div, q(b), a))) << show(a) << b;
  }
  EXPECT_TRUE(oracle::same_bits(*ulx_gddq(&r, 3.0, kZero), kZero));
  Recorder rec;
  const Real16 three = q(3);
  ulx_gddq(&r, 3.0, kMinusZero), g_aqdq(&d, &three, &kMinusZero);
  EXPECT_TRUE(oracle::same_bits(r, d) && rec.reports.size() == 2 &&
              rec.reports[0].number == rec.reports[1].number);
}

}  // namespace
