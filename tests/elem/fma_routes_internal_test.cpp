// The faster routes give the register's results, bit for bit.
//
// g_dexp2 forms its mantissa on SSE with a rounding bracket (with fused
// multiply-adds where the processor has them, vx::cpu::fma) and takes the
// register only where the bracket leaves the rounding open: both routes are
// compared with the register evaluation itself. g_dlog2 and the Real8 arc
// sines and arc cosines take the register unless FMA is there: their FMA
// route is compared with that baseline. g_exp, g_log, g_log10 (and the
// alog forms) and g_dexp, g_dlog, g_dlog10 run their x87 instructions
// unless the load-time probe (vx::cpu::x87_exp_log) and, for Real8, FMA
// allow the SSE route: the route is compared with the instructions. Where
// the probe or FMA is off (an emulated x87), both runs take the
// instructions and agree trivially. The accuracy suites check the values
// themselves against MPFR.
#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <bit>
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

// vx::cpu::fma and x87_exp_log set for a test, the detected values
// restored after it.
class FmaRoutes : public ::testing::TestWithParam<Route> {
 protected:
  void TearDown() override { vx::cpu::fma = detected_, vx::cpu::x87_exp_log = x87_; }
  const bool detected_ = vx::cpu::fma, x87_ = vx::cpu::x87_exp_log;
};

// fn(x) with the routes the processor allows and with the baseline (the
// x87 register), bit for bit.
template <class T>
bool same_routes(T (*fn)(const T *), T x, std::string *what) {
  vx::cpu::fma = true;
  const T a = fn(&x);
  vx::cpu::fma = vx::cpu::x87_exp_log = false;
  const T b = fn(&x);
  if (bits_of(a) == bits_of(b)) return true;
  std::ostringstream o;
  o << std::hexfloat << "(" << x << "): route " << a << ", baseline " << b;
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
      if (vx::cpu::x87_exp_log = x87_; !same_routes(r.fn, draw(s, g), &what) && ++differ <= 5)
        ADD_FAILURE() << r.name << what;
  for (const double c : r.points)
    for (const double x : {c, std::nextafter(c, 0.0), std::nextafter(c, 2.0)})
      for (const double sx : {x, -x})
        EXPECT_TRUE((vx::cpu::x87_exp_log = x87_, same_routes(r.fn, sx, &what))) << r.name << what;
  EXPECT_EQ(differ, 0u) << r.name;
}

// The Real4 exponential and logarithms: random bit patterns over |x| < 89
// and over the positive numbers (subnormals included), and next to 1.
TEST_F(FmaRoutes, X87Real4AsTheInstructions) {
  const struct {
    const char *name;
    float (*fn)(const float *);
    std::uint32_t lo, hi;  // bit patterns [lo, hi), either sign for g_exp
  } kEntries[] = {{"g_exp", g_exp, 0, 0x42b20000},
                  {"g_log", g_log, 1, 0x7f800000},
                  {"g_alog", g_alog, 0x3f700000, 0x3f880000},
                  {"g_log10", g_log10, 1, 0x7f800000},
                  {"g_alog10", g_alog10, 0x3f700000, 0x3f880000}};
  support::Sampler s(0x87e4);
  for (const auto &e : kEntries) {
    std::uint64_t differ = 0;
    std::string what;
    for (std::uint64_t i = 0; i < support::scaled(1000000); ++i) {
      std::uint32_t b = e.lo + static_cast<std::uint32_t>(s.bits() % (e.hi - e.lo));
      if (e.fn == g_exp) b |= static_cast<std::uint32_t>(s.bits()) & 0x80000000;
      vx::cpu::fma = detected_, vx::cpu::x87_exp_log = x87_;
      if (!same_routes(e.fn, std::bit_cast<float>(b), &what) && ++differ <= 5)
        ADD_FAILURE() << e.name << what;
    }
    EXPECT_EQ(differ, 0u) << e.name;
  }
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

// The exponential: y = x log2(e) over the whole range and next to the
// roundings of FRNDINT (y at k + 1/2: x at (k + 1/2) ln 2, the points), to
// 2^-54 and to 708 where the route ends.
std::vector<double> exp_points() {
  std::vector<double> xs = {0x1p-54, 708.0, 0.5 * M_LN2, M_LN2, 1.0};
  for (int k = -1022; k <= 1022; k += 7) xs.push_back((k + 0.5) * M_LN2);
  return xs;
}
// The logarithms: every point of the route's table and the powers of two.
std::vector<double> log_points() {
  std::vector<double> xs = {1.0, 0x1p-1022, 0x1.fffffffffffffp+1023};
  for (int j = 0; j <= 128; ++j) xs.push_back(j < 64 ? 0.75 + j / 256.0 : 1 + (j - 64) / 128.0);
  for (int e = -1020; e <= 1020; e += 17) xs.push_back(std::ldexp(1.0, e));
  return xs;
}
const std::vector<Range> kLogRanges = {{1e-320, 1e308, true},
                                       {0.75, 1.5, false},
                                       {1 - 0x1p-8, 1 + 0x1p-7, false},
                                       {1 - 1e-9, 1 + 1e-9, false}};

const Route kRoutes[] = {
    {"g_dexp",
     g_dexp,
     {{0, 710, false}, {0x1p-60, 8, true}, {0.34, 0.35, false}, {0.69, 0.7, false}},
     exp_points()},
    {"g_dlog", g_dlog, kLogRanges, log_points()},
    {"g_dlog10", g_dlog10, kLogRanges, log_points()},
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
