// ulx_uexp against MPFR: its series errs by at most 8.95e-12 relative over
// [0, 1/64), the Real8 steps by about 2^-43: within 2^-36 (1.46e-11).
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>

#include "power/power.h"
#include "support/family_table.h"

namespace {

using namespace support;

TEST(RealPowerCores, Uexp) {
  Sampler s(7);
  oracle::Big e, d;
  double worst = 0;
  for (std::uint64_t i = 0; i < scaled(20000); ++i) {
    const double x = s.uniform(-700, 700);
    oracle::exact(e, mpfr_exp, x);
    mpfr_set_d(d, ulx_uexp(&x), MPFR_RNDN);
    const double rel = relative(d, e);
    worst = std::max(worst, rel);
    EXPECT_LE(rel, 0x1p-36) << std::hexfloat << x;
  }
  std::printf("  ulx_uexp [-700, 700): max %.3g relative\n", worst);
}

}  // namespace
