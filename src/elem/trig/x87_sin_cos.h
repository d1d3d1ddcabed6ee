// FSIN and FCOS rounded to Real4 or Real8, without executing them where a
// model of the instruction decides the rounding: x87_sine<T>(x),
// x87_cosine<T>(x) and x87_sine_cosine<T>(x) return exactly
// static_cast<T>(x87::fsin(x)) and static_cast<T>(x87::fcos(x)).
//
// The model (tools/x87/measure_sin_cos.cpp measures it against MPFR): the
// unit computes as if it reduced x exactly by P, pi/2 rounded to 66 bits,
//   P = P1 + P2 = 0x1.921fb54442d18p+0 + 0x1.1a6p-54
//   (P - pi/2 = -2.0e-21), r = x - k P, k the integer nearest x/P,
// and returns sin or cos of r by k mod 4 to within 0.69 units of the 64-bit
// significand (ulp64) of that value: the largest distances seen in 1.2
// 10^6 arguments per instruction (log-uniform from 2^-40 to 3.53e15, and
// Real4 and Real8 next to multiples of pi/2 up to 2^51) are 0.690 (FSIN)
// and 0.687 (FCOS) ulp64, with 98.65% of the results the model's value
// rounded to 64 bits; pi/2 to 64, 65 or 70 bits or pi/2 itself miss by up
// to 10^19 ulp64 there, and the error does not grow as |r| shrinks (as if
// no bit of r were lost).
// The bound used here is 1 ulp64, at most 2^-63 of the value.
//
// The route, on SSE with fused multiply-adds, for 2^-60 <= |x| < 3.53e15
// (Real4: 823000; zeros, tiny arguments, infinities and NaNs execute the
// instruction):
//   k from x 2/pi rounded, within 0.64 of x/P (any k near x/P will do:
//   changing k by one moves the model by P - pi/2, 2^-68.7 at a value
//   above 0.5); a = x - k P1, exact (a multiple of 2^-53 below 2);
//   r = a - k P2 as hi + lo, exact to 2^-104 of r (Real4: r rounded once,
//   2^-53 of r). Then with r = j/64 + d, |j| <= 64, |d| <= 1/128, and the
//   rows (S, C) of sin_cos_table.h:
//     sin(j/64 + d + e) = S + C d + S (cos d - 1) + C (sin d - d) + (C - S d) e
//     cos(j/64 + d + e) = C - S d + C (cos d - 1) - S (sin d - d) - (S + C d) e
//   (e the low part of r), the series of cos d - 1 to d^6 and sin d - d to
//   d^7, with d^2 kept exact. Real8: the sum as head + tail within 2^-65.5
//   of the model's value (truncation 2^-71, the tail's roundings and the
//   neglected d^2 e terms 2^-67 at most, relative to the value); where the
//   head + tail moved by 2^-62 of it either way (1 ulp64 plus that error,
//   with a margin of 1.7) rounds to one Real8, the instruction's value
//   rounds to it too. Real4: the sum in Real8 arithmetic, a few units of
//   its last place from the model, rounded where clear_of_real4_midpoint
//   (real4_rounding.h, 1024 units of slack) decides. What neither decides
//   (one Real8 argument in 320, one Real4 in 2^18, over [-3, 3] and
//   log-uniform to the limit) executes the instruction.
//
// The route runs where cpu::x87_sin_cos holds: the processor has fused
// multiply-adds and the load-time probe (x87_sin_cos_probe) finds the model
// and the instruction agreeing on arguments next to multiples of pi/2, where
// the reduction constant shows. Elsewhere (another unit, or an emulator
// whose FSIN reduces by another pi) the instruction runs.
//
// Evidence: x87_sin_cos_internal_test compares the route with the
// instruction on a few million arguments; x87_sin_cos_slow_test compares
// every Real4 argument below the limit (2 x 1229516160, g_sin, g_cos,
// g_scns) and VEXMORG_X87_REAL8_COUNT random Real8 ones (g_dsin, g_dcos,
// g_dscn): run once on this machine's Intel Xeon, every Real4 and 10^9 Real8
// arguments gave the instruction's results bit for bit.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/bits.h"
#include "common/double_double.h"
#include "common/real4_rounding.h"
#include "common/x87.h"
#include "elem/trig/tables/sin_cos_table.h"

