// What the CORDIC kernels share (sine.cpp, tangent.cpp, hyperbolic.cpp): the
// mode bits, the single-bit angles, the linear finish, and the way a result
// leaves Fixed128 with its sign.
#pragma once

#include <vexmorg/vexmorg.h>

#include <array>
#include <cstdint>

#include "fixed/fixed128.h"
#include "quad/real16.h"

namespace vx::fixed {

// Mode bits of the sine and hyperbolic kernels.
inline constexpr std::int32_t kWantSine = 1, kWantCosine = 2;

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

// N at scale k as Real16 bits, rounded, with the sign bit `sign` (0 or bit
// 63 of the high half).
constexpr U128 to_signed_real16(std::int32_t k, U128 n, std::uint64_t sign) {
  const U128 r = to_real16(k, n);
  return {r.hi | sign, r.lo};
}

}  // namespace vx::fixed
