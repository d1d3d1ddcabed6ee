// Arguments for the identity runs of the radian arc tangents against
// FPATAN (atan_route_internal_test, atan_route_slow_test): magnitudes over
// the whole Real8 range weighted towards the places where the SSE route of
// atan.cpp changes its reduction or leaves the rounding open, and (y, x)
// pairs built from them.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <utility>

#include "common/bits.h"
#include "common/x87.h"
#include "support/checks.h"
#include "support/sampling.h"

namespace support {

// A magnitude: half the draws any finite Real8 pattern (every binade,
// subnormals included), the rest next to the route's switch points: within
// a cell of a breakpoint c = 2^-7 ... 2^7 (five fraction bits), at the
// rounding boundary between two cells, at 2^+-7, 2^-27 (atan's identity
// range), 2^-13 (the Real4 one), 2^+-960 (atan2's moderate range), and in
// [0, 20).
inline double atan_magnitude(Sampler &s) {
  const std::uint64_t r = s.bits();
  switch (r & 15) {
    case 0:
    case 1: {  // a breakpoint's cell, its midpoint boundary
      const double c = vx::real8_from_bits((0x7f00 + (r >> 8) % 449) << 47);
      const double d =
          (r & 1 ? s.uniform(-1, 1) : (r & 16 ? 1 : -1) * (1 + s.uniform(-1e-9, 1e-9)));
      return c * (1 + d * 0x1p-6);
    }
    case 2: {  // the switch points
      constexpr double kPoints[] = {0x1p-7, 0x1p7, 0x1p-27, 0x1p-13, 0x1p-960, 0x1p960};
      return kPoints[(r >> 8) % 6] * (1 + s.uniform(-0x1p-20, 0x1p-20));
    }
    case 3:
      return s.uniform(0, 20);
    case 4:
    case 5:
    case 6:
    case 7:
      return std::exp2(s.uniform(-12, 12));
    default:  // any finite pattern
      return vx::real8_from_bits(r % 0x7ff0000000000000);
  }
}

// (y, x) of any signs: |x| log-uniform over 2^+-1000 (or any pattern), y =
// x times a magnitude (the ratio), one pair in 16 with a zero, an infinity
// or a NaN.
inline std::pair<double, double> atan2_pair(Sampler &s) {
  const std::uint64_t r = s.bits();
  const double x =
      (r & 1 ? -1 : 1) * (r & 2 ? std::exp2(s.uniform(-1000, 1000)) : atan_magnitude(s));
  double y = (r & 4 ? -1 : 1) * std::fabs(x) * atan_magnitude(s);
  if ((r & 0xf0) == 0) {
    constexpr double kSpecial[] = {0.0, -0.0, INFINITY, -INFINITY, NAN, 1.0};
    y = kSpecial[(r >> 8) % 6];
    return r & 0x800 ? std::pair{y, x} : std::pair{x, y};
  }
  return {y, x};
}

// FPATAN(y, x) rounded to T is `got`; a failure (the first five) otherwise.
template <class T>
bool same_as_fpatan(T got, T y, T x, const char *name) {
  const T want = static_cast<T>(vx::x87::fpatan(y, x));
  if (bits_of(got) == bits_of(want)) return true;
  static std::atomic<int> shown{0};
  if (++shown <= 5)
    ADD_FAILURE() << name << std::hexfloat << "(" << y << ", " << x << ") = " << got
                  << ", FPATAN gives " << want;
  return false;
}

}  // namespace support
