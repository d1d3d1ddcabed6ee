// The cores of the real powers, called directly: ulx_uexp against MPFR,
// and the overflow flags of ulx_gpow and ulx_gpwd.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "power/power.h"
#include "support/checks.h"

namespace {

// ulx_uexp: e^x to single precision. The series 1 + r (u1 + r (u2 + r u3))
// errs by at most 8.95e-12 relative over [0, 1/64) (2^r against it at 4000
// points) and the Real8 steps, x log2e included (x up to 700 times 2^-53),
// by about 2^-43: within 2^-36 (1.46e-11) relative of e^x.
TEST(RealPowerCores, Uexp) {
  support::Sampler s(7);
  oracle::Big e, d;
  double worst = 0;
  for (std::uint64_t i = 0; i < support::scaled(20000); ++i) {
    const double x = s.uniform(-700, 700);
    const double got = ulx_uexp(&x);
    oracle::exact(e, mpfr_exp, x);
    mpfr_set_d(d, got, MPFR_RNDN);
    mpfr_div(d, d, e, MPFR_RNDN);
    mpfr_sub_ui(d, d, 1, MPFR_RNDN);
    const double rel = std::fabs(mpfr_get_d(d, MPFR_RNDN));
    worst = std::max(worst, rel);
    EXPECT_LE(rel, 0x1p-36) << std::hexfloat << x;
  }
  std::printf("  ulx_uexp [-700, 700): max %.3g relative\n", worst);
}

// w = y log2 x at or beyond the top of the range: the flag is set to the
// operator's number and the huge value comes back; below the range, +0
// and no flag.
TEST(RealPowerCores, Flags) {
  struct Case {
    double x, y;
    bool real4;
    std::int32_t flag;
    std::uint64_t want;  // bits of the Real8 result
  };
  const Case cases[] = {
      {2, 128, true, 1416, std::bit_cast<std::uint64_t>(double{std::bit_cast<float>(0x7f7fffeeu)})},
      {2, 127.5, true, 0, std::bit_cast<std::uint64_t>(std::exp2(127.5))},
      {2, -127.5, true, 0, 0},
      {2, 1024, false, 1417, 0x7fefffffffffffb6},
      {2, 1023.9999999999, false, 0, std::bit_cast<std::uint64_t>(std::exp2(1023.9999999999))},
      {2, -1080.5, false, 0, 0},
      {INFINITY, 1, false, 1417, 0x7fefffffffffffb6},
  };
  for (const Case &c : cases) {
    std::int32_t flag = 0;
    const double got = c.real4 ? ulx_gpow(static_cast<float>(c.x), static_cast<float>(c.y), &flag)
                               : ulx_gpwd(c.x, c.y, &flag);
    EXPECT_EQ(flag, c.flag) << c.x << " ** " << c.y;
    if (c.real4 && c.flag == 0 && c.want != 0)  // the Real4 core to single precision
      EXPECT_NEAR(got / std::bit_cast<double>(c.want), 1, 1e-7) << c.x << " ** " << c.y;
    else
      EXPECT_EQ(std::bit_cast<std::uint64_t>(got), c.want) << c.x << " ** " << c.y;
  }
}

}  // namespace
