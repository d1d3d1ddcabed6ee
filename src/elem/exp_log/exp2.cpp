// Base-2 exponential: g_exp2 (Real4), g_dexp2 (Real8), table-driven.
//
// Method: x = m + j/64 + f, |f| <= 1/128, by adding bg and storing (the
// low bits of the sum give m and j, see exp_kernel.h); then
// 2^x = 2^m e[j] 2^f with e[j] = 2^(j/64) from exp2_table.h and a short
// polynomial for 2^f - 1 (three terms for Real4, five for Real8 with e[j]
// as a high and low pair). At the top of the Real8 range the result's
// exponent is set in its bit pattern instead of scaling by 2^m.
//
// Ranges:
//   Real4  |x| < 127.0 computes; x <= -127.0 (minus infinity, negative
//          NaNs) returns 0.0 without a report; x < 128.0 computes.
//   Real8  |x| < 1023.0 computes; beyond it x <= -1023.0 returns 0.0
//          without a report, a NaN computes, 1023 <= x < 1024 computes by
//          the top-range variant.
//          Results below 2^-1022 are rounded once to a subnormal (2^-1023
//          as a scale factor would be zero).
// Errors (argument reported as value):
//   238 / 239  x >= 128.0 / 1024.0, plus infinity (Real4: and positive
//              NaNs): default 3.40282002e+38 / 1.7976931348623011e+308,
//              plus infinity with the infinity flag
//
// Evaluation: the formulas are those of the x87 register, and so are the
// results, for every argument. The Real4 formula is evaluated in Real8 (SSE)
// for |x| < 126.0; where that value lies too close to a midpoint between
// Real4 values to be sure of rounding like the register value, and for the
// subnormal results, the register evaluation decides (real4_rounding.h). The
// Real8 mantissa is evaluated on SSE for |x| < 1021.0 with an exact head
// product and a rounding test (mantissa_bracket); the rest of the range and
// the arguments the test leaves open (about one in 500) take the register.
// Where the processor has fused multiply-adds (common/cpu.h), the bracket
// is formed with them (mantissa_bracket_fma), with the same results.
//
// Accuracy against MPFR (exp_log_test), by analysis: the polynomials err
// by 4.4e-10 (Real4) and 2.4e-18 (Real8) relative to 2^f, the sums are
// formed as in the register: Real4 within 0.508 ulp, Real8 within 0.53 ulp.
#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/cpu.h"
#include "common/real4_rounding.h"
#include "elem/exp_log/exp_kernel.h"
#include "elem/exp_log/tables/exp2_ln2_table.h"
#include "elem/exp_log/tables/exp2_table.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

constexpr float bg = 196608.0f;  // 0x48400000: 1.5 * 2^17, ulp 1/64

// 2^x for |x| < 128 in E: long double (the register) or double. n and f
// are formed in Real4 alike in both.
template <class E>
E exp2_4_value(float x) {
  const float n = x + bg;        // stored: bg + x rounded to a multiple of 1/64
  const float f = (bg - n) + x;  // exact, |f| <= 1/128
  return exp_kernel::real4_result(bits(n), E{f});
}

// The register evaluation with the range tests, out of line (see exp2_4).
[[gnu::noinline, gnu::cold]] Attempt<float> exp2_4_register(float x) {
  const std::uint32_t i = bits(x);
  if ((i & 0x7fffffff) >= 0x42fe0000) {  // |x| >= 127.0, infinities, NaNs
    // x <= -127.0, minus infinity, negative NaNs: 0.0, no report
    if (static_cast<std::int32_t>(i) < 0) return result(0.0f);
    // x >= 128.0, plus infinity, positive NaNs: error 238
    if (!(x < 128.0f)) return argument_error(err::kExp2Overflow, kOverflowF, _Inf_F);
  }
  return result(static_cast<float>(exp2_4_value<ld>(x)));
}

// |x| < 126.0 (a normal Real4 result, 2^-126 < r < 2^126) in Real8, the
// register deciding next to a Real4 midpoint; the rest in the register.
Attempt<float> exp2_4(float x) {
  if ((bits(x) & 0x7fffffff) < 0x42fc0000) [[likely]]
    return result(
        via_real8<float, Real4Range::normal>([x](auto e) { return exp2_4_value<decltype(e)>(x); }));
  return exp2_4_register(x);
}

// ---- Real8 -----------------------------------------------------------------

constexpr double bg8 = 105553116266496.0;  // 0x42D8000000000000: 1.5 * 2^46, ulp 1/64

// P(f) = p1 + p2 f + p3 f^2 + p4 f^3 + p5 f^4: (2^f - 1)/f, |f| <= 1/128;
// f P(f) lies within 2.4e-18 of 2^f - 1 (2.35e-18 at |f| = 1/128).
constexpr double p1 = 0.6931471805599453;     // 0x3FE62E42FEFA39EF
constexpr double p2 = 0.24022650695877795;    // 0x3FCEBFBDFF829822
constexpr double p3 = 0.0555041086649867;     // 0x3FAC6B08D704FDB4
constexpr double p4 = 0.009618143209793031;   // 0x3F83B2AD544641FB
constexpr double p5 = 0.0013333546285662563;  // 0x3F55D87EA183AEDF

ld poly(ld f) { return p1 + f * (p2 + f * (p3 + f * (p4 + f * p5))); }

