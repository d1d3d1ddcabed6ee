// Arc sines and arc cosines in radians, degrees and quadrant units, Real4
// and Real8, against MPFR; their exact points, limits, errors and defaults.
//
// Bounds, in ulps of the result (each run prints the largest error it
// measured). Every function evaluates its approximation in the 64-bit
// register and rounds once, so it is within 0.5 ulp plus the relative
// error of the approximation, in units of 2^-24 or 2^-53, plus a few
// 2^-11 ulp of register rounding. Where the result is a right angle minus
// a value w of the approximation, w's error counts with the factor w /
// result, at most 2 (next to |x| = 1/2). The approximations (MPFR over
// their ranges):
//   Real4 radians: arc sine 0.17 (to 1/2) and 0.11 (to sqrt(1/2)), arc
//     cosine beyond 0.08: bound 0.7.
//   Real4 degrees: 0.004 to 0.04: bound 0.55.
//   Real4 quadrant units: arc sine 0.26 (its 1 + a0 is 2/pi only to Real4
//     precision), kernel 0.09 doubled at 1/2: bound 0.8.
//   Real8 radians: 0.16, 0.29 and 0.14: bound 0.8.
//   Real8 degrees: both rationals are biased, x A / B by up to -0.6 and
//     sqrt(v) P / Q by up to +0.56; the arc sine above 1/2 is 90 minus the
//     latter and doubles it next to 1/2: bounds 1.1, and 1.6 for the arc
//     sine above 1/2.
//   Real8 quadrant units: arc sine 0.5, kernel 0.25 doubled at 1/2:
//     bound 1.0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "oracle/angle_units.h"
#include "support/checks.h"
#include "support/ieee_constants.h"

