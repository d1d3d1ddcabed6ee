// What the arc sines and arc cosines share (asin_acos.cpp,
// asin_acos_degrees.cpp, asin_acos_quadrants.cpp): the square root of their
// arc cosine forms in either arithmetic, the domain test and the defaults,
// the range tests on the bits of a Real8 argument, the Real8 entry, and the
// two internal quadrant-unit kernels, which take their argument by value.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "common/x87.h"
#include "frame/ieee_constants.h"
#include "frame/resume.h"

namespace vx {

// The correctly rounded square root in either arithmetic of the arc cosine
// forms (via_real8): FSQRT in the register, SQRTSD in Real8.
inline long double square_root(long double v) { return x87::fsqrt(v); }
inline double square_root(double v) {
  const __m128d a = _mm_set_sd(v);
  return _mm_cvtsd_f64(_mm_sqrt_sd(a, a));
}

// The arc sine and arc cosine take |x| up to 1; a NaN fails the test too.
template <class T>
constexpr bool outside_arc_domain(T x) {
  return !(x >= -1 && x <= 1);
}

// The same tests on the bits of a Real8 argument, for the entries that load
// the argument from memory straight into the x87 register (x87::fld): a
// value read into an SSE or integer register and stored again for the
// register costs a store-forwarding delay, so the bits come from one
// integer load (bits_at) and the register loads the argument again from
// memory. A NaN lies above every bound.
constexpr std::uint64_t kMagnitude = 0x7fffffffffffffff;
constexpr bool within_arc_domain(std::uint64_t b) {
  return (b & kMagnitude) <= 0x3ff0000000000000;  // |x| <= 1
}
constexpr bool beyond_half(std::uint64_t b) {
  return (b & kMagnitude) > 0x3fe0000000000000;  // |x| > 1/2
}
constexpr bool below_half(std::uint64_t b) {
  return (b & kMagnitude) < 0x3fe0000000000000;  // |x| < 1/2
}
constexpr bool negative(std::uint64_t b) { return b >> 63; }

// A Real8 arc sine or arc cosine entry: |*x| <= 1 by value(x, bits) from
// memory, the rest (errors and resumes) by the resume loop over attempt.
template <auto value, auto attempt>
[[gnu::always_inline]] inline double arc_entry(const double *x) {
  const std::uint64_t b = bits_at(x);
  if (within_arc_domain(b)) [[likely]]
    return value(x, b);
  return resume_loop(attempt, *x);
}

// An arc sine outside its domain: default plus the quarter turn for x > 0,
// minus it for any other x (a NaN included).
template <class T>
constexpr Attempt<T> arcsin_error(std::int32_t number, T x, T quarter_turn) {
  return argument_error(number, x > 0 ? quarter_turn : -quarter_turn, kNaN<T>);
}

// An arc cosine outside its domain: default 0 for x > 1, the half turn for
// any other x (a NaN included).
template <class T>
constexpr Attempt<T> arccos_error(std::int32_t number, T x, T half_turn) {
  return argument_error(number, x > 1 ? T{0} : half_turn, kNaN<T>);
}

}  // namespace vx

// acos(1 - v) in quadrant units for 0 <= v <= 1/2 (the callers pass
// v = 1 - |x|); for 1/2 < v < 2 the quadrant arc cosine of 1 - v; 2.0 for
// v >= 2 or NaN. The result is the x87 register's, not rounded to the
// argument's type. Internal: not exported.
extern "C" long double ulx_ga1q(float v);
extern "C" long double ulx_gd1q(double v);
