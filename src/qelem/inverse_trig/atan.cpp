// Real16 arc tangent and two-argument arc tangent in radians, degrees and
// quadrant units: g_qatan g_qatan2, g_qatand g_qatan2d, g_qatanq
// g_qatan2q; and ulx_gqmd, a Real16 times a Real8.
//
// Arc tangent, a = |x| by the high word h of a:
//   h above 0x3ff68d30 (degrees, quadrants: 0x3ff6899c) and at most
//     0x40074a00 (0x40074d00): Fixed128. Below 1, atan(A / 1.0); from 1 on,
//     a and 1 both scaled by 2^(16382 - E) (a into [0.5, 1)), rescaled as a
//     pair, and the complement of atan(scaled 1 / scaled a).
//   below: the series at t = a; above: the right angle less the series at
//     t = 1 / a (g_aqdq: an infinity or NaN is a huge divisor like any
//     other, and a quotient below the format's range is its underflow).
//   The series: radians t + t (f0 + f1 z + ... + f5 z^5), other units t p +
//   P t with K folded into p; z = t^2; t below 2^-64: t itself (K t).
//   The result's high word gets the sign bit of x.
//
// Two-argument arc tangent (y, x):
//   a y or x of exactly 0x80000000 0 0 0 (-0) counts as +0; x nonzero and
//   the exponent field of y above that of x by more than 112: x counts as
//   zero. x zero: the right angle with the sign of y, both zero error.
//   Exponent field of x above y's by more than 8: the arc tangent of y / x.
//   Otherwise |y| and |x|, exchanged when |y| >= |x|, scaled so that the
//   larger has exponent field 0x3ffe (a zero smaller one stays zero: its
//   exponent field is no exponent to scale), converted, rescaled as a pair, the
//   kernel's angle complemented when exchanged, with the sign bit sign(y)
//   xor sign(x). x negative: plus the half turn for y not negative, minus
//   it for y negative.
//
// Errors: y and x both zero: 222 (radians), 1406 (degrees), 1401 (quadrant
// units), the slots of y and x and no values; default +0, or _NaN_Q with
// the infinity flag. The one-argument arc tangents report nothing of their
// own.
//
// Accuracy: within 2 ulp (tests/qelem/real16_inverse_trig_test.cpp, MPFR
// at 256 bits); measured 1.20 ulp for the arc tangents and 1.69 for the
// two-argument ones.
#include <utility>

#include "qelem/inverse_trig/inverse_trig.h"

