// ulx_guws: the square root at scale 0, R = floor(sqrt(N 2^128)), so that
// R 2^-128 is the root of N 2^-128 (an operand at an even scale k gives the
// root at scale k / 2).
//
// When N's top word is 0x40000000 or more, the root is taken of N >> 2 and
// shifted left by one (bit 0 is then 0, and R may be one or two units
// below the exact floor); otherwise N < 2^126 and R < 2^127.
//
// Method: the restoring square root, one root bit per step, 127 steps (31
// for the top word, three runs of 32 for the others), on 128-bit words: the
// remainder after a step is at most twice the root (below 2^128), so only
// the shifted remainder and the trial value 4R + 1 need two more bits.
// Exact: the result is the integer square root (fixed128_internal_test
// checks it against GMP).
#include "fixed/fixed128.h"

namespace vx::fixed {

U128 root(U128 n) {
  const bool halved = w128::word(n, 3) >= 0x40000000;
  const U128 m = halved ? w128::shr(n, 2) : n;  // below 2^126
  U128 rem = {0, 0}, r = {0, 0};
  for (int i = 0; i < 127; ++i) {
    // The next two radicand bits: bits 125 - 2i and 124 - 2i of m, then
    // the zeros of m 2^128.
    const u64 two = i < 63 ? w128::shr(m, static_cast<unsigned>(124 - 2 * i)).lo & 3 : 0;
    const u64 rem_top = rem.hi >> 62, trial_top = r.hi >> 62;
    rem = w128::add(w128::shl(rem, 2), {0, two});
    const U128 trial = w128::add(w128::shl(r, 2), {0, 1});
    const bool fits = rem_top > trial_top || (rem_top == trial_top && !w128::less(rem, trial));
    if (fits) rem = w128::sub(rem, trial);  // the difference is below 2^128
    r = w128::add(w128::shl(r, 1), {0, fits ? 1u : 0u});
  }
  return halved ? w128::shl(r, 1) : r;
}

}  // namespace vx::fixed

void ulx_guws(const Fixed128 *in, Fixed128 *out) {
  *out = vx::fixed::store(vx::fixed::root(vx::fixed::load(*in)));
}