namespace {

using oracle::in_unit;
using oracle::kDegrees;
using oracle::kQuadrants;
using support::ErrorRow;
using support::Sampler;
using support::Unary;

constexpr auto asind_exact = in_unit<mpfr_asinu, kDegrees>;
constexpr auto acosd_exact = in_unit<mpfr_acosu, kDegrees>;
constexpr auto asinq_exact = in_unit<mpfr_asinu, kQuadrants>;
constexpr auto acosq_exact = in_unit<mpfr_acosu, kQuadrants>;

const double kRh4 = std::bit_cast<float>(0x3f3504f3u);  // sqrt(1/2) in Real4
constexpr double kRh8 = 0.7071067811865476;

// Arguments of one accuracy run: |x| uniform in [lo, hi], or 1 - |x|
// log-uniform in [lo, hi] (kNearOne), or |x| log-uniform (kTiny); random
// sign.
enum class Spread { kUniform, kNearOne, kTiny };

struct Range {
  double lo, hi;
  double bound;  // ulps
  Spread spread = Spread::kUniform;
};

template <class T>
void run(const char *name, Unary<T> fn, oracle::Fn1 exact, std::vector<Range> ranges,
         std::uint64_t n) {
  Sampler s(0xa51ac05 + std::hash<std::string>{}(name));
  for (const Range &r : ranges) {
    char what[96];
    std::snprintf(what, sizeof what, "%s %s in [%g, %g]", name,
                  r.spread == Spread::kNearOne ? "1 - |x|" : "|x|", r.lo, r.hi);
    const auto gen = [&] {
      switch (r.spread) {
        case Spread::kNearOne: {
          const double m = 1 - std::exp(s.uniform(std::log(r.lo), std::log(r.hi)));
          return s.bits() & 1 ? -m : m;
        }
        case Spread::kTiny:
          return s.log_uniform_signed(r.lo, r.hi);
        case Spread::kUniform:
          break;
      }
      return s.uniform_signed(r.lo, r.hi);
    };
    support::expect_accuracy<T>(what, fn, exact, n, gen, support::ulps(r.bound));
  }
}

// ---- Accuracy ---------------------------------------------------------------

TEST(AsinAcos4, Radians) {
  const std::uint64_t n = support::scaled(12000);
  const std::vector<Range> ranges = {{1e-38, 1e-3, 0.7, Spread::kTiny},
                                     {0, 0.5, 0.7},
                                     {0.5, kRh4, 0.7},
                                     {kRh4, 1, 0.7},
                                     {0x1p-24, 0x1p-6, 0.7, Spread::kNearOne}};
  run<float>("g_asin", g_asin, mpfr_asin, ranges, n);
  run<float>("g_acos", g_acos, mpfr_acos, ranges, n);
}

TEST(AsinAcos4, Degrees) {
  const std::uint64_t n = support::scaled(12000);
  const std::vector<Range> ranges = {{1e-38, 1e-3, 0.55, Spread::kTiny},
                                     {0, 0.5, 0.55},
                                     {0.5, kRh4, 0.55},
                                     {kRh4, 1, 0.55},
                                     {0x1p-24, 0x1p-6, 0.55, Spread::kNearOne}};
  run<float>("g_asind", g_asind, asind_exact, ranges, n);
  run<float>("g_acosd", g_acosd, acosd_exact, ranges, n);
}

TEST(AsinAcos4, Quadrants) {
  const std::uint64_t n = support::scaled(12000);
  const std::vector<Range> ranges = {{1e-38, 1e-3, 0.8, Spread::kTiny},
                                     {0, 0.5, 0.8},
                                     {0.5, 1, 0.8},
                                     {0x1p-24, 0x1p-6, 0.8, Spread::kNearOne}};
  run<float>("g_asinq", g_asinq, asinq_exact, ranges, n);
  run<float>("g_acosq", g_acosq, acosq_exact, ranges, n);
}

TEST(AsinAcos8, Radians) {
  const std::uint64_t n = support::scaled(12000);
  const std::vector<Range> ranges = {{1e-300, 1e-3, 0.8, Spread::kTiny},
                                     {0, 0.5, 0.8},
                                     {0.5, kRh8, 0.8},
                                     {kRh8, 1, 0.8},
                                     {0x1p-53, 0x1p-6, 0.8, Spread::kNearOne}};
  run<double>("g_dasin", g_dasin, mpfr_asin, ranges, n);
  run<double>("g_dacos", g_dacos, mpfr_acos, ranges, n);
}

TEST(AsinAcos8, Degrees) {
  const std::uint64_t n = support::scaled(12000);
  run<double>("g_dasind", g_dasind, asind_exact,
              {{1e-300, 1e-3, 1.1, Spread::kTiny},
               {0, 0.5, 1.1},
               {0.5, 1, 1.6},
               {0x1p-53, 0x1p-6, 1.1, Spread::kNearOne}},
              n);
  run<double>("g_dacosd", g_dacosd, acosd_exact,
              {{1e-300, 1e-3, 1.1, Spread::kTiny},
               {0, 0.5, 1.1},
               {0.5, 1, 1.1},
               {0x1p-53, 0x1p-6, 1.1, Spread::kNearOne}},
              n);
}

TEST(AsinAcos8, Quadrants) {
  const std::uint64_t n = support::scaled(12000);
  const std::vector<Range> ranges = {{1e-300, 1e-3, 1.0, Spread::kTiny},
                                     {0, 0.5, 1.0},
                                     {0.5, 1, 1.0},
                                     {0x1p-53, 0x1p-6, 1.0, Spread::kNearOne}};
  run<double>("g_dasinq", g_dasinq, asinq_exact, ranges, n);
  run<double>("g_dacosq", g_dacosq, acosq_exact, ranges, n);
}

// The arguments where the method changes (1/2 and sqrt(1/2) in each type)
// and their neighbours, under the function's largest bound.
TEST(AsinAcos, MethodBoundaries) {
  struct Fn4 {
    const char *name;
    Unary<float> fn;
    oracle::Fn1 exact;
    double bound;
  };
  const Fn4 fns4[] = {
      {"g_asin", g_asin, mpfr_asin, 0.7},      {"g_acos", g_acos, mpfr_acos, 0.7},
      {"g_asind", g_asind, asind_exact, 0.55}, {"g_acosd", g_acosd, acosd_exact, 0.55},
      {"g_asinq", g_asinq, asinq_exact, 0.8},  {"g_acosq", g_acosq, acosq_exact, 0.8}};
  for (const Fn4 &f : fns4) {
    for (float b : {0.5f, static_cast<float>(kRh4)}) {
      for (float x : {std::nextafter(b, 0.0f), b, std::nextafter(b, 1.0f)}) {
        for (float v : {x, -x}) {
          EXPECT_LE(oracle::ulp_error(f.fn(&v), f.exact, v), f.bound) << f.name << "(" << v << ")";
        }
      }
    }
  }
  struct Fn8 {
    const char *name;
    Unary<double> fn;
    oracle::Fn1 exact;
    double bound;
  };
  const Fn8 fns8[] = {
      {"g_dasin", g_dasin, mpfr_asin, 0.8},     {"g_dacos", g_dacos, mpfr_acos, 0.8},
      {"g_dasind", g_dasind, asind_exact, 1.6}, {"g_dacosd", g_dacosd, acosd_exact, 1.1},
      {"g_dasinq", g_dasinq, asinq_exact, 1.0}, {"g_dacosq", g_dacosq, acosq_exact, 1.0}};
  for (const Fn8 &f : fns8) {
    for (double b : {0.5, kRh8}) {
      for (double x : {std::nextafter(b, 0.0), b, std::nextafter(b, 1.0)}) {
        for (double v : {x, -x}) {
          EXPECT_LE(oracle::ulp_error(f.fn(&v), f.exact, v), f.bound) << f.name << "(" << v << ")";
        }
      }
    }
  }
}

// The arc sines are odd, bit for bit: every method rounds symmetrically,
// and the sign of x is applied to the magnitude's result. Arguments on
// both sides of each range switch, tiny and subnormal ones included.
TEST(AsinAcos, ArcSinesAreOdd) {
  const Unary<double> fns[] = {g_dasin, g_dasind, g_dasinq};
  const char *names[] = {"g_dasin", "g_dasind", "g_dasinq"};
  Sampler s(0xa51d);
  std::vector<double> xs = {0.5,
                            std::nextafter(0.5, 0.0),
                            std::nextafter(0.5, 1.0),
                            kRh8,
                            1.0,
                            std::nextafter(1.0, 0.0),
                            0x1p-1074,
                            0x1p-1022,
                            1e-300,
                            1e-8};
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) xs.push_back(s.uniform(0, 1));
  for (int f = 0; f < 3; ++f) {
    int failures = 0;
    for (double x : xs) {
      const double neg = -x;
      const double plus = fns[f](&x), minus = fns[f](&neg);
      if (support::bits_of(minus) != support::bits_of(-plus) && ++failures <= 5)
        ADD_FAILURE() << names[f] << std::hexfloat << "(+-" << x << "): " << plus << ", " << minus;
    }
  }
}

