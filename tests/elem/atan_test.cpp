// One-argument arc tangents in radians, degrees and quadrant units, Real4
// and Real8, against MPFR; their table, exact points and limits.
//
// Bounds, in ulps of the result (each run prints the largest error it
// measured):
//   g_atan, g_datan: FPATAN's 64-bit result rounded once: 0.5 ulp plus the
//     instruction's error, a few units of 2^-64 on the hardware and on the
//     i386 emulator alike, a few 2^-11 ulp after the rounding: bound 0.51.
//   g_atand, g_atanq: the table entry (a Real8) plus a series of |u| or
//     1/|x| below 1/16 that stays within 0.03 ulp of the result, rounded
//     once; the short series below 1/8 is within 0.004: bound 0.55.
//     From 2^24 on the result is the quarter turn itself, which lies
//     2/(pi |x|) above the quadrant arc tangent, 0.64 ulp at 2^24 (in
//     degrees 0.45): bound 0.64 there.
//   g_datand, g_datanq: below 1/8 the series pa; its leading coefficient,
//     180/pi or 2/pi rounded to Real8, is 0.31 or 0.56 units of 2^-53 off
//     relative, so bound 0.85 (degrees) and 1.1 (quadrant units). Next to
//     a breakpoint the table entry (high + low) is exact to 2^-106 and the
//     series of u within 0.025 ulp of the result; from 32 on the series pe
//     of 1/x is a fiftieth of the result or less: bound 0.55. From 2^53 on
//     the quarter turn again, 0.64 ulp in quadrant units.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "elem/inverse_trig/tables/atan_table.h"
#include "oracle/angle_units.h"
#include "support/checks.h"

namespace {

using oracle::in_unit;
using oracle::kDegrees;
using oracle::kQuadrants;
using support::Sampler;
using support::Unary;

constexpr auto atand_exact = in_unit<mpfr_atanu, kDegrees>;
constexpr auto atanq_exact = in_unit<mpfr_atanu, kQuadrants>;

std::uint32_t high_word(double x) {
  return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(x) >> 32);
}

// |x| log-uniform in [lo, hi), random sign.
struct Range {
  double lo, hi;
  double bound;  // ulps
};

template <class T>
void run(const char *name, Unary<T> fn, oracle::Fn1 exact, const std::vector<Range> &ranges,
         std::uint64_t n) {
  Sampler s(0xa7a40000 + std::hash<std::string>{}(name));
  for (const Range &r : ranges) {
    char what[96];
    std::snprintf(what, sizeof what, "%s |x| in [%g, %g)", name, r.lo, r.hi);
    support::expect_accuracy<T>(
        what, fn, exact, n, [&] { return s.log_uniform_signed(r.lo, r.hi); },
        support::ulps(r.bound));
  }
}

// The ranges of the methods: the short series, each binade of breakpoints,
// the dedicated breakpoint 15 (Real4), the reciprocal, the quarter turn.
std::vector<Range> real4_ranges(double bound, double turn_bound) {
  std::vector<Range> r = {{1e-38, 1e-3, bound}, {1e-3, 0.125, bound}};
  for (double b = 0.125; b < 8; b *= 2) r.push_back({b, 2 * b, bound});
  for (Range x : {Range{8, 16, bound}, Range{16, 0x1p24, bound}, Range{0x1p24, 3e38, turn_bound}})
    r.push_back(x);
  return r;
}

std::vector<Range> real8_ranges(double series_bound, double bound, double turn_bound) {
  std::vector<Range> r = {{1e-300, 1e-3, series_bound}, {1e-3, 0.125, series_bound}};
  for (double b = 0.125; b < 32; b *= 2) r.push_back({b, 2 * b, bound});
  for (Range x : {Range{32, 0x1p53, bound}, Range{0x1p53, 1e300, turn_bound}}) r.push_back(x);
  return r;
}

TEST(Atan4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(8000);
  run<float>("g_atan", g_atan, mpfr_atan,
             {{1e-38, 1e-3, 0.51}, {1e-3, 1e3, 0.51}, {1e3, 3e38, 0.51}}, n);
  run<float>("g_atand", g_atand, atand_exact, real4_ranges(0.55, 0.55), n);
  run<float>("g_atanq", g_atanq, atanq_exact, real4_ranges(0.55, 0.64), n);
}

TEST(Atan8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(8000);
  run<double>("g_datan", g_datan, mpfr_atan,
              {{1e-300, 1e-3, 0.51}, {1e-3, 1e3, 0.51}, {1e3, 1e300, 0.51}}, n);
  run<double>("g_datand", g_datand, atand_exact, real8_ranges(0.85, 0.55, 0.55), n);
  run<double>("g_datanq", g_datanq, atanq_exact, real8_ranges(1.1, 0.55, 0.64), n);
}

