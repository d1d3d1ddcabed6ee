// The fused multiply-add routes give the baseline routes' results.
//
// Where the processor has FMA, some Real8 kernels form their rounding
// bracket with fused multiply-adds; the baseline route (SSE2 and the x87
// register) stays for the other processors. Both must return the same bits
// for every argument: here each entry runs over random arguments of its
// ranges with the route switched on and off. The accuracy suites check the
// values themselves against MPFR.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "common/cpu.h"
#include "support/sampling.h"
#include "vexmorg/vexmorg.h"

namespace {

struct Range {
  double lo, hi;  // |x| uniform in [lo, hi) with a random sign, or log-uniform
  bool log_scale;
};

struct Route {
  const char *name;
  double (*fn)(const double *);
  std::vector<Range> ranges;
};

void PrintTo(const Route &r, std::ostream *os) { *os << r.name; }

// Restores the detected feature after each test.
class FmaRoutes : public ::testing::TestWithParam<Route> {
 protected:
  void SetUp() override {
    if (!detected_) GTEST_SKIP() << "this processor has no FMA";
  }
  void TearDown() override { vx::cpu::fma = detected_; }
  const bool detected_ = vx::cpu::fma;
};

TEST_P(FmaRoutes, SameBitsAsBaseline) {
  const Route &r = GetParam();
  support::Sampler s(0xf3a0000 + std::strlen(r.name));
  const std::uint64_t n = support::scaled(1000000);
  std::uint64_t differ = 0;
  for (const Range &g : r.ranges) {
    for (std::uint64_t i = 0; i < n; ++i) {
      const double x =
          g.log_scale ? s.log_uniform_signed(g.lo, g.hi) : s.uniform_signed(g.lo, g.hi);
      vx::cpu::fma = true;
      const double a = r.fn(&x);
      vx::cpu::fma = false;
      const double b = r.fn(&x);
      if (std::memcmp(&a, &b, sizeof a) != 0 && ++differ <= 5)
        ADD_FAILURE() << r.name << "(" << std::hexfloat << x << "): FMA route " << a
                      << ", baseline " << b;
    }
  }
  EXPECT_EQ(differ, 0u) << r.name;
}

const Route routes[] = {
    {"g_dexp2", g_dexp2, {{0, 1030, false}, {1e-300, 1, true}}},
    // Both branches (next to 1 and the table), around their bounds 0.9921875
    // and 1.0078125, over the whole exponent range and into the subnormals.
    {"g_dlog2",
     g_dlog2,
     {{0.75, 1.5, false},
      {0.98, 1.02, false},
      {1.96, 2.04, false},
      {0x1.fbfffp-1, 0x1.fc001p-1, false},
      {0x1.01fffp+0, 0x1.02001p+0, false},
      {1e-320, 1e308, true}}},
};

INSTANTIATE_TEST_SUITE_P(Real8, FmaRoutes, ::testing::ValuesIn(routes),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