// ---- Exact points -----------------------------------------------------------

TEST(AsinAcos, ExactAtRightAngles) {
  const float hpi4 = std::bit_cast<float>(0x3fc90fdbu);  // pi/2 rounded
  const float pi4 = std::bit_cast<float>(0x40490fdbu);   // pi rounded
  const struct {
    const char *name;
    Unary<float> fn;
    float x, expected;
  } rows4[] = {
      {"g_asin", g_asin, 1, hpi4}, {"g_asin", g_asin, -1, -hpi4},
      {"g_asin", g_asin, 0, 0},    {"g_asin", g_asin, -0.0f, -0.0f},
      {"g_acos", g_acos, 1, 0},    {"g_acos", g_acos, -1, pi4},
      {"g_acos", g_acos, 0, hpi4}, {"g_acos", g_acos, -0.0f, hpi4},
      {"g_asind", g_asind, 1, 90}, {"g_asind", g_asind, -1, -90},
      {"g_asind", g_asind, 0, 0},  {"g_asind", g_asind, -0.0f, -0.0f},
      {"g_acosd", g_acosd, 0, 90}, {"g_acosd", g_acosd, -0.0f, 90},
      {"g_acosd", g_acosd, 1, 0},  {"g_acosd", g_acosd, -1, 180},
      {"g_asinq", g_asinq, 1, 1},  {"g_asinq", g_asinq, -1, -1},
      {"g_asinq", g_asinq, 0, 0},  {"g_asinq", g_asinq, -0.0f, -0.0f},
      {"g_acosq", g_acosq, 0, 1},  {"g_acosq", g_acosq, -0.0f, 1},
      {"g_acosq", g_acosq, 1, 0},  {"g_acosq", g_acosq, -1, 2},
  };
  for (const auto &r : rows4) support::expect_exact(r.name, r.fn, r.x, r.expected);
  const double hpi8 = 1.5707963267948966, pi8 = 3.141592653589793;
  const struct {
    const char *name;
    Unary<double> fn;
    double x, expected;
  } rows8[] = {
      {"g_dasin", g_dasin, 1, hpi8}, {"g_dasin", g_dasin, -1, -hpi8},
      {"g_dasin", g_dasin, 0, 0},    {"g_dasin", g_dasin, -0.0, -0.0},
      {"g_dacos", g_dacos, 1, 0},    {"g_dacos", g_dacos, -1, pi8},
      {"g_dacos", g_dacos, 0, hpi8}, {"g_dacos", g_dacos, -0.0, hpi8},
      {"g_dasind", g_dasind, 1, 90}, {"g_dasind", g_dasind, -1, -90},
      {"g_dasind", g_dasind, 0, 0},  {"g_dasind", g_dasind, -0.0, -0.0},
      {"g_dacosd", g_dacosd, 0, 90}, {"g_dacosd", g_dacosd, -0.0, 90},
      {"g_dacosd", g_dacosd, 1, 0},  {"g_dacosd", g_dacosd, -1, 180},
      {"g_dasinq", g_dasinq, 1, 1},  {"g_dasinq", g_dasinq, -1, -1},
      {"g_dasinq", g_dasinq, 0, 0},  {"g_dasinq", g_dasinq, -0.0, -0.0},
      {"g_dacosq", g_dacosq, 0, 1},  {"g_dacosq", g_dacosq, -0.0, 1},
      {"g_dacosq", g_dacosq, 1, 0},  {"g_dacosq", g_dacosq, -1, 2},
  };
  for (const auto &r : rows8) support::expect_exact(r.name, r.fn, r.x, r.expected);
}

