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
constexpr double kUlps = 2;
constexpr oracle::Precision kBits{256};

// An entry of one argument (y) or two (y, x).
struct Fn {
  Real16 *(*one)(Real16 *, const Real16 *) = nullptr;
  Real16 *(*two)(Real16 *, const Real16 *, const Real16 *) = nullptr;
  Fn(decltype(one) f) : one(f) {}
  Fn(decltype(two) f) : two(f) {}
  Real16 operator()(const Real16 &y, const Real16 &x = kOne) const {
    Real16 r;
    return (one ? one(&r, &y) : two(&r, &y, &x)) == &r ? r : kNaN;
  }
};
Real16 neg(Real16 x) { return x.w[3] ^= kSign16, x; }

// |got - f(y, x)| in ulps of the Real16 binade of the exact value: f in
// radians (mpfr_atan2 for two arguments), times turn / 2 pi for a unit of
// which `turn` make a full turn.
double ulps(const Real16 &got, oracle::Fn1 f, unsigned long turn, const Real16 &y,
            const Real16 &x) {
  Big e(kBits), a(kBits), b(kBits), g(kBits);
  oracle::set_real16(a, y), oracle::set_real16(b, x), oracle::set_real16(g, got);
  f ? f(e, a, MPFR_RNDN) : mpfr_atan2(e, a, b, MPFR_RNDN);
  if (turn != 0)
    mpfr_const_pi(a, MPFR_RNDN), mpfr_mul_ui(e, e, turn / 2, MPFR_RNDN),
        mpfr_div(e, e, a, MPFR_RNDN);
  if (mpfr_zero_p(e)) return (got.w[3] & 0x7fffffff) == 0 ? 0 : INFINITY;
  mpfr_sub(g, g, e, MPFR_RNDN);
  mpfr_mul_2si(g, g, 113 - mpfr_get_exp(e), MPFR_RNDN);
  return std::fabs(mpfr_get_d(g, MPFR_RNDN));
}

// High words of |x|, inclusive, sampled uniformly (the ends more often)
// with random low words and sign.
struct Band {
  std::uint32_t lo, hi;
};
Real16 draw(Real16Sampler &s, const Band &b) {
  const std::uint32_t h =
      s.below(4) == 0 ? (s.bits() & 1 ? b.lo : b.hi) : b.lo + s.below32(b.hi - b.lo + 1ull);
  const std::uint64_t low = s.bits();
  return real16((s.bits() & 1 ? kSign16 : 0) | h, static_cast<std::uint32_t>(s.bits()),
                static_cast<std::uint32_t>(low >> 32), static_cast<std::uint32_t>(low));
}

struct Row {
  const char *name;
  Fn fn;
  oracle::Fn1 exact;  // none: atan2
  unsigned long turn;
  std::vector<Band> bands;  // of |x| as the entry splits it; of x for atan2
};
// Arc sine: tiny, polynomial up to the bound, fixed point, 0x3ffeffff.
std::vector<Band> asin_bands(std::uint32_t poly) {
  return {{0x3f800000, 0x3fbeffff},
          {0x3fbf0000, poly},
          {poly + 1, 0x3ffefffe},
          {0x3ffeffff, 0x3ffeffff}};
}
// Arc cosine: fixed point below 0x3ffeff7c, the series from there.
const std::vector<Band> kAcos = {{0x3f800000, 0x3ffeff7b}, {0x3ffeff7c, 0x3ffeffff}};
// Arc tangent: tiny, polynomial, fixed point below and above 1, 1 / a, huge.
std::vector<Band> atan_bands(std::uint32_t poly, std::uint32_t top) {
  return {{0x3f800000, 0x3fbeffff}, {0x3fbf0000, poly},    {poly + 1, 0x3ffeffff},
          {0x3fff0000, top},        {top + 1, 0x40400000}, {0x40400001, 0x7ffeffff}};
}
// atan2: y at exponent gaps from -130 to 130 (quotient, fixed point and axis paths).
const std::vector<Band> kAtan2 = {{0x3f000000, 0x41000000}};
const Row kRows[] = {
    {"asin", g_qasin, mpfr_asin, 0, asin_bands(0x3ff60000)},
    {"asind", g_qasind, mpfr_asin, 360, asin_bands(0x3ff6899c)},
    {"asinq", g_qasinq, mpfr_asin, 4, asin_bands(0x3ff6899c)},
    {"acos", g_qacos, mpfr_acos, 0, kAcos},
    {"acosd", g_qacosd, mpfr_acos, 360, kAcos},
    {"acosq", g_qacosq, mpfr_acos, 4, kAcos},
    {"atan", g_qatan, mpfr_atan, 0, atan_bands(0x3ff68d30, 0x40074a00)},
    {"atand", g_qatand, mpfr_atan, 360, atan_bands(0x3ff6899c, 0x40074d00)},
    {"atanq", g_qatanq, mpfr_atan, 4, atan_bands(0x3ff6899c, 0x40074d00)},
    {"atan2", g_qatan2, nullptr, 0, kAtan2},
    {"atan2d", g_qatan2d, nullptr, 360, kAtan2},
    {"atan2q", g_qatan2q, nullptr, 4, kAtan2},
};

