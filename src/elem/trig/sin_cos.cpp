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
// Accuracy: FSIN/FCOS carry 66 bits of pi, so the results are within one
// ulp of the true value except near the zeros of large arguments, where the
// relative error grows with |x|/|f(x)| (trig_test measures both).
#include <cmath>

#include "common/x87.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

constexpr float asinmx = 823000.0f;  // 0x4948ED80: Real4 argument limit
constexpr double dsinmx = 3.53e15;   // 0x43291508581D4000: Real8 argument limit

template <class T>
constexpr T kLimit = by_type<T>(asinmx, dsinmx);
template <class T>
constexpr std::int32_t kError = sizeof(T) == 4 ? 202 : 203;

template <class T, long double (*kInstruction)(long double)>
T sine_or_cosine(T x) {
  return resume_loop(
      [](T v) {
        // |x| >= limit or infinite: too large to reduce (a NaN is not).
        if (std::fabs(v) >= kLimit<T>) return argument_error(kError<T>, kSqrtHalf<T>, kNaN<T>);
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
