// Base-10 exponential: g_exp10 (Real4), g_dexp10 (Real8), table-driven.
//
// Method: Real4 takes y = x log2(10) and proceeds as g_exp2 (y = m + j/64
// + f, 2^y = 2^m e[j] 2^f, exp_kernel.h). Real8 rounds x log2(10) to
// c = m + j/64 and keeps the remainder in powers of ten,
// f = x - c log10(2) with log10(2) as a head lg2a (36 bits, so c lg2a is
// exact) and a tail lg2b; then 10^x = 2^m e[j] 10^f with a five-term
// polynomial for 10^f - 1.
//
// Ranges:
//   Real4  |x| < 38.23 (bit pattern below 0x4218EB85) computes; x <= -38.23
//          (minus infinity, negative NaNs) returns 0.0 without a report;
//          x < 38.531 (0x421A1FBE) computes.
//   Real8  |x| < 304.0002 (high word of |x| at most 0x40730000) computes;
//          beyond it x <= -307.95 returns 0.0 without a report, a NaN or a
//          negative x computes, 304 < x < 308.254 computes by the top-range
//          variant. Results below 2^-1022 are rounded once to a subnormal.
// Errors (argument reported as value):
//   241 / 242  x >= 38.531 / 308.254, plus infinity (Real4: and positive
//              NaNs): default 3.40282002e+38 / 1.7976931348623011e+308,
//              plus infinity with the infinity flag
//
// Evaluation: the Real8 formula is formed in the x87 register. The Real4
// formula is evaluated in Real8 (SSE) for |x| < 37.9, with x log2(10) split
// exactly into two Real8 values; the register evaluation decides where the
// stored n could differ from the register's (y near a midpoint between
// multiples of 1/64) or the Real8 value lies too close to a midpoint between
// Real4 values (real4_rounding.h), and for the subnormal results. The Real4
// results are those of the register evaluation for every argument.
//
// Accuracy against MPFR (exp_log_test), by analysis: Real4 within 0.508
// ulp (as g_exp2); Real8 within 0.53 ulp (the remainder f is exact to
// 2^-80, the polynomial errs by 2.7e-18 relative).
#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/real4_rounding.h"
#include "elem/exp_log/exp_kernel.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

constexpr double log210 = 3.321928094887362;    // 0x400A934F0979A371: log2(10)
constexpr double bg = 105553116266496.0;        // 0x42D8000000000000: 1.5 * 2^46, ulp 1/64
constexpr std::uint32_t small4 = 0x4218eb85;    // 38.23: below it in magnitude, compute
constexpr std::int32_t overflow4 = 0x421a1fbe;  // 38.531: at or above it, error 241
constexpr std::uint32_t fast4 = 0x4217999a;     // 37.9: below it in magnitude, a normal result

// log2(10) as a head of 29 bits and the 23-bit rest, so that x times
// either is exact in Real8 for a Real4 x.
constexpr double log210_hi = 0x1.a934f09p+1;  // 0x400A934F09000000
constexpr double log210_lo = 0x1.e68dc4p-29;  // 0x3E2E68DC40000000: log210 - log210_hi
static_assert(log210_hi + log210_lo == log210);

// The register adds bg to y rounded to 64 bits, which is rounded to 2^-17
// before n is stored: n is the same as from the exact y when y lies
// farther than 2^-17 from a midpoint between multiples of 1/64.
constexpr double tie4 = 0x1p-7 - 0x1p-16;

// 10^x in the register for |x| < 38.531.
float exp10_4_in_register(float x) {
  const ld y = x * ld{log210};
  const double n = static_cast<double>(bg + y);  // stored: bg + y rounded to a multiple of 1/64
  const ld f = y + (bg - n);                     // |f| <= 1/128
  return static_cast<float>(exp_kernel::real4_result(low_word(n), f));
}