class Sampled : public Real16Test, public ::testing::WithParamInterface<Row> {};

// Every band against MPFR; f(-y) (atan2: f(-y, x)) is -f(y) bit for bit but
// for the arc cosines.
TEST_P(Sampled, AgainstMpfr) {
  const Row &r = GetParam();
  std::printf("%s:", r.name);
  for (const Band &b : r.bands) {
    double worst = 0;
    for (std::uint64_t i = 0; i < scaled(r.fn.two ? 4000 : 1500); ++i) {
      Real16 y = draw(s, b), x = kOne;
      if (r.fn.two) {  // y at an exponent gap from x, or equal to it
        x = y, y = s.below(8) == 0 ? x : draw(s, {0, 0});
        y.w[3] =
            (y.w[3] & kSign16) | ((x.w[3] & 0x7fffffff) + (s.below32(261) << 16) - (130u << 16));
      }
      const Real16 got = r.fn(y, x);
      const double u = ulps(got, r.exact, r.turn, y, x);
      worst = std::max(worst, u);
      if (!(u <= kUlps))
        fail(show(y) + ", " + show(x) + " gives " + show(got) + ": " + std::to_string(u));
      if (r.exact != mpfr_acos && !oracle::same_bits(r.fn(neg(y), x), neg(got)))
        fail("not odd at " + show(y));
    }
    std::printf(" [%08x, %08x] %.3f", b.lo, b.hi, worst);
  }
  std::printf(" ulp\n");
}

INSTANTIATE_TEST_SUITE_P(Real16, Sampled, ::testing::ValuesIn(kRows),
                         [](const auto &i) { return std::string(i.param.name); });

