// The Real16 arc sines, arc cosines and arc tangents in radians, degrees
// and quadrant units against MPFR at 256 bits, over every range the
// entries tell apart by the high word of |x| (atan2: y at an exponent gap
// of -130 to 130 from x).
//
// Bound: 2 ulp of the Real16 result everywhere (the polynomial ends and
// the Fixed128 middle, whose kernel error stays below 128 units of 2^-128
// at its scale).
#include <gtest/gtest.h>

#include <utility>

#include "oracle/angle_units.h"
#include "support/real16_functions.h"

namespace {

using namespace support;
using oracle::in_unit;
using oracle::kDegrees;
using oracle::kQuadrants;

// Arc sine: tiny, polynomial up to the bound, fixed point, 0x3ffeffff.
std::vector<Range16> asin_bands(std::uint32_t poly) {
  return {w(0x3f800000, 0x3fbeffff), w(0x3fbf0000, poly), w(poly + 1, 0x3ffefffe),
          w(0x3ffeffff, 0x3ffeffff)};
}
// Arc cosine: fixed point below 0x3ffeff7c, the series from there.
const std::vector<Range16> kAcos = {w(0x3f800000, 0x3ffeff7b), w(0x3ffeff7c, 0x3ffeffff)};
// Arc tangent: tiny, polynomial, fixed point below and above 1, 1 / a, huge.
std::vector<Range16> atan_bands(std::uint32_t poly, std::uint32_t top) {
  return {w(0x3f800000, 0x3fbeffff), w(0x3fbf0000, poly),    w(poly + 1, 0x3ffeffff),
          w(0x3fff0000, top),        w(top + 1, 0x40400000), w(0x40400001, 0x7ffeffff)};
}
// atan2: x over exponent fields 0x3f00 to 0x4100 (quotient, fixed point and
// axis paths).
const std::vector<Range16> kAtan2 = {w(0x3f000000, 0x41000000)};

constexpr Real16 kHalfPi = real16(0x3fff921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
constexpr Real16 kPi = real16(0x4000921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
constexpr Real16 kQuarterPi = real16(0x3ffe921f, 0xb54442d1, 0x8469898c, 0xc51701b8);
constexpr Real16 kRadTimes2m70 = real16(0x3fbeca5d, 0xc1a63c1f, 0x7b86152e, 0xa6fe81a5);
constexpr Real16 k2m70 = real16(0x3fb90000), kHalf = real16(0x3ffe0000), k2 = real16(0x40000000);
constexpr Real16 k45 = real16(0x40046800), k90 = real16(0x40056800), k180 = real16(0x40066800);
constexpr Real16 kMinusOne = real16(0xbfff0000), kAboveOne = real16(0x3fff0000, 0, 0, 1);

// |x| > 1, infinities and NaNs included: the default with flag 0, _NaN_Q
// with it set; both atan2 arguments zero (-0 counts as +0): default +0.
Fault16 domain(Real16 x, std::int32_t error, Real16 finite, Real16 x2 = kOne) {
  return {x, error, finite, kNaN, x2};
}

// clang-format off
const Row16 kRows[] = {
    // asin hpi with the sign of x (219); of 1 is hpi exactly, of -1 -hpi;
    // of 2^-70 its argument.
    {"g_qasin", g_qasin, mpfr_asin, kOdd, asin_bands(0x3ff60000), {},
     {{kOne, kHalfPi}, {kMinusOne, negated(kHalfPi)}, {k2m70, k2m70}},
     {domain(kAboveOne, 219, kHalfPi), domain(negated(kNaN), 219, negated(kHalfPi))}, 1500},
    // +-90 (1405); at a exactly 1 the arc sines return +-90 and +-1;
    // asind of 2^-70 is rad 2^-70.
    {"g_qasind", g_qasind, in_unit<mpfr_asinu, kDegrees>, kOdd, asin_bands(0x3ff6899c), {},
     {{kOne, k90}, {k2m70, kRadTimes2m70}}, {domain(real16(0xc0000000), 1405, negated(k90))}, 1500},
    {"g_qasinq", g_qasinq, in_unit<mpfr_asinu, kQuadrants>, kOdd, asin_bands(0x3ff6899c), {},
     {{kMinusOne, kMinusOne}}, {domain(kNaN, 1400, kOne)}, 1500},
    // acos pi for negative x and 0 otherwise (219); of -1 pi, of 1 +0; the
    // degree and quadrant forms 0 or 180 and 0 or 2.
    {"g_qacos", g_qacos, mpfr_acos, kNone, kAcos, {}, {{kMinusOne, kPi}, {kOne, kZero}},
     {domain(real16(0xbfff8000), 219, kPi), domain(kInf, 219, kZero)}, 1500},
    {"g_qacosd", g_qacosd, in_unit<mpfr_acosu, kDegrees>, kNone, kAcos, {},
     {{kMinusOne, k180}, {kOne, kZero}}, {domain(real16(0xc0000000), 1405, k180)}, 1500},
    {"g_qacosq", g_qacosq, in_unit<mpfr_acosu, kQuadrants>, kNone, kAcos, {}, {{kMinusOne, k2}},
     {domain(kAboveOne, 1400, kZero)}, 1500},
    // An infinite argument is a huge divisor of one: the right angle; the
    // ratio 1 gives half a right angle.
    {"g_qatan", g_qatan, mpfr_atan, kOdd, atan_bands(0x3ff68d30, 0x40074a00), {}, {{kInf, kHalfPi}}, {}, 1500},
    {"g_qatand", g_qatand, in_unit<mpfr_atanu, kDegrees>, kOdd, atan_bands(0x3ff6899c, 0x40074d00), {},
     {{kMinusInf, negated(k90)}, {kOne, k45}}, {}, 1500},
    {"g_qatanq", g_qatanq, in_unit<mpfr_atanu, kQuadrants>, kOdd, atan_bands(0x3ff6899c, 0x40074d00), {},
     {{kOne, kHalf}}, {}, 1500},
    // atan2 of (0, -1) is pi, of (-1, 0) -hpi, of (2^200, 1) hpi without a
    // division; y zero beside an x of exponent field 5 (no quotient): 0, or
    // pi for a negative x. 222.
    {"g_qatan2", g_qatan2, mpfr_atan2, kOdd, kAtan2, {},
     {{kZero, kPi, kMinusOne}, {kMinusOne, negated(kHalfPi), kZero}, {real16(0x40c70000), kHalfPi, kOne},
      {kOne, kQuarterPi, kOne}, {kZero, kZero, real16(0x00050000)}, {kZero, kPi, real16(0x80050000)}},
     {domain(kZero, 222, kZero, kMinusZero)}, 4000},
    // atan2d of (1, -1) is 135, of (-0, -1) 180; 1406.
    {"g_qatan2d", g_qatan2d, in_unit<mpfr_atan2u, kDegrees>, kOdd, kAtan2, {},
     {{kOne, real16(0x40060e00), kMinusOne}, {kMinusZero, k180, kMinusOne}, {k2, k45, k2}},
     {domain(kMinusZero, 1406, kZero, kZero)}, 4000},
    // atan2q of (-1, -1) is -1.5, of (1, -0) 1; 1401.
    {"g_qatan2q", g_qatan2q, in_unit<mpfr_atan2u, kQuadrants>, kOdd, kAtan2, {},
     {{kMinusOne, real16(0xbfff8000), kMinusOne}, {kOne, kOne, kMinusZero}},
     {domain(kZero, 1401, kZero, kZero)}, 4000},
};
// clang-format on

VEXMORG_TABLE16(Real16InverseTrig, Entries, kRows);

// From 330.00390625 up, t = one / a by the Real16 division, and an infinite
// or NaN argument is passed to that division as the divisor of one like any
// huge value. A quotient with exponent field 0 or below is the division's
// underflow, 279, with both operands as values; declined, its +0 leaves the
// right angle.
TEST(Real16InverseTrig, HugeArgumentsReportTheQuotientUnderflow) {
  const std::pair<Entry16, Real16> kAtans[] = {
      {g_qatan, kHalfPi}, {g_qatand, k90}, {g_qatanq, kOne}};
  for (const auto &[fn, right] : kAtans) {
    for (const Real16 &x : {real16(0x7ffd8000), kInf, kMinusInf}) {
      Recorder rec(0);
      const Real16 got = Fn16(fn)(x);
      ASSERT_EQ(rec.reports.size(), 1u) << show(x);
      const Report &r = rec.reports[0];
      EXPECT_TRUE(r.number == 279 && r.value_count == 2 && r.value_type[0] == 11 &&
                  r.value_type[1] == 11 && oracle::same_bits(r.value_as<Real16>(0), kOne) &&
                  oracle::same_bits(r.value_as<Real16>(1), real16(x.w[3] & 0x7fffffff)))
          << r.number << " at " << show(x);
      EXPECT_TRUE(oracle::same_bits(got, x.w[3] >> 31 ? negated(right) : right)) << show(got);
    }
  }
}

}  // namespace
