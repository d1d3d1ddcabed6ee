// Arc sines, arc cosines, arc tangents and two-argument arc tangents in
// radians, degrees and quadrant units, Real4 and Real8: one property table
// (support/family_table.h) against MPFR.
//
// Bounds in ulps. Every function evaluates its approximation in the 64-bit
// register (or on SSE with the same result) and rounds once: 0.5 ulp plus
// the approximation's relative error, doubled where the result is a right
// angle minus it (next to |x| = 1/2):
//   arc sines, arc cosines: Real4 0.7 (radians), 0.55 (degrees), 0.8
//     (quadrant units: 1 + a0 is 2/pi only to Real4 precision); Real8 0.8,
//     1.1 (the degree rationals are biased by up to 0.6 ulp; 1.6 for the
//     arc sine above 1/2, 90 minus the doubled kernel) and 1.0.
//   arc tangents: FPATAN rounded once, 0.51 (its error is a few 2^-64 on the
//     hardware and on the i386 emulator alike). In degrees and quadrant
//     units the table entry plus a short series, 0.55; below 1/8 the Real8
//     series, whose leading coefficient 180/pi or 2/pi is 0.31 or 0.56 units
//     of 2^-53 off, 0.85 and 1.1; from 2^24 (Real4) or 2^53 (Real8) the
//     quarter turn itself, 0.64 in quadrant units.
//   two arguments: y/x rounded to the type, a relative error of up to one
//     unit of its significand m_q, carried with a factor of at most 1 into
//     the one-argument form, which adds its own and rounds: at most 1.75
//     where the result's significand is small against m_q; radians 0.51.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "oracle/angle_units.h"
#include "support/family_table.h"
#include "support/ieee_constants.h"

