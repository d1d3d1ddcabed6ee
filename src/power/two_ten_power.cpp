// 2 ** x and 10 ** x: g_a2xr g_atxr (Real4), g_a2xd g_atxd (Real8).
//
// The values are those of the base-2 and base-10 exponentials g_exp2,
// g_exp10, g_dexp2, g_dexp10, whose steps these operators share (the same
// reduction to multiples of 1/64, the tables 2^(j/64), the series and the
// limits); what differs is the overflow:
//   2 ** x   Real4 x >= 128 (bit pattern, so plus infinity and positive
//            NaNs too), Real8 x >= 1024 (plus infinity);
//   10 ** x  Real4 x >= 38.531 (0x421a1fbe, likewise), Real8 x >= 308.254;
// error 1416 (Real4) or 1417 (Real8) through signal_arith_exception with
// the base (2 or 10) and x as the two arguments, both reported. On resume a
// base the handler changed hands over to g_arxr or g_adxd with the slots;
// otherwise the operator starts again with the new x. Declined: +infinity
// under the infinity flag, else 3.40282002e+38 or 1.7976931348623011e+308.
#include <cstdint>

#include "common/bits.h"
#include "frame/ieee_constants.h"
#include "power/power.h"

namespace vx {
namespace {

template <class T>
using Unary = T (*)(const T *);
template <class T>
using Binary = T (*)(const T *, const T *);

bool a2xr_overflows(float x) { return static_cast<std::int32_t>(bits(x)) >= 0x43000000; }
bool atxr_overflows(float x) { return static_cast<std::int32_t>(bits(x)) >= 0x421a1fbe; }
bool a2xd_overflows(double x) { return x >= 1024.0; }
bool atxd_overflows(double x) { return x >= 308.254; }  // 0x40734410624DD2F2

// The overflow report and its resume, out of line.
template <class T>
[[gnu::noinline, gnu::cold]] T overflow(T base, T x, bool (*overflows)(T), Unary<T> value,
                                        Binary<T> power) {
  const std::int32_t number = sizeof(T) == 4 ? err::kArxrOverflow : err::kAdxdOverflow;
  while (overflows(x)) {
    T b = base;
    if (!detail::report_args<kBothValues>(Via::arith_exception, number, true, b, x))
      return pick_default(kOverflow<T>, by_type<T>(_Inf_F, _Inf_D));
    if (bits(b) != bits(base)) return power(&b, &x);
  }
  return value(&x);
}

template <class T>
[[gnu::always_inline]] inline T base_to(T base, T x, bool (*overflows)(T), Unary<T> value,
                                        Binary<T> power) {
  if (!overflows(x)) [[likely]]
    return value(&x);
  return overflow(base, x, overflows, value, power);
}

}  // namespace
}  // namespace vx

float g_a2xr(const float *x) { return vx::base_to(2.0f, *x, vx::a2xr_overflows, g_exp2, g_arxr); }
float g_atxr(const float *x) { return vx::base_to(10.0f, *x, vx::atxr_overflows, g_exp10, g_arxr); }
double g_a2xd(const double *x) { return vx::base_to(2.0, *x, vx::a2xd_overflows, g_dexp2, g_adxd); }
double g_atxd(const double *x) {
  return vx::base_to(10.0, *x, vx::atxd_overflows, g_dexp10, g_adxd);
}
