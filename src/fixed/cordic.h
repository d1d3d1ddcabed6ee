// What the CORDIC kernels share (sine.cpp, tangent.cpp, hyperbolic.cpp): the
// mode bits, the single-bit angles, the linear finish, and the way a result
// leaves Fixed128 with its sign.
#pragma once

#include <vexmorg/vexmorg.h>

#include <array>
#include <cstdint>

#include "common/bits.h"
#include "fixed/fixed128.h"
#include "fixed/tables/angles.h"
#include "quad/real16.h"

namespace vx::fixed {

// Mode bits of the sine and hyperbolic kernels.
inline constexpr std::int32_t kWantSine = 1, kWantCosine = 2;
inline constexpr Real16 kOne16 = real16_from_words(0x3fff0000, 0, 0, 0);

// 2^-i at scale 1 (bit 127 - i), for 0 <= i <= 127: the angle atan(2^-i)
// or atanh(2^-i) once it equals 2^-i at this precision (i >= 43).
constexpr U128 bit_at(int i) { return w128::shl({0, 1}, static_cast<unsigned>(127 - i)); }

// A table of angles for the indices 0..127: its entries, then the single
// bits 2^-k (scale 1) where it ends.
using Angles = std::array<U128, 128>;
template <std::size_t N>
constexpr Angles expanded(const Fixed128 (&table)[N]) {
  Angles a{};
  for (int k = 0; k < 128; ++k) a[k] = k < static_cast<int>(N) ? load(table[k]) : bit_at(k);
  return a;
}

// x r 2^-127: the product of two scale-1 values at scale 1, truncated (x r
// below 2^255).
constexpr U128 mul_scale1(U128 x, U128 r) {
  const w128::U256 p = w128::mul128x128(x, r);
  return {(p.hi.hi << 1) | (p.hi.lo >> 63), (p.hi.lo << 1) | (p.lo.hi >> 63)};
}

// x + r y for a small signed residual r (two's complement at scale 1): the
// linear step that ends a rotation, sin(a + r) = sin a + r cos a to within
// r^2 / 2 (about one unit for |r| near 2^-63).
constexpr U128 add_scaled(U128 x, U128 y, U128 r) {
  const bool minus = w128::negative(r);
  const U128 p = mul_scale1(y, w128::negate_if(minus, r));
  return minus ? w128::sub(x, p) : w128::add(x, p);
}

// |z| r 2^-128 with the sign of z (two's complement): a residual angle z
// carried into other units by the fraction r.
constexpr U128 scale_signed(U128 z, U128 r) {
  const bool minus = w128::negative(z);
  return w128::negate_if(minus, w128::mul128x128(w128::negate_if(minus, z), r).hi);
}

// One rotation by the angle a of index i towards z = 0, without a branch
// (the direction follows the sign of z, which random arguments make
// unpredictable): with d = 1 when `forward`, else -1, circular (X, Y) ->
// (X - d Y 2^-i, Y + d X 2^-i), hyperbolic (X + d Y 2^-i, Y + d X 2^-i),
// and z -= d a.
template <bool kHyperbolic>
[[gnu::always_inline]] inline void rotation_step(unsigned i, bool forward, U128 &x, U128 &y,
                                                 U128 &z, const U128 &angle) {
  const U128 dx = w128::negate_if(!forward, w128::shr(y, i));
  const U128 dy = w128::negate_if(!forward, w128::shr(x, i));
  x = kHyperbolic ? w128::add(x, dx) : w128::sub(x, dx);
  y = w128::add(y, dy);
  z = w128::sub(z, w128::negate_if(!forward, angle));
}

// N at scale k as Real16 bits, rounded, with the sign bit `sign` (0 or bit
// 63 of the high half).
constexpr U128 to_signed_real16(std::int32_t k, U128 n, std::uint64_t sign) {
  const U128 r = to_real16(k, n);
  return {r.hi | sign, r.lo};
}

// The circular rotation of the sine and tangent kernels in one angle unit:
// z at `scale` (1 radians, 6 degrees, 0 quadrant units), its table, the
// start X = rk, and the fraction that carries a residual into radians (0
// in radians).
struct Circular {
  std::int32_t scale;
  Angles angles;
  U128 rk;
  U128 to_radians;
};
inline constexpr Circular kCircularRadians = {
    1, expanded(angles::at), load(angles::rk_circular), {0, 0}};
inline constexpr Circular kCircularDegrees = {6, expanded(angles::ad),
                                              load(angles::rk_circular_units),
                                              load(angles::radians_per_degree_unit)};
inline constexpr Circular kCircularQuadrants = {0, expanded(angles::aq),
                                                load(angles::rk_circular_units),
                                                load(angles::radians_per_quadrant_unit)};

// cos z and sin z at scale 1 for 0 < z up to the sum of the angles from k
// = 1 (sine.cpp): X = rk, Y = 0, 63 rotations by +-atan(2^-i), i = 1..63,
// each towards z = 0 (the first always forward: z is positive, and a
// quadrant angle from 0.5 on has its top bit set, which is not a sign),
// then the residual z (below about 2^-63 radians, carried into radians)
// linearly: sin = Y + z X, cos = X - z Y. X and Y stay positive from the
// kernels' thresholds on (the partial angles stay above 0.0006 radians).
struct Rotated {
  U128 cos, sin;
};
Rotated rotate(const Circular &u, U128 z);

// A sine or tangent kernel's unit: its rotation, and the high word of |x|
// from which the rotations run (below it the series).
struct KernelUnit {
  const Circular &circular;
  std::uint32_t cordic_from;
};

}  // namespace vx::fixed
