// Fixed128: an unsigned 128-bit integer N, held in four 32-bit words with the
// most significant first (the reverse of Real16's word order), standing for
// N 2^(k - 128) at a scale k that each conversion names (k integer bits:
// 0 for fractions, 1 below 2, 6 for degrees, ...).
//
// The primitives that the CORDIC, arc and Real16 function kernels share,
// on 128-bit words (common/words128.h); the entries ulx_guqw ... ulx_guwt
// are thin wrappers around them:
//   from_real16  ulx_guqw  x 2^(128 - k), truncated; 0 out of range
//   to_real16    ulx_guwt  N 2^(k - 128), rounded to nearest, ties to even
//   rescale_pair ulx_guwc  order a pair and scale both by one factor
//   divide       ulx_guwd  a 2^127 / b in eight 16-bit digits, truncated
//   square       ulx_guwq  N^2 / 2^128 from the columns 0 to 8 of 16-bit digits
//   root         ulx_guws  floor(sqrt(N 2^128)), bit 0 cleared from 2^126 on
// None reports an error: the kernels keep their operands in range, and an
// operand out of range gives a defined value (each function says which).
#pragma once

#include <vexmorg/vexmorg.h>

#include <cstdint>

#include "common/words128.h"
#include "quad/real16.h"

namespace vx::fixed {

using w128::U128;
using w128::u32;
using w128::u64;

constexpr U128 load(const Fixed128 &f) { return w128::from_words(f.w[0], f.w[1], f.w[2], f.w[3]); }
constexpr Fixed128 store(U128 n) {
  return Fixed128{{w128::word(n, 3), w128::word(n, 2), w128::word(n, 1), w128::word(n, 0)}};
}

constexpr int clz128(U128 n) { return n.hi != 0 ? w128::clz64(n.hi) : 64 + w128::clz64(n.lo); }

// x (Real16 format bits) times 2^(128 - k), truncated. The significand
// (leading 1 at bit 112) moves right by s = 16367 + k - e for the biased
// exponent e. 0 when word 3 is 0, x is negative (-0 included), s < -15
// (x >= 2^k) or s >= 113 (x below 2^(k - 128)).
constexpr U128 from_real16(std::int32_t k, U128 x) {
  if ((x.hi >> 32) == 0 || quad::sign_of(x) != 0) return {0, 0};
  const std::int64_t s = std::int64_t{16367} + k - quad::exponent_of(x);
  if (s < -15 || s >= 113) return {0, 0};
  const U128 sig = quad::significand_of(x);
  return s < 0 ? w128::shl(sig, static_cast<unsigned>(-s))
               : w128::shr(sig, static_cast<unsigned>(s));
}

// N 2^(k - 128) as Real16 format bits, positive, rounded to nearest, ties to
// even (the at most 15 bits shifted out are the whole guard: no sticky bit
// is lost); N = 0 gives +0. With t = (position 112) - (position of N's
// leading 1), word 3 is (k + 16366 - t) * 65536 plus the top word (0x10000,
// or 0x20000 after a carry of the rounding, which is the next exponent):
// in 32-bit arithmetic, so a scale far outside the kernels' range wraps
// into the sign bit rather than being detected.
constexpr U128 to_real16(std::int32_t k, U128 n) {
  if (w128::is_zero(n)) return {0, 0};
  const int t = clz128(n) - 15;  // -15 .. 112
  U128 m;
  if (t >= 0) {
    m = w128::shl(n, static_cast<unsigned>(t));
  } else {
    const auto r = static_cast<unsigned>(-t);
    m = w128::shr(n, r);
    const u64 guard = n.lo & ((u64{1} << r) - 1), half = u64{1} << (r - 1);
    if (guard > half || (guard == half && (m.lo & 1) != 0)) m = w128::add(m, {0, 1});
  }
  const u32 field = (static_cast<u32>(k) + 16366u - static_cast<u32>(t)) << 16;
  return {m.hi + (u64{field} << 32), m.lo};  // the top word adds onto the field, modulo 2^32
}

// The pair (a, b) ordered and scaled for the arc kernels: X the larger (a
// on a tie), Y the other, `swapped` set when b was strictly larger. Both
// are multiplied by one factor chosen from X's top word T, by shifts and
// adds that truncate: T <= 0x55800000 doubles, then takes 7/8 (v - v/8)
// when the doubled top word is above 0x9a000000; above it, 1 + 1/2 up to
// 0x67000000, 1 + 1/4 up to 0x7b000000, else 1 + 1/8 (modulo 2^128: an X
// of 2^128 / (1 + 1/8) or more wraps). The ratio Y / X stays as it was up
// to the truncations.
struct Pair {
  U128 x, y;
  bool swapped;
};
constexpr Pair rescale_pair(U128 a, U128 b) {
  const bool swapped = w128::less(a, b);
  U128 x = swapped ? b : a, y = swapped ? a : b;
  const u32 top = w128::word(x, 3);
  if (top <= 0x55800000) {
    x = w128::shl(x, 1), y = w128::shl(y, 1);
    if (w128::word(x, 3) <= 0x9a000000) return {x, y, swapped};
    return {w128::sub(x, w128::shr(x, 3)), w128::sub(y, w128::shr(y, 3)), swapped};
  }
  const unsigned shift = top <= 0x67000000 ? 1 : top <= 0x7b000000 ? 2 : 3;
  return {w128::add(x, w128::shr(x, shift)), w128::add(y, w128::shr(y, shift)), swapped};
}

// The top 128 bits of the sum of the 16-bit digit products h_i h_j (h_0
// the most significant of N's eight) over the columns i + j <= 8: N^2 /
// 2^128, truncated, and one unit low when the columns 9 to 14 (a sum below
// 2^117) would have carried into bit 128. Computed as the full square less
// those columns: the high half, less one when the low half is below them.
constexpr U128 square(U128 n) {
  const w128::U256 sq = w128::mul128x128(n, n);
  auto h = [n](int i) {
    return u64{static_cast<std::uint16_t>(w128::word(n, (7 - i) / 2) >> (i % 2 ? 0 : 16))};
  };
  // Columns 9 to 14, at weight 2^(16 (14 - c)): the square of h5 h6 h7,
  // twice h4 times them, and twice h2 h7, h3 h6 (column 9) and h3 h7
  // (column 10).
  const u64 low_quarter = n.lo & 0xffffffffffff;  // h5 h6 h7
  const U128 low_square = w128::mul64x64(low_quarter, low_quarter);
  const U128 h4_cross = w128::shl(w128::mul64x64(2 * h(4), low_quarter), 48);
  const U128 cross = w128::add(w128::shl({0, 2 * (h(2) * h(7) + h(3) * h(6))}, 80),
                               w128::shl({0, 2 * h(3) * h(7)}, 64));
  const U128 dropped = w128::add(w128::add(low_square, h4_cross), cross);
  return w128::less(sq.lo, dropped) ? w128::sub(sq.hi, {0, 1}) : sq.hi;
}

// Q = a 2^127 / b in the digits of the 32-bit long division (divide.cpp).
U128 divide(U128 a, U128 b);

// floor(a 2^127 / b) exactly, for a < 2b: two 3-by-2 word divisions by the
// normalised b (the tangent kernels' quotient). Out of range (a >= 2b, b
// zero included): all ones, the largest quotient.
constexpr U128 exact_quotient(U128 a, U128 b) {
  if (!w128::less(w128::shr(a, 1), b)) return {~u64{0}, ~u64{0}};
  const auto s = static_cast<unsigned>(clz128(b));
  const U128 d = w128::shl(b, s);
  const u64 v = w128::reciprocal_3by2(d);
  // a 2^(127 + s) as 256 bits, below d 2^128
  const U128 hi = s == 0 ? w128::shr(a, 1) : w128::shl(a, s - 1);
  const u64 n1 = s == 0 ? a.lo << 63 : 0;
  U128 r;
  const u64 q1 = w128::div_3by2(hi.hi, hi.lo, n1, d, v, r);
  const u64 q0 = w128::div_3by2(r.hi, r.lo, 0, d, v, r);
  return {q1, q0};
}

// floor(sqrt(N 2^128)); from N >= 2^126 on, twice the root of (N >> 2)
// 2^128 (root.cpp).
U128 root(U128 n);

}  // namespace vx::fixed
