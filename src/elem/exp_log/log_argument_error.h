// The argument error of every logarithm (g_log ... g_dlog2): an argument
// that is not greater than zero, or a NaN, is reported with the function's
// error number, and when the handler declines:
//   zero (either sign)  -3.40282002e+38 / -1.7976931348623011e+308, minus
//                       infinity with the infinity flag;
//   negative            the logarithm of -x, NaN with the infinity flag;
//   NaN                 the NaN itself whatever the flag: negating it and
//                       computing again would report again, forever.
#pragma once

#include <cstdint>

#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {

// `log_of_positive(v)` computes the logarithm of v > 0 (plus infinity
// included).
template <class T, class F>
Attempt<T> log_argument_error(std::int32_t number, T x, F log_of_positive) {
  if (x == 0) return argument_error(number, -kOverflow<T>, kMinusInf<T>);
  if (x != x) return argument_error(number, -x, kNaN<T>);
  return argument_error(number, static_cast<T>(log_of_positive(-x)), kNaN<T>);
}

}  // namespace vx
