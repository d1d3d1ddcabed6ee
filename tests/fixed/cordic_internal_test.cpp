// The CORDIC kernels and their tables: every table entry and constant
// recomputed with MPFR, and each kernel, regime by regime, against MPFR.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "fixed/tables/angles.h"
#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using oracle::Big;
using support::real16;
using support::Real16Test;
namespace angles = vx::fixed::angles;

// v 2^(128 - scale) rounded to nearest, as Fixed128 words.
Fixed128 fixed_of(mpfr_srcptr v, int scale) {
  Big t;
  mpfr_mul_2si(t, v, 128 - scale, MPFR_RNDN);
  support::Mpz n;
  mpfr_get_z(n.get(), t, MPFR_RNDN);
  const std::uint64_t hi = support::word_of(n.get(), 1), lo = support::word_of(n.get(), 0);
  return {{static_cast<std::uint32_t>(hi >> 32), static_cast<std::uint32_t>(hi),
           static_cast<std::uint32_t>(lo >> 32), static_cast<std::uint32_t>(lo)}};
}
Real16 neg(Real16 x) { return x.w[3] ^= support::kSign16, x; }
bool same(const Fixed128 &a, const Fixed128 &b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool twice(int i) { return i == 4 || i == 13 || i == 40; }  // the repeated hyperbolic shifts

// Every entry is the rounded atan(2^-k) (atanh from k = 1); from k = 1 to 63 they add up to
// the CORDIC reach: 0.95788845 radians, 54.882966 degrees, 0.60981073 quadrant units, 1.1181730
// hyperbolic (shifts 4, 13, 40 twice).
TEST(CordicTables, EveryEntryIsTheRoundedAngle) {
  const struct {
    const Fixed128 *table;
    int entries, scale;
    unsigned long turn;  // 0 radians, 360 degrees, 4 quadrant units; 1 atanh
    double reach;
  } tables[] = {{angles::at, 44, 1, 0, 0.95788845},
                {angles::ad, 128, 6, 360, 54.882966},
                {angles::aq, 128, 0, 4, 0.60981073},
                {angles::ah, 44, 1, 1, 1.1181730}};
  for (const auto &t : tables) {
    Big v, sum(0.0);
    for (int k = 0; k < std::max(t.entries, 64); ++k) {
      mpfr_set_ui_2exp(v, 1, -k, MPFR_RNDN);
      if (t.turn == 1)
        k == 0 ? mpfr_set_zero(v, 1) : (void)mpfr_atanh(v, v, MPFR_RNDN);
      else
        t.turn ? mpfr_atanu(v, v, t.turn, MPFR_RNDN) : mpfr_atan(v, v, MPFR_RNDN);
      for (int n = k >= 1 && k < 64 ? 1 + (t.turn == 1 && twice(k)) : 0; n > 0; --n)
        mpfr_add(sum, sum, v, MPFR_RNDN);
      EXPECT_TRUE(k >= t.entries || same(t.table[k], fixed_of(v, t.scale))) << t.turn << " " << k;
    }
    EXPECT_NEAR(mpfr_get_d(sum, MPFR_RNDN), t.reach, t.reach * 1e-7);
  }
}

// The gains 1 / prod sqrt(1 +- 2^-2i) over each kernel's shifts (ulx_gusc 0x6decad8b 0x3be09b75
// 0xb30ef5bc 0xbcd4618f, last word 0xbcd4618e for ulx_gusd/ulx_gusq; ulx_gush 0x9a8f4390
// 0x07761194 0xb2527647 0x53e1ef99), radians per degree unit (32 pi/180), quadrant unit (pi/4).
TEST(CordicTables, GainsAndUnits) {
  auto gain = [](int sign, int last, bool hyperbolic) {
    Big g(1.0), f;
    for (int i = 1; i <= last; ++i) {
      mpfr_set_ui_2exp(f, 1, -2 * i, MPFR_RNDN);
      sign > 0 ? mpfr_add_ui(f, f, 1, MPFR_RNDN) : mpfr_ui_sub(f, 1, f, MPFR_RNDN);
      mpfr_mul(g, g, f, MPFR_RNDN);
      if (hyperbolic && twice(i)) mpfr_mul(g, g, f, MPFR_RNDN);
    }
    mpfr_rec_sqrt(g, g, MPFR_RNDN);
    return fixed_of(g, 1);
  };
  EXPECT_TRUE(same(angles::rk_circular, gain(1, 63, false)));
  EXPECT_TRUE(same(angles::rk_circular_units, gain(1, 150, false)));
  EXPECT_TRUE(same(angles::rk_hyperbolic, gain(-1, 64, true)));
  Big pi;
  mpfr_const_pi(pi, MPFR_RNDN);
  mpfr_div_2ui(pi, pi, 2, MPFR_RNDN);
  EXPECT_TRUE(same(angles::radians_per_quadrant_unit, fixed_of(pi, 0)));
  mpfr_mul_ui(pi, pi, 128, MPFR_RNDN), mpfr_div_ui(pi, pi, 180, MPFR_RNDN);
  EXPECT_TRUE(same(angles::radians_per_degree_unit, fixed_of(pi, 0)));
}

// A regime: |x| with a high word from `lo` to `hi`, and its bound in ulps.
struct Regime {
  const char *name;
  std::uint32_t lo, hi;
  double bound;
};
struct Kernel {
  const char *name;
  void (*sine)(std::int32_t, Real16, Real16 *, Real16 *);  // or
  Real16 *(*tangent)(Real16 *, std::int32_t, Real16);
  oracle::Fn1 first, second;  // sin, cos (sinh, cosh; tan, cot)
  bool tiny_writes_both;      // the degree and quadrant sines below 2^-64
  Regime regimes[3];
};
// CORDIC up to the table's reach (tangents to pi/4, 45 degrees, 0.5 units), the series from
// 2^-64, below it sin x = x (times pi/180 or pi/2, rounded: 1.5 ulp) and cos 1; the degree and
// quadrant series cotangents add two rounded quotients (2 ulp).
constexpr std::uint32_t kTiny = 0x3f000000, k64 = 0x3fbf0000;  // 2^-64
// clang-format off
const Kernel kKernels[] = {
    {"ulx_gusc", ulx_gusc, nullptr, mpfr_sin, mpfr_cos, false,
     {{"cordic", 0x3ff60001, 0x3ffeea70, 1}, {"series", k64, 0x3ff60000, 1}, {"tiny", kTiny, k64 - 1, 0.5}}},
    {"ulx_gusd", ulx_gusd, nullptr, oracle::sind, oracle::cosd, true,
     {{"cordic", 0x3ffe0001, 0x4004b70f, 1}, {"series", k64, 0x3ffe0000, 1}, {"tiny", kTiny, k64 - 1, 1.5}}},
    {"ulx_gusq", ulx_gusq, nullptr, oracle::sinq, oracle::cosq, true,
     {{"cordic", 0x3ff60001, 0x3ffe3838, 1}, {"series", k64, 0x3ff60000, 1.5}, {"tiny", kTiny, k64 - 1, 1.5}}},
    {"ulx_gush", ulx_gush, nullptr, mpfr_sinh, mpfr_cosh, false,
     {{"cordic", 0x3ff88938, 0x3fff1e3f, 1}, {"series", k64, 0x3ff88937, 1}, {"tiny", kTiny, k64 - 1, 0.5}}},
    {"ulx_gutc", nullptr, ulx_gutc, mpfr_tan, mpfr_cot, false,
     {{"cordic", 0x3ff70001, 0x3ffe921f, 1}, {"series", k64, 0x3ff70000, 1}, {"tiny", kTiny, k64 - 1, 0.5}}},
    {"ulx_gutd", nullptr, ulx_gutd, oracle::tand, oracle::cotd, false,
     {{"cordic", 0x3ffc6801, 0x40046800, 1}, {"series", k64, 0x3ffc6800, 2}, {"tiny", kTiny, k64 - 1, 1.5}}},
    {"ulx_gutq", nullptr, ulx_gutq, oracle::tanq, oracle::cotq, false,
     {{"cordic", 0x3ff60000, 0x3ffdffff, 1}, {"series", k64, 0x3ff5ffff, 2}, {"tiny", kTiny, k64 - 1, 1.5}}},
};
// clang-format on

// Results m (0 and 1) at x; `unset` where the mode (bit m) leaves them.
constexpr Real16 kUnset = real16(0x12345678, 1, 2, 3);
void call(const Kernel &k, std::int32_t mode, const Real16 &x, Real16 out[2]) {
  out[0] = out[1] = kUnset;
  if (k.sine) return k.sine(mode, x, &out[0], &out[1]);
  for (int m = 0; m < 2; ++m)
    if (mode & (1 << m) && k.tangent(&out[m], m, x) != &out[m]) ADD_FAILURE() << "result address";
}

// Each regime against MPFR; f(-x) = -f(x) (cos(-x) = cos(x)) bit for bit; a sine kernel asked
// for one result gives the same bits and leaves the other alone.
TEST_F(Real16Test, CordicKernelsAgainstMpfr) {
  for (const auto &k : kKernels) {
    for (const auto &r : k.regimes) {
      double worst[2] = {0, 0};
      for (std::uint64_t n = support::scaled(2000); n-- > 0;) {
        const Real16 x = real16(r.lo + s.below32(r.hi - r.lo + 1ull), s.below32(1ull << 32),
                                s.below32(1ull << 32), s.below32(1ull << 32));
        Real16 both[2], minus[2], one[2];
        call(k, 3, x, both), call(k, 3, neg(x), minus);
        for (int m = 0; m < 2; ++m) {
          Big want;
          (m == 0 ? k.first : k.second)(want, oracle::Exact(x), MPFR_RNDN);
          worst[m] = std::max(worst[m], oracle::ulp_error(both[m], want));
          const Real16 mirror = m == 0 || k.tangent ? neg(both[m]) : both[m];
          call(k, 1 << m, x, one);
          const bool both_written = k.tangent == nullptr && k.tiny_writes_both && r.hi < k64;
          if (!oracle::same_bits(minus[m], mirror) || !oracle::same_bits(one[m], both[m]) ||
              !oracle::same_bits(one[1 - m], both_written ? both[1 - m] : kUnset))
            fail(std::string(k.name) + " result " + std::to_string(m) + " at " + support::show(x));
        }
      }
      EXPECT_TRUE(worst[0] <= r.bound && worst[1] <= r.bound) << k.name << " " << r.name;
      std::printf("%-9s %-7s max %.3f %.3f ulp\n", k.name, r.name, worst[0], worst[1]);
    }
  }
}

}  // namespace