// The breakpoints themselves (u = 0: the table entry alone), their
// neighbours, and the limits between the methods.
TEST(Atan, BreakpointsAndLimits) {
  std::vector<float> xs4 = {0.125f, 8.0f, 16.0f, 0x1p24f};
  for (int k = 496; k <= 520; ++k) xs4.push_back(std::bit_cast<float>(std::uint32_t(k) << 21));
  for (float x : std::vector<float>(xs4)) {
    for (float v : {std::nextafter(x, 0.0f), x, std::nextafter(x, 1e30f)}) {
      for (float w : {v, -v}) {
        EXPECT_LE(oracle::ulp_error(g_atand(&w), atand_exact, w), 0.55) << "g_atand(" << w << ")";
        EXPECT_LE(oracle::ulp_error(g_atanq(&w), atanq_exact, w), 0.64) << "g_atanq(" << w << ")";
      }
    }
  }
  std::vector<double> xs8 = {0.125, 32.0, 0x1p53};
  for (double c = 0.125; c < 0.25; c += 1.0 / 64) xs8.push_back(c);
  for (double b = 0.25; b < 32; b *= 2) {
    for (int j = 0; j < 16; ++j) xs8.push_back(b * (1 + j / 16.0));
  }
  for (double x : std::vector<double>(xs8)) {
    for (double v : {std::nextafter(x, 0.0), x, std::nextafter(x, 1e300)}) {
      for (double w : {v, -v}) {
        EXPECT_LE(oracle::ulp_error(g_datand(&w), atand_exact, w), 0.85) << "g_datand(" << w << ")";
        EXPECT_LE(oracle::ulp_error(g_datanq(&w), atanq_exact, w), 1.1) << "g_datanq(" << w << ")";
      }
    }
  }
}

// atantbl against MPFR. The breakpoints and their indices are derived
// here from the rule of the functions: Real4 c = |x| rounded to two
// fraction bits, index (bits of c >> 21) - 496; Real8 c = |x| rounded to
// three fraction bits from 1/8 to 1/4 and four from 1/4 to 32, index from
// the high word of c (low 12 bits cleared) minus 0x3FBF0000, shifted by 17,
// or minus 0x3FC78000, shifted by 16.
TEST(AtanTable, RecomputedWithMpfr) {
  oracle::Big v, rest;
  int seen4 = 0;
  for (double b = 0.125; b <= 8; b *= 2) {
    for (int j = 0; j < 4 && (b < 8 || j == 0); ++j) {
      const float c = static_cast<float>(b * (1 + j / 4.0));
      const int index = static_cast<int>(std::bit_cast<std::uint32_t>(c) >> 21) - 496;
      ASSERT_GE(index, 0);
      ASSERT_LT(index, 25);
      mpfr_set_d(v, c, MPFR_RNDN);
      mpfr_atanu(rest, v, kDegrees, MPFR_RNDN);
      EXPECT_EQ(vx::atantbl_degrees4[index], mpfr_get_d(rest, MPFR_RNDN)) << "c = " << c;
      mpfr_atanu(rest, v, kQuadrants, MPFR_RNDN);
      EXPECT_EQ(vx::atantbl_quadrants4[index], mpfr_get_d(rest, MPFR_RNDN)) << "c = " << c;
      ++seen4;
    }
  }
  EXPECT_EQ(seen4, 25);
  EXPECT_EQ(vx::atantbl_degrees4[12], 45.0);
  EXPECT_EQ(vx::atantbl_quadrants4[12], 0.5);

  struct Breakpoint {
    double c;
    int index;
  };
  std::vector<Breakpoint> points;
  for (int j = 0; j < 8; ++j) {  // 1/8 to 1/4: three fraction bits
    const double c = 0.125 * (1 + j / 8.0);
    const std::uint32_t h = high_word(c) & 0xfffff000u;
    points.push_back({c, static_cast<int>((h - 0x3fbf0000u) >> 17)});
  }
  for (double b = 0.25; b <= 32; b *= 2) {  // 1/4 to 32: four fraction bits
    for (int j = 0; j < 16 && (b < 32 || j == 0); ++j) {
      const double c = b * (1 + j / 16.0);
      const std::uint32_t h = high_word(c) & 0xfffff000u;
      points.push_back({c, static_cast<int>((h - 0x3fc78000u) >> 16)});
    }
  }
  ASSERT_EQ(points.size(), 121u);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Breakpoint &p = points[i];
    ASSERT_EQ(p.index, static_cast<int>(i)) << "c = " << p.c;
    const struct {
      const vx::DoubleDouble *table;
      unsigned long turn;
    } units[] = {{vx::atantbl_degrees8, kDegrees}, {vx::atantbl_quadrants8, kQuadrants}};
    for (const auto &u : units) {
      mpfr_set_d(v, p.c, MPFR_RNDN);
      mpfr_atanu(v, v, u.turn, MPFR_RNDN);
      const double high = mpfr_get_d(v, MPFR_RNDN);
      mpfr_sub_d(rest, v, high, MPFR_RNDN);
      EXPECT_EQ(u.table[i].high, high) << "c = " << p.c << ", turn " << u.turn;
      EXPECT_EQ(u.table[i].low, mpfr_get_d(rest, MPFR_RNDN)) << "c = " << p.c;
    }
  }
  // The first entry in degrees: atan(1/8).
  EXPECT_NEAR(vx::atantbl_degrees8[0].high, 7.125016348901795, 1e-14);
}