namespace vx {

// The pair of a sine and a cosine of one argument.
template <class T>
struct SineCosine {
  T sin, cos;
};

// static_cast<T>(x87::fsin(x)), static_cast<T>(x87::fcos(x)) and both, for
// T float or double, any x.
template <class T>
T x87_sine(T x);
template <class T>
T x87_cosine(T x);
template <class T>
SineCosine<T> x87_sine_cosine(T x);

// Whether the model and the instruction agree on the probe's arguments
// (cpu::x87_sin_cos, with fused multiply-adds).
bool x87_sin_cos_probe();

namespace x87_trig {

inline constexpr double kReach = 3.53e15;    // |x| below it: |x 2/pi| < 2^51, a is exact
inline constexpr float kReach4 = 823000.0f;  // the Real4 limit, for every Real4 caller
inline constexpr double kLeast = 0x1p-60;    // |x| from it: no zeros, no tiny values
inline constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
inline constexpr double kShift = 0x1.8p52;           // adding it rounds to an integer
inline constexpr double kP1 = 0x1.921fb54442d18p+0;  // P's first 53 bits
inline constexpr double kP2 = 0x1.1a6p-54;           // P - kP1, 13 bits
inline constexpr double kSlack = 0x1p-62;            // of the value, Real8
// cos d - 1 = d^2 (-1/2 + d^2 (c4 + d^2 c6)), sin d - d = d^3 (s3 + d^2 (s5
// + d^2 s7)), |d| <= 1/128: Taylor's coefficients, truncated at 2^-71 and
// 2^-81.
inline constexpr double c4 = 0x1.5555555555555p-5;    // 1/24
inline constexpr double c6 = -0x1.6c16c16c16c17p-10;  // -1/720
inline constexpr double s3 = -0x1.5555555555555p-3;   // -1/6
inline constexpr double s5 = 0x1.1111111111111p-7;    // 1/120
inline constexpr double s7 = -0x1.a01a01a01a01ap-13;  // -1/5040

// Whether the route takes x: kLeast <= |x| < limit (limit at most kReach).
// Zeros, tiny arguments, infinities and NaNs take the instruction.
template <class T>
[[gnu::always_inline]] inline bool within(T x, T limit) {
  using U = decltype(bits(x));
  constexpr U kMagnitude = ~U{0} >> 1;
  const U least = bits(static_cast<T>(kLeast));
  return (bits(x) & kMagnitude) - least < bits(limit) - least;
}

// x = r + k P with r = hi + lo; q = k mod 4.
struct Reduced {
  double hi, lo;
  std::uint32_t q;
};

// kLeast <= |x| < kReach. k is within 0.64 of x/P (2/pi as a Real8 errs
// by 3.9e-17, 0.139 at |x| = 3.53e15), so |r| < 1.004 and |a| < 1.13.
// Precise: hi + lo within 2^-104 of r, |lo| at most an ulp of hi;
// otherwise hi = r rounded once and lo = 0.
template <bool kPrecise>
[[gnu::target("fma"), gnu::always_inline]] inline Reduced reduce(double x) {
  const double n = std::fma(x, kTwoOverPi, kShift);
  const double k = n - kShift;
  const std::uint32_t q = low_word(n) & 3;
  const double a = std::fma(-k, kP1, x);  // exact
  if constexpr (!kPrecise) {
    return {std::fma(-k, kP2, a), 0, q};
  } else {
    const double p = k * kP2;
    const double p_low = std::fma(k, kP2, -p);  // exact
    const double s = a - p;
    const double v = s - a;
    const double t = ((a - (s - v)) - (p + v)) - p_low;  // s + t = a - p - p_low
    const double hi = s + t;
    return {hi, t - (hi - s), q};
  }
}

// sin(r + q pi/2) (the cosine: q + 1) by the rows of sin_cos_table.h at
// r = j/64 + d, |j| <= 64: head + tail (Real8), or the head alone, a few
// units of its last place from the value (Real4).
template <bool kPrecise>
[[gnu::target("fma"), gnu::always_inline]] inline DoubleDouble sine_at(const Reduced &r,
                                                                       std::uint32_t q) {
  const double m = std::fma(r.hi, 64, kShift);           // kShift + j
  const double d = std::fma(m - kShift, -0x1p-6, r.hi);  // exact, |d| <= 1/128
  // odd q: (cos, -sin) of j/64, so that the sum is cos r; even q: sin r
  const int j = static_cast<std::int32_t>(low_word(m));
  const sin_cos_table::Row &w = sin_cos_table::rows[q & 1][64 + j];
  const double d2 = d * d;
  const double cm1 = d2 * std::fma(d2, std::fma(d2, c6, c4), -0.5);
  const double sm = d2 * d * std::fma(d2, std::fma(d2, s7, s5), s3);
  const std::uint64_t sign = std::uint64_t{(q >> 1) & 1} << 63;  // q = 2, 3 negate
  if constexpr (!kPrecise) {
    const double v = w.a + std::fma(w.b, d, std::fma(w.a, cm1, w.b * sm));
    return {real8_from_bits(bits(v) ^ sign), 0};
  } else {
    const double p = w.b * d;
    const double p_low = std::fma(w.b, d, -p);  // exact
    const double hi = w.a + p;                  // |p| < |a| unless a = 0
    const double d2_low = std::fma(d, d, -d2);  // exact
    const double rest = std::fma(w.a * -0.5, d2_low, std::fma(-w.a, d, w.b) * r.lo);
    const double tail =
        ((w.a - hi) + p) +
        (p_low + (w.a_low + std::fma(w.b_low, d, std::fma(w.a, cm1, std::fma(w.b, sm, rest)))));
    return {real8_from_bits(bits(hi) ^ sign), real8_from_bits(bits(tail) ^ sign)};
  }
}

// The Real8 that the instruction's value rounds to, where head + tail moved
// by kSlack of it either way rounds to one Real8 (true); out is then it.
[[gnu::always_inline]] inline bool settle(DoubleDouble v, double &out) {
  return dd::settle(v, std::fabs(v.high) * kSlack, out);
}

// FSIN (kCosine false) or FCOS of x rounded to Real8, kLeast <= |x| <
// kReach, where the model settles it (true).
template <bool kCosine>
[[gnu::target("fma"), gnu::always_inline]] inline bool real8(double x, double &out) {
  const Reduced r = reduce<true>(x);
  return settle(sine_at<true>(r, r.q + kCosine), out);
}

// The instruction rounded to Real4, out of line.
template <bool kCosine>
[[gnu::noinline, gnu::cold]] inline float real4_instruction(float x) {
  return static_cast<float>(kCosine ? x87::fcos(x) : x87::fsin(x));
}

// FSIN or FCOS of x rounded to Real4, kLeast <= |x| < kReach4: the model's
// Real8 value rounded where that decides, else the instruction. The value
// rounds to a normal Real4 there (x87_sin_cos_slow_test compares every
// such x with the instruction).
template <bool kCosine>
[[gnu::target("fma"), gnu::always_inline]] inline float real4(float x) {
  const Reduced r = reduce<false>(static_cast<double>(x));
  const double v = sine_at<false>(r, r.q + kCosine).high;
  if (clear_of_real4_midpoint(v)) [[likely]]
    return static_cast<float>(v);
  return real4_instruction<kCosine>(x);
}

}  // namespace x87_trig
}  // namespace vx
