// Internals shared by the exponential, logarithm and root family: the
// processor's exponential, the defaults by type, the argument error of every
// logarithm, and the test that lets a Real4 result be formed in Real8
// instead of the register.
//
// Logarithms (g_log ... g_dlog2): an argument that is not greater than zero, or a NaN, is reported
// with the function's error number, and when the handler declines:
//   zero (either sign)  -3.40282002e+38 / -1.7976931348623011e+308, minus
//                       infinity with the infinity flag;
//   negative            the logarithm of -x, NaN with the infinity flag;
//   NaN                 the NaN itself whatever the flag: negating it and
//                       computing again would report again, forever.
#pragma once

#include <cstdint>

#include "common/bits.h"
#include "common/x87.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {

// e^x on the processor, in the register: y = x log2(e) (FLDL2E); k = y
// rounded to an integer (FRNDINT); 2^(y - k) by F2XM1 (|y - k| <= 1/2),
// scaled by 2^k with FSCALE. The kernel of g_exp and g_dexp, also for the
// callers that use their result as the register holds it (the hyperbolic
// functions).
inline long double exp_x87(long double x) {
  const long double y = x * x87::fldl2e();
  const long double k = x87::frndint(y);
  return x87::fscale(x87::f2xm1(y - k) + 1, k);
}

// `log_of_positive(v)` computes the logarithm of v > 0 (plus infinity
// included).
template <class T, class F>
Attempt<T> log_argument_error(std::int32_t number, T x, F log_of_positive) {
  if (x == 0) return argument_error(number, -kOverflow<T>, kMinusInf<T>);
  if (x != x) return argument_error(number, -x, kNaN<T>);
  return argument_error(number, static_cast<T>(log_of_positive(-x)), kNaN<T>);
}

}  // namespace vx
