// Real4 results evaluated in Real8 (SSE) arithmetic instead of the x87
// register, with the same final Real4 as the register's evaluation.
//
// A short series whose register value L is rounded once to a Real4 can be
// evaluated in Real8 arithmetic instead: the Real8 value d differs from L
// by a few units in d's last place, far less than the 2^29 units of a Real4
// place, so both round to the same Real4 unless a Real4 rounding boundary
// (a half-way point) lies between them. `rounds_as_real4` recognises the
// few d that lie too close to one, and those are evaluated in the register
// (real4_or_register, the one way the kernels take a Real4 from a Real8
// evaluation). The check is a mask and a compare on d's bits.
#pragma once

#include <cstdint>
#include <limits>

#include "common/bits.h"

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

// Runs f() out of line: the register's evaluation, which about one Real4
// argument in 2^18 takes.
template <class F>
[[gnu::noinline, gnu::cold]] auto in_register(F f) -> decltype(f()) {
  return f();
}

// What a caller knows of the Real4 rounding of its Real8 value: nothing
// (`any`: rounds_as_real4 decides), or that it is normal or zero (`normal`:
// clear_of_real4_midpoint decides).
enum class Real4Range { any, normal };

// The one way a Real4 result is taken from a Real8 evaluation d: d rounded
// to Real4 where that rounding is the register's (and the caller's own
// condition `usable` holds), else `register_value()`, the register's
// evaluation of the same result, out of line. Inlined, so that the attempt
// of the resume loop stays inline in its entry.
template <Real4Range kRange = Real4Range::any, class F>
[[gnu::always_inline]] inline float real4_or_register(double d, F register_value,
                                                      bool usable = true) {
  const bool decides = kRange == Real4Range::any ? rounds_as_real4(d) : clear_of_real4_midpoint(d);
  if (usable && decides) [[likely]]
    return static_cast<float>(d);
  return in_register(register_value);
}

// The result of type T of an evaluation written once for both arithmetics:
// for a Real4, f(double{}) in Real8 where its rounding decides, else
// f(long double{}) in the register (real4_or_register); a Real8 result is
// always the register's.
template <class T, Real4Range kRange = Real4Range::any, class F>
[[gnu::always_inline]] inline T via_real8(F f) {
  if constexpr (sizeof(T) == 4) {
    return real4_or_register<kRange>(
        f(double{}), [f] { return static_cast<float>(f(static_cast<long double>(0))); });
  } else {
    return static_cast<T>(f(static_cast<long double>(0)));
  }
}

}  // namespace vx
