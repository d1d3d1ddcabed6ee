// Radian arc tangents: g_atan, g_atan2 (Real4), g_datan, g_datan2 (Real8).
//
// Method: the processor's FPATAN, of x over 1 for the one-argument forms
// and of y over x for the two-argument ones, rounded to the result type.
//
// Special cases:
//   atan: none; a NaN gives a NaN.
//   atan2(y, x): the sign of a zero never selects a result: a -0.0 is taken
//     as +0.0 before FPATAN, so atan2(-0.0, -1.0) = +pi and
//     atan2(1.0, -0.0) = +pi/2.
//   atan2(+-0, +-0): error 220 / 221, both argument slots (y, then x), no
//     values reported; default 0.0, or a NaN with the infinity flag.
//
// Accuracy against MPFR (inverse_trig_test), by analysis: FPATAN errs by a
// few units in the last of its 64 bits, so the rounded results are within
// 0.51 ulp.
#include "common/x87.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {
namespace {

template <class T>
T arctan(T x) {
  return static_cast<T>(x87::fpatan(x, 1));
}

template <class T, std::int32_t kError>
Attempt<T> arctan2(T y, T x) {
  // y and x both zero: error 220 / 221, default 0
  if (y == 0 && x == 0) return argument_error(kError, T{0}, kNaN<T>);
  if (y == 0) y = 0;  // -0.0 becomes +0.0
  if (x == 0) x = 0;
  return result(static_cast<T>(x87::fpatan(y, x)));
}

}  // namespace
}  // namespace vx

float g_atan(const float *x) { return vx::arctan(*x); }
double g_datan(const double *x) { return vx::arctan(*x); }
float g_atan2(const float *y, const float *x) {
  return vx::resume_loop<vx::kNoValues>(vx::arctan2<float, vx::err::kAtan2Zero>, *y, *x);
}
double g_datan2(const double *y, const double *x) {
  return vx::resume_loop<vx::kNoValues>(vx::arctan2<double, vx::err::kDatan2Zero>, *y, *x);
}
