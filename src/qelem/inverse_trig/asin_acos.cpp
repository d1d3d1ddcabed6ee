// Real16 arc sine and arc cosine in radians, degrees and quadrant units:
// g_qasin g_qacos, g_qasind g_qacosd, g_qasinq g_qacosq.
//
// Method, a = |x| by the high word h of a (sign cleared):
//   arc sine:
//     h above 0x3ff60000 (degrees, quadrants: 0x3ff6899c) and below
//       0x3ffeffff: Fixed128 (asin_acos_middle), atan(a / sqrt(1 - a^2))
//       or its complement, with the sign of x;
//     h below 0x3fbf0000 (a below 2^-64): x itself (degrees, quadrants: K a);
//     h up to the bound above: the series at s = a;
//     h 0x3ffeffff (a from 0.99999237060546875 to below 1): s = sqrt((1 -
//       a) / 2) and the right angle less twice the series at s;
//     a exactly 1: the right angle with the sign of x.
//   arc cosine:
//     h below 0x3ffeff7c (a below 0.998992919921875): Fixed128, the
//       complement taken the other way round; for a negative x the angle is
//       subtracted from the half turn in Fixed128 one scale up;
//     up to below 1: twice the series at s = sqrt((1 - a) / 2) (2 K s for
//       an s below 2^-64), taken from the half turn for a negative x;
//     x = 1: +0; x = -1: the half turn.
//   The series: radians s + s (f0 z + ... + f4 z^5) (arc cosine 8 rows),
//   other units P s + s (f0 + f1 z + ...) with K folded into f (K = 180/pi,
//   P = 64; K = 2/pi, P = 1/2), z = s^2.
//
// Errors: |x| above 1, infinities and NaNs included: 219 (radians), 1405
// (degrees), 1400 (quadrant units), x reported (type 11); default with
// the infinity flag _NaN_Q, else the right angle with the sign of x (arc
// sine), the half turn for a negative x and 0 otherwise (arc cosine).
//
// Accuracy: within 2 ulp (tests/qelem/real16_inverse_trig_test.cpp, MPFR
// at 256 bits); measured 1.10 ulp for the arc sines (the Fixed128 middle)
// and 1.47 for the arc cosines (the degree series next to 1).
#include "qelem/inverse_trig/inverse_trig.h"

namespace vx::qelem::arc {
namespace {

constexpr bool is_one(const Real16 &a) {
  return a.w[3] == kOneWord && (a.w[2] | a.w[1] | a.w[0]) == 0;
}

// (1 - a) / 2 and its root, for a in [0.99, 1).
struct Half {
  Real16 s, z;
};
inline Half half_complement(const Real16 &a) {
  const Real16 z = scaled(sub(kOne, a), -1);
  return {root(z), z};
}

Attempt<Real16> arc_sine(const Unit &u, const Real16 &x) {
  const std::uint32_t h = high_word(x), sign = quad::sign_of(x);
  const Real16 a = quad::with_sign(x, 0);
  if (h > u.small_limit && h < 0x3ffeffff) {
    const FixedAngle r = asin_acos_middle(u, a, false);
    return result(
        with_sign_bit_if_nonzero(quad::real16_from_bits(fixed::to_real16(r.scale, r.angle)), sign));
  }
  if (h < kTinyWord) {  // below 2^-64
    if (u.kernel == AngleUnit::radians) return result(x);
    return result(with_sign_bit_if_nonzero(mul(u.factor, a), sign));
  }
  if (h <= u.small_limit) {
    return result(
        with_sign_bit_if_nonzero(asin_series(u, u.asin_series, u.asin_rows, a, mul(a, a)), sign));
  }
  if (h < kOneWord) {  // from 0.99999237060546875: the right angle less 2 asin sqrt((1 - a) / 2)
    const Half t = half_complement(a);
    const Real16 r = asin_series(u, u.asin_series, u.asin_rows, t.s, t.z);
    return result(with_sign_bit_if_nonzero(sub(u.right, scaled(r, 1)), sign));
  }
  const Real16 right = with_sign_bit(u.right, sign);
  if (is_one(a)) return result(right);
  return argument_error(u.domain_error, right, _NaN_Q);  // |x| > 1, infinite or NaN
}

Attempt<Real16> arc_cosine(const Unit &u, const Real16 &x) {
  const std::uint32_t h = high_word(x);
  const bool negative = quad::sign_of(x) != 0;
  const Real16 a = quad::with_sign(x, 0);
  if (h < 0x3ffeff7c) {
    const FixedAngle r = asin_acos_middle(u, a, true);
    if (!negative) return result(quad::real16_from_bits(fixed::to_real16(r.scale, r.angle)));
    // The half turn less the angle, at one scale above the complement's.
    const std::int32_t up = fixed::arc_scale(u.kernel, true) + 1;
    const U128 d =
        w128::sub(u.half_turn_fixed, w128::shr(r.angle, static_cast<unsigned>(up - r.scale)));
    return result(quad::real16_from_bits(fixed::to_real16(up, d)));
  }
  if (h < kOneWord) {  // from 0.998992919921875: 2 asin sqrt((1 - a) / 2)
    const Half t = half_complement(a);
    Real16 r;
    if (high_word(t.s) < kTinyWord) {
      r = scaled(u.kernel == AngleUnit::radians ? t.s : mul(u.factor, t.s), 1);
    } else {
      r = scaled(asin_series(u, u.acos_series, u.acos_rows, t.s, t.z), 1);
    }
    return result(negative ? sub(u.half_turn, r) : r);
  }
  const Real16 default_value = negative ? u.half_turn : quad::kZero;
  if (is_one(a)) return result(negative ? sub(u.half_turn, quad::kZero) : quad::kZero);
  return argument_error(u.domain_error, default_value, _NaN_Q);  // |x| > 1, infinite or NaN
}

template <const Unit &kUnit, bool kCosine>
Real16 *entry(Real16 *result, const Real16 *x) {
  return store_result(
      result,
      resume_loop<kFirstValue>(
          [](const Real16 &v) { return kCosine ? arc_cosine(kUnit, v) : arc_sine(kUnit, v); }, *x));
}

}  // namespace
}  // namespace vx::qelem::arc

namespace arc = vx::qelem::arc;

Real16 *g_qasin(Real16 *result, const Real16 *x) {
  return arc::entry<arc::kRadians, false>(result, x);
}
Real16 *g_qacos(Real16 *result, const Real16 *x) {
  return arc::entry<arc::kRadians, true>(result, x);
}
Real16 *g_qasind(Real16 *result, const Real16 *x) {
  return arc::entry<arc::kDegrees, false>(result, x);
}
Real16 *g_qacosd(Real16 *result, const Real16 *x) {
  return arc::entry<arc::kDegrees, true>(result, x);
}
Real16 *g_qasinq(Real16 *result, const Real16 *x) {
  return arc::entry<arc::kQuadrants, false>(result, x);
}
Real16 *g_qacosq(Real16 *result, const Real16 *x) {
  return arc::entry<arc::kQuadrants, true>(result, x);
}
