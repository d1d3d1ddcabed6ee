// The Real16 format inside the operators: unpacking, the one rounding and
// packing funnel that every operation ends in, and the overflow and
// underflow outcomes that go to the runtime.
//
// Format: word 3 holds the sign (bit 31), the biased exponent (bits 30..16,
// bias 0x3fff) and fraction bits 111..96; words 2, 1, 0 the rest. A value is
// zero exactly when word 3 is 0 or 0x80000000, whatever words 0 to 2 hold.
// There are no subnormals (an exponent field of 0 under a nonzero word 3 is
// a normal number with biased exponent 0, and no operation delivers one),
// and the infinity and NaN patterns (exponent 0x7fff) are ordinary numbers
// on input; a result with biased exponent 0x7fff or more is an overflow.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "common/bits.h"
#include "common/words128.h"
#include "frame/resume.h"
#include "frame/special.h"

namespace vx::quad {

using w128::U128;

inline constexpr std::uint32_t kSignBit = 0x80000000;
inline constexpr std::int32_t kBias = 0x3fff;
inline constexpr std::int32_t kMaxExponent = 0x7fff;  // a result this large overflows
inline constexpr Real16 kZero = real16_from_words(0, 0, 0, 0);

constexpr bool is_zero(const Real16 &x) { return (x.w[3] & ~kSignBit) == 0; }
constexpr std::uint32_t sign_of(const Real16 &x) { return x.w[3] & kSignBit; }
constexpr std::int32_t exponent_of(const Real16 &x) {
  return static_cast<std::int32_t>((x.w[3] >> 16) & 0x7fff);
}
// The magnitude as one 128-bit word: ordering it orders |x| (exponent, then
// fraction).
constexpr U128 magnitude_of(const Real16 &x) {
  return w128::from_words(x.w[3] & ~kSignBit, x.w[2], x.w[1], x.w[0]);
}
// The 113-bit significand with its leading 1 at bit 112.
constexpr U128 significand_of(const Real16 &x) {
  return w128::from_words((x.w[3] & 0xffff) | 0x10000, x.w[2], x.w[1], x.w[0]);
}
constexpr Real16 with_sign(Real16 x, std::uint32_t sign) {
  x.w[3] = (x.w[3] & ~kSignBit) | sign;
  return x;
}

enum class Outcome : std::uint8_t { value, overflow, underflow };

struct Rounded {
  Real16 value;  // +0 after an overflow or underflow
  Outcome outcome;
};

// The funnel. `sig` holds the exact result's leading 1 at bit 127, the next
// 15 bits below the 113 kept, and in bit 0 also the sticky bit (nonzero when
// anything below bit 0 was lost); the value is sig * 2^(exp - 0x3fff - 127).
// Rounds to nearest, ties to even, and classifies the biased exponent after
// rounding: 0 or less underflows, 0x7fff or more overflows. `exp` is a plain
// int, so no exponent field can wrap into the other outcome.
constexpr Rounded round_pack(std::uint32_t sign, std::int32_t exp, U128 sig) {
  const std::uint32_t below = static_cast<std::uint32_t>(sig.lo) & 0x7fff;
  U128 m = w128::shr(sig, 15);
  if (below > 0x4000 || (below == 0x4000 && (m.lo & 1) != 0)) {
    m = w128::add(m, {0, 1});
    if ((m.hi >> 49) != 0) {  // carried into 2^113: 1.0 of the next binade
      m = w128::shr(m, 1);
      ++exp;
    }
  }
  if (exp <= 0) return {kZero, Outcome::underflow};
  if (exp >= kMaxExponent) return {kZero, Outcome::overflow};
  const std::uint32_t w3 =
      sign | (static_cast<std::uint32_t>(exp) << 16) | (w128::word(m, 3) & 0xffff);
  return {real16_from_words(w3, w128::word(m, 2), w128::word(m, 1), w128::word(m, 0)),
          Outcome::value};
}

// The default of an overflow when the infinity flag is set.
constexpr Real16 signed_infinity(bool negative) { return negative ? _MInf_Q : _Inf_Q; }

// An operator's attempt from the funnel's outcome: the value, or the
// overflow (default the largest finite value, positive, or `infinity` with
// the infinity flag) or underflow (default +0) error of the operator.
constexpr Attempt<Real16> outcome_attempt(const Rounded &r, std::int32_t overflow_error,
                                          std::int32_t underflow_error, Real16 infinity) {
  switch (r.outcome) {
    case Outcome::overflow:
      return arith_exception(overflow_error, kOverflowQ, infinity);
    case Outcome::underflow:
      return arith_exception(underflow_error, kZero, kZero);
    case Outcome::value:
      break;
  }
  return result(r.value);
}

// The operators' cores, without their error paths: the sum of a and b
// (g_aqaq; g_aqsq passes b with its sign inverted), the product, the
// quotient of nonzero operands, and the square root of the magnitude.
Rounded add(const Real16 &a, const Real16 &b);
Rounded multiply(const Real16 &a, const Real16 &b);
Rounded divide(const Real16 &a, const Real16 &b);
Real16 square_root(const Real16 &x);

// -1, 0 or 1 as a is below, equal to or above b: by sign, then magnitude
// (word 3 without the sign, words 2, 1, 0), the larger magnitude below for
// negative operands. -0 is below +0; NaN patterns are ordered like numbers.
int order(const Real16 &a, const Real16 &b);

}  // namespace vx::quad
