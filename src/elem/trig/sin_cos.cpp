// Radian sine and cosine: g_sin, g_cos (Real4), g_dsin, g_dcos (Real8).
//
// Method: the result is the processor's FSIN or FCOS of the argument,
// stored in the argument's type; the functions only guard the argument
// range. Where the model of the instruction holds (x87_sin_cos.h), the same
// result comes from an SSE evaluation that settles its rounding, and the
// instruction runs only for the few arguments it leaves open.
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

#include "common/cpu.h"
#include "common/x87.h"
#include "elem/trig/sin_cos_limits.h"
#include "elem/trig/x87_sin_cos.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

// The instruction's value, with the range test in the resume loop.
template <class T, bool kCosine>
[[gnu::noinline]] T by_instruction(T x) {
  return resume_loop(
      [](T v) {
        // |x| >= limit or infinite: too large to reduce (a NaN is not).
        if (std::fabs(v) >= kSinCosLimit<T>)
          return argument_error(kSinCosError<T>, kSqrtHalf<T>, kNaN<T>);
        return result(static_cast<T>(kCosine ? x87::fcos(v) : x87::fsin(v)));
      },
      x);
}

// The model's value inside the limit where it settles the rounding; the
// rest (errors, NaNs, zeros and tiny arguments, open roundings) takes the
// instruction.
template <class T, bool kCosine>
[[gnu::target("fma")]] T by_model(const T *px) {
  const T x = *px;
  if (x87_trig::within(x, kSinCosLimit<T>)) [[likely]] {
    if constexpr (sizeof(T) == 4) {
      return x87_trig::real4<kCosine>(x);
    } else {
      double v;
      if (x87_trig::real8<kCosine>(x, v)) [[likely]]
        return v;
    }
  }
  return by_instruction<T, kCosine>(x);
}

template <class T, bool kCosine>
[[gnu::always_inline]] inline T sine_or_cosine(const T *x) {
  return cpu::x87_sin_cos ? by_model<T, kCosine>(x) : by_instruction<T, kCosine>(*x);
}

}  // namespace
}  // namespace vx

float g_sin(const float *x) { return vx::sine_or_cosine<float, false>(x); }
float g_cos(const float *x) { return vx::sine_or_cosine<float, true>(x); }
double g_dsin(const double *x) { return vx::sine_or_cosine<double, false>(x); }
double g_dcos(const double *x) { return vx::sine_or_cosine<double, true>(x); }
