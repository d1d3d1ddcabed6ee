// Real16 cube root: g_qcbrt.
//
// Method: with E the biased exponent of x and r = E mod 3, the root of
// m 2^r in [1, 8) (m the significand) carries the exponent (E - r)/3 +
// 10922. Its significand is Y = floor(cbrt(A)) for A = S 2^(269 + r) (S the
// 113-bit significand, so that Y lies in [2^127, 2^128)), with the sticky
// bit set when Y^3 < A: the funnel then rounds to nearest, ties to even,
// and the root is correctly rounded. Y comes from a double estimate, one
// long double Newton step (within 2^-62) and one integer Newton step on
// the exact residual A - Y0^3 (within 16 units of Y); when the 15 bits
// below the kept ones lie within 32 units of the half, A is compared with
// exact cubes instead. Exact cubes have exact roots.
//
// Special cases: x zero (word 3 0 or 0x80000000): +0. The root of a
// negative x is negative. Nothing is reported.
#include <cmath>

#include "qelem/real16_ops.h"

namespace vx::qelem {
namespace {

using w128::U256;

// A 384-bit number, most significant part first.
struct U384 {
  U128 hi, mid, lo;
};

U384 cube(U128 y) {
  const U256 sq = w128::mul128x128(y, y);
  const U256 low = w128::mul128x128(sq.lo, y), high = w128::mul128x128(sq.hi, y);
  w128::u32 carry;
  const U128 mid = w128::add_carry(low.hi, high.lo, 0, carry);
  return {w128::add(high.hi, {0, carry}), mid, low.lo};
}

bool at_most(const U384 &a, const U384 &b) {
  if (!w128::equal(a.hi, b.hi)) return w128::less(a.hi, b.hi);
  if (!w128::equal(a.mid, b.mid)) return w128::less(a.mid, b.mid);
  return !w128::less(b.lo, a.lo);
}

// |v| of a 256-bit two's complement number as a long double, its top 64
// bits kept.
long double to_long_double(U256 v) {
  const bool negative = w128::negative(v.hi);
  if (negative) {
    v.lo = w128::sub({0, 0}, v.lo);
    v.hi = w128::sub(w128::sub({0, 0}, v.hi), {0, w128::is_zero(v.lo) ? 0u : 1u});
  }
  // The top 128 bits, leading 1 at bit 127, and the weight of their bit 64.
  int lead, weight = 64;
  U128 top;
  if (w128::is_zero(v.hi)) {
    if (w128::is_zero(v.lo)) return 0;
    top = w128::normalize(v.lo, lead);
  } else {
    top = w128::normalize(v.hi, lead);
    if (lead > 0) top = w128::add(top, w128::shr(v.lo, static_cast<unsigned>(128 - lead)));
    weight += 128;
  }
  const long double m = std::ldexp(static_cast<long double>(top.hi), weight - lead);
  return negative ? -m : m;
}

U128 root(const Real16 &x) {
  const U128 b = quad::bits_of(x);
  if (quad::is_zero_pattern(b)) return {0, 0};
  const std::int32_t e = quad::exponent_of(b), r = e % 3;
  const U128 s = quad::significand_of(b);
  // m 2^r from the top 64 bits of S; a double estimate and a Newton step.
  const long double m = std::ldexp(static_cast<long double>(w128::shr(s, 49).lo), r - 63);
  const long double y0 = std::cbrt(static_cast<double>(m));
  const long double y1 = y0 - (y0 * y0 * y0 - m) / (3 * y0 * y0);
  const auto big_y0 = static_cast<u64>(std::ldexp(y1, 63));
  // The exact residual S 2^(77 + r) - Y0^3 (Y0 = y1 2^63) and Y = Y0 2^64 +
  // residual / (3 y1^2) in units of 2^-127.
  const U256 y0_cube = w128::mul128x128(w128::mul64x64(big_y0, big_y0), {0, big_y0});
  const unsigned up = static_cast<unsigned>(77 + r);
  const U256 a0 = {w128::shr(s, 128 - up), w128::shl(s, up)};
  U256 d;
  d.lo = w128::sub(a0.lo, y0_cube.lo);
  d.hi = w128::sub(w128::sub(a0.hi, y0_cube.hi), {0, w128::less(a0.lo, y0_cube.lo) ? 1u : 0u});
  const long double c = std::ldexp(to_long_double(d), -62) / (3 * y1 * y1);
  const long double c_high = std::floor(std::ldexp(c, -64));
  const auto c_low = static_cast<u64>(c - std::ldexp(c_high, 64));
  U128 y = w128::add({big_y0 + static_cast<u64>(static_cast<std::int64_t>(c_high)), 0}, {0, c_low});
  const u64 below = y.lo & 0x7fff;
  if (below + 32 >= 0x4000 && below <= 0x4000 + 32) {
    // Near a rounding boundary: the floor of the root and whether it is exact.
    const U384 a = {w128::shl(s, static_cast<unsigned>(13 + r)), {0, 0}, {0, 0}};
    y = w128::sub(y, {0, 40});
    while (at_most(cube(w128::add(y, {0, 1})), a)) y = w128::add(y, {0, 1});
    const U384 c3 = cube(y);
    const bool exact = w128::equal(c3.hi, a.hi) && w128::is_zero(c3.mid) && w128::is_zero(c3.lo);
    return quad::round_pack(quad::sign_of(b), (e - r) / 3 + 10922, {y.hi, y.lo | (exact ? 0u : 1u)})
        .bits;
  }
  return quad::round_pack(quad::sign_of(b), (e - r) / 3 + 10922, {y.hi, y.lo | 1}).bits;
}

}  // namespace
}  // namespace vx::qelem

Real16 *g_qcbrt(Real16 *result, const Real16 *x) {
  return vx::store_result(result, vx::quad::real16_from_bits(vx::qelem::root(*x)));
}
