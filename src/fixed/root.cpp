// ulx_guws: the square root at scale 0, R = floor(sqrt(N 2^128)), so that
// R 2^-128 is the root of N 2^-128 (an operand at an even scale k gives the
// root at scale k / 2).
//
// When N's top word is 0x40000000 or more, the root is taken of N >> 2 and
// shifted left by one (bit 0 is then 0, and R may be a few units
// below the exact floor); otherwise N < 2^126 and R < 2^127. The root bits
// are those of the restoring method (127 steps of one bit each), which
// computes the integer square root exactly.
//
// Method: M (N or N >> 2) shifted left by an even 2j into X in [2^126,
// 2^128), whose root floor(sqrt(X 2^128)) shifted right by j is M's (the
// floors of sqrt(X 2^128) / 2^j and sqrt(M 2^128) agree). That root in
// two 64-bit halves by Zimmermann's Karatsuba square root: the high half
// s = floor(sqrt(X)) from a double square root and one Newton step, with
// the remainder r = X - s^2 <= 2s; the low half q = floor(r 2^64 / 2s)
// by one 3-by-2 word division, lowered by one when q^2 exceeds the
// division's remainder times 2^64. fixed128_internal_test checks it
// against GMP.
#include <cmath>

#include "fixed/fixed128.h"

namespace vx::fixed {
namespace {

// A signed 128-bit value (modulo 2^128) as a double.
double signed_double(U128 v) {
  return std::ldexp(static_cast<double>(static_cast<std::int64_t>(v.hi)), 64) +
         static_cast<double>(v.lo);
}

// floor(sqrt(x)) for x in [2^126, 2^128): within 2^12 from the double
// root, within one after a Newton step on the exact remainder, then exact.
u64 root_high(U128 x) {
  const double t = std::sqrt(std::ldexp(static_cast<double>(x.hi), 64));
  u64 s = t >= 0x1p64 ? ~u64{0} : static_cast<u64>(t);
  const double step =
      signed_double(w128::sub(x, w128::mul64x64(s, s))) / (2.0 * static_cast<double>(s));
  const auto delta = static_cast<u64>(std::llround(step));  // modulo 2^64: a negative step wraps
  s = step > 0 && s > ~delta ? ~u64{0} : s + delta;         // the root is below 2^64
  while (w128::less(x, w128::mul64x64(s, s))) --s;
  while (s != ~u64{0} && !w128::less(x, w128::mul64x64(s + 1, s + 1))) ++s;
  return s;
}

}  // namespace

U128 root(U128 n) {
  const bool halved = w128::word(n, 3) >= 0x40000000;
  const U128 m = halved ? w128::shr(n, 2) : n;  // below 2^126
  if (w128::is_zero(m)) return {0, 0};
  const auto j = static_cast<unsigned>(clz128(m) / 2);  // 1 .. 63
  const U128 x = w128::shl(m, 2 * j);
  const u64 s = root_high(x);
  const U128 r = w128::sub(x, w128::mul64x64(s, s));  // at most 2s, 65 bits
  U128 v;
  if (w128::equal(r, w128::shl({0, s}, 1))) {
    v = {s, ~u64{0}};  // q would be 2^64: (s + 1) 2^64 - 1
  } else {
    // q = floor(r 2^127 / (s 2^64)): the top two words r 2^63 are below s 2^64.
    const U128 d = {s, 0};
    U128 rest;
    const u64 q =
        w128::div_3by2(r.lo >> 1 | r.hi << 63, r.lo << 63, 0, d, w128::reciprocal_3by2(d), rest);
    const U128 u = w128::shr(rest, 63);  // r 2^64 - 2 q s, below 2s
    const bool low = u.hi == 0 && w128::less({u.lo, 0}, w128::mul64x64(q, q));
    v = w128::sub({s, q}, {0, low ? 1u : 0u});
  }
  const U128 root_m = w128::shr(v, j);
  return halved ? w128::shl(root_m, 1) : root_m;
}

}  // namespace vx::fixed

void ulx_guws(const Fixed128 *in, Fixed128 *out) {
  *out = vx::fixed::store(vx::fixed::root(vx::fixed::load(*in)));
}
