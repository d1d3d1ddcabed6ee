// Real16 to an integer power: g_aqxi (INTEGER*4), g_aqxj (INTEGER*8).
//
// Zero base (word 3 is 0 or 0x80000000): n = 0 gives 1, n > 0 gives +0,
// n < 0 is error 268 (g_aqxi) or 269 (g_aqxj) through
// signal_arith_exception, default the largest finite Real16, or +infinity
// under the infinity flag.
//
// Otherwise n = 0 gives 1 (the only shortcut); then r = 1 and p = x, or
// p = 1 / x (g_aqdq) and -n for a negative n; and right to left over the
// bits of the exponent: r = r * p (g_aqmq) for a set bit, p = p * p before
// each further bit. Every product and the reciprocal is one rounded Real16
// operation, whose overflow and underflow reports are its own.
#include <cstdint>

#include "power/power.h"
#include "quad/real16.h"

namespace vx {
namespace {

constexpr Real16 one = real16_from_words(0x3fff0000, 0, 0, 0);  // 1.0

template <class I>
Attempt<Real16> power_q(Real16 x, I n) {
  if (quad::is_zero(x)) {
    if (n == 0) return result(one);
    if (n > 0) return result(quad::kZero);
    return arith_exception(sizeof(I) == 4 ? err::kAqxiZero : err::kAqxjZero, kOverflowQ, _Inf_Q);
  }
  if (n == 0) return result(one);
  Real16 r = one, p = x;
  if (n < 0) g_aqdq(&p, &one, &x);
  for (auto m = power::magnitude(n);;) {
    if (m & 1) g_aqmq(&r, &r, &p);
    m >>= 1;
    if (m == 0) break;
    g_aqmq(&p, &p, &p);
  }
  return result(r);
}

}  // namespace
}  // namespace vx

Real16 *g_aqxi(Real16 *result, const Real16 *x, const std::int32_t *n) {
  return vx::store_result(result, vx::power::integer_power(vx::power_q<std::int32_t>, *x, *n));
}
Real16 *g_aqxj(Real16 *result, const Real16 *x, const std::int64_t *n) {
  return vx::store_result(result, vx::power::integer_power(vx::power_q<std::int64_t>, *x, *n));
}
