// Natural exponential: g_exp (Real4), g_dexp (Real8), on the processor.
//
// Method: y = x log2(e) (FLDL2E); k = y rounded to an integer (FRNDINT);
// e^x = 2^(y - k) 2^k with F2XM1 (|y - k| <= 1/2) and FSCALE. The register
// is returned as computed.
//
// Ranges (Real4 on the bit pattern i, Real8 on the high word h of |x|):
//   Real4  |x| < 88.0 computes; i >= 0xC2B00ED9 unsigned (x <= -88.029,
//          minus infinity, negative NaNs) returns 0.0 without a report;
//          otherwise i < 0x42B171AA signed (x < 88.722) computes.
//   Real8  h <= 0x40862330 (|x| < 708.3989) computes; x <= -709.089 returns
//          0.0 without a report; otherwise x < 709.782 (NaN included)
//          computes.
// Errors (argument reported as value):
//   229 / 230  x >= 88.722 / 709.782, plus infinity (Real4: and positive
//              NaNs): default 3.40282002e+38 / 1.7976931348623011e+308,
//              plus infinity with the infinity flag
//
// Accuracy against MPFR (exp_log_test), by analysis: y carries an absolute error below
// |y| 2^-64 (FLDL2E is rounded to 64 bits, the product once more), which
// e^x turns into a relative error below ln 2 |y| 2^-64: nothing for Real4,
// up to 0.35 ulp for Real8 at the ends of the range.
#include <cstdint>

#include "common/bits.h"
#include "elem/exp_log/exp_kernel.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

constexpr std::uint32_t small4 = 0x42b00000;    // 88.0: below it in magnitude, compute
constexpr std::uint32_t zero4 = 0xc2b00ed9;     // -88.029: at or below it, 0.0
constexpr std::int32_t overflow4 = 0x42b171aa;  // 88.722: at or above it, error 229

Attempt<float> exp4(float x) {
  const std::uint32_t i = bits(x);
  if ((i & 0x7fffffff) < small4) return result(static_cast<float>(exp_x87(x)));
  // x <= -88.029, minus infinity, negative NaNs: 0.0, no report
  if (i >= zero4) return result(0.0f);
  if (static_cast<std::int32_t>(i) < overflow4) return result(static_cast<float>(exp_x87(x)));
  // x >= 88.722, plus infinity, positive NaNs: error 229
  return argument_error(err::kExpOverflow, kOverflowF, _Inf_F);
}

// ---- Real8 -----------------------------------------------------------------

constexpr std::uint32_t small8 = 0x40862330;  // high word of 708.3984375: up to it, compute
constexpr double zero8 = -709.089;            // 0xC08628B645A1CAC1: at or below it, 0.0
constexpr double overflow8 = 709.782;         // 0x40862E4189374BC7: at or above it, error 230

Attempt<double> exp8(double x) {
  if ((high_word(x) & 0x7fffffff) <= small8) return result(static_cast<double>(exp_x87(x)));
  if (x <= zero8) return result(0.0);  // x <= -709.089, minus infinity: 0.0, no report
  // x >= 709.782, plus infinity: error 230 (a NaN computes)
  if (x >= overflow8) return argument_error(err::kDexpOverflow, kOverflowD, _Inf_D);
  return result(static_cast<double>(exp_x87(x)));
}

}  // namespace
}  // namespace vx

float g_exp(const float *x) { return vx::resume_loop(vx::exp4, *x); }
double g_dexp(const double *x) { return vx::resume_loop(vx::exp8, *x); }