// ---- Errors -----------------------------------------------------------------

using support::kInfD;
using support::kInfF;
using support::kNaND;
using support::kNaNF;
const float kAbove1F = std::nextafter(1.0f, 2.0f);
const double kAbove1D = std::nextafter(1.0, 2.0);

// |x| above 1 or NaN. The arc sines default to the quarter turn signed by
// x > 0 (a NaN is not), the arc cosines to 0 for x > 1 and the half turn
// otherwise (a NaN included).
TEST(AsinAcos, ErrorsAndDefaults) {
  struct Unit4 {
    const char *asin_name, *acos_name;
    Unary<float> asin, acos;
    std::int32_t error;
    float quarter, half;
  };
  const Unit4 units4[] = {
      {"g_asin", "g_acos", g_asin, g_acos, 217, std::bit_cast<float>(0x3fc90fdbu),
       std::bit_cast<float>(0x40490fdbu)},
      {"g_asind", "g_acosd", g_asind, g_acosd, 1367, 90, 180},
      {"g_asinq", "g_acosq", g_asinq, g_acosq, 1357, 1, 2},
  };
  for (const Unit4 &u : units4) {
    for (float x : {kAbove1F, 2.0f, 1e30f, kInfF}) {
      support::expect_error_row(ErrorRow<float>{u.asin_name, u.asin, x, u.error, u.quarter, kNaNF});
      support::expect_error_row(
          ErrorRow<float>{u.asin_name, u.asin, -x, u.error, -u.quarter, kNaNF});
      support::expect_error_row(ErrorRow<float>{u.acos_name, u.acos, x, u.error, 0, kNaNF});
      support::expect_error_row(ErrorRow<float>{u.acos_name, u.acos, -x, u.error, u.half, kNaNF});
    }
    support::expect_error_row(
        ErrorRow<float>{u.asin_name, u.asin, kNaNF, u.error, -u.quarter, kNaNF});
    support::expect_error_row(ErrorRow<float>{u.acos_name, u.acos, kNaNF, u.error, u.half, kNaNF});
  }
  struct Unit8 {
    const char *asin_name, *acos_name;
    Unary<double> asin, acos;
    std::int32_t error;
    double quarter, half;
  };
  const Unit8 units8[] = {
      {"g_dasin", "g_dacos", g_dasin, g_dacos, 218, 1.5707963267948966, 3.141592653589793},
      {"g_dasind", "g_dacosd", g_dasind, g_dacosd, 1368, 90, 180},
      {"g_dasinq", "g_dacosq", g_dasinq, g_dacosq, 1358, 1, 2},
  };
  for (const Unit8 &u : units8) {
    for (double x : {kAbove1D, 2.0, 1e300, kInfD}) {
      support::expect_error_row(
          ErrorRow<double>{u.asin_name, u.asin, x, u.error, u.quarter, kNaND});
      support::expect_error_row(
          ErrorRow<double>{u.asin_name, u.asin, -x, u.error, -u.quarter, kNaND});
      support::expect_error_row(ErrorRow<double>{u.acos_name, u.acos, x, u.error, 0, kNaND});
      support::expect_error_row(ErrorRow<double>{u.acos_name, u.acos, -x, u.error, u.half, kNaND});
    }
    support::expect_error_row(
        ErrorRow<double>{u.asin_name, u.asin, kNaND, u.error, -u.quarter, kNaND});
    support::expect_error_row(ErrorRow<double>{u.acos_name, u.acos, kNaND, u.error, u.half, kNaND});
  }
}

