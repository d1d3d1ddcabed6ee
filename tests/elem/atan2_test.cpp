// Two-argument arc tangents (y, x) in radians, degrees and quadrant units,
// Real4 and Real8, against MPFR; signed zeros, the quarter-turn rule, the
// error of two zeros with both argument slots and no values, resume.
//
// Bounds, in ulps of the result (each run prints the largest error it
// measured):
//   g_atan2, g_datan2: FPATAN of y and x rounded once, as the one-argument
//     forms: 0.51.
//   degree and quadrant forms: q = y / x is rounded to the argument type,
//     a relative error up to 2^-p / m_q (m_q in [1, 2) the significand of
//     q, p = 24 or 53), which the arc tangent carries with a factor
//     q / ((1 + q^2) atan q) of at most 1; the one-argument form adds its
//     relative error e (at most 0.61 units of 2^-p, quadrant units below 1/8
//     in Real8, see atan_test) and rounds. With m_r the significand of the
//     result that is m_r / 2 (1 / m_q + e) + 0.5 ulp, largest for small q
//     where m_r is about 57.3/32 m_q or 4/pi m_q (mod 2): 1.75 at most.
//     The half turn added for x < 0 only shrinks the error in ulps. Beyond
//     |y| = 2^24 |x| (Real4) the result is the quarter turn, within 0.64.
// The random pairs keep |y / x| within 2^+-100 (Real4) and 2^+-1000
// (Real8): below that the rounded quotient is subnormal and the arc
// tangent of it inherits the absolute error of its last place.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "oracle/angle_units.h"
#include "support/checks.h"

