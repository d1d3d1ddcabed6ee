// Checks shared by the Real16 suites: operands built from their fields,
// random operands over signs, exponents and significand patterns, and the
// comparison of an operator with the MPFR reference, error path included.
#pragma once

#include <gtest/gtest.h>
#include <vexmorg/vexmorg.h>

#include <cstdint>
#include <string>

#include "oracle/real16.h"
#include "support/recorder.h"
#include "support/sampling.h"

namespace support {

using oracle::real16;
using Binary16 = Real16 *(*)(Real16 *, const Real16 *, const Real16 *);
using Unary16 = Real16 *(*)(Real16 *, const Real16 *);

constexpr std::uint32_t kSign16 = 0x80000000;
constexpr std::uint32_t kBias16 = 0x3fff;

// Values the suites share: 1, the largest finite value, the infinity and
// NaN patterns and +0.
namespace real16_constants {
constexpr Real16 kOne = real16(0x3fff0000);
constexpr Real16 kLargest = real16(0x7ffeffff, 0xffffffff, 0xffffffff, 0xffffffff);
constexpr Real16 kInf = real16(0x7fff0000);
constexpr Real16 kMinusInf = real16(0xffff0000);
constexpr Real16 kNaN = real16(0x7fff8000);
constexpr Real16 kZero = real16(0);
}  // namespace real16_constants

// (-1)^negative * 2^(biased - 16383) * 1.f, f = 48 high and 64 low fraction
// bits.
constexpr Real16 real16_of(bool negative, std::uint32_t biased, std::uint64_t f_high,
                           std::uint64_t f_low = 0) {
  return real16((negative ? kSign16 : 0) | (biased << 16) |
                    static_cast<std::uint32_t>((f_high >> 32) & 0xffff),
                static_cast<std::uint32_t>(f_high), static_cast<std::uint32_t>(f_low >> 32),
                static_cast<std::uint32_t>(f_low));
}

inline std::uint32_t biased_of(const Real16 &x) { return (x.w[3] >> 16) & 0x7fff; }

// Random operands: a random sign, the given exponent, and a fraction that is
// random, or one of the patterns that break carries and roundings (all
// ones, all zeros, single bits, runs, one word only).
class Real16Sampler {
 public:
  explicit Real16Sampler(std::uint64_t seed) : s_(seed) {}
  std::uint64_t bits() { return s_.bits(); }
  std::uint64_t below(std::uint64_t n) { return s_.bits() % n; }

  // The 112 fraction bits as (48 high, 64 low).
  void fraction(std::uint64_t &high, std::uint64_t &low) {
    switch (below(10)) {
      case 0:  // all ones
        high = 0xffffffffffff;
        low = ~std::uint64_t{0};
        return;
      case 1:  // all zeros
        high = low = 0;
        return;
      case 2: {  // one bit
        const unsigned k = static_cast<unsigned>(below(112));
        high = k >= 64 ? std::uint64_t{1} << (k - 64) : 0;
        low = k < 64 ? std::uint64_t{1} << k : 0;
        return;
      }
      case 3: {  // a run of ones from the bottom or from the top
        const unsigned k = static_cast<unsigned>(below(113));
        std::uint64_t h =
            k >= 64 ? (k >= 112 ? 0xffffffffffff : (std::uint64_t{1} << (k - 64)) - 1) : 0;
        std::uint64_t l = k >= 64 ? ~std::uint64_t{0} : (k == 0 ? 0 : (std::uint64_t{1} << k) - 1);
        if (bits() & 1) {  // from the top instead
          h ^= 0xffffffffffff;
          l = ~l;
        }
        high = h;
        low = l;
        return;
      }
      case 4:  // the high part only
        high = bits() & 0xffffffffffff;
        low = 0;
        return;
      default:
        high = bits() & 0xffffffffffff;
        low = bits();
        return;
    }
  }
  Real16 with_exponent(std::uint32_t biased, bool negative) {
    std::uint64_t h, l;
    fraction(h, l);
    return real16_of(negative, biased, h, l);
  }
  Real16 with_exponent(std::uint32_t biased) { return with_exponent(biased, bits() & 1); }

 private:
  Sampler s_;
};

std::string show(const Real16 &x);

// The behaviour of a binary operator under test: its reference, its error
// numbers and the sign of its infinity default.
struct Operator16 {
  const char *name;
  Binary16 fn;
  oracle::Real16Result (oracle::Real16Reference::*reference)(const Real16 &, const Real16 &);
  std::int32_t overflow_error, underflow_error, divide_by_zero_error;
  bool infinity_by_sign_of_a;  // else by the sign of the result (a's sign xor b's)
};

// Runs op on (a, b) under an installed Recorder(1, 1, 0) that declines, and
// compares with the reference: the bits of a value and no report; for an
// overflow one report of its number and the infinity default; for an
// underflow one report and +0. Returns false (with a failure, the first
// `*budget` times) on a mismatch.
bool check_operator(const Operator16 &op, oracle::Real16Reference &ref, Recorder &rec,
                    const Real16 &a, const Real16 &b, int *budget);

// An overflow, underflow or division by zero of a binary operator: the
// report (number, a and b in the slots, no values or both as Real16
// values) and the default under both infinity flags; then, with the
// report flag 0 or the mute flag set, the same defaults without a report.
struct ErrorCase16 {
  const char *name;
  Binary16 fn;
  Real16 a, b;
  std::int32_t error;
  int values;  // 0 or 2
  Real16 finite, ieee;
};
void expect_error16(const ErrorCase16 &c);

// A handler that answers 1 once with (a, b) in the slots: the operator
// returns its value at the replacement after exactly one report.
void expect_resume16(Binary16 fn, const Real16 &bad_a, const Real16 &bad_b, const Real16 &a,
                     const Real16 &b, std::int32_t error);

}  // namespace support
