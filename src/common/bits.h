// Bit views of Real4 and Real8 values, and the Real16 word constructor.
#pragma once

#include <vexmorg/vexmorg.h>

#include <bit>
#include <cstdint>
#include <cstring>

namespace vx {

constexpr std::uint32_t bits(float x) { return std::bit_cast<std::uint32_t>(x); }
constexpr std::uint64_t bits(double x) { return std::bit_cast<std::uint64_t>(x); }
constexpr float real4_from_bits(std::uint32_t b) { return std::bit_cast<float>(b); }
constexpr double real8_from_bits(std::uint64_t b) { return std::bit_cast<double>(b); }

// The bits of the Real8 at x, by one integer load from memory: for code
// that also loads *x into the x87 register (x87::fld), so that the value
// does not pass from one register file to the other.
inline std::uint64_t bits_at(const double *x) {
  std::uint64_t b;
  std::memcpy(&b, x, sizeof b);
  return b;
}

// 2^n as a Real8, for -1022 <= n <= 1023.
constexpr double real8_two_to(std::int64_t n) {
  return real8_from_bits(static_cast<std::uint64_t>(n + 1023) << 52);
}

// The high and low 32-bit words of a Real8 (sign and exponent in the high).
constexpr std::uint32_t high_word(double x) { return static_cast<std::uint32_t>(bits(x) >> 32); }
constexpr std::uint32_t low_word(double x) { return static_cast<std::uint32_t>(bits(x)); }
constexpr double real8_from_words(std::uint32_t high, std::uint32_t low) {
  return real8_from_bits((std::uint64_t{high} << 32) | low);
}

// A Real16 from its words, most significant first (Real16 stores word 0, the
// least significant, first).
constexpr Real16 real16_from_words(std::uint32_t w3, std::uint32_t w2, std::uint32_t w1,
                                   std::uint32_t w0) {
  return Real16{{w0, w1, w2, w3}};
}

}  // namespace vx
