// Real16 quotient: g_aqdq (a / b).
//
// Method: with A and B the significands ([2^112, 2^113)), N = A, or 2A when
// A < B, so that N / B lies in [1, 2); the quotient's value is
// V = N * 2^127 / B in [2^127, 2^128). An estimate within 2 of V
// (quotient_estimate: a 53-bit reciprocal from one double division, then
// three integer digits with exact remainders) decides the rounding nearly
// always; near a rounding boundary the exact remainder of
// floor(V) decides. The funnel rounds to nearest, ties to even: the
// quotient is correctly rounded.
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
// Accuracy: correctly rounded, by the argument above (a proof, not a
// measurement); the suites in tests/quad compare sampled operands with MPFR
// at 113 bits.
#include "quad/estimates.h"
#include "quad/real16.h"

namespace vx::quad {

namespace {

// floor(V) = floor(N 2^127 / B), with bit 0 set when the division is not
// exact, from an estimate within 2 of V: the remainder of estimate - 2 is
// below 4B and fits 128 bits.
[[gnu::noinline, gnu::cold]] U128 exact_quotient(U128 n, U128 d, U128 estimate) {
  U128 q = w128::sub(estimate, {0, 2});
  U128 r = w128::sub({n.lo << 63, 0}, w128::mul_low(q, d));  // N 2^127 - q B, modulo 2^128
  while (!w128::less(r, d)) {
    r = w128::sub(r, d);
    q = w128::add(q, {0, 1});
  }
  return {q.hi, q.lo | (w128::is_zero(r) ? 0u : 1u)};
}

// a / b on their format bits, b not zero.
[[gnu::always_inline]] inline Rounded divide_core(U128 a, U128 b) {
  if (is_zero_pattern(a)) return {{0, 0}, Outcome::value};
  const std::uint64_t sign = sign_of(a) ^ sign_of(b);
  const U128 d = significand_of(b);
  const bool halved = w128::less(significand_of(a), d);  // A < B: N = 2A
  const U128 n = w128::shl(significand_of(a), halved ? 1 : 0);
  const std::int32_t exp = exponent_of(a) - exponent_of(b) + kBias - (halved ? 1 : 0);
  const U128 e = quotient_estimate(n, d);
  const U128 v = decided_by_estimate(e) ? U128{e.hi, e.lo | 1} : exact_quotient(n, d, e);
  return round_pack(sign, exp, v);
}

[[gnu::always_inline]] inline Result16 quotient(const Real16 &a, const Real16 &b) {
  const U128 x = bits_of(a), y = bits_of(b);
  if (is_zero_pattern(y)) {  // division by zero: no values reported
    const bool zero = is_zero_pattern(x);
    const U128 ieee = zero ? bits_of(_NaN_Q) : signed_infinity(sign_of(x) != 0);
    return without_values(
        arith_exception(err::kQdivByZero, zero ? U128{0, 0} : bits_of(kOverflowQ), ieee));
  }
  return outcome_attempt(divide_core(x, y), err::kQdivOverflow, err::kQdivUnderflow,
                         signed_infinity(sign_of(x) != sign_of(y)));
}

}  // namespace
}  // namespace vx::quad

Real16 *g_aqdq(Real16 *result, const Real16 *a, const Real16 *b) {
  return vx::quad::resume_and_store<vx::kBothValues>(result, vx::quad::quotient, *a, *b);
}
