// Real16 quotient: g_aqdq (a / b).
//
// Method: both significands are set with their leading 1 at bit 127 (A, B).
// The numerator is A * 2^128 when A < B and A * 2^127 otherwise, so that the
// 128-bit quotient Q = floor(numerator / B) has its leading 1 at bit 127.
// Q comes in two 64-bit words from two 3-by-2 word divisions with the exact
// reciprocal of B (w128::div_3by2); the remainder, nonzero or not, is the
// sticky bit, and the funnel rounds to nearest, ties to even: the quotient
// is correctly rounded.
//
// Special cases:
//   b zero (word 3 is 0 or 0x80000000): division by zero, error 280, no
//     values; default with the infinity flag _NaN_Q when a is zero, else
//     _Inf_Q or _MInf_Q by the sign of a; without it +0 when a is zero,
//     else the largest finite value. The sign of the zero b plays no part.
//   a zero, b not: +0.
//   overflow (biased exponent 0x7fff or more after rounding): error 278,
//     default the largest finite value, or _Inf_Q / _MInf_Q by the sign of
//     the quotient with the infinity flag.
//   underflow (biased exponent 0 or less): error 279, default +0.
//   278 and 279 report a and b as values (Real16, type 11) beside the
//   argument slots. All three go through signal_arith_exception; a resume
//   starts again with the slots.
//
// Accuracy: correctly rounded; mul_div_test compares with MPFR at 113 bits.
#include "quad/real16.h"

namespace vx::quad {

namespace {

[[gnu::always_inline]] inline Rounded divide_core(const Real16 &a, const Real16 &b) {
  if (is_zero(a)) return {kZero, Outcome::value};
  const std::uint32_t sign = sign_of(a) ^ sign_of(b);
  std::int32_t exp = exponent_of(a) - exponent_of(b) + kBias;
  const U128 num = w128::shl(significand_of(a), 15);
  const U128 den = w128::shl(significand_of(b), 15);
  const std::uint64_t v = w128::reciprocal_3by2(den);
  U128 r;
  std::uint64_t q1;
  if (w128::less(num, den)) {  // numerator A * 2^128
    --exp;
    q1 = w128::div_3by2(num.hi, num.lo, 0, den, v, r);
  } else {  // numerator A * 2^127
    const U128 half = w128::shr(num, 1);
    q1 = w128::div_3by2(half.hi, half.lo, num.lo << 63, den, v, r);
  }
  const std::uint64_t q0 = w128::div_3by2(r.hi, r.lo, 0, den, v, r);
  return round_pack(sign, exp, {q1, q0 | (w128::is_zero(r) ? 0u : 1u)});
}

}  // namespace

Rounded divide(const Real16 &a, const Real16 &b) { return divide_core(a, b); }

namespace {

Attempt<Real16> quotient(Real16 a, Real16 b) {
  if (is_zero(b)) {  // division by zero: no values reported
    const bool zero = is_zero(a);
    const Real16 ieee = zero ? _NaN_Q : signed_infinity(sign_of(a) != 0);
    return without_values(arith_exception(280, zero ? kZero : kOverflowQ, ieee));
  }
  return outcome_attempt(divide_core(a, b), 278, 279, signed_infinity(sign_of(a) != sign_of(b)));
}

}  // namespace
}  // namespace vx::quad

Real16 *g_aqdq(Real16 *result, const Real16 *a, const Real16 *b) {
  *result = vx::resume_loop<vx::kBothValues>(vx::quad::quotient, *a, *b);
  return result;
}
