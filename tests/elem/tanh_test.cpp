// g_tanh and g_dtanh against MPFR range by range, their fixed values and
// their special arguments. Neither ever reports.
//
// Bounds (measured maxima printed by the run):
//   |x| <= 1: the rational forms are within 0.28 ulp (Real4) and 0.02 ulp
//     (Real8) of tanh, evaluated in the x87 register and rounded once:
//     asserted 0.8 and 0.55 (measured 0.707, 0.514).
//   1 < |x| < 9 (Real4): e^(-2|x|) and 1 - 2e/(e + 1) stay in the register:
//     0.51 (measured 0.5000).
//   1 < |x| < 18.369 (Real8): e = e^(-2|x|) from the processor in the
//     register (relative error ln2 |y| 2^-64, |y| < 53: nothing), the rest
//     in the register too, one rounding: 0.51 (measured 0.5002).
//   Beyond, 1.0: Real4 from 9.0 on is within 1 - tanh 9 = 0.511 ulp; Real8
//     from 18.369 on is 2e^(-36.738) = 1.998 ulp short of tanh 18.369, the
//     gap closing at 19.06 where tanh rounds to 1 (asserted 2.0 up to 19.1,
//     0.5 beyond).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/checks.h"
#include "support/ieee_constants.h"

namespace {

// Each range of |x| with its bound in ulps.
struct Bounded {
  support::Range range;
  double bound;
};

template <class T>
void run_ranges(const char *name, support::Unary<T> fn, std::initializer_list<Bounded> ranges) {
  for (const Bounded &b : ranges)
    support::expect_accuracy_in<T>(name, fn, mpfr_tanh, b.range, support::scaled(100000),
                                   support::ulps(b.bound));
}

TEST(Tanh4, AgainstMpfr) {
  run_ranges<float>("g_tanh", g_tanh, {{0, 1, 0.8}, {1, 9, 0.51}, {9, 20, 0.512}});
}

TEST(Tanh8, AgainstMpfr) {
  run_ranges<double>("g_dtanh", g_dtanh,
                     {{0, 1, 0.55}, {1, 18.369, 0.51}, {18.369, 19.1, 2.0}, {19.1, 40, 0.5}});
}

// Both sides of the switch points.
TEST(Tanh, SwitchPoints) {
  support::Recorder rec;
  for (float x : {1.0f, std::nextafter(1.0f, 2.0f), std::nextafter(9.0f, 0.0f)}) {
    for (float v : {x, -x}) EXPECT_LE(oracle::ulp_error(g_tanh(&v), mpfr_tanh, v), 0.8) << v;
  }
  for (double x : {1.0, std::nextafter(1.0, 2.0), std::nextafter(18.369, 0.0)}) {
    for (double v : {x, -x}) EXPECT_LE(oracle::ulp_error(g_dtanh(&v), mpfr_tanh, v), 0.55) << v;
  }
  EXPECT_TRUE(rec.reports.empty());
}

using support::kInfD;
using support::kInfF;

// From the switch point on the value is exactly +-1.0; tiny arguments give
// themselves.
TEST(Tanh, FixedValues) {
  const struct {
    float x, want;
  } rows4[] = {{9.0f, 1.0f},    {-20.0f, -1.0f}, {1e30f, 1.0f},    {kInfF, 1.0f},
               {-kInfF, -1.0f}, {0.0f, 0.0f},    {1e-30f, 1e-30f}, {-0x1p-149f, -0x1p-149f}};
  for (const auto &r : rows4) support::expect_exact("g_tanh", g_tanh, r.x, r.want);
  const struct {
    double x, want;
  } rows8[] = {{18.369, 1.0},  {-18.369, -1.0}, {-1e300, -1.0},  {kInfD, 1.0},
               {-kInfD, -1.0}, {0.0, 0.0},      {1e-300, 1e-300}};
  for (const auto &r : rows8) support::expect_exact("g_dtanh", g_dtanh, r.x, r.want);
}

// -0 goes through x + (x s) P / Q, whose correction term is +0: the result
// is a zero (of positive sign, as the formula leaves it).
TEST(Tanh, NegativeZero) {
  const float z4 = -0.0f;
  const double z8 = -0.0;
  EXPECT_EQ(g_tanh(&z4), 0.0f);
  EXPECT_EQ(g_dtanh(&z8), 0.0);
}

// A NaN fails g_tanh's range tests and gives 1.0 (whatever its sign); in
// g_dtanh it takes the exponential branch and gives a NaN. No reports.
TEST(Tanh, NaNs) {
  for (std::uint32_t b : {0x7fc00000u, 0xffc00000u, 0x7f800001u}) {
    support::expect_exact("g_tanh", g_tanh, std::bit_cast<float>(b), 1.0f);
  }
  support::Recorder rec;
  for (std::uint64_t b : {0x7ff8000000000000ull, 0xfff8000000000000ull}) {
    const double x = std::bit_cast<double>(b);
    EXPECT_TRUE(std::isnan(g_dtanh(&x)));
  }
  EXPECT_TRUE(rec.reports.empty());
}

}  // namespace