// ---- Exact points -----------------------------------------------------------

TEST(Atan, ExactPoints) {
  constexpr float inf4 = std::numeric_limits<float>::infinity();
  constexpr double inf8 = std::numeric_limits<double>::infinity();
  const float hpi4 = std::bit_cast<float>(0x3fc90fdbu);
  const struct {
    const char *name;
    Unary<float> fn;
    float x, expected;
  } rows4[] = {
      {"g_atan", g_atan, 0, 0},           {"g_atan", g_atan, -0.0f, -0.0f},
      {"g_atan", g_atan, inf4, hpi4},     {"g_atan", g_atan, -inf4, -hpi4},
      {"g_atand", g_atand, 0, 0},         {"g_atand", g_atand, -0.0f, -0.0f},
      {"g_atand", g_atand, 1, 45},        {"g_atand", g_atand, -1, -45},
      {"g_atand", g_atand, 0x1p24f, 90},  {"g_atand", g_atand, -1e38f, -90},
      {"g_atand", g_atand, inf4, 90},     {"g_atand", g_atand, -inf4, -90},
      {"g_atanq", g_atanq, 1, 0.5f},      {"g_atanq", g_atanq, -1, -0.5f},
      {"g_atanq", g_atanq, inf4, 1},      {"g_atanq", g_atanq, -0x1p24f, -1},
      {"g_atanq", g_atanq, -0.0f, -0.0f},
  };
  for (const auto &r : rows4) support::expect_exact(r.name, r.fn, r.x, r.expected);
  const double hpi8 = 1.5707963267948966;
  const struct {
    const char *name;
    Unary<double> fn;
    double x, expected;
  } rows8[] = {
      {"g_datan", g_datan, 0, 0},         {"g_datan", g_datan, -0.0, -0.0},
      {"g_datan", g_datan, inf8, hpi8},   {"g_datan", g_datan, -inf8, -hpi8},
      {"g_datand", g_datand, 0, 0},       {"g_datand", g_datand, -0.0, -0.0},
      {"g_datand", g_datand, 1, 45},      {"g_datand", g_datand, -1, -45},
      {"g_datand", g_datand, 0x1p53, 90}, {"g_datand", g_datand, -1e300, -90},
      {"g_datand", g_datand, inf8, 90},   {"g_datand", g_datand, -inf8, -90},
      {"g_datanq", g_datanq, 1, 0.5},     {"g_datanq", g_datanq, -1, -0.5},
      {"g_datanq", g_datanq, inf8, 1},    {"g_datanq", g_datanq, -0x1p53, -1},
      {"g_datanq", g_datanq, -0.0, -0.0},
  };
  for (const auto &r : rows8) support::expect_exact(r.name, r.fn, r.x, r.expected);
}

// atand(15) comes from its own breakpoint with u = 0: atan 15 rounded.
TEST(Atan, FifteenFromItsOwnBreakpoint) {
  support::expect_exact<float>("g_atand", g_atand, 15, oracle::rounded(atand_exact, 15.0f));
  support::expect_exact<float>("g_atand", g_atand, -15, -oracle::rounded(atand_exact, 15.0f));
  support::expect_exact<float>("g_atanq", g_atanq, 15, oracle::rounded(atanq_exact, 15.0f));
}

// A NaN is no error: the one-argument forms in degrees and quadrant units
// return the quarter turn signed by the NaN's sign bit, the radian ones a
// NaN.
TEST(Atan, NaNGivesTheQuarterTurnWithoutReport) {
  const float nan4 = std::bit_cast<float>(0x7fc00000u);
  const float mnan4 = std::bit_cast<float>(0xffc00000u);
  const double nan8 = std::bit_cast<double>(0x7ff8000000000000ull);
  const double mnan8 = std::bit_cast<double>(0xfff8000000000000ull);
  support::expect_exact("g_atand", g_atand, nan4, 90.0f);
  support::expect_exact("g_atand", g_atand, mnan4, -90.0f);
  support::expect_exact("g_atanq", g_atanq, nan4, 1.0f);
  support::expect_exact("g_atanq", g_atanq, mnan4, -1.0f);
  support::expect_exact("g_datand", g_datand, nan8, 90.0);
  support::expect_exact("g_datand", g_datand, mnan8, -90.0);
  support::expect_exact("g_datanq", g_datanq, nan8, 1.0);
  support::expect_exact("g_datanq", g_datanq, mnan8, -1.0);
  support::Recorder rec;
  EXPECT_TRUE(std::isnan(g_atan(&nan4)));
  EXPECT_TRUE(std::isnan(g_datan(&mnan8)));
  EXPECT_TRUE(rec.reports.empty());
}

}  // namespace