// The register evaluation with the range tests, out of line (see exp10_4).
[[gnu::noinline, gnu::cold]] Attempt<float> exp10_4_register(float x) {
  const std::uint32_t i = bits(x);
  if ((i & 0x7fffffff) >= small4) {  // |x| >= 38.23, infinities, NaNs
    // x <= -38.23, minus infinity, negative NaNs: 0.0, no report
    if (static_cast<std::int32_t>(i) < 0) return result(0.0f);
    // x >= 38.531, plus infinity, positive NaNs: error 241
    if (static_cast<std::int32_t>(i) >= overflow4)
      return argument_error(err::kExp10Overflow, kOverflowF, _Inf_F);
  }
  return result(exp10_4_in_register(x));
}

// |x| < 37.9 (a normal Real4 result, 10^-37.9 < r < 10^37.9) in Real8; the
// rest, and the values too close to a Real4 midpoint or y too close to a
// tie, in the register.
Attempt<float> exp10_4(float x) {
  if ((bits(x) & 0x7fffffff) < fast4) [[likely]] {
    // y = x log2(10) = yh + yl exactly; n and f as the register forms them
    // unless y lies within 2^-16 of a midpoint between multiples of 1/64.
    const double yh = double{x} * log210_hi;
    const double yl = double{x} * log210_lo;
    const double n = bg + (yh + yl);
    const double f = (yh - (n - bg)) + yl;  // y - c with an error below 2^-60
    const double r = exp_kernel::real4_result(low_word(n), f);
    return result(real4_or_register<Real4Range::normal>(
        r, [x] { return exp10_4_in_register(x); }, std::fabs(f) < tie4));
  }
  return exp10_4_register(x);
}

// ---- Real8 -----------------------------------------------------------------

constexpr double lg2_10 = 3.321928094887362;    // 0x400A934F0979A371: log2(10)
constexpr double lg2a = 0.30102999560767785;    // 0x3FD3441350900000: log10(2), head
constexpr double lg2b = 5.630334806675098e-11;  // 0x3DCEF3FDE623E256: log10(2) - lg2a
constexpr double zero8 = -307.95;               // 0xC0733F3333333333: at or below, 0.0
constexpr double overflow8 = 308.254;           // 0x40734410624DD2F2: at or above, 242

// P10(f) = p1 + p2 f + p3 f^2 + p4 f^3 + p5 f^4: (10^f - 1)/f for
// |f| <= log10(2)/128, relative error of f P10(f) 2.7e-18.
constexpr double p1 = 2.3025850929940455;  // 0x40026BB1BBB55515: near ln 10
constexpr double p2 = 2.650949055235637;   // 0x40053524C73CCB14
constexpr double p3 = 2.034678592299529;   // 0x4000470591DE61E2
constexpr double p4 = 1.1712568662143181;  // 0x3FF2BD77D6F9B1F2
constexpr double p5 = 0.5393824493915731;  // 0x3FE1429EFB858AB4

ld poly(ld f) { return p1 + f * (p2 + f * (p3 + f * (p4 + f * p5))); }

// |x| > 304.0002 (high word of |x| above 0x40730000): x <= -307.95 gives
// 0.0, x >= 308.254 error 242, 304 < x < 308.254 the top-range variant.
constexpr exp_kernel::Limits limits8{0x40730001, zero8, overflow8, err::kDexp10Overflow};

Attempt<double> exp10_8(double x) {
  const double n = static_cast<double>(x * ld{lg2_10} + bg);  // stored
  const double c = n - bg;                                    // m + j/64
  const ld f = (x - c * ld{lg2a}) - c * ld{lg2b};             // x - c log10(2)
  return exp_kernel::real8_attempt(x, limits8, low_word(n), f, poly(f));
}

}  // namespace
}  // namespace vx

float g_exp10(const float *x) { return vx::resume_loop(vx::exp10_4, *x); }
double g_dexp10(const double *x) { return vx::resume_loop(vx::exp10_8, *x); }
