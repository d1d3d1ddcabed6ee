// Real4 and Real8 to an integer power: g_arxi, g_adxi (INTEGER*4) and
// g_arxj, g_adxj (INTEGER*8), by binary exponentiation in the x87 register.
//
// Zero base (x == 0: -0 too, a NaN not): n = 0 gives 1, n > 0 gives +0,
// n < 0 is error 261 (g_arxi), 1413 (g_arxj), 264 (g_adxi), 265 (g_adxj)
// through signal_arith_exception, default 3.40282002e+38 / 1.79769313486230
// 11e+308, or +infinity under the infinity flag.
//
// g_arxi, g_adxi: n = 0 gives 1, n = 1 the base, n = 2 its square; base 1
// gives 1 and base -1 gives +-1 by the parity of n. Otherwise, with m = |n|:
// the base p is squared while m is even (m halved each time); then for a
// negative n and -1 <= p <= 1 the accumulator r starts at 2p and the
// numerator at 2 (so that a small p does not underflow r before the
// division), else at p and 1; then p is squared and multiplied into r for
// every further bit of m, low to high; the result is r, or numerator / r.
// g_arxi stores every square as a Real4 and the accumulator as a Real8 after
// every product; g_adxi keeps both in the register and stores r as a Real8
// once, before the division.
//
// g_arxj, g_adxj: n = 0 and bases +-1 as above. A negative n takes the
// reciprocal of the base first (in the register) and -n; then right-to-left
// binary exponentiation over the 64 bits of the exponent, all in the
// register; the result is rounded once.
//
// Overflow and underflow of the products are not reported: the register's
// infinity or zero comes back.
#include <cstdint>

#include "frame/ieee_constants.h"
#include "power/power.h"

namespace vx {
namespace {

using power::ld;

// The base -1 to the power n: 1 for even n, -1 for odd (the low word's
// parity for INTEGER*8).
template <class T, class I>
constexpr T minus_one_to(I n) {
  return (static_cast<std::uint32_t>(n) & 1) ? T(-1) : T(1);
}

// Binary exponentiation of method 1: Square is the type every square is
// stored in, Acc the accumulator's.
template <class Square, class Acc>
ld by_squares(Square p, std::int32_t n) {
  std::uint32_t m = power::magnitude(n);
  while ((m & 1) == 0) {
    m >>= 1;
    p = static_cast<Square>(ld{p} * ld{p});
  }
  const bool doubled = n < 0 && p >= -1 && p <= 1;
  Acc r = doubled ? static_cast<Acc>(2 * ld{p}) : static_cast<Acc>(p);
  const ld numerator = doubled ? 2 : 1;
  for (m >>= 1; m > 0; m >>= 1) {
    p = static_cast<Square>(ld{p} * ld{p});
    if (m & 1) r = static_cast<Acc>(ld{r} * ld{p});
  }
  if (n > 0) return r;
  return numerator / ld{static_cast<double>(r)};
}

// g_arxi (T = float: squares stored as Real4, the accumulator as Real8) and
// g_adxi (T = double: both in the register).
template <class T>
Attempt<T> power_i(T x, std::int32_t n) {
  if (x == 0) {
    if (n == 0) return result(T(1));
    if (n > 0) return result(T(0));
    return arith_exception(sizeof(T) == 4 ? err::kArxiZero : err::kAdxiZero, kOverflow<T>,
                           by_type<T>(_Inf_F, _Inf_D));
  }
  if (n == 0) return result(T(1));
  if (n == 1) return result(x);
  if (n == 2) return result(static_cast<T>(ld{x} * ld{x}));
  if (x == 1) return result(T(1));
  if (x == -1) return result(minus_one_to<T>(n));
  if constexpr (sizeof(T) == 4)
    return result(static_cast<T>(by_squares<float, double>(x, n)));
  else
    return result(static_cast<T>(by_squares<ld, ld>(x, n)));
}

// g_arxj and g_adxj.
template <class T>
Attempt<T> power_j(T x, std::int64_t n) {
  if (x == 0) {
    if (n == 0) return result(T(1));
    if (n > 0) return result(T(0));
    return arith_exception(sizeof(T) == 4 ? err::kArxjZero : err::kAdxjZero, kOverflow<T>,
                           by_type<T>(_Inf_F, _Inf_D));
  }
  if (n == 0 || x == 1) return result(T(1));
  if (x == -1) return result(minus_one_to<T>(n));
  ld p = n < 0 ? 1 / ld{x} : ld{x};
  ld r = 1;
  for (std::uint64_t m = power::magnitude(n); m != 0; m >>= 1) {
    if (m & 1) r *= p;
    p *= p;
  }
  return result(static_cast<T>(r));
}

}  // namespace
}  // namespace vx

float g_arxi(const float *x, const std::int32_t *n) {
  return vx::power::integer_power(vx::power_i<float>, *x, *n);
}
double g_adxi(const double *x, const std::int32_t *n) {
  return vx::power::integer_power(vx::power_i<double>, *x, *n);
}
float g_arxj(const float *x, const std::int64_t *n) {
  return vx::power::integer_power(vx::power_j<float>, *x, *n);
}
double g_adxj(const double *x, const std::int64_t *n) {
  return vx::power::integer_power(vx::power_j<double>, *x, *n);
}