TEST(AsinAcos, OneAndItsNeighboursBelowCompute) {
  for (auto fn : {g_asin, g_acos, g_asind, g_acosd, g_asinq, g_acosq}) {
    for (float x : {1.0f, std::nextafter(1.0f, 0.0f)}) {
      support::expect_no_report("Real4", fn, x);
      support::expect_no_report("Real4", fn, -x);
    }
  }
  for (auto fn : {g_dasin, g_dacos, g_dasind, g_dacosd, g_dasinq, g_dacosq}) {
    for (double x : {1.0, std::nextafter(1.0, 0.0)}) {
      support::expect_no_report("Real8", fn, x);
      support::expect_no_report("Real8", fn, -x);
    }
  }
}

TEST(AsinAcos, ResumeComputesTheReplacement) {
  support::expect_resume_with<float>(g_asin, 2.0f, 0.5f, 217);
  support::expect_resume_with<float>(g_acos, kNaNF, -0.75f, 217);
  support::expect_resume_with<float>(g_asind, -kInfF, 0.8f, 1367);
  support::expect_resume_with<float>(g_acosd, kAbove1F, 0.25f, 1367);
  support::expect_resume_with<float>(g_asinq, 1.5f, -0.9f, 1357);
  support::expect_resume_with<float>(g_acosq, -1.5f, 0.6f, 1357);
  support::expect_resume_with<double>(g_dasin, kInfD, 0.3, 218);
  support::expect_resume_with<double>(g_dacos, -kAbove1D, 0.71, 218);
  support::expect_resume_with<double>(g_dasind, kNaND, -0.6, 1368);
  support::expect_resume_with<double>(g_dacosd, 3.0, -0.2, 1368);
  support::expect_resume_with<double>(g_dasinq, -2.0, 0.55, 1358);
  support::expect_resume_with<double>(g_dacosq, 1e10, -0.95, 1358);
}

// A replacement still outside the domain reports again; declined, the
// default is the one of the replacement.
TEST(AsinAcos, ReplacementOutsideTheDomainReportsAgain) {
  support::Recorder rec(0);
  rec.answer = [](const support::Report &r, int index) {
    support::replace(r, 1, -3.0f);
    return index == 0 ? 1 : 0;
  };
  const float x = 1.5f;
  EXPECT_EQ(g_acos(&x), std::bit_cast<float>(0x40490fdbu));  // pi: the default of -3
  ASSERT_EQ(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports[0].number, 217);
  EXPECT_EQ(rec.reports[1].number, 217);
  EXPECT_EQ(rec.reports[1].value_as<float>(0), -3.0f);
}

}  // namespace
