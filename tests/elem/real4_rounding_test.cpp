// The Real8 route to Real4 results (elem/real4_rounding.h): the test that
// decides when a Real8 value rounds to Real4 as every value within
// kReal4Slack units of its last place would, and the fallback to the
// register's evaluation where it does not.
//
// The property is checked directly: for each accepted d, the Real8 values
// kReal4Slack places below and above it round to the same Real4 (those two
// bound every value in between, rounding being monotonic). Half-way points,
// their neighbourhoods and the ends of the normal Real4 range come from a
// table.
#include "common/real4_rounding.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "elem/inverse_trig/inverse_trig.h"
#include "support/sampling.h"

namespace {

using vx::kReal4Slack;
using vx::rounds_as_real4;

double from_bits(std::uint64_t b) { return std::bit_cast<double>(b); }
std::uint64_t to_bits(double d) { return std::bit_cast<std::uint64_t>(d); }

// The Real4 half-way point above the Real4 value f, as a Real8.
double half_way_above(float f) {
  return (double{f} + double{std::nextafter(f, std::numeric_limits<float>::infinity())}) / 2;
}

TEST(Real4Rounding, Table) {
  const double half = half_way_above(1.2345f);
  struct Case {
    const char *what;
    double d;
    bool accepted;
  };
  const Case cases[] = {
      {"a half-way point", half, false},
      {"slack places below it", from_bits(to_bits(half) - kReal4Slack), false},
      {"slack places above it", from_bits(to_bits(half) + kReal4Slack), false},
      {"slack + 1 places below it", from_bits(to_bits(half) - kReal4Slack - 1), true},
      {"slack + 1 places above it", from_bits(to_bits(half) + kReal4Slack + 1), true},
      {"a negative half-way point", -half_way_above(0.7f), false},
      {"a Real4 value", 0.75, true},
      {"a negative Real4 value", -180.0, true},
      {"the smallest normal Real4", 0x1p-126, true},
      {"just below it", std::nextafter(0x1p-126, 0.0), false},
      {"a Real4 subnormal", 0x1p-140, false},
      {"zero", 0.0, false},
      {"minus zero", -0.0, false},
      {"the largest Real4", double{std::numeric_limits<float>::max()}, true},
      {"the half-way point to overflow", 0x1p128 - 0x1p103, false},
      {"2^128", 0x1p128, false},
      {"infinity", std::numeric_limits<double>::infinity(), false},
      {"NaN", std::numeric_limits<double>::quiet_NaN(), false},
  };
  for (const Case &c : cases) EXPECT_EQ(rounds_as_real4(c.d), c.accepted) << c.what;
}

TEST(Real4Rounding, AcceptedValuesRoundAlikeWithinTheSlack) {
  support::Sampler rng(0x4e4a1);
  const std::uint64_t n = support::scaled(2000000);
  std::uint64_t rejected = 0;
  for (std::uint64_t i = 0; i < n; ++i) {
    // Random significands over exponents of the whole normal Real4 range,
    // and half of them pushed to within 4 slacks of a half-way point.
    const int exponent = static_cast<int>(rng.uniform(-126.0, 128.0));
    std::uint64_t b = to_bits(std::ldexp(rng.uniform(1.0, 2.0), exponent));
    if (i % 2)
      b = (b & ~std::uint64_t{0x1fffffff}) + 0x10000000 + (b % (8 * kReal4Slack)) - 4 * kReal4Slack;
    const double d = from_bits(b);
    if (!rounds_as_real4(d)) {
      ++rejected;
      continue;
    }
    const float f = static_cast<float>(d);
    ASSERT_EQ(static_cast<float>(from_bits(b - kReal4Slack)), f) << std::hexfloat << d;
    ASSERT_EQ(static_cast<float>(from_bits(b + kReal4Slack)), f) << std::hexfloat << d;
  }
  // About a quarter of the values pushed near a half-way point fall within
  // the slack; the random half almost never does.
  EXPECT_GT(rejected, n / 16);
  EXPECT_LT(rejected, n / 4);
}

TEST(Real4Rounding, TheRegisterDecidesWhereRealEightCannot) {
  // A Real8 evaluation that lands on a half-way point, while the register's
  // evaluation lies just below it: the register's rounding is returned.
  const double half = half_way_above(1.5f);
  const long double below = static_cast<long double>(half) - 0x1p-40L;
  const auto evaluate = [&](auto e) -> decltype(e) {
    if constexpr (sizeof(e) == sizeof(double)) {
      return half;
    } else {
      return below;
    }
  };
  EXPECT_EQ(vx::via_real8<float>(evaluate), 1.5f);
  // Clear of a half-way point, the Real8 value is used.
  const auto clear = [](auto e) -> decltype(e) {
    if constexpr (sizeof(e) == sizeof(double)) {
      return 2.0;
    } else {
      return 3.0L;
    }
  };
  EXPECT_EQ(vx::via_real8<float>(clear), 2.0f);
  // A Real8 result is always the register's.
  EXPECT_EQ(vx::via_real8<double>(clear), 3.0);
}

TEST(Real4Rounding, SquareRootsAreCorrectlyRoundedInBothArithmetics) {
  support::Sampler rng(0x5c27);
  // IEEE square roots are correctly rounded: SQRTSD against the library's
  // sqrt, FSQRT against sqrtl, on the arguments the arc functions take.
  for (std::uint64_t i = 0; i < support::scaled(100000); ++i) {
    const double v = rng.uniform(0.0, 1.0);
    const long double w = v + rng.uniform(0.0, 1.0) * 0x1p-60L;
    ASSERT_EQ(vx::square_root(v), std::sqrt(v)) << std::hexfloat << v;
    ASSERT_EQ(vx::square_root(w), std::sqrt(w)) << std::hexfloat << w;
  }
}

}  // namespace