namespace vx::qelem::arc {

Real16 arc_tangent(const Unit &u, const Real16 &x) {
  const std::uint32_t h = high_word(x), sign = quad::sign_of(x);
  const Real16 a = quad::with_sign(x, 0);
  const std::uint32_t small = u.kernel == AngleUnit::radians ? kAtanSmallRadians : u.small_limit;
  if (h > small && h <= u.atan_limit) {
    U128 angle;
    std::int32_t scale;
    if (h < kOneWord) {
      angle = fixed::arc(u.kernel, false, fixed::from_real16(1, quad::bits_of(a)),
                         w128::from_words(0x80000000, 0, 0, 0));
      scale = fixed::arc_scale(u.kernel, false);
    } else {
      // a 2^(16382 - E) in [0.5, 1) and 2^(16382 - E), exponent field 0x7ffd - E.
      const std::uint32_t e = h >> 16;
      const Real16 scaled_a = real16_from_words((h & 0xffff) | 0x3ffe0000, a.w[2], a.w[1], a.w[0]);
      const Real16 scaled_one = real16_from_words((0x7ffd - e) << 16, 0, 0, 0);
      const fixed::Pair pair =
          fixed::rescale_pair(fixed::from_real16(1, quad::bits_of(scaled_a)),
                              fixed::from_real16(1, quad::bits_of(scaled_one)));
      angle = fixed::arc(u.kernel, true, pair.y, pair.x);
      scale = fixed::arc_scale(u.kernel, true);
    }
    return with_sign_bit(quad::real16_from_bits(fixed::to_real16(scale, angle)), sign);
  }
  const bool complement = h > small;
  const Real16 t = complement ? div(kOne, a) : a;
  Real16 r;
  if (high_word(t) < kTinyWord) {  // below 2^-64
    r = u.kernel == AngleUnit::radians ? t : mul(u.factor, t);
  } else {
    const Real16 p = horner(u.atan_series, 6, mul(t, t));
    r = u.kernel == AngleUnit::radians ? add(mul(p, t), t) : add(mul(t, p), times(t, u.p));
  }
  if (complement) r = sub(u.right, r);
  return with_sign_bit(r, sign);
}

namespace {

constexpr bool is_minus_zero_pattern(const Real16 &v) {
  return v.w[3] == quad::kSignBit && (v.w[2] | v.w[1] | v.w[0]) == 0;
}

Attempt<Real16> arc_tangent2(const Unit &u, Real16 y, Real16 x) {
  if (is_minus_zero_pattern(y)) y = quad::kZero;
  if (is_minus_zero_pattern(x)) x = quad::kZero;
  const std::uint32_t hy = high_word(y), hx = high_word(x);
  const bool y_negative = quad::sign_of(y) != 0, x_negative = quad::sign_of(x) != 0;
  const bool x_zero = hx == 0 || (hy & 0x7fff0000) > (hx & 0x7fff0000) + 0x700000;
  if (x_zero) {
    if (hy == 0) return argument_error(u.zero_error, quad::kZero, _NaN_Q);  // both zero
    if (!y_negative) return result(u.right);
    Real16 r;
    return result(*ulx_gqqc(&r, u.right));
  }
  Real16 r;
  if ((hx & 0x7fff0000) > (hy & 0x7fff0000) + 0x80000) {
    r = arc_tangent(u, div(y, x));
  } else {
    Real16 big = quad::with_sign(x, 0), small = quad::with_sign(y, 0);
    const bool exchanged = !w128::less(quad::bits_of(small), quad::bits_of(big));
    if (exchanged) std::swap(big, small);
    // Both scaled by one power of two: the larger's exponent field to 0x3ffe.
    // A zero smaller one stays zero (its exponent field is no exponent).
    const std::uint32_t shift = (big.w[3] & 0xffff0000) - 0x3ffe0000;
    big.w[3] -= shift;
    if (!quad::is_zero(small)) small.w[3] -= shift;
    const fixed::Pair pair = fixed::rescale_pair(fixed::from_real16(1, quad::bits_of(big)),
                                                 fixed::from_real16(1, quad::bits_of(small)));
    r = quad::real16_from_bits(fixed::to_real16(fixed::arc_scale(u.kernel, exchanged),
                                                fixed::arc(u.kernel, exchanged, pair.y, pair.x)));
    r = quad::with_sign(r, quad::sign_of(y) ^ quad::sign_of(x));
  }
  if (!x_negative) return result(r);
  return result(y_negative ? sub(r, u.half_turn) : add(r, u.half_turn));
}

template <const Unit &kUnit>
Real16 *tangent_entry(Real16 *result, const Real16 *x) {
  return store_result(result, arc_tangent(kUnit, *x));
}

template <const Unit &kUnit>
Real16 *tangent2_entry(Real16 *result, const Real16 *y, const Real16 *x) {
  return store_result(
      result,
      resume_loop<kNoValues>(
          [](const Real16 &b, const Real16 &a) { return arc_tangent2(kUnit, b, a); }, *y, *x));
}

}  // namespace
}  // namespace vx::qelem::arc

namespace arc = vx::qelem::arc;

Real16 *g_qatan(Real16 *result, const Real16 *x) {
  return arc::tangent_entry<arc::kRadians>(result, x);
}
Real16 *g_qatand(Real16 *result, const Real16 *x) {
  return arc::tangent_entry<arc::kDegrees>(result, x);
}
Real16 *g_qatanq(Real16 *result, const Real16 *x) {
  return arc::tangent_entry<arc::kQuadrants>(result, x);
}
Real16 *g_qatan2(Real16 *result, const Real16 *y, const Real16 *x) {
  return arc::tangent2_entry<arc::kRadians>(result, y, x);
}
Real16 *g_qatan2d(Real16 *result, const Real16 *y, const Real16 *x) {
  return arc::tangent2_entry<arc::kDegrees>(result, y, x);
}
Real16 *g_qatan2q(Real16 *result, const Real16 *y, const Real16 *x) {
  return arc::tangent2_entry<arc::kQuadrants>(result, y, x);
}

// a b as the conversion of b to Real16 (exact) and the product g_aqmq,
// whose errors are its own.
Real16 *ulx_gqmd(Real16 *result, Real16 a, double b) {
  Real16 wide;
  g_qextd(&wide, &b);
  return g_aqmq(result, &a, &wide);
}
