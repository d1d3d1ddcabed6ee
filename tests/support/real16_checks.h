// What the Real16 suites share: operands built from their fields, random
// operands over signs, exponents and significand patterns, and a fixture
// that holds a run's sampler and counts its failures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "oracle/real16.h"
#include "support/recorder.h"
#include "support/sampling.h"

namespace support {

using oracle::real16;

constexpr std::uint32_t kSign16 = 0x80000000;
constexpr Real16 kZero = real16(0), kMinusZero = real16(kSign16), kOne = real16(0x3fff0000);
constexpr Real16 kLargest = real16(0x7ffeffff, ~0u, ~0u, ~0u);
constexpr Real16 kInf = real16(0x7fff0000), kMinusInf = real16(0xffff0000);
constexpr Real16 kNaN = real16(0x7fff8000);

// (-1)^negative * 2^(biased - 16383) * 1.f, f = 48 high and 64 low bits.
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
  Real16 with_exponent(std::uint32_t biased, bool negative) {
    constexpr std::uint64_t kHigh = 0xffffffffffff, kAll = ~std::uint64_t{0};
    const unsigned k = static_cast<unsigned>(below(113));
    std::uint64_t high, low;
    switch (below(10)) {
      case 0:  // all ones
        high = kHigh, low = kAll;
        break;
      case 1:  // all zeros
        high = low = 0;
        break;
      case 2:  // one bit
        high = k >= 64 && k < 112 ? std::uint64_t{1} << (k - 64) : 0;
        low = k < 64 ? std::uint64_t{1} << k : 0;
        break;
      case 3:  // the low k bits, or all but them
        high = k >= 112 ? kHigh : (k > 64 ? (std::uint64_t{1} << (k - 64)) - 1 : 0);
        low = k >= 64 ? kAll : (std::uint64_t{1} << k) - 1;
        if (bits() & 1) high ^= kHigh, low = ~low;
        break;
      case 4:  // the high part only
        high = bits() & kHigh, low = 0;
        break;
      default:
        high = bits() & kHigh, low = bits();
    }
    return real16_of(negative, biased, high, low);
  }
  Real16 with_exponent(std::uint32_t biased) { return with_exponent(biased, bits() & 1); }

 private:
  Sampler s_;
};

// A run: a sampler seeded by the test's name, and a count of failures of
// which the first ten are printed.
class Real16Test : public ::testing::Test {
 public:
  Real16Test()
      : s(std::hash<std::string>{}(
            ::testing::UnitTest::GetInstance()->current_test_info()->name())) {}
  void TearDown() override {
    if (failures > 10) ADD_FAILURE() << failures << " failures in all";
  }
  void fail(const std::string &what) {
    if (++failures <= 10) ADD_FAILURE() << what;
  }

  Real16Sampler s;
  std::uint64_t failures = 0;
};

}  // namespace support
