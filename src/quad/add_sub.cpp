// Real16 sum and difference: g_aqaq (a + b), g_aqsq (a - b).
//
// Method: zero operands pass the other one through bit for bit; otherwise
// the operands are ordered by magnitude (X the larger, a on a tie), both
// significands are set with their leading 1 at bit 126 (one bit of room for
// a carry, 14 bits below the 113 kept), Y is shifted right by the exponent
// difference with everything shifted out ORed into bit 0, and the two are
// added or subtracted. The result is normalised to bit 127 by its leading
// zeros (a left shift loses nothing: a difference that cancels more than
// one bit had Y shifted by at most one place), and the funnel rounds to
// nearest, ties to even, which the 14 guard bits and the sticky bit decide
// exactly. The order and the signs of random operands cannot be predicted,
// so they choose by masks rather than branches; g_aqsq is (-b) + a.
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
// Accuracy: correctly rounded, by the argument above (a proof, not a
// measurement); the suites in tests/quad compare sampled operands with MPFR
// at 113 bits.
#include "quad/real16.h"

namespace vx::quad {

namespace {

// a + b on their format bits. A zero operand returns the other one, a zero
// a first (so two zeros return b). Otherwise the order of the operands
// plays no part: on equal magnitudes the result is 2a or +0.
[[gnu::always_inline]] inline Rounded add_core(U128 a, U128 b) {
  if (is_zero_pattern(a)) [[unlikely]]
    return {b, Outcome::value};
  if (is_zero_pattern(b)) [[unlikely]]
    return {a, Outcome::value};
  // X, the larger magnitude (a on a tie), and Y, chosen without a branch:
  // the order of random operands cannot be predicted, nor whether their
  // signs agree.
  const U128 ma = magnitude_of(a), mb = magnitude_of(b);
  const bool swap = w128::less(ma, mb);
  const std::uint64_t sign = sign_of(w128::select(swap, b, a));
  const bool subtract = ((a.hi ^ b.hi) >> 63) != 0;
  const U128 x = w128::select(swap, mb, ma), y = w128::select(swap, ma, mb);  // |X|, |Y|
  const auto ex = static_cast<std::int32_t>(x.hi >> 48);  // no sign above the exponent
  const auto distance = static_cast<unsigned>((x.hi >> 48) - (y.hi >> 48));
  const U128 sx = w128::shl(significand_of(x), 14);
  const U128 sy = w128::shr_sticky(w128::shl(significand_of(y), 14), distance);
  // Signs equal: the sum, in [2^126, 2^128). Different: the difference, in
  // [0, 2^127): X plus the two's complement of Y. Either way the leading 1
  // is then brought to bit 127.
  const U128 s = w128::add(sx, w128::negate_if(subtract, sy));
  if (w128::is_zero(s)) [[unlikely]]
    return {{0, 0}, Outcome::value};  // exact cancellation: +0
  int n;
  const U128 sig = w128::normalize(s, n);
  return round_pack(sign, ex + 1 - n, sig);
}

[[gnu::always_inline]] inline Result16 sum(const Real16 &a, const Real16 &b) {
  const U128 x = bits_of(a);
  return outcome_attempt(add_core(x, bits_of(b)), err::kReal16Overflow, err::kReal16Underflow,
                         signed_infinity(sign_of(x) != 0));
}

// (-b) + a: a zero b returns a, even when a is a zero too, and a zero a
// returns -b.
[[gnu::always_inline]] inline Result16 difference(const Real16 &a, const Real16 &b) {
  const U128 x = bits_of(a);
  return outcome_attempt(add_core(negated(bits_of(b)), x), err::kReal16Overflow,
                         err::kReal16Underflow, signed_infinity(sign_of(x) != 0));
}

}  // namespace
}  // namespace vx::quad

Real16 *g_aqaq(Real16 *result, const Real16 *a, const Real16 *b) {
  return vx::quad::resume_and_store<vx::kNoValues>(result, vx::quad::sum, *a, *b);
}

Real16 *g_aqsq(Real16 *result, const Real16 *a, const Real16 *b) {
  return vx::quad::resume_and_store<vx::kNoValues>(result, vx::quad::difference, *a, *b);
}
