// Unsigned 128-bit words: the primitives under the Real16 arithmetic and the
// Fixed128 kernels.
//
// A U128 is two 64-bit halves, most significant first. Every operation has
// one contract and two bodies under the same name: a fast one on the
// compiler's unsigned __int128 (x86_64), and a portable one on 32-bit words
// and 32x32->64 products (i386, and any build with VEXMORG_PORTABLE_WORDS=1,
// which must give the same bits). Shift counts are checked by the contract
// of each shift, never by the caller's luck: C++ leaves a shift of a word by
// its width or more undefined, and these functions own that care.
//
// The division helpers follow Moeller and Granlund, "Improved division by
// invariant integers" (IEEE Trans. Computers 60, 2011): an exact reciprocal
// of a normalised divisor, then quotient words by multiplication.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#if defined(__SIZEOF_INT128__) && defined(__x86_64__) && !defined(VEXMORG_PORTABLE_WORDS)
#define VX_WORDS128_FAST 1
#include <x86intrin.h>
#else
#define VX_WORDS128_FAST 0
#endif

namespace vx::w128 {

using u32 = std::uint32_t;
using u64 = std::uint64_t;

struct U128 {
  u64 hi, lo;
};

// A 256-bit product or numerator, most significant half first.
struct U256 {
  U128 hi, lo;
};

#if VX_WORDS128_FAST
using native = unsigned __int128;
constexpr native to_native(U128 x) { return (native{x.hi} << 64) | x.lo; }
constexpr U128 from_native(native x) { return {static_cast<u64>(x >> 64), static_cast<u64>(x)}; }
#endif

// ---- Words and comparisons --------------------------------------------------

// Four 32-bit words, most significant first.
constexpr U128 from_words(u32 w3, u32 w2, u32 w1, u32 w0) {
  return {(u64{w3} << 32) | w2, (u64{w1} << 32) | w0};
}
// Word i (0 least significant, 3 most).
constexpr u32 word(U128 x, int i) {
  const u64 half = i >= 2 ? x.hi : x.lo;
  return static_cast<u32>((i & 1) ? half >> 32 : half);
}

constexpr bool is_zero(U128 x) { return (x.hi | x.lo) == 0; }
constexpr bool equal(U128 a, U128 b) { return a.hi == b.hi && a.lo == b.lo; }
constexpr bool less(U128 a, U128 b) {
#if VX_WORDS128_FAST
  return to_native(a) < to_native(b);  // the borrow of a - b: no branch
#else
  return a.hi < b.hi || (a.hi == b.hi && a.lo < b.lo);
#endif
}
// Bit 127 read as a sign: the order of values known to lie within 2^127 of
// zero, held modulo 2^128.
constexpr bool negative(U128 x) { return (x.hi >> 63) != 0; }

// `a` when c holds, else `b`, by masks rather than a branch: for choices
// that random operands make unpredictable.
constexpr U128 select(bool c, U128 a, U128 b) {
  const u64 mask = 0 - static_cast<u64>(c);
  return {b.hi ^ ((a.hi ^ b.hi) & mask), b.lo ^ ((a.lo ^ b.lo) & mask)};
}

// ---- Addition and subtraction -----------------------------------------------

// a + b modulo 2^128.
constexpr U128 add(U128 a, U128 b) {
#if VX_WORDS128_FAST
  return from_native(to_native(a) + to_native(b));
#else
  const u64 lo = a.lo + b.lo;
  return {a.hi + b.hi + (lo < a.lo ? 1 : 0), lo};
#endif
}

// a - b modulo 2^128.
constexpr U128 sub(U128 a, U128 b) {
#if VX_WORDS128_FAST
  return from_native(to_native(a) - to_native(b));
#else
  return {a.hi - b.hi - (a.lo < b.lo ? 1 : 0), a.lo - b.lo};
#endif
}

// -x modulo 2^128 when c holds, else x, without a branch.
constexpr U128 negate_if(bool c, U128 x) {
  const u64 mask = 0 - static_cast<u64>(c);
  return add({x.hi ^ mask, x.lo ^ mask}, {0, mask & 1});  // ~x + 1, or x
}

// a + b + carry_in (0 or 1), with the carry out of bit 127 in `carry_out`.
// The fast body is the processor's add-with-carry chain.
constexpr U128 add_carry(U128 a, U128 b, u32 carry_in, u32 &carry_out) {
#if VX_WORDS128_FAST
  if (!std::is_constant_evaluated()) {
    unsigned long long lo, hi;
    const unsigned char c = _addcarry_u64(
        _addcarry_u64(static_cast<unsigned char>(carry_in), a.lo, b.lo, &lo), a.hi, b.hi, &hi);
    carry_out = c;
    return {hi, lo};
  }
#endif
  const U128 s = add(add(a, b), {0, carry_in});
  carry_out = (less(s, a) || (carry_in != 0 && equal(s, a))) ? 1 : 0;
  return s;
}

// ---- Shifts -----------------------------------------------------------------

// x * 2^n modulo 2^128, for 0 <= n < 128. The fast body shifts a variable
// count as one 128-bit word (a double shift and a choice of the halves); a
// constant count takes the word formulas, whose single shifts cost less
// than a double shift (SHLD, SHRD: several operations on AMD processors).
constexpr U128 shl(U128 x, unsigned n) {
#if VX_WORDS128_FAST
  if (!__builtin_constant_p(n)) return from_native(to_native(x) << n);
#endif
  if (n == 0) return x;
  if (n >= 64) return {x.lo << (n - 64), 0};
  return {(x.hi << n) | (x.lo >> (64 - n)), x.lo << n};
}

// floor(x / 2^n), for 0 <= n < 128; bodies as for shl.
constexpr U128 shr(U128 x, unsigned n) {
#if VX_WORDS128_FAST
  if (!__builtin_constant_p(n)) return from_native(to_native(x) >> n);
#endif
  if (n == 0) return x;
  if (n >= 64) return {0, x.hi >> (n - 64)};
  return {x.hi >> n, (x.lo >> n) | (x.hi << (64 - n))};
}

// ---- Leading and trailing zeros ---------------------------------------------

// Zero bits above the highest set bit; the width for 0.
constexpr int clz32(u32 x) { return x == 0 ? 32 : __builtin_clz(x); }
constexpr int clz64(u64 x) {
#if VX_WORDS128_FAST
  return x == 0 ? 64 : __builtin_clzll(x);
#else
  const u32 high = static_cast<u32>(x >> 32);
  return high != 0 ? clz32(high) : 32 + clz32(static_cast<u32>(x));
#endif
}

// Zero bits below the lowest set bit; the width for 0.
constexpr int ctz32(u32 x) { return x == 0 ? 32 : __builtin_ctz(x); }
constexpr int ctz64(u64 x) {
#if VX_WORDS128_FAST
  return x == 0 ? 64 : __builtin_ctzll(x);
#else
  const u32 low = static_cast<u32>(x);
  return low != 0 ? ctz32(low) : 32 + ctz32(static_cast<u32>(x >> 32));
#endif
}
constexpr int ctz128(U128 x) { return x.lo != 0 ? ctz64(x.lo) : 64 + ctz64(x.hi); }

// ---- Shifts with a sticky bit, normalisation --------------------------------

// floor(x / 2^n) with the bits shifted out ORed into bit 0 (the sticky bit
// of rounding), for any n >= 0: from n = 128 on the result is 1 when x is
// nonzero and 0 otherwise. Some bit is shifted out exactly when n exceeds
// the number of trailing zeros.
constexpr U128 shr_sticky(U128 x, unsigned n) {
  if (n >= 128) [[unlikely]]
    return {0, is_zero(x) ? 0u : 1u};
  const U128 kept = shr(x, n);
  const bool lost = static_cast<int>(n) > ctz128(x);
  return {kept.hi, kept.lo | (lost ? 1u : 0u)};
}

// x shifted left until bit 127 is set, for a nonzero x; the shift, 0 to
// 127, in `n`.
constexpr U128 normalize(U128 x, int &n) {
  if (x.hi == 0) [[unlikely]] {
    n = 64 + clz64(x.lo);
    return {x.lo << (n - 64), 0};
  }
  // Below 64: single shifts rather than a double shift, the low word's
  // part in two steps so that a zero shift moves none of it.
  n = clz64(x.hi);
  const auto m = static_cast<unsigned>(n);
  return {(x.hi << m) | ((x.lo >> 1) >> (63 - m)), x.lo << m};
}

// ---- Products ---------------------------------------------------------------

constexpr u64 mul32x32(u32 a, u32 b) { return u64{a} * b; }

// The full 128-bit product of two 64-bit words.
constexpr U128 mul64x64(u64 a, u64 b) {
#if VX_WORDS128_FAST
  return from_native(native{a} * b);
#else
  const u32 a0 = static_cast<u32>(a), a1 = static_cast<u32>(a >> 32);
  const u32 b0 = static_cast<u32>(b), b1 = static_cast<u32>(b >> 32);
  const u64 p00 = mul32x32(a0, b0), p01 = mul32x32(a0, b1);
  const u64 p10 = mul32x32(a1, b0), p11 = mul32x32(a1, b1);
  // The middle column: at most three 32-bit terms, no overflow of 64 bits.
  const u64 mid = (p00 >> 32) + static_cast<u32>(p01) + static_cast<u32>(p10);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | static_cast<u32>(p00)};
#endif
}

