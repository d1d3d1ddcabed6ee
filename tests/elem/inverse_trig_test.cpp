// Arc sines, arc cosines, arc tangents and two-argument arc tangents in
// radians, degrees and quadrant units, Real4 and Real8: one property table
// (support/family_table.h) against MPFR.
//
// Bounds in ulps: one rounding from the register plus the approximation's
// relative error, doubled next to |x| = 1/2 (a right angle minus it):
//   arc sines, cosines: Real4 0.7, 0.55, 0.8 (1 + a0 is 2/pi to Real4
//     precision); Real8 0.8, 1.1 (the degree rationals' bias, 1.6 for the
//     arc sine above 1/2) and 1.0.
//   arc tangents: FPATAN rounded once, 0.51; the units' table and series
//     0.55; the Real8 series below 1/8 (180/pi, 2/pi 0.31 and 0.56 units
//     off) 0.85 and 1.1; the quarter turn itself 0.64 in quadrant units.
//   two arguments: y/x rounded (one unit of m_q) carried into the
//     one-argument form: 1.75; radians 0.51.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "oracle/angle_units.h"
#include "support/family_table.h"
#include "support/ieee_constants.h"

namespace {

using namespace support;  // the special values kInfF, kNaNF, ...
using oracle::in_unit;
using oracle::kDegrees;
using oracle::kQuadrants;

constexpr auto asind = in_unit<mpfr_asinu, kDegrees>, acosd = in_unit<mpfr_acosu, kDegrees>;
constexpr auto asinq = in_unit<mpfr_asinu, kQuadrants>, acosq = in_unit<mpfr_acosu, kQuadrants>;
constexpr auto atand = in_unit<mpfr_atanu, kDegrees>, atanq = in_unit<mpfr_atanu, kQuadrants>;
constexpr auto atan2d = in_unit<mpfr_atan2u, kDegrees>, atan2q = in_unit<mpfr_atan2u, kQuadrants>;

const float kHalfPiF = f32(0x3fc90fdb), kPiF = f32(0x40490fdb);
constexpr double kHalfPiD = 1.5707963267948966, kPiD = 3.141592653589793;

// The methods change at 1/2 and sqrt(1/2); next to 1, 1 - |x| from 2^-p.
// The arc cosines take both signs (`signed_x`), 3500 arguments a range.
template <class T>
std::vector<Interval> arc_ranges(double low, double high, bool signed_x = false) {
  const double rh = static_cast<T>(M_SQRT1_2), below_one = sizeof(T) == 4 ? 0x1p-24 : 0x1p-53;
  std::vector<Interval> r = {{sizeof(T) == 4 ? 1e-38 : 1e-300, 1e-3, low, kLog},
                             {signed_x ? -0.5 : 0, 0.5, low},
                             {0.5, rh, high},
                             {rh, 1, high},
                             {below_one, 0x1p-6, low, kBelow, {1}}};
  if (signed_x) r.insert(r.end(), {{-rh, -0.5, high}, {-1, -rh, high}});
  return r;
}

template <class T>
std::vector<T> arc_edges(bool signed_x = false) {
  std::vector<T> e = neighbours<T>({T(0.5), static_cast<T>(M_SQRT1_2)});
  e.push_back(down(T(1)));
  for (std::size_t i = 0, n = e.size(); signed_x && i < n; ++i) e.push_back(-e[i]);
  return e;
}

// |x| above 1 or a NaN: the error, with default the quarter turn q signed
// by x > 0 (a NaN is not) for the arc sine, 0 for x > 1 and the half turn h
// otherwise for the arc cosine; a NaN with the infinity flag.
template <class T>
std::vector<Fault<T>> arcsin_errors(std::int32_t e, T q) {
  const T above = up(T(1)), inf = INFINITY, nan = NAN;
  return {{above, e, q, nan}, {-2, e, -q, nan}, {inf, e, q, nan}, {nan, e, -q, nan}};
}
template <class T>
std::vector<Fault<T>> arccos_errors(std::int32_t e, T h) {
  const T above = up(T(1)), inf = INFINITY, nan = NAN;
  return {{above, e, 0, nan}, {inf, e, 0, nan}, {-above, e, h, nan}, {nan, e, h, nan}};
}

template <class T>
Row<T> arcsin(const char *name, Unary<T> fn, oracle::Fn1 exact, double low, double high,
              std::int32_t error, T q) {
  return row(name, fn, exact, arc_ranges<T>(low, high))
      .odd()
      .checked_at(arc_edges<T>())
      .exactly({{0, 0}, {1, q}})
      .reports(arcsin_errors<T>(error, q));
}
template <class T>
Row<T> arccos(const char *name, Unary<T> fn, oracle::Fn1 exact, double ulps, std::int32_t error,
              T q) {
  return row(name, fn, exact, arc_ranges<T>(ulps, ulps, true))
      .samples(3500)
      .checked_at(arc_edges<T>(true))
      .exactly({{0, q}, {-0.0f, q}, {1, 0}, {-1, 2 * q}})
      .reports(arccos_errors<T>(error, 2 * q));
}

// One-argument arc tangents: the series below 1/8, the breakpoints (Real4
// to 16, Real8 to 32), the reciprocal, the quarter turn. `turn` bounds the
// last.
template <class T>
std::vector<Interval> atan_ranges(double series, double table, double turn) {
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
  return neighbours<T>(c);
}

// A NaN is no error: the radian arc tangent gives a NaN, the others the
// quarter turn signed by the NaN's sign bit. At 15 (a Real4 breakpoint,
// u = 0) the arc tangent of 15 rounded once.
template <class T>
Row<T> atan_units(const char *name, Unary<T> fn, oracle::Fn1 exact, T q, double series,
                  double turn) {
  const T big = sizeof(T) == 4 ? T(0x1p24) : T(0x1p53), nan = NAN;
  Row<T> r = row(name, fn, exact, atan_ranges<T>(series, 0.55, turn))
                 .odd()
                 .checked_at(atan_edges<T>())
                 .exactly({{0, 0}, {1, q / 2}, {big, q}, {std::numeric_limits<T>::max(), q}})
                 .exactly({{INFINITY, q}, {nan, q}, {-nan, -q}});
  if (sizeof(T) == 4) r.exact_points.push_back({15, static_cast<T>(oracle::rounded(exact, T(15)))});
  return r;
}

const Row<float> kReal4[] = {
    arcsin<float>("g_asin", g_asin, mpfr_asin, 0.7, 0.7, 217, kHalfPiF),
    arccos<float>("g_acos", g_acos, mpfr_acos, 0.7, 217, kHalfPiF),
    arcsin<float>("g_asind", g_asind, asind, 0.55, 0.55, 1367, 90),
    arccos<float>("g_acosd", g_acosd, acosd, 0.55, 1367, 90),
    arcsin<float>("g_asinq", g_asinq, asinq, 0.8, 0.8, 1357, 1),
    arccos<float>("g_acosq", g_acosq, acosq, 0.8, 1357, 1),
    row("g_atan", g_atan, mpfr_atan, atan_ranges<float>(0.51, 0.51, 0.51))
        .odd()
        .exactly({{0, 0}, {kInfF, kHalfPiF}, {kNaNF, kNaNF}}),
    atan_units<float>("g_atand", g_atand, atand, 90, 0.55, 0.55),
    atan_units<float>("g_atanq", g_atanq, atanq, 1, 0.55, 0.64),
};

const Row<double> kReal8[] = {
    arcsin<double>("g_dasin", g_dasin, mpfr_asin, 0.8, 0.8, 218, kHalfPiD),
    arccos<double>("g_dacos", g_dacos, mpfr_acos, 0.8, 218, kHalfPiD),
    arcsin<double>("g_dasind", g_dasind, asind, 1.1, 1.6, 1368, 90),
    arccos<double>("g_dacosd", g_dacosd, acosd, 1.1, 1368, 90),
    arcsin<double>("g_dasinq", g_dasinq, asinq, 1.0, 1.0, 1358, 1),
    arccos<double>("g_dacosq", g_dacosq, acosq, 1.0, 1358, 1),
    row("g_datan", g_datan, mpfr_atan, atan_ranges<double>(0.51, 0.51, 0.51))
        .odd()
        .exactly({{0, 0}, {kInfD, kHalfPiD}, {kNaND, kNaND}}),
    atan_units<double>("g_datand", g_datand, atand, 90, 0.85, 0.55),
    atan_units<double>("g_datanq", g_datanq, atanq, 1, 1.1, 0.64),
};

VEXMORG_TABLE(InverseTrig, Real4, kReal4, 5000);
VEXMORG_TABLE(InverseTrig, Real8, kReal8, 5000);

// Where |y| lies 24 (Real4) or 56 (Real8) binades above |x|, by bit pattern
// or high word, the quotient ends and the quarter turn begins: both sides
// within 0.64.
template <class T>
std::vector<Pair<T>> quarter_turn_edges() {
  using U = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;
  const int shift = sizeof(T) == 4 ? 0 : 32;
  const U gap = sizeof(T) == 4 ? 0x0c000000 : 0x03800000;
  std::vector<Pair<T>> e;
  for (U g : {gap - 1, gap, gap + 1}) {
    for (U xb :
         {std::bit_cast<U>(T(1)), std::bit_cast<U>(T(1.5)), U(U(1) << (8 * sizeof(T) - 3))}) {
      const T x = std::bit_cast<T>(xb), y = std::bit_cast<T>(U(xb + (g << shift)));
      e.insert(e.end(), {{y, x, 0.64}, {y, T(-x), 0.64}});
    }
  }
  return e;
}

// y and x both zero, whatever their signs: the error with both argument
// slots and no values, default 0.0 (a NaN with the infinity flag).
template <class T>
std::vector<Fault2<T>> two_zeros(std::int32_t error) {
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

// The pairs: radians 0.51, the units 1.75 (see above), with the quarter
// turn's edges.
template <class T>
Row2<T> atan2_row(const char *name, Binary<T> fn, oracle::Fn2 exact, T quarter, bool units,
                  std::int32_t error) {
  Row2<T> r = {name,
               fn,
               exact,
               {},
               units ? quarter_turn_edges<T>() : std::vector<Pair<T>>{},
               {},
               two_zeros<T>(error)};
  for (const bool circle : {true, false})
    r.ranges.push_back(
        {circle, sizeof(T) == 4 ? (circle ? 120.0 : 100.0) : 1000, units ? 1.75 : 0.51});
  for (const auto &list : {kWholeTurns, units ? kUnitTurns : kRadianTurns})
    for (const Turns &t : list) r.exact_points.push_back({T(t.y), T(t.x), T(t.k * quarter)});
  return r;
}

const Row2<float> kPairs4[] = {
    atan2_row<float>("g_atan2", g_atan2, mpfr_atan2, kHalfPiF, false, 220),
    atan2_row<float>("g_atan2d", g_atan2d, atan2d, 90, true, 1369),
    atan2_row<float>("g_atan2q", g_atan2q, atan2q, 1, true, 1359)};
const Row2<double> kPairs8[] = {
    atan2_row<double>("g_datan2", g_datan2, mpfr_atan2, kHalfPiD, false, 221),
    atan2_row<double>("g_dtan2d", g_dtan2d, atan2d, 90, true, 1370),
    atan2_row<double>("g_dtan2q", g_dtan2q, atan2q, 1, true, 1360)};

VEXMORG_TABLE(InverseTrig, Pairs4, kPairs4, 10000);
VEXMORG_TABLE(InverseTrig, Pairs8, kPairs8, 10000);

}  // namespace
