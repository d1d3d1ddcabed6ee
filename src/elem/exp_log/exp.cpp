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
// Evaluation: where the processor's instructions agree with their model
// (common/cpu.h), the Real4 result is e^x evaluated in Real8 where that
// decides the rounding, and the Real8 result (with fused multiply-adds) the
// register's value reproduced on SSE within a bound, for |x| from 2^-54 to
// 708 (exp_route.h); the register evaluation decides the rest. The results
// are the register's for every argument.
//
// Accuracy against MPFR (exp_log_test), by analysis: y carries an absolute error below
// |y| 2^-64 (FLDL2E is rounded to 64 bits, the product once more), which
// e^x turns into a relative error below ln 2 |y| 2^-64: nothing for Real4,
// up to 0.35 ulp for Real8 at the ends of the range.
#include <cstdint>

#include "common/bits.h"
#include "common/cpu.h"
#include "common/real4_rounding.h"
#include "elem/exp_log/exp_kernel.h"
#include "elem/exp_log/exp_log_routes.h"
#include "elem/exp_log/exp_route.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

using ld = long double;

// ---- Real4 -----------------------------------------------------------------

constexpr std::uint32_t small4 = 0x42b00000;    // 88.0: below it in magnitude, compute
constexpr std::uint32_t zero4 = 0xc2b00ed9;     // -88.029: at or below it, 0.0
constexpr std::int32_t overflow4 = 0x42b171aa;  // 88.722: at or above it, error 229

// exp_x87(x) rounded to Real4 for |x| < 88.0: e^x in Real8 where the
// route is on and that decides.
float exp_small4(float x) {
  const auto in_register = [x] { return static_cast<float>(exp_x87(x)); };
  if (cpu::x87_exp_log) [[likely]]
    return real4_or_register(exp_route::exp_of_real4(x), in_register);
  return in_register();
}

Attempt<float> exp4(float x) {
  const std::uint32_t i = bits(x);
  if ((i & 0x7fffffff) < small4) return result(exp_small4(x));
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

// |x| in [2^-54, 708), where exp_route::settle_real8 applies.
constexpr std::uint64_t route_low8 = 0x3c90000000000000;   // 2^-54
constexpr std::uint64_t route_high8 = 0x4086200000000000;  // 708.0
bool in_route8(std::uint64_t b) {
  return (b & ~(std::uint64_t{1} << 63)) - route_low8 < route_high8 - route_low8;
}

// g_dexp where the route is on: the bound settles most x, the rest (and
// the arguments beyond 708) run exp8.
[[gnu::target("fma"), gnu::noipa]] double exp8_route(const double *px) {
  const std::uint64_t b = bits_at(px);
  double r;
  if (in_route8(b) && exp_route::settle_real8(px, r)) [[likely]]
    return r;
  return resume_loop(exp8, *px);
}

double exp8_baseline(const double *x) { return resume_loop(exp8, *x); }

[[gnu::target("fma")]] double exp_as_real8_route(double x) {
  double r;
  if (in_route8(bits(x)) && exp_route::settle_real8(&x, r)) [[likely]]
    return r;
  return static_cast<double>(exp_x87(x));
}

}  // namespace

float exp_as_real4(float x) {
  if ((bits(x) & 0x7fffffff) < small4) return exp_small4(x);
  return static_cast<float>(exp_x87(x));
}

double exp_as_real8(double x) {
  if (cpu::fma && cpu::x87_exp_log) return exp_as_real8_route(x);
  return static_cast<double>(exp_x87(x));
}

}  // namespace vx

float g_exp(const float *x) { return vx::resume_loop(vx::exp4, *x); }
double g_dexp(const double *x) {
  if (vx::cpu::fma && vx::cpu::x87_exp_log) return vx::exp8_route(x);
  return vx::exp8_baseline(x);
}
