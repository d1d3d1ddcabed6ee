// Estimates of the Real16 quotient and square root, and the rounding test
// that decides from an estimate.
//
// Both operations first compute an integer E within 2 of the exact result
// V scaled to [2^127, 2^128). The funnel's result (real16.h) depends on V
// only through floor(V / 2^15), through V mod 2^15 against 2^14 (half an
// ulp) and through V being an integer, and none of these changes between
// two consecutive multiples of 2^14. So where E lies 2 or more away from
// every multiple of 2^14, V lies strictly between the same two, and E with
// the sticky bit set rounds as V does. Only the rest (4 values in 2^14,
// every exact result among them) needs an exact remainder.
//
// The quotient's estimate starts from one double division by the divisor's
// leading 53 bits, the root's from a double square root of the radicand's
// and a double division by that root; integer digits with exact remainders
// follow. The bounds below are proved, step by step, and hold in every
// rounding mode of the double operations; estimates_internal_test checks
// them against GMP on sampled operands, which confirms but does not prove
// them.
#pragma once

#include <cmath>
#include <cstdint>

#include "quad/real16.h"

namespace vx::quad {

// E lies 2 or more away from every multiple of 2^14.
constexpr bool decided_by_estimate(U128 e) { return ((e.lo + 2) & 0x3fff) >= 4; }

// The leading 53 bits of a significand, or of format bits, as a double in
// [1, 2), truncated; times 2 when `twice`. Built from the bits: no
// conversion instruction, and the same on every target.
constexpr double leading_double(U128 b, bool twice) {
  const std::uint64_t exponent = twice ? 0x400 : 0x3ff;
  return real8_from_bits((exponent << 52) | ((b.hi & 0xffffffffffff) << 4) | (b.lo >> 60));
}

// The value of a double that holds an integer in [2^52, 2^53], read from its
// bits: the fraction field plus 2^52 (2^53 has the next exponent and a zero
// field, and reads right too).
constexpr std::uint64_t integer_value(double y) { return bits(y) - 0x4320000000000000; }

// V = N 2^127 / D for significands N in [D, 2D), D in [2^112, 2^113):
// E with V - E in (-2^-19, 1.01).
//
//   y = 2^53 / d, d the leading 53 bits of D in [1, 2): an integer in
//   [2^52, 2^53] within a factor (1 - 2^-52, 1 + 2^-51 + 2^-104) of
//   2^165 / D (truncating D raises it by less than 2^-52, the division
//   moves it by at most 2^-52).
//   Digits of 50, 48 and 30 bits, each the high word of a remainder's
//   leading bits times y. q1 and q2 are lowered by 1 so that they never
//   exceed the digit they estimate and the remainders stay nonnegative:
//     q1 = hi((N >> 52) y) - 1   in (q1* - 2.26, q1*),  q1* = N 2^49 / D
//     r1 = N 2^49 - q1 D         in (0, 2.26 D)
//     q2 = hi((r1 >> 53) y) - 1  in (q2* - 2.15, q2*),  q2* = r1 2^48 / D
//     r2 = r1 2^48 - q2 D        in (0, 2.15 D)
//     q3 = hi((r2 >> 71) y)      in (q3* - 1.01, q3* + 2^-19), q3* = r2 2^30 / D
//   (y's error is under 0.51, 0.29 and 2^-19 units of the three digits, the
//   truncated remainders cost under 2^-11, the high word's floor under 1).
//   V = q1 2^78 + q2 2^30 + q3*, and E = q1 2^78 + q2 2^30 + q3. The
//   remainders are small, so they are computed modulo 2^128.
inline U128 quotient_estimate(U128 n, U128 d) {
  const std::uint64_t y = integer_value(0x1p53 / leading_double(d, false));
  const std::uint64_t q1 = w128::mul_high(w128::shr(n, 52).lo, y) - 1;
  const U128 r1 = w128::sub(w128::shl(n, 49), w128::mul_low(d, q1));
  const std::uint64_t q2 = w128::mul_high(w128::shr(r1, 53).lo, y) - 1;
  const U128 r2 = w128::sub(w128::shl(r1, 48), w128::mul_low(d, q2));
  const std::uint64_t q3 = w128::mul_high(w128::shr(r2, 71).lo, y);
  return w128::add(w128::add({q1 << 14, 0}, {q2 >> 34, q2 << 30}), {0, q3});
}

// The radicand of x (format bits) in [2^126, 2^128): the significand times
// 2^14 when the biased exponent is odd (an even power of two), 2^15 when it
// is even. The root's value V = sqrt(X 2^128) lies in [2^127, 2^128).
constexpr U128 radicand_of(U128 b) {
  return w128::shl(significand_of(b), (exponent_of(b) & 1) != 0 ? 14 : 15);
}

// V = sqrt(X 2^128) for the radicand X of x (format bits): E with V - E in
// (-2^-16, 1.01).
//
//   r = X / 2^126 in [1, 4), truncated to 53 bits (leading_double), and
//   t = sqrt(r) in [1, 2], within a factor (1 - 1.5 2^-52, 1 + 2^-52) of
//   the exact root of X / 2^126.
//   s1 = floor(t 2^49) - 1, with s1* = sqrt(X) / 2^14 in [2^49, 2^50):
//   s1 in (s1* - 2.4, s1* - 0.75]. (t 2^52 is an integer; its top 50 bits
//   are floor(t 2^49).)
//   y = 2^53 / t, an integer in [2^52, 2^53] within a factor
//   (1 - 2^-51, 1 + 2^-50) of 2^102 / s1*.
//   The root is then V = s1 2^78 + d2 2^30 + d3 with two more digits, each
//   the high word of a remainder's leading bits times y (the remainder over
//   twice the root so far):
//     rho1 = X - s1^2 2^28                     in (0, 2^80.3)
//     d2 = hi((rho1 >> 19) y) - 1              in (d2* - 3.8, d2* - 0.6)
//   where d2* = sqrt(X) 2^34 - s1 2^48 = rho1 2^20 / (s1* + s1) < 2.4 2^48,
//   which the estimate's 2 s1* in place of s1* + s1 understates by under
//   1.5 units; d2 stays below d2*, so that
//     R2 = X 2^68 - (s1 2^48 + d2)^2
//        = rho1 2^68 - s1 d2 2^49 - d2^2      in (0, 2^101)
//     d3 = hi((R2 >> 57) y)                    in (d3* - 1.01, d3* + 2^-16)
//   where d3* = V - (s1 2^48 + d2) 2^30 = R2 2^60 / (V + (s1 2^48 + d2) 2^30).
//   E = s1 2^78 + d2 2^30 + d3. The remainders are small, so they are
//   computed modulo 2^128.
inline U128 root_estimate(U128 b) {
  const U128 x = radicand_of(b);
  const double t = std::sqrt(leading_double(b, (exponent_of(b) & 1) == 0));
  const std::uint64_t s1 = (integer_value(t * 0x1p52) >> 3) - 1;
  const std::uint64_t y = integer_value(0x1p53 / t);
  const U128 rho1 = w128::sub(x, w128::shl(w128::mul64x64(s1, s1), 28));
  const std::uint64_t d2 = w128::mul_high(w128::shr(rho1, 19).lo, y) - 1;
  const U128 r2 = w128::sub(w128::sub(w128::shl(rho1, 68), w128::shl(w128::mul64x64(s1, d2), 49)),
                            w128::mul64x64(d2, d2));
  const std::uint64_t d3 = w128::mul_high(w128::shr(r2, 57).lo, y);
  return w128::add(w128::add({s1 << 14, 0}, {d2 >> 34, d2 << 30}), {0, d3});
}

}  // namespace vx::quad
