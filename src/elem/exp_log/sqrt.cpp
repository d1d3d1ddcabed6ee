// Square root on the processor: g_sqrt (Real4), g_dsqrt (Real8).
//
// Method: FSQRT, correctly rounded to the register's 64 bits, then stored
// in the argument's type.
//
// Special cases: +0.0 for a zero of either sign; a NaN computes (FSQRT
// returns it) without a report.
// Errors (argument reported as value):
//   226 / 227  x < 0, minus infinity: default the square root of -x, NaN
//              with the infinity flag
//
// Accuracy against MPFR (exp_log_test), by analysis: the double rounding (64 bits,
// then 24 or 53) is exact for Real4 (64 >= 2 * 24 + 2) and errs by at
// most 2^-11 ulp beyond the half ulp for Real8.
#include <cstdint>

#include "common/x87.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

template <class T>
inline constexpr std::int32_t sqrt_error = sizeof(T) == 4 ? err::kSqrtDomain : err::kDsqrtDomain;

template <class T>
Attempt<T> sqrt_attempt(T x) {
  if (x > 0 || x != x) return result(static_cast<T>(x87::fsqrt(x)));
  if (x == 0) return result(T{0});  // either sign: +0.0
  // x < 0, minus infinity: error 226 / 227
  return argument_error(sqrt_error<T>, static_cast<T>(x87::fsqrt(-x)), kNaN<T>);
}

}  // namespace
}  // namespace vx

float g_sqrt(const float *x) { return vx::resume_loop(vx::sqrt_attempt<float>, *x); }
double g_dsqrt(const double *x) { return vx::resume_loop(vx::sqrt_attempt<double>, *x); }
