// Real16 sum and difference: g_aqaq (a + b), g_aqsq (a - b).
//
// Method: zero operands pass the other one through bit for bit; otherwise
// the operands are ordered by magnitude (X the larger, a on a tie), both
// significands are set with their leading 1 at bit 126 (one bit of room for
// a carry, 14 bits below the 113 kept), Y is shifted right by the exponent
// difference with everything shifted out ORed into bit 0, and the two are
// added or subtracted. A sum that did not carry, or a difference, is
// normalised to bit 127 (a left shift loses nothing: a difference that
// cancels more than one bit had Y shifted by at most one place), and the
// funnel rounds to nearest, ties to even, which the 14 guard bits and the
// sticky bit decide exactly.
//
// Special cases:
//   a zero (word 3 is 0 or 0x80000000): g_aqaq returns b and g_aqsq returns
//     b with the sign bit of word 3 inverted; a zero b returns a, checked
//     first by g_aqsq. So +0 + -0 is -0, and a difference of two zeros is a.
//   exact cancellation: +0 (all words 0).
//   overflow (biased exponent 0x7fff or more after rounding): error 1397,
//     default the largest finite value, or with the infinity flag _Inf_Q /
//     _MInf_Q by the sign of a (not of the result).
//   underflow (biased exponent 0 or less): error 1398, default +0.
//   Both go through signal_arith_exception with a and b in the argument
//   slots and no values; a resume starts again with the slots.
//
// Accuracy: correctly rounded; add_sub_test compares with MPFR at 113 bits.
#include "quad/real16.h"

namespace vx::quad {

namespace {

[[gnu::always_inline]] inline Rounded add_core(const Real16 &a, const Real16 &b) {
  if (is_zero(a)) return {b, Outcome::value};
  if (is_zero(b)) return {a, Outcome::value};
  const bool swap = w128::less(magnitude_of(a), magnitude_of(b));
  const Real16 &x = swap ? b : a;
  const Real16 &y = swap ? a : b;
  const std::uint32_t sign = sign_of(x);
  const std::int32_t ex = exponent_of(x);
  const auto distance = static_cast<unsigned>(ex - exponent_of(y));
  const U128 sx = w128::shl(significand_of(x), 14);
  const U128 sy = w128::shr_sticky(w128::shl(significand_of(y), 14), distance);
  if (sign == sign_of(y)) {
    const U128 s = w128::add(sx, sy);
    if (w128::negative(s)) return round_pack(sign, ex + 1, s);  // carried into bit 127
    return round_pack(sign, ex, w128::shl(s, 1));
  }
  const U128 s = w128::sub(sx, sy);
  if (w128::is_zero(s)) return {kZero, Outcome::value};
  const int n = w128::clz128(s);
  return round_pack(sign, ex + 1 - n, w128::shl(s, static_cast<unsigned>(n)));
}

}  // namespace

Rounded add(const Real16 &a, const Real16 &b) { return add_core(a, b); }

namespace {

constexpr std::int32_t kOverflow = 1397;
constexpr std::int32_t kUnderflow = 1398;

Attempt<Real16> sum(Real16 a, Real16 b) {
  return outcome_attempt(add_core(a, b), kOverflow, kUnderflow, signed_infinity(sign_of(a) != 0));
}

Attempt<Real16> difference(Real16 a, Real16 b) {
  if (is_zero(b)) return result(a);
  if (is_zero(a)) return result(with_sign(b, sign_of(b) ^ kSignBit));
  const Real16 minus_b = with_sign(b, sign_of(b) ^ kSignBit);
  return outcome_attempt(add_core(a, minus_b), kOverflow, kUnderflow,
                         signed_infinity(sign_of(a) != 0));
}

}  // namespace
}  // namespace vx::quad

Real16 *g_aqaq(Real16 *result, const Real16 *a, const Real16 *b) {
  *result = vx::resume_loop<vx::kNoValues>(vx::quad::sum, *a, *b);
  return result;
}

Real16 *g_aqsq(Real16 *result, const Real16 *a, const Real16 *b) {
  *result = vx::resume_loop<vx::kNoValues>(vx::quad::difference, *a, *b);
  return result;
}