// The register's Real8 mantissa, reproduced on SSE where the bracket
// allows. The register rounds
//   F = H + (L + H f P(f)) = H + L + K f + H f^2 Q(f)
// (K = H p1 from exp2_ln2_table.h, Q = p2 + p3 f + p4 f^2 + p5 f^3) to 64
// bits, within 2^-63.9 of F, and that to a Real8. Here f is split at 2^-34
// into fh (27 bits at most) and fl, so that K's 26-bit head times fh is
// exact and H plus it splits exactly into hi + lo. What remains is at most
// 2^-14.5: H f^2 Q errs by 2^-66.06 (f^2 Q within 2^-51 of its size), its
// sum with L and the small terms K fl + Kl f by 2^-68, and so does adding
// it to lo: hi + lo lies within 2^-65.2 of F. When hi + lo moved by
// slack = 2^-62 (2.7 times the sum of both errors) either way rounds to the
// same Real8, the register's value rounds to it as well; otherwise (about
// one argument in 500) the register evaluation runs. (F itself differs from
// 2^(j/64 + f) by up to 2.4e-18 relative, the polynomial's error: bounding
// that instead would send one argument in 25 to the register.)
constexpr double split = 0x1.8p+18;  // 1.5 * 2^18: adding it rounds f to 2^-34
constexpr double slack = 0x1p-62;

exp_kernel::Bracket mantissa_bracket(std::uint32_t j, double f) {
  const DoubleDouble &e = exp2_table::e[j];
  const DoubleDouble &k = exp2_ln2_table::k[j];
  const double fh = (f + split) - split;
  const double fl = f - fh;  // exact, |fl| <= 2^-35
  const double f2 = f * f;
  const double q = f2 * (p2 + p3 * f) + (f2 * f2) * (p4 + p5 * f);
  const double w = k.high * fh;  // exact
  const double hi = e.high + w;
  const double rest = ((k.high * fl + k.low * f) + e.low) + e.high * q;
  const double lo = ((e.high - hi) + w) + rest;  // |w| < H: (H - hi) + w is exact
  return {hi + (lo + slack), hi + (lo - slack)};
}

// The same bracket with fused multiply-adds: w + werr is K's head times f
// exactly, and the remaining terms err less than in the split form, so the
// same slack holds.
[[gnu::target("fma")]] inline exp_kernel::Bracket mantissa_bracket_fma(std::uint32_t j, double f) {
  const DoubleDouble &e = exp2_table::e[j];
  const DoubleDouble &k = exp2_ln2_table::k[j];
  const double w = k.high * f;
  const double werr = std::fma(k.high, f, -w);  // exact
  const double f2 = f * f;
  const double q = f2 * std::fma(f2, std::fma(p5, f, p4), std::fma(p3, f, p2));
  const double hi = e.high + w;
  const double rest = std::fma(e.high, q, std::fma(k.low, f, werr) + e.low);
  const double lo = ((e.high - hi) + w) + rest;
  return {hi + (lo + slack), hi + (lo - slack)};
}

// |x| >= 1023.0 (high word 0x408FF800): x <= -1023.0 gives 0.0, x >= 1024.0
// error 239, 1023 <= x < 1024 the top-range variant. (From 1023.0 to
// 1023.0005 the normal computation would give the same results; taking
// them here makes every x <= -1023.0 return 0.0.)
constexpr exp_kernel::Limits limits8{0x408ff800, -1023.0, 1024.0, err::kDexp2Overflow};

constexpr double fast8 = 1021.0;  // 0x408FE80000000000: below it in magnitude, 2^x is normal

// The register evaluation, kept out of line so that the Real8 path keeps
// its constants in memory operands.
[[gnu::noinline, gnu::cold]] Attempt<double> exp2_8_register(double x) {
  const double n = x + bg8;    // stored: bg8 + x rounded to a multiple of 1/64
  const ld f = x - (n - bg8);  // exact, |f| <= 1/128
  return exp_kernel::real8_attempt(x, limits8, low_word(n), f, poly(f));
}

// x = m + j/64 + f as in the register evaluation: v the low word of the
// stored sum (64 m + j), f exact with |f| <= 1/128.
struct Split8 {
  std::uint32_t v, j;
  double f;
};

inline Split8 split8(double x) {
  const double n = x + bg8;
  const std::uint32_t v = low_word(n);
  return {v, v & 63, x - (n - bg8)};
}

Attempt<double> exp2_8(double x) {
  if (std::fabs(x) < fast8) [[likely]] {
    const Split8 s = split8(x);
    const exp_kernel::Bracket r = mantissa_bracket(s.j, s.f);
    if (r.up == r.down) [[likely]]
      return result(exp_kernel::scaled(r.up, s.v - s.j));
  }
  return exp2_8_register(x);  // |x| >= 1021.0, NaN, or too close to a midpoint
}

// g_dexp2 where fused multiply-adds are usable: the same steps, with the
// bracket formed by mantissa_bracket_fma (a target("fma") function inlines
// only into another, so exp2_8 cannot take it as a parameter). What the
// bracket leaves open goes straight to the register evaluation.
[[gnu::target("fma")]] double exp2_8_fma(const double *px) {
  const double x = *px;
  if (std::fabs(x) < fast8) [[likely]] {
    const Split8 s = split8(x);
    const exp_kernel::Bracket r = mantissa_bracket_fma(s.j, s.f);
    if (r.up == r.down) [[likely]]
      return exp_kernel::scaled(r.up, s.v - s.j);
  }
  return resume_loop(exp2_8_register, x);
}

double exp2_8_baseline(const double *x) { return resume_loop(exp2_8, *x); }

}  // namespace
}  // namespace vx

float g_exp2(const float *x) { return vx::resume_loop(vx::exp2_4, *x); }
double g_dexp2(const double *x) {
  return vx::cpu::fma_or_baseline<vx::exp2_8_fma, vx::exp2_8_baseline>(x);
}
