// What the model intrinsics share: the word W that holds sign and
// exponent, the zero tests each entry names, and EXPONENT as the other
// entries use it.
//
//   type    W            exponent field     bias   digits
//   Real4   the value    bits 30..23        127    24
//   Real8   high word    bits 30..20        1023   53
//   Real16  word 3       bits 30..16        16383  113
//
// Zero tests: the FPU test compares the value with 0.0 (both zeros, never a
// NaN); the pattern test asks for a signed zero bit pattern; for Real16 the
// word-3 test looks at word 3 alone and the full test at all four words.
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "common/bits.h"
#include "frame/errors.h"

namespace vx::model {

inline constexpr std::uint32_t kSign = 0x80000000;

constexpr std::uint32_t field4(std::uint32_t w) { return (w >> 23) & 0xff; }
constexpr std::uint32_t field8(std::uint32_t high) { return (high >> 20) & 0x7ff; }
constexpr std::uint32_t field16(std::uint32_t w3) { return (w3 >> 16) & 0x7fff; }

// Signed zero patterns.
constexpr bool zero_pattern(std::uint32_t w) { return (w & ~kSign) == 0; }
constexpr bool zero_pattern(std::uint32_t high, std::uint32_t low) {
  return zero_pattern(high) && low == 0;
}
constexpr bool word3_zero(const Real16 &x) { return zero_pattern(x.w[3]); }
constexpr bool full_zero(const Real16 &x) {
  return word3_zero(x) && (x.w[0] | x.w[1] | x.w[2]) == 0;
}

// EXPONENT: F - (bias - 1), or 0 for a zero (FPU test for Real4 and Real8,
// word-3 test for Real16). A subnormal gives -126 or -1022, an infinity or
// NaN 129, 1025 or 16385. The FPU test is made on the pattern: exactly the
// two signed zeros compare equal to 0.0.
constexpr std::int32_t exponent(float x) {
  const std::uint32_t w = bits(x);
  if ((w << 1) == 0) return 0;
  return static_cast<std::int32_t>(field4(w)) - 126;
}
constexpr std::int32_t exponent(double x) {
  const std::uint64_t b = bits(x);
  if ((b << 1) == 0) return 0;
  return static_cast<std::int32_t>(field8(static_cast<std::uint32_t>(b >> 32))) - 1022;
}
constexpr std::int32_t exponent(const Real16 &x) {
  if (word3_zero(x)) return 0;
  return static_cast<std::int32_t>(field16(x.w[3])) - 16382;
}

// A new exponent field: (base + i) shifted into place, in the 32-bit
// arithmetic of the words (no range check; bits beyond the field spill into
// the sign and above).
constexpr std::uint32_t placed_field(std::int32_t base, std::int32_t i, int shift) {
  return (static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(i)) << shift;
}

// The report of NEAREST and MODULO: `number` with the two arguments' working
// copies in the slots and no values. The handler's answer does not matter:
// both entries then return a fixed result.
template <class A, class B>
[[gnu::noinline, gnu::cold]] void report_fixed_result(std::int32_t number, const A &a, const B &b) {
  A slot1 = a;
  B slot2 = b;
  raise_intrinsic_error(number, &slot1, &slot2, nullptr, 0);
}

}  // namespace vx::model
