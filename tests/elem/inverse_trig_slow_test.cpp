// Every Real4 argument of the arc sines and arc cosines (all of [-1, 1])
// and of the arc tangents in degrees and quadrant units (every finite
// value), under the bounds of inverse_trig_test (label slow, not in the
// default run). The Real8 reference is libm's function scaled to the unit,
// within 2^-50 relative.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "oracle/angle_units.h"
#include "support/family_table.h"

namespace {

using oracle::in_unit;
using oracle::kDegrees;
using oracle::kQuadrants;
using support::Screen;
using support::Symmetry;

constexpr double kDeg = 180 / std::numbers::pi, kQuad = 2 / std::numbers::pi;

template <double (*F)(double), const double &kUnit>
double reference(float x) {
  return F(x) * kUnit;
}
constexpr double kRadian = 1;

template <int kHundredths, int kTurnHundredths = kHundredths>
double bound(float x) {
  return (std::fabs(x) >= 0x1p24f ? kTurnHundredths : kHundredths) / 100.0;
}

TEST(InverseTrigEveryReal4, ArcSinesAndArcCosines) {
  const Screen screens[] = {
      {"g_asin", g_asin, reference<::asin, kRadian>, mpfr_asin, bound<70>, Symmetry::odd},
      {"g_acos", g_acos, reference<::acos, kRadian>, mpfr_acos, bound<70>, Symmetry::none},
      {"g_asind", g_asind, reference<::asin, kDeg>, in_unit<mpfr_asinu, kDegrees>, bound<55>,
       Symmetry::odd},
      {"g_acosd", g_acosd, reference<::acos, kDeg>, in_unit<mpfr_acosu, kDegrees>, bound<55>,
       Symmetry::none},
      {"g_asinq", g_asinq, reference<::asin, kQuad>, in_unit<mpfr_asinu, kQuadrants>, bound<80>,
       Symmetry::odd},
      {"g_acosq", g_acosq, reference<::acos, kQuad>, in_unit<mpfr_acosu, kQuadrants>, bound<80>,
       Symmetry::none}};
  for (const Screen &s : screens) support::every_real4(s, 0, 0x3f800001);  // to 1.0
}

TEST(InverseTrigEveryReal4, ArcTangents) {
  const Screen screens[] = {{"g_atand", g_atand, reference<::atan, kDeg>,
                             in_unit<mpfr_atanu, kDegrees>, bound<55>, Symmetry::odd},
                            {"g_atanq", g_atanq, reference<::atan, kQuad>,
                             in_unit<mpfr_atanu, kQuadrants>, bound<55, 64>, Symmetry::odd}};
  for (const Screen &s : screens) support::every_real4(s, 0, 0x7f800000);  // to infinity
}

}  // namespace
