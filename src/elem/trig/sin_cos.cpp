// Radian sine and cosine: g_sin, g_cos (Real4), g_dsin, g_dcos (Real8).
//
// Method: the processor's FSIN and FCOS do the whole work; the functions
// only guard the argument range, store the result in the argument's type
// and return it.
//
// Special cases:
//   |x| >= limit, or infinite: error 202 (Real4) / 203 (Real8), argument
//     reported as value; default sqrt(1/2) rounded to the type, or NaN with
//     the infinity flag.
//   NaN: compares unordered, is not reported; FSIN/FCOS return a NaN.
//
// Accuracy against MPFR (trig_test), by analysis: the FSIN/FCOS result
// rounded once is within 0.5 ulp plus the error of the instruction's own
// reduction by its 66-bit pi, about |x| 2^-66 absolute, which matters only
// near the zeros of large arguments. Measured away from them: 0.5002 ulp.
#include <cmath>

#include "common/x87.h"
#include "elem/trig/sin_cos_limits.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

template <class T, long double (*kInstruction)(long double)>
T sine_or_cosine(T x) {
  return resume_loop(
      [](T v) {
        // |x| >= limit or infinite: too large to reduce (a NaN is not).
        if (std::fabs(v) >= kSinCosLimit<T>)
          return argument_error(kSinCosError<T>, kSqrtHalf<T>, kNaN<T>);
        return result(static_cast<T>(kInstruction(v)));
      },
      x);
}

}  // namespace
}  // namespace vx

float g_sin(const float *x) { return vx::sine_or_cosine<float, vx::x87::fsin>(*x); }
float g_cos(const float *x) { return vx::sine_or_cosine<float, vx::x87::fcos>(*x); }
double g_dsin(const double *x) { return vx::sine_or_cosine<double, vx::x87::fsin>(*x); }
double g_dcos(const double *x) { return vx::sine_or_cosine<double, vx::x87::fcos>(*x); }
