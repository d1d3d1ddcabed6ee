// The radian arc tangents return FPATAN rounded to their type, bit for bit,
// whichever route computes it (atan.cpp): each entry against the
// instruction itself on a few million arguments per entry, spread over the
// whole range with extra weight at the breakpoints of the SSE route, the
// ends of its table, |y| ~ |x|, the pi offsets of x < 0 and the signed
// zeros. The route runs wherever the load-time probe passes, under
// qemu-i386-static too (its FPATAN is within the bound); the counts scale
// with VEXMORG_TEST_SCALE. atan_route_slow_test screens every Real4.
#include <gtest/gtest.h>
#include <mpfr.h>
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstdint>
#include <iterator>

#include "common/bits.h"
#include "common/cpu.h"
#include "common/x87.h"
#include "elem/inverse_trig/atan_route.h"
#include "elem/inverse_trig/tables/atan_route_table.h"
#include "support/atan_route_arguments.h"
#include "support/family_table.h"

namespace {

using support::bits_of;
using support::scaled;

// atan(c) at every breakpoint c (five fraction bits, 2^-7 to 2^7), the
// nearest Real8 and the nearest Real8 to the rest.
TEST(AtanRoute, BreakpointTable) {
  mpfr_t v, rest;
  mpfr_inits2(320, v, rest, static_cast<mpfr_ptr>(nullptr));
  for (std::uint64_t i = 0; i < std::size(vx::atan_route_table::atan_c); ++i) {
    mpfr_set_d(v, vx::real8_from_bits((vx::atan_route_table::kFirst + i) << 47), MPFR_RNDN);
    mpfr_atan(v, v, MPFR_RNDN);
    const double high = mpfr_get_d(v, MPFR_RNDN);
    mpfr_sub_d(rest, v, high, MPFR_RNDN);
    EXPECT_EQ(vx::atan_route_table::atan_c[i].high, high) << i;
    EXPECT_EQ(vx::atan_route_table::atan_c[i].low, mpfr_get_d(rest, MPFR_RNDN)) << i;
  }
  mpfr_clears(v, rest, static_cast<mpfr_ptr>(nullptr));
}

TEST(AtanRoute, Real8AsTheInstruction) {
  support::Sampler s(0xa7a2);
  std::uint64_t differ = 0;
  for (std::uint64_t i = 0; i < scaled(2000000); ++i) {
    const double z = support::atan_magnitude(s), x = s.bits() & 1 ? -z : z;
    differ += !support::same_as_fpatan(g_datan(&x), x, 1.0, "g_datan");
    const auto [py, px] = support::atan2_pair(s);
    const double y = py, w = px;
    if (y == 0 && w == 0) continue;
    differ +=
        !support::same_as_fpatan(g_datan2(&y, &w), y == 0 ? 0.0 : y, w == 0 ? 0.0 : w, "g_datan2");
  }
  EXPECT_EQ(differ, 0u);
}

TEST(AtanRoute, Real4AsTheInstruction) {
  support::Sampler s(0xa7a4);
  std::uint64_t differ = 0;
  for (std::uint64_t i = 0; i < scaled(2000000); ++i) {
    // every other argument an arbitrary pattern (NaNs, infinities, subnormals)
    const float x = i & 1 ? vx::real4_from_bits(static_cast<std::uint32_t>(s.bits()))
                          : static_cast<float>(support::atan_magnitude(s));
    differ += !support::same_as_fpatan(g_atan(&x), x, 1.0f, "g_atan");
    const auto [py, px] = support::atan2_pair(s);
    const float y = static_cast<float>(py), w = static_cast<float>(px);
    if (y == 0 && w == 0) continue;
    differ +=
        !support::same_as_fpatan(g_atan2(&y, &w), y == 0 ? 0.0f : y, w == 0 ? 0.0f : w, "g_atan2");
  }
  EXPECT_EQ(differ, 0u);
}

TEST(AtanRoute, SignedZerosInfinitiesAndNaNs) {
  // The internal routes take what the entries never pass: -0.0 selects -0
  // or -pi, infinities the quarter and eighth turns, NaNs come through.
  const double specials[] = {0.0, -0.0, INFINITY, -INFINITY, NAN, -NAN, 1.0, -1.0, 0x1p-1074};
  for (const double y : specials) {
    for (const double x : specials) {
      EXPECT_EQ(bits_of(vx::rounded_fpatan(y, x)),
                bits_of(static_cast<double>(vx::x87::fpatan(y, x))))
          << y << ", " << x;
      const float fy = static_cast<float>(y), fx = static_cast<float>(x);
      EXPECT_EQ(bits_of(vx::rounded_fpatan(fy, fx)),
                bits_of(static_cast<float>(vx::x87::fpatan(fy, fx))))
          << y << ", " << x;
    }
    EXPECT_EQ(bits_of(vx::rounded_fpatan_over_one(y)),
              bits_of(static_cast<double>(vx::x87::fpatan(y, 1))));
  }
}

}  // namespace
