// Real4 results evaluated in Real8 (SSE) arithmetic instead of the x87
// register, with the same final Real4 as the register's evaluation.
//
// A short series whose register value L is rounded once to a Real4 can be
// evaluated in Real8 arithmetic instead: the Real8 value d differs from L
// by a few units in d's last place, far less than the 2^29 units of a Real4
// place, so both round to the same Real4 unless a Real4 rounding boundary
// (a half-way point) lies between them. `rounds_as_real4` recognises the
// few d that lie too close to one, and the caller evaluates those in the
// register as before. The check is a mask and a compare on d's bits.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <limits>

#include "common/bits.h"
#include "common/x87.h"

namespace vx {

// Units of a Real8's last place within which a Real8 evaluation must lie of
// the register's for `rounds_as_real4` to decide. The Real8 series of the
// Real4 kernels stay within about 4 units (a handful of roundings of
// relative size 2^-53 against the register's 2^-64); 1024 leaves a wide
// margin and sends one argument in 2^18 to the register.
constexpr std::uint64_t kReal4Slack = 1024;

// True when every value within kReal4Slack units of d's last place rounds
// to the same Real4 as d, for a d whose Real4 rounding is normal (a caller
// that knows its result range): the 29 bits of d below a Real4's last place
// are not within kReal4Slack of 0x10000000, the pattern of a half-way point.
inline bool clear_of_real4_midpoint(double d) {
  constexpr std::uint64_t kLow = (std::uint64_t{1} << 29) - 1;  // bits below a Real4's place
  constexpr std::uint64_t kHalf = std::uint64_t{1} << 28;       // a half-way point
  return (bits(d) & kLow) - (kHalf - kReal4Slack) > 2 * kReal4Slack;
}

// The same for any d: |d| must also lie in the normal Real4 range. (Real4
// subnormals have a fixed place of 2^-149 and always go to the register.)
inline bool rounds_as_real4(double d) {
  constexpr std::uint64_t kMagnitude = ~(std::uint64_t{1} << 63);
  constexpr std::uint64_t kMin = bits(double{std::numeric_limits<float>::min()});  // 2^-126
  constexpr std::uint64_t kEnd = bits(0x1p128);  // the first magnitude that overflows
  const bool normal = (bits(d) & kMagnitude) - kMin < kEnd - kMin;
  return clear_of_real4_midpoint(d) && normal;
}

// The Real4 result of an evaluation written once for both arithmetics:
// f(double{}) in Real8 where its rounding decides, else f(long double{})
// in the register, out of line (one Real4 argument in about 2^18). A Real8
// result is always the register's. Inlined, so that the attempt of the
// resume loop stays inline in its entry.
template <class T, class F>
[[gnu::noinline, gnu::cold]] T in_register(F f) {
  return static_cast<T>(f(static_cast<long double>(0)));
}

template <class T, class F>
[[gnu::always_inline]] inline T via_real8(F f) {
  if constexpr (sizeof(T) == 4) {
    const double d = f(double{});
    if (rounds_as_real4(d)) [[likely]]
      return static_cast<float>(d);
    return in_register<T>(f);
  } else {
    return static_cast<T>(f(static_cast<long double>(0)));
  }
}

// The correctly rounded square root in either arithmetic: FSQRT in the
// register, SQRTSD in Real8.
inline long double square_root(long double v) { return x87::fsqrt(v); }
inline double square_root(double v) {
  const __m128d a = _mm_set_sd(v);
  return _mm_cvtsd_f64(_mm_sqrt_sd(a, a));
}

}  // namespace vx