constexpr Real16 kHalfPi = real16(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
constexpr Real16 kPi = real16(0x4000921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
constexpr Real16 kQuarterPi = real16(0x3ffe921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
constexpr Real16 kRadTimes2m70 = real16(0x3fbeca5d, 0xc1a63c1f, 0x7b86152e, 0xa6fe81a5);
constexpr Real16 k2m70 = real16(0x3fb90000), kHalf = real16(0x3ffe0000), k2 = real16(0x40000000);
constexpr Real16 k45 = real16(0x40046800), k90 = real16(0x40056800), k180 = real16(0x40066800);
constexpr Real16 kMinusOne = real16(0xbfff0000), kAboveOne = real16(0x3fff0000, 0, 0, 1);

// f(y) or f(y, x) with its expected bits.
struct Point {
  Fn fn;
  Real16 y, x, want;
};
const Point kPoints[] = {
    // asin of 1 is hpi exactly, of -1 -hpi; of 2^-70 its argument; asind
    // of 2^-70 rad 2^-70.
    {g_qasin, kOne, kOne, kHalfPi},
    {g_qasin, kMinusOne, kOne, neg(kHalfPi)},
    {g_qasin, k2m70, kOne, k2m70},
    {g_qasind, k2m70, kOne, kRadTimes2m70},
    // acos of -1 is pi, of 1 +0.
    {g_qacos, kMinusOne, kOne, kPi},
    {g_qacos, kOne, kOne, kZero},
    // At a exactly 1 the arc sines return +-90 and +-1, the arc cosines 0
    // or 180 and 0 or 2.
    {g_qasind, kOne, kOne, k90},
    {g_qasinq, kMinusOne, kOne, kMinusOne},
    {g_qacosd, kMinusOne, kOne, k180},
    {g_qacosd, kOne, kOne, kZero},
    {g_qacosq, kMinusOne, kOne, k2},
    // An infinite argument is a huge divisor of one: the right angle; the
    // ratio 1 gives half a right angle.
    {g_qatan, kInf, kOne, kHalfPi},
    {g_qatand, kMinusInf, kOne, neg(k90)},
    {g_qatanq, kOne, kOne, kHalf},
    {g_qatand, kOne, kOne, k45},
    // atan2 of (0, -1) is pi, of (-1, 0) -hpi, of (2^200, 1) hpi without a
    // division; atan2d of (1, -1) is 135, atan2q of (-1, -1) -1.5.
    {g_qatan2, kZero, kMinusOne, kPi},
    {g_qatan2, kMinusOne, kZero, neg(kHalfPi)},
    {g_qatan2, real16(0x40c70000), kOne, kHalfPi},
    {g_qatan2d, kOne, kMinusOne, real16(0x40060e00)},
    {g_qatan2q, kMinusOne, kMinusOne, real16(0xbfff8000)},
    {g_qatan2d, kMinusZero, kMinusOne, k180},
    {g_qatan2q, kOne, kMinusZero, kOne},
    {g_qatan2, kOne, kOne, kQuarterPi},
    // y zero beside an x of exponent field 5 (no quotient): 0, or pi for a
    // negative x.
    {g_qatan2, kZero, real16(0x00050000), kZero},
    {g_qatan2, kZero, real16(0x80050000), kPi},
    {g_qatan2d, k2, k2, k45},
};

TEST(Real16InverseTrig, ExactPoints) {
  for (const Point &p : kPoints) {
    const Real16 got = p.fn(p.y, p.x);
    EXPECT_TRUE(oracle::same_bits(got, p.want))
        << show(p.y) << " " << show(p.x) << " gives " << show(got);
  }
}

// y (and x) reported as error `error` (one-argument entries: y as a value
// of type 11; two-argument ones: the slots of y and x); the handler
// declines: `finite` with the infinity flag clear, _NaN_Q with it set.
struct Fault {
  Fn fn;
  Real16 y, x;
  std::int32_t error;
  Real16 finite;
};
const Fault kFaults[] = {
    // |x| > 1, infinities and NaNs included: asin hpi with the sign of x,
    // acos pi for negative x and 0 otherwise; +-90, 180 or 0; +-1, 2 or 0.
    {g_qasin, kAboveOne, kOne, 219, kHalfPi},
    {g_qasin, neg(kNaN), kOne, 219, neg(kHalfPi)},
    {g_qacos, real16(0xbfff8000), kOne, 219, kPi},
    {g_qacos, kInf, kOne, 219, kZero},
    {g_qasind, real16(0xc0000000), kOne, 1405, neg(k90)},
    {g_qacosd, real16(0xc0000000), kOne, 1405, k180},
    {g_qasinq, kNaN, kOne, 1400, kOne},
    {g_qacosq, kAboveOne, kOne, 1400, kZero},
    // Both arguments zero (-0 counts as +0): default +0.
    {g_qatan2, kZero, kMinusZero, 222, kZero},
    {g_qatan2d, kMinusZero, kZero, 1406, kZero},
    {g_qatan2q, kZero, kZero, 1401, kZero},
};

TEST(Real16InverseTrig, ErrorsDefaultsAndResume) {
  for (const Fault &f : kFaults) {
    for (std::uint8_t flag : {0, 1}) {
      Recorder rec(flag);
      bool slots = false;  // the slots hold y and x while the handler runs
      rec.answer = [&](const Report &r, int) {
        slots = oracle::same_bits(r.slot_as<Real16>(1), f.y) &&
                (f.fn.one || oracle::same_bits(r.slot_as<Real16>(2), f.x));
        return 0;
      };
      const Real16 got = f.fn(f.y, f.x);
      EXPECT_TRUE(oracle::same_bits(got, flag ? kNaN : f.finite)) << f.error << " " << show(got);
      ASSERT_EQ(rec.reports.size(), 1u);
      const Report &r = rec.reports[0];
      EXPECT_TRUE(r.number == f.error && slots) << f.error;
      // One argument: y as a value of type 11; two: no values.
      EXPECT_EQ(r.value_count, f.fn.one ? 1 : 0);
      if (f.fn.one) {
        EXPECT_TRUE(r.value_type[0] == 11 && oracle::same_bits(r.value_as<Real16>(0), f.y));
      }
    }
    // A handler that replaces the argument(s) by 1/2 (and 1) and answers 1
    // gets the function of the replacement.
    Recorder rec(1);
    rec.answer = [&f](const Report &r, int) {
      replace(r, 1, kHalf);
      if (f.fn.two) replace(r, 2, kOne);
      return 1;
    };
    EXPECT_TRUE(oracle::same_bits(f.fn(f.y, f.x), f.fn(kHalf, kOne)) && rec.reports.size() == 1)
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
