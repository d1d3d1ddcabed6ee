// Natural and base-10 logarithms on the processor: g_log, g_alog, g_log10,
// g_alog10 (Real4), g_dlog, g_dlog10 (Real8). g_alog and g_alog10 are the
// Fortran specific names of g_log and g_log10: separate entries, same
// steps.
//
// Method: ln 2 log2(x) and log10(2) log2(x) by FYL2X with the constant
// loaded by FLDLN2 or FLDLG2, one rounding in the register; the result is
// stored in the argument's type.
//
// Errors (argument reported as value): x not greater than zero, or a NaN:
//   244 (Real4) / 245 (Real8); defaults in log_argument_error.h (zero:
//   -3.40282002e+38 / -1.7976931348623011e+308 or minus infinity; negative:
//   the logarithm of -x, or NaN with the infinity flag).
//
// Accuracy against MPFR (exp_log_test), by analysis: FYL2X errs by less than one unit of the
// register's 64 bits and the constants by half a unit, so both types are
// within 0.5 ulp plus 2^-10 ulp of the rounding.
#include <cstdint>

#include "common/x87.h"
#include "elem/exp_log/log_argument_error.h"
#include "frame/resume.h"

namespace vx {
namespace {

// c log2(x), x > 0, with c = ln 2 or log10(2) loaded by `kConstant`.
template <class T, long double (*kConstant)()>
T log_x87(T x) {
  return static_cast<T>(x87::fyl2x(kConstant(), x));
}

template <class T>
inline constexpr std::int32_t log_error = sizeof(T) == 4 ? err::kLogDomain : err::kDlogDomain;

template <class T, long double (*kConstant)()>
Attempt<T> log_attempt(T x) {
  if (x > 0) return result(log_x87<T, kConstant>(x));
  return log_argument_error(log_error<T>, x, log_x87<T, kConstant>);
}

}  // namespace
}  // namespace vx

using vx::log_attempt;
using vx::resume_loop;
namespace x87 = vx::x87;

float g_log(const float *x) { return resume_loop(log_attempt<float, x87::fldln2>, *x); }
float g_alog(const float *x) { return resume_loop(log_attempt<float, x87::fldln2>, *x); }
float g_log10(const float *x) { return resume_loop(log_attempt<float, x87::fldlg2>, *x); }
float g_alog10(const float *x) { return resume_loop(log_attempt<float, x87::fldlg2>, *x); }
double g_dlog(const double *x) { return resume_loop(log_attempt<double, x87::fldln2>, *x); }
double g_dlog10(const double *x) { return resume_loop(log_attempt<double, x87::fldlg2>, *x); }
