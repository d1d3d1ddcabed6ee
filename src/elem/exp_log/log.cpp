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
// Evaluation: where the processor's FYL2X agrees with its model
// (common/cpu.h), the Real4 result is ln x (times log10(e)) evaluated in
// Real8 where that decides the rounding, and the Real8 result (with fused
// multiply-adds) the register's value reproduced on SSE within a bound
// (log_route.h); the register evaluation decides the rest. The results are
// the register's for every argument.
//
// Accuracy against MPFR (exp_log_test), by analysis: FYL2X errs by less than one unit of the
// register's 64 bits and the constants by half a unit, so both types are
// within 0.5 ulp plus 2^-10 ulp of the rounding.
#include <cstdint>

#include "common/bits.h"
#include "common/cpu.h"
#include "common/real4_rounding.h"
#include "common/x87.h"
#include "elem/exp_log/exp_log_routes.h"
#include "elem/exp_log/log_argument_error.h"
#include "elem/exp_log/log_route.h"
#include "frame/resume.h"

namespace vx {
namespace {

// c log2(x), x > 0, with c = ln 2 or log10(2) loaded by `kConstant`.
template <class T, long double (*kConstant)()>
T log_x87(T x) {
  return static_cast<T>(x87::fyl2x(kConstant(), x));
}

// The routes' view of a constant: its loader, c / ln 2 as a pair, and the
// Real8 factor from ln x to the Real4 route's value.
struct Ln {
  static constexpr auto load = x87::fldln2;
  static constexpr DoubleDouble k = log_route_table::ln_k;
  static double of_ln(double v) { return v; }
};
struct Lg {
  static constexpr auto load = x87::fldlg2;
  static constexpr DoubleDouble k = log_route_table::lg_k;
  static double of_ln(double v) { return v * log_route::log10e; }
};

// log_x87<float> for a positive finite x: by the Real4 route where it is on
// and decides.
template <class C>
float log_positive4(float x) {
  const auto in_register = [x] { return log_x87<float, C::load>(x); };
  if (cpu::x87_exp_log) [[likely]]
    return real4_or_register<Real4Range::normal>(C::of_ln(log_route::ln_of_real4(x)), in_register);
  return in_register();
}

// log_x87<double> for x > 0 by the Real8 route (positive normal x) where it
// decides.
template <class C>
[[gnu::target("fma")]] double log_positive8_route(double x) {
  double r;
  if ((bits(x) >> 52) - 1 < 0x7fe && log_route::settle_real8(x, C::k, r)) [[likely]]
    return r;
  return log_x87<double, C::load>(x);
}

template <class C>
double log_positive8(double x) {
  if (cpu::fma && cpu::x87_exp_log) return log_positive8_route<C>(x);
  return log_x87<double, C::load>(x);
}

template <class T>
inline constexpr std::int32_t log_error = sizeof(T) == 4 ? err::kLogDomain : err::kDlogDomain;

template <class T, long double (*kConstant)()>
Attempt<T> log_attempt(T x) {
  if (x > 0) return result(log_x87<T, kConstant>(x));
  return log_argument_error(log_error<T>, x, log_x87<T, kConstant>);
}

// The Real4 entries: positive finite x by log_positive4, the rest as
// log_attempt.
template <class C>
Attempt<float> log4(float x) {
  if (bits(x) - 1 < 0x7f7fffff) [[likely]]
    return result(log_positive4<C>(x));
  return log_attempt<float, C::load>(x);
}

// The Real8 entries where the route is on: positive normal x settled by
// the bound, the rest by log_attempt.
template <class C>
[[gnu::target("fma"), gnu::noipa]] double log8_route(const double *px) {
  const double x = *px;
  double r;
  if ((bits(x) >> 52) - 1 < 0x7fe && log_route::settle_real8(x, C::k, r)) [[likely]]
    return r;
  return resume_loop(log_attempt<double, C::load>, x);
}

template <class C>
double log8(const double *x) {
  if (cpu::fma && cpu::x87_exp_log) return log8_route<C>(x);
  return resume_loop(log_attempt<double, C::load>, *x);
}

}  // namespace

float ln_as_real4(float x) { return log_positive4<Ln>(x); }
float log10_as_real4(float x) { return log_positive4<Lg>(x); }
double ln_as_real8(double x) { return log_positive8<Ln>(x); }
double log10_as_real8(double x) { return log_positive8<Lg>(x); }

}  // namespace vx

using vx::log4;
using vx::resume_loop;

float g_log(const float *x) { return resume_loop(log4<vx::Ln>, *x); }
float g_alog(const float *x) { return resume_loop(log4<vx::Ln>, *x); }
float g_log10(const float *x) { return resume_loop(log4<vx::Lg>, *x); }
float g_alog10(const float *x) { return resume_loop(log4<vx::Lg>, *x); }
double g_dlog(const double *x) { return vx::log8<vx::Ln>(x); }
double g_dlog10(const double *x) { return vx::log8<vx::Lg>(x); }
