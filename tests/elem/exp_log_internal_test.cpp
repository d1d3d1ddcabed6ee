// The tables of the exponential, logarithm and root family recomputed with
// MPFR, and the Real4 results evaluated in Real8 (common/real4_rounding.h):
// the midpoint test, and g_exp2, g_exp10, g_log2 as the register, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "common/real4_rounding.h"
#include "elem/exp_log/exp_kernel.h"
#include "elem/exp_log/exp_route.h"
#include "elem/exp_log/log_route.h"
#include "elem/exp_log/tables/atbl_table.h"
#include "elem/exp_log/tables/cbrt_table.h"
#include "elem/exp_log/tables/exp2_ln2_table.h"
#include "elem/exp_log/tables/exp2_table.h"
#include "elem/exp_log/tables/log2_fma_table.h"
#include "elem/exp_log/tables/log2_table.h"
#include "elem/exp_log/tables/log_route_table.h"
#include "support/family_table.h"

namespace {

using oracle::Big;
using ld = long double;

// ---- Tables ----------------------------------------------------------------

TEST(Tables, Exp2) {  // e[j] = 2^(j/64) as the nearest Real8 and the rest
  Big v;
  for (int j = 0; j < 64; ++j) {
    mpfr_set_d(v, j / 64.0, MPFR_RNDN);
    mpfr_exp2(v, v, MPFR_RNDN);
    support::expect_split(v, vx::exp2_table::e[j].high, vx::exp2_table::e[j].low, j);
  }
}

// k[j] = H p1 (H = e[j].high, p1 g_dexp2's Real8 ln 2): a 26-bit head, so
// that it times a 27-bit part of f is exact, and the nearest Real8 to the
// rest. Compared inside MPFR (the i386 MPFR returns Real8 values through
// the x87 register).
TEST(Tables, Exp2Ln2) {
  Big k, high(oracle::Precision{26}), low(oracle::Precision{53});
  for (int j = 0; j < 64; ++j) {
    mpfr_set_d(k, vx::exp2_table::e[j].high, MPFR_RNDN);
    mpfr_mul_d(k, k, 0x1.62e42fefa39efp-1, MPFR_RNDN);  // exact
    mpfr_set(high, k, MPFR_RNDN);
    mpfr_sub(low, k, high, MPFR_RNDN);
    EXPECT_EQ(mpfr_cmp_d(high, vx::exp2_ln2_table::k[j].high), 0) << j;
    EXPECT_EQ(mpfr_cmp_d(low, vx::exp2_ln2_table::k[j].low), 0) << j;
  }
}

// The table points of g_log2: c_j = 1 + j/32 (j < 16), (1 + j/32)/2.
double point4(int j) { return (1 + j / 32.0) / (j < 16 ? 1 : 2); }
// Those of g_dlog2: 512 of them, nine fraction bits.
double point8(int j) { return (1 + j / 512.0) / (j < 256 ? 1 : 2); }

// a[j] = ln c_j; p[j] is the cubic through T(f) = (ln(1 + f/c_j) - f)/f at
// the Chebyshev nodes of f's interval, and within 1.3e-9 of T between them
// (5e-10 next to 1).
TEST(Tables, Log2) {
  Big t, w;
  for (int j = 0; j < 32; ++j) {
    oracle::exact(t, mpfr_log, point4(j));
    EXPECT_EQ(vx::log2_table::a[j], mpfr_get_d(t, MPFR_RNDN)) << j;
    const double c = point4(j), lo = j == 0 || j >= 16 ? -1 / 128.0 : -1 / 64.0;
    const double hi = j >= 16 ? 1 / 128.0 : 1 / 64.0;
    const auto &s = vx::log2_table::p[j];
    const auto error = [&](double f) {  // |P(f) - T(f)|, P from the stored coefficients
      const Big x(f);
      mpfr_div_d(t, x, c, MPFR_RNDN);
      mpfr_log1p(t, t, MPFR_RNDN);
      mpfr_sub(t, t, x, MPFR_RNDN);
      mpfr_div(t, t, x, MPFR_RNDN);
      support::horner(w, {-s.c0, s.c1, s.c2, s.c3}, x);
      mpfr_sub(w, w, t, MPFR_RNDN);
      return std::fabs(mpfr_get_d(w, MPFR_RNDN));
    };
    for (int k = 0; k < 4; ++k)
      EXPECT_LE(error((lo + hi) / 2 + (hi - lo) / 2 * std::cos((2 * k + 1) * M_PI / 8)), 1e-16)
          << j;
    for (int i = 0; i < 200; ++i)
      EXPECT_LE(error(lo + (hi - lo) * (i + 0.5) / 200), j == 0 ? 5e-10 : 1.3e-9) << j;
  }
}

TEST(Tables, Atbl) {  // log2 c_j as the nearest Real8 and the rest
  Big v;
  for (int j = 0; j < 512; ++j) {
    oracle::exact(v, mpfr_log2, point8(j));
    support::expect_split(v, vx::atbl_table::atbl[j].high, vx::atbl_table::atbl[j].low, j);
  }
}

// g_dlog2's fused multiply-add route: atbl[j] as a multiple of 2^-42 (so
// that e + top is exact for every exponent) and the rest; 1/(2 c_j) per unit
// of the last place next to c_j; k1 = 2/ln 2 (as a Real8) times that, as a
// pair.
TEST(Tables, Log2Fma) {
  Big v;
  for (int j = 0; j < 512; ++j) {
    const auto &s = vx::log2_fma_table::split[j];
    const auto &t = vx::atbl_table::atbl[j];
    EXPECT_EQ(s.high, std::ldexp(std::nearbyint(std::ldexp(t.high, 42)), -42)) << j;
    mpfr_set_d(v, t.high, MPFR_RNDN);
    mpfr_add_d(v, v, t.low, MPFR_RNDN);
    mpfr_sub_d(v, v, s.high, MPFR_RNDN);
    EXPECT_EQ(s.low, mpfr_get_d(v, MPFR_RNDN)) << j;
    mpfr_set_d(v, 2 * point8(j), MPFR_RNDN);
    mpfr_ui_div(v, 1, v, MPFR_RNDN);
    mpfr_div_2ui(v, v, j < 256 ? 52 : 53, MPFR_RNDN);
    EXPECT_EQ(vx::log2_fma_table::half_rcp[j], mpfr_get_d(v, MPFR_RNDN)) << j;
    mpfr_mul_d(v, v, 0x1.71547652b82fep+1, MPFR_RNDN);
    support::expect_split(v, vx::log2_fma_table::k1_rcp[j].high, vx::log2_fma_table::k1_rcp[j].low,
                          j);
  }
}

// v as a multiple of 2^-42 and the nearest Real8 to the rest.
void expect_split42(mpfr_srcptr v, vx::DoubleDouble got, int j) {
  Big t;
  mpfr_mul_2ui(t, v, 42, MPFR_RNDN);
  mpfr_rint(t, t, MPFR_RNDN);
  mpfr_div_2ui(t, t, 42, MPFR_RNDN);
  EXPECT_EQ(mpfr_cmp_d(t, got.high), 0) << j;
  mpfr_sub(t, v, t, MPFR_RNDN);
  EXPECT_EQ(mpfr_get_d(t, MPFR_RNDN), got.low) << j;
}

// The logarithms' SSE route: invc = 1/c rounded to 24 bits, c the middle
// of point j's interval (1 next to 1), lnc = ln(1/invc) and ln 2 split at
// 2^-42; the register's constants FLDLN2 and FLDLG2 (64-bit roundings) over
// ln 2 as pairs.
TEST(Tables, LogRoute) {
  namespace t = vx::log_route_table;
  Big v, rcp(oracle::Precision{24}), c64(oracle::Precision{64});
  for (int j = 0; j < 128; ++j) {
    mpfr_set_d(v, j < 64 ? 0.75 + (j + 0.5) / 256 : 1 + (j - 63.5) / 128, MPFR_RNDN);
    mpfr_ui_div(rcp, 1, v, MPFR_RNDN);
    if (j == 63 || j == 64) mpfr_set_ui(rcp, 1, MPFR_RNDN);
    EXPECT_EQ(mpfr_cmp_d(rcp, t::point[j].invc), 0) << j;
    mpfr_ui_div(v, 1, rcp, MPFR_RNDN);
    mpfr_log(v, v, MPFR_RNDN);
    expect_split42(v, t::point[j].lnc, j);
  }
  mpfr_const_log2(v, MPFR_RNDN);
  expect_split42(v, t::ln2, 0);
  const std::pair<int, vx::DoubleDouble> constants[] = {{2, t::ln_k}, {10, t::lg_k}};
  for (const auto &[base, k] : constants) {
    mpfr_set_ui(v, 2, MPFR_RNDN);
    base == 2 ? mpfr_log(c64, v, MPFR_RNDN) : mpfr_log10(c64, v, MPFR_RNDN);
    const long double c = mpfr_get_ld(c64, MPFR_RNDN);  // exact
    std::uint64_t significand;
    std::memcpy(&significand, &c, sizeof significand);
    EXPECT_EQ(significand, base == 2 ? t::fldln2_bits : t::fldlg2_bits);
    mpfr_const_log2(v, MPFR_RNDN);
    mpfr_div(v, c64, v, MPFR_RNDN);
    support::expect_split(v, k.high, k.low, base);
  }
}

// On [u0, u1] = [1 + t/n, 1 + (t + 1)/n] the line B (rho + u) of least
// maximal relative error to C u^(1/3), C = 2^(c/3), has
// rho = (u1^(2/3) - u0^(2/3)) / (u0^(-1/3) - u1^(-1/3)) and equal and
// opposite errors at u0 and rho/2; alpha = 3 B, and the offset's fraction,
// in units of the word's last bit, is (rho - 2 - r)/3. Returns alpha and
// sets `offset`.
double best_line(int r, int t, int n, int c, int fraction_bits, long *offset) {
  Big u0, u1, w, v, rho, phi;
  const auto root = [](Big &o, mpfr_srcptr x, long p) {
    mpfr_rootn_ui(o, x, 3, MPFR_RNDN), mpfr_pow_si(o, o, p, MPFR_RNDN);
  };
  mpfr_set_d(u0, 1 + double(t) / n, MPFR_RNDN);
  mpfr_set_d(u1, 1 + double(t + 1) / n, MPFR_RNDN);
  root(w, u1, 2), root(v, u0, 2), mpfr_sub(w, w, v, MPFR_RNDN);
  root(v, u0, -1), root(rho, u1, -1), mpfr_sub(v, v, rho, MPFR_RNDN);
  mpfr_div(rho, w, v, MPFR_RNDN);
  mpfr_add(phi, rho, u0, MPFR_RNDN);  // phi(u) = (rho + u) / u^(1/3) at u0 ...
  root(w, u0, 1), mpfr_div(phi, phi, w, MPFR_RNDN);
  mpfr_div_2ui(v, rho, 1, MPFR_RNDN);  // ... plus at rho/2
  root(w, v, 1), mpfr_add(v, v, rho, MPFR_RNDN), mpfr_div(v, v, w, MPFR_RNDN),
      mpfr_add(phi, phi, v, MPFR_RNDN);
  mpfr_sub_ui(w, rho, 2 + r, MPFR_RNDN);
  mpfr_mul_2si(w, w, fraction_bits, MPFR_RNDN);
  mpfr_div_ui(w, w, 3, MPFR_RNDN);
  *offset = mpfr_get_si(w, MPFR_RNDN);
  mpfr_set_si(w, c, MPFR_RNDN), mpfr_div_ui(w, w, 3, MPFR_RNDN), mpfr_exp2(w, w, MPFR_RNDN);
  mpfr_mul_ui(w, w, 6, MPFR_RNDN);
  mpfr_div(w, w, phi, MPFR_RNDN);
  return mpfr_get_d(w, MPFR_RNDN);
}

TEST(Tables, Cbrt) {
  long offset;
  for (int k = 0; k < 24; ++k) {
    EXPECT_EQ(vx::cbrt_table::alpha[k],
              static_cast<float>(best_line(k / 8, k % 8, 8, k / 8 - 1, 23, &offset)))
        << k;
    EXPECT_EQ(vx::cbrt_table::beta[k], (85u << 23) + offset) << k;
  }
  for (int k = 0; k < 48; ++k) {
    EXPECT_EQ(vx::cbrt_table::a[k], best_line(k / 16, k % 16, 16, k / 16, 20, &offset)) << k;
    EXPECT_EQ(vx::cbrt_table::b[k], (682u << 20) + offset) << k;
  }
}

// ---- Real4 results evaluated in Real8 --------------------------------------
// (g_exp, g_log, g_log10: their SSE routes beside the instructions)

double from_bits(std::uint64_t b) { return std::bit_cast<double>(b); }
std::uint64_t to_bits(double d) { return std::bit_cast<std::uint64_t>(d); }
double half_way_above(float f) { return (double{f} + double{std::nextafter(f, 2 * f)}) / 2; }

// A Real8 value is accepted when every value within kReal4Slack units of
// its last place rounds to the same normal Real4.
TEST(Real4Rounding, Boundaries) {
  using vx::kReal4Slack;
  const double half = half_way_above(1.2345f);
  // accepted: 2^-126 (the smallest normal Real4) and the largest Real4; not
  // a Real4 subnormal, nor the half-way point to overflow
  for (const double d :
       {from_bits(to_bits(half) - kReal4Slack - 1), from_bits(to_bits(half) + kReal4Slack + 1),
        -180.0, 0x1p-126, double{std::numeric_limits<float>::max()}})
    EXPECT_TRUE(vx::rounds_as_real4(d)) << std::hexfloat << d;
  for (const double d :
       {half, from_bits(to_bits(half) - kReal4Slack), from_bits(to_bits(half) + kReal4Slack),
        -half_way_above(0.7f), std::nextafter(0x1p-126, 0.0), 0x1p-140, -0.0, 0x1p128 - 0x1p103,
        HUGE_VAL, std::nan("")})
    EXPECT_FALSE(vx::rounds_as_real4(d)) << std::hexfloat << d;
}

// The Real4 kernels as the register evaluates them (T = long double), and
// their Real8 form (T = double). x must be in the normal range of each.
constexpr float bg = 196608.0f;  // g_exp2: 1.5 2^17, rounds to 1/64 in Real4

template <class T>
T exp2_formula(float x) {
  const float n = x + bg;
  return vx::exp_kernel::real4_result(std::bit_cast<std::uint32_t>(n), T{(bg - n) + x});
}

template <class T>
T exp10_formula(float x) {  // y = x log2(10), n = bg + y stored as Real8
  const ld y = x * ld{3.321928094887362};
  const double n = static_cast<double>(0x1.8p46 + y);
  return vx::exp_kernel::real4_result(static_cast<std::uint32_t>(to_bits(n)),
                                      static_cast<T>(y + (0x1.8p46 - n)));
}

template <class T>
T log2_formula(float x) {  // e + lg2m (a[j] + f) + lg2m f T_j(f), x = 2^e (c_j + f)
  const std::uint32_t i = std::bit_cast<std::uint32_t>(x), u = i + 0x20000;
  const std::int32_t e = static_cast<std::int32_t>(u - 0x3f400000) >> 23;
  const float m = std::bit_cast<float>(i - (static_cast<std::uint32_t>(e) << 23));
  const float c = std::bit_cast<float>(u - ((u - 0x3f400000) & 0xff83ffff));
  const std::uint32_t j = (u >> 18) & 31;
  const auto &s = vx::log2_table::p[j];
  const T f = m - c;
  const T t = s.c1 * f - s.c0 + f * f * (s.c2 + s.c3 * f);
  return e + 1.4426950408889634 * (vx::log2_table::a[j] + f) + 1.4426950408889634 * f * t;
}

// The entries give the register's result bit for bit, and the Real8 form
// stays within a quarter of kReal4Slack units of the register value, the
// margin the slack is chosen with.
TEST(Real4Rounding, EntriesAsTheRegister) {
  const struct {
    const char *name;
    support::Unary<float> fn;
    ld (*in_register)(float);
    double (*in_real8)(float);
    double lo, hi;
  } kernels[] = {
      {"g_exp2", g_exp2, exp2_formula<ld>, exp2_formula<double>, -126, 126},
      {"g_exp10", g_exp10, exp10_formula<ld>, exp10_formula<double>, -37.9, 37.9},
      {"g_log2", g_log2, log2_formula<ld>, log2_formula<double>, 0x1p-126, 3e38},
      {"g_exp", g_exp, [](float x) { return vx::exp_x87(x); }, vx::exp_route::exp_of_real4, -87,
       88},
      {"g_log", g_log, [](float x) { return vx::x87::fyl2x(vx::x87::fldln2(), x); },
       vx::log_route::ln_of_real4, 1e-45, 3e38},
      {"g_log10", g_log10, [](float x) { return vx::x87::fyl2x(vx::x87::fldlg2(), x); },
       [](float x) { return vx::log_route::ln_of_real4(x) * vx::log_route::log10e; }, 1e-45, 3e38},
  };
  support::Sampler s(0x4e4a2);
  for (const auto &k : kernels) {
    double worst = 0;
    int failures = 0;
    for (std::uint64_t i = 0; i < support::scaled(200000); ++i) {
      const float x = static_cast<float>(
          k.lo > 0 ? std::exp(s.uniform(std::log(k.lo), std::log(k.hi))) : s.uniform(k.lo, k.hi));
      const ld r = k.in_register(x);
      const double d = k.in_real8(x);
      if (d != 0)
        worst = std::max(worst, static_cast<double>(std::fabs(d - r) / support::ulp_of<double>(d)));
      if (support::bits_of(k.fn(&x)) != support::bits_of(static_cast<float>(r)) && ++failures <= 5)
        ADD_FAILURE() << k.name << "(" << std::hexfloat << x << ") differs from the register's "
                      << static_cast<float>(r);
    }
    std::printf("  %-8s Real8 form within %.3g units of the register\n", k.name, worst);
    EXPECT_LE(4 * worst, vx::kReal4Slack) << k.name;
  }
}

}  // namespace
