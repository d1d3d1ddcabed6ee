// Complex moduli: g_cabs (Complex8), g_cdabs (Complex16), g_cqabs
// (Complex32). No errors are reported by these functions themselves.
//
//   g_cabs: sqrt(x^2 + y^2) in Real8 (exact squares, one rounded sum, the
//     rounded root), rounded to Real4: within 0.5 ulp plus 2^-29 of an ulp;
//     (3e38, 4e38) rounds to +infinity.
//   g_cdabs: the modulus scaled by the larger part in the x87 register
//     (complex_functions.h), rounded once to Real8: no overflow before the
//     rounding, within 0.5 ulp plus a few 2^-11.
//   g_cqabs: the same scaling chosen on the high words of |x| and |y|
//     (unsigned): |x|'s below |y|'s: t = x/y, |y| sqrt(1 + t^2); |x|'s zero
//     (both parts zero): +0; otherwise t = y/x, |x| sqrt(1 + t^2). Each step
//     is one rounded Real16 operation (g_aqdq, g_aqmq, g_aqaq, g_qsqrt),
//     whose overflow and underflow reports are the modulus's.
//
// complex_functions_test measures each against MPC.
#include <vexmorg/vexmorg.h>

#include <cstdint>
#include <utility>

#include "complex/complex_functions.h"
#include "frame/hidden_result.h"
#include "quad/real16.h"

float g_cabs(const Complex8 *z) { return static_cast<float>(vx::complex::modulus8(z->re, z->im)); }

double g_cdabs(const Complex16 *z) {
  return static_cast<double>(vx::complex::modulus_x87(z->re, z->im));
}

Real16 *g_cqabs(Real16 *result, const Complex32 *z) {
  using vx::quad::kSignBit;
  constexpr Real16 one = vx::real16_from_words(0x3fff0000, 0, 0, 0);
  Real16 x = z->re, y = z->im;
  const std::uint32_t high_x = x.w[3] & ~kSignBit, high_y = y.w[3] & ~kSignBit;
  x.w[3] = high_x;
  y.w[3] = high_y;
  if (high_x < high_y) std::swap(x, y);  // x: the part of the larger high word
  if (high_x == 0 && high_y == 0) return vx::store_result(result, vx::quad::kZero);
  Real16 t, s;
  g_aqdq(&t, &y, &x);  // t = y/x, the sign gone with the parts'
  g_aqmq(&s, &t, &t);
  g_aqaq(&s, &one, &s);
  g_qsqrt(&s, &s);
  g_aqmq(&s, &x, &s);
  return vx::store_result(result, s);
}
