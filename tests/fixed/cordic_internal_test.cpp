// The CORDIC kernels and their tables: every table entry and gain constant
// recomputed with MPFR, and each kernel, regime by regime, against MPFR.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "fixed/tables/angles.h"
#include "oracle/oracle.h"
#include "oracle/real16.h"
#include "support/mpz_words.h"
#include "support/real16_checks.h"

namespace {

using oracle::Big;
using support::real16;
namespace angles = vx::fixed::angles;

std::string hex(const Fixed128 &f) {
  char s[40];
  std::snprintf(s, sizeof s, "%08x %08x %08x %08x", f.w[0], f.w[1], f.w[2], f.w[3]);
  return s;
}

// v 2^(128 - scale) rounded to nearest, as Fixed128 words.
Fixed128 fixed_of(mpfr_srcptr v, int scale) {
  Big t;
  mpfr_mul_2si(t, v, 128 - scale, MPFR_RNDN);
  support::Mpz n;
  mpfr_get_z(n.get(), t, MPFR_RNDN);
  const std::uint64_t hi = support::word_of(n.get(), 1), lo = support::word_of(n.get(), 0);
  return Fixed128{{static_cast<std::uint32_t>(hi >> 32), static_cast<std::uint32_t>(hi),
                   static_cast<std::uint32_t>(lo >> 32), static_cast<std::uint32_t>(lo)}};
}
bool same(const Fixed128 &a, const Fixed128 &b) {
  return a.w[0] == b.w[0] && a.w[1] == b.w[1] && a.w[2] == b.w[2] && a.w[3] == b.w[3];
}
double value_of(const Fixed128 &f, int scale) {
  double v = 0;
  for (int i = 3; i >= 0; --i) v = (v + f.w[i]) / 4294967296.0;
  return std::ldexp(v, scale);
}

// ---- Tables -------------------------------------------------------------------

enum class Angle { radians, degrees, quadrants, hyperbolic };
struct TableCase {
  const char *name;
  const Fixed128 *table;
  int entries, scale;
  Angle unit;
  double reach;  // the sum of the entries from k = 1 (with the shifts 44..63 as 2^-k)
};
const TableCase kTables[] = {
    // The CORDIC regime converges for |x| up to the sum of the table angles
    // from k = 1: 0.95788845... radians, 54.882966 degrees, 0.60981073
    // quadrant units; 1.1181730 for the hyperbolic kernel.
    {"at", angles::at, 44, 1, Angle::radians, 0.95788845},
    {"ad", angles::ad, 128, 6, Angle::degrees, 54.882966},
    {"aq", angles::aq, 128, 0, Angle::quadrants, 0.60981073},
    {"ah", angles::ah, 44, 1, Angle::hyperbolic, 1.1181730},
};

TEST(CordicTables, EveryEntryIsTheRoundedAngle) {
  Big v, pi;
  mpfr_const_pi(pi, MPFR_RNDN);
  for (const auto &t : kTables) {
    double reach = 0;
    for (int k = 0; k < t.entries; ++k) {
      mpfr_set_ui_2exp(v, 1, -k, MPFR_RNDN);
      if (t.unit != Angle::hyperbolic)
        mpfr_atan(v, v, MPFR_RNDN);
      else if (k > 0)
        mpfr_atanh(v, v, MPFR_RNDN);
      else
        mpfr_set_zero(v, 1);
      if (t.unit == Angle::degrees) mpfr_mul_ui(v, v, 180, MPFR_RNDN);
      if (t.unit == Angle::quadrants) mpfr_mul_ui(v, v, 2, MPFR_RNDN);
      if (t.unit == Angle::degrees || t.unit == Angle::quadrants) mpfr_div(v, v, pi, MPFR_RNDN);
      const Fixed128 want = fixed_of(v, t.scale);
      EXPECT_TRUE(same(t.table[k], want))
          << t.name << "[" << k << "] = " << hex(t.table[k]) << ", want " << hex(want);
      if (k >= 1)
        reach += value_of(t.table[k], t.scale) *
                 (t.unit == Angle::hyperbolic && (k == 4 || k == 13 || k == 40) ? 2 : 1);
    }
    for (int k = t.entries; k < 64; ++k) reach += std::ldexp(1.0, -k);  // the single bits
    EXPECT_NEAR(reach, t.reach, t.reach * 1e-7) << t.name;
  }
}

// The rows the definition writes out.
TEST(CordicTables, TellingRows) {
  const struct {
    const Fixed128 &entry;
    Fixed128 want;
  } rows[] = {
      // _at[0] = 0x6487ed51 10b4611a 62633145 c06e0e69 (pi/4)
      {angles::at[0], {{0x6487ed51, 0x10b4611a, 0x62633145, 0xc06e0e69}}},
      // _at[1] = 0x3b58ce0a c3769ed1 5bf9117b 2f0ea341
      {angles::at[1], {{0x3b58ce0a, 0xc3769ed1, 0x5bf9117b, 0x2f0ea341}}},
      // _at[43] = 0x00000000 00100000 00000000 00000000 (2^-43)
      {angles::at[43], {{0, 0x00100000, 0, 0}}},
      // _ad[0] begins 0xb4000000 (45 degrees); _aq[0] begins 0x80000000
      {angles::ad[0], {{0xb4000000, 0, 0, 0}}},
      {angles::aq[0], {{0x80000000, 0, 0, 0}}},
      // rk: words 0x6decad8b 0x3be09b75 0xb30ef5bc 0xbcd4618f in ulx_gusc, the
      // same with last word 0xbcd4618e in ulx_gusd and ulx_gusq
      {angles::rk_circular, {{0x6decad8b, 0x3be09b75, 0xb30ef5bc, 0xbcd4618f}}},
      {angles::rk_circular_units, {{0x6decad8b, 0x3be09b75, 0xb30ef5bc, 0xbcd4618e}}},
      // for ulx_gush rk = 1.207497067763072...: words 0x9a8f4390 0x07761194
      // 0xb2527647 0x53e1ef99
      {angles::rk_hyperbolic, {{0x9a8f4390, 0x07761194, 0xb2527647, 0x53e1ef99}}},
  };
  for (const auto &r : rows)
    EXPECT_TRUE(same(r.entry, r.want)) << hex(r.entry) << ", want " << hex(r.want);
}

// The gains recomputed: 1 / prod sqrt(1 +- 2^-2i) over each kernel's shifts.
TEST(CordicTables, GainsAreTheReciprocalProducts) {
  auto gain = [](int sign, int last, bool hyperbolic) {
    Big g(1.0), f;
    for (int i = 1; i <= last; ++i) {
      for (int twice = 0; twice < (hyperbolic && (i == 4 || i == 13 || i == 40) ? 2 : 1); ++twice) {
        mpfr_set_ui_2exp(f, 1, -2 * i, MPFR_RNDN);
        sign > 0 ? mpfr_add_ui(f, f, 1, MPFR_RNDN) : mpfr_ui_sub(f, 1, f, MPFR_RNDN);
        mpfr_mul(g, g, f, MPFR_RNDN);
      }
    }
    mpfr_rec_sqrt(g, g, MPFR_RNDN);
    return fixed_of(g, 1);
  };
  EXPECT_TRUE(same(angles::rk_circular, gain(1, 63, false)));
  EXPECT_TRUE(same(angles::rk_circular_units, gain(1, 150, false)));
  EXPECT_TRUE(same(angles::rk_hyperbolic, gain(-1, 64, true)));
}

// ---- Kernels against MPFR ----------------------------------------------------

// A regime: |x| with a high word from `lo` to `hi`, any low words, and the
// largest error allowed, in units in the last place of the Real16 result.
struct Regime {
  const char *name;
  std::uint32_t lo, hi;
  double bound;
  bool writes_both;  // the regime stores both results whatever the mode
};
Real16 sample(support::Real16Sampler &s, const Regime &r) {
  const auto high = r.lo + s.below32(r.hi - r.lo + 1);
  return real16(high | (s.bits() & 1 ? support::kSign16 : 0), s.below32(1ull << 32),
                s.below32(1ull << 32), s.below32(1ull << 32));
}
Real16 negated(Real16 x) { return x.w[3] ^= support::kSign16, x; }

using SinCos = void (*)(std::int32_t, Real16, Real16 *, Real16 *);
struct SineKernel {
  const char *name;
  SinCos kernel;
  oracle::Fn1 sine, cosine;
  Regime regimes[3];
};
// The CORDIC regime reaches the sum of the table angles from k = 1:
// 0.95788845 radians, 54.882966 degrees, 0.60981073 quadrant units,
// 1.1181730 for the hyperbolic kernel. The polynomials run from 2^-64 to
// the CORDIC threshold (2^-9; 0.5 degrees; 2^-9 quadrant units; 0.012);
// below 2^-64 the sine is x (times pi/180 or pi/2), the cosine 1, and the
// degree and quadrant kernels store both.
const SineKernel kSineKernels[] = {
    {"ulx_gusc",
     ulx_gusc,
     mpfr_sin,
     mpfr_cos,
     {{"cordic", 0x3ff60001, 0x3ffeea70, 1.0, false},
      {"series", 0x3fbf0000, 0x3ff60000, 1.0, false},
      {"tiny", 0x3f000000, 0x3fbeffff, 0.5, false}}},
    {"ulx_gusd",
     ulx_gusd,
     oracle::sind,
     oracle::cosd,
     {{"cordic", 0x3ffe0001, 0x4004b70f, 1.0, false},
      {"series", 0x3fbf0000, 0x3ffe0000, 1.0, false},
      {"tiny", 0x3f000000, 0x3fbeffff, 1.5, true}}},
    {"ulx_gusq",
     ulx_gusq,
     oracle::sinq,
     oracle::cosq,
     {{"cordic", 0x3ff60001, 0x3ffe3838, 1.0, false},
      {"series", 0x3fbf0000, 0x3ff60000, 1.5, false},
      {"tiny", 0x3f000000, 0x3fbeffff, 1.5, true}}},
    {"ulx_gush",
     ulx_gush,
     mpfr_sinh,
     mpfr_cosh,
     {{"cordic", 0x3ff88938, 0x3fff1e3f, 1.0, false},
      {"series", 0x3fbf0000, 0x3ff88937, 1.0, false},
      {"tiny", 0x3f000000, 0x3fbeffff, 0.5, false}}},
};

class CordicKernels : public support::Real16Test {};

TEST_F(CordicKernels, SineAndCosinePairsAgainstMpfr) {
  const Real16 unset = real16(0x12345678, 1, 2, 3);
  for (const auto &k : kSineKernels) {
    for (const auto &r : k.regimes) {
      double worst[2] = {0, 0};
      for (std::uint64_t n = support::scaled(3000); n-- > 0;) {
        const Real16 x = sample(s, r);
        Real16 both[2], minus[2];
        k.kernel(3, x, &both[0], &both[1]);
        k.kernel(3, negated(x), &minus[0], &minus[1]);
        for (int m = 0; m < 2; ++m) {
          Big want;
          (m == 0 ? k.sine : k.cosine)(want, oracle::Exact(x), MPFR_RNDN);
          worst[m] = std::max(worst[m], oracle::ulp_error(both[m], want));
          // only the requested result, the same bits; sine odd, cosine even
          Real16 alone[2] = {unset, unset};
          k.kernel(m + 1, x, &alone[0], &alone[1]);
          const Real16 other = r.writes_both ? both[1 - m] : unset;
          const Real16 mirror = m == 0 ? negated(both[0]) : both[1];
          if (!oracle::same_bits(alone[m], both[m]) || !oracle::same_bits(alone[1 - m], other) ||
              !oracle::same_bits(minus[m], mirror))
            fail(std::string(k.name) + " mode " + std::to_string(m + 1) + " at " +
                 support::show(x));
        }
      }
      EXPECT_LE(worst[0], r.bound) << k.name << " " << r.name << " sine";
      EXPECT_LE(worst[1], r.bound) << k.name << " " << r.name << " cosine";
      std::printf("%-9s %-7s max %.3f %.3f ulp\n", k.name, r.name, worst[0], worst[1]);
    }
  }
}

using TanCot = Real16 *(*)(Real16 *, std::int32_t, Real16);
struct TangentKernel {
  const char *name;
  TanCot kernel;
  oracle::Fn1 tangent, cotangent;
  Regime regimes[3];
};
// Callers pass |x| up to about pi/4, 45 degrees, 0.5 units. The rotations
// run above 2^-8 (0x3ff70000), 0x3ffc6800 degrees, from 2^-9 quadrant
// units; the series from 2^-64 (in degrees and quadrant units the
// cotangent's two quotients, each rounded, come to up to 1.5 ulp).
const TangentKernel kTangentKernels[] = {
    {"ulx_gutc",
     ulx_gutc,
     mpfr_tan,
     mpfr_cot,
     {{"cordic", 0x3ff70001, 0x3ffe921f, 1.5, false},
      {"series", 0x3fbf0000, 0x3ff70000, 1.0, false},
      {"tiny", 0x3f000000, 0x3fbeffff, 0.5, false}}},
    {"ulx_gutd",
     ulx_gutd,
     oracle::tand,
     oracle::cotd,
     {{"cordic", 0x3ffc6801, 0x40046800, 1.5, false},
      {"series", 0x3fbf0000, 0x3ffc6800, 2.0, false},
      {"tiny", 0x3f000000, 0x3fbeffff, 1.5, false}}},
    {"ulx_gutq",
     ulx_gutq,
     oracle::tanq,
     oracle::cotq,
     {{"cordic", 0x3ff60000, 0x3ffdffff, 1.5, false},
      {"series", 0x3fbf0000, 0x3ff5ffff, 2.0, false},
      {"tiny", 0x3f000000, 0x3fbeffff, 1.5, false}}},
};

TEST_F(CordicKernels, TangentAndCotangentAgainstMpfr) {
  for (const auto &k : kTangentKernels) {
    for (const auto &r : k.regimes) {
      double worst[2] = {0, 0};
      for (std::uint64_t n = support::scaled(2000); n-- > 0;) {
        const Real16 x = sample(s, r);
        for (int m = 0; m < 2; ++m) {
          Real16 got, minus;
          EXPECT_EQ(k.kernel(&got, m, x), &got);
          k.kernel(&minus, m, negated(x));
          Big want;
          (m == 0 ? k.tangent : k.cotangent)(want, oracle::Exact(x), MPFR_RNDN);
          worst[m] = std::max(worst[m], oracle::ulp_error(got, want));
          if (!oracle::same_bits(minus, negated(got)))  // odd
            fail(std::string(k.name) + " mode " + std::to_string(m) + " at " + support::show(x));
        }
      }
      EXPECT_LE(worst[0], r.bound) << k.name << " " << r.name << " tangent";
      EXPECT_LE(worst[1], r.bound) << k.name << " " << r.name << " cotangent";
      std::printf("%-9s %-7s max %.3f %.3f ulp\n", k.name, r.name, worst[0], worst[1]);
    }
  }
}

}  // namespace