namespace {

using namespace support;  // the special values kInfF, kNaNF, ...
using family::Entry;
using family::Entry2;
using family::Error;
using family::Range;
using oracle::in_unit;
using oracle::kDegrees;
using oracle::kQuadrants;
constexpr auto kLog = family::Spread::kLog;
constexpr auto kOdd = family::Symmetry::kOdd;
constexpr auto kNone = family::Symmetry::kNone;

constexpr auto asind = in_unit<mpfr_asinu, kDegrees>, acosd = in_unit<mpfr_acosu, kDegrees>;
constexpr auto asinq = in_unit<mpfr_asinu, kQuadrants>, acosq = in_unit<mpfr_acosu, kQuadrants>;
constexpr auto atand = in_unit<mpfr_atanu, kDegrees>, atanq = in_unit<mpfr_atanu, kQuadrants>;
constexpr auto atan2d = in_unit<mpfr_atan2u, kDegrees>, atan2q = in_unit<mpfr_atan2u, kQuadrants>;

const float kHalfPiF = std::bit_cast<float>(0x3fc90fdbu), kPiF = std::bit_cast<float>(0x40490fdbu);
constexpr double kHalfPiD = 1.5707963267948966, kPiD = 3.141592653589793;

// The methods change at 1/2 and sqrt(1/2); next to 1, 1 - |x| from 2^-p.
template <class T>
std::vector<Range> arc_ranges(double low, double high) {
  const double tiny = sizeof(T) == 4 ? 1e-38 : 1e-300;
  const double rh = static_cast<T>(M_SQRT1_2), below_one = sizeof(T) == 4 ? 0x1p-24 : 0x1p-53;
  return {{tiny, 1e-3, low, kLog},
          {0, 0.5, low},
          {0.5, rh, high},
          {rh, 1, high},
          {below_one, 0x1p-6, low, family::Spread::kBelow, {1}}};
}

template <class T>
std::vector<T> arc_edges() {
  std::vector<T> e = family::around<T>({T(0.5), static_cast<T>(M_SQRT1_2)});
  e.push_back(std::nextafter(T(1), T(0)));
  return e;
}

// |x| above 1 or a NaN: the error, with default the quarter turn q signed
// by x > 0 (a NaN is not) for the arc sine, 0 for x > 1 and the half turn h
// otherwise for the arc cosine; a NaN with the infinity flag.
template <class T>
std::vector<Error<T>> arcsin_errors(std::int32_t e, T q) {
  const T above = std::nextafter(T(1), T(2)), inf = INFINITY, nan = NAN;
  return {{above, e, q, nan}, {-2, e, -q, nan}, {inf, e, q, nan}, {nan, e, -q, nan}};
}
template <class T>
std::vector<Error<T>> arccos_errors(std::int32_t e, T h) {
  const T above = std::nextafter(T(1), T(2)), inf = INFINITY, nan = NAN;
  return {{above, e, 0, nan}, {inf, e, 0, nan}, {-above, e, h, nan}, {nan, e, h, nan}};
}

// One-argument arc tangents: the series below 1/8, the breakpoints (Real4
// to 16, Real8 to 32), the reciprocal, the quarter turn. `turn` bounds the
// last.
template <class T>
std::vector<Range> atan_ranges(double series, double table, double turn) {
  if (sizeof(T) == 4) {
    return {{1e-38, 0.125, series, kLog},
            {0.125, 8, table, kLog},
            {8, 16, table},
            {16, 0x1p24, table, kLog},
            {0x1p24, 3e38, turn, kLog}};
  }
  return {{1e-300, 0.125, series, kLog},
          {0.125, 32, table, kLog},
          {32, 0x1p53, table, kLog},
          {0x1p53, 1e300, turn, kLog}};
}

// The breakpoints c (Real4: |x| rounded to two fraction bits from 1/8 to
// 8, and 15; Real8: three fraction bits from 1/8 to 1/4, four to 32) and
// the limits of the methods, with their neighbours.
template <class T>
std::vector<T> atan_edges() {
  std::vector<T> c = {T(15), T(16), T(sizeof(T) == 4 ? 0x1p24 : 0x1p53), T(32)};
  const int bits = sizeof(T) == 4 ? 4 : 16;
  for (double b = 0.125; b <= (sizeof(T) == 4 ? 8 : 32); b *= 2) {
    const int n = sizeof(T) == 8 && b == 0.125 ? 8 : bits;
    for (int j = 0; j < n; ++j) c.push_back(static_cast<T>(b * (1 + j / double(n))));
  }
  return family::around<T>(c);
}

std::vector<Entry<float>> entries4() {
  const float atand15 = oracle::rounded(atand, 15.0f), atanq15 = oracle::rounded(atanq, 15.0f);
  return {
      family::entry("g_asin", g_asin, mpfr_asin, kOdd, arc_ranges<float>(0.7, 0.7),
                    arc_edges<float>(), {{0, 0}, {1, kHalfPiF}},
                    arcsin_errors<float>(217, kHalfPiF)),
      family::entry("g_acos", g_acos, mpfr_acos, kNone, arc_ranges<float>(0.7, 0.7),
                    arc_edges<float>(), {{0, kHalfPiF}, {-0.0f, kHalfPiF}, {1, 0}, {-1, kPiF}},
                    arccos_errors<float>(217, kPiF)),
      family::entry("g_asind", g_asind, asind, kOdd, arc_ranges<float>(0.55, 0.55),
                    arc_edges<float>(), {{0, 0}, {1, 90}}, arcsin_errors<float>(1367, 90)),
      family::entry("g_acosd", g_acosd, acosd, kNone, arc_ranges<float>(0.55, 0.55),
                    arc_edges<float>(), {{0, 90}, {-0.0f, 90}, {1, 0}, {-1, 180}},
                    arccos_errors<float>(1367, 180)),
      family::entry("g_asinq", g_asinq, asinq, kOdd, arc_ranges<float>(0.8, 0.8),
                    arc_edges<float>(), {{0, 0}, {1, 1}}, arcsin_errors<float>(1357, 1)),
      family::entry("g_acosq", g_acosq, acosq, kNone, arc_ranges<float>(0.8, 0.8),
                    arc_edges<float>(), {{0, 1}, {-0.0f, 1}, {1, 0}, {-1, 2}},
                    arccos_errors<float>(1357, 2)),
      // A NaN is no error: the radian arc tangent gives a NaN, the others the
      // quarter turn signed by the NaN's sign bit. At 15 (its own breakpoint,
      // u = 0) the arc tangent of 15 rounded once.
      family::entry("g_atan", g_atan, mpfr_atan, kOdd, atan_ranges<float>(0.51, 0.51, 0.51), {},
                    {{0, 0}, {kInfF, kHalfPiF}, {kNaNF, kNaNF}}, {}),
      family::entry(
          "g_atand", g_atand, atand, kOdd, atan_ranges<float>(0.55, 0.55, 0.55),
          atan_edges<float>(),
          {{0, 0}, {1, 45}, {15, atand15}, {0x1p24f, 90}, {1e38f, 90}, {kInfF, 90}, {kNaNF, 90}},
          {}),
      family::entry("g_atanq", g_atanq, atanq, kOdd, atan_ranges<float>(0.55, 0.55, 0.64),
                    atan_edges<float>(),
                    {{0, 0}, {1, 0.5f}, {15, atanq15}, {0x1p24f, 1}, {kInfF, 1}, {kNaNF, 1}}, {}),
  };
}

std::vector<Entry<double>> entries8() {
  return {
      family::entry("g_dasin", g_dasin, mpfr_asin, kOdd, arc_ranges<double>(0.8, 0.8),
                    arc_edges<double>(), {{0, 0}, {1, kHalfPiD}},
                    arcsin_errors<double>(218, kHalfPiD)),
      family::entry("g_dacos", g_dacos, mpfr_acos, kNone, arc_ranges<double>(0.8, 0.8),
                    arc_edges<double>(), {{0, kHalfPiD}, {-0.0, kHalfPiD}, {1, 0}, {-1, kPiD}},
                    arccos_errors<double>(218, kPiD)),
      family::entry("g_dasind", g_dasind, asind, kOdd, arc_ranges<double>(1.1, 1.6),
                    arc_edges<double>(), {{0, 0}, {1, 90}}, arcsin_errors<double>(1368, 90)),
      family::entry("g_dacosd", g_dacosd, acosd, kNone, arc_ranges<double>(1.1, 1.1),
                    arc_edges<double>(), {{0, 90}, {-0.0, 90}, {1, 0}, {-1, 180}},
                    arccos_errors<double>(1368, 180)),
      family::entry("g_dasinq", g_dasinq, asinq, kOdd, arc_ranges<double>(1.0, 1.0),
                    arc_edges<double>(), {{0, 0}, {1, 1}}, arcsin_errors<double>(1358, 1)),
      family::entry("g_dacosq", g_dacosq, acosq, kNone, arc_ranges<double>(1.0, 1.0),
                    arc_edges<double>(), {{0, 1}, {-0.0, 1}, {1, 0}, {-1, 2}},
                    arccos_errors<double>(1358, 2)),
      family::entry("g_datan", g_datan, mpfr_atan, kOdd, atan_ranges<double>(0.51, 0.51, 0.51), {},
                    {{0, 0}, {kInfD, kHalfPiD}, {kNaND, kNaND}}, {}),
      family::entry("g_datand", g_datand, atand, kOdd, atan_ranges<double>(0.85, 0.55, 0.55),
                    atan_edges<double>(),
                    {{0, 0}, {1, 45}, {0x1p53, 90}, {1e300, 90}, {kInfD, 90}, {kNaND, 90}}, {}),
      family::entry("g_datanq", g_datanq, atanq, kOdd, atan_ranges<double>(1.1, 0.55, 0.64),
                    atan_edges<double>(), {{0, 0}, {1, 0.5}, {0x1p53, 1}, {kInfD, 1}, {kNaND, 1}},
                    {}),
  };
}

// Where |y| lies 24 (Real4) or 56 (Real8) binades above |x|, by bit pattern
// or high word, the quotient ends and the quarter turn begins: both sides
// within 0.64.
template <class T>
std::vector<family::Edge2<T>> quarter_turn_edges() {
  using U = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
  const int shift = sizeof(T) == 4 ? 0 : 32;
  const U gap = sizeof(T) == 4 ? 0x0c000000 : 0x03800000;
  const U one = std::bit_cast<U>(T(1)), three_halves = std::bit_cast<U>(T(1.5));
  std::vector<family::Edge2<T>> e;
  for (U g : {gap - 1, gap, gap + 1}) {
    for (U xb : {one, three_halves, U(U(1) << (8 * sizeof(T) - 3))}) {
      const T x = std::bit_cast<T>(xb), y = std::bit_cast<T>(U(xb + (g << shift)));
      e.push_back({y, x, 0.64});
      e.push_back({y, T(-x), 0.64});
    }
  }
  return e;
}

// y and x both zero, whatever their signs: the error with both argument
// slots and no values, default 0.0 (a NaN with the infinity flag).
template <class T>
std::vector<family::Error2<T>> two_zeros(std::int32_t error) {
  const T z = 0, m = -0.0, nan = NAN;
  return {
      {z, z, error, 0, nan}, {m, z, error, 0, nan}, {z, m, error, 0, nan}, {m, m, error, 0, nan}};
}

// Pairs (y, x) whose result is k quarter turns. In radians the sign of a
// zero never selects a result, and only whole quarter turns are exact. In
// the units y = -0.0 counts as y >= 0 for the half turn but keeps its sign
// in y/x; a NaN x counts as nonzero (the quotient's arc tangent is the
// quarter turn by its sign bit), a NaN y with a finite x lies far above it
// (the quarter turn, negative: NaN > 0 fails); past 24 or 56 binades the
// quarter turn.
struct Turns {
  double y, x, k;
};
const std::vector<Turns> kWholeTurns = {{-0.0, -1, 2},    {0, -1, 2},        {1, -0.0, 1},
                                        {-1, -0.0, -1},   {-0.0, -1e-45, 2}, {1e30, 1, 1},
                                        {-1e30, -1, -1},  {3, -INFINITY, 2}, {-3, -INFINITY, -2},
                                        {INFINITY, 1, 1}, {1, INFINITY, 0}};
const std::vector<Turns> kRadianTurns = {{-0.0, 1, 0}, {NAN, NAN, NAN}};
const std::vector<Turns> kUnitTurns = {{-0.0, 1, -0.0}, {1, -1, 1.5},  {-1, -1, -1.5},
                                       {1, 1, 0.5},     {-2, 2, -0.5}, {1, NAN, 1},
                                       {NAN, 1, -1},    {NAN, -1, -1}};

template <class T>
std::vector<family::Exact2<T>> at_turns(T quarter, bool units) {
  std::vector<family::Exact2<T>> e;
  for (const auto &list : {kWholeTurns, units ? kUnitTurns : kRadianTurns})
    for (const Turns &t : list) e.push_back({T(t.y), T(t.x), T(t.k * quarter)});
  return e;
}

template <class T>
std::vector<family::PairRange> pair_ranges(double bound) {
  return {{family::Pairs::kCircle, sizeof(T) == 4 ? 120.0 : 1000, bound},
          {family::Pairs::kRatio, sizeof(T) == 4 ? 100.0 : 1000, bound}};
}

std::vector<Entry2<float>> pairs4() {
  return {family::entry("g_atan2", g_atan2, mpfr_atan2, pair_ranges<float>(0.51), {},
                        at_turns(kHalfPiF, false), two_zeros<float>(220)),
          family::entry("g_atan2d", g_atan2d, atan2d, pair_ranges<float>(1.75),
                        quarter_turn_edges<float>(), at_turns(90.0f, true), two_zeros<float>(1369)),
          family::entry("g_atan2q", g_atan2q, atan2q, pair_ranges<float>(1.75),
                        quarter_turn_edges<float>(), at_turns(1.0f, true), two_zeros<float>(1359))};
}

std::vector<Entry2<double>> pairs8() {
  return {
      family::entry("g_datan2", g_datan2, mpfr_atan2, pair_ranges<double>(0.51), {},
                    at_turns(kHalfPiD, false), two_zeros<double>(221)),
      family::entry("g_dtan2d", g_dtan2d, atan2d, pair_ranges<double>(1.75),
                    quarter_turn_edges<double>(), at_turns(90.0, true), two_zeros<double>(1370)),
      family::entry("g_dtan2q", g_dtan2q, atan2q, pair_ranges<double>(1.75),
                    quarter_turn_edges<double>(), at_turns(1.0, true), two_zeros<double>(1360))};
}

template <class E>
class InverseTrig : public ::testing::TestWithParam<E> {};
using InverseTrig4 = InverseTrig<Entry<float>>;
using InverseTrig8 = InverseTrig<Entry<double>>;
using InverseTrig2_4 = InverseTrig<Entry2<float>>;
using InverseTrig2_8 = InverseTrig<Entry2<double>>;
TEST_P(InverseTrig4, Properties) { family::check(GetParam(), scaled(5000)); }
TEST_P(InverseTrig8, Properties) { family::check(GetParam(), scaled(5000)); }
TEST_P(InverseTrig2_4, Properties) { family::check(GetParam(), scaled(10000)); }
TEST_P(InverseTrig2_8, Properties) { family::check(GetParam(), scaled(10000)); }
const auto kName = [](const auto &info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Real4, InverseTrig4, ::testing::ValuesIn(entries4()), kName);
INSTANTIATE_TEST_SUITE_P(Real8, InverseTrig8, ::testing::ValuesIn(entries8()), kName);
INSTANTIATE_TEST_SUITE_P(Real4, InverseTrig2_4, ::testing::ValuesIn(pairs4()), kName);
INSTANTIATE_TEST_SUITE_P(Real8, InverseTrig2_8, ::testing::ValuesIn(pairs8()), kName);

}  // namespace
