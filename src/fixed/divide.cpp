// ulx_guwd: Q = a 2^127 / b, so that a and b at one scale give their
// quotient at scale 1, for a / b below 2.
//
// The division is the 32-bit long division with 16-bit digits: the dividend
// A = a >> 2 and the divisor B = b >> 1; eight digits from the most
// significant, each the top 32 bits of the partial remainder over the
// divisor's top 16 bits (0xffff when that is above 0xffff or the divisor's
// top half-word is 0), lowered while the remainder is negative. Digits 1
// and 2 divide by all eight half-words of B, 3 and 4 by six, 5 and 6 by
// four, 7 and 8 by two: before each shortening the divisor drops its lowest
// 32 bits, rounded into the kept part (plus 1 when bit 31 of the dropped
// part is set), and the partial remainder drops its lowest 32 bits,
// truncated.
//
// Two digits with the same divisor make one 32-bit digit: with a window W
// (the remainder before a pair, times 2^32) and divisor D, the pair is
// min(2^32 - 1, floor(W / D)) and leaves W - pair * D, which never exceeds
// D when A <= B (a < 2b gives A <= B). The pairs are computed by 3-by-2
// word division with an exact reciprocal: the same digits, bit for bit
// (fixed128_internal_test runs the 16-bit long division beside it).
//
// Out of range: A > B (a quotient of 2 or more) gives all ones, the largest
// quotient.
#include "fixed/fixed128.h"

namespace vx::fixed {
namespace {

constexpr u64 kPairMax = 0xffffffff;

// min(2^32 - 1, floor(w / d)) for the 192-bit w = (w2, w), 2^32 - 1 for a
// zero d; the remainder w - pair * d modulo 2^128 in `rest`.
u64 pair_digit(u64 w2, U128 w, U128 d, U128 &rest) {
  u64 pair = kPairMax;
  if (w128::is_zero(d)) {
    rest = w;
    return pair;
  }
  // w >= d 2^32 caps the pair: w >> 32 against d.
  const U128 w_shifted = {(w2 << 32) | (w.hi >> 32), (w.hi << 32) | (w.lo >> 32)};
  if (w128::less(w_shifted, d) && (w2 >> 32) == 0) {
    // floor(w 2^32 / d) by one 3-by-2 digit after normalising d.
    const auto s = static_cast<unsigned>(clz128(d));
    const U128 dn = w128::shl(d, s);
    // w 2^(32 + s) in three words (x[0] the most significant): its top
    // two are below dn.
    u64 x[3] = {w2, w.hi, w.lo};
    unsigned up = 32 + s;
    for (; up >= 64; up -= 64) x[0] = x[1], x[1] = x[2], x[2] = 0;
    if (up != 0) {
      x[0] = (x[0] << up) | (x[1] >> (64 - up));
      x[1] = (x[1] << up) | (x[2] >> (64 - up));
      x[2] <<= up;
    }
    U128 r;
    pair = w128::div_3by2(x[0], x[1], x[2], dn, w128::reciprocal_3by2(dn), r) >> 32;
  }
  rest = w128::sub(w, w128::mul_low(d, pair));
  return pair;
}

// The divisor without its lowest 32 bits, rounded by them.
constexpr U128 shorten(U128 d) { return w128::add(w128::shr(d, 32), {0, (d.lo >> 31) & 1}); }

}  // namespace

U128 divide(U128 a, U128 b) {
  const U128 dividend = w128::shr(a, 2);
  U128 d = w128::shr(b, 1);
  if (w128::less(d, dividend)) return {~u64{0}, ~u64{0}};
  // Pair 1: the window is A 2^32, 160 bits.
  u64 pairs[4];
  U128 rest;
  pairs[0] = pair_digit(dividend.hi >> 32, w128::shl(dividend, 32), d, rest);
  for (int p = 1; p < 4; ++p) {
    // The remainder shifted up by 16 bits with its lowest 32 dropped: its
    // low 16 bits cleared.
    d = shorten(d);
    pairs[p] = pair_digit(0, {rest.hi, rest.lo & ~u64{0xffff}}, d, rest);
  }
  return {(pairs[0] << 32) | pairs[1], (pairs[2] << 32) | pairs[3]};
}

}  // namespace vx::fixed

void ulx_guwd(const Fixed128 *a, const Fixed128 *b, Fixed128 *out) {
  *out = vx::fixed::store(vx::fixed::divide(vx::fixed::load(*a), vx::fixed::load(*b)));
}
