// What the Real16 suites share: operands built from their fields, random
// operands over signs, exponents and significand patterns, the comparison
// of an operator with the MPFR reference (error path included), and the
// fixture that holds a run's sampler, reference and recorder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "oracle/real16.h"
#include "support/recorder.h"
#include "support/sampling.h"

namespace support {

using oracle::real16;
using Unary16 = Real16 *(*)(Real16 *, const Real16 *);
using Binary16 = Real16 *(*)(Real16 *, const Real16 *, const Real16 *);

constexpr std::uint32_t kSign16 = 0x80000000;
constexpr Real16 kZero = real16(0), kMinusZero = real16(kSign16), kOne = real16(0x3fff0000);
constexpr Real16 kLargest = real16(0x7ffeffff, 0xffffffff, 0xffffffff, 0xffffffff);
constexpr Real16 kInf = real16(0x7fff0000), kMinusInf = real16(0xffff0000);
constexpr Real16 kNaN = real16(0x7fff8000);

// (-1)^negative * 2^(biased - 16383) * 1.f, f = 48 high and 64 low fraction
// bits.
constexpr Real16 real16_of(bool negative, std::uint32_t biased, std::uint64_t f_high,
                           std::uint64_t f_low = 0) {
  return real16((negative ? kSign16 : 0) | (biased << 16) |
                    static_cast<std::uint32_t>((f_high >> 32) & 0xffff),
                static_cast<std::uint32_t>(f_high), static_cast<std::uint32_t>(f_low >> 32),
                static_cast<std::uint32_t>(f_low));
}

inline std::string show(const Real16 &x) { return oracle::describe(x); }

// Random operands: a random sign, the given exponent, and a fraction that is
// random, or one of the patterns that break carries and roundings (all
// ones, all zeros, single bits, runs from either end, the high part only).
class Real16Sampler {
 public:
  explicit Real16Sampler(std::uint64_t seed) : s_(seed) {}
  std::uint64_t bits() { return s_.bits(); }
  std::uint64_t below(std::uint64_t n) { return s_.bits() % n; }
  std::uint32_t below32(std::uint64_t n) { return static_cast<std::uint32_t>(below(n)); }

  // The 112 fraction bits as (48 high, 64 low).
  void fraction(std::uint64_t &high, std::uint64_t &low);
  Real16 with_exponent(std::uint32_t biased, bool negative) {
    std::uint64_t h, l;
    fraction(h, l);
    return real16_of(negative, biased, h, l);
  }
  Real16 with_exponent(std::uint32_t biased) { return with_exponent(biased, bits() & 1); }

 private:
  Sampler s_;
};

// An operator under test: its reference, its error numbers, the values its
// overflow and underflow report, and the sign of its infinity default (a's,
// or the product's: a's xor b's).
struct Operator16 {
  const char *name;
  Binary16 fn;
  oracle::Real16Result (*reference)(oracle::Real16Reference &, const Real16 &, const Real16 &);
  std::int32_t overflow_error, underflow_error, zero_divisor_error, negative_error;
  int values;
  bool infinity_by_sign_of_a;
};

// The setup of every Real16 run: a sampler seeded by the test's name, the
// reference, a recorder that declines under infinity flag 1 with reports
// on, and a count of failures of which the first ten are printed.
class Real16Test : public ::testing::Test {
 public:
  Real16Test();
  void TearDown() override;
  void fail(const std::string &what);
  // op(a, b) against the reference: the value bit for bit and no report;
  // for an error one report of its number and values, and the default
  // under infinity flag 1 and then 0.
  void check(const Operator16 &op, const Real16 &a, const Real16 &b);

  Real16Sampler s;
  oracle::Real16Reference ref;
  Recorder rec{1, 1, 0};
  std::uint64_t failures = 0;
};

}  // namespace support
