// The faster routes give the register's results, bit for bit.
//
// g_dexp2 forms its mantissa on SSE with a rounding bracket (with fused
// multiply-adds where the processor has them, vx::cpu::fma) and takes the
// register only where the bracket leaves the rounding open: both routes are
// compared with the register evaluation itself. g_dlog2 and the Real8 arc
// sines and arc cosines take the register unless FMA is there: their FMA
// route is compared with that baseline. The accuracy suites check the
// values themselves against MPFR.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "common/bits.h"
#include "common/cpu.h"
#include "elem/exp_log/exp_kernel.h"
#include "support/family_table.h"

namespace {

using ld = long double;
using support::bits_of;

// |x| uniform in [lo, hi) with a random sign, or log-uniform.
struct Range {
  double lo, hi;
  bool log_scale;
};

double draw(support::Sampler &s, const Range &g) {
  return g.log_scale ? s.log_uniform_signed(g.lo, g.hi) : s.uniform_signed(g.lo, g.hi);
}

// g_dexp2 for |x| below 1021 as the register evaluates it: n = x + bg
// stored, f = x - (n - bg) exact, 2^m (H + (L + H f P(f))) with
// P(f) = p1 + f (p2 + f (p3 + f (p4 + f p5))) in the register.
double dexp2_in_register(double x) {
  const double n = x + 0x1.8p46;
  const ld f = x - (n - 0x1.8p46);
  const ld p =
      0.6931471805599453 +
      f * (0.24022650695877795 +
           f * (0.0555041086649867 + f * (0.009618143209793031 + f * 0.0013333546285662563)));
  return vx::exp_kernel::real8_result(vx::low_word(n), f, p);
}

struct Route {
  const char *name;
  double (*fn)(const double *);
  std::vector<Range> ranges;
  std::vector<double> points = {};  // checked with their neighbours, either sign
};

void PrintTo(const Route &r, std::ostream *os) { *os << r.name; }

// vx::cpu::fma set for a test, the detected value restored after it.
class FmaRoutes : public ::testing::TestWithParam<Route> {
 protected:
  void TearDown() override { vx::cpu::fma = detected_; }
  const bool detected_ = vx::cpu::fma;
};

// fn(x) with the FMA route and with the baseline, bit for bit.
bool same_routes(double (*fn)(const double *), double x, std::string *what) {
  vx::cpu::fma = true;
  const double a = fn(&x);
  vx::cpu::fma = false;
  const double b = fn(&x);
  if (bits_of(a) == bits_of(b)) return true;
  std::ostringstream o;
  o << std::hexfloat << "(" << x << "): FMA route " << a << ", baseline " << b;
  *what = o.str();
  return false;
}

TEST_F(FmaRoutes, Dexp2AsTheRegister) {
  for (const bool fma : {false, true}) {
    if (fma && !detected_) continue;
    vx::cpu::fma = fma;
    support::Sampler s(0xe2f0);
    std::uint64_t differ = 0;
    for (const Range g : {Range{0, 1021, false}, Range{1e-300, 1, true}}) {
      for (std::uint64_t i = 0; i < support::scaled(500000); ++i) {
        const double x = draw(s, g);
        const double got = g_dexp2(&x), want = dexp2_in_register(x);
        if (bits_of(got) != bits_of(want) && ++differ <= 5)
          ADD_FAILURE() << "g_dexp2(" << std::hexfloat << x << ") = " << got << " with fma " << fma
                        << ", the register " << want;
      }
    }
    EXPECT_EQ(differ, 0u) << "fma " << fma;
  }
}

TEST_P(FmaRoutes, SameBitsAsBaseline) {
  if (!detected_) GTEST_SKIP() << "this processor has no FMA";
  const Route &r = GetParam();
  support::Sampler s(0xf3a0000 + std::string(r.name).size());
  std::uint64_t differ = 0;
  std::string what;
  for (const Range &g : r.ranges)
    for (std::uint64_t i = 0; i < support::scaled(500000); ++i)
      if (!same_routes(r.fn, draw(s, g), &what) && ++differ <= 5) ADD_FAILURE() << r.name << what;
  for (const double c : r.points)
    for (const double x : {c, std::nextafter(c, 0.0), std::nextafter(c, 2.0)})
      for (const double sx : {x, -x}) EXPECT_TRUE(same_routes(r.fn, sx, &what)) << r.name << what;
  EXPECT_EQ(differ, 0u) << r.name;
}

// The arc series below 1/128 and the tables above, around 1/128, 1/2,
// sqrt(1/2) (radians) and 1, and into the subnormals; the switch points
// (the table centres j/128 and 1 - j/128 among them) with their neighbours.
const std::vector<Range> kArcRanges = {
    {0, 1, false},           {1e-320, 1, true}, {0x1.fp-8, 0x1.08p-7, false}, {0.499, 0.501, false},
    {0.7070, 0.7072, false}, {0.99, 1, false},  {1 - 1e-12, 1, false}};
std::vector<double> arc_points() {
  std::vector<double> xs = {0.0, 0x1p-7, 0.5, M_SQRT1_2, 1.0, 0x1p-900, 0x1p-901, 0x1p-1074};
  for (int j = 0; j <= 64; ++j) xs.push_back(j / 128.0), xs.push_back(1 - j / 128.0);
  return xs;
}

const Route kRoutes[] = {
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
    {"g_dasinq", g_dasinq, kArcRanges, arc_points()},
    {"g_dacosq", g_dacosq, kArcRanges, arc_points()},
    {"g_dasind", g_dasind, kArcRanges, arc_points()},
    {"g_dacosd", g_dacosd, kArcRanges, arc_points()},
    {"g_dasin", g_dasin, kArcRanges, arc_points()},
    {"g_dacos", g_dacos, kArcRanges, arc_points()},
};

INSTANTIATE_TEST_SUITE_P(Real8, FmaRoutes, ::testing::ValuesIn(kRoutes),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
