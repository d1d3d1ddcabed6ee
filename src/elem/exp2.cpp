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
// Accuracy against MPFR (exp_test): the polynomials err by 4.4e-10
// (Real4) and 2.4e-18 (Real8) relative, the sums are formed in the
// register: Real4 within 0.508 ulp, Real8 within 0.53 ulp.
#include <cstdint>

#include "common/bits.h"
#include "elem/exp_kernel.h"
#include "frame/resume.h"
#include "frame/special.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

constexpr float bg = 196608.0f;  // 0x48400000: 1.5 * 2^17, ulp 1/64

Attempt<float> exp2_4(float x) {
  const std::uint32_t i = bits(x);
  if ((i & 0x7fffffff) >= 0x42fe0000) {  // |x| >= 127.0, infinities, NaNs
    // x <= -127.0, minus infinity, negative NaNs: 0.0, no report
    if (static_cast<std::int32_t>(i) < 0) return result(0.0f);
    // x >= 128.0, plus infinity, positive NaNs: error 238
    if (!(x < 128.0f)) return argument_error(238, kOverflowF, _Inf_F);
  }
  const float n = x + bg;        // stored: bg + x rounded to a multiple of 1/64
  const float f = (bg - n) + x;  // exact, |f| <= 1/128
  return result(static_cast<float>(exp_kernel::real4_result(bits(n), f)));
}

// ---- Real8 -----------------------------------------------------------------

constexpr double bg8 = 105553116266496.0;  // 0x42D8000000000000: 1.5 * 2^46, ulp 1/64

// P(f) = p1 + p2 f + p3 f^2 + p4 f^3 + p5 f^4: (2^f - 1)/f, |f| <= 1/128,
// relative error of f P(f) 2.4e-18.
constexpr double p1 = 0.6931471805599453;     // 0x3FE62E42FEFA39EF
constexpr double p2 = 0.24022650695877795;    // 0x3FCEBFBDFF829822
constexpr double p3 = 0.0555041086649867;     // 0x3FAC6B08D704FDB4
constexpr double p4 = 0.009618143209793031;   // 0x3F83B2AD544641FB
constexpr double p5 = 0.0013333546285662563;  // 0x3F55D87EA183AEDF

ld poly(ld f) { return p1 + f * (p2 + f * (p3 + f * (p4 + f * p5))); }

// |x| >= 1023.0 (high word 0x408FF800): x <= -1023.0 gives 0.0, x >= 1024.0
// error 239, 1023 <= x < 1024 the top-range variant. (From 1023.0 to
// 1023.0005 the normal computation would give the same results; taking
// them here makes every x <= -1023.0 return 0.0.)
constexpr exp_kernel::Limits limits8{0x408ff800, -1023.0, 1024.0, 239};

Attempt<double> exp2_8(double x) {
  const double n = x + bg8;    // stored: bg8 + x rounded to a multiple of 1/64
  const ld f = x - (n - bg8);  // exact, |f| <= 1/128
  return exp_kernel::real8_attempt(x, limits8, low_word(n), f, poly(f));
}

}  // namespace
}  // namespace vx

float g_exp2(const float *x) { return vx::resume_loop(vx::exp2_4, *x); }
double g_dexp2(const double *x) { return vx::resume_loop(vx::exp2_8, *x); }
