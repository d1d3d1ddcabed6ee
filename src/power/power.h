// What the ** operators share: the magnitude of an integer exponent and the
// zero-base error of the integer powers.
//
// A zero base raised to a negative power goes to the runtime as an
// arithmetic exception (signal_arith_exception): base and exponent in the
// two argument slots, base first, and the exponent alone reported as a
// value (type code 3 or 4); a resume starts again with both slots.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstdint>
#include <type_traits>

#include "frame/resume.h"
#include "quad/real16.h"

namespace vx::power {

using ld = long double;

// |n| as an unsigned word: the most negative integer gives 2^31 or 2^63.
template <class I>
constexpr std::make_unsigned_t<I> magnitude(I n) {
  using U = std::make_unsigned_t<I>;
  return n < 0 ? U(0) - static_cast<U>(n) : static_cast<U>(n);
}

// A complex base is (0, 0) when both parts compare equal to 0 (either sign);
// a Complex32 part when word 3 is 0 but for the sign.
template <class C>
bool parts_zero(const C &z) {
  return z.re == 0 && z.im == 0;
}
inline bool parts_zero(const Complex32 &z) { return quad::is_zero(z.re) && quad::is_zero(z.im); }

inline constexpr Complex32 kOne32{real16_from_words(0x3fff0000, 0, 0, 0), quad::kZero},
    kZero32{quad::kZero, quad::kZero};

// Runs an integer power's attempt(x, n) under the resume loop: base and
// exponent in the slots, the exponent alone reported as a value.
template <class F, class X, class I>
[[gnu::always_inline]] inline auto integer_power(F attempt, const X &x, const I &n) {
  return resume_loop<kSecondValue>(attempt, x, n);
}

}  // namespace vx::power

// The cores of the real powers: 2^(y log2 x) for x > 0, as a Real8. On
// overflow *flag is set to the operator's error number (1416, 1417) and the
// huge value 0x7f7fffee / 0x7fefffffffffffb6 comes back; a result below the
// range is +0. ulx_uexp is e^x to single precision, without range checks.
extern "C" {
double ulx_gpow(float x, float y, std::int32_t *flag);
double ulx_gpwd(double x, double y, std::int32_t *flag);
double ulx_uexp(const double *x);
// The Real16 core: 2^(y log2 x) through g_qlog2, g_aqmq and g_qexp2, the
// operands by value; overflow sets *flag to 272 and gives the largest
// finite Real16.
Real16 *ulx_gpwq(Real16 *result, Real16 x, Real16 y, std::int32_t *flag);
}
