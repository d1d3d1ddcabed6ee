// The fused multiply-add routes give the baseline routes' results.
//
// Where the processor has FMA, some Real8 kernels form their rounding
// bracket with fused multiply-adds; the baseline route (SSE2 and the x87
// register) stays for the other processors. Both must return the same bits
// for every argument: here each entry runs over random arguments of its
// ranges with the route switched on and off. The accuracy suites check the
// values themselves against MPFR.
#include <gtest/gtest.h>

#include <cmath>
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

const std::vector<Range> kArcRanges = {
    {0, 1, false},           {1e-320, 1, true}, {0x1.fp-8, 0x1.08p-7, false}, {0.499, 0.501, false},
    {0.7070, 0.7072, false}, {0.99, 1, false},  {1 - 1e-12, 1, false}};

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
    // Real8 arc sines and arc cosines: the series below 1/128 and the tables
    // above, around 1/128, 1/2, sqrt(1/2) (radians) and 1, and into the
    // subnormals (exact points in ArcExactPoints).
    {"g_dasinq", g_dasinq, kArcRanges},
    {"g_dacosq", g_dacosq, kArcRanges},
    {"g_dasind", g_dasind, kArcRanges},
    {"g_dacosd", g_dacosd, kArcRanges},
    {"g_dasin", g_dasin, kArcRanges},
    {"g_dacos", g_dacos, kArcRanges},
};

// The points where the arc routes switch: the table centres j/64 and
// 1 - j/64 with their neighbours, 1/128, 1/2, sqrt(1/2) and 1, zero.
TEST(ArcExactPoints, SameBitsAsBaseline) {
  const bool detected = vx::cpu::fma;
  if (!detected) GTEST_SKIP() << "this processor has no FMA";
  std::vector<double> xs = {0.0, 0x1p-7, 0.5, M_SQRT1_2, 1.0, 0x1p-900, 0x1p-901, 0x1p-1074};
  for (int j = 0; j <= 64; ++j) xs.push_back(j / 128.0), xs.push_back(1 - j / 128.0);
  for (double (*const fn)(const double *) :
       {g_dasinq, g_dacosq, g_dasind, g_dacosd, g_dasin, g_dacos}) {
    for (const double c : xs) {
      for (const double x : {c, std::nextafter(c, 0.0), std::nextafter(c, 2.0)}) {
        for (const double sx : {x, -x}) {
          vx::cpu::fma = true;
          const double a = fn(&sx);
          vx::cpu::fma = false;
          const double b = fn(&sx);
          EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0)
              << std::hexfloat << "x = " << sx << ": FMA route " << a << ", baseline " << b;
        }
      }
    }
  }
  vx::cpu::fma = detected;
}

INSTANTIATE_TEST_SUITE_P(Real8, FmaRoutes, ::testing::ValuesIn(routes),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
