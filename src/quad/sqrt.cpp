// Real16 square root: g_qsqrt.
//
// Method: with e the biased exponent of x, the root's biased exponent is
// (e + (e & 1)) / 2 + 0x1fff and its significand the root of the
// significand m (e odd) or of 2m (e even). With the radicand X = m 2^14 or
// m 2^15 in [2^126, 2^128), the root's value is V = sqrt(X 2^128) in
// [2^127, 2^128). An estimate within 2 of V (root_estimate: a double square
// root of the leading 53 bits and a double reciprocal of it, then two
// integer digits with exact remainders) decides the rounding nearly
// always; near a rounding boundary the exact remainder of floor(V)
// decides. The funnel rounds to nearest, ties to even (a root is never a
// tie): correctly rounded.
//
// Special cases:
//   x zero (word 3 is 0 or 0x80000000): +0, also for -0.
//   x negative: error 228 through raise_intrinsic_error (not an arithmetic
//     exception: the report and mute flags do not apply), x reported as a
//     value (type 11); default the _NaN_Q pattern with the infinity flag,
//     else the root of |x|. A resume starts again with the slot.
//   The root never overflows or underflows.
//
// Accuracy: correctly rounded, by the argument above (a proof, not a
// measurement); the suites in tests/quad compare sampled operands with MPFR
// at 113 bits.
#include "quad/estimates.h"
#include "quad/real16.h"

namespace vx::quad {
namespace {

// s^2 <= X 2^128 for the 128-bit X.
bool square_at_most(U128 s, U128 x) {
  const w128::U256 sq = w128::mul128x128(s, s);
  return w128::less(sq.hi, x) || (w128::equal(sq.hi, x) && w128::is_zero(sq.lo));
}

// floor(V) = floor(sqrt(X 2^128)), with bit 0 set when the root is not
// exact, from an estimate within 2 of V.
[[gnu::noinline, gnu::cold]] U128 exact_root(U128 x, U128 estimate) {
  U128 s = w128::sub(estimate, {0, 2});
  while (square_at_most(w128::add(s, {0, 1}), x)) s = w128::add(s, {0, 1});
  const w128::U256 sq = w128::mul128x128(s, s);
  const bool exact = w128::equal(sq.hi, x) && w128::is_zero(sq.lo);
  return {s.hi, s.lo | (exact ? 0u : 1u)};
}

// The root of |x| on its format bits.
[[gnu::always_inline]] inline U128 root_of_magnitude(U128 b) {
  if (is_zero_pattern(b)) return {0, 0};
  const std::int32_t e = exponent_of(b);
  const U128 estimate = root_estimate(b);
  const U128 v = decided_by_estimate(estimate) ? U128{estimate.hi, estimate.lo | 1}
                                               : exact_root(radicand_of(b), estimate);
  return round_pack(0, (e + (e & 1)) / 2 + 0x1fff, v).bits;
}

[[gnu::always_inline]] inline Result16 root(const Real16 &x) {
  const U128 b = bits_of(x);
  const U128 r = root_of_magnitude(b);
  if (sign_of(b) != 0 && !is_zero_pattern(b))  // negative: error 228, default sqrt(|x|) or NaN
    return argument_error(err::kQsqrtDomain, r, bits_of(_NaN_Q));
  return result(r);
}

}  // namespace
}  // namespace vx::quad

Real16 *g_qsqrt(Real16 *result, const Real16 *x) {
  return vx::quad::resume_and_store<vx::kFirstValue>(result, vx::quad::root, *x);
}
