// Every Real4 argument of the degree and quadrant-unit functions (label
// slow, not in the default run): every positive argument below the limit
// 47200000 (degrees) or up to infinity (quadrant units), the negated one
// by symmetry, under the fast suite's 0.52 ulp (trig_units_test says why).
// The Real8 reference is the exact reduction x = 90 k + r (or k + r) and
// libm's function of r pi/180 (r pi/2), within a few 2^-53 relative.
//
// The Real4 shortcuts are compared with the register's steps they stand
// for: the degree reduction in Real8 for every argument above 90, the
// quadrant-unit sine and cosine in Real8 arithmetic for every argument.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "elem/trig_units/quadrant_series.h"
#include "elem/trig_units/unit_trig.h"
#include "support/family_table.h"

namespace {

using support::Screen;
using support::Symmetry;

enum class Kind { kSin, kCos, kTan, kCot };

// f(x) for x >= 0 in Real8; a NaN at a pole.
template <Kind kKind, bool kDegrees>
double reference(float x) {
  const double unit = kDegrees ? 90 : 1;
  const double k = std::nearbyint(static_cast<double>(x) / unit);
  const double r = static_cast<double>(x) - unit * k;  // exact
  const int q = static_cast<int>(std::fmod(k, 4));
  const double angle = r * (kDegrees ? M_PI / 180 : M_PI / 2);
  if (kKind == Kind::kSin || kKind == Kind::kCos) {
    const int p = kKind == Kind::kSin ? q : (q + 1) % 4;  // cos(x) = sin(x + 90)
    const double v = (p & 1) ? std::cos(angle) : std::sin(angle);
    return (p & 2) ? -v : v;
  }
  const bool odd = (q & 1) != 0;
  const bool tangent = odd == (kKind == Kind::kCot);  // even q: the function's own kernel
  if (!tangent && r == 0) return NAN;
  const double t = std::tan(angle);
  return (tangent ? t : 1 / t) * (odd ? -1 : 1);
}

double bound(float) { return 0.52; }

constexpr std::uint32_t kDegreeLimit = 0x4c340dc0;  // 47200000.0
constexpr std::uint32_t kInfinity = 0x7f800000;

TEST(TrigUnitsEveryReal4, Degrees) {
  const Screen screens[] = {
      {"g_sind", g_sind, reference<Kind::kSin, true>, oracle::sind, bound, Symmetry::odd},
      {"g_cosd", g_cosd, reference<Kind::kCos, true>, oracle::cosd, bound, Symmetry::even},
      {"g_tand", g_tand, reference<Kind::kTan, true>, oracle::tand, bound, Symmetry::odd},
      {"g_cotd", g_cotd, reference<Kind::kCot, true>, oracle::cotd, bound, Symmetry::odd}};
  for (const Screen &s : screens) support::every_real4(s, 0, kDegreeLimit);
}

TEST(TrigUnitsEveryReal4, QuadrantUnits) {
  const Screen screens[] = {
      {"g_sinq", g_sinq, reference<Kind::kSin, false>, oracle::sinq, bound, Symmetry::odd},
      {"g_cosq", g_cosq, reference<Kind::kCos, false>, oracle::cosq, bound, Symmetry::even},
      {"g_tanq", g_tanq, reference<Kind::kTan, false>, oracle::tanq, bound, Symmetry::odd},
      {"g_cotq", g_cotq, reference<Kind::kCot, false>, oracle::cotq, bound, Symmetry::odd}};
  for (const Screen &s : screens) support::every_real4(s, 0, kInfinity);
}

// The Real8 shortcut of the degree reduction gives the register's q and r.
TEST(TrigUnitsEveryReal4, DegreeReductionShortcut) {
  std::uint64_t differ = 0;
  for (std::uint32_t b = 0x42b40001; b < kDegreeLimit; ++b) {
    const float x = std::bit_cast<float>(b);
    const auto fast = vx::unit_trig::reduce_degrees(x);
    const auto slow = vx::unit_trig::reduce_degrees_in_register(x);
    if (((fast.q & 3) != (slow.q & 3) || fast.r != slow.r) && ++differ <= 5)
      ADD_FAILURE() << std::hexfloat << x << ": shortcut differs";
  }
  EXPECT_EQ(differ, 0u);
}

// The quadrant-unit entries (one-sum reduction, series in Real8) return the
// register's evaluation of the series on the two-step reduction, bit for
// bit, signs and exact zeros included.
TEST(TrigUnitsEveryReal4, QuadrantUnitsAsInTheRegister) {
  using K = vx::quadrant_series::r4::Kernels;
  std::uint64_t differ = 0;
  for (std::uint64_t b = 0; b <= 0xffffffff; ++b) {
    const float x = std::bit_cast<float>(static_cast<std::uint32_t>(b));
    const auto a = vx::unit_trig::reduce_quadrants(std::fabs(x));
    const auto a4 = vx::unit_trig::reduce_quadrants4(std::fabs(x));
    const long double s = vx::unit_trig::sine<K>(a);
    const float sine = static_cast<float>(std::signbit(x) ? -s : s);
    const float cosine = static_cast<float>(vx::unit_trig::cosine<K>(a));
    const bool same =
        (a.q & 3) == (a4.q & 3) && a.r == a4.r &&
        std::bit_cast<std::uint32_t>(g_sinq(&x)) == std::bit_cast<std::uint32_t>(sine) &&
        std::bit_cast<std::uint32_t>(g_cosq(&x)) == std::bit_cast<std::uint32_t>(cosine);
    if (!same && ++differ <= 5)
      ADD_FAILURE() << std::hexfloat << x << ": differs from the register";
  }
  EXPECT_EQ(differ, 0u);
}

}  // namespace