namespace {

using oracle::in_unit;
using oracle::kDegrees;
using oracle::kQuadrants;
using support::bits_of;
using support::Sampler;

template <class T>
using Binary = T (*)(const T *, const T *);

constexpr auto atan2d_exact = in_unit<mpfr_atan2u, kDegrees>;
constexpr auto atan2q_exact = in_unit<mpfr_atan2u, kQuadrants>;

// Pairs of one run: the angle uniform over the whole turn and the radius
// log-uniform (kAround), or |y| / |x| log-uniform over 2^+-`spread` with
// random signs (kRatios).
enum class Pairs { kAround, kRatios };

template <class T>
void run(const char *name, Binary<T> fn, oracle::Fn2 exact, Pairs pairs, double spread,
         double bound, std::uint64_t n) {
  Sampler s(0xa7a42000 + std::hash<std::string>{}(name) + static_cast<int>(pairs));
  oracle::WorstCase worst;
  oracle::Big e;
  int failures = 0;
  for (std::uint64_t i = 0; i < n; ++i) {
    T y, x;
    if (pairs == Pairs::kAround) {
      const double angle = s.uniform(-M_PI, M_PI);
      const double radius = std::exp2(s.uniform(-spread, spread));
      y = static_cast<T>(radius * std::sin(angle));
      x = static_cast<T>(radius * std::cos(angle));
    } else {
      const double root = std::exp2(s.uniform(-spread, spread) / 2);  // sqrt |y/x|, about
      y = static_cast<T>(s.uniform_signed(0.5, 1) * root);
      x = static_cast<T>(s.uniform_signed(0.5, 1) / root);
    }
    if (y == 0 || x == 0) continue;  // signed zeros: tested on their own
    const T got = fn(&y, &x);
    oracle::exact(e, exact, static_cast<double>(y), static_cast<double>(x));
    const double err = oracle::ulp_error(got, e);
    worst.add(err, static_cast<double>(y) / static_cast<double>(x));
    if (!(err <= bound) && ++failures <= 5) {
      ADD_FAILURE() << name << "(" << std::hexfloat << static_cast<double>(y) << ", "
                    << static_cast<double>(x) << std::defaultfloat << ") = " << got << ", " << err
                    << " ulp > bound " << bound;
    }
  }
  std::printf("  %-8s %s 2^+-%g: %s (x = y/x)\n", name,
              pairs == Pairs::kAround ? "radius in" : "|y/x| in", spread, worst.describe().c_str());
}

TEST(Atan2_4, AgainstMpfr) {
  const std::uint64_t n = support::scaled(15000);
  for (Pairs p : {Pairs::kAround, Pairs::kRatios}) {
    const double spread = p == Pairs::kAround ? 120 : 100;
    run<float>("g_atan2", g_atan2, mpfr_atan2, p, spread, 0.51, n);
    run<float>("g_atan2d", g_atan2d, atan2d_exact, p, spread, 1.75, n);
    run<float>("g_atan2q", g_atan2q, atan2q_exact, p, spread, 1.75, n);
  }
}

TEST(Atan2_8, AgainstMpfr) {
  const std::uint64_t n = support::scaled(15000);
  for (Pairs p : {Pairs::kAround, Pairs::kRatios}) {
    const double spread = 1000;
    run<double>("g_datan2", g_datan2, mpfr_atan2, p, spread, 0.51, n);
    run<double>("g_dtan2d", g_dtan2d, atan2d_exact, p, spread, 1.75, n);
    run<double>("g_dtan2q", g_dtan2q, atan2q_exact, p, spread, 1.75, n);
  }
}

// ---- Exact points -----------------------------------------------------------

template <class T>
struct Point {
  const char *name;
  Binary<T> fn;
  T y, x, expected;
};

template <class T>
void expect_points(std::initializer_list<Point<T>> points) {
  for (const Point<T> &p : points) {
    support::Recorder rec;
    const T got = p.fn(&p.y, &p.x);
    EXPECT_TRUE(rec.reports.empty()) << p.name << "(" << p.y << ", " << p.x << ") reported";
    EXPECT_EQ(bits_of(got), bits_of(p.expected))
        << p.name << "(" << p.y << ", " << p.x << ") = " << got << ", expected " << p.expected;
  }
}

// The sign of a zero never selects a result: -0.0 is taken as +0.0.
TEST(Atan2, SignedZerosInRadians) {
  const float pi4 = std::bit_cast<float>(0x40490fdbu), hpi4 = std::bit_cast<float>(0x3fc90fdbu);
  const double pi8 = 3.141592653589793, hpi8 = 1.5707963267948966;
  expect_points<float>({
      {"g_atan2", g_atan2, -0.0f, -1, pi4},
      {"g_atan2", g_atan2, 0, -1, pi4},
      {"g_atan2", g_atan2, -0.0f, 1, 0},
      {"g_atan2", g_atan2, 1, -0.0f, hpi4},
      {"g_atan2", g_atan2, -1, -0.0f, -hpi4},
      {"g_atan2", g_atan2, -0.0f, -1e-45f, pi4},
  });
  expect_points<double>({
      {"g_datan2", g_datan2, -0.0, -1, pi8},
      {"g_datan2", g_datan2, 0, -2, pi8},
      {"g_datan2", g_datan2, -0.0, 3, 0},
      {"g_datan2", g_datan2, 1, -0.0, hpi8},
      {"g_datan2", g_datan2, -1e-300, -0.0, -hpi8},
  });
}

TEST(Atan2, RightAnglesAndDiagonalsInUnits) {
  constexpr float inf4 = std::numeric_limits<float>::infinity();
  constexpr double inf8 = std::numeric_limits<double>::infinity();
  expect_points<float>({
      {"g_atan2d", g_atan2d, 1, -1, 135},     {"g_atan2d", g_atan2d, -1, -1, -135},
      {"g_atan2d", g_atan2d, 1, 1, 45},       {"g_atan2d", g_atan2d, -2, 2, -45},
      {"g_atan2d", g_atan2d, 1e30f, 1, 90},   {"g_atan2d", g_atan2d, -1e30f, -1, -90},
      {"g_atan2d", g_atan2d, 1, 0, 90},       {"g_atan2d", g_atan2d, -1, -0.0f, -90},
      {"g_atan2d", g_atan2d, 0, 1, 0},        {"g_atan2d", g_atan2d, 0, -1, 180},
      {"g_atan2d", g_atan2d, -0.0f, -1, 180},  // y = -0.0 counts as y >= 0
      {"g_atan2d", g_atan2d, 3, -inf4, 180},  {"g_atan2d", g_atan2d, -3, -inf4, -180},
      {"g_atan2d", g_atan2d, inf4, 1, 90},    {"g_atan2q", g_atan2q, 1, -1, 1.5f},
      {"g_atan2q", g_atan2q, -1, -1, -1.5f},  {"g_atan2q", g_atan2q, 5, 5, 0.5f},
      {"g_atan2q", g_atan2q, 1e30f, 1, 1},    {"g_atan2q", g_atan2q, -1, 0, -1},
      {"g_atan2q", g_atan2q, 0, -1, 2},
  });
  expect_points<double>({
      {"g_dtan2d", g_dtan2d, 1, -1, 135},
      {"g_dtan2d", g_dtan2d, -1, -1, -135},
      {"g_dtan2d", g_dtan2d, 7, 7, 45},
      {"g_dtan2d", g_dtan2d, 1e300, 1, 90},
      {"g_dtan2d", g_dtan2d, -1e300, 1e-300, -90},
      {"g_dtan2d", g_dtan2d, 1, -0.0, 90},
      {"g_dtan2d", g_dtan2d, 0, -1, 180},
      {"g_dtan2d", g_dtan2d, -0.0, -1, 180},
      {"g_dtan2d", g_dtan2d, -1, -inf8, -180},
      {"g_dtan2q", g_dtan2q, 1, -1, 1.5},
      {"g_dtan2q", g_dtan2q, -1, -1, -1.5},
      {"g_dtan2q", g_dtan2q, 2, 2, 0.5},
      {"g_dtan2q", g_dtan2q, -1e300, 1, -1},
      {"g_dtan2q", g_dtan2q, 0, -5, 2},
  });
}

// A NaN x counts as nonzero: the quotient is a NaN, whose one-argument arc
// tangent is the quarter turn signed by its sign bit. A NaN y with a finite
// x lies far above it: the quarter turn signed by y > 0, which a NaN is not.
TEST(Atan2, NaNArguments) {
  const float nan4 = std::bit_cast<float>(0x7fc00000u);
  const double nan8 = std::bit_cast<double>(0x7ff8000000000000ull);
  expect_points<float>({
      {"g_atan2d", g_atan2d, 1, nan4, 90},
      {"g_atan2d", g_atan2d, nan4, 1, -90},
      {"g_atan2q", g_atan2q, nan4, -1, -1},
  });
  expect_points<double>({
      {"g_dtan2d", g_dtan2d, 1, nan8, 90},
      {"g_dtan2d", g_dtan2d, nan8, 1, -90},
      {"g_dtan2q", g_dtan2q, nan8, 2, -1},
  });
  support::Recorder rec;
  EXPECT_TRUE(std::isnan(g_atan2(&nan4, &nan4)));
  EXPECT_TRUE(std::isnan(g_datan2(&nan8, &nan8)));
  EXPECT_TRUE(rec.reports.empty());
}

// Where |y| lies 24 (Real4) or 56 (Real8) binades above |x|, by bit
// pattern or high word, the quotient rule ends and the quarter turn
// begins; on both sides the result is within its bound.
TEST(Atan2, QuarterTurnRuleBoundary) {
  for (std::uint32_t gap : {0x0bffffffu, 0x0c000000u, 0x0c000001u}) {
    for (std::uint32_t xb : {0x3f800000u, 0x3fc00000u, 0x20000000u}) {
      const float x = std::bit_cast<float>(xb);
      const float y = std::bit_cast<float>(xb + gap);
      for (float sx : {x, -x}) {
        EXPECT_LE(oracle::ulp_error(g_atan2d(&y, &sx), atan2d_exact, y, sx), 0.64)
            << y << " " << sx;
        EXPECT_LE(oracle::ulp_error(g_atan2q(&y, &sx), atan2q_exact, y, sx), 0.64)
            << y << " " << sx;
      }
    }
  }
  for (std::uint64_t gap : {0x037fffffull, 0x03800000ull, 0x03800001ull}) {
    for (std::uint64_t xb : {0x3ff0000000000000ull, 0x3ff8000000000000ull, 0x2000000000000000ull}) {
      const double x = std::bit_cast<double>(xb);
      const double y = std::bit_cast<double>(xb + (gap << 32));
      for (double sx : {x, -x}) {
        EXPECT_LE(oracle::ulp_error(g_dtan2d(&y, &sx), atan2d_exact, y, sx), 0.64)
            << y << " " << sx;
        EXPECT_LE(oracle::ulp_error(g_dtan2q(&y, &sx), atan2q_exact, y, sx), 0.64)
            << y << " " << sx;
      }
    }
  }
}

// ---- Errors -----------------------------------------------------------------

// Both arguments zero, whatever their signs: the error number with both
// argument slots (y first, holding working copies of the arguments) and no
// values; declined, 0.0 under infinity flag 0 and a NaN under flag 1.
template <class T>
void expect_two_zeros_error(const char *name, Binary<T> fn, std::int32_t error) {
  const T nan = std::numeric_limits<T>::quiet_NaN();
  for (T y : {T{0}, T{-0.0}}) {
    for (T x : {T{0}, T{-0.0}}) {
      for (std::uint8_t flag : {0, 1}) {
        SCOPED_TRACE(std::string(name) + " flag " + std::to_string(flag));
        support::Recorder rec(flag);
        T seen_y = 1, seen_x = 1;
        rec.answer = [&](const support::Report &r, int) {
          seen_y = r.slot_as<T>(1);
          seen_x = r.slot_as<T>(2);
          return 0;
        };
        const T got = fn(&y, &x);
        ASSERT_EQ(rec.reports.size(), 1u);
        const support::Report &r = rec.reports[0];
        EXPECT_EQ(r.number, error);
        EXPECT_EQ(r.value_count, 0) << "no values are reported";
        ASSERT_NE(r.slot1, nullptr);
        ASSERT_NE(r.slot2, nullptr);
        EXPECT_NE(r.slot1, static_cast<const void *>(&y));
        EXPECT_NE(r.slot2, static_cast<const void *>(&x));
        EXPECT_EQ(bits_of(seen_y), bits_of(y));
        EXPECT_EQ(bits_of(seen_x), bits_of(x));
        EXPECT_EQ(bits_of(got), bits_of(flag == 1 ? nan : T{0}));
      }
    }
  }
}

TEST(Atan2, TwoZerosReportWithBothSlots) {
  expect_two_zeros_error<float>("g_atan2", g_atan2, 220);
  expect_two_zeros_error<double>("g_datan2", g_datan2, 221);
  expect_two_zeros_error<float>("g_atan2d", g_atan2d, 1369);
  expect_two_zeros_error<float>("g_atan2q", g_atan2q, 1359);
  expect_two_zeros_error<double>("g_dtan2d", g_dtan2d, 1370);
  expect_two_zeros_error<double>("g_dtan2q", g_dtan2q, 1360);
}

// The handler replaces both arguments and answers 1: the function computes
// with them after exactly one report.
template <class T>
void expect_resume_with(Binary<T> fn, T y, T x, std::int32_t error) {
  const T want = fn(&y, &x);
  support::Recorder rec;
  rec.answer = [y, x](const support::Report &r, int) {
    support::replace(r, 1, y);
    support::replace(r, 2, x);
    return 1;
  };
  const T zero = 0;
  const T got = fn(&zero, &zero);
  ASSERT_EQ(rec.reports.size(), 1u);
  EXPECT_EQ(rec.reports[0].number, error);
  EXPECT_EQ(bits_of(got), bits_of(want));
}

TEST(Atan2, ResumeComputesTheReplacement) {
  expect_resume_with<float>(g_atan2, 1, -1, 220);
  expect_resume_with<double>(g_datan2, -2, 0.5, 221);
  expect_resume_with<float>(g_atan2d, 1, -1, 1369);
  expect_resume_with<float>(g_atan2q, -3, 4, 1359);
  expect_resume_with<double>(g_dtan2d, 0.25, -7, 1370);
  expect_resume_with<double>(g_dtan2q, 0, -1, 1360);
}

// A replacement that is again two zeros reports again.
TEST(Atan2, ZerosReplacedByZerosReportAgain) {
  support::Recorder rec(0);
  rec.answer = [](const support::Report &r, int index) {
    support::replace(r, 1, -0.0);
    support::replace(r, 2, index == 0 ? 0.0 : 2.0);
    return 1;
  };
  const double y = 0, x = 0;
  EXPECT_EQ(bits_of(g_dtan2d(&y, &x)), bits_of(-0.0));  // atan2d(-0.0, 2): -0 / 2
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[1].number, 1370);
}

}  // namespace
