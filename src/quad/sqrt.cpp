// Real16 square root: g_qsqrt.
//
// Method: with e the biased exponent of x, the root's biased exponent is
// (e + (e & 1)) / 2 + 0x1fff and its significand the root of the
// significand m (e odd) or of 2m (e even). With X = m * 2^14 or m * 2^15
// (X in [2^126, 2^128)) the 128-bit root s = floor(sqrt(X * 2^128)) has its
// leading 1 at bit 127 and comes in two 64-bit steps:
//   1. s1 = floor(sqrt(X)) and r1 = X - s1^2: the processor's square root of
//      X (64-bit significand) is within a unit or two; the exact remainder
//      corrects it.
//   2. q = floor(r1 * 2^64 / (2 s1)), estimated by one extended division
//      and corrected with the exact remainder u = r1 * 2^64 - 2 s1 q; then
//      s = s1 * 2^64 + q is the root or one above it (the Karatsuba square
//      root step, Zimmermann 1999), decided by the sign of u * 2^64 - q^2.
// The root is exact when that difference is 0; otherwise the sticky bit is
// set and the funnel rounds to nearest, ties to even: correctly rounded.
// The estimates assume the processor's 64-bit precision, which the runtime
// sets; with less they take longer to correct but give the same result.
//
// Special cases:
//   x zero (word 3 is 0 or 0x80000000): +0, also for -0.
//   x negative: error 228 through raise_intrinsic_error (not an arithmetic
//     exception: the report and mute flags do not apply), x reported as a
//     value (type 11); default the _NaN_Q pattern with the infinity flag,
//     else the root of |x|. A resume starts again with the slot.
//   The root never overflows or underflows.
//
// Accuracy: correctly rounded; sqrt_test compares with MPFR at 113 bits.
#include <cstring>

#include "common/x87.h"
#include "quad/real16.h"

namespace vx::quad {
namespace {

using w128::u64;

constexpr long double kTwo64 = 0x1p64L;

long double to_extended(U128 x) {
  return static_cast<long double>(x.hi) * kTwo64 + static_cast<long double>(x.lo);
}

// floor(v) for 0 <= v, saturated at 2^64 - 1, read from the register's bits
// (v = significand * 2^(exponent - 63)).
u64 integer_part(long double v) {
  u64 significand;
  std::uint16_t biased;
  std::memcpy(&significand, &v, sizeof significand);
  std::memcpy(&biased, reinterpret_cast<const unsigned char *>(&v) + 8, sizeof biased);
  const int e = (biased & 0x7fff) - 16383;
  if (e < 0) return 0;
  if (e > 63) return ~u64{0};
  return significand >> (63 - e);
}

// Root and remainder of X in [2^126, 2^128): s = floor(sqrt(X)) (64 bits),
// r = X - s^2 in [0, 2s].
u64 root_64(U128 x, U128 &r) {
  u64 s = integer_part(x87::fsqrt(to_extended(x)));
  U128 rem = w128::sub(x, w128::mul64x64(s, s));
  while (w128::negative(rem)) {  // s too large: (s-1)^2 = s^2 - 2s + 1
    rem = w128::add(rem, w128::sub(w128::shl({0, s}, 1), {0, 1}));
    --s;
  }
  while (w128::less(w128::shl({0, s}, 1), rem)) {  // r > 2s: s too small
    rem = w128::sub(rem, w128::add(w128::shl({0, s}, 1), {0, 1}));
    ++s;
  }
  r = rem;
  return s;
}

// s = floor(sqrt(X * 2^128)) for X in [2^126, 2^128), with bit 0 set when
// the root is not exact.
U128 root_128(U128 x) {
  U128 r1;
  const u64 s1 = root_64(x, r1);
  const U128 twice_s1 = w128::shl({0, s1}, 1);
  // q = floor(r1 * 2^63 / s1) <= 2^64; 2^64 only when r1 = 2 s1, where the
  // root is s1 * 2^64 + 2^64 - 1 and the cap below is already right.
  u64 q = integer_part(to_extended(r1) / static_cast<long double>(s1) * 0x1p63L);
  // u = r1 * 2^64 - 2 s1 q, small and held modulo 2^128.
  U128 u = w128::sub({r1.lo, 0}, w128::shl(w128::mul64x64(s1, q), 1));
  while (w128::negative(u)) {
    --q;
    u = w128::add(u, twice_s1);
  }
  while (!w128::less(u, twice_s1) && q != ~u64{0}) {
    ++q;
    u = w128::sub(u, twice_s1);
  }
  // s = s1 2^64 + q; X 2^128 - s^2 = u 2^64 - q^2 decides between s and
  // s - 1. u < 2^65, so u 2^64 may exceed 128 bits, and then it exceeds q^2.
  const U128 q2 = w128::mul64x64(q, q);
  const U128 u_high = {u.lo, 0};
  U128 s = {s1, q};
  bool exact = false;
  if (u.hi == 0 && w128::less(u_high, q2)) {
    s = w128::sub(s, {0, 1});  // the remainder of s - 1 is never 0
  } else {
    exact = u.hi == 0 && w128::equal(u_high, q2);
  }
  return {s.hi, s.lo | (exact ? 0u : 1u)};
}

}  // namespace

Real16 square_root(const Real16 &x) {
  if (is_zero(x)) return kZero;
  const std::int32_t e = exponent_of(x);
  const std::int32_t exp = (e + (e & 1)) / 2 + 0x1fff;
  const U128 radicand = w128::shl(significand_of(x), (e & 1) != 0 ? 14 : 15);
  return round_pack(0, exp, root_128(radicand)).value;
}

namespace {

Attempt<Real16> root(Real16 x) {
  if (sign_of(x) != 0 && !is_zero(x))  // negative: error 228, default sqrt(|x|) or NaN
    return argument_error(228, square_root(x), _NaN_Q);
  return result(square_root(x));
}

}  // namespace
}  // namespace vx::quad

Real16 *g_qsqrt(Real16 *result, const Real16 *x) {
  *result = vx::resume_loop<vx::kFirstValue>(vx::quad::root, *x);
  return result;
}
