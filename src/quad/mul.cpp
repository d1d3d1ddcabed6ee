// Real16 product: g_aqmq (a * b).
//
// Method: both 113-bit significands are set with their leading 1 at bit 127
// and multiplied in full (four 64x64->128 products); the product lies in
// [2^254, 2^256). Its top 128 bits, normalised to bit 127, go to the funnel
// with the OR of everything below them as the sticky bit, so the result is
// the correctly rounded product (round to nearest, ties to even).
//
// Special cases:
//   a or b zero (word 3 is 0 or 0x80000000): +0, whatever the signs.
//   overflow (biased exponent 0x7fff or more after rounding): error 1397,
//     default the largest finite value, or with the infinity flag _Inf_Q
//     when the signs of a and b agree and _MInf_Q when they differ.
//   underflow (biased exponent 0 or less): error 1398, default +0.
//   Both go through signal_arith_exception with a and b in the argument
//   slots and no values; a resume starts again with the slots.
//
// The exponent is kept as a plain int: the sum of two exponent fields of
// 0x7fff0000 read as a signed 32-bit word would wrap into an "underflow".
//
// Accuracy: correctly rounded, by the argument above (a proof, not a
// measurement); the suites in tests/quad compare sampled operands with MPFR
// at 113 bits.
#include "quad/real16.h"

namespace vx::quad {

namespace {

// a * b on their format bits.
[[gnu::always_inline]] inline Rounded multiply_core(U128 a, U128 b) {
  if (is_zero_pattern(a) || is_zero_pattern(b)) return {{0, 0}, Outcome::value};
  const std::uint64_t sign = sign_of(a) ^ sign_of(b);
  const std::int32_t exp = exponent_of(a) + exponent_of(b) - kBias + 1;
  const w128::U256 p =
      w128::mul128x128(w128::shl(significand_of(a), 15), w128::shl(significand_of(b), 15));
  // A product below 2 (bit 255 clear) moves up one bit, without a branch:
  // it depends on the operands' significands at random.
  const unsigned below_two = w128::negative(p.hi) ? 0 : 1;
  const U128 top = w128::shl(p.hi, below_two);
  const std::uint64_t moved_up = (p.lo.hi >> 63) & below_two;
  const bool sticky = ((p.lo.hi << below_two) | p.lo.lo) != 0;
  return round_pack(sign, exp - static_cast<std::int32_t>(below_two),
                    {top.hi, top.lo | moved_up | (sticky ? 1u : 0u)});
}

[[gnu::always_inline]] inline Result16 product(const Real16 &a, const Real16 &b) {
  const U128 x = bits_of(a), y = bits_of(b);
  return outcome_attempt(multiply_core(x, y), err::kReal16Overflow, err::kReal16Underflow,
                         signed_infinity(sign_of(x) != sign_of(y)));
}

}  // namespace
}  // namespace vx::quad

Real16 *g_aqmq(Real16 *result, const Real16 *a, const Real16 *b) {
  return vx::quad::resume_and_store<vx::kNoValues>(result, vx::quad::product, *a, *b);
}
