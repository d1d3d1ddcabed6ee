// The SSE route of the processor exponential: exp_x87(x) (y = x FLDL2E
// rounded to 64 bits, k = FRNDINT(y), F2XM1(y - k) + 1, FSCALE by k)
// rounded to Real4 or Real8, without the instructions where an error bound
// shows the rounding (exp.cpp).
//
// The instructions, measured (tools/x87/measure_explog, 4 10^6 arguments
// of each kind): F2XM1 returns 2^r - 1 for |r| <= 1/2 within 0.83 units of
// the 64-bit significand's last place (the nearest 64-bit value for about
// 90% of the arguments, on an Intel Xeon; qemu-i386 7.2's emulation within
// 0.51 units); FLDL2E loads log2(e) rounded to 64 bits (the probe of
// common/cpu.h checks it); the product, FRNDINT, the subtraction and FSCALE
// are exact or rounded once as the format defines. So the register holds 2^k (1 + F) rounded to
// 64 bits, F within 2^-63 |F| of 2^r - 1 (the bound taken: one unit), and
// that is within 2^-64.3 + 2^-64 = 2^-63.1 of 2^r, relative: at most
// 2^-63.1 of the value.
//
// Real4 (exp_of_real4): e^x itself, without y's rounding (2^-57.5 of the
// value for |x| < 88): x = n ln2/64 + r, |r| <= ln2/128, n rounded from
// x 64/ln2, with ln2/64 as a 39-bit head (n times it exact) and a tail;
// e^r - 1 by its series to r^5 (truncation 2^-54.5); 2^(n/64) as
// 2^m e[j] from exp2_table.h: within 2^-51 of e^x, so that
// real4_or_register (slack 2^-42 of the value) decides by it alone.
//
// Real8 (settle_real8, fused multiply-adds, 2^-54 <= |x| < 708): y, k and
// r = y - k are formed in the register by the same product, by adding and
// subtracting 1.5 2^63 (the integer FRNDINT gives under round to nearest,
// without its microcode) and by the exact subtraction, and r is passed to
// SSE as the exact pair rh + rl. Then r = jj/64 + f with
// |f| <= 1/128, and 2^r = 2^floor(jj/64) e[j] (1 + E), j = jj mod 64,
// E = 2^f - 1 = ln2 f + f^2 (c2 + c3 f + ... + c7 f^5) (truncation
// 2^-75), ln2 f as an exact head and a tail, f^2 (...) in Real8 (2^-69),
// e[j] (1 + E) summed as a pair: within 2^-67 of the value. With the
// register within 2^-63.1 of it, slack8 = 1.5 2^-62 of the value (2.7 times
// the sum) either way decides, and the register evaluation runs for the
// rest (about one argument in 240).
//
// Identity with the instructions, seen: every Real4 argument that computes
// (2237759619, exp_log_slow_test) and 10^9 random Real8 arguments over the
// ranges and points of fma_routes_internal_test (one run at
// VEXMORG_TEST_SCALE=500); none differ.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/double_double.h"
#include "common/x87.h"
#include "elem/exp_log/tables/exp2_table.h"

namespace vx::exp_route {

// ---- Real4 -----------------------------------------------------------------

constexpr double inv_step = 0x1.71547652b82fep+6;  // 64/ln 2
constexpr double step_high = 0x1.62e42fefa4p-7;    // ln2/64, 39 bits
constexpr double step_low = -0x1.8432a1b0e2634p-49;

// e^x for |x| < 88 (a Real4), within 2^-51 of it; 1 for x = 0.
inline double exp_of_real4(float xf) {
  const double x = xf;
  const double t = x * inv_step + 0x1.8p52;  // n in the low word
  const double n = t - 0x1.8p52;
  const std::int32_t v = static_cast<std::int32_t>(low_word(t));
  const double r = (x - n * step_high) - n * step_low;  // x - n step_high exact
  const double r2 = r * r;                              // Estrin's scheme: short chains
  const double p = (r + r2 * (0.5 + r * (1 / 6.0))) + (r2 * r2) * (1 / 24.0 + r * (1 / 120.0));
  const double s = exp2_table::e[v & 63].high * real8_two_to(v >> 6);
  return s + s * p;
}

// ---- Real8 -----------------------------------------------------------------

// y = x FLDL2E rounded to 64 bits as k + rh + rl: k = FRNDINT(y), rh + rl =
// y - k exactly (rh = y - k rounded to Real8, rl the rest, at most 11
// bits), formed in the register.
struct Reduced {
  std::int64_t k;
  double rh, rl;
};

inline Reduced reduce(const double *x) {
  const long double y = x87::fld(x) * x87::fldl2e();
  const long double k = (y + 0x1.8p63L) - 0x1.8p63L;  // FRNDINT(y): RN to 1 at 2^63
  const long double r = y - k;                        // exact
  const double rh = static_cast<double>(r);
  return {static_cast<std::int64_t>(static_cast<double>(k)), rh, static_cast<double>(r - rh)};
}

constexpr double ln2_high = 0x1.62e42fefa39efp-1;
constexpr double ln2_low = 0x1.abc9e3b39803fp-56;
// (ln 2)^n / n!, the nearest Real8
constexpr double c2 = 0x1.ebfbdff82c58fp-3;
constexpr double c3 = 0x1.c6b08d704a0cp-5;
constexpr double c4 = 0x1.3b2ab6fba4e77p-7;
constexpr double c5 = 0x1.5d87fe78a6731p-10;
constexpr double c6 = 0x1.430912f86c787p-13;
constexpr double c7 = 0x1.ffcbfc588b0c7p-17;
constexpr double slack8 = 0x1.8p-62;

// Whether exp_x87(*x) rounds to the Real8 `result` by the bound, for
// 2^-54 <= |*x| < 708.
[[gnu::target("fma")]] inline bool settle_real8(const double *x, double &result) {
  const Reduced y = reduce(x);
  const double t = std::fma(y.rh, 64, 0x1.8p52);  // 64 rh rounded, in the low word
  const auto jj = static_cast<std::int32_t>(low_word(t));
  const DoubleDouble f = dd::fast_two_sum(std::fma(t - 0x1.8p52, -0x1p-6, y.rh), y.rl);
  const DoubleDouble &e = exp2_table::e[jj & 63];
  const double a = ln2_high * f.high;
  const double a_low = std::fma(ln2_high, f.high, -a);  // exact
  const double f2 = f.high * f.high;
  const double g = std::fma(f2, std::fma(f2, std::fma(f.high, c7, c6), std::fma(f.high, c5, c4)),
                            std::fma(f.high, c3, c2));
  const double rest = std::fma(f2, g, a_low + std::fma(ln2_low, f.high, ln2_high * f.low));
  // e (1 + a + rest), e = H + L
  const double p = e.high * a;
  const double p_low = std::fma(e.high, a, -p);  // exact
  const DoubleDouble h = dd::fast_two_sum(e.high, p);
  const double low = h.low + (p_low + std::fma(e.high, rest, std::fma(e.low, a, e.low)));
  double m;
  if (!dd::settle({h.high, low}, h.high * slack8, m)) return false;
  result = m * real8_two_to(y.k + (jj >> 6));
  return true;
}

}  // namespace vx::exp_route