// The high 64 bits of a 64x64 product.
constexpr u64 mul_high(u64 a, u64 b) { return mul64x64(a, b).hi; }

// The full 256-bit product of two 128-bit words.
constexpr U256 mul128x128(U128 a, U128 b) {
  const U128 p00 = mul64x64(a.lo, b.lo), p01 = mul64x64(a.lo, b.hi);
  const U128 p10 = mul64x64(a.hi, b.lo), p11 = mul64x64(a.hi, b.hi);
  // Bits 64..191: p00.hi + p01 + p10, with its carries into bit 192.
  u32 c1 = 0, c2 = 0;
  U128 mid = add_carry(p01, p10, 0, c1);
  mid = add_carry(mid, {0, p00.hi}, 0, c2);
  const U128 top = add(p11, {c1 + c2, mid.hi});
  return {top, {mid.lo, p00.lo}};
}

// The low 128 bits of a product: a * b modulo 2^128.
constexpr U128 mul_low(U128 a, U128 b) {
  const U128 p = mul64x64(a.lo, b.lo);
  return {p.hi + a.lo * b.hi + a.hi * b.lo, p.lo};
}
constexpr U128 mul_low(U128 a, u64 b) {
  const U128 p = mul64x64(a.lo, b);
  return {p.hi + a.hi * b, p.lo};
}

