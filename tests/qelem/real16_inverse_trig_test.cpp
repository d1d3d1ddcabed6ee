// The Real16 arc sines, arc cosines and arc tangents in radians, degrees
// and quadrant units against MPFR at 256 bits: sampled arguments in every
// range the entries tell apart (by the high word of |x|), the exact points
// and error rows of their definition bit for bit, odd symmetry as a bit
// identity, and every error number with both defaults and a resume.
//
// Bound: 2 ulp of the Real16 result everywhere (the polynomial ends and
// the Fixed128 middle, whose kernel error stays below 128 units of 2^-128
// at its scale); the run prints the maxima it measured.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "support/real16_checks.h"

namespace {

using namespace support;
using oracle::Big;
using Fn16 = Real16 *(*)(Real16 *, const Real16 *);
using Fn16x2 = Real16 *(*)(Real16 *, const Real16 *, const Real16 *);
constexpr double kUlps = 2;
constexpr oracle::Precision kBits{256};

enum class Kind { asin, acos, atan, atan2 };
// The exact value in the unit of which `turn` makes a full turn (0: radians).
void exact(Big &out, Kind k, unsigned long turn, const Real16 &y, const Real16 &x = kOne) {
  Big a(kBits), b(kBits);
  oracle::set_real16(a, y), oracle::set_real16(b, x);
  const auto rnd = MPFR_RNDN;
  switch (k) {
    case Kind::asin:
      turn ? mpfr_asinu(out, a, turn, rnd) : mpfr_asin(out, a, rnd);
      break;
    case Kind::acos:
      turn ? mpfr_acosu(out, a, turn, rnd) : mpfr_acos(out, a, rnd);
      break;
    case Kind::atan:
      turn ? mpfr_atanu(out, a, turn, rnd) : mpfr_atan(out, a, rnd);
      break;
    case Kind::atan2:
      turn ? mpfr_atan2u(out, a, b, turn, rnd) : mpfr_atan2(out, a, b, rnd);
  }
}
bool is_zero(const Real16 &x) { return (x.w[3] & 0x7fffffff) == 0; }
// |got - exact| in ulps of the Real16 binade of the exact value.
double ulps(const Real16 &got, mpfr_srcptr e) {
  if (mpfr_zero_p(e)) return is_zero(got) ? 0 : INFINITY;
  Big g(kBits);
  oracle::set_real16(g, got);
  mpfr_sub(g, g, e, MPFR_RNDN);
  mpfr_mul_2si(g, g, 113 - mpfr_get_exp(e), MPFR_RNDN);
  return std::fabs(mpfr_get_d(g, MPFR_RNDN));
}
Real16 call(Fn16 f, const Real16 &x) {
  Real16 r;
  return f(&r, &x) == &r ? r : kNaN;
}
Real16 call(Fn16x2 f, const Real16 &y, const Real16 &x) {
  Real16 r;
  return f(&r, &y, &x) == &r ? r : kNaN;
}
Real16 neg(Real16 x) { return x.w[3] ^= kSign16, x; }

// High words of |x|, inclusive, sampled uniformly with random low words.
struct Band {
  std::uint32_t lo, hi;
};
Real16 draw(Real16Sampler &s, const Band &b) {
  const std::uint32_t h = s.below(4) == 0 ? (s.bits() & 1 ? b.lo : b.hi)  // the ends
                                          : b.lo + s.below32(b.hi - b.lo + 1ull);
  const std::uint64_t low = s.bits();
  return real16((s.bits() & 1 ? kSign16 : 0) | h, static_cast<std::uint32_t>(s.bits()),
                static_cast<std::uint32_t>(low >> 32), static_cast<std::uint32_t>(low));
}

struct Row {
  const char *name;
  Fn16 fn;
  Kind kind;
  unsigned long turn;
  std::vector<Band> bands;  // tiny, polynomial, fixed point, ... as the entry splits them
};
// Arc sine: tiny, polynomial up to the bound, fixed point, 0x3ffeffff.
std::vector<Band> asin_bands(std::uint32_t poly) {
  return {{0x3f800000, 0x3fbeffff},
          {0x3fbf0000, poly},
          {poly + 1, 0x3ffefffe},
          {0x3ffeffff, 0x3ffeffff}};
}
// Arc cosine: fixed point below 0x3ffeff7c, the series from there.
const std::vector<Band> kAcosBands = {{0x3f800000, 0x3ffeff7b}, {0x3ffeff7c, 0x3ffeffff}};
// Arc tangent: tiny, polynomial, fixed point below and above 1, 1 / a, huge.
std::vector<Band> atan_bands(std::uint32_t poly, std::uint32_t top) {
  return {{0x3f800000, 0x3fbeffff}, {0x3fbf0000, poly},    {poly + 1, 0x3ffeffff},
          {0x3fff0000, top},        {top + 1, 0x40400000}, {0x40400001, 0x7ffeffff}};
}
const Row kRows[] = {
    {"asin", g_qasin, Kind::asin, 0, asin_bands(0x3ff60000)},
    {"asind", g_qasind, Kind::asin, 360, asin_bands(0x3ff6899c)},
    {"asinq", g_qasinq, Kind::asin, 4, asin_bands(0x3ff6899c)},
    {"acos", g_qacos, Kind::acos, 0, kAcosBands},
    {"acosd", g_qacosd, Kind::acos, 360, kAcosBands},
    {"acosq", g_qacosq, Kind::acos, 4, kAcosBands},
    {"atan", g_qatan, Kind::atan, 0, atan_bands(0x3ff68d30, 0x40074a00)},
    {"atand", g_qatand, Kind::atan, 360, atan_bands(0x3ff6899c, 0x40074d00)},
    {"atanq", g_qatanq, Kind::atan, 4, atan_bands(0x3ff6899c, 0x40074d00)},
};

class OneArgument : public Real16Test, public ::testing::WithParamInterface<Row> {};

// Every band against MPFR; the odd functions' f(-x) = -f(x) bit for bit.
TEST_P(OneArgument, AgainstMpfr) {
  const Row &r = GetParam();
  std::printf("%s:", r.name);
  for (const Band &b : r.bands) {
    double worst = 0;
    for (std::uint64_t i = 0; i < scaled(1500); ++i) {
      const Real16 x = draw(s, b), got = call(r.fn, x);
      Big e(kBits);
      exact(e, r.kind, r.turn, x);
      const double u = ulps(got, e);
      worst = std::max(worst, u);
      if (!(u <= kUlps)) fail(show(x) + " gives " + show(got) + ": " + std::to_string(u) + " ulp");
      if (r.kind != Kind::acos && !oracle::same_bits(call(r.fn, neg(x)), neg(got)))
        fail("not odd at " + show(x));
    }
    std::printf(" [%08x, %08x] %.3f", b.lo, b.hi, worst);
  }
  std::printf(" ulp\n");
}

INSTANTIATE_TEST_SUITE_P(Real16, OneArgument, ::testing::ValuesIn(kRows),
                         [](const auto &i) { return std::string(i.param.name); });

struct Row2 {
  const char *name;
  Fn16x2 fn;
  unsigned long turn;
};
const Row2 kRows2[] = {
    {"atan2", g_qatan2, 0}, {"atan2d", g_qatan2d, 360}, {"atan2q", g_qatan2q, 4}};

class TwoArguments : public Real16Test, public ::testing::WithParamInterface<Row2> {};

// Exponent gaps from -130 to 130 (quotient, fixed point and axis paths),
// equal magnitudes, all four quadrants; atan2(-y, x) = -atan2(y, x) bit for bit.
TEST_P(TwoArguments, AgainstMpfr) {
  const Row2 &r = GetParam();
  double worst = 0;
  for (std::uint64_t i = 0; i < scaled(4000); ++i) {
    const Real16 x = draw(s, {0x3f000000, 0x41000000});
    Real16 y = s.below(8) == 0 ? x : draw(s, {0, 0});
    y.w[3] = (y.w[3] & kSign16) | ((x.w[3] & 0x7fffffff) + (s.below32(261) << 16) - (130u << 16));
    const Real16 got = call(r.fn, y, x);
    Big e(kBits);
    exact(e, Kind::atan2, r.turn, y, x);
    const double u = ulps(got, e);
    worst = std::max(worst, u);
    if (!(u <= kUlps))
      fail(show(y) + ", " + show(x) + " gives " + show(got) + ": " + std::to_string(u));
    if (!oracle::same_bits(call(r.fn, neg(y), x), neg(got))) fail("not odd in y at " + show(y));
  }
  std::printf("%s: %.3f ulp\n", r.name, worst);
}

INSTANTIATE_TEST_SUITE_P(Real16, TwoArguments, ::testing::ValuesIn(kRows2),
                         [](const auto &i) { return std::string(i.param.name); });

constexpr Real16 kHalfPi = real16(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
constexpr Real16 kPi = real16(0x4000921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
constexpr Real16 kRadTimes2m70 = real16(0x3fbeca5d, 0xc1a63c1f, 0x7b86152e, 0xa6fe81a5);
constexpr Real16 k90 = real16(0x40056800), k180 = real16(0x40066800), k2 = real16(0x40000000);
constexpr Real16 kHalf = real16(0x3ffe0000), k2m70 = real16(0x3fb90000);
constexpr Real16 kAboveOne = real16(0x3fff0000, 0, 0, 1);

// f(y) or f(y, x) with its expected bits.
struct Point {
  Fn16 fn;
  Fn16x2 fn2;
  Real16 y, x, want;
};
const Point kPoints[] = {
    // asin of 1 is hpi exactly, of -1 -hpi; of 2^-70 its argument; asind
    // of 2^-70 rad 2^-70.
    {g_qasin, nullptr, kOne, {}, kHalfPi},
    {g_qasin,
     nullptr,
     real16(0xbfff0000),
     {},
     real16(0xbfff921f, 0xb54442d1, 0x8469898c, 0xc51701b8)},
    {g_qasin, nullptr, k2m70, {}, k2m70},
    {g_qasind, nullptr, k2m70, {}, kRadTimes2m70},
    // acos of -1 is pi, of 1 +0.
    {g_qacos, nullptr, real16(0xbfff0000), {}, kPi},
    {g_qacos, nullptr, kOne, {}, kZero},
    // At a exactly 1 the arc sines return +-90 and +-1, the arc cosines 0
    // or 180 and 0 or 2.
    {g_qasind, nullptr, kOne, {}, k90},
    {g_qasinq, nullptr, real16(0xbfff0000), {}, real16(0xbfff0000)},
    {g_qacosd, nullptr, real16(0xbfff0000), {}, k180},
    {g_qacosd, nullptr, kOne, {}, kZero},
    {g_qacosq, nullptr, real16(0xbfff0000), {}, k2},
    // An infinite argument is a huge divisor of one: the right angle.
    {g_qatan, nullptr, kInf, {}, kHalfPi},
    {g_qatand, nullptr, kMinusInf, {}, real16(0xc0056800)},
    {g_qatanq, nullptr, kOne, {}, kHalf},
    {g_qatand, nullptr, kOne, {}, real16(0x40046800)},  // 45
    // atan2 of (0, -1) is pi, of (-1, 0) -hpi, of (2^200, 1) hpi without a
    // division; atan2d of (1, -1) is 135, atan2q of (-1, -1) -1.5.
    {nullptr, g_qatan2, kZero, real16(0xbfff0000), kPi},
    {nullptr, g_qatan2, real16(0xbfff0000), kZero, neg(kHalfPi)},
    {nullptr, g_qatan2, real16(0x40c70000), kOne, kHalfPi},
    {nullptr, g_qatan2d, kOne, real16(0xbfff0000), real16(0x40060e00)},
    {nullptr, g_qatan2q, real16(0xbfff0000), real16(0xbfff0000), real16(0xbfff8000)},
    {nullptr, g_qatan2d, kMinusZero, real16(0xbfff0000), k180},
    {nullptr, g_qatan2q, kOne, kMinusZero, kOne},
    {nullptr, g_qatan2, kOne, kOne, real16(0x3ffe921f, 0xb54442d1, 0x8469898c, 0xc51701b8)},
    {nullptr, g_qatan2d, k2, k2, real16(0x40046800)},
};

TEST(Real16InverseTrig, ExactPoints) {
  for (const Point &p : kPoints) {
    const Real16 got = p.fn ? call(p.fn, p.y) : call(p.fn2, p.y, p.x);
    EXPECT_TRUE(oracle::same_bits(got, p.want))
        << show(p.y) << " " << show(p.x) << " gives " << show(got);
  }
}

// x reported as error `error` (one-argument entries: x as a value of type
// 11; two-argument ones: the slots of y and x); the handler declines:
// `finite` with the infinity flag clear, _NaN_Q with it set.
struct Fault {
  Fn16 fn;
  Fn16x2 fn2;
  Real16 y, x;
  std::int32_t error;
  Real16 finite;
};
const Fault kFaults[] = {
    // |x| > 1, infinities and NaNs included: asin hpi with the sign of x,
    // acos pi for negative x and 0 otherwise; +-90, 180 or 0; +-1, 2 or 0.
    {g_qasin, nullptr, kAboveOne, {}, 219, kHalfPi},
    {g_qasin, nullptr, neg(kNaN), {}, 219, neg(kHalfPi)},
    {g_qacos, nullptr, real16(0xbfff8000), {}, 219, kPi},
    {g_qacos, nullptr, kInf, {}, 219, kZero},
    {g_qasind, nullptr, real16(0xc0000000), {}, 1405, real16(0xc0056800)},
    {g_qacosd, nullptr, real16(0xc0000000), {}, 1405, k180},
    {g_qasinq, nullptr, kNaN, {}, 1400, kOne},
    {g_qacosq, nullptr, kAboveOne, {}, 1400, kZero},
    // Both arguments zero (-0 counts as +0): default +0.
    {nullptr, g_qatan2, kZero, kMinusZero, 222, kZero},
    {nullptr, g_qatan2d, kMinusZero, kZero, 1406, kZero},
    {nullptr, g_qatan2q, kZero, kZero, 1401, kZero},
};

TEST(Real16InverseTrig, ErrorsDefaultsAndResume) {
  for (const Fault &f : kFaults) {
    auto run = [&f] { return f.fn ? call(f.fn, f.y) : call(f.fn2, f.y, f.x); };
    for (std::uint8_t flag : {0, 1}) {
      Recorder rec(flag);
      const Real16 got = run();
      EXPECT_TRUE(oracle::same_bits(got, flag ? kNaN : f.finite)) << f.error << " " << show(got);
      ASSERT_EQ(rec.reports.size(), 1u);
      const Report &r = rec.reports[0];
      EXPECT_EQ(r.number, f.error);
      if (f.fn) {
        EXPECT_EQ(r.value_count, 1);
        EXPECT_EQ(r.value_type[0], 11);
        EXPECT_TRUE(oracle::same_bits(r.value_as<Real16>(0), f.y));
      } else {
        EXPECT_TRUE(oracle::same_bits(r.slot_as<Real16>(1), f.y) &&
                    oracle::same_bits(r.slot_as<Real16>(2), f.x));
      }
    }
    // A handler that replaces the argument(s) by 1/2 (and 1) and answers 1
    // gets the function of the replacement.
    Recorder rec(1);
    rec.answer = [&f](const Report &r, int) {
      replace(r, 1, kHalf);
      if (!f.fn) replace(r, 2, kOne);
      return 1;
    };
    const Real16 got = run();
    EXPECT_EQ(rec.reports.size(), 1u);
    EXPECT_TRUE(oracle::same_bits(got, f.fn ? call(f.fn, kHalf) : call(f.fn2, kHalf, kOne)))
        << f.error;
  }
}

// ulx_gqmd is the correctly rounded product of a and the Real8 b.
TEST(Real16InverseTrig, MixedProduct) {
  Real16Sampler s(20261206);
  for (std::uint64_t i = 0; i < scaled(2000); ++i) {
    const Real16 a = s.with_exponent(16383 + s.below32(200) - 100);
    const double b =
        std::ldexp(static_cast<double>(s.bits() >> 11), -50 + static_cast<int>(s.below(40)));
    Real16 wide, got;
    g_qextd(&wide, &b);
    ulx_gqmd(&got, a, b);
    ASSERT_TRUE(oracle::same_bits(got, oracle::reference(oracle::Op::mul, a, wide).bits))
        << show(a) << " " << b;
  }
}

}  // namespace
