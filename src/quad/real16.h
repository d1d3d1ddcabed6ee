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

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "common/bits.h"
#include "common/words128.h"
#include "frame/hidden_result.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx::quad {

using w128::U128;

inline constexpr std::uint32_t kSignBit = 0x80000000;
inline constexpr std::int32_t kBias = 0x3fff;
inline constexpr std::int32_t kMaxExponent = 0x7fff;  // a result this large overflows
inline constexpr Real16 kZero = real16_from_words(0, 0, 0, 0);

// The format as one 128-bit word, word 3 the most significant: its two
// 64-bit halves are read and written whole (words 0, 1 and words 2, 3 of a
// little-endian format are the low and high halves on this little-endian
// processor).
static_assert(std::endian::native == std::endian::little);
constexpr U128 bits_of(const Real16 &x) {
  if (std::is_constant_evaluated()) {
    const auto halves = std::bit_cast<std::array<std::uint64_t, 2>>(x);
    return {halves[1], halves[0]};
  }
  std::uint64_t lo, hi;  // two scalar loads (a 16-byte copy goes through a vector register)
  std::memcpy(&lo, &x.w[0], sizeof lo);
  std::memcpy(&hi, &x.w[2], sizeof hi);
  return {hi, lo};
}
constexpr Real16 real16_from_bits(U128 b) {
  if (std::is_constant_evaluated())
    return std::bit_cast<Real16>(std::array<std::uint64_t, 2>{b.lo, b.hi});
  Real16 x;  // two 64-bit stores: a bit_cast would assemble it a 32-bit word at a time
  std::memcpy(&x.w[0], &b.lo, sizeof b.lo);
  std::memcpy(&x.w[2], &b.hi, sizeof b.hi);
  return x;
}

// Fields of a value, and of its bits (the operators work on the bits:
// reading a Real16 by words would make the compiler split it into words).
constexpr bool is_zero(const Real16 &x) { return (x.w[3] & ~kSignBit) == 0; }
constexpr bool is_zero_pattern(U128 b) { return (b.hi & 0x7fffffff00000000) == 0; }
constexpr std::uint32_t sign_of(const Real16 &x) { return x.w[3] & kSignBit; }
// The sign bit in place: bit 63 of the high half.
constexpr std::uint64_t sign_of(U128 b) { return b.hi & 0x8000000000000000; }
constexpr std::int32_t exponent_of(const Real16 &x) {
  return static_cast<std::int32_t>((x.w[3] >> 16) & 0x7fff);
}
constexpr std::int32_t exponent_of(U128 b) {
  return static_cast<std::int32_t>((b.hi >> 48) & 0x7fff);
}
// The magnitude as one 128-bit word: ordering it orders |x| (exponent, then
// fraction).
constexpr U128 magnitude_of(U128 b) { return {b.hi & 0x7fffffffffffffff, b.lo}; }
constexpr U128 magnitude_of(const Real16 &x) { return magnitude_of(bits_of(x)); }
// The 113-bit significand with its leading 1 at bit 112.
constexpr U128 significand_of(U128 b) { return {(b.hi & 0xffffffffffff) | 0x1000000000000, b.lo}; }
constexpr U128 significand_of(const Real16 &x) { return significand_of(bits_of(x)); }
// The bits with the sign inverted.
constexpr U128 negated(U128 b) { return {b.hi ^ 0x8000000000000000, b.lo}; }
constexpr Real16 with_sign(Real16 x, std::uint32_t sign) {
  x.w[3] = (x.w[3] & ~kSignBit) | sign;
  return x;
}

enum class Outcome : std::uint8_t { value, overflow, underflow };

// An operator's rounded result. The bits stay one 128-bit word until the
// result is stored: held as a Real16 (four 32-bit words) the compiler would
// move them a word at a time.
struct Rounded {
  U128 bits;  // the result's format bits; +0 after an overflow or underflow
  Outcome outcome;
};

// The funnel. `sig` holds the exact result's leading 1 at bit 127, the next
// 15 bits below the 113 kept, and in bit 0 also the sticky bit (nonzero when
// anything below bit 0 was lost); the value is sig * 2^(exp - 0x3fff - 127),
// with the sign bit of the high half in `sign` (0 or bit 63). Rounds to
// nearest, ties to even, and classifies the biased exponent after rounding:
// 0 or less underflows, 0x7fff or more overflows. `exp` is a plain int, so
// no exponent field can wrap into the other outcome.
//
// No branch decides the rounding: the 15 bits below the kept ones plus the
// lowest kept bit exceed 0x4000 exactly when the result rounds up (above
// half an ulp, or a tie with an odd last bit). Packing adds exp - 1 to the
// exponent field: the leading 1 at bit 112 adds the last 1, and a carry of
// the rounding into 2^113 (a zero fraction) adds 2.
constexpr Rounded round_pack(std::uint64_t sign, std::int32_t exp, U128 sig) {
  const U128 kept = w128::shr(sig, 15);  // leading 1 at bit 112
  const std::uint64_t up = ((sig.lo & 0x7fff) + (kept.lo & 1) + 0x3fff) >> 15;
  const U128 m = w128::add(kept, {0, up});
  const std::int32_t rounded_exp = exp + static_cast<std::int32_t>(m.hi >> 49);
  if (rounded_exp <= 0 || rounded_exp >= kMaxExponent) [[unlikely]]
    return {{0, 0}, rounded_exp <= 0 ? Outcome::underflow : Outcome::overflow};
  const std::uint64_t field = static_cast<std::uint64_t>(exp - 1) << 48;  // modulo 2^64
  return {{sign | (field + m.hi), m.lo}, Outcome::value};
}

// The operators' attempts deliver their results as format bits, which the
// entries turn into a Real16 only to store it: a Real16 (four 32-bit words)
// passed between the branches would be moved a word at a time.
using Result16 = Attempt<U128>;

// An operator entry's body: the resume loop over `attempt`, and its bits
// stored as the hidden result.
template <unsigned kValues, class F, class... A>
[[gnu::always_inline]] inline Real16 *resume_and_store(Real16 *result, F attempt,
                                                       const A &...args) {
  return store_result(result, real16_from_bits(resume_loop<kValues>(attempt, args...)));
}

// The default of an overflow when the infinity flag is set.
constexpr U128 signed_infinity(bool negative) { return bits_of(negative ? _MInf_Q : _Inf_Q); }

// An operator's attempt from the funnel's outcome: the value, or the
// overflow (default the largest finite value, positive, or `infinity` with
// the infinity flag) or underflow (default +0) error of the operator.
constexpr Result16 outcome_attempt(const Rounded &r, std::int32_t overflow_error,
                                   std::int32_t underflow_error, U128 infinity) {
  switch (r.outcome) {
    case Outcome::overflow:
      return arith_exception(overflow_error, bits_of(kOverflowQ), infinity);
    case Outcome::underflow:
      return arith_exception(underflow_error, U128{0, 0}, U128{0, 0});
    case Outcome::value:
      break;
  }
  return result(r.bits);
}

// -1, 0 or 1 as a is below, equal to or above b: by sign, then magnitude
// (word 3 without the sign, words 2, 1, 0), the larger magnitude below for
// negative operands. -0 is below +0; NaN patterns are ordered like numbers.
int order(const Real16 &a, const Real16 &b);

}  // namespace vx::quad