// ---- Division by an invariant divisor ---------------------------------------

// Used by the Fixed128 kernels' division (a * 2^127 / b: two quotient words
// of a 256-by-128-bit division, div_3by2 after reciprocal_3by2).

namespace detail {

// floor((2^19 - 3 * 2^8) / d9) for d9 = 256..511, the 11-bit start of the
// reciprocal iteration.
constexpr std::array<u32, 256> kReciprocalStart = [] {
  std::array<u32, 256> t{};
  for (u32 i = 0; i < 256; ++i) t[i] = ((1u << 19) - 3 * (1u << 8)) / (256 + i);
  return t;
}();

}  // namespace detail

// v = floor((2^128 - 1) / d) - 2^64 for a normalised d (bit 63 set): the
// reciprocal that div_2by1 needs. An 11-bit table start and three Newton
// steps, exact by construction.
constexpr u64 reciprocal_word(u64 d) {
  const u64 d0 = d & 1;
  const u64 d9 = d >> 55;
  const u64 d40 = (d >> 24) + 1;
  const u64 d63 = (d >> 1) + d0;  // ceil(d / 2)
  const u64 v0 = detail::kReciprocalStart[d9 - 256];
  const u64 v1 = (v0 << 11) - ((v0 * v0 * d40) >> 40) - 1;
  const u64 v2 = (v1 << 13) + ((v1 * ((u64{1} << 60) - v1 * d40)) >> 47);
  const u64 e = ((v2 >> 1) & (0 - d0)) - v2 * d63;  // 2^96 - v2 d63 + (v2 / 2) d0, mod 2^64
  const u64 v3 = (v2 << 31) + (mul_high(v2, e) >> 1);
  // v3 - floor((v3 + 2^64 + 1) d / 2^64), mod 2^64
  const U128 p = add(mul64x64(v3, d), {0, d});
  return v3 - p.hi - d;
}

// v = floor((2^192 - 1) / d) - 2^64 for a normalised 128-bit d (bit 127
// set): the reciprocal that div_3by2 needs.
constexpr u64 reciprocal_3by2(U128 d) {
  u64 v = reciprocal_word(d.hi);
  u64 p = d.hi * v + d.lo;
  if (p < d.lo) {  // the sum carried
    --v;
    if (p >= d.hi) {
      --v;
      p -= d.hi;
    }
    p -= d.hi;
  }
  const U128 t = mul64x64(v, d.lo);
  p += t.hi;
  if (p < t.hi) {
    --v;
    if (!less({p, t.lo}, d)) --v;
  }
  return v;
}

// The quotient word q = floor((u2, u1, u0) / d) and the remainder
// (u2, u1, u0) - q d < d, for a normalised d with its reciprocal v
// (reciprocal_3by2) and a numerator whose top two words (u2, u1) are below
// d, so that q fits one word.
constexpr u64 div_3by2(u64 u2, u64 u1, u64 u0, U128 d, u64 v, U128 &remainder) {
  U128 q = add(mul64x64(v, u2), {u2, u1});
  U128 r = {u1 - q.hi * d.hi, u0};
  r = sub(sub(r, mul64x64(d.lo, q.hi)), d);
  u64 digit = q.hi + 1;
  if (r.hi >= q.lo) {
    --digit;
    r = add(r, d);
  }
  if (!less(r, d)) [[unlikely]] {
    ++digit;
    r = sub(r, d);
  }
  remainder = r;
  return digit;
}

}  // namespace vx::w128
